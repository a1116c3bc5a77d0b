// The language dispatch table: extension to built-in counter.
#pragma once

#include <memory>
#include <span>
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

/// One extension of the built-in table (`builtin_languages.inc`): the language's own name, as kordelc
/// names it, and the counter that counts it.
struct BuiltinExtension {
    std::string_view extension;  ///< ".cpp"
    std::string_view name;       ///< "C++"
    const BuiltinLanguage* language;
};

/// Every extension of the built-in table in the order they are tested; ".f" stands twice, under
/// Forth and under Fortran 77.
std::span<const BuiltinExtension> BuiltinExtensions();

/// The built-in language for an extension (case-insensitive, dot included), or nullptr.
const BuiltinLanguage* FindBuiltin(std::string_view extension, int dotf);

/// Every extension of the table, for folder walks.
bool IsBuiltinExtension(std::string_view extension, int dotf);

}  // namespace kordel::engine
