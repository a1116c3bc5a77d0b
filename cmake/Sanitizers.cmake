# Address and undefined-behaviour sanitizers for the test build.
add_library(kordel_sanitizers INTERFACE)
add_library(kordel::sanitizers ALIAS kordel_sanitizers)
if(KORDEL_SANITIZE)
  target_compile_options(kordel_sanitizers INTERFACE -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  target_link_options(kordel_sanitizers INTERFACE -fsanitize=address,undefined)
endif()
