# Two builds of the content give byte-identical outputs: a second tree is
# built beside this one (kept between runs, so later runs are incremental).
add_test(NAME content_reproducible
  COMMAND ${CMAKE_COMMAND}
          -DSOURCE_DIR=${CMAKE_SOURCE_DIR} -DMAIN_BUILD=${CMAKE_BINARY_DIR}
          -DREPRO_BUILD=${CMAKE_BINARY_DIR}/repro -DGENERATOR=${CMAKE_GENERATOR}
          -DBUILD_TYPE=${CMAKE_BUILD_TYPE}
          -P ${CMAKE_SOURCE_DIR}/content/packer/check_reproducible.cmake)
set_tests_properties(content_reproducible PROPERTIES TIMEOUT 1800 LABELS content)
