// The language dispatch table: extension to built-in counter.
#pragma once

#include <memory>
#include <string_view>

#include "engine/classifier.h"
#include "engine/results.h"

namespace kordel::engine {

/// A built-in language: its counter's name, the language name and how to make its classifier.
struct BuiltinLanguage {
    std::string_view counter;  ///< e.g. "CountLinesCJAVA"
    std::string_view language;
    std::unique_ptr<LineClassifier> (*make)(const CountOptions&);
};

/// The built-in language for an extension (case-insensitive, dot included), or nullptr.
const BuiltinLanguage* FindBuiltin(std::string_view extension, int dotf);

/// Every extension of the table, for folder walks.
bool IsBuiltinExtension(std::string_view extension, int dotf);

}  // namespace kordel::engine
