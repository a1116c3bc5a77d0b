# Warning flags, linked to every target of the project.
add_library(kordel_warnings INTERFACE)
add_library(kordel::warnings ALIAS kordel_warnings)
target_compile_options(kordel_warnings INTERFACE -Wall -Wextra -Wpedantic)
