# Music and capture benchmarks: small timing programs, run by hand.
#   avi_codec_bench [frames]   frames written per second at 640x480, per codec
#   music_drift [seconds]      the music position against the wall clock
#   capture_show.sh            the whole show's capture time against its length
add_executable(avi_codec_bench ${CMAKE_CURRENT_LIST_DIR}/AviCodecBench.cpp)
target_compile_options(avi_codec_bench PRIVATE ${ZOLT_WARNINGS})
target_link_libraries(avi_codec_bench PRIVATE zoltcore)

add_executable(music_drift ${CMAKE_CURRENT_LIST_DIR}/MusicDrift.cpp)
target_compile_options(music_drift PRIVATE ${ZOLT_WARNINGS})
target_link_libraries(music_drift PRIVATE zoltcore)

configure_file(${CMAKE_CURRENT_LIST_DIR}/capture_show.sh ${ZOLT_OUTPUT_DIR}/capture_show.sh COPYONLY)
