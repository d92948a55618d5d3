# cmake --install into a fresh prefix, then the installed zolt run from a
# folder that holds none of its data.
include(${CMAKE_CURRENT_LIST_DIR}/expect.cmake)
set(prefix ${BUILD_DIR}/install-test/prefix)
set(elsewhere ${BUILD_DIR}/install-test/elsewhere)
file(REMOVE_RECURSE ${BUILD_DIR}/install-test)
file(MAKE_DIRECTORY ${elsewhere})
expect_run(log ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix})

file(GLOB_RECURSE found RELATIVE ${prefix} ${prefix}/*)
list(SORT found)
set(expected ${ZOLT_INSTALLED_FILES})
list(SORT expected)
if(NOT found STREQUAL expected)
  message(FATAL_ERROR "installed:\n${found}\nexpected:\n${expected}")
endif()

set(zolt ${prefix}/bin/zolt)
expect_run(version ${zolt} --version)
if(NOT version STREQUAL "zolt ${VERSION}\n")
  message(FATAL_ERROR "--version printed: ${version}")
endif()
expect_run(help ${zolt} --help)
expect_in("${help}" "usage: zolt")
# The manual page lists every switch the help text lists, at this version.
expect_run(page gzip -dc ${prefix}/share/man/man6/zolt.6.gz)
expect_in("${page}" ".TH ZOLT 6 \"\" \"zolt ${VERSION}\"")
string(REGEX MATCHALL "\n  /[a-z]" switches "${help}")
list(LENGTH switches count)
if(count LESS 10)
  message(FATAL_ERROR "too few switches in the help:\n${help}")
endif()
foreach(row ${switches})
  string(SUBSTRING "${row}" 3 2 switch)
  expect_in("${page}" "B ${switch}")
endforeach()

expect_run(valid desktop-file-validate ${prefix}/share/applications/zolt.desktop)
file(READ ${SOURCE_DIR}/README.md readme)
expect_in("${readme}" "zolt_${VERSION}_amd64.deb")

# A short recording with its soundtrack, both found through the prefix; the
# file lands in the current folder.
execute_process(COMMAND ${zolt} /w /m /f2 /s7 /t56 WORKING_DIRECTORY ${elsewhere}
  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out TIMEOUT 240)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "recording: status ${rc}\n${out}")
endif()
expect_in("${out}" "AVI: sound from ${prefix}/share/zolt/zolt.mp3")
expect_run(streams ffprobe -v error -show_entries stream=codec_type -of csv=p=0 ${elsewhere}/wirefall.avi)
if(NOT streams STREQUAL "video\naudio\n")
  message(FATAL_ERROR "streams of the recording: ${streams}\n${out}")
endif()
file(REMOVE_RECURSE ${BUILD_DIR}/install-test)
