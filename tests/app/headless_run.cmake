# The built program live, end to end: headless, windowed, through loading
# and the loop on the music's clock, the finale played to the show's end with
# its music, ending by itself with status 0. (The whole show recorded from
# launch ends cleanly in the WholeShow runs; live, the finale is the part
# where the music and the show run out together.)
add_test(NAME zolt.HeadlessRunExitsCleanly COMMAND zolt /w /s7 WORKING_DIRECTORY ${ZOLT_OUTPUT_DIR})
set_tests_properties(zolt.HeadlessRunExitsCleanly PROPERTIES
  ENVIRONMENT "SDL_VIDEODRIVER=offscreen;SDL_AUDIODRIVER=dummy"
  TIMEOUT 300 LABELS "run" COST 65)

# Tests that run the built program need it built first.
add_dependencies(zolt_tests zolt)
