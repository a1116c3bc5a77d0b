// Fixtures of the table of further languages: tests/data/known/<row name>/ holds files of that row's
// language, each with its expected counts beside it (as under tests/data, sections [cnoml] and [cblib]
// included). Every row has a folder, every fixture is recognised as its folder's row, and counts as written.
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include <gtest/gtest.h>

#include "engine/file_counter.h"
#include "engine/known_languages.h"
#include "engine/language_resolver.h"
#include "engine/path_split.h"
#include "tests/engine/expected_counts.h"

using namespace kordel::engine;
namespace fs = std::filesystem;

namespace {

const fs::path kKnown = fs::path(KORDEL_TEST_DATA) / "known";

struct Variant {
    std::string row;  ///< the folder's name
    fs::path file;
    std::string options;  ///< "", "cnoml", "cblib" or both
    FileCounts expected;
    bool complete = false;
};

// The fixture files of each folder, by folder name.
std::map<std::string, std::vector<fs::path>> FixtureFolders() {
    std::map<std::string, std::vector<fs::path>> folders;
    std::error_code ec;
    if (!fs::is_directory(kKnown, ec)) return folders;
    for (const auto& folder : fs::directory_iterator(kKnown)) {
        if (!folder.is_directory()) continue;
        std::vector<fs::path>& files = folders[folder.path().filename().string()];
        for (const auto& entry : fs::directory_iterator(folder.path()))
            if (entry.is_regular_file() && entry.path().extension() != ".expected") files.push_back(entry.path());
        std::sort(files.begin(), files.end());
    }
    return folders;
}

std::vector<Variant> Variants() {
    std::vector<Variant> variants;
    for (const auto& [row, files] : FixtureFolders()) {
        for (const fs::path& file : files) {
            for (const test::ExpectedCounts& e : test::ReadExpected(file))
                variants.push_back({row, file, e.options, e.counts, e.complete});
        }
    }
    return variants;
}

std::string FirstBytes(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::string bytes(512, '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    return bytes;
}

void PrintTo(const Variant& v, std::ostream* os) { *os << v.row << "/" << v.file.filename() << " [" << v.options << "]"; }

class KnownFixture : public ::testing::TestWithParam<Variant> {};

}  // namespace

TEST_P(KnownFixture, IsRecognisedAndCountsAsExpected) {
    const Variant& v = GetParam();
    ASSERT_TRUE(v.complete) << "missing or incomplete expected counts for " << v.file << " [" << v.options << "]";
    CountOptions options;
    options.knownLanguages = true;
    std::istringstream words(v.options);
    for (std::string word; words >> word;) {
        if (word == "cnoml") options.cnoml = true;
        else if (word == "cblib") options.cblib = true;
        else FAIL() << "unknown option " << word;
    }
    // Recognised as a kordelc run recognises it: by name, else by the #! line of the bytes read first.
    const LanguageResolver resolver(options, nullptr);
    const std::string path = v.file.string();
    std::optional<ChosenLanguage> chosen = resolver.ByName(path, PathExtension(path));
    std::atomic<int> canc{0};
    const FileOutcome outcome = CountFile(
        v.file,
        [&](std::string_view firstBytes) -> LineClassifier* {
            if (!chosen) chosen = resolver.ByInterpreterLine(firstBytes);
            return chosen ? chosen->classifier.get() : nullptr;
        },
        options.cnoml, canc);
    ASSERT_TRUE(chosen) << "no language recognises " << v.file.filename() << " (first line: "
                        << FirstBytes(v.file).substr(0, FirstBytes(v.file).find('\n')) << ")";
    ASSERT_EQ(chosen->source, LanguageSource::Known) << "counted by the built-in table";
    ASSERT_EQ(chosen->name, v.row);
    ASSERT_EQ(outcome.status, FileStatus::Counted);
    EXPECT_EQ(outcome.counts.ii, v.expected.ii) << "code";
    EXPECT_EQ(outcome.counts.inoc, v.expected.inoc) << "comment";
    EXPECT_EQ(outcome.counts.inoml, v.expected.inoml) << "mixed";
    EXPECT_EQ(outcome.counts.inos, v.expected.inos) << "blank";
    EXPECT_EQ(outcome.counts.nl3, v.expected.nl3) << "lines";
}

// Test names hold letters, digits and underscores only; the index keeps "C++" and "C#" apart.
INSTANTIATE_TEST_SUITE_P(Known, KnownFixture, ::testing::ValuesIn(Variants()), [](const auto& info) {
    std::string name = info.param.row + "_" + info.param.file.filename().string() + "_" + info.param.options;
    for (char& c : name)
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
    return name + "_" + std::to_string(info.index);
});
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(KnownFixture);

TEST(KnownFixtureSet, EveryRowHasAFolderWithAFixtureAndEveryFolderARow) {
    const auto folders = FixtureFolders();
    std::set<std::string, std::less<>> rows;
    for (const LanguageRow& row : KnownLanguages()) {
        rows.insert(std::string(row.name));
        const auto it = folders.find(std::string(row.name));
        EXPECT_TRUE(it != folders.end() && !it->second.empty()) << "no fixture under tests/data/known/" << row.name;
    }
    for (const auto& [name, files] : folders) EXPECT_TRUE(rows.contains(name)) << "no row named " << name;
}
