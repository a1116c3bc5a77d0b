// Writes the run as one JSON document.
#include "outputs/json_output.h"

#include <nlohmann/json.hpp>

#include "sources/text_bytes.h"

namespace kordel::outputs {

void PutText(nlohmann::ordered_json& object, const std::string& key, const std::string& text) {
    if (sources::IsValidUtf8(text)) {
        object[key] = text;
        return;
    }
    object[key] = sources::ReplaceInvalidUtf8(text);
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

Json PathsWithReasons(const std::vector<sources::Skipped>& list) {
    Json array = Json::array();
    for (const sources::Skipped& s : list) {
        Json entry = Json::object();
        PutText(entry, "path", s.path);
        PutText(entry, "reason", s.reason);
        array.push_back(std::move(entry));
    }
    return array;
}

}  // namespace

namespace {

// `text` with `spaces` more blanks before each of its lines (JSON strings hold no raw line ends).
std::string Indented(const std::string& text, std::size_t spaces) {
    const std::string pad(spaces, ' ');
    std::string out = pad;
    for (char c : text) {
        out += c;
        if (c == '\n') out += pad;
    }
    return out;
}

}  // namespace

std::string RunJsonHead(const std::string& project) {
    Json head = Json::object();
    PutText(head, "project", project);
    std::string text = head.dump(2);
    text.resize(text.size() - 2);  // the closing "\n}"
    return text + ",\n  \"files\": [";
}

std::string RunJsonFile(const sources::Row& row, bool first) {
    Json file = Json::object();
    PutText(file, "path", row.path);
    PutText(file, "language", row.language);
    PutCounts(file, row.counts);
    return (first ? "\n" : ",\n") + Indented(file.dump(2), 4);
}

std::string RunJsonTail(std::size_t files, const engine::FileCounts& totals,
                        const std::vector<LanguageSummary>& languages, const std::vector<sources::Skipped>& skipped,
                        const std::vector<sources::Skipped>& leftOut, std::size_t skippedNotListed) {
    Json languageList = Json::array();
    for (const LanguageSummary& sum : languages) {
        Json language = Json::object();
        PutText(language, "language", sum.language);
        language["files"] = sum.files;
        PutCounts(language, sum.counts);
        languageList.push_back(std::move(language));
    }
    Json totalsJson = {{"files", files}};
    PutCounts(totalsJson, totals);
    Json tail = Json::object();
    tail["languages"] = std::move(languageList);
    tail["totals"] = std::move(totalsJson);
    tail["skipped"] = PathsWithReasons(skipped);
    if (skippedNotListed > 0) tail["skipped_not_listed"] = skippedNotListed;
    tail["left_out"] = PathsWithReasons(leftOut);
    // The tail's members, as they stand inside the whole document.
    const std::string members = tail.dump(2);
    return (files == 0 ? "]," : "\n  ],") + members.substr(1) + "\n";
}

std::string RunJson(const std::string& project, const std::vector<sources::Row>& rows,
                    const std::vector<LanguageSummary>& languages, const std::vector<sources::Skipped>& skipped,
                    const std::vector<sources::Skipped>& leftOut, std::size_t skippedNotListed) {
    std::string text = RunJsonHead(project);
    engine::FileCounts totals;
    std::size_t count = 0;
    for (const sources::Row& row : rows) {
        if (!row.counted) continue;
        text += RunJsonFile(row, count == 0);
        ++count;
        totals.ii += row.counts.ii;
        totals.inoc += row.counts.inoc;
        totals.inoml += row.counts.inoml;
        totals.inos += row.counts.inos;
        totals.nl3 += row.counts.nl3;
    }
    return text + RunJsonTail(count, totals, languages, skipped, leftOut, skippedNotListed);
}

}  // namespace kordel::outputs
