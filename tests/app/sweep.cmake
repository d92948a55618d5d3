# The corrupt-entry sweep in one process (sweep/): every archive entry
# broken in turn, the scenes that read it loaded and played on each copy.
# A binary of its own so the sanitized build can make it too.
add_executable(zolt_sweep
  ${CMAKE_CURRENT_LIST_DIR}/sweep/CorruptEntrySweepTest.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/support/DamagedArchive.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/support/GlTestContext.cpp)
target_include_directories(zolt_sweep PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
target_compile_options(zolt_sweep PRIVATE ${ZOLT_WARNINGS})
target_compile_definitions(zolt_sweep PRIVATE ZOLT_OUTPUT_DIR="${ZOLT_OUTPUT_DIR}")
target_link_libraries(zolt_sweep PRIVATE zoltcore GTest::gtest GTest::gtest_main)
# In shards (one test an entry, spread by GoogleTest's sharding), so ctest
# runs them side by side; each shard first plays the intact archive.
foreach(_shard RANGE 0 1)
  add_test(NAME zolt.CorruptEntrySweep.${_shard} COMMAND zolt_sweep WORKING_DIRECTORY ${ZOLT_OUTPUT_DIR})
  set_tests_properties(zolt.CorruptEntrySweep.${_shard} PROPERTIES TIMEOUT 900 LABELS "run;sweep"
    ENVIRONMENT "SDL_VIDEODRIVER=offscreen;SDL_AUDIODRIVER=dummy;GTEST_TOTAL_SHARDS=2;GTEST_SHARD_INDEX=${_shard}")
endforeach()
