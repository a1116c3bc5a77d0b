// Counting from memory: the same counts as the file frame, every line's category in order, the lines as read.
#include <algorithm>
#include <filesystem>

#include <gtest/gtest.h>

#include "engine/dispatch.h"
#include "engine/file_counter.h"
#include "engine/line_categories.h"
#include "engine/path_split.h"
#include "tests/support/files.h"

using namespace kordel::engine;
namespace fs = std::filesystem;

namespace {

FileCounts Sum(const std::vector<LineCategory>& categories) {
    FileCounts sum;
    for (LineCategory c : categories) {
        switch (c) {
            case LineCategory::Code: ++sum.ii; break;
            case LineCategory::Comment: ++sum.inoc; break;
            case LineCategory::Mixed: ++sum.inoml; break;
            case LineCategory::Blank: ++sum.inos; break;
        }
        ++sum.nl3;
    }
    return sum;
}

void ExpectSame(const FileCounts& a, const FileCounts& b, const std::string& what) {
    EXPECT_EQ(a.ii, b.ii) << what;
    EXPECT_EQ(a.inoc, b.inoc) << what;
    EXPECT_EQ(a.inoml, b.inoml) << what;
    EXPECT_EQ(a.inos, b.inos) << what;
    EXPECT_EQ(a.nl3, b.nl3) << what;
}

}  // namespace

// Every accuracy fixture under every option: the buffer count equals the file count, and the
// categories noted add up to the counts.
TEST(CountBuffer, MatchesTheFileFrameOnEveryFixture) {
    int files = 0;
    for (const auto& entry : fs::directory_iterator(KORDEL_TEST_DATA)) {
        if (!entry.is_regular_file() || entry.path().extension() == ".expected") continue;
        ++files;
        const std::string bytes = test_support::ReadBytes(entry.path());
        for (int variant = 0; variant < 8; ++variant) {
            CountOptions options;
            options.cnoml = variant & 1;
            options.cblib = variant & 2;
            options.dotf = (variant & 4) ? 1 : 0;
            const BuiltinLanguage* language = FindBuiltin(PathExtension(entry.path().string()), options.dotf);
            ASSERT_NE(language, nullptr) << entry.path();
            const std::string what = entry.path().filename().string() + " variant " + std::to_string(variant);
            std::atomic<int> canc{0};
            auto fileClassifier = language->make(options);
            const FileOutcome fromFile = CountFile(entry.path(), *fileClassifier, options.cnoml, canc);
            ASSERT_EQ(fromFile.status, FileStatus::Counted);
            auto classifier = language->make(options);
            BufferLines lines;
            ExpectSame(CountBuffer(bytes, *classifier, options.cnoml, &lines), fromFile.counts, what);
            ExpectSame(CountBuffer(bytes, *classifier, options.cnoml), fromFile.counts, what + " without lines");
            if (!options.cnoml) ExpectSame(Sum(lines.categories), fromFile.counts, what);
            EXPECT_EQ(std::count(lines.text.begin(), lines.text.end(), '\n'), fromFile.counts.nl3) << what;
        }
    }
    EXPECT_GT(files, 20);
}

// Bytes handed out a few at a time (1 to 17 bytes, in turn): lines, CR LF pairs and comment signals
// fall across the pieces.
class SmallPieces final : public ByteSource {
public:
    explicit SmallPieces(std::string_view data) : m_data(data) {}
    std::ptrdiff_t Read(char* buffer, std::size_t n) override {
        const std::size_t take = std::min({n, m_data.size(), m_next});
        m_next = m_next % 17 + 1;
        std::copy_n(m_data.data(), take, buffer);
        m_data.remove_prefix(take);
        return static_cast<std::ptrdiff_t>(take);
    }

private:
    std::string_view m_data;
    std::size_t m_next = 1;
};

// A reader over a source in small pieces counts every fixture as the buffer does: the same counts,
// categories and lines.
TEST(CountReader, PiecesOfASourceCountAsTheWholeBuffer) {
    for (const auto& entry : fs::directory_iterator(KORDEL_TEST_DATA)) {
        if (!entry.is_regular_file() || entry.path().extension() == ".expected") continue;
        const std::string bytes = test_support::ReadBytes(entry.path());
        for (const bool cnoml : {false, true}) {
            CountOptions options;
            options.cnoml = cnoml;
            const BuiltinLanguage* language = FindBuiltin(PathExtension(entry.path().string()), 0);
            ASSERT_NE(language, nullptr) << entry.path();
            const std::string what = entry.path().filename().string() + (cnoml ? " cnoml" : "");
            auto classifier = language->make(options);
            BufferLines whole, pieces;
            const FileCounts expected = CountBuffer(bytes, *classifier, cnoml, &whole);
            for (const bool withLines : {true, false}) {
                SmallPieces source(bytes);
                TextModeReader reader;
                reader.OpenSource(source);
                ExpectSame(CountReader(reader, *classifier, cnoml, withLines ? &pieces : nullptr), expected, what);
            }
            EXPECT_EQ(pieces.text, whole.text) << what;
            EXPECT_EQ(pieces.categories, whole.categories) << what;
        }
    }
}

// The reader's text mode shapes the lines: CR LF reads as LF, a lone CR stays inside its line, a
// Ctrl-Z ends the data, a line of 4095 characters and more is read in pieces, and a missing last
// line break is supplied; a block comment's state carries from line to line.
TEST(CountBuffer, CategoriesFollowTheLinesAsRead) {
    auto classifier = FindBuiltin(".c", 0)->make(CountOptions{});
    const std::string longLine(4100, 'x');
    const std::string data = "/* a\r\n b */ y;\r\nx = 1; // c\n\nq\rr\n" + longLine + "\n\x1Aignored\n";
    BufferLines lines;
    const FileCounts counts = CountBuffer(data, *classifier, false, &lines);
    using C = LineCategory;
    EXPECT_EQ(lines.categories, (std::vector<C>{C::Comment, C::Mixed, C::Mixed, C::Blank, C::Code, C::Code, C::Code}));
    EXPECT_EQ(lines.text, "/* a\n b */ y;\nx = 1; // c\n\nq\rr\n" + longLine.substr(0, 4095) + "\nxxxxx\n");
    EXPECT_EQ(counts.nl3, 7);

    BufferLines noBreak;
    CountBuffer("int a;", *classifier, false, &noBreak);
    EXPECT_EQ(noBreak.text, "int a;\n");
    BufferLines empty;
    EXPECT_EQ(CountBuffer("", *classifier, false, &empty).nl3, 0);
    EXPECT_TRUE(empty.text.empty());
}
