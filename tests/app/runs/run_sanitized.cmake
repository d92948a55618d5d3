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
execute_process(COMMAND ${RUNS} --zolt=${BUILD}/bin/zolt "--zolt-env=${RUN_ENVIRONMENT}"
                        "--gtest_filter=WholeShow.NoGlError*:ExitStatus.*:CorruptEntrySweep.*"
                RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "the sanitized show failed a run (above)")
endif()
