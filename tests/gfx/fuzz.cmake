# Fuzzers for the picture and model readers (see support/fuzz/FuzzTarget.cmake):
# the JPEG decoder, the PNG path and the 3DS adapter, each seeded with the
# archive's own entries of its kind.
include(${CMAKE_CURRENT_LIST_DIR}/../support/fuzz/FuzzTarget.cmake)
set(_gfx ${CMAKE_SOURCE_DIR}/gfx)
set(_seeds ${CMAKE_BINARY_DIR}/content/out)
set(_quiet_boxes ${CMAKE_CURRENT_LIST_DIR}/../support/fuzz/QuietMessageBox.cpp)
set(_jpeg_sources ${_gfx}/JpegColour.cpp ${_gfx}/JpegDecoder.cpp ${_gfx}/JpegHuffman.cpp
    ${_gfx}/JpegIdct.cpp ${_gfx}/JpegMarkers.cpp ${_gfx}/JpegSource.cpp)

zolt_fuzzer(NAME jpeg
  SOURCES ${_jpeg_sources}
  TARGET ${CMAKE_CURRENT_LIST_DIR}/fuzz/JpegFuzzTarget.cpp
  SEEDS ${_seeds}/*.jpg MAX_LEN 65536 AFTER zolt_content)

# The PNG decoder shares its file with the texture uploads, hence GL.
zolt_fuzzer(NAME png
  SOURCES ${_gfx}/ImageLoading.cpp ${_jpeg_sources}
  TARGET ${CMAKE_CURRENT_LIST_DIR}/fuzz/PngFuzzTarget.cpp
  LIBS -lpng -lz -lGL
  SEEDS ${_seeds}/*.png MAX_LEN 65536 AFTER zolt_content)

zolt_fuzzer(NAME model3ds
  SOURCES ${_gfx}/Scene3ds.cpp ${_gfx}/Check3ds.cpp ${_quiet_boxes}
  TARGET ${CMAKE_CURRENT_LIST_DIR}/fuzz/Model3dsFuzzTarget.cpp
  LIBS -l3ds -lGLU -lGL
  SEEDS ${_seeds}/*.3ds ${_seeds}/*.3DS MAX_LEN 65536 AFTER zolt_content)
