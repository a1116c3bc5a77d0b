// A file's language: its name and a classifier with its rules, picked by the extension.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "engine/classifier.h"
#include "engine/count_run.h"

namespace kordel::cli {

struct FileLanguage {
    std::string name;  ///< "C++", or a user language's own name
    bool user = false;  ///< a user language: its name may repeat a built-in one with other rules
    std::unique_ptr<engine::LineClassifier> classifier;
};

/// The language that counts files of `extension` (already mapped by --map): the built-in table first,
/// then the user languages. Nothing when no language claims it.
std::optional<FileLanguage> LanguageOf(std::string_view extension, const engine::CountOptions& options,
                                       const engine::UserLanguageLookup* userLanguages);

}  // namespace kordel::cli
