// The version check's rules without any window or network code: which URLs may be fetched, how long
// the whole check may take, how much of the reply is kept, and the comparison with the program's own
// version. The desktop programs only move the bytes.
#pragma once

#include <chrono>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "kordel/version.h"

namespace kordel::ui {

enum class VersionOutcome { Latest, Newer, CouldNotConnect };

inline constexpr std::string_view kOwnVersion = kShortVersion;
inline constexpr std::string_view kVersionFileName = "kordelnewversion.txt";
inline constexpr std::string_view kDefaultVersionUrl = "https://brevlane.example/kordel/kordelnewversion.txt";
inline constexpr std::string_view kWebSite = "https://brevlane.example/kordel/";

/// The whole check, from the request to the last byte, ends within this time however slowly the
/// bytes come: a server that sends a byte now and then cannot keep the wait window up.
inline constexpr std::chrono::milliseconds kVersionDeadline{15000};

/// At most this much of the reply is kept; the first line is all that is compared.
inline constexpr std::size_t kVersionReplyCap = 64 * 1024;
/// The most characters of the first line that the comparison reads.
inline constexpr std::size_t kVersionLineLimit = 254;

/// True for an http or https URL with a host. Nothing else is fetched: a file: URL naming a FIFO
/// would block the program, and other schemes are read by other means than the download.
bool IsVersionUrlAllowed(std::string_view url);

/// The kept start of a reply's body, fed as the bytes arrive.
class VersionReplyBody {
public:
    /// Keeps what fits under the cap. True once the body decides the check (its first line has
    /// ended, or the cap is reached): the download should then stop.
    bool Add(std::string_view bytes);
    const std::string& text() const { return m_text; }

private:
    std::string m_text;
    bool m_lineEnded = false;
};

/// What fetching the version file came to.
struct VersionReply {
    enum class Status { Received, Failed, Cancelled };
    Status status = Status::Failed;
    std::string body;  ///< the kept start of the body, when received
};

/// Decides from the reply's body (nothing when the download failed): its first line, read as a
/// text file's line is (at most kVersionLineLimit characters, the line break kept), is compared
/// with the program's version exactly; anything else is a newer version.
VersionOutcome EvaluateVersionReply(const std::optional<std::string>& body);

inline constexpr std::string_view kCouldNotConnectMessage =
    "Could not connect to the server.  Make sure you are connected to the internet and that you can browse "
    "the web.  If you are connected, the Brevlane Website may be down.  Try again later.";
inline constexpr std::string_view kNewerVersionMessage =
    "A newer version of Kordel is available.  Would you like to go to the Brevlane Website now?";
inline constexpr std::string_view kLatestVersionMessage = "You have the latest version of Kordel.";

}  // namespace kordel::ui
