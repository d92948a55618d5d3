# The program-text parser's fuzzer (see support/fuzz/FuzzTarget.cmake),
# seeded with programs of every kind and a dictionary of their words.
include(${CMAKE_CURRENT_LIST_DIR}/../support/fuzz/FuzzTarget.cmake)
file(GLOB _sp_fuzz_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/shaderparse/*.cpp)
zolt_fuzzer(NAME shaderparse
  SOURCES ${_sp_fuzz_sources}
  TARGET ${CMAKE_CURRENT_LIST_DIR}/fuzz/ShaderParseFuzzTarget.cpp
  SEEDS ${CMAKE_CURRENT_LIST_DIR}/fuzz/seeds/*
  DICT ${CMAKE_CURRENT_LIST_DIR}/fuzz/programs.dict
  MAX_LEN 4096 SECONDS 10)
