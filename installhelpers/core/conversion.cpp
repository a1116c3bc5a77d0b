// Record conversion for the user language database.
#include "installhelpers/core/conversion.h"

#include <algorithm>
#include <cctype>

#include "userlang/udlangdb.h"

namespace kordel::installcore {
namespace {

constexpr std::size_t kEarlierRecord = 6;  // five fields and a separator
constexpr std::size_t kCurrentRecord = userlang::kFieldsPerRecord;

// An extensions line of a record that could ever match a file: extensions are looked up with their dot.
bool IsExtensions(std::string_view line) { return line.find('.') != std::string_view::npos; }

bool IsNumber(std::string_view line) {
    return !line.empty() &&
           std::all_of(line.begin(), line.end(), [](char c) { return std::isdigit(static_cast<unsigned char>(c)); });
}

// The lines of the records: blank lines at the end hold no field that a record would miss, since a
// missing field is empty anyway.
std::vector<std::string_view> RecordLines(std::string_view text) {
    std::vector<std::string_view> lines = SplitLines(text);
    while (!lines.empty() && lines.back().empty()) lines.pop_back();
    return lines;
}

}  // namespace

std::vector<std::string_view> SplitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (end != std::string_view::npos && !line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.push_back(line);
        if (end == std::string_view::npos) break;
        text.remove_prefix(end + 1);
    }
    return lines;
}

bool IsCurrentLayout(std::string_view text) {
    const std::vector<std::string_view> lines = RecordLines(text);
    if (lines.empty()) return false;
    for (std::size_t at = 0; at < lines.size(); at += kCurrentRecord) {
        if (at + 5 >= lines.size() || !IsNumber(lines[at + 3]) || !IsNumber(lines[at + 5])) return false;
    }
    return true;
}

bool IsEarlierLayout(std::string_view text) {
    const std::vector<std::string_view> lines = RecordLines(text);
    bool anyExtensions = false;
    for (std::size_t at = 1; at < lines.size(); at += kEarlierRecord) {
        // A number or a whole-line flag where the extensions should be is a current file out of
        // step (a damaged field): converting it would shift its lines into other fields.
        if (IsNumber(lines[at]) || lines[at] == "No" || lines[at] == "Yes") return false;
        anyExtensions = anyExtensions || IsExtensions(lines[at]);
    }
    return anyExtensions && !IsCurrentLayout(text);
}

std::vector<std::string> RecordsWithoutExtensions(std::string_view text) {
    const std::vector<std::string_view> lines = RecordLines(text);
    std::vector<std::string> names;
    for (std::size_t at = 0; at < lines.size(); at += kEarlierRecord)
        if (at + 1 >= lines.size() || !IsExtensions(lines[at + 1])) names.emplace_back(lines[at]);
    return names;
}

std::string ConvertEarlierRecords(std::string_view text) {
    const std::vector<std::string_view> lines = RecordLines(text);
    std::vector<userlang::UserLanguage> languages;
    for (std::size_t at = 0; at < lines.size(); at += kEarlierRecord) {
        auto field = [&](std::size_t i) { return std::string(at + i < lines.size() ? lines[at + i] : std::string_view()); };
        // The fields the earlier layout lacks keep the record's defaults: columns "0", flag "No".
        userlang::UserLanguage& language = languages.emplace_back();
        language.name = field(0);
        language.extensions = field(1);
        language.olcop = field(2);
        language.mlbcop = field(3);
        language.mlecop = field(4);
    }
    return userlang::FormatUDList(languages);
}

}  // namespace kordel::installcore
