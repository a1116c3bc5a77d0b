// Text rules for locations taken from registry values.
#include "installhelpers/core/locations.h"

#include <algorithm>

#include "common/ascii.h"

namespace kordel::installcore {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsSeparator(char c) { return c == '\\' || c == '/'; }

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

bool HasDrive(std::string_view path) {
    return path.size() >= 2 && path[1] == ':' && AsciiLower(path[0]) >= 'a' && AsciiLower(path[0]) <= 'z';
}

// The end of an unquoted program name: after the first ".exe" that ends a word, else the first blank.
std::size_t UnquotedProgramEnd(std::string_view text) {
    for (std::size_t at = 0; at + 4 <= text.size(); ++at) {
        const bool isExe = EqualIgnoringCase(text.substr(at, 4), ".exe");
        if (isExe && (at + 4 == text.size() || IsBlank(text[at + 4]))) return at + 4;
    }
    std::size_t blank = text.find_first_of(" \t");
    return blank == std::string_view::npos ? text.size() : blank;
}

}  // namespace

Command SplitCommand(std::string_view value) {
    std::string_view text = Trim(value);
    Command command;
    if (text.empty()) return command;
    std::string_view rest;
    if (text.front() == '"') {
        std::size_t close = text.find('"', 1);
        if (close == std::string_view::npos) {
            command.program = std::string(Trim(text.substr(1)));
        } else {
            command.program = std::string(Trim(text.substr(1, close - 1)));
            rest = text.substr(close + 1);
        }
    } else {
        std::size_t end = UnquotedProgramEnd(text);
        command.program = std::string(text.substr(0, end));
        rest = text.substr(end);
    }
    command.arguments = std::string(Trim(rest));
    return command;
}

std::string CleanFolder(std::string_view value) {
    std::string_view text = Trim(value);
    if (text.size() >= 2 && text.front() == '"' && text.back() == '"') text = Trim(text.substr(1, text.size() - 2));
    return std::string(text);
}

std::string DirectoryOf(std::string_view path) {
    std::size_t last = path.find_last_of("\\/");
    if (last != std::string_view::npos) return std::string(path.substr(0, last + 1));
    if (HasDrive(path)) return std::string(path.substr(0, 2));
    return {};
}

std::string JoinFile(std::string_view folder, std::string_view name) {
    if (folder.empty()) return {};
    auto separator = static_cast<char>(std::filesystem::path::preferred_separator);
    std::size_t last = folder.find_last_of("\\/");
    if (last != std::string_view::npos) separator = folder[last];
    while (!folder.empty() && IsSeparator(folder.back())) folder.remove_suffix(1);
    std::string joined(folder);
    joined += separator;
    joined += name;
    return joined;
}

}  // namespace kordel::installcore
