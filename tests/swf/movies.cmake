# The movie tests read the writer tool's scripts (what each movie is meant
# to hold) and use its bit packer to build test files; the archive's movies
# must exist before the tests run.
target_sources(zolt_tests PRIVATE
  ${CMAKE_SOURCE_DIR}/content/movies/SwfWriter.cpp
  ${CMAKE_SOURCE_DIR}/content/movies/MovieScripts.cpp)
target_include_directories(zolt_tests PRIVATE ${CMAKE_SOURCE_DIR}/content/movies)
add_dependencies(zolt_tests zolt_movies)
