// The table of further languages and its lookups, built once from the rows.
#include "engine/known_languages.h"

#include <string>
#include <unordered_map>

#include "common/ascii.h"

namespace kordel::engine {
namespace {

// The rows, and one empty row behind them so that the array is never empty.
constexpr LanguageRow kRows[] = {
#include "engine/known_languages.inc"
    LanguageRow{},
};

struct Index {
    std::unordered_map<std::string, const LanguageRow*> extensions;  // lower case, dot included
    std::unordered_map<std::string_view, const LanguageRow*> fileNames;
    std::unordered_map<std::string_view, const LanguageRow*> interpreters;
    std::size_t longestExtension = 0;
};

const Index& TheIndex() {
    static const Index index = [] {
        Index built;
        for (const LanguageRow& row : KnownLanguages()) {
            // The first row that claims a word keeps it; the table's test refuses a second claim.
            ForEachWord(row.extensions, [&](std::string_view e) {
                built.extensions.emplace(AsciiLowered(e), &row);
                built.longestExtension = std::max(built.longestExtension, e.size());
            });
            ForEachWord(row.fileNames, [&](std::string_view n) { built.fileNames.emplace(n, &row); });
            ForEachWord(row.interpreters, [&](std::string_view p) { built.interpreters.emplace(p, &row); });
        }
        return built;
    }();
    return index;
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// The word at `at` (after blanks), moving `at` behind it.
std::string_view NextWord(std::string_view line, std::size_t& at) {
    while (at < line.size() && IsBlank(line[at])) ++at;
    const std::size_t start = at;
    while (at < line.size() && !IsBlank(line[at])) ++at;
    return line.substr(start, at - start);
}

std::string_view BaseName(std::string_view path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

const LanguageRow* FindInterpreter(std::string_view program) {
    const auto& interpreters = TheIndex().interpreters;
    // "python3.11", then "python3", then "python"; "perl5.36" gives "perl5", then "perl".
    while (!program.empty()) {
        if (const auto it = interpreters.find(program); it != interpreters.end()) return it->second;
        std::size_t end = program.size();
        while (end > 0 && (program[end - 1] >= '0' && program[end - 1] <= '9')) --end;
        if (end > 0 && program[end - 1] == '.' && end < program.size()) --end;
        else if (end == program.size()) break;
        program = program.substr(0, end);
    }
    return nullptr;
}

}  // namespace

std::span<const LanguageRow> KnownLanguages() { return std::span<const LanguageRow>(kRows, std::size(kRows) - 1); }

std::string_view KnownExtensionOf(std::string_view fileName) {
    const Index& index = TheIndex();
    // Suffixes from the longest: each begins at a dot of the name.
    std::size_t from = fileName.size() > index.longestExtension ? fileName.size() - index.longestExtension : 0;
    std::string lowered;
    for (std::size_t dot = fileName.find('.', from); dot != std::string_view::npos; dot = fileName.find('.', dot + 1)) {
        const std::string_view suffix = fileName.substr(dot);
        lowered = AsciiLowered(suffix);
        if (index.extensions.contains(lowered)) return suffix;
    }
    return {};
}

const LanguageRow* FindKnownByExtension(std::string_view fileName) {
    const std::string_view suffix = KnownExtensionOf(fileName);
    if (suffix.empty()) return nullptr;
    return TheIndex().extensions.at(AsciiLowered(suffix));
}

const LanguageRow* FindKnownByFileName(std::string_view fileName) {
    const auto& names = TheIndex().fileNames;
    const auto it = names.find(fileName);
    return it == names.end() ? nullptr : it->second;
}

const LanguageRow* FindKnownByName(std::string_view fileName) {
    if (const LanguageRow* row = FindKnownByFileName(fileName)) return row;
    return FindKnownByExtension(fileName);
}

std::string_view InterpreterOf(std::string_view firstBytes) {
    if (!firstBytes.starts_with("#!")) return {};
    std::string_view line = firstBytes.substr(2);
    line = line.substr(0, line.find_first_of(std::string_view("\r\n\0", 3)));
    std::size_t at = 0;
    std::string_view program = BaseName(NextWord(line, at));
    if (program != "env") return program;
    // env: its options ("-S", "-u NAME"... the ones taking a value are rare in #! lines) and variable
    // settings come before the program.
    for (std::string_view word = NextWord(line, at); !word.empty(); word = NextWord(line, at)) {
        if (word.starts_with('-')) {
            if (word == "-u" || word == "-C" || word == "--unset" || word == "--chdir") NextWord(line, at);
            continue;
        }
        if (word.find('=') != std::string_view::npos) continue;
        return BaseName(word);
    }
    return {};
}

const LanguageRow* FindKnownByInterpreter(std::string_view firstBytes) {
    const std::string_view program = InterpreterOf(firstBytes);
    return program.empty() ? nullptr : FindInterpreter(program);
}

bool HasNoExtension(std::string_view fileName) {
    const std::size_t dot = fileName.rfind('.');
    return dot == std::string_view::npos || dot == 0;
}

}  // namespace kordel::engine
