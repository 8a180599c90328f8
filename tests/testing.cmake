# How the tests are built and run, for every folder that has tests (tests,
# tools, bench). CTest runs the Windows test programs under Wine, in prefixes
# of this build tree.
if(WIN32)
  include(${CMAKE_CURRENT_LIST_DIR}/fixtures/wine/wine.cmake)
endif()

# The source tree as the test programs see it: Wine shows the Linux root as
# drive Z:.
if(WIN32)
  set(QUILLFRET_SEEN_SOURCE_DIR "Z:${PROJECT_SOURCE_DIR}" CACHE INTERNAL "the source tree seen by the tests")
else()
  set(QUILLFRET_SEEN_SOURCE_DIR "${PROJECT_SOURCE_DIR}" CACHE INTERNAL "the source tree seen by the tests")
endif()

# quillfret_add_gtest(NAME SOURCES ... LIBS ... [ENVIRONMENT ...] [PREFIX name])
# Every test case becomes a CTest test: natively through GoogleTest's own
# discovery; in the Windows build each case runs under Wine
# (quillfret_wine_gtest), in the prefix PREFIX
# (one case at a time) or else in the shared one.
function(quillfret_add_gtest name)
  cmake_parse_arguments(arg "" "PREFIX" "SOURCES;LIBS;ENVIRONMENT" ${ARGN})
  add_executable(${name} ${arg_SOURCES})
  target_link_libraries(${name} PRIVATE ${arg_LIBS} GTest::gtest_main)
  if(WIN32)
    quillfret_wine_gtest(${name} PREFIX "${arg_PREFIX}" ENVIRONMENT ${arg_ENVIRONMENT})
  else()
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES ENVIRONMENT "${arg_ENVIRONMENT}")
  endif()
endfunction()
