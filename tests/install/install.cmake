# The program as users get it: installed under a prefix and run from
# another folder, and the Debian package built from the same rules.
if(TARGET zolt_install_files)
  set(_install_args -DBUILD_DIR=${CMAKE_BINARY_DIR} -DSOURCE_DIR=${CMAKE_SOURCE_DIR} -DVERSION=${PROJECT_VERSION})
  add_test(NAME zolt.InstalledRunsFromAnyFolder
    COMMAND ${CMAKE_COMMAND} ${_install_args} -P ${CMAKE_CURRENT_LIST_DIR}/scripts/installed_run.cmake)
  add_test(NAME zolt.DebianPackage
    COMMAND ${CMAKE_COMMAND} ${_install_args} -P ${CMAKE_CURRENT_LIST_DIR}/scripts/debian_package.cmake)
  set_tests_properties(zolt.InstalledRunsFromAnyFolder PROPERTIES TIMEOUT 300 LABELS "install"
    ENVIRONMENT "SDL_VIDEODRIVER=offscreen;SDL_AUDIODRIVER=dummy")
  set_tests_properties(zolt.DebianPackage PROPERTIES TIMEOUT 600 LABELS "install")
endif()
