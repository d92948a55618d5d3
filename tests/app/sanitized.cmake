# The whole show under AddressSanitizer and UndefinedBehaviorSanitizer: a
# second build of zolt and of the in-process corrupt-entry sweep with
# -DZOLT_SANITIZE=ON in build/sanitized, made by the normal build (target
# zolt_sanitized, incremental after the first time), and runs against it as
# several ctest entries that run side by side: a recording of the show with a
# GL check after every frame, the exit statuses, broken entries run whole,
# and the sweep in its shards. Any report from the show's own code fails the
# run. Labelled `sanitize`.
#
# NOTE: the GL driver and libEGL leak a little on purpose and are unloaded
# before the leak check, which then cannot tell whose the leak was. Each run
# preloads them so they stay mapped, and sanitized.supp names them.
if(ZOLT_SANITIZE)
  return()  # the sanitized build itself does not build another
endif()
set(_sanitized ${CMAKE_BINARY_DIR}/sanitized)
set(_launchers "")
foreach(_lang C CXX)
  if(CMAKE_${_lang}_COMPILER_LAUNCHER)
    list(APPEND _launchers "-DCMAKE_${_lang}_COMPILER_LAUNCHER=${CMAKE_${_lang}_COMPILER_LAUNCHER}")
  endif()
endforeach()
add_custom_target(zolt_sanitized ALL
  COMMAND ${CMAKE_COMMAND} -S ${CMAKE_SOURCE_DIR} -B ${_sanitized} -DCMAKE_BUILD_TYPE=RelWithDebInfo
          -DZOLT_SANITIZE=ON ${_launchers}
  COMMAND ${CMAKE_COMMAND} --build ${_sanitized} --target zolt zolt_sweep
  COMMENT "Building the sanitized zolt and corrupt-entry sweep in ${_sanitized}"
  VERBATIM)

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
function(zolt_sanitized_test name filter)
  add_test(NAME zolt.Sanitized.${name}
    COMMAND ${CMAKE_COMMAND} -DBUILD=${_sanitized} -DRUNS=$<TARGET_FILE:zolt_runs>
            "-DRUN_ENVIRONMENT=${_env}" "-DFILTER=${filter}" -DNAME=${name}
            -P ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/runs/run_sanitized.cmake
    WORKING_DIRECTORY ${ZOLT_OUTPUT_DIR})
  set_tests_properties(zolt.Sanitized.${name} PROPERTIES TIMEOUT 900 LABELS "sanitize;run" COST 40)
endfunction()
# The whole show once, at the lowest frame rate that still visits every act
# (about a frame a beat), checked for a clean exit, GL errors and the scene
# starts; then the exit statuses and the broken entries run whole.
zolt_sanitized_test(Recording "WholeShowRecord.First:WholeShow.NoGlError*:WholeShow.Every*")
zolt_sanitized_test(ExitStatus "ExitStatus.*")
zolt_sanitized_test(DamagedArchiveRuns "CorruptEntrySweep.*")
# The sweep of every entry in one sanitized process a shard, on the sanitized
# build's own archive.
string(REPLACE " " ";" _env_list "${_env}")
foreach(_shard RANGE 0 1)
  add_test(NAME zolt.Sanitized.CorruptEntrySweep.${_shard} COMMAND ${_sanitized}/bin/zolt_sweep
    WORKING_DIRECTORY ${_sanitized}/bin)
  set_tests_properties(zolt.Sanitized.CorruptEntrySweep.${_shard} PROPERTIES TIMEOUT 900 LABELS "sanitize;run;sweep" COST 150
    ENVIRONMENT "${_env_list};SDL_VIDEODRIVER=offscreen;SDL_AUDIODRIVER=dummy;GTEST_TOTAL_SHARDS=2;GTEST_SHARD_INDEX=${_shard}")
endforeach()
