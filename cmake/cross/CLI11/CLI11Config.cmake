# CLI11 for the cross build: the build machine's headers.
include(${CMAKE_CURRENT_LIST_DIR}/../HostHeaders.cmake)
if(NOT TARGET CLI11::CLI11)
  kordel_host_headers(CLI11::CLI11 CLI)
endif()
