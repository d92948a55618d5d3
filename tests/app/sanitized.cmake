# The whole show under AddressSanitizer and UndefinedBehaviorSanitizer: a
# second build of zolt with -DZOLT_SANITIZE=ON in build/sanitized (incremental
# after the first time), then the whole-program runs against it: a recording
# of the show with a GL check after every frame, the exit statuses, and the
# corrupt-entry sweep. Any report from the show's own code fails the run.
# Labelled `sanitize`.
#
# NOTE: the GL driver and libEGL leak a little on purpose and are unloaded
# before the leak check, which then cannot tell whose the leak was. Each run
# preloads them so they stay mapped, and sanitized.supp names them.
if(ZOLT_SANITIZE)
  return()  # the sanitized build itself does not build another
endif()
set(_libdir /usr/lib/${CMAKE_LIBRARY_ARCHITECTURE})
set(_preload "")
foreach(_lib dri/swrast_dri.so libEGL_mesa.so.0 libEGL.so.1 libgbm.so.1)
  if(EXISTS ${_libdir}/${_lib})
    list(APPEND _preload ${_libdir}/${_lib})
  endif()
endforeach()
string(REPLACE ";" ":" _preload "${_preload}")
set(_supp ${CMAKE_CURRENT_LIST_DIR}/sanitized.supp)
set(_env "LD_PRELOAD=${_preload} ASAN_OPTIONS=detect_leaks=1:verify_asan_link_order=0:exitcode=99 LSAN_OPTIONS=suppressions=${_supp}:print_suppressions=0 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1")
add_test(NAME zolt.Sanitized
  COMMAND ${CMAKE_COMMAND} -DSOURCE=${CMAKE_SOURCE_DIR} -DBUILD=${CMAKE_BINARY_DIR}/sanitized
          -DRUNS=$<TARGET_FILE:zolt_runs> "-DRUN_ENVIRONMENT=${_env}"
          -P ${CMAKE_CURRENT_LIST_DIR}/runs/run_sanitized.cmake
  WORKING_DIRECTORY ${ZOLT_OUTPUT_DIR})
set_tests_properties(zolt.Sanitized PROPERTIES TIMEOUT 3000 LABELS "sanitize;run")
