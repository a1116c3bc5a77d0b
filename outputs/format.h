// The output formats of kordelc, named once on the command line and compared as values afterwards.
#pragma once

#include <string_view>

namespace kordel::outputs {

enum class Format { Table, Json, Md, Txt, Csv, Html, Svg };

/// The format `-f` names ("table", "json", "md", "txt", "csv", "html", "svg"); the command line
/// accepts no other name, and anything else is the table.
constexpr Format FormatFromName(std::string_view name) {
    if (name == "json") return Format::Json;
    if (name == "md") return Format::Md;
    if (name == "txt") return Format::Txt;
    if (name == "csv") return Format::Csv;
    if (name == "html") return Format::Html;
    if (name == "svg") return Format::Svg;
    return Format::Table;
}

}  // namespace kordel::outputs
