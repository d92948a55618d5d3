# Frame time of the opening scene at 640x480 and 1280x960, side by side.
add_executable(scene0_bench ${CMAKE_CURRENT_SOURCE_DIR}/scene0_bench.cpp)
target_compile_options(scene0_bench PRIVATE ${ZOLT_WARNINGS})
target_link_libraries(scene0_bench PRIVATE zoltcore)
