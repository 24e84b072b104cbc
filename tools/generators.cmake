# Build-time generators of payload sources. Each rule writes its output under
# ${SCRIVORA_GEN_DIR}; the payload table names such outputs as gen/<path>.
#
# The generators are Python 3 scripts (standard library only) in tools/gen/,
# and the stand-in programs are built from tools/standins/ with the product's
# own toolchain. Their inputs are files of the repository and data of Debian
# packages that scripts/bootstrap.sh installs (unifont, unicode-data,
# rime-data-pinyin-simp, rime-data-stroke, wixl). Every output depends only on
# those inputs: the same sources make the same bytes.

set(SCRIVORA_GEN_TOOLS ${CMAKE_SOURCE_DIR}/tools/gen)
set(SCRIVORA_TEXTS ${CMAKE_SOURCE_DIR}/resources/payloads/texts)
set(SCRIVORA_UNIFONT_HEX /usr/share/unifont/unifont.hex)
set(scrivora_gen_common ${SCRIVORA_GEN_TOOLS}/common.py)

# Payload 110, the glyph font (also installed as ChnBmp.bin), from GNU Unifont.
add_custom_command(
  OUTPUT ${SCRIVORA_GEN_DIR}/ChnBmp.bin
  COMMAND ${Python3_EXECUTABLE} ${SCRIVORA_GEN_TOOLS}/glyph_font.py
          ${SCRIVORA_GEN_DIR}/ChnBmp.bin ${SCRIVORA_UNIFONT_HEX}
  DEPENDS ${SCRIVORA_GEN_TOOLS}/glyph_font.py ${scrivora_gen_common} ${SCRIVORA_UNIFONT_HEX}
  COMMENT "Drawing the glyph font from GNU Unifont"
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

# The phrase word base: pycizudic.idx in its source form at the full size of
# the product's word base, and the three smaller word-base files.
set(scrivora_word_base_files pycizudic.idx CiZuFlat.igb pxcizudic.idx py2_3ZiCi1stZuMu.idx)
list(TRANSFORM scrivora_word_base_files PREPEND ${SCRIVORA_GEN_DIR}/data/ OUTPUT_VARIABLE scrivora_word_base_outputs)
add_custom_command(
  OUTPUT ${scrivora_word_base_outputs}
  COMMAND ${Python3_EXECUTABLE} ${SCRIVORA_GEN_TOOLS}/word_base.py ${SCRIVORA_GEN_DIR}/data
  DEPENDS ${SCRIVORA_GEN_TOOLS}/word_base.py ${scrivora_gen_common}
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
  COMMENT "Making the dictionaries and tables"
  VERBATIM)
