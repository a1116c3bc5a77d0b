// The counter of the table's languages: one line classifier driven by a row's markers and strings.
#pragma once

#include <array>
#include <string_view>
#include <vector>

#include "engine/classifier.h"
#include "engine/language_row.h"

namespace kordel::engine {

/// Classifies lines by the rules written beside `LanguageRow`: comment text (line, start-only and block
/// comments, docstrings) against code text (everything else, strings included), with nesting blocks,
/// escapes and strings that go on over line ends. Lines that hold none of the bytes the current state
/// looks for are classified by the shared scan without a call; within a line, each state skips to the
/// next byte that can change it by a table of 256 entries.
class KnownLanguageClassifier final : public LineClassifier {
public:
    KnownLanguageClassifier(const LanguageRow& row, bool cblib);
    void Reset() override;
    void Classify(std::string_view line, Tally& tally) override;
    bool InBlock() const override { return m_mode == Mode::Block; }

private:
    enum class Mode : unsigned char { Code, Block, String };
    enum class Kind : unsigned char { Start, Line, Block, String };
    struct Marker {
        std::string_view text;
        Kind kind;
        unsigned index;  // of the block pair or string rule
    };

    // What a byte is to the code state: a blank, code text, or the first byte of a marker.
    enum class CodeByte : unsigned char { Text, Blank, Opener };
    // The (at most two) bytes a block or string state must look at; -1 for none.
    struct StopBytes {
        int first = -1;
        int second = -1;
        StopBytes() = default;
        StopBytes(std::string_view a, std::string_view b)  // the first bytes of two markers, either may be empty
            : first(a.empty() ? -1 : static_cast<unsigned char>(a[0])),
              second(b.empty() ? -1 : static_cast<unsigned char>(b[0])) {}
        bool Has(unsigned char c) const { return c == first || c == second; }
    };

    std::size_t ScanCode(std::string_view line, std::size_t i, bool& code, bool& comment, bool& seen);
    std::size_t ScanBlock(std::string_view line, std::size_t i, bool& comment, bool& seen);
    std::size_t ScanString(std::string_view line, std::size_t i, bool& code, bool& comment, bool& seen);
    const Marker* MarkerAt(std::string_view line, std::size_t i, bool seen) const;
    void UpdateQuiet();

    LanguageRow m_row;  // views of text that outlives the classifier (the table, or a test's literals)
    bool m_cblib;
    // Every marker that opens something outside comments and strings, by first byte, longest first,
    // then in the row's order; m_first[b] is the index of byte b's first marker, m_count[b] their number.
    std::vector<Marker> m_markers;
    std::array<unsigned char, 256> m_first{};
    std::array<unsigned char, 256> m_count{};
    std::array<CodeByte, 256> m_codeBytes{};
    std::array<StopBytes, 2> m_blockStops{};   // per block pair: its close, and its open when blocks nest
    std::array<StopBytes, 4> m_stringStops{};  // per string rule: its close and its escape character
    Mode m_mode = Mode::Code;
    unsigned m_block = 0;   // the open block pair
    unsigned m_depth = 0;   // its nesting depth
    unsigned m_string = 0;  // the open string rule
    bool m_doc = false;     // the open string is a docstring
    QuietLines m_quietCode;
    std::array<QuietLines, 2> m_quietBlock;
    std::array<std::array<QuietLines, 2>, 4> m_quietString;  // per rule, as string and as docstring
};

}  // namespace kordel::engine
