# Render targets and the screen distortion: the distortion pass at
# 640x480 and 1280x960 side by side, one pixel-buffer switch, one copy.
add_executable(targets_bench ${CMAKE_CURRENT_LIST_DIR}/targets_bench.cpp)
target_compile_options(targets_bench PRIVATE ${ZOLT_WARNINGS})
target_link_libraries(targets_bench PRIVATE zoltcore)
