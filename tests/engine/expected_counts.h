// The counts a fixture's ".expected" file gives: every option off, then "[cnoml]", "[cblib]" or other
// sections (options separated by blanks). An option without a section must not change the counts.
#pragma once

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "engine/results.h"

namespace kordel::engine::test {

struct ExpectedCounts {
    std::string options;  ///< "", "cnoml", "cblib", "dotf", or several separated by blanks
    FileCounts counts;
    bool complete = false;  ///< all five counts were read
};

inline bool ReadCounts(std::istream& in, FileCounts& counts) {
    std::string key;
    std::int64_t value;
    int seen = 0;
    for (int i = 0; i < 5 && in >> key >> value; ++i) {
        if (key == "code") counts.ii = value, seen |= 1;
        else if (key == "comment") counts.inoc = value, seen |= 2;
        else if (key == "mixed") counts.inoml = value, seen |= 4;
        else if (key == "blank") counts.inos = value, seen |= 8;
        else if (key == "lines") counts.nl3 = value, seen |= 16;
    }
    return seen == 31;
}

/// Every section of `fixture`'s ".expected" file, with the unlisted "cnoml" and "cblib" added.
inline std::vector<ExpectedCounts> ReadExpected(const std::filesystem::path& fixture) {
    std::ifstream in(fixture.string() + ".expected");
    std::vector<ExpectedCounts> sections(1);
    sections[0].complete = ReadCounts(in, sections[0].counts);
    bool listed[2] = {false, false};
    std::string header;
    while (std::getline(in, header)) {
        if (header.empty()) continue;
        ExpectedCounts section{header.size() > 1 ? header.substr(1, header.size() - 2) : header, {}, false};
        section.complete = header.front() == '[' && header.back() == ']' && ReadCounts(in, section.counts);
        listed[0] |= section.options == "cnoml";
        listed[1] |= section.options == "cblib";
        sections.push_back(section);
    }
    const ExpectedCounts base = sections[0];
    if (!listed[0]) sections.push_back({"cnoml", base.counts, base.complete});
    if (!listed[1]) sections.push_back({"cblib", base.counts, base.complete});
    return sections;
}

}  // namespace kordel::engine::test
