# Runs the whole-program runs (RUNS) named by FILTER against the sanitized
# zolt in BUILD, which the normal build makes (target zolt_sanitized).
if(NOT EXISTS ${BUILD}/bin/zolt)
  message(FATAL_ERROR "no sanitized zolt in ${BUILD}/bin: build the target zolt_sanitized")
endif()
# Each entry records into a folder of its own: entries run side by side.
set(shared ${BUILD}/runs-${NAME})
execute_process(COMMAND ${RUNS} --zolt=${BUILD}/bin/zolt "--zolt-env=${RUN_ENVIRONMENT}"
                        --shared-dir=${shared} --record-fps=2 "--gtest_filter=${FILTER}"
                RESULT_VARIABLE result)
file(REMOVE_RECURSE ${shared})
if(NOT result EQUAL 0)
  message(FATAL_ERROR "the sanitized show failed a run (above)")
endif()
