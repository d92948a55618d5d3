# Shared by the install checks: what an install holds, and the checks.
set(ZOLT_INSTALLED_FILES
  bin/zolt share/zolt/trov.qz5 share/zolt/zolt.mp3 share/applications/zolt.desktop
  share/icons/hicolor/32x32/apps/zolt.png share/man/man6/zolt.6.gz
  share/doc/zolt/copyright share/doc/zolt/changelog.gz)

# expect_run(<output variable> <command...>): fails on a status other than 0.
function(expect_run out)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE text ERROR_VARIABLE text)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "${ARGN}: status ${rc}\n${text}")
  endif()
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

function(expect_in text word)
  string(FIND "${text}" "${word}" at)
  if(at LESS 0)
    message(FATAL_ERROR "missing \"${word}\" in:\n${text}")
  endif()
endfunction()

function(expect_equal got want)
  if(NOT got STREQUAL want)
    message(FATAL_ERROR "got:\n${got}\nwanted:\n${want}\n${out}")
  endif()
endfunction()
