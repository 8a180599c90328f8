# Each library of src/ exports only its own headers: its include root, in the
# build tree, holds one link named after its folder, so "engine/mapping.h"
# resolves only for code that links the engine. A file that includes a layer
# it does not link fails to compile.
#
# quillfret_export_headers(TARGET FOLDER [FILES file...]) links
# <root>/FOLDER to the calling folder, or, with FILES, only those files of it.
function(quillfret_export_headers target folder)
  cmake_parse_arguments(arg "" "" "FILES" ${ARGN})
  set(root ${CMAKE_BINARY_DIR}/exported/${target})
  if(arg_FILES)
    file(MAKE_DIRECTORY ${root}/${folder})
    foreach(file IN LISTS arg_FILES)
      file(CREATE_LINK ${CMAKE_CURRENT_SOURCE_DIR}/${file} ${root}/${folder}/${file} SYMBOLIC)
    endforeach()
  else()
    file(MAKE_DIRECTORY ${root})
    file(CREATE_LINK ${CMAKE_CURRENT_SOURCE_DIR} ${root}/${folder} SYMBOLIC)
  endif()
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "INTERFACE_LIBRARY")
    target_include_directories(${target} INTERFACE ${root})
  else()
    target_include_directories(${target} PUBLIC ${root})
  endif()
endfunction()
