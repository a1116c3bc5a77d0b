// kordelc's output, written as the rows of a run come in list order, or at the end when it must
// see them all (a sorted list, a table aligned for a terminal).
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "outputs/by_language.h"
#include "outputs/format.h"
#include "outputs/json_output.h"
#include "sources/rows.h"
#include "common/atomic_file.h"
#include "engine/results.h"

namespace kordel::outputs {

/// Standard output, or the file of -o written atomically (renamed into place at Commit).
class OutputTarget {
public:
    explicit OutputTarget(std::ostream& out) : m_out(out) {}
    /// Sends what follows to a temporary file for `path`; false when it cannot be created.
    bool OpenFile(const std::string& path);
    void Write(std::string_view text);
    /// Puts the file in place (always true for standard output).
    bool Commit();

private:
    std::ostream& m_out;
    std::unique_ptr<AtomicFileWriter> m_file;
};

/// How the rows are written: the format and the options that change the rows, and where they go.
struct RowStyle {
    Format format = Format::Table;
    bool percent = false;
    bool byFile = false;
    bool byLanguage = false;  ///< --by-language: the CSV summary is the per-language grid
    std::optional<sources::SortKey> sort;
    bool ascending = false;
    bool aligned = false;  ///< the table goes to a terminal: aligned and fitted to `width`
    std::size_t width = 80;
};

/// Writes the run's rows in the format the options ask for. The summary by language keeps only a
/// total per language; per-file output is written row by row unless `hold` asks for all rows first.
class RowOutput {
public:
    /// `rowCount` is the number of rows the run will give (the text report names it first).
    RowOutput(const RowStyle& style, const std::string& name, bool hold, std::size_t rowCount, OutputTarget& target);
    /// The next row in list order, counted or not.
    void Add(sources::Row row);
    /// Writes what follows the rows.
    void Finish(const engine::RunTotals& totals, const std::vector<sources::Skipped>& skipped,
                const std::vector<sources::Skipped>& leftOut, std::size_t skippedNotListed = 0);

private:
    enum class Mode { Summary, Streamed, Held };
    void Write(const std::string& text);

    RowStyle m_style;
    std::string m_name;
    Mode m_mode;
    OutputTarget& m_target;
    sources::SortKey m_key;
    std::vector<sources::Row> m_rows;  // held rows only
    LanguageTotals m_languages;
    engine::FileCounts m_counted;
    std::size_t m_files = 0;  // counted rows
    std::size_t m_written = 0;  // rows written
};

}  // namespace kordel::outputs
