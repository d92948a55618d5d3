# The movie reader and player's fuzzer (see support/fuzz/FuzzTarget.cmake),
# seeded with the archive's movies and hand-made ones (fonts, texts,
# sprites, every skipped tag). The movie folder stands on the platform's
# file reader alone; the fuzzer feeds bytes directly.
include(${CMAKE_CURRENT_LIST_DIR}/../support/fuzz/FuzzTarget.cmake)
file(GLOB _swf_fuzz_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/swf/*.cpp)
zolt_fuzzer(NAME swf
  SOURCES ${_swf_fuzz_sources} ${CMAKE_SOURCE_DIR}/platform/FileRead.cpp
  TARGET ${CMAKE_CURRENT_LIST_DIR}/fuzz/SwfFuzzTarget.cpp
  SEEDS ${CMAKE_BINARY_DIR}/content/out/*.swf ${CMAKE_CURRENT_LIST_DIR}/fuzz/seeds/*.swf
  MAX_LEN 16384 SECONDS 10 AFTER zolt_content)
