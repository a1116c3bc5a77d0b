// Writes the run as JSON documents.
#include "cli/json_output.h"

#include <nlohmann/json.hpp>

namespace kordel::cli {
namespace {

using Json = nlohmann::ordered_json;

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
    for (const Skipped& s : skipped) skippedJson.push_back({{"path", s.path}, {"reason", s.reason}});
    Json doc = {{"project", project}, {listName, std::move(list)}, {"totals", totalsJson}, {"skipped", skippedJson}};
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
        Json file = {{"path", row.path}, {"language", row.language}};
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
        Json language = {{"language", sum.language}, {"files", sum.files}};
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
