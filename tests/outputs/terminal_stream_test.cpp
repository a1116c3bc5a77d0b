// The console stream buffer: whole UTF-8 characters at every write, nothing lost or doubled.
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "outputs/terminal_stream.h"

namespace kordel::outputs {
namespace {

TEST(TerminalStream, HoldsBackOnlyAnIncompleteLastCharacter) {
    EXPECT_EQ(WholeUtf8Prefix(""), 0u);
    EXPECT_EQ(WholeUtf8Prefix("abc"), 3u);
    EXPECT_EQ(WholeUtf8Prefix("caf\xC3\xA9"), 5u);      // é whole
    EXPECT_EQ(WholeUtf8Prefix("caf\xC3"), 3u);          // é's lead byte alone
    EXPECT_EQ(WholeUtf8Prefix("\xE6\x97\xA5"), 3u);     // 日 whole
    EXPECT_EQ(WholeUtf8Prefix("x\xE6\x97"), 1u);        // 日 without its last byte
    EXPECT_EQ(WholeUtf8Prefix("\xF0\x9F\x8E\x89"), 4u); // an emoji whole
    EXPECT_EQ(WholeUtf8Prefix("\xF0\x9F\x8E"), 0u);
    EXPECT_EQ(WholeUtf8Prefix("a\x80\x80\x80\x80"), 5u);  // stray continuation bytes go as they are
}

TEST(TerminalStream, EveryWriteHoldsWholeCharactersAndAllArrive) {
    const std::string text = "caf\xC3\xA9 \xE6\x97\xA5\xE6\x9C\xAC \xF0\x9F\x8E\x89\n";
    std::vector<std::string> writes;
    {
        TerminalStreamBuf buffer([&](std::string_view piece) {
            writes.emplace_back(piece);
            return true;
        });
        std::ostream out(&buffer);
        // One byte at a time, flushed after each: every split point of every character.
        for (char c : text) out << c << std::flush;
    }
    std::string joined;
    for (const std::string& piece : writes) {
        EXPECT_EQ(WholeUtf8Prefix(piece), piece.size()) << piece;
        joined += piece;
    }
    EXPECT_EQ(joined, text);
}

TEST(TerminalStream, AFailedWriteFailsTheStream) {
    TerminalStreamBuf buffer([](std::string_view) { return false; });
    std::ostream out(&buffer);
    out << "x" << std::flush;
    EXPECT_TRUE(out.bad());
}

}  // namespace
}  // namespace kordel::outputs
