// Line-comment and column-rule classification.
#include "engine/line_comment_counter.h"

#include "engine/scan.h"

namespace kordel::engine {
namespace {

void CommentOrPlain(bool comment, std::string_view line, Tally& tally) {
    comment ? tally.Comment() : ClassifyPlain(line, tally);
}

// A sed comment line whose text ends in a backslash continues on the next line.
bool EndsInBackslash(std::string_view line) {
    if (!line.empty() && line.back() == '\n') line.remove_suffix(1);
    return !line.empty() && line.back() == '\\';
}

}  // namespace

void LineCommentClassifier::Classify(std::string_view raw, Tally& tally) {
    const std::string_view line = EmptyStrings(raw, m_quotes, m_marker, m_scratch);
    const std::size_t m = instr(line, m_marker);
    if (m > 0) {
        tally.CommentOrMixed(HasTextIn(line, static_cast<long long>(m) - 1));
        return;
    }
    ClassifyPlain(line, tally);
}

void SpecialLineClassifier::Classify(std::string_view raw, Tally& tally) {
    if (m_rule == SpecialLineRule::Abap) {
        if (instr(raw, "*") == 1) return tally.Comment();
        if (const std::size_t q = instr(raw, "\"")) {
            return tally.CommentOrMixed(HasTextIn(raw, static_cast<long long>(q) - 1));
        }
        return ClassifyPlain(raw, tally);
    }
    const std::string_view line = EmptyStrings(raw, QuoteRule::Double, "", m_scratch);
    if (m_rule == SpecialLineRule::Basic) {
        if (instr(line, "REM", 0, true) == 1) return tally.Comment();
        if (const std::size_t a = instr(line, "'")) {
            return tally.CommentOrMixed(HasTextIn(line, static_cast<long long>(a) - 1));
        }
        return ClassifyPlain(line, tally);
    }
    const std::size_t h = instr(line, "#");
    const std::size_t semicolon = instr(line, ";");
    if (h == 1) return tally.Comment();
    if (h > 1 && semicolon > 0 && semicolon < h && HasTextIn(line, static_cast<long long>(semicolon) - 1))
        return tally.Mixed();
    ClassifyPlain(line, tally);
}

void ColumnRuleClassifier::Classify(std::string_view raw, Tally& tally) {
    ++m_lines;
    switch (m_rule) {
        case ColumnRule::Fortran77: {
            const std::string_view line = EmptyStrings(raw, QuoteRule::DoubleThenSingleBefore, "*", m_scratch);
            CommentOrPlain(instr(line, "*") == 1 || instr(line, "C") == 1, line, tally);
            return;
        }
        case ColumnRule::Cobol: {
            const std::string_view line = EmptyStrings(raw, QuoteRule::DoubleThenSingleBefore, "*", m_scratch);
            CommentOrPlain(instr(line, "*") == 7, line, tally);
            return;
        }
        case ColumnRule::Sed: {
            const std::string_view line = EmptyStrings(raw, QuoteRule::Double, "", m_scratch);
            const bool comment = m_continued || (m_lines > 1 && instr(line, "#") == 1);
            m_continued = comment && EndsInBackslash(raw);
            CommentOrPlain(comment, line, tally);
            return;
        }
        case ColumnRule::None:
            CommentOrPlain(false, raw, tally);
            return;
    }
}

}  // namespace kordel::engine
