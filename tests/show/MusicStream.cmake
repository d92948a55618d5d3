# The soundtrack tests rerun the synthesiser to check the build is
# reproducible and decode its output with ffmpeg.
target_compile_definitions(zolt_tests PRIVATE ZOLT_SOUNDTRACK_TOOL="$<TARGET_FILE:soundtrack>")
add_dependencies(zolt_tests soundtrack_mp3)
