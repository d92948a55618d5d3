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
list(SORT ZOLT_INSTALLED_FILES)
expect_equal("${found}" "${ZOLT_INSTALLED_FILES}")

set(zolt ${prefix}/bin/zolt)
expect_run(version ${zolt} --version)
expect_equal("${version}" "zolt ${VERSION}\n")
file(READ ${SOURCE_DIR}/README.md readme)
expect_in("${readme}" "zolt_${VERSION}_amd64.deb")
# The manual page: this version, and every switch the help lists.
expect_run(help ${zolt} --help)
expect_run(page gzip -dc ${prefix}/share/man/man6/zolt.6.gz)
expect_in("${page}" ".TH ZOLT 6 \"\" \"zolt ${VERSION}\"")
string(REGEX MATCHALL "\n  /[a-z]" switches "${help}")
list(LENGTH switches count)
if(count LESS 12)
  message(FATAL_ERROR "the help lists ${count} switches:\n${help}")
endif()
foreach(row ${switches})
  string(SUBSTRING "${row}" 3 2 switch)
  if(NOT page MATCHES "\n\\.BI? ${switch}[ \n]")
    message(FATAL_ERROR "the manual page lacks ${switch}:\n${page}")
  endif()
endforeach()
expect_run(valid desktop-file-validate ${prefix}/share/applications/zolt.desktop)

# A short recording with its soundtrack, both found through the prefix,
# written to the current folder.
execute_process(COMMAND ${zolt} /w /m /f2 /s7 /t56 WORKING_DIRECTORY ${elsewhere}
  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out TIMEOUT 240)
expect_equal("${rc}" "0")
expect_in("${out}" "AVI: sound from ${prefix}/share/zolt/zolt.mp3")
expect_run(streams ffprobe -v error -show_entries stream=codec_type -of csv=p=0 ${elsewhere}/wirefall.avi)
expect_equal("${streams}" "video\naudio\n")
file(REMOVE_RECURSE ${BUILD_DIR}/install-test)
