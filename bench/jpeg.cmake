# JPEG decode time, ours against libjpeg-turbo, per layout.
find_package(JPEG REQUIRED)
add_executable(zolt_bench_jpeg ${CMAKE_CURRENT_SOURCE_DIR}/jpeg_decode.cpp
                               ${CMAKE_SOURCE_DIR}/tests/gfx/JpegTestSupport.cpp)
target_include_directories(zolt_bench_jpeg PRIVATE ${CMAKE_SOURCE_DIR}/tests/gfx)
target_compile_options(zolt_bench_jpeg PRIVATE ${ZOLT_WARNINGS})
target_link_libraries(zolt_bench_jpeg PRIVATE zoltcore JPEG::JPEG)
