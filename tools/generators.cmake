# Build-time generators of payload sources. Each rule writes its output under
# ${SCRIVORA_GEN_DIR}; the payload table names such outputs as gen/<path>.
#
# The generators are Python 3 scripts (standard library only) in tools/gen/,
# and the stand-in programs are built from tools/standins/ with the product's
# own toolchain. Their inputs are files of the repository and data of Debian
# packages that scripts/bootstrap.sh installs (unifont, fonts-noto-cjk with
# libfreetype6, unicode-data,
# rime-data-pinyin-simp, rime-data-stroke, wixl). Every output depends only on
# those inputs: the same sources make the same bytes.

set(SCRIVORA_GEN_TOOLS ${CMAKE_SOURCE_DIR}/tools/gen)
set(SCRIVORA_TEXTS ${CMAKE_SOURCE_DIR}/resources/payloads/texts)
set(SCRIVORA_UNIFONT_HEX /usr/share/unifont/unifont.hex)
set(scrivora_gen_common ${SCRIVORA_GEN_TOOLS}/common.py)
# The Debian data the generators read (see tools/gen/common.py).
set(scrivora_pinyin_data /usr/share/rime-data/pinyin_simp.dict.yaml)
set(scrivora_stroke_data /usr/share/rime-data/stroke.dict.yaml)
set(scrivora_unihan_data
  /usr/share/unicode/Unihan_Readings.txt.bz2 /usr/share/unicode/Unihan_IRGSources.txt.bz2
  /usr/share/unicode/Unihan_DictionaryLikeData.txt.bz2 /usr/share/unicode/Unihan_Variants.txt.bz2)

# Payload 110, the glyph font (also installed as ChnBmp.bin), from GNU Unifont.
add_custom_command(
  OUTPUT ${SCRIVORA_GEN_DIR}/ChnBmp.bin
  COMMAND ${Python3_EXECUTABLE} ${SCRIVORA_GEN_TOOLS}/glyph_font.py
          ${SCRIVORA_GEN_DIR}/ChnBmp.bin ${SCRIVORA_UNIFONT_HEX}
  DEPENDS ${SCRIVORA_GEN_TOOLS}/glyph_font.py ${scrivora_gen_common} ${SCRIVORA_UNIFONT_HEX}
  COMMENT "Drawing the glyph font from GNU Unifont"
  VERBATIM)

# Payload 254, the 24 x 24 glyphs of the characters the program shows, from
# Noto Sans CJK SC (fonts-noto-cjk) through the system's FreeType.
set(SCRIVORA_CJK_OUTLINE_FONT /usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc)
set(scrivora_shown_texts
  ${CMAKE_SOURCE_DIR}/wizard/captions.cpp ${CMAKE_SOURCE_DIR}/wizard/messages.cpp
  ${CMAKE_SOURCE_DIR}/wizard/language_list.cpp ${SCRIVORA_TEXTS}/agreement_zh.txt)
add_custom_command(
  OUTPUT ${SCRIVORA_GEN_DIR}/CaptionGlyphs24.bin
  COMMAND ${Python3_EXECUTABLE} ${SCRIVORA_GEN_TOOLS}/caption_glyphs.py
          ${SCRIVORA_GEN_DIR}/CaptionGlyphs24.bin ${SCRIVORA_CJK_OUTLINE_FONT} ${scrivora_shown_texts}
  DEPENDS ${SCRIVORA_GEN_TOOLS}/caption_glyphs.py ${scrivora_gen_common} ${SCRIVORA_CJK_OUTLINE_FONT}
          ${scrivora_shown_texts}
  COMMENT "Drawing the captions' 24-pixel glyphs from Noto Sans CJK SC"
  VERBATIM)

# Texts kept in UTF-8 in the repository, written as the product's Windows
# texts: GB2312 or ASCII with CR LF line ends.
function(scrivora_text_payload encoding source output)
  add_custom_command(
    OUTPUT ${SCRIVORA_GEN_DIR}/${output}
    COMMAND ${Python3_EXECUTABLE} ${SCRIVORA_GEN_TOOLS}/text_file.py
            ${encoding} ${SCRIVORA_TEXTS}/${source} ${SCRIVORA_GEN_DIR}/${output}
    DEPENDS ${SCRIVORA_GEN_TOOLS}/text_file.py ${scrivora_gen_common} ${SCRIVORA_TEXTS}/${source}
    COMMENT "Writing ${output}"
    VERBATIM)
endfunction()
scrivora_text_payload(gb2312 agreement_zh.txt texts/agreement_zh.txt)   # payload 124
scrivora_text_payload(ascii agreement_en.txt texts/agreement_en.txt)    # payload 161
scrivora_text_payload(gb2312 tips.txt texts/tips.txt)
scrivora_text_payload(ascii tips_en.txt texts/tips_en.txt)
scrivora_text_payload(gb2312 cikuguide.txt texts/cikuguide.txt)

# The phrase word base: pycizudic.idx in its source form at the full size of
# the product's word base, and the three smaller word-base files.
set(scrivora_word_base_files pycizudic.idx CiZuFlat.igb pxcizudic.idx py2_3ZiCi1stZuMu.idx)
list(TRANSFORM scrivora_word_base_files PREPEND ${SCRIVORA_GEN_DIR}/data/ OUTPUT_VARIABLE scrivora_word_base_outputs)
add_custom_command(
  OUTPUT ${scrivora_word_base_outputs}
  COMMAND ${Python3_EXECUTABLE} ${SCRIVORA_GEN_TOOLS}/word_base.py ${SCRIVORA_GEN_DIR}/data
  DEPENDS ${SCRIVORA_GEN_TOOLS}/word_base.py ${scrivora_gen_common} ${scrivora_pinyin_data}
  COMMENT "Making the phrase word base"
  VERBATIM)

# The dictionaries and tables, from Unihan and Rime's dictionaries.
set(scrivora_table_files
  pykeys.dic gbkflat.dic py_1key.dic sort.dic chdicres.bin ChnDic2.bin duplicat.dic ch2key.bin
  readme2.igb readme3.igb readme2he.igb ch2py.bin ch2pypz1.bin ch2pypz2.bin bihuaku.bin
  vmodewords.dic gbk2b5.bin b5gbk.bin fccdic.bin depend1.map depend2.map
  mi_bihua1_dups_prefered_codes.bin mi_bihua1.bin mi_bihua1_danjianzuhe.bin
  ZiPartsBase.dat ZiParts.dat Mswd6_32.wpc b52Gbs.tab Gb2b5s.tab ZiDef.dic)
list(TRANSFORM scrivora_table_files PREPEND ${SCRIVORA_GEN_DIR}/data/ OUTPUT_VARIABLE scrivora_table_outputs)
add_custom_command(
  OUTPUT ${scrivora_table_outputs}
  COMMAND ${Python3_EXECUTABLE} ${SCRIVORA_GEN_TOOLS}/tables.py ${SCRIVORA_GEN_DIR}/data
  DEPENDS ${SCRIVORA_GEN_TOOLS}/tables.py ${scrivora_gen_common}
          ${scrivora_pinyin_data} ${scrivora_stroke_data} ${scrivora_unihan_data}
  COMMENT "Making the dictionaries and tables"
  VERBATIM)

# Pictures: keyboard maps, welcome pictures and input samples.
set(scrivora_picture_files
  keymap.bmp keymapPY.bmp keymapPYStd.bmp keymapSP.bmp keymapSPStd.bmp keymapSP1.bmp
  keymapSPStd1.bmp keymapSP2.bmp keymapSPStd2.bmp Welcome_zekedit.bmp Welcome_morvalen.bmp
  Zek_pane.png zek_prompt.png pysampci_manual3.PNG pysampcaret.PNG pysampci_manual.PNG
  pysampci_manual1.PNG pysampci_manual2.PNG PYSAMP1.PNG pysampci_manual4.PNG pysampci_manual5.PNG
  pysampci1.PNG pysampci2.PNG pysampci3.PNG pysampci4.PNG pysampci5.PNG pysampci6.PNG
  pysampci7.PNG pysampci8.PNG pysampforecast.PNG pysampshengdiao3.PNG)
list(TRANSFORM scrivora_picture_files PREPEND ${SCRIVORA_GEN_DIR}/pictures/ OUTPUT_VARIABLE scrivora_picture_outputs)
add_custom_command(
  OUTPUT ${scrivora_picture_outputs}
  COMMAND ${Python3_EXECUTABLE} ${SCRIVORA_GEN_TOOLS}/pictures.py ${SCRIVORA_GEN_DIR}/pictures ${SCRIVORA_UNIFONT_HEX}
  DEPENDS ${SCRIVORA_GEN_TOOLS}/pictures.py ${scrivora_gen_common} ${scrivora_pinyin_data} ${SCRIVORA_UNIFONT_HEX}
  COMMENT "Drawing the pictures"
  VERBATIM)

# Help pages, in Chinese (GB2312) and in English.
set(scrivora_help_files
  zelkoguide.htm ZEKGUIDE.HTM ZEKEditGuide.htm morvalenguide.htm input_samples.htm input_assist.htm
  fast_steps.htm pinyin_pinxing.htm xingmaguide.htm xingmajiyi.htm kuai_jian.htm
  zelkoguide_en.htm ZEKGUIDE_en.HTM ZEKEditGuide_en.htm morvalenguide_en.htm input_samples_en.htm
  input_assist_en.htm fast_steps_en.htm pinyin_pinxing_en.htm kuai_jian_en.htm)
list(TRANSFORM scrivora_help_files PREPEND ${SCRIVORA_GEN_DIR}/help/ OUTPUT_VARIABLE scrivora_help_outputs)
add_custom_command(
  OUTPUT ${scrivora_help_outputs}
  COMMAND ${Python3_EXECUTABLE} ${SCRIVORA_GEN_TOOLS}/help_pages.py ${SCRIVORA_GEN_DIR}/help
  DEPENDS ${SCRIVORA_GEN_TOOLS}/help_pages.py ${scrivora_gen_common} ${scrivora_pinyin_data} ${scrivora_stroke_data}
  COMMENT "Writing the help pages"
  VERBATIM)

# The stand-in programs: small Win32 programs built with the product's own
# toolchain, one source for all five (tools/standins/). No time stamp in the
# PE header, so that the same sources link to the same bytes.
function(scrivora_standin_program id file)
  string(TOLOWER "standin_${file}" target)
  string(REPLACE "." "_" target "${target}")
  add_executable(${target} WIN32 ${CMAKE_SOURCE_DIR}/tools/standins/standin.c
                                 ${CMAKE_SOURCE_DIR}/tools/standins/standin.rc)
  target_compile_definitions(${target} PRIVATE STANDIN_ID=${id})
  target_include_directories(${target} PRIVATE ${CMAKE_SOURCE_DIR}/tools/standins)
  target_compile_options(${target} PRIVATE $<$<COMPILE_LANGUAGE:C>:-Os>)
  target_link_options(${target} PRIVATE ${SCRIVORA_STATIC_LINK} -mwindows -s -Wl,--no-insert-timestamp)
  add_custom_command(
    OUTPUT ${SCRIVORA_GEN_DIR}/programs/${file}
    COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:${target}> ${SCRIVORA_GEN_DIR}/programs/${file}
    DEPENDS ${target}
    COMMENT "Taking the stand-in ${file}"
    VERBATIM)
endfunction()
scrivora_standin_program(1 ZEKEdit.exe)
scrivora_standin_program(2 Morvalen.exe)
scrivora_standin_program(4 VarneloDemo.exe)
scrivora_standin_program(5 Pelta9Show.exe)

# The uninstaller is a real program of the project (uninstall/).
add_custom_command(
  OUTPUT ${SCRIVORA_GEN_DIR}/programs/ZEKEditUnInstall.exe
  COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:ZEKEditUnInstall> ${SCRIVORA_GEN_DIR}/programs/ZEKEditUnInstall.exe
  DEPENDS ZEKEditUnInstall
  COMMENT "Taking the uninstaller"
  VERBATIM)

# Payload 1029, the speech-module package: a real Windows Installer package
# built with wixl from resources/payloads/speech/.
set(scrivora_speech_dir ${CMAKE_SOURCE_DIR}/resources/payloads/speech)
add_custom_command(
  OUTPUT ${SCRIVORA_GEN_DIR}/Sapi51forZelko.msi
  COMMAND ${Python3_EXECUTABLE} ${SCRIVORA_GEN_TOOLS}/speech_msi.py
          ${scrivora_speech_dir}/speech_module.wxs ${scrivora_speech_dir}
          ${CMAKE_CURRENT_BINARY_DIR}/speech-msi ${SCRIVORA_GEN_DIR}/Sapi51forZelko.msi
  DEPENDS ${SCRIVORA_GEN_TOOLS}/speech_msi.py ${scrivora_gen_common}
          ${scrivora_speech_dir}/speech_module.wxs ${scrivora_speech_dir}/README.txt
  COMMENT "Building the speech-module package with wixl"
  VERBATIM)
