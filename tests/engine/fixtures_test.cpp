// Accuracy fixtures: every file under tests/data with its expected counts written beside it.
#include <filesystem>
#include <fstream>
#include <map>

#include <gtest/gtest.h>

#include "engine/dispatch.h"
#include "engine/file_counter.h"
#include "engine/path_split.h"

using namespace kordel::engine;
namespace fs = std::filesystem;

namespace {

std::vector<fs::path> Fixtures() {
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(KORDEL_TEST_DATA))
        if (entry.path().extension() != ".expected") files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

class Fixture : public ::testing::TestWithParam<fs::path> {};

}  // namespace

TEST_P(Fixture, CountsAsExpected) {
    const fs::path& file = GetParam();
    std::map<std::string, std::int64_t> expected;
    std::ifstream in(file.string() + ".expected");
    std::string key;
    std::int64_t value;
    while (in >> key >> value) expected[key] = value;
    ASSERT_EQ(expected.size(), 5u) << "missing expected counts for " << file;
    const BuiltinLanguage* language = FindBuiltin(PathExtension(file.string()), 0);
    ASSERT_NE(language, nullptr);
    auto classifier = language->make(CountOptions{});
    std::atomic<int> canc{0};
    const FileOutcome outcome = CountFile(file, *classifier, false, canc);
    ASSERT_EQ(outcome.status, FileStatus::Counted);
    EXPECT_EQ(outcome.counts.ii, expected["code"]);
    EXPECT_EQ(outcome.counts.inoc, expected["comment"]);
    EXPECT_EQ(outcome.counts.inoml, expected["mixed"]);
    EXPECT_EQ(outcome.counts.inos, expected["blank"]);
    EXPECT_EQ(outcome.counts.nl3, expected["lines"]);
}

INSTANTIATE_TEST_SUITE_P(Data, Fixture, ::testing::ValuesIn(Fixtures()),
                         [](const auto& info) { return info.param.stem().string() + "_" + info.param.extension().string().substr(1); });
