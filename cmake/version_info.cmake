# Version resources of the Windows executables, from the project's one version.

set(QUILLFRET_COPYRIGHT "Copyright (c) 2026 the Quillfret authors")
set(QUILLFRET_VERSION_QUAD "${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_PATCH}.0")

# The version for scripts outside CMake (scripts/package names the zip with it).
file(CONFIGURE OUTPUT ${PROJECT_BINARY_DIR}/version.txt CONTENT "${PROJECT_VERSION}\n")

# quillfret_version_resource(TARGET DESCRIPTION)
# Compiles a VERSIONINFO resource into TARGET: file and product version,
# product name, DESCRIPTION, copyright and the exe's file name.
function(quillfret_version_resource target description)
  get_target_property(name ${target} OUTPUT_NAME)
  if(NOT name)
    set(name ${target})
  endif()
  set(QF_FILE_DESCRIPTION "${description}")
  set(QF_INTERNAL_NAME "${name}")
  set(QF_ORIGINAL_FILENAME "${name}.exe")
  string(REPLACE "." "," QF_VERSION_COMMAS "${QUILLFRET_VERSION_QUAD}")
  set(rc ${CMAKE_CURRENT_BINARY_DIR}/${target}_version.rc)
  configure_file(${PROJECT_SOURCE_DIR}/cmake/version_info.rc.in ${rc} @ONLY)
  target_sources(${target} PRIVATE ${rc})
endfunction()
