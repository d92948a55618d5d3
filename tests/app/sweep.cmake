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
# Its ctest entries run the sanitized build of it (sanitized.cmake), which
# checks what this one does and more; this one runs by hand:
#   cd build/bin && SDL_VIDEODRIVER=offscreen ./zolt_sweep
