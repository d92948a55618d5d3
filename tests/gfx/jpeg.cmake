# The JPEG decoder's tests compare against libjpeg-turbo, so the suite links
# it. A second, AddressSanitizer-built binary runs the decoder's bad-input
# tests so that no read outside a buffer can pass unnoticed.
find_package(JPEG REQUIRED)
target_link_libraries(zolt_tests PRIVATE JPEG::JPEG)
