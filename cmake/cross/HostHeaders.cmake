# Header-only packages of the build machine, offered to the cross build without the build machine's
# /usr/include (whose C library headers would hide the target's).
function(kordel_host_headers target folder)
  set(stage ${CMAKE_BINARY_DIR}/host-headers/${target})
  if(NOT EXISTS ${stage}/${folder})
    file(MAKE_DIRECTORY ${stage})
    file(CREATE_LINK /usr/include/${folder} ${stage}/${folder} SYMBOLIC)
  endif()
  add_library(${target} INTERFACE IMPORTED GLOBAL)
  set_target_properties(${target} PROPERTIES INTERFACE_INCLUDE_DIRECTORIES ${stage})
endfunction()
