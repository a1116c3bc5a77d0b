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
    // The first line as a text-mode read gives it: CR LF becomes LF, a Ctrl-Z ends the data, at
    // most 254 characters, the line break kept when one was read. Only the exact version is the
    // latest: "1.7" followed by a line break, or an empty first line, is not.
    std::string first;
    for (std::size_t i = 0; i < body->size() && first.size() < kVersionLineLimit; ++i) {
        const char c = (*body)[i];
        if (c == '\x1a') break;
        if (c == '\r' && i + 1 < body->size() && (*body)[i + 1] == '\n') continue;
        first += c;
        if (c == '\n') break;
    }
    return first == kOwnVersion ? VersionOutcome::Latest : VersionOutcome::Newer;
}

}  // namespace kordel::ui
