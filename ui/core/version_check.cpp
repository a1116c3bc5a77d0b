#include "ui/core/version_check.h"

namespace kordel::ui {

VersionOutcome EvaluateVersionReply(const std::optional<std::string>& body) {
    if (!body) return VersionOutcome::CouldNotConnect;
    std::string_view first(*body);
    first = first.substr(0, first.find('\n'));
    if (!first.empty() && first.back() == '\r') first.remove_suffix(1);
    if (first.empty()) return VersionOutcome::CouldNotConnect;
    return first == kOwnVersion ? VersionOutcome::Latest : VersionOutcome::Newer;
}

}  // namespace kordel::ui
