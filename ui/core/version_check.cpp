// The version check's URL, deadline and size rules, and the comparison of the reply.
#include "ui/core/version_check.h"

#include "common/ascii.h"

namespace kordel::ui {
namespace {

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && EqualIgnoringCase(text.substr(0, prefix.size()), prefix);
}

}  // namespace

bool IsVersionUrlAllowed(std::string_view url) {
    std::string_view rest;
    if (StartsWithNoCase(url, "http://")) rest = url.substr(7);
    else if (StartsWithNoCase(url, "https://")) rest = url.substr(8);
    else return false;
    // A host must follow: "http:///path" names none.
    const std::string_view host = rest.substr(0, rest.find_first_of("/?#"));
    return !host.empty() && host.find_first_of(" \t\r\n") == std::string_view::npos;
}

bool VersionReplyBody::Add(std::string_view bytes) {
    const std::string_view kept = bytes.substr(0, kVersionReplyCap - m_text.size());
    m_lineEnded = m_lineEnded || kept.find('\n') != std::string_view::npos;
    m_text.append(kept);
    return m_lineEnded || m_text.size() >= kVersionReplyCap;
}

VersionOutcome EvaluateVersionReply(const std::optional<std::string>& body) {
    if (!body) return VersionOutcome::CouldNotConnect;
    std::string_view first(*body);
    const std::size_t lf = first.find('\n');
    // A first line that never ends within what is kept is no version file.
    if (lf == std::string_view::npos && first.size() >= kVersionReplyCap) return VersionOutcome::CouldNotConnect;
    first = first.substr(0, lf);
    if (!first.empty() && first.back() == '\r') first.remove_suffix(1);
    if (first.empty()) return VersionOutcome::CouldNotConnect;
    return first == kOwnVersion ? VersionOutcome::Latest : VersionOutcome::Newer;
}

}  // namespace kordel::ui
