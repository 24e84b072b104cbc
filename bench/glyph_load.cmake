# bench_glyph_load: times LoadGlyphFont with the real glyph font. Built only
# on request (cmake --build <build> --target bench_glyph_load), run with
# <build>/wine-run <build>/bench/bench_glyph_load.exe. Included from the glyph
# tests' folder, where the payload embedding is available.
add_executable(bench_glyph_load EXCLUDE_FROM_ALL ${CMAKE_SOURCE_DIR}/bench/glyph_load.cpp)
set_target_properties(bench_glyph_load PROPERTIES
  RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
target_link_libraries(bench_glyph_load PRIVATE scrivora_glyph)
target_link_options(bench_glyph_load PRIVATE ${SCRIVORA_STATIC_LINK})
scrivora_embed_payloads(bench_glyph_load 110)
