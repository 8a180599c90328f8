# Third-party code comes from Debian packages; nothing is vendored.

# nlohmann-json (nlohmann-json3-dev) is header-only. Both builds see the Debian
# headers through a folder that holds only them, so the cross build never puts
# the Linux /usr/include on its include path.
set(QUILLFRET_JSON_INCLUDE ${CMAKE_BINARY_DIR}/deps/include)
if(NOT EXISTS /usr/include/nlohmann/json.hpp)
  message(FATAL_ERROR "nlohmann-json not found: apt-get install nlohmann-json3-dev")
endif()
file(MAKE_DIRECTORY ${QUILLFRET_JSON_INCLUDE})
file(CREATE_LINK /usr/include/nlohmann ${QUILLFRET_JSON_INCLUDE}/nlohmann SYMBOLIC)
add_library(nlohmann_json_headers INTERFACE)
target_include_directories(nlohmann_json_headers SYSTEM INTERFACE ${QUILLFRET_JSON_INCLUDE})

# GoogleTest: the prebuilt Debian libraries natively, built from the Debian
# sources (googletest) with the cross compiler for Windows.
if(WIN32)
  set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/deps/googletest EXCLUDE_FROM_ALL SYSTEM)
else()
  find_package(GTest REQUIRED)
  include(GoogleTest)
endif()

# Boost (libboost-dev) for the editor's HTTP server: Beast and Asio are
# header-only. Like nlohmann-json, both builds see only /usr/include/boost,
# through a folder of its own. Winsock comes with it on Windows.
set(QUILLFRET_BOOST_INCLUDE ${CMAKE_BINARY_DIR}/deps/boost-include)
if(NOT EXISTS /usr/include/boost/beast.hpp)
  message(FATAL_ERROR "Boost.Beast not found: apt-get install libboost-dev")
endif()
file(MAKE_DIRECTORY ${QUILLFRET_BOOST_INCLUDE})
file(CREATE_LINK /usr/include/boost ${QUILLFRET_BOOST_INCLUDE}/boost SYMBOLIC)
add_library(boost_headers INTERFACE)
target_include_directories(boost_headers SYSTEM INTERFACE ${QUILLFRET_BOOST_INCLUDE})
if(WIN32)
  target_link_libraries(boost_headers INTERFACE ws2_32 mswsock)
endif()
