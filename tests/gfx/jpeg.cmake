# The JPEG decoder's tests compare against libjpeg-turbo, so the suite links
# it. A second, AddressSanitizer-built binary runs the decoder's bad-input
# tests so that no read outside a buffer can pass unnoticed.
find_package(JPEG REQUIRED)
target_link_libraries(zolt_tests PRIVATE JPEG::JPEG)

# The decoder, the PNG loader and their bad-input tests again, built with
# AddressSanitizer and the undefined-behaviour checks.
set(ZOLT_JPEG_SANITIZE -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
file(GLOB ZOLT_JPEG_DECODER_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/gfx/Jpeg*.cpp)
add_executable(zolt_jpeg_asan
  ${ZOLT_JPEG_DECODER_SOURCES}
  ${CMAKE_SOURCE_DIR}/gfx/ImageLoading.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/gfx/PngBadInputTest.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/gfx/JpegBadInputTest.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/gfx/JpegDecoderTest.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/gfx/JpegTestSupport.cpp)
target_include_directories(zolt_jpeg_asan PRIVATE ${CMAKE_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR}/gfx)
target_compile_options(zolt_jpeg_asan PRIVATE ${ZOLT_WARNINGS} ${ZOLT_JPEG_SANITIZE} -O1 -g)
target_link_options(zolt_jpeg_asan PRIVATE ${ZOLT_JPEG_SANITIZE})
target_link_libraries(zolt_jpeg_asan PRIVATE JPEG::JPEG PkgConfig::PNG OpenGL::GL GTest::gtest GTest::gtest_main)
add_test(NAME JpegDecoderUnderAddressSanitizer COMMAND zolt_jpeg_asan)
