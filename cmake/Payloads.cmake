# The payload pipeline: a table binds each payload identifier to its installed
# name and its source; every source is packed into one zlib stream, and a
# generated resource script embeds the streams one after the other as one
# resource, the store, with the records that say which stream is which.
#
# scrivora_payload_resources(<table> <rc-out> <source-dir> <gen-dir> <var>)
# reads <table> (lines "identifier, installed name, source"; '#' starts a
# comment; a source starting with "gen/" is made at build time under <gen-dir>
# by a generator rule, any other is a file under <source-dir>), adds one pack
# rule per payload and one for the records of them all, writes <rc-out> and
# returns the packed files, the records and the store in <var>.
# The names of the store and of its records; install/payload.cpp looks them up.
set(SCRIVORA_PAYLOAD_STORE_NAME PAYLOADS CACHE INTERNAL "name of the payload store resource")
set(SCRIVORA_PAYLOAD_RECORDS_NAME PAYLOADRECORDS CACHE INTERNAL "name of the payload records resource")

function(scrivora_payload_resources table rc_out src_dir gen_dir out_var)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${table})
  file(STRINGS ${table} lines ENCODING UTF-8)
  get_filename_component(rc_dir ${rc_out} DIRECTORY)
  set(packed_dir ${rc_dir}/packed)
  file(MAKE_DIRECTORY ${packed_dir})
  set(rc "// Generated from ${table}; do not edit.\n")
  set(packed_files "")
  set(seen "")
  foreach(line IN LISTS lines)
    string(REGEX REPLACE "#.*$" "" line "${line}")
    string(STRIP "${line}" line)
    if(line STREQUAL "")
      continue()
    endif()
    string(REPLACE "," ";" fields "${line}")
    list(LENGTH fields n)
    if(NOT n EQUAL 3)
      message(FATAL_ERROR "${table}: expected 'identifier, installed name, source' in: ${line}")
    endif()
    list(GET fields 0 id)
    list(GET fields 2 source)
    string(STRIP "${id}" id)
    string(STRIP "${source}" source)
    if(NOT id MATCHES "^[0-9]+$" OR id GREATER 65535)
      message(FATAL_ERROR "${table}: bad payload identifier '${id}'")
    endif()
    if(id IN_LIST seen)
      message(FATAL_ERROR "${table}: payload identifier ${id} is listed twice")
    endif()
    list(APPEND seen ${id})
    if(source MATCHES "^gen/(.*)$")
      set(source_path ${gen_dir}/${CMAKE_MATCH_1})
    else()
      set(source_path ${src_dir}/${source})
      if(NOT EXISTS ${source_path})
        message(FATAL_ERROR "payload ${id}: source file ${source_path} is missing")
      endif()
    endif()
    set(packed ${packed_dir}/${id}.z)
    add_custom_command(
      OUTPUT ${packed}
      COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/tools/pack_payload.py ${id} ${source_path} ${packed}
      DEPENDS ${source_path} ${CMAKE_SOURCE_DIR}/tools/pack_payload.py
      COMMENT "Packing payload ${id}"
      VERBATIM)
    list(APPEND packed_files ${packed})
  endforeach()
  # The build's record of every packed payload and the store of the streams
  # in the records' order (tools/payload_records.py): the program finds a
  # stream by its record, the check before the install run compares each
  # stored stream with it and adds up the installed sizes instead of
  # inflating anything.
  set(records ${packed_dir}/records.bin)
  set(store ${packed_dir}/payloads.bin)
  add_custom_command(
    OUTPUT ${records} ${store}
    COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/tools/payload_records.py ${table} ${packed_dir}
            ${records} ${store}
    DEPENDS ${CMAKE_SOURCE_DIR}/tools/payload_records.py ${CMAKE_SOURCE_DIR}/tools/payload_store.py
            ${table} ${packed_files}
    COMMENT "Recording the packed payloads' sizes and check values, and storing them"
    VERBATIM)
  string(APPEND rc "${SCRIVORA_PAYLOAD_STORE_NAME} RCDATA \"${store}\"\n")
  string(APPEND rc "${SCRIVORA_PAYLOAD_RECORDS_NAME} RCDATA \"${records}\"\n")
  list(APPEND packed_files ${records} ${store})
  file(CONFIGURE OUTPUT ${rc_out} CONTENT "${rc}" @ONLY)
  set(${out_var} ${packed_files} PARENT_SCOPE)
endfunction()
