// Line classification by a user language's signals and fixed columns.
#include "userlang/custom_counter.h"

#include "engine/scan.h"

namespace kordel::userlang {

using engine::HasTextIn;
using engine::instr;

CustomMarkers MarkersOf(const UserLanguage& language) {
    return {language.olcop,  ParseColumn(language.olfc), language.mlbcop, ParseColumn(language.fcmlb),
            language.mlecop, IsWholeLineFlag(language.olcswl)};
}

void CustomClassifier::Classify(std::string_view line, engine::Tally& tally) {
    if (m_inBlock) m_inBlock = !engine::ClassifyInsideBlock(line, m_markers.mlecop, m_cblib, tally);
    else ClassifyOutside(line, tally);
}

void CustomClassifier::ClassifyOutside(std::string_view raw, engine::Tally& tally) {
    const std::string_view line = engine::EmptyStrings(raw, engine::QuoteRule::Double, {}, m_scratch);
    const std::size_t z1 = instr(line, m_markers.olcop);
    const std::size_t z2 = instr(line, m_markers.mlbcop);
    // Code before the signal makes the line mixed, unless the flag makes the whole line a comment.
    auto commentOrMixed = [&](std::size_t at) {
        tally.CommentOrMixed(!m_markers.olcswl && HasTextIn(line, static_cast<long long>(at) - 1));
    };
    if (z1 != 0 && (z2 == 0 || z2 >= z1) && (m_markers.olfc == 0 || m_markers.olfc == z1)) {
        commentOrMixed(z1);
        return;
    }
    if (z2 != 0 && (m_markers.olmb == 0 || m_markers.olmb == z2)) {
        commentOrMixed(z2);
        // The end search starts at the begin signal itself, so equal signals close on this line.
        if (instr(line, m_markers.mlecop, static_cast<long long>(z2)) == 0) m_inBlock = true;
        return;
    }
    if (instr(line, m_markers.mlecop) != 0) {
        tally.Code();
        return;
    }
    engine::ClassifyPlain(line, tally);
}

std::optional<engine::UserLanguageMatch> DatabaseLanguages::Find(std::string_view extension,
                                                                 const engine::CountOptions& options) const {
    std::call_once(m_read, [this] {
        m_languages = m_reader(m_db).languages;
        m_index = ExtensionIndex(m_languages);
    });
    const UserLanguage* language = m_index.Find(extension);
    if (!language) return std::nullopt;
    return engine::UserLanguageMatch{language->name,
                                     std::make_unique<CustomClassifier>(MarkersOf(*language), options.cblib)};
}

}  // namespace kordel::userlang
