# The bug swarm's frame time against its creature count.
#   swarm_scaling [beats]   1x, 2x and 4x the shipped numBugs at 640x480
add_executable(swarm_scaling ${CMAKE_CURRENT_LIST_DIR}/swarm_scaling.cpp)
target_compile_options(swarm_scaling PRIVATE ${ZOLT_WARNINGS})
target_link_libraries(swarm_scaling PRIVATE zoltcore)
