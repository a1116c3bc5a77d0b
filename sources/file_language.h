// A file's language: its name and a classifier with its rules, picked by the file's name.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "engine/classifier.h"
#include "engine/count_run.h"

namespace kordel::sources {

struct FileLanguage {
    std::string name;  ///< "C++", or a user language's own name
    bool user = false;  ///< a user language: its name may repeat a built-in one with other rules
    std::unique_ptr<engine::LineClassifier> classifier;
};

/// The language that counts files named `lookupName` (engine::LookupName: the file's name, or a stand-in
/// for an extension mapped by --map), in the order of engine::LanguageResolver. Nothing when no table
/// knows the name; a "#!" line is not looked at.
std::optional<FileLanguage> LanguageOf(std::string_view lookupName, const engine::CountOptions& options,
                                       const engine::UserLanguageLookup* userLanguages);

}  // namespace kordel::sources
