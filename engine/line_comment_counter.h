// Counters for languages whose comments run from a marker to the end of the line.
#pragma once

#include <string>

#include "engine/block_line_counter.h"
#include "engine/classifier.h"

namespace kordel::engine {

class LineCommentClassifier final : public LineClassifier {
public:
    LineCommentClassifier(std::string_view marker, QuoteRule quotes)
        : m_marker(marker), m_quotes(quotes), m_quietLines(QuietPlainLines(quotes, {marker})) {
        m_quiet = &m_quietLines;
    }
    void Reset() override {}
    void Classify(std::string_view line, Tally& tally) override;
    bool InBlock() const override { return false; }

private:
    std::string_view m_marker;
    QuoteRule m_quotes;
    QuoteScratch m_scratch;
    QuietLines m_quietLines;
};

/// Line-comment languages whose markers depend on the column or on what precedes them.
enum class SpecialLineRule {
    Basic,  ///< "REM" in any case at column 1, or an apostrophe anywhere
    Tcl,    ///< "#" at column 1, or after a ";" that has text before it
    Abap,   ///< "*" at column 1, or a double quote anywhere; no strings are emptied
};

class SpecialLineClassifier final : public LineClassifier {
public:
    explicit SpecialLineClassifier(SpecialLineRule rule) : m_rule(rule) {}
    void Reset() override {}
    void Classify(std::string_view line, Tally& tally) override;
    bool InBlock() const override { return false; }

private:
    SpecialLineRule m_rule;
    QuoteScratch m_scratch;
};

/// Column-rule counters: a comment line as a whole when the test holds, else code or blank.
enum class ColumnRule { Fortran77, Cobol, Sed, None };

class ColumnRuleClassifier final : public LineClassifier {
public:
    explicit ColumnRuleClassifier(ColumnRule rule) : m_rule(rule) {
        // A text file has no comment rule: every line is plain.
        if (rule == ColumnRule::None) m_quiet = &kPlainLines;
    }
    void Reset() override {
        m_lines = 0;
        m_continued = false;
    }
    void Classify(std::string_view line, Tally& tally) override;
    bool InBlock() const override { return false; }

private:
    static constexpr QuietLines kPlainLines{QuietLines::Kind::Plain};
    ColumnRule m_rule;
    std::int64_t m_lines = 0;
    bool m_continued = false;
    QuoteScratch m_scratch;
};

}  // namespace kordel::engine
