# The 3DS loader's bad-input tests again under AddressSanitizer and its
# leak checker: the loader itself is compiled instrumented, the rest of the
# show links as usual. Registered with ctest as models_asan.
add_executable(zolt_models_asan
  ${CMAKE_SOURCE_DIR}/gfx/Scene3ds.cpp
  ${CMAKE_SOURCE_DIR}/gfx/Check3ds.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/gfx/Scene3dsCorruptTest.cpp)
target_include_directories(zolt_models_asan PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
target_compile_options(zolt_models_asan PRIVATE ${ZOLT_WARNINGS} -fsanitize=address -fno-omit-frame-pointer -g)
target_link_options(zolt_models_asan PRIVATE -fsanitize=address)
target_compile_definitions(zolt_models_asan PRIVATE
  ZOLT_OUTPUT_DIR="${ZOLT_OUTPUT_DIR}"
  ZOLT_CONTENT_DIR="${CMAKE_BINARY_DIR}/content/out")
target_link_libraries(zolt_models_asan PRIVATE zoltcore GTest::gtest GTest::gtest_main)
add_test(NAME models_asan COMMAND zolt_models_asan WORKING_DIRECTORY ${ZOLT_OUTPUT_DIR})
set_tests_properties(models_asan PROPERTIES
  ENVIRONMENT "ASAN_OPTIONS=detect_leaks=1:abort_on_error=0;SDL_AUDIODRIVER=dummy"
  TIMEOUT 300)
