// Pascal classification; code is recognised by letters and "=", "+", "-", "," only.
#include "engine/pascal_counter.h"

#include "engine/scan.h"

namespace kordel::engine {
namespace {

bool CodeBefore(std::string_view line, std::size_t pos) {
    return HasPascalCodeIn(line, static_cast<long long>(pos) - 1);
}

}  // namespace

void PascalClassifier::Classify(std::string_view line, Tally& tally) {
    if (m_block == Block::None) return ClassifyOutside(line, tally);
    const bool paren = m_block == Block::Paren;
    // Only "(*" blocks count empty lines as blank under cblib; in a "{" block every line is comment.
    if (m_cblib && paren) {
        const std::size_t lf = line.find('\n');
        if (lf == 0 || (lf == std::string_view::npos && IsBlankText(line))) return tally.Blank();
    }
    const std::size_t close = instr(line, paren ? "*)" : "}");
    if (close == 0) return tally.Comment();
    m_block = Block::None;
    const std::string_view rest = GetPastEndComment(close - 1 + (paren ? 2 : 1), line);
    tally.CommentOrMixed(paren ? HasPascalCodeIn(rest, static_cast<long long>(rest.size()))
                               : HasTextIn(rest, static_cast<long long>(rest.size())));
}

void PascalClassifier::ClassifyOutside(std::string_view raw, Tally& tally) {
    std::string_view line = raw;
    if (raw.find('"') != std::string_view::npos) {
        RemoveQuotes(raw, m_scratch, QuoteMark::Double);
        line = m_scratch;
    }
    std::size_t a = instr(line, "'"), L = instr(line, "//"), B = instr(line, "{"), P = instr(line, "(*");
    if (a > 0 && ((L && B && a < L && a < B) || (P && a < P))) {
        RemoveQuotes(line, m_single, QuoteMark::Single);
        line = m_single;
        L = instr(line, "//");
        B = instr(line, "{");
        P = instr(line, "(*");
    }
    enum { LineComment, Brace, Paren, Plain } rule;
    if (L && B) rule = B < L ? Brace : LineComment;
    else if (L && P) rule = P < L ? Paren : LineComment;
    else if (P) rule = Paren;
    else if (L) rule = LineComment;
    else if (B) rule = Brace;
    else rule = Plain;

    switch (rule) {
        case LineComment:
            return tally.CommentOrMixed(CodeBefore(line, L));
        case Paren:
            tally.CommentOrMixed(CodeBefore(line, P));
            if (instr(line, "*)", static_cast<long long>(P)) == 0) m_block = Block::Paren;
            return;
        case Brace:
            tally.CommentOrMixed(CodeBefore(line, B));
            if (instr(line, "}", static_cast<long long>(B)) == 0) m_block = Block::Brace;
            return;
        case Plain:
            break;
    }
    if (instr(line, "}") || instr(line, "*)")) return tally.Code();
    const std::size_t lf = line.find('\n');
    if (lf == 0) return tally.Blank();
    const long long n = lf == std::string_view::npos ? static_cast<long long>(line.size()) : static_cast<long long>(lf + 1);
    HasPascalCodeIn(line, n) ? tally.Code() : tally.Blank();
}

}  // namespace kordel::engine
