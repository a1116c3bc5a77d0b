// Classification of one line for block-and-line comment languages.
#include "engine/block_line_counter.h"

#include "engine/scan.h"

namespace kordel::engine {
namespace {

// Length of a character literal starting at `at` ('x', '\n', '\x41', '\0'), 0 when it is none.
std::size_t CharLiteralLength(std::string_view s, std::size_t at) {
    if (at + 2 < s.size() && s[at + 1] != '\\' && s[at + 1] != '\'' && s[at + 1] != '\n' && s[at + 2] == '\'')
        return 3;
    if (at + 3 < s.size() && s[at + 1] == '\\') {
        for (std::size_t k = at + 3; k < s.size() && k <= at + 6; ++k)
            if (s[k] == '\'') return k - at + 1;
    }
    return 0;
}

}  // namespace

void EmptyCStrings(std::string_view line, std::string& out) {
    out.clear();
    const std::size_t n = line.size();
    std::size_t i = 0;
    while (i < n) {
        // Up to the next quote or apostrophe, the line is copied in one piece.
        std::size_t at = i;
        while (at < n && line[at] != '"' && line[at] != '\'') ++at;
        out.append(line.substr(i, at - i));
        if (at == n) return;
        i = at;
        if (line[i] == '\'') {
            const std::size_t len = CharLiteralLength(line, i);
            out.append(len ? "''" : "'");
            i += len ? len : 1;
            continue;
        }
        // A string keeps its quotes and loses what is between them; the byte after the closing
        // quote is kept without being looked at. An unclosed string runs to the end of the line.
        const std::size_t close = line.find('"', i + 1);
        if (close == std::string_view::npos) {
            out += '"';
            return;
        }
        out.append("\"\"");
        i = close + 1;
        if (i < n) out += line[i++];
    }
}

std::string_view EmptyStrings(std::string_view raw, QuoteRule rule, std::string_view marker, QuoteScratch& scratch) {
    if (rule == QuoteRule::CFamily) {
        if (raw.find('"') == std::string_view::npos && raw.find('\'') == std::string_view::npos) return raw;
        EmptyCStrings(raw, scratch.first);
        return scratch.first;
    }
    std::string_view line = raw;
    if (rule == QuoteRule::DoubleUnlessTriple && raw.find("\"\"\"") != std::string_view::npos) return raw;
    if (raw.find('"') != std::string_view::npos) {
        RemoveQuotes(raw, scratch.first, QuoteMark::Double);
        line = scratch.first;
    }
    const std::size_t apostrophe = instr(line, "'");
    bool single = false;
    if (rule == QuoteRule::DoubleThenSingle) single = apostrophe != 0;
    if (rule == QuoteRule::DoubleThenSingleBefore) {
        const std::size_t m = instr(line, marker);
        single = apostrophe != 0 && m != 0 && apostrophe < m;
    }
    if (!single) return line;
    RemoveQuotes(line, scratch.second, QuoteMark::Single);
    return scratch.second;
}

void ClassifyPlain(std::string_view line, Tally& tally) {
    const std::size_t z4 = line.find('\n');
    if (z4 == std::string_view::npos) {
        IsBlankText(line) ? tally.Blank() : tally.Code();
    } else if (z4 == 0) {
        tally.Blank();
    } else {
        HasTextIn(line, static_cast<long long>(z4 + 1)) ? tally.Code() : tally.Blank();
    }
}

QuietLines QuietPlainLines(QuoteRule rule, std::initializer_list<std::string_view> markers) {
    QuietLines quiet;
    quiet.kind = QuietLines::Kind::Plain;
    bool fits = quiet.Add("\"");
    if (rule == QuoteRule::CFamily || rule == QuoteRule::DoubleThenSingle || rule == QuoteRule::DoubleThenSingleBefore)
        fits = fits && quiet.Add("'");
    for (std::string_view m : markers) fits = fits && quiet.Add(m);
    if (!fits) return {};
    return quiet;
}

BlockLineClassifier::BlockLineClassifier(BlockLineMarkers markers, bool cblib)
    : m_markers(markers), m_cblib(cblib), m_quietOutside(QuietPlainLines(markers.quotes, {markers.line, markers.begin})) {
    // Outside a block a line without quotes and without a marker's first byte is plain: a stray end
    // marker only makes a line code, and no end marker is blank text.
    // Inside, a line without the end marker's first byte is comment (or blank when empty, under cblib).
    m_quietInside.kind = cblib ? QuietLines::Kind::CommentUnlessEmpty : QuietLines::Kind::Comment;
    m_quietInside.Add(markers.end);
    m_quiet = &m_quietOutside;
}

void BlockLineClassifier::Classify(std::string_view line, Tally& tally) {
    if (m_inBlock) m_inBlock = !ClassifyInsideBlock(line, m_markers.end, m_cblib, tally);
    else ClassifyOutside(line, tally);
    m_quiet = m_inBlock ? &m_quietInside : &m_quietOutside;
}

void BlockLineClassifier::ClassifyOutside(std::string_view raw, Tally& tally) {
    const std::string_view line = EmptyStrings(raw, m_markers.quotes, m_markers.begin, m_scratch);
    const std::size_t z1 = instr(line, m_markers.line);
    const std::size_t z2 = instr(line, m_markers.begin);
    if (z1 != 0 && (z2 == 0 || z1 < z2)) {
        std::size_t at = z1;
        if (m_markers.semicolonRuns) {
            if (const std::size_t four = instr(line, ";;;;")) at = four;
            else if (const std::size_t two = instr(line, ";;")) at = two;
        }
        tally.CommentOrMixed(HasTextIn(line, static_cast<long long>(at) - 1));
        return;
    }
    if (z2 == 0) {
        if (instr(line, m_markers.end) != 0) {
            tally.Code();
            return;
        }
        ClassifyPlain(line, tally);
        return;
    }
    tally.CommentOrMixed(HasTextIn(line, static_cast<long long>(z2) - 1));
    const std::size_t from = m_markers.endAfterBegin ? z2 + m_markers.begin.size() : z2;
    if (instr(line, m_markers.end, static_cast<long long>(from)) == 0) m_inBlock = true;
}

bool ClassifyInsideBlock(std::string_view line, std::string_view end, bool cblib, Tally& tally) {
    if (cblib) {
        const std::size_t lf = line.find('\n');
        if (lf == 0 || (lf == std::string_view::npos && IsBlankText(line))) {
            tally.Blank();
            return false;
        }
    }
    const std::size_t i5 = instr(line, end);
    if (i5 == 0) {
        tally.Comment();
        return false;
    }
    const std::string_view rest = GetPastEndComment(i5 - 1 + end.size(), line);
    tally.CommentOrMixed(!IsBlankText(rest));
    return true;
}

}  // namespace kordel::engine
