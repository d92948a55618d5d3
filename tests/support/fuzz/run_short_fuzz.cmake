# Runs FUZZER for SECONDS from the files matching SEEDS ("|"-separated
# globs) in a fresh CORPUS folder, with the dictionary DICT when given; any
# crash, leak or sanitizer report fails the test.
file(REMOVE_RECURSE ${CORPUS})
file(MAKE_DIRECTORY ${CORPUS})
string(REPLACE "|" ";" globs "${SEEDS}")
file(GLOB seeds ${globs})
if(NOT seeds)
  message(FATAL_ERROR "no seeds match ${SEEDS}")
endif()
file(COPY ${seeds} DESTINATION ${CORPUS})
set(dictionary)
if(DICT)
  set(dictionary -dict=${DICT})
endif()
execute_process(
  COMMAND ${FUZZER} -seed=1 -max_total_time=${SECONDS} -max_len=${MAX_LEN} ${dictionary} -close_fd_mask=1
          -timeout=10 -rss_limit_mb=1024 -artifact_prefix=${CORPUS}/../ ${CORPUS}
  RESULT_VARIABLE result
  ERROR_VARIABLE log)
string(REGEX MATCH "#[0-9]+[^\n]*DONE[^\n]*" done "${log}")
message(STATUS "${done}")
if(NOT result EQUAL 0)
  message(FATAL_ERROR "the fuzzer failed (${result}):\n${log}")
endif()
