// gitignore-style rules: parsing lines and matching paths part by part.
#include "vcs/ignore_rules.h"

namespace kordel::vcs {
namespace {

// One bracket expression at the start of `pattern` (just after "["); npos when it is not closed.
std::size_t MatchBracket(std::string_view pattern, char c, bool& matched) {
    std::size_t i = 0;
    const bool negate = i < pattern.size() && (pattern[i] == '!' || pattern[i] == '^');
    if (negate) ++i;
    bool any = false;
    bool first = true;
    for (; i < pattern.size() && (first || pattern[i] != ']'); ++i, first = false) {
        if (i + 2 < pattern.size() && pattern[i + 1] == '-' && pattern[i + 2] != ']') {
            any = any || (pattern[i] <= c && c <= pattern[i + 2]);
            i += 2;
        } else {
            any = any || pattern[i] == c;
        }
    }
    if (i >= pattern.size()) return std::string_view::npos;
    matched = any != negate;
    return i + 1;
}

std::vector<std::string_view> Parts(std::string_view path) {
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = path.find('/', start);
        if (end == std::string_view::npos) end = path.size();
        parts.push_back(path.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

}  // namespace

bool MatchGlob(std::string_view pattern, std::string_view text) {
    // Iterative matching with one backtrack point for the last "*": linear in practice, no recursion.
    std::size_t p = 0, t = 0;
    std::size_t starP = std::string_view::npos, starT = 0;
    while (t < text.size()) {
        if (p < pattern.size()) {
            const char pc = pattern[p];
            if (pc == '*') {
                starP = p++;
                starT = t;
                continue;
            }
            if (pc == '?') {
                ++p;
                ++t;
                continue;
            }
            if (pc == '[') {
                bool matched = false;
                const std::size_t used = MatchBracket(pattern.substr(p + 1), text[t], matched);
                if (used != std::string_view::npos) {
                    if (matched) {
                        p += 1 + used;
                        ++t;
                        continue;
                    }
                } else if (text[t] == '[') {  // an unclosed "[" stands for itself
                    ++p;
                    ++t;
                    continue;
                }
            } else if (pc == text[t]) {
                ++p;
                ++t;
                continue;
            }
        }
        if (starP == std::string_view::npos) return false;
        p = starP + 1;
        t = ++starT;
    }
    while (p < pattern.size() && pattern[p] == '*') ++p;
    return p == pattern.size();
}

bool MatchPathGlob(std::string_view pattern, std::string_view path) {
    const std::vector<std::string_view> p = Parts(pattern);
    const std::vector<std::string_view> t = Parts(path);
    // can[i][j]: pattern parts from i match path parts from j.
    std::vector<std::vector<char>> can(p.size() + 1, std::vector<char>(t.size() + 1, 0));
    can[p.size()][t.size()] = 1;
    for (std::size_t i = p.size(); i-- > 0;) {
        for (std::size_t j = t.size() + 1; j-- > 0;) {
            if (p[i] == "**") {
                can[i][j] = can[i + 1][j] || (j < t.size() && can[i][j + 1]);
            } else {
                can[i][j] = j < t.size() && MatchGlob(p[i], t[j]) && can[i + 1][j + 1];
            }
        }
    }
    return can[0][0] != 0;
}

IgnoreRules::IgnoreRules(std::string_view text) {
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        // Trailing blanks go unless the last one is escaped.
        while (!line.empty() && line.back() == ' ' && !(line.size() >= 2 && line[line.size() - 2] == '\\'))
            line.remove_suffix(1);
        if (line.empty() || line.front() == '#') continue;
        Rule rule;
        rule.line = std::string(line);
        if (line.front() == '!') {
            rule.keep = true;
            line.remove_prefix(1);
        } else if (line.starts_with("\\!") || line.starts_with("\\#")) {
            line.remove_prefix(1);
        }
        std::string pattern;
        for (std::size_t i = 0; i < line.size(); ++i) {
            if (line[i] == '\\' && i + 1 < line.size() && line[i + 1] == ' ') continue;
            pattern += line[i];
        }
        if (!pattern.empty() && pattern.back() == '/') {
            rule.folderOnly = true;
            pattern.pop_back();
        }
        rule.anchored = pattern.find('/') != std::string::npos;
        if (!pattern.empty() && pattern.front() == '/') pattern.erase(0, 1);
        if (pattern.empty()) continue;
        rule.pattern = std::move(pattern);
        m_rules.push_back(std::move(rule));
    }
}

IgnoreRules::Verdict IgnoreRules::Match(std::string_view relative, bool isFolder) const {
    std::string rule;
    return Match(relative, isFolder, rule);
}

IgnoreRules::Verdict IgnoreRules::Match(std::string_view relative, bool isFolder, std::string& rule) const {
    const std::size_t slash = relative.rfind('/');
    const std::string_view name = slash == std::string_view::npos ? relative : relative.substr(slash + 1);
    for (auto it = m_rules.rbegin(); it != m_rules.rend(); ++it) {
        if (it->folderOnly && !isFolder) continue;
        const bool matched = it->anchored ? MatchPathGlob(it->pattern, relative) : MatchGlob(it->pattern, name);
        if (matched) {
            rule = it->line;
            return it->keep ? Verdict::Keep : Verdict::Ignore;
        }
    }
    return Verdict::None;
}

namespace {

std::string_view WithoutDotSlash(std::string_view pattern) {
    while (pattern.starts_with("./")) pattern.remove_prefix(2);
    return pattern;
}

}  // namespace

std::string WhyNeverMatches(std::string_view pattern) {
    if (pattern.find_first_of("\r\n") != std::string_view::npos) return "a pattern is one line";
    std::string_view p = WithoutDotSlash(pattern);
    if (!p.empty() && p.front() == '!') p.remove_prefix(1);
    if (!p.empty() && p.back() == '\\' && (p.size() < 2 || p[p.size() - 2] != '\\'))
        return "a trailing backslash escapes nothing";
    while (!p.empty() && p.back() == ' ') p.remove_suffix(1);
    if (!p.empty() && p.back() == '/') p.remove_suffix(1);
    if (!p.empty() && p.front() == '/') p.remove_prefix(1);
    if (p.empty()) return "it names no file or folder";
    // Paths below a walked folder are made of plain names: no empty part, no "." or "..".
    std::size_t start = 0;
    while (start <= p.size()) {
        std::size_t end = p.find('/', start);
        if (end == std::string_view::npos) end = p.size();
        const std::string_view part = p.substr(start, end - start);
        if (part.empty()) return "it has an empty part (\"//\")";
        if (part == "." || part == "..") return "paths below a walked folder have no \"" + std::string(part) + "\" part";
        start = end + 1;
    }
    return {};
}

std::string ExcludeRuleLine(std::string_view pattern, bool folderOnly) {
    std::string line(WithoutDotSlash(pattern));
    if (folderOnly && !line.ends_with('/')) line += '/';
    return line;
}

}  // namespace kordel::vcs
