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
/// looks for are classified by the shared scan without a call.
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

    std::size_t ScanCode(std::string_view line, std::size_t i, bool& code, bool& comment, bool& seen);
    std::size_t ScanBlock(std::string_view line, std::size_t i, bool& comment, bool& seen);
    std::size_t ScanString(std::string_view line, std::size_t i, bool& code, bool& comment, bool& seen);
    void UpdateQuiet();

    LanguageRow m_row;  // views of text that outlives the classifier (the table, or a test's literals)
    bool m_cblib;
    std::vector<Marker> m_markers;      // every marker that opens something outside comments and strings
    std::array<bool, 256> m_opens{};    // first bytes of those markers
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
