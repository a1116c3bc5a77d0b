// Diff reports as grids of (entry, change) rows, or as one JSON document.
#include "outputs/diff_output.h"

#include "reports/report.h"

#include <nlohmann/json.hpp>

#include "outputs/json_output.h"
#include "outputs/table.h"
#include "sources/text_bytes.h"

namespace kordel::outputs {
namespace {

using engine::LineCategory;
using Json = nlohmann::ordered_json;

constexpr const char* kChangeNames[] = {"same", "modified", "added", "removed"};
constexpr const char* kCategoryNames[] = {"code", "comment", "mixed", "blank"};

const char* NameOf(diff::Change change) { return kChangeNames[static_cast<std::size_t>(change)]; }

// One entry's four rows: per change, the files (for languages and the total) and the four categories.
struct Entry {
    std::string name;
    const diff::DiffCounts* counts;
    const std::array<std::size_t, 4>* files;  // null for a file
};

std::vector<Entry> Entries(const diff::DiffReport& report, bool byFile) {
    std::vector<Entry> entries;
    if (byFile) {
        for (const diff::DiffFile& f : report.files) entries.push_back({f.relative, &f.counts, nullptr});
    } else {
        for (const diff::DiffSum& l : report.languages) entries.push_back({l.language, &l.counts, &l.files});
    }
    entries.push_back({"Total", &report.total.counts, byFile ? nullptr : &report.total.files});
    return entries;
}

std::vector<std::string> Numbers(const Entry& entry, diff::Change change) {
    std::vector<std::string> cells;
    if (entry.files) cells.push_back(std::to_string((*entry.files)[static_cast<std::size_t>(change)]));
    for (LineCategory category : diff::kCategories)
        cells.push_back(std::to_string(entry.counts->Get(category, change)));
    return cells;
}

std::vector<std::string> Header(bool byFile, bool withChange) {
    std::vector<std::string> header{byFile ? "File" : "Language"};
    if (withChange) header.push_back("Change");
    if (!byFile) header.push_back("Files");
    for (const char* name : {"Code", "Comment", "Mixed", "Blank"}) header.push_back(name);
    return header;
}

// Rows of (name, change, numbers...); the name only on an entry's first row unless `repeatName`.
Grid FlatGrid(const std::vector<Entry>& entries, bool byFile, bool repeatName) {
    Grid grid{Header(byFile, true)};
    for (const Entry& entry : entries) {
        for (diff::Change change : diff::kChanges) {
            std::vector<std::string> row{repeatName || change == diff::Change::Same ? entry.name : "", NameOf(change)};
            for (std::string& cell : Numbers(entry, change)) row.push_back(std::move(cell));
            grid.push_back(std::move(row));
        }
    }
    return grid;
}

// For a terminal: the entry's name on a line of its own, its four changes indented below it.
Grid NestedGrid(const std::vector<Entry>& entries, bool byFile) {
    Grid grid{Header(byFile, false)};
    for (const Entry& entry : entries) {
        grid.push_back({entry.name});
        for (diff::Change change : diff::kChanges) {
            std::vector<std::string> row{std::string("  ") + NameOf(change)};
            for (std::string& cell : Numbers(entry, change)) row.push_back(std::move(cell));
            grid.push_back(std::move(row));
        }
    }
    return grid;
}

// "|" escaped, "<", ">" and "&" as entities; a line end or another control byte would break the table.
std::string MarkdownCell(const std::string& text) {
    std::string cell;
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '|' || c == '\\') cell += '\\';
        if (byte < 0x20 || byte == 0x7F) cell += sources::EscapeForTerminal(std::string(1, c));
        else if (const char* entity = MarkdownEntity(c)) cell += entity;  // never HTML once rendered
        else cell += c;
    }
    return cell;
}

std::string DiffMarkdown(const Grid& grid) {
    std::string text;
    for (std::size_t r = 0; r < grid.size(); ++r) {
        text += '|';
        for (const std::string& cell : grid[r]) text += ' ' + MarkdownCell(cell) + " |";
        text += '\n';
        if (r == 0) {
            text += '|';
            // Names and changes left, numbers right.
            for (std::size_t c = 0; c < grid[0].size(); ++c) text += c < 2 ? " --- |" : " ---: |";
            text += '\n';
        }
    }
    return text;
}

Json CountsJson(const Entry& entry) {
    Json object = Json::object();
    if (entry.files) {
        Json files = Json::object();
        for (diff::Change change : diff::kChanges)
            files[NameOf(change)] = (*entry.files)[static_cast<std::size_t>(change)];
        object["files"] = std::move(files);
    }
    for (LineCategory category : diff::kCategories) {
        Json block = Json::object();
        for (diff::Change change : diff::kChanges) block[NameOf(change)] = entry.counts->Get(category, change);
        object[kCategoryNames[static_cast<std::size_t>(category)]] = std::move(block);
    }
    return object;
}

std::string RenderJson(const diff::DiffReport& report, bool byFile) {
    Json languages = Json::array();
    for (const diff::DiffSum& l : report.languages) {
        Json language = Json::object();
        PutText(language, "language", l.language);
        language.update(CountsJson({l.language, &l.counts, &l.files}));
        languages.push_back(std::move(language));
    }
    Json files = Json::array();
    if (byFile) {
        for (const diff::DiffFile& f : report.files) {
            Json file = Json::object();
            PutText(file, "path", f.relative);
            PutText(file, "language", f.language);
            if (!f.oldLanguage.empty()) PutText(file, "old_language", f.oldLanguage);
            file["change"] = NameOf(f.change);
            file.update(CountsJson({f.relative, &f.counts, nullptr}));
            files.push_back(std::move(file));
        }
    }
    Json skipped = Json::array();
    for (const sources::Skipped& s : report.skipped) {
        Json entry = Json::object();
        PutText(entry, "path", s.path);
        entry["reason"] = s.reason;
        skipped.push_back(std::move(entry));
    }
    // "totals", as a plain count names it; "total" is kept for scripts written for 1.7 and goes in 1.9.
    const Json totals = CountsJson({"Total", &report.total.counts, &report.total.files});
    Json doc = {{"languages", std::move(languages)},
                {"files", std::move(files)},
                {"totals", totals},
                {"total", totals},
                {"skipped", std::move(skipped)}};
    return doc.dump(2) + "\n";
}

}  // namespace

std::string RenderDiff(const diff::DiffReport& report, const DiffOutputStyle& style) {
    if (style.format == Format::Json) return RenderJson(report, style.byFile);
    const std::vector<Entry> entries = Entries(report, style.byFile);
    if (style.format == Format::Md) return DiffMarkdown(FlatGrid(entries, style.byFile, false));
    if (style.format == Format::Csv) return RenderCsv(FlatGrid(entries, style.byFile, true));
    if (style.aligned) return RenderAligned(NestedGrid(entries, style.byFile), style.width, style.byFile);
    return RenderTabs(FlatGrid(entries, style.byFile, true));
}

}  // namespace kordel::outputs
