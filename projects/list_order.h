// The order in which the desktop programs show a list's paths, shared with kordelc.
#pragma once

#include <string_view>

namespace kordel::projects {

/// The list's order for paths: letter case ignored first, then byte order so that paths differing
/// only by case (distinct files off Windows) keep a fixed order.
bool PathBefore(std::string_view a, std::string_view b);

}  // namespace kordel::projects
