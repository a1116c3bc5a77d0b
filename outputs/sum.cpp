// Shards are read whole (a shard of a million files is some hundred megabytes of JSON), checked, and
// their files fed to the same output as a run's counted rows.
#include "outputs/sum.h"

#include <sstream>

#include <nlohmann/json.hpp>

#include "platform/files.h"

namespace kordel::outputs {
namespace {

using Json = nlohmann::json;

// A text written with PutText: its exact bytes from `key`_bytes when the text was not UTF-8.
std::string TextOf(const Json& object, const std::string& key) {
    const auto bytes = object.find(key + "_bytes");
    if (bytes != object.end() && bytes->is_array()) {
        std::string text;
        for (const Json& b : *bytes) text += static_cast<char>(b.get<int>());
        return text;
    }
    return object.at(key).get<std::string>();
}

std::int64_t Count(const Json& object, const char* key) {
    const std::int64_t value = object.at(key).get<std::int64_t>();
    if (value < 0) throw std::invalid_argument(std::string("a negative count of ") + key);
    return value;
}

engine::FileCounts CountsOf(const Json& object) {
    return {Count(object, "code"), Count(object, "comment"), Count(object, "mixed"), Count(object, "blank"),
            Count(object, "lines")};
}

bool ReadShard(const std::string& name, std::istream& in, std::string& text, std::string& error) {
    if (name == "-") {
        std::ostringstream all;
        all << in.rdbuf();
        text = all.str();
        return true;
    }
    platform::InputFile file;
    if (file.OpenFileOrPipe(name) != platform::InputFile::Status::Opened) {
        error = "Could not open \"" + name + "\" for reading.";
        return false;
    }
    char buffer[64 * 1024];
    for (;;) {
        const std::ptrdiff_t got = file.Read(buffer, sizeof buffer);
        if (got < 0) {
            error = "Could not read \"" + name + "\": " + platform::LastFileErrorText();
            return false;
        }
        if (got == 0) return true;
        text.append(buffer, static_cast<std::size_t>(got));
    }
}

std::vector<sources::Skipped> PathsWithReasons(const Json& list) {
    std::vector<sources::Skipped> entries;
    for (const Json& entry : list) entries.push_back({TextOf(entry, "path"), TextOf(entry, "reason")});
    return entries;
}

}  // namespace

bool AddShard(const std::string& text, const std::string& name, Shards& shards, std::string& error) {
    const Json doc = Json::parse(text, nullptr, false);
    const auto refuse = [&](const std::string& why) {
        error = "\"" + name + "\" is not the JSON of a kordelc count: " + why;
        return false;
    };
    if (doc.is_discarded()) return refuse("it is no JSON");
    if (!doc.is_object() || !doc.contains("files") || !doc["files"].is_array() || !doc.contains("totals"))
        return refuse("it has no \"files\" and \"totals\" (a --diff output cannot be summed)");
    try {
        std::vector<sources::Row> rows;
        engine::FileCounts sum;
        for (const Json& file : doc["files"]) {
            sources::Row row{TextOf(file, "path"), true, CountsOf(file), TextOf(file, "language")};
            sum = {sum.ii + row.counts.ii, sum.inoc + row.counts.inoc, sum.inoml + row.counts.inoml,
                   sum.inos + row.counts.inos, sum.nl3 + row.counts.nl3};
            rows.push_back(std::move(row));
        }
        const Json& totals = doc["totals"];
        const engine::FileCounts stated = CountsOf(totals);
        if (totals.at("files").get<std::size_t>() != rows.size() || stated.ii != sum.ii || stated.inoc != sum.inoc ||
            stated.inoml != sum.inoml || stated.inos != sum.inos || stated.nl3 != sum.nl3)
            return refuse("its totals are not the sum of its files");
        if (shards.project.empty() && doc.contains("project")) shards.project = TextOf(doc, "project");
        for (sources::Row& row : rows) shards.rows.push_back(std::move(row));
        if (doc.contains("skipped")) {
            for (sources::Skipped& s : PathsWithReasons(doc["skipped"])) shards.skipped.push_back(std::move(s));
        }
        if (doc.contains("left_out")) {
            for (sources::Skipped& s : PathsWithReasons(doc["left_out"])) shards.leftOut.push_back(std::move(s));
        }
    } catch (const std::exception& e) {
        return refuse(e.what());
    }
    return true;
}

bool ReadShards(const std::vector<std::string>& names, std::istream& in, Shards& shards, std::string& error) {
    for (const std::string& name : names) {
        std::string text;
        if (!ReadShard(name, in, text, error) || !AddShard(text, name, shards, error)) return false;
    }
    return true;
}

}  // namespace kordel::outputs
