// The custom language counter: comment rules taken from a user language record.
#pragma once

#include <filesystem>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "engine/block_line_counter.h"
#include "engine/classifier.h"
#include "engine/count_run.h"
#include "userlang/udlangdb.h"

namespace kordel::userlang {

/// The rules of one user language; empty signals are never found.
struct CustomMarkers {
    std::string olcop;        ///< one-line comment signal
    std::size_t olfc = 0;     ///< its fixed column, 1-based; 0 = any
    std::string mlbcop;       ///< block begin signal
    std::size_t olmb = 0;     ///< its fixed column, 1-based; 0 = any
    std::string mlecop;       ///< block end signal
    bool olcswl = false;      ///< a signal makes the whole line a comment
};

/// The markers of a database record (columns and flag converted).
CustomMarkers MarkersOf(const UserLanguage& language);

/// Classifies lines by a user language's markers, on the shared file frame.
class CustomClassifier final : public engine::LineClassifier {
public:
    CustomClassifier(CustomMarkers markers, bool cblib) : m_markers(std::move(markers)), m_cblib(cblib) {}
    void Reset() override { m_inBlock = false; }
    void Classify(std::string_view line, engine::Tally& tally) override;
    bool InBlock() const override { return m_inBlock; }

private:
    void ClassifyOutside(std::string_view line, engine::Tally& tally);

    CustomMarkers m_markers;
    bool m_cblib;
    bool m_inBlock = false;
    engine::QuoteScratch m_scratch;
};

/// Reads a whole database; ReadUDLangDb unless a test counts the reads.
using DbReader = std::function<DbContents(const std::filesystem::path&)>;

/// The count run's lookup over a database file. The file is read at the first lookup and kept for
/// the life of the lookup, which is one count run: a run is one operation, and a large database read
/// again for every file made runs of many user language files take minutes. A database that is
/// missing or unreadable at that read knows no language for the rest of the run.
class DatabaseLanguages final : public engine::UserLanguageLookup {
public:
    explicit DatabaseLanguages(std::filesystem::path db, DbReader reader = ReadUDLangDb)
        : m_db(std::move(db)), m_reader(std::move(reader)) {}
    std::optional<engine::UserLanguageMatch> Find(std::string_view extension,
                                                  const engine::CountOptions& options) const override;

private:
    std::filesystem::path m_db;
    DbReader m_reader;
    mutable std::once_flag m_read;
    mutable std::vector<UserLanguage> m_languages;
    mutable ExtensionIndex m_index;
};

}  // namespace kordel::userlang
