// One row of the table of further languages (known_languages.inc): how a file is recognised as the
// language, and what its comments and strings look like.
#pragma once

#include <array>
#include <string_view>

namespace kordel::engine {

/// A string literal. Comment markers inside it are not comments; its text is code.
struct StringRule {
    std::string_view open{};
    std::string_view close{};
    char escape = 0;         ///< the character that makes the next one literal ('\\'), 0 for none
    bool multiline = false;  ///< the string may go on over line ends; otherwise it ends with its line
    bool docstring = false;  ///< standing alone on its lines (nothing but blanks around it), it is a comment
};

/// A block comment's opening and closing markers.
struct BlockRule {
    std::string_view open{};
    std::string_view close{};
};

/// A language of the table. Lists are space-separated. How its lines are classified:
/// - text inside a line comment, a block comment (markers included) or a docstring is comment text;
///   any other non-blank text (strings included) is code text;
/// - a line with code text and comment text is mixed, one with only comment text is comment, one with
///   only code text is code;
/// - a line of nothing but spaces and tabs is blank, but inside a block comment it is comment, and with
///   `cblib` a line inside a block comment that holds nothing but its line feed is blank;
/// - markers inside a string are not seen; the escape character makes the next character literal.
struct LanguageRow {
    std::string_view name{};          ///< "Rust"; no '/' or other character a file name cannot hold
    std::string_view extensions{};    ///< ".rs .d.ts": lower case, dot included; multi-part ones allowed
    std::string_view fileNames{};     ///< "Makefile GNUmakefile": exact file names
    std::string_view interpreters{};  ///< "python3 python": the program a #! line names (env's argument too)
    std::string_view lineComments{};  ///< "//": each comments out the rest of the line
    std::string_view startComments{}; ///< "..": each comments out the line only as its first non-blank text
    std::array<BlockRule, 2> blocks{};
    bool nested = false;            ///< block comments nest
    std::array<StringRule, 4> strings{};  ///< tried in order: put longer openers first
    std::string_view builtin{};       ///< count as the built-in language of this extension (".cpp") instead
};

}  // namespace kordel::engine
