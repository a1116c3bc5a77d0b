// What a count produces: per-file counts, run totals and the line tally with the option rules.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/line_category.h"

namespace kordel::engine {

/// Options that change how lines are counted.
struct CountOptions {
    bool cnoml = false;  ///< a mixed line also counts as code and as comment
    bool cblib = false;  ///< blank lines inside block comments count as blank
    bool sps = false;    ///< rows carry the four percentage columns
    int dotf = 0;        ///< ".f" is Forth (0) or Fortran 77 (1)
    /// After the built-in table and the user languages, the table of further languages decides
    /// (known_languages.inc): by extension, file name and #! line.
    bool knownLanguages = false;
};

/// Counts of one file; 64-bit so that huge files and runs never overflow.
struct FileCounts {
    std::int64_t ii = 0;     ///< code lines
    std::int64_t inoc = 0;   ///< comment lines
    std::int64_t inoml = 0;  ///< mixed lines
    std::int64_t inos = 0;   ///< blank lines
    std::int64_t nl3 = 0;    ///< lines read
};

/// Run totals.
struct RunTotals {
    std::int64_t ncl = 0;   ///< code
    std::int64_t ncol = 0;  ///< comment
    std::int64_t nml = 0;   ///< mixed
    std::int64_t ncbl = 0;  ///< blank
    std::int64_t ntl = 0;   ///< all lines

    void Add(const FileCounts& c) {
        ncl += c.ii;
        ncol += c.inoc;
        nml += c.inoml;
        ncbl += c.inos;
        ntl += c.nl3;
    }
};

/// Puts classified lines into a file's counts, applying `cnoml` to mixed lines.
/// When given `lines`, it also notes each line's category there, in order.
class Tally {
public:
    Tally(FileCounts& counts, bool cnoml, std::vector<LineCategory>* lines = nullptr)
        : m_counts(counts), m_cnoml(cnoml), m_lines(lines) {}
    void Code() {
        ++m_counts.ii;
        Note(LineCategory::Code);
    }
    void Comment() {
        ++m_counts.inoc;
        Note(LineCategory::Comment);
    }
    void Blank() {
        ++m_counts.inos;
        Note(LineCategory::Blank);
    }
    void Mixed() {
        ++m_counts.inoml;
        Note(LineCategory::Mixed);
        if (m_cnoml) {
            ++m_counts.ii;
            ++m_counts.inoc;
        }
    }
    /// Comment when `hasCodeBefore` is false, mixed otherwise.
    void CommentOrMixed(bool hasCodeBefore) { hasCodeBefore ? Mixed() : Comment(); }

private:
    void Note(LineCategory category) {
        if (m_lines) m_lines->push_back(category);
    }

    FileCounts& m_counts;
    bool m_cnoml;
    std::vector<LineCategory>* m_lines;
};

}  // namespace kordel::engine
