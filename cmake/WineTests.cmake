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

# scrivora_embed_payloads(<target> <identifier>...) embeds packed payloads of
# the product in a test program, as the same "TEXT" resources, with the
# records of all payloads as the setup program carries them.
function(scrivora_embed_payloads target)
  set(rc "")
  foreach(id IN LISTS ARGN)
    string(APPEND rc "${id} TEXT \"${SCRIVORA_PACKED_DIR}/${id}.z\"\n")
  endforeach()
  # And the build's records of them, which the check before the install run
  # compares the payloads with.
  string(APPEND rc "${SCRIVORA_PAYLOAD_RECORDS_NAME} RCDATA \"${SCRIVORA_PACKED_DIR}/records.bin\"\n")
  set(rc_file ${CMAKE_CURRENT_BINARY_DIR}/${target}_payloads.rc)
  file(CONFIGURE OUTPUT ${rc_file} CONTENT "${rc}" @ONLY)
  target_sources(${target} PRIVATE ${rc_file})
  add_dependencies(${target} scrivora_payloads)
  set_source_files_properties(${rc_file} TARGET_DIRECTORY ${target} PROPERTIES OBJECT_DEPENDS
    "${SCRIVORA_PACKED_DIR}/${ARGV1}.z;${SCRIVORA_PACKED_DIR}/records.bin")
endfunction()
