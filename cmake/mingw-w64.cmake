# Cross build for 64-bit Windows with Debian's mingw-w64 toolchain (posix thread model).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(KORDEL_MINGW_TRIPLE x86_64-w64-mingw32)

find_program(CMAKE_C_COMPILER NAMES ${KORDEL_MINGW_TRIPLE}-gcc-posix ${KORDEL_MINGW_TRIPLE}-gcc REQUIRED)
find_program(CMAKE_CXX_COMPILER NAMES ${KORDEL_MINGW_TRIPLE}-g++-posix ${KORDEL_MINGW_TRIPLE}-g++ REQUIRED)
find_program(CMAKE_RC_COMPILER NAMES ${KORDEL_MINGW_TRIPLE}-windres REQUIRED)

set(CMAKE_FIND_ROOT_PATH /usr/${KORDEL_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Run cross-built programs through wine where a build step or test needs to.
find_program(KORDEL_WINE NAMES wine)
if(KORDEL_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${KORDEL_WINE})
endif()

# Header-only packages come from the build machine (see cmake/cross).
set(CLI11_DIR ${CMAKE_CURRENT_LIST_DIR}/cross/CLI11 CACHE PATH "")
set(nlohmann_json_DIR ${CMAKE_CURRENT_LIST_DIR}/cross/nlohmann_json CACHE PATH "")

# Stand-alone programs and tests: no MinGW runtime DLLs beside them.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
