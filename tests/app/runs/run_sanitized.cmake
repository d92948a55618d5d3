# Builds zolt with the sanitizers into BUILD and runs the whole-program runs
# (RUNS) against it.
include(ProcessorCount)
ProcessorCount(cores)
execute_process(COMMAND ${CMAKE_COMMAND} -S ${SOURCE} -B ${BUILD} -DCMAKE_BUILD_TYPE=RelWithDebInfo
                        -DZOLT_SANITIZE=ON
                RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "configuring the sanitized build failed")
endif()
string(TIMESTAMP start "%s")
execute_process(COMMAND ${CMAKE_COMMAND} --build ${BUILD} --target zolt -j${cores}
                RESULT_VARIABLE result OUTPUT_VARIABLE log ERROR_VARIABLE log)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "building the sanitized zolt failed:\n${log}")
endif()
string(TIMESTAMP built "%s")
math(EXPR seconds "${built} - ${start}")
message(STATUS "sanitized zolt built in ${seconds} s")
# The whole show once, at the lowest frame rate that still visits every act
# (about a frame a beat), checked for a clean exit, GL errors and the scene
# starts; then the exit statuses and the corrupt-entry sweep.
execute_process(COMMAND ${RUNS} --zolt=${BUILD}/bin/zolt "--zolt-env=${RUN_ENVIRONMENT}"
                        --shared-dir=${BUILD}/runs --record-fps=2
                        "--gtest_filter=WholeShowRecord.First:WholeShow.NoGlError*:WholeShow.Every*:ExitStatus.*:CorruptEntrySweep.*"
                RESULT_VARIABLE result)
file(REMOVE_RECURSE ${BUILD}/runs)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "the sanitized show failed a run (above)")
endif()
