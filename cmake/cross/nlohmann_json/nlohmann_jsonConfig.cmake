# nlohmann/json for the cross build: the build machine's headers.
include(${CMAKE_CURRENT_LIST_DIR}/../HostHeaders.cmake)
if(NOT TARGET nlohmann_json::nlohmann_json)
  kordel_host_headers(nlohmann_json::nlohmann_json nlohmann)
endif()
