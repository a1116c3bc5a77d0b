// Classification of one line by a row of the table of further languages.
#include "engine/known_language_counter.h"

#include <algorithm>

#include "engine/known_languages.h"

namespace kordel::engine {
namespace {

bool IsBlankByte(char c) { return c == ' ' || c == '\t' || c == '\n'; }

// True when `marker` (not empty) begins at `line[i]`; compared inline, as markers are a few bytes long.
bool At(std::string_view line, std::size_t i, std::string_view marker) {
    if (marker.empty() || i > line.size() || marker.size() > line.size() - i) return false;
    for (std::size_t k = 0; k < marker.size(); ++k)
        if (line[i + k] != marker[k]) return false;
    return true;
}

unsigned char Byte(char c) { return static_cast<unsigned char>(c); }

// The lines of a state whose text is comment: comment, or blank when only a line feed under cblib.
QuietLines CommentLines(bool cblib) {
    QuietLines quiet;
    quiet.kind = cblib ? QuietLines::Kind::CommentUnlessEmpty : QuietLines::Kind::Comment;
    return quiet;
}

// `quiet` with `markers` added, or no quiet lines when they do not fit.
QuietLines With(QuietLines quiet, std::initializer_list<std::string_view> markers) {
    for (std::string_view m : markers)
        if (!quiet.Add(m)) return {};
    return quiet;
}

}  // namespace

KnownLanguageClassifier::KnownLanguageClassifier(const LanguageRow& row, bool cblib) : m_row(row), m_cblib(cblib) {
    ForEachWord(row.startComments, [&](std::string_view m) { m_markers.push_back({m, Kind::Start, 0}); });
    ForEachWord(row.lineComments, [&](std::string_view m) { m_markers.push_back({m, Kind::Line, 0}); });
    for (unsigned b = 0; b < row.blocks.size(); ++b)
        if (!row.blocks[b].open.empty()) m_markers.push_back({row.blocks[b].open, Kind::Block, b});
    for (unsigned s = 0; s < row.strings.size(); ++s)
        if (!row.strings[s].open.empty()) m_markers.push_back({row.strings[s].open, Kind::String, s});

    // Outside comments and strings a line without any opener's first bytes is code or blank.
    m_quietCode.kind = QuietLines::Kind::Plain;
    for (const Marker& m : m_markers) {
        if (!m_quietCode.Add(m.text)) {
            m_quietCode = {};
            break;
        }
    }
    // The longest marker that begins at a byte wins ("--[[" opens a block where "--" alone is a line
    // comment), the row's first of equal ones: sorted so, the first that matches is the one.
    std::stable_sort(m_markers.begin(), m_markers.end(), [](const Marker& a, const Marker& b) {
        if (a.text[0] != b.text[0]) return Byte(a.text[0]) < Byte(b.text[0]);
        return a.text.size() > b.text.size();
    });
    for (unsigned i = static_cast<unsigned>(m_markers.size()); i-- > 0;) {
        const unsigned char first = Byte(m_markers[i].text[0]);
        m_first[first] = static_cast<unsigned char>(i);
        ++m_count[first];
    }
    // Blanks are skipped before markers are looked for, so a blank byte never opens one.
    m_codeBytes.fill(CodeByte::Text);
    for (const Marker& m : m_markers) m_codeBytes[Byte(m.text[0])] = CodeByte::Opener;
    for (const char blank : {' ', '\t', '\n'}) m_codeBytes[Byte(blank)] = CodeByte::Blank;
    // Inside a block only its close (and its open, when blocks nest) changes anything.
    for (unsigned b = 0; b < row.blocks.size(); ++b) {
        const BlockRule& block = row.blocks[b];
        m_quietBlock[b] = With(CommentLines(cblib), {block.close, row.nested ? block.open : std::string_view()});
        m_blockStops[b] = StopBytes(block.close, row.nested ? block.open : std::string_view());
    }
    // Inside a string: its close and its escape character. A docstring's lines are comment lines.
    for (unsigned s = 0; s < row.strings.size(); ++s) {
        const StringRule& rule = row.strings[s];
        const char escape[1] = {rule.escape};
        const std::string_view escapeText(escape, rule.escape ? 1 : 0);
        QuietLines plain;
        plain.kind = QuietLines::Kind::Plain;
        m_quietString[s][0] = With(plain, {rule.close, escapeText});
        m_quietString[s][1] = With(CommentLines(cblib), {rule.close, escapeText});
        m_stringStops[s] = StopBytes(rule.close, escapeText);
    }
    Reset();
}

void KnownLanguageClassifier::Reset() {
    m_mode = Mode::Code;
    m_depth = 0;
    m_doc = false;
    UpdateQuiet();
}

void KnownLanguageClassifier::UpdateQuiet() {
    switch (m_mode) {
        case Mode::Code: m_quiet = &m_quietCode; return;
        case Mode::Block: m_quiet = &m_quietBlock[m_block]; return;
        case Mode::String: m_quiet = &m_quietString[m_string][m_doc ? 1 : 0]; return;
    }
}

void KnownLanguageClassifier::Classify(std::string_view line, Tally& tally) {
    // A line that begins inside a block comment or a docstring is comment even when it holds nothing else.
    const bool startsInComment = m_mode == Mode::Block || (m_mode == Mode::String && m_doc);
    bool code = false, comment = false, seen = false;  // seen: non-blank text met on this line
    std::size_t i = 0;
    while (i < line.size()) {
        switch (m_mode) {
            case Mode::Code: i = ScanCode(line, i, code, comment, seen); break;
            case Mode::Block: i = ScanBlock(line, i, comment, seen); break;
            case Mode::String: i = ScanString(line, i, code, comment, seen); break;
        }
    }
    // A string that may not go on over a line end ends with its line.
    if (m_mode == Mode::String && !m_row.strings[m_string].multiline) m_mode = Mode::Code;
    UpdateQuiet();

    if (code && comment) tally.Mixed();
    else if (comment) tally.Comment();
    else if (code) tally.Code();
    else if (startsInComment && !(m_cblib && line == "\n")) tally.Comment();
    else tally.Blank();
}

const KnownLanguageClassifier::Marker* KnownLanguageClassifier::MarkerAt(std::string_view line, std::size_t i,
                                                                         bool seen) const {
    const unsigned char first = Byte(line[i]);
    const Marker* const end = m_markers.data() + m_first[first] + m_count[first];
    for (const Marker* m = m_markers.data() + m_first[first]; m != end; ++m)
        if ((m->kind != Kind::Start || !seen) && At(line, i, m->text)) return m;
    return nullptr;
}

std::size_t KnownLanguageClassifier::ScanCode(std::string_view line, std::size_t i, bool& code, bool& comment,
                                              bool& seen) {
    const std::size_t n = line.size();
    for (;;) {
        // Up to the next byte that may open a marker, there is only code text and blank.
        for (; i < n; ++i) {
            const CodeByte kind = m_codeBytes[Byte(line[i])];
            if (kind == CodeByte::Opener) break;
            if (kind == CodeByte::Text) code = seen = true;
        }
        if (i >= n) return i;
        const Marker* best = MarkerAt(line, i, seen);
        const bool first = !seen;
        seen = true;
        if (!best) {
            code = true;
            ++i;
            continue;
        }
        switch (best->kind) {
            case Kind::Start:
            case Kind::Line: comment = true; return n;
            case Kind::Block:
                comment = true;
                m_mode = Mode::Block;
                m_block = best->index;
                m_depth = 1;
                return i + best->text.size();
            case Kind::String:
                m_mode = Mode::String;
                m_string = best->index;
                // A docstring stands alone: nothing but blanks before it on its line.
                m_doc = m_row.strings[m_string].docstring && first;
                (m_doc ? comment : code) = true;
                return i + best->text.size();
        }
        return i + 1;
    }
}

std::size_t KnownLanguageClassifier::ScanBlock(std::string_view line, std::size_t i, bool& comment, bool& seen) {
    const BlockRule& block = m_row.blocks[m_block];
    const StopBytes& stops = m_blockStops[m_block];
    const std::size_t n = line.size();
    for (;;) {
        for (; i < n && !stops.Has(Byte(line[i])); ++i)
            if (!IsBlankByte(line[i])) comment = seen = true;
        if (i >= n) return i;
        if (At(line, i, block.close)) {
            comment = seen = true;
            i += block.close.size();
            if (--m_depth == 0) {
                m_mode = Mode::Code;
                return i;
            }
            continue;
        }
        if (m_row.nested && At(line, i, block.open)) {
            comment = seen = true;
            ++m_depth;
            i += block.open.size();
            continue;
        }
        if (!IsBlankByte(line[i])) comment = seen = true;
        ++i;
    }
}

std::size_t KnownLanguageClassifier::ScanString(std::string_view line, std::size_t i, bool& code, bool& comment,
                                                bool& seen) {
    const StringRule& rule = m_row.strings[m_string];
    const StopBytes& stops = m_stringStops[m_string];
    bool& text = m_doc ? comment : code;
    const std::size_t n = line.size();
    for (;;) {
        for (; i < n && !stops.Has(Byte(line[i])); ++i)
            if (!IsBlankByte(line[i])) text = seen = true;
        if (i >= n) return i;
        const char c = line[i];
        if (!IsBlankByte(c)) text = seen = true;
        if (At(line, i, rule.close)) {
            // An escape that is the closing quote itself doubles it: '' inside '...' is one quote.
            if (rule.escape == rule.close[0] && At(line, i + rule.close.size(), rule.close)) {
                i += 2 * rule.close.size();
                continue;
            }
            m_mode = Mode::Code;
            m_doc = false;
            return i + rule.close.size();
        }
        if (rule.escape != 0 && c == rule.escape) {
            if (i + 1 < n && !IsBlankByte(line[i + 1])) text = true;
            i += 2;
            continue;
        }
        ++i;
    }
}

}  // namespace kordel::engine
