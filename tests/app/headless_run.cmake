# The built program, end to end: headless, windowed, through loading and
# the loop, ending by itself with status 0.
add_test(NAME zolt.HeadlessRunExitsCleanly COMMAND zolt /w WORKING_DIRECTORY ${ZOLT_OUTPUT_DIR})
set_tests_properties(zolt.HeadlessRunExitsCleanly PROPERTIES
  ENVIRONMENT "SDL_VIDEODRIVER=offscreen;SDL_AUDIODRIVER=dummy"
  TIMEOUT 600)

# Tests that run the built program need it built first.
add_dependencies(zolt_tests zolt)
