# Test programs are Win32 executables; ctest runs them under Wine through the
# wine-run wrapper, which gives every run the build tree's own throw-away
# prefix and never touches the user's ~/.wine.
set(SCRIVORA_WINE_RUN ${CMAKE_BINARY_DIR}/wine-run)
configure_file(${CMAKE_SOURCE_DIR}/cmake/wine-run.in ${SCRIVORA_WINE_RUN}
               FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                                WORLD_READ WORLD_EXECUTE
               @ONLY)
set(CMAKE_CROSSCOMPILING_EMULATOR ${SCRIVORA_WINE_RUN})

# scrivora_add_test(<name> SOURCES ... [RESOURCES ...] [LIBS ...] [PROPERTIES ...]
#                   [FILTER <gtest filter>])
# builds a GoogleTest program with the product's static link options and
# registers each of its tests with ctest; FILTER leaves out cases that are
# registered elsewhere (those that only prove something as another user or
# on a Chinese system).
function(scrivora_add_test name)
  cmake_parse_arguments(T "" "FILTER" "SOURCES;RESOURCES;LIBS;PROPERTIES" ${ARGN})
  if(NOT T_FILTER)
    set(T_FILTER "*")
  endif()
  add_executable(${name} ${T_SOURCES} ${T_RESOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main)
  target_link_options(${name} PRIVATE ${SCRIVORA_STATIC_LINK})
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/tests)
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 120
    TEST_FILTER "${T_FILTER}"
    PROPERTIES ${T_PROPERTIES})
endfunction()

# scrivora_embed_payloads(<target> <stream>...) gives a test program a
# payload store of its own, as the setup program carries one: the streams one
# after the other and their records (tools/payload_store.py). A stream is
# <identifier>, the product's packed payload with the build's record of it;
# <identifier>@<file>, other bytes under that record (a damaged copy); or
# <identifier>=<file>, a fixture with a record of its own.
function(scrivora_embed_payloads target)
  set(dir ${CMAKE_CURRENT_BINARY_DIR}/${target}_payloads)
  set(depends ${CMAKE_SOURCE_DIR}/tools/payload_store.py ${SCRIVORA_PACKED_DIR}/records.bin)
  foreach(stream IN LISTS ARGN)
    if(stream MATCHES "^[0-9]+[=@](.*)$")
      list(APPEND depends ${CMAKE_MATCH_1})
    else()
      list(APPEND depends ${SCRIVORA_PACKED_DIR}/${stream}.z)
    endif()
  endforeach()
  add_custom_command(
    OUTPUT ${dir}/payloads.rc ${dir}/payloads.bin ${dir}/records.bin
    COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/tools/payload_store.py ${dir} ${SCRIVORA_PACKED_DIR}
            ${ARGN}
    DEPENDS ${depends}
    COMMENT "Storing the payloads of ${target}"
    VERBATIM)
  target_sources(${target} PRIVATE ${dir}/payloads.rc)
  add_dependencies(${target} scrivora_payloads)
  set_source_files_properties(${dir}/payloads.rc TARGET_DIRECTORY ${target} PROPERTIES OBJECT_DEPENDS
    "${dir}/payloads.bin;${dir}/records.bin")
endfunction()
