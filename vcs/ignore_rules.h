// .ignore files: gitignore's syntax, read by kordelc itself for the folder that holds the file.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kordel::vcs {

/// Shell-style match of a whole text: "*" any run, "?" one character, "[abc]", "[a-z]", "[!x]".
bool MatchGlob(std::string_view pattern, std::string_view text);

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
    /// The same, naming the matching rule's line in `rule`.
    Verdict Match(std::string_view relative, bool isFolder, std::string& rule) const;
    bool empty() const { return m_rules.empty(); }

private:
    struct Rule {
        std::string pattern;
        bool keep = false;
        bool folderOnly = false;
        bool anchored = false;
        std::string line;  ///< as written
    };
    std::vector<Rule> m_rules;
};

/// Why a pattern of --exclude or --exclude-dir (gitignore's syntax, relative to the walked folder, a
/// leading "./" allowed) can never match a path below a folder; empty when it can.
std::string WhyNeverMatches(std::string_view pattern);

/// The pattern as a line of an ignore file at the walked folder: without its leading "./", and with a
/// trailing "/" when it names folders only.
std::string ExcludeRuleLine(std::string_view pattern, bool folderOnly);

}  // namespace kordel::vcs
