# Fuzzers for the show's own readers (see support/fuzz/FuzzTarget.cmake): the
# key/value texts, seeded with the settings texts, and the archive reader,
# seeded with the built archive itself.
include(${CMAKE_CURRENT_LIST_DIR}/../support/fuzz/FuzzTarget.cmake)

zolt_fuzzer(NAME keyvalue
  SOURCES ${CMAKE_SOURCE_DIR}/show/KeyValue.cpp
  TARGET ${CMAKE_CURRENT_LIST_DIR}/fuzz/KeyValueFuzzTarget.cpp
  SEEDS ${CMAKE_SOURCE_DIR}/content/text/*.cfg MAX_LEN 4096)

zolt_fuzzer(NAME archive
  SOURCES ${CMAKE_SOURCE_DIR}/show/PackFile.cpp ${CMAKE_SOURCE_DIR}/platform/FileRead.cpp
          ${CMAKE_BINARY_DIR}/content/packer/PackDirectory.cpp
          ${CMAKE_CURRENT_LIST_DIR}/../support/fuzz/QuietMessageBox.cpp
  TARGET ${CMAKE_CURRENT_LIST_DIR}/fuzz/ArchiveFuzzTarget.cpp
  LIBS -lz
  SEEDS ${ZOLT_OUTPUT_DIR}/trov.qz5 MAX_LEN 262144 AFTER zolt_content)
