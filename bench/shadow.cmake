# The shadow-light effects: the block field and the shadowed tentacle ball,
# each alone at 640x480 and 1280x960, shadow pass and lit pass apart.
add_executable(shadow_bench ${CMAKE_CURRENT_LIST_DIR}/shadow_bench.cpp)
target_compile_options(shadow_bench PRIVATE ${ZOLT_WARNINGS})
target_link_libraries(shadow_bench PRIVATE zoltcore)
