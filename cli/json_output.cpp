// Writes the run as one JSON document.
#include "cli/json_output.h"

#include <nlohmann/json.hpp>

#include "cli/text_bytes.h"

namespace kordel::cli {

void PutText(nlohmann::ordered_json& object, const std::string& key, const std::string& text) {
    if (IsValidUtf8(text)) {
        object[key] = text;
        return;
    }
    object[key] = ReplaceInvalidUtf8(text);
    nlohmann::ordered_json bytes = nlohmann::ordered_json::array();
    for (char c : text) bytes.push_back(static_cast<unsigned char>(c));
    object[key + "_bytes"] = std::move(bytes);
}

namespace {

using Json = nlohmann::ordered_json;

void PutCounts(Json& object, const engine::FileCounts& c) {
    object["code"] = c.ii;
    object["comment"] = c.inoc;
    object["mixed"] = c.inoml;
    object["blank"] = c.inos;
    object["lines"] = c.nl3;
}

Json PathsWithReasons(const std::vector<Skipped>& list) {
    Json array = Json::array();
    for (const Skipped& s : list) {
        Json entry = Json::object();
        PutText(entry, "path", s.path);
        PutText(entry, "reason", s.reason);
        array.push_back(std::move(entry));
    }
    return array;
}

}  // namespace

std::string RunJson(const std::string& project, const std::vector<Row>& rows,
                    const std::vector<LanguageSummary>& languages, const std::vector<Skipped>& skipped,
                    const std::vector<Skipped>& leftOut) {
    Json files = Json::array();
    engine::FileCounts totals;
    std::size_t count = 0;
    for (const Row& row : rows) {
        if (!row.counted) continue;
        ++count;
        Json file = Json::object();
        PutText(file, "path", row.path);
        PutText(file, "language", row.language);
        PutCounts(file, row.counts);
        files.push_back(std::move(file));
        totals.ii += row.counts.ii;
        totals.inoc += row.counts.inoc;
        totals.inoml += row.counts.inoml;
        totals.inos += row.counts.inos;
        totals.nl3 += row.counts.nl3;
    }
    Json languageList = Json::array();
    for (const LanguageSummary& sum : languages) {
        Json language = Json::object();
        PutText(language, "language", sum.language);
        language["files"] = sum.files;
        PutCounts(language, sum.counts);
        languageList.push_back(std::move(language));
    }
    Json totalsJson = {{"files", count}};
    PutCounts(totalsJson, totals);
    Json doc = Json::object();
    PutText(doc, "project", project);
    doc["files"] = std::move(files);
    doc["languages"] = std::move(languageList);
    doc["totals"] = std::move(totalsJson);
    doc["skipped"] = PathsWithReasons(skipped);
    doc["left_out"] = PathsWithReasons(leftOut);
    return doc.dump(2) + "\n";
}

}  // namespace kordel::cli
