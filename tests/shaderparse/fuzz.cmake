# libFuzzer target for the shader program parser (shaderparse_fuzzer),
# built with clang as its own command like the movie fuzzer, and a short
# run of it as a test. A longer run by hand:
#   build/fuzz/shaderparse_fuzzer -max_len=4096 -dict=tests/shaderparse/fuzz/programs.dict build/fuzz/shaderparse_corpus
find_program(ZOLT_CLANGXX NAMES clang++ clang++-14)
if(NOT ZOLT_CLANGXX)
  message(STATUS "clang++ not found: the shader parser fuzzer is not built")
  return()
endif()
execute_process(COMMAND ${ZOLT_CLANGXX} -print-runtime-dir
                OUTPUT_VARIABLE _clang_runtime_dir OUTPUT_STRIP_TRAILING_WHITESPACE)
file(GLOB _libfuzzer_runtime "${_clang_runtime_dir}/libclang_rt.fuzzer-*.a")
if(NOT _libfuzzer_runtime)
  message(STATUS "libFuzzer runtime not found: the shader parser fuzzer is not built")
  return()
endif()

file(GLOB _sp_fuzz_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/shaderparse/*.cpp)
file(GLOB _sp_fuzz_headers CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/shaderparse/*.h)
set(_sp_fuzz_dir ${CMAKE_BINARY_DIR}/fuzz)
set(_sp_fuzzer ${_sp_fuzz_dir}/shaderparse_fuzzer)
set(_sp_target ${CMAKE_CURRENT_LIST_DIR}/fuzz/ShaderParseFuzzTarget.cpp)
add_custom_command(OUTPUT ${_sp_fuzzer}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${_sp_fuzz_dir}
  COMMAND ${ZOLT_CLANGXX} -std=c++17 -O1 -g -fsanitize=fuzzer,address,undefined
          -fno-sanitize-recover=all -I${CMAKE_SOURCE_DIR}
          ${_sp_fuzz_sources} ${_sp_target} -o ${_sp_fuzzer}
  DEPENDS ${_sp_fuzz_sources} ${_sp_fuzz_headers} ${_sp_target}
  COMMENT "Building the shader parser fuzzer with clang"
  VERBATIM)
add_custom_target(shaderparse_fuzzer ALL DEPENDS ${_sp_fuzzer})

# Twenty seconds from the seed programs of every kind, fixed seed, fresh
# corpus each run.
add_test(NAME shaderparse_fuzz_short
  COMMAND ${CMAKE_COMMAND} -DFUZZER=${_sp_fuzzer} -DSEEDS=${CMAKE_CURRENT_LIST_DIR}/fuzz/seeds
          -DDICT=${CMAKE_CURRENT_LIST_DIR}/fuzz/programs.dict
          -DCORPUS=${_sp_fuzz_dir}/shaderparse_short_corpus -DSECONDS=20
          -P ${CMAKE_CURRENT_LIST_DIR}/fuzz/run_short_fuzz.cmake)
set_tests_properties(shaderparse_fuzz_short PROPERTIES TIMEOUT 120 LABELS fuzz)
