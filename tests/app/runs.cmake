# The built program run whole, as users and pipelines run it (runs/): exit
# statuses, every archive entry broken in turn, lossless recordings compared
# frame for frame, GL errors after every frame. Its own binary, so the long
# runs are ctest entries of their own with labels and time limits.
file(GLOB _runs_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/runs/*.cpp)
find_package(Threads REQUIRED)
add_executable(zolt_runs ${_runs_sources} ${CMAKE_CURRENT_SOURCE_DIR}/support/DamagedArchive.cpp)
target_include_directories(zolt_runs PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
target_compile_options(zolt_runs PRIVATE ${ZOLT_WARNINGS})
target_compile_definitions(zolt_runs PRIVATE ZOLT_OUTPUT_DIR="${ZOLT_OUTPUT_DIR}" ZOLT_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
  ZOLT_RUNS_DIR="${CMAKE_BINARY_DIR}/runs")
target_link_libraries(zolt_runs PRIVATE zoltcore GTest::gtest Threads::Threads)
add_dependencies(zolt_runs zolt)

# The longer runs carry a COST, so a first ctest run, with no timings of its
# own yet, starts them first and fills in with the short tests.
function(zolt_run_test name filter timeout labels)
  add_test(NAME ${name} COMMAND zolt_runs --gtest_filter=${filter} WORKING_DIRECTORY ${ZOLT_OUTPUT_DIR})
  set_tests_properties(${name} PROPERTIES TIMEOUT ${timeout} LABELS "${labels}" COST 20)
endfunction()
# The exit statuses (ExitStatus.*) and a few broken entries through the whole
# program (CorruptEntrySweep.*) run against the sanitized zolt, which checks
# everything these check and more (sanitized.cmake); by hand:
#   zolt_runs --gtest_filter='ExitStatus.*:CorruptEntrySweep.*'
# The start-scene recordings one scene an entry, so -j2 runs them side by
# side and none runs long.
# The whole show is recorded twice, side by side, once a build (the fixture);
# the checks read both: clean exit, no GL error, determinism, the scene starts,
# the last frame and the pictures at every scene's stored beats.
zolt_run_test(zolt.WholeShowRecordFirst "WholeShowRecord.First" 1800 "run")
zolt_run_test(zolt.WholeShowRecordSecond "WholeShowRecord.Second" 1800 "run")
set_tests_properties(zolt.WholeShowRecordFirst zolt.WholeShowRecordSecond PROPERTIES FIXTURES_SETUP WholeShow COST 45)
zolt_run_test(zolt.WholeShowRecording "WholeShow.*" 900 "run")
set_tests_properties(zolt.WholeShowRecording PROPERTIES FIXTURES_REQUIRED WholeShow)
add_test(NAME zolt.WholeShowCleanup COMMAND ${CMAKE_COMMAND} -E rm -rf ${CMAKE_BINARY_DIR}/runs)
set_tests_properties(zolt.WholeShowCleanup PROPERTIES FIXTURES_CLEANUP WholeShow LABELS "run")
foreach(_scene RANGE 1 7)
  math(EXPR _index "${_scene} - 1")  # GoogleTest numbers the scenes from 0
  zolt_run_test(zolt.StartScene.${_scene} "*StartScene.*/${_index}" 600 "run")
endforeach()
zolt_run_test(zolt.Help "WatchRun.Help*" 120 "run")
zolt_run_test(zolt.Reliability "Reliability.*" 900 "run")
zolt_run_test(zolt.RecordingContainers "WatchRun.Recordings*:WatchRun.NameThatCannot*" 600 "run")
zolt_run_test(zolt.DesktopFullScreen "WatchRun.Desktop*" 900 "run")
