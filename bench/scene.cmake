# Frame time of any scene at 640x480 and 1280x960, side by side.
add_executable(scene_bench ${CMAKE_CURRENT_LIST_DIR}/scene_bench.cpp)
target_compile_options(scene_bench PRIVATE ${ZOLT_WARNINGS})
target_link_libraries(scene_bench PRIVATE zolt_sceneplayer)

# The README's frame-time table, every scene at both sizes, in one command.
configure_file(${CMAKE_CURRENT_LIST_DIR}/bench_table.sh ${ZOLT_OUTPUT_DIR}/bench_table.sh COPYONLY)
