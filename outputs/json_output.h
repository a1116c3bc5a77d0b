// The JSON output: the files and the languages of a run, with plain integers.
#pragma once

#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "outputs/by_language.h"
#include "sources/rows.h"
#include "sources/skipped.h"

namespace kordel::outputs {

/// JSON strings are UTF-8, names are bytes: a text that is not UTF-8 is written with U+FFFD for each
/// stray byte under `key`, and with all its bytes (numbers 0 to 255) under `key`_bytes.
void PutText(nlohmann::ordered_json& object, const std::string& key, const std::string& text);

/// {"project", "files": [...], "languages": [...], "totals", "skipped", "left_out"}: `skipped` holds
/// files that could not be counted, `leftOut` files left out on purpose (too large, duplicates).
/// `skippedNotListed`: skipped files beyond those listed, written as "skipped_not_listed" when not 0.
std::string RunJson(const std::string& project, const std::vector<sources::Row>& rows,
                    const std::vector<LanguageSummary>& languages, const std::vector<sources::Skipped>& skipped,
                    const std::vector<sources::Skipped>& leftOut, std::size_t skippedNotListed = 0);

/// The same document in pieces, for files written as they are counted: the head, each counted file
/// in order (`first` for the first one), and the tail with the number of files and their totals.
std::string RunJsonHead(const std::string& project);
std::string RunJsonFile(const sources::Row& row, bool first);
std::string RunJsonTail(std::size_t files, const engine::FileCounts& totals,
                        const std::vector<LanguageSummary>& languages, const std::vector<sources::Skipped>& skipped,
                        const std::vector<sources::Skipped>& leftOut, std::size_t skippedNotListed = 0);

}  // namespace kordel::outputs
