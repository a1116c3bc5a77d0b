// Reading "git:REV" and "git:REV:PATH" arguments, and writing object ids, in builds with or without
// libgit2.
#include "vcs/revision.h"

namespace kordel::vcs {

std::optional<RevisionSpec> ParseRevisionSpec(std::string_view arg) {
    constexpr std::string_view kPrefix = "git:";
    if (arg.substr(0, kPrefix.size()) != kPrefix) return std::nullopt;
    arg.remove_prefix(kPrefix.size());
    RevisionSpec spec;
    const std::size_t colon = arg.find(':');
    spec.rev = std::string(arg.substr(0, colon));
    if (colon != std::string_view::npos) spec.path = std::string(arg.substr(colon + 1));
    while (!spec.path.empty() && spec.path.back() == '/') spec.path.pop_back();
    return spec;
}

std::string HexId(const BlobId& id) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string hex;
    for (unsigned char byte : id) hex += {kDigits[byte >> 4], kDigits[byte & 15]};
    return hex;
}

}  // namespace kordel::vcs
