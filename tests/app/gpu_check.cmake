# The GPU check leaves a machine without an NVIDIA driver alone: one clear
# line and exit 0 (forced, so the test means the same on a GPU machine).
add_test(NAME GpuCheckSkipsWithoutDriver
  COMMAND sh -c "out=$(GPU_CHECK_FORCE_SKIP=1 sh '${CMAKE_SOURCE_DIR}/tools/gpu_check.sh' '${CMAKE_BINARY_DIR}' '${CMAKE_BINARY_DIR}/gpu_check_skip.txt') && test \"$out\" = 'skipped: no NVIDIA driver' && test ! -e '${CMAKE_BINARY_DIR}/gpu_check_skip.txt'")
