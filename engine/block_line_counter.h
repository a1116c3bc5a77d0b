// The block-and-line comment counter: "//" line comments and "/*" ... "*/" blocks by default.
#pragma once

#include <initializer_list>
#include <string>

#include "engine/classifier.h"

namespace kordel::engine {

/// How a counter empties quoted text before it searches for markers.
enum class QuoteRule {
    CFamily,                 ///< double-quoted strings and character literals
    Double,                  ///< double-quoted strings only
    DoubleThenSingle,        ///< then apostrophe strings whenever the line holds an apostrophe
    DoubleThenSingleBefore,  ///< then apostrophe strings when the first apostrophe precedes the first marker
    DoubleUnlessTriple,      ///< double-quoted strings, except on a line that holds a triple quote
};

/// Markers of a block-and-line counter; an empty line marker means the language has none.
struct BlockLineMarkers {
    std::string_view line = "//";
    std::string_view begin = "/*";
    std::string_view end = "*/";
    QuoteRule quotes = QuoteRule::CFamily;
    /// On the opening line the end marker is searched behind the begin marker (begin and end are equal).
    bool endAfterBegin = false;
    /// The line comment is judged at the longest semicolon run (";;;;", then ";;", then ";").
    bool semicolonRuns = false;
};

/// Reusable buffers of the string-emptying step, so that no line allocates.
struct QuoteScratch {
    std::string first;
    std::string second;
};

/// Empties quoted text of `raw` by `rule`, where `marker` is the marker the apostrophe test looks at.
/// Returns `raw` itself when nothing needed emptying, else a view of one of the scratch buffers.
std::string_view EmptyStrings(std::string_view raw, QuoteRule rule, std::string_view marker, QuoteScratch& scratch);

/// Quiet plain lines of a counter that empties strings by `rule` and looks for `markers` (their first bytes).
QuietLines QuietPlainLines(QuoteRule rule, std::initializer_list<std::string_view> markers);

class BlockLineClassifier final : public LineClassifier {
public:
    BlockLineClassifier(BlockLineMarkers markers, bool cblib);
    void Reset() override {
        m_inBlock = false;
        m_quiet = &m_quietOutside;
    }
    void Classify(std::string_view line, Tally& tally) override;
    bool InBlock() const override { return m_inBlock; }

private:
    void ClassifyOutside(std::string_view line, Tally& tally);

    BlockLineMarkers m_markers;
    bool m_cblib;
    bool m_inBlock = false;
    QuoteScratch m_scratch;
    QuietLines m_quietOutside;
    QuietLines m_quietInside;
};

/// Empties C-family strings: double-quoted strings as `RemoveQuotes` does, and character
/// literals such as '"' or '/' so that their contents open neither a string nor a comment.
void EmptyCStrings(std::string_view line, std::string& out);

/// A line outside any comment and without a marker: code or blank by its text.
void ClassifyPlain(std::string_view line, Tally& tally);

/// A line inside a block comment that ends with `end`: comment, blank (an empty or blank line under
/// `cblib`), or, when the end marker is on it, comment or mixed by the text after the marker. True
/// when the block ends on this line.
bool ClassifyInsideBlock(std::string_view line, std::string_view end, bool cblib, Tally& tally);

}  // namespace kordel::engine
