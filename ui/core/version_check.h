// The comparison of the downloaded version file with the program's own version.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kordel::ui {

enum class VersionOutcome { Latest, Newer, CouldNotConnect };

inline constexpr std::string_view kOwnVersion = "1.7";
inline constexpr std::string_view kVersionFileName = "kordelnewversion.txt";
inline constexpr std::string_view kDefaultVersionUrl = "https://brevlane.example/kordel/kordelnewversion.txt";
inline constexpr std::string_view kWebSite = "https://brevlane.example/kordel/";

/// Decides from the reply's body (nothing when the download failed). The first line is taken
/// without its line end; an empty first line counts as a failed download.
VersionOutcome EvaluateVersionReply(const std::optional<std::string>& body);

inline constexpr std::string_view kCouldNotConnectMessage =
    "Could not connect to the server.  Make sure you are connected to the internet and that you can browse "
    "the web.  If you are connected, the Brevlane Website may be down.  Try again later.";
inline constexpr std::string_view kNewerVersionMessage =
    "A newer version of Kordel is available.  Would you like to go to the Brevlane Website now?";
inline constexpr std::string_view kLatestVersionMessage = "You have the latest version of Kordel.";

}  // namespace kordel::ui
