// Writes the run as JSON documents.
#include "cli/json_output.h"

#include <nlohmann/json.hpp>

#include "cli/text_bytes.h"

namespace kordel::cli {
namespace {

using Json = nlohmann::ordered_json;

// JSON strings are UTF-8, names are bytes: a text that is not UTF-8 is written with U+FFFD for each
// stray byte under `key`, and with all its bytes (numbers 0 to 255) under `key`_bytes.
void PutText(Json& object, const std::string& key, const std::string& text) {
    if (IsValidUtf8(text)) {
        object[key] = text;
        return;
    }
    object[key] = ReplaceInvalidUtf8(text);
    Json bytes = Json::array();
    for (char c : text) bytes.push_back(static_cast<unsigned char>(c));
    object[key + "_bytes"] = std::move(bytes);
}

void PutCounts(Json& object, const engine::FileCounts& c) {
    object["code"] = c.ii;
    object["comment"] = c.inoc;
    object["mixed"] = c.inoml;
    object["blank"] = c.inos;
    object["lines"] = c.nl3;
}

std::string Document(const std::string& project, const char* listName, Json list, std::size_t files,
                     const engine::FileCounts& totals, const std::vector<Skipped>& skipped) {
    Json totalsJson = {{"files", files}};
    PutCounts(totalsJson, totals);
    Json skippedJson = Json::array();
    for (const Skipped& s : skipped) {
        Json entry = Json::object();
        PutText(entry, "path", s.path);
        entry["reason"] = s.reason;
        skippedJson.push_back(std::move(entry));
    }
    Json doc = Json::object();
    PutText(doc, "project", project);
    doc[listName] = std::move(list);
    doc["totals"] = std::move(totalsJson);
    doc["skipped"] = std::move(skippedJson);
    return doc.dump(2) + "\n";
}

}  // namespace

std::string FilesJson(const std::string& project, const std::vector<Row>& rows, const engine::RunTotals& totals,
                      const std::vector<Skipped>& skipped) {
    Json files = Json::array();
    std::size_t count = 0;
    for (const Row& row : rows) {
        if (!row.counted) continue;
        ++count;
        Json file = Json::object();
        PutText(file, "path", row.path);
        PutText(file, "language", row.language);
        PutCounts(file, row.counts);
        files.push_back(std::move(file));
    }
    return Document(project, "files", std::move(files), count,
                    {totals.ncl, totals.ncol, totals.nml, totals.ncbl, totals.ntl}, skipped);
}

std::string LanguagesJson(const std::string& project, const std::vector<LanguageSummary>& summaries,
                          const std::vector<Skipped>& skipped) {
    Json languages = Json::array();
    std::size_t files = 0;
    engine::FileCounts totals;
    for (const LanguageSummary& sum : summaries) {
        Json language = Json::object();
        PutText(language, "language", sum.language);
        language["files"] = sum.files;
        PutCounts(language, sum.counts);
        languages.push_back(std::move(language));
        files += sum.files;
        totals.ii += sum.counts.ii;
        totals.inoc += sum.counts.inoc;
        totals.inoml += sum.counts.inoml;
        totals.inos += sum.counts.inos;
        totals.nl3 += sum.counts.nl3;
    }
    return Document(project, "languages", std::move(languages), files, totals, skipped);
}

}  // namespace kordel::cli
