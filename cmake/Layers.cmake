# Each library exposes only its own headers. A target's folder is linked into a folder of the build
# tree that belongs to that target alone, and that folder is what the target and its users get on
# their include path: "engine/scan.h" is found by whoever links kordel::engine, and by no one else.
# scripts/include-check.sh checks the same rule on every source without building.
function(kordel_expose_headers target folder)
  set(root ${CMAKE_BINARY_DIR}/layers/${target})
  get_filename_component(parent ${root}/${folder} DIRECTORY)
  # A build tree made when these headers sat a folder higher holds a link where a folder goes now.
  if(IS_SYMLINK ${parent})
    file(REMOVE ${parent})
  endif()
  file(MAKE_DIRECTORY ${parent})
  file(CREATE_LINK ${PROJECT_SOURCE_DIR}/${folder} ${root}/${folder} SYMBOLIC)
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "EXECUTABLE")
    target_include_directories(${target} PRIVATE ${root})
  else()
    target_include_directories(${target} PUBLIC ${root})
  endif()
endfunction()
