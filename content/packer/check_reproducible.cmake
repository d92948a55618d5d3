# Builds the content a second time in its own tree and checks that the
# archive, its directory source and the loose files come out byte for byte
# as in the main build. Run with cmake -P:
#   -DSOURCE_DIR=<source tree> -DMAIN_BUILD=<build tree> -DREPRO_BUILD=<second tree>
#   -DGENERATOR=<generator> -DBUILD_TYPE=<build type>
foreach(var SOURCE_DIR MAIN_BUILD REPRO_BUILD GENERATOR BUILD_TYPE)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "check_reproducible: ${var} is not set")
  endif()
endforeach()

execute_process(
  COMMAND ${CMAKE_COMMAND} -S ${SOURCE_DIR} -B ${REPRO_BUILD} -G ${GENERATOR}
          -DCMAKE_BUILD_TYPE=${BUILD_TYPE}
  RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "check_reproducible: configuring the second tree failed")
endif()
execute_process(
  COMMAND ${CMAKE_COMMAND} --build ${REPRO_BUILD} --target zolt_content -j2
  RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "check_reproducible: building the second tree's content failed")
endif()

# Loose files are compared by name; everything else by its place in the tree.
set(outputs bin/trov.qz5 content/packer/PackDirectory.cpp)
file(GLOB main_bin RELATIVE ${MAIN_BUILD} ${MAIN_BUILD}/bin/*)
foreach(file ${main_bin})
  if(EXISTS ${REPRO_BUILD}/${file} AND NOT IS_DIRECTORY ${MAIN_BUILD}/${file}
     AND NOT file MATCHES "^bin/zolt")
    list(APPEND outputs ${file})
  endif()
endforeach()
list(REMOVE_DUPLICATES outputs)

set(differ "")
foreach(file ${outputs})
  file(SHA256 ${MAIN_BUILD}/${file} main_hash)
  file(SHA256 ${REPRO_BUILD}/${file} repro_hash)
  if(NOT main_hash STREQUAL repro_hash)
    list(APPEND differ ${file})
  endif()
endforeach()
if(differ)
  # Name the entries behind a differing archive, to point at their tool.
  file(STRINGS ${MAIN_BUILD}/content/pack.manifest main_lines)
  file(STRINGS ${REPRO_BUILD}/content/pack.manifest repro_lines)
  list(LENGTH main_lines count)
  set(entries "")
  if(count GREATER 0)
    math(EXPR last "${count} - 1")
    foreach(i RANGE ${last})
      list(GET main_lines ${i} main_line)
      list(GET repro_lines ${i} repro_line)
      string(REGEX REPLACE "\t.*" "" name "${main_line}")
      string(REGEX REPLACE "^[^\t]*\t" "" main_file "${main_line}")
      string(REGEX REPLACE "^[^\t]*\t" "" repro_file "${repro_line}")
      file(SHA256 ${main_file} a)
      file(SHA256 ${repro_file} b)
      if(NOT a STREQUAL b)
        list(APPEND entries ${name})
      endif()
    endforeach()
  endif()
  message(FATAL_ERROR "check_reproducible: two builds differ in: ${differ}; entries: ${entries}")
endif()
list(LENGTH outputs count)
message(STATUS "check_reproducible: ${count} outputs identical")
