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
