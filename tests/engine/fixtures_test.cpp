// Accuracy fixtures: every file under tests/data with its expected counts written beside it.
//
// An .expected file holds the counts with every option off, then optional sections such as
// "[cnoml]", "[cblib]" or "[dotf]" (options separated by blanks) with the counts under those
// options. A fixture without a "[cnoml]" or "[cblib]" section must count the same with that option.
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include <gtest/gtest.h>

#include "engine/dispatch.h"
#include "engine/file_counter.h"
#include "engine/path_split.h"
#include "tests/engine/expected_counts.h"

using namespace kordel::engine;
namespace fs = std::filesystem;

namespace {

struct Variant {
    fs::path file;
    std::string options;  ///< "", "cnoml", "cblib", "dotf", or several of them separated by blanks
    FileCounts expected;
    bool complete = false;
};

std::vector<Variant> Variants() {
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(KORDEL_TEST_DATA))
        if (entry.is_regular_file() && entry.path().extension() != ".expected") files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    std::vector<Variant> variants;
    for (const fs::path& file : files) {
        for (const test::ExpectedCounts& e : test::ReadExpected(file))
            variants.push_back({file, e.options, e.counts, e.complete});
    }
    return variants;
}

void PrintTo(const Variant& v, std::ostream* os) { *os << v.file.filename() << " [" << v.options << "]"; }

class Fixture : public ::testing::TestWithParam<Variant> {};

}  // namespace

TEST_P(Fixture, CountsAsExpected) {
    const Variant& v = GetParam();
    ASSERT_TRUE(v.complete) << "missing or incomplete expected counts for " << v.file << " [" << v.options << "]";
    CountOptions options;
    std::istringstream words(v.options);
    for (std::string word; words >> word;) {
        if (word == "cnoml") options.cnoml = true;
        else if (word == "cblib") options.cblib = true;
        else if (word == "dotf") options.dotf = 1;
        else FAIL() << "unknown option " << word;
    }
    const BuiltinLanguage* language = FindBuiltin(PathExtension(v.file.string()), options.dotf);
    ASSERT_NE(language, nullptr);
    auto classifier = language->make(options);
    std::atomic<int> canc{0};
    const FileOutcome outcome = CountFile(v.file, *classifier, options.cnoml, canc);
    ASSERT_EQ(outcome.status, FileStatus::Counted);
    EXPECT_EQ(outcome.counts.ii, v.expected.ii) << "code";
    EXPECT_EQ(outcome.counts.inoc, v.expected.inoc) << "comment";
    EXPECT_EQ(outcome.counts.inoml, v.expected.inoml) << "mixed";
    EXPECT_EQ(outcome.counts.inos, v.expected.inos) << "blank";
    EXPECT_EQ(outcome.counts.nl3, v.expected.nl3) << "lines";
}

INSTANTIATE_TEST_SUITE_P(Data, Fixture, ::testing::ValuesIn(Variants()), [](const auto& info) {
    std::string name = info.param.file.stem().string() + "_" + info.param.file.extension().string().substr(1);
    std::istringstream words(info.param.options);
    for (std::string word; words >> word;) name += "_" + word;
    return name;
});

TEST(FixtureSet, EveryCounterOfTheTableHasAFixture) {
    // A language added to the table brings a fixture for its counter (or shares one that exists).
    std::set<const BuiltinLanguage*> covered;
    for (const Variant& v : Variants()) {
        const std::string options = " " + v.options + " ";
        covered.insert(FindBuiltin(PathExtension(v.file.string()), options.find(" dotf ") != std::string::npos));
    }
    for (const BuiltinExtension& e : BuiltinExtensions())
        EXPECT_TRUE(covered.count(e.language)) << e.language->counter << " (" << e.extension << ")";
}
