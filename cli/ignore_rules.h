// .ignore files: gitignore's syntax, read by kordelc itself for the folder that holds the file.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kordel::cli {

/// Shell-style match of a '/'-separated path in which "*", "?" and "[...]" stay within one part
/// and a part "**" stands for any number of parts, none included.
bool MatchPathGlob(std::string_view pattern, std::string_view path);

/// The rules of one ignore file, in gitignore's syntax: "#" comments, "!" to keep again, a trailing
/// "/" for folders only, a "/" at the start or inside to anchor the pattern to the file's folder.
class IgnoreRules {
public:
    enum class Verdict { None, Ignore, Keep };

    explicit IgnoreRules(std::string_view text);

    /// What the last matching rule says of `relative` (to the file's folder, '/'-separated).
    Verdict Match(std::string_view relative, bool isFolder) const;
    bool empty() const { return m_rules.empty(); }

private:
    struct Rule {
        std::string pattern;
        bool keep = false;
        bool folderOnly = false;
        bool anchored = false;
    };
    std::vector<Rule> m_rules;
};

}  // namespace kordel::cli
