# bench_table.sh against a stand-in benchmark: the measured scene's rows
# replace its rows in a README's table, nothing else in the file changes.
add_test(NAME bench.TableScriptReplacesTheMeasuredRows
  COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/bench_table_check.sh ${ZOLT_OUTPUT_DIR}/bench_table.sh)
