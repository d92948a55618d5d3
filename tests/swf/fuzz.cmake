# libFuzzer target for the movie reader and player (swf_fuzzer), built with
# clang as its own command so the g++ build is untouched, and a short run of
# it as a test. A longer run by hand:
#   build/fuzz/swf_fuzzer -close_fd_mask=1 -max_len=16384 build/fuzz/corpus
find_program(ZOLT_CLANGXX NAMES clang++ clang++-14)
if(NOT ZOLT_CLANGXX)
  message(STATUS "clang++ not found: the movie fuzzer is not built")
  return()
endif()
# libFuzzer's runtime comes in a package of its own (libclang-rt-14-dev).
execute_process(COMMAND ${ZOLT_CLANGXX} -print-runtime-dir
                OUTPUT_VARIABLE _clang_runtime_dir OUTPUT_STRIP_TRAILING_WHITESPACE)
file(GLOB _libfuzzer_runtime "${_clang_runtime_dir}/libclang_rt.fuzzer-*.a")
if(NOT _libfuzzer_runtime)
  message(STATUS "libFuzzer runtime not found: the movie fuzzer is not built")
  return()
endif()

# The movie folder stands on the platform's file reader alone; the fuzzer
# feeds bytes directly.
file(GLOB _swf_fuzz_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/swf/*.cpp)
list(APPEND _swf_fuzz_sources ${CMAKE_SOURCE_DIR}/platform/FileRead.cpp)
file(GLOB _swf_fuzz_headers CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/swf/*.h ${CMAKE_SOURCE_DIR}/gfx/*.h
     ${CMAKE_SOURCE_DIR}/platform/FileRead.h)
set(_swf_fuzz_dir ${CMAKE_BINARY_DIR}/fuzz)
set(_swf_fuzzer ${_swf_fuzz_dir}/swf_fuzzer)
add_custom_command(OUTPUT ${_swf_fuzzer}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${_swf_fuzz_dir}
  COMMAND ${ZOLT_CLANGXX} -std=c++17 -O1 -g -fsanitize=fuzzer,address,undefined
          -fno-sanitize-recover=all -I${CMAKE_SOURCE_DIR}
          ${_swf_fuzz_sources} ${CMAKE_CURRENT_LIST_DIR}/fuzz/SwfFuzzTarget.cpp -o ${_swf_fuzzer}
  DEPENDS ${_swf_fuzz_sources} ${_swf_fuzz_headers} ${CMAKE_CURRENT_LIST_DIR}/fuzz/SwfFuzzTarget.cpp
  COMMENT "Building the movie fuzzer with clang"
  VERBATIM)
add_custom_target(swf_fuzzer ALL DEPENDS ${_swf_fuzzer})

# Twenty seconds from the archive's movies and the hand-made seeds (fonts,
# texts, sprites, every skipped tag), fixed seed, fresh corpus each run.
add_test(NAME swf_fuzz_short
  COMMAND ${CMAKE_COMMAND} -DFUZZER=${_swf_fuzzer} -DSEEDS=${CMAKE_BINARY_DIR}/content/out -DMORE_SEEDS=${CMAKE_CURRENT_LIST_DIR}/fuzz/seeds
          -DCORPUS=${_swf_fuzz_dir}/short_corpus -DSECONDS=20
          -P ${CMAKE_CURRENT_LIST_DIR}/fuzz/run_short_fuzz.cmake)
set_tests_properties(swf_fuzz_short PROPERTIES TIMEOUT 120 LABELS fuzz)
