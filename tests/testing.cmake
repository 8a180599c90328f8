# quillfret_add_gtest(NAME SOURCES ... LIBS ...)
# Natively every test case becomes a CTest test. In the Windows build the
# executable is one CTest test, run under Wine through the cross-compiling
# emulator (one Wine start per executable instead of one per case).
function(quillfret_add_gtest name)
  cmake_parse_arguments(arg "" "" "SOURCES;LIBS;ENVIRONMENT" ${ARGN})
  add_executable(${name} ${arg_SOURCES})
  target_link_libraries(${name} PRIVATE ${arg_LIBS} GTest::gtest_main)
  if(WIN32)
    add_test(NAME ${name} COMMAND ${name})
    quillfret_wine_test(${name})
    if(arg_ENVIRONMENT)
      set_tests_properties(${name} PROPERTIES ENVIRONMENT "${arg_ENVIRONMENT}")
    endif()
  else()
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES ENVIRONMENT "${arg_ENVIRONMENT}")
  endif()
endfunction()
