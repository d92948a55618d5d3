# Runs the shader parser fuzzer for SECONDS from the programs in SEEDS, in a
# fresh CORPUS folder; any crash, leak, hang or sanitizer report fails the test.
file(REMOVE_RECURSE ${CORPUS})
file(MAKE_DIRECTORY ${CORPUS})
file(GLOB seeds ${SEEDS}/*)
if(NOT seeds)
  message(FATAL_ERROR "no seed programs in ${SEEDS}")
endif()
file(COPY ${seeds} DESTINATION ${CORPUS})
execute_process(
  COMMAND ${FUZZER} -seed=1 -max_total_time=${SECONDS} -max_len=4096 -dict=${DICT}
          -timeout=10 -rss_limit_mb=1024 -artifact_prefix=${CORPUS}/../ ${CORPUS}
  RESULT_VARIABLE result
  ERROR_VARIABLE log)
string(REGEX MATCH "#[0-9]+[^\n]*DONE[^\n]*" done "${log}")
message(STATUS "${done}")
if(NOT result EQUAL 0)
  message(FATAL_ERROR "the shader parser fuzzer failed (${result}):\n${log}")
endif()
