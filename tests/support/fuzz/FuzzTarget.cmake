# zolt_fuzzer(): one libFuzzer target built with clang as its own command
# (so the g++ build is untouched) and a short run of it as a test labelled
# `fuzz`. Seeds are file globs (the real archive entries where there are
# some); the short run starts from a fresh copy of them each time.
#
#   zolt_fuzzer(NAME jpeg SOURCES <files> TARGET <file> LIBS -lfoo
#               SEEDS <globs> MAX_LEN 65536 [SECONDS 8] [DICT <file>] [AFTER <targets>])
#
# A longer run by hand (one at a time; nice it on a shared machine):
#   build/fuzz/<name>_fuzzer -close_fd_mask=1 -max_len=<MAX_LEN> build/fuzz/<name>_corpus
include_guard(GLOBAL)

find_program(ZOLT_CLANGXX NAMES clang++ clang++-14)
set(ZOLT_FUZZING OFF)
if(ZOLT_CLANGXX)
  # libFuzzer's runtime comes in a package of its own (libclang-rt-14-dev).
  execute_process(COMMAND ${ZOLT_CLANGXX} -print-runtime-dir
                  OUTPUT_VARIABLE _zolt_clang_runtime OUTPUT_STRIP_TRAILING_WHITESPACE)
  file(GLOB _zolt_libfuzzer "${_zolt_clang_runtime}/libclang_rt.fuzzer-*.a")
  if(_zolt_libfuzzer)
    set(ZOLT_FUZZING ON)
  endif()
endif()

function(zolt_fuzzer)
  cmake_parse_arguments(F "" "NAME;TARGET;MAX_LEN;SECONDS;DICT" "SOURCES;LIBS;SEEDS;AFTER" ${ARGN})
  if(NOT ZOLT_FUZZING)
    message(STATUS "clang++ or libFuzzer missing: the ${F_NAME} fuzzer is not built")
    return()
  endif()
  if(NOT F_SECONDS)
    set(F_SECONDS 8)
  endif()
  set(dir ${CMAKE_BINARY_DIR}/fuzz)
  set(fuzzer ${dir}/${F_NAME}_fuzzer)
  set(headers)
  foreach(source ${F_SOURCES})
    get_filename_component(folder ${source} DIRECTORY)
    file(GLOB folder_headers ${folder}/*.h)
    list(APPEND headers ${folder_headers})
  endforeach()
  list(REMOVE_DUPLICATES headers)
  add_custom_command(OUTPUT ${fuzzer}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${dir}
    COMMAND ${ZOLT_CLANGXX} -std=c++17 -O1 -g -fsanitize=fuzzer,address,undefined
            -fno-sanitize-recover=all -I${CMAKE_SOURCE_DIR} -I${CMAKE_SOURCE_DIR}/tests
            ${F_SOURCES} ${F_TARGET} ${F_LIBS} -o ${fuzzer}
    DEPENDS ${F_SOURCES} ${headers} ${F_TARGET}
    COMMENT "Building the ${F_NAME} fuzzer with clang"
    VERBATIM)
  add_custom_target(${F_NAME}_fuzzer ALL DEPENDS ${fuzzer})
  # Targets that make generated sources or the seeds.
  if(F_AFTER)
    add_dependencies(${F_NAME}_fuzzer ${F_AFTER})
  endif()
  string(REPLACE ";" "|" seeds "${F_SEEDS}")
  add_test(NAME ${F_NAME}_fuzz_short
    COMMAND ${CMAKE_COMMAND} -DFUZZER=${fuzzer} "-DSEEDS=${seeds}" -DMAX_LEN=${F_MAX_LEN}
            -DCORPUS=${dir}/${F_NAME}_short_corpus -DSECONDS=${F_SECONDS} -DDICT=${F_DICT}
            -P ${CMAKE_SOURCE_DIR}/tests/support/fuzz/run_short_fuzz.cmake)
  set_tests_properties(${F_NAME}_fuzz_short PROPERTIES TIMEOUT 120 LABELS fuzz COST 10)
endfunction()
