// The settings store's number rule, the ini file's bytes and the options written through it.
#include <filesystem>

#include <gtest/gtest.h>

#include "ui/core/options.h"
#include "ui/core/settings_store.h"
#include "tests/support/faulty_file_ops.h"
#include "tests/support/files.h"

using namespace kordel::ui;
using namespace test_support;
namespace fs = std::filesystem;

namespace {

}  // namespace

TEST(SettingNumber, ReadsLeadingDigitsOnly) {
    struct Case {
        const char* text;
        unsigned long number;
        int flag;
    };
    for (const Case& c : {Case{"1", 1, 1}, Case{"1x", 1, 1}, Case{"  1", 1, 1}, Case{"12", 12, 0}, Case{"2", 2, 0},
                          Case{"x1", 0, 0}, Case{"", 0, 0}, Case{"0", 0, 0}, Case{"-1", 0, 0},
                          Case{"99999999999999999999999999", ~0UL, 0}}) {
        EXPECT_EQ(ReadSettingNumber(c.text), c.number) << c.text;
        MemorySettingsStore store;
        store.Write("sps", c.text);
        EXPECT_EQ(ReadFlag(store, "sps"), c.flag) << c.text;
    }
    MemorySettingsStore empty;
    EXPECT_EQ(ReadFlag(empty, "sps"), 0);
}

TEST(IniSettings, WritesOneLinePerSettingWithCrLfAndReadsThemBack) {
    const TempDir temp("settings-ini");
    const fs::path dir = temp.path();
    IniSettingsStore store(dir / "sub" / "kordel.ini");
    EXPECT_FALSE(store.Read("sps"));
    ASSERT_TRUE(WriteNumber(store, "sps", 1));
    ASSERT_TRUE(store.Write("lsp", "/home/u/my list.kpl"));
    ASSERT_TRUE(WriteNumber(store, "dotf", 0));
    EXPECT_EQ(ReadBytes(store.path()), "[Kordel]\r\ndotf=0\r\nlsp=/home/u/my list.kpl\r\nsps=1\r\n");
    IniSettingsStore again(store.path());
    EXPECT_EQ(ReadFlag(again, "sps"), 1);
    EXPECT_EQ(again.Read("lsp").value_or(""), "/home/u/my list.kpl");
    // A value with a line break would break the layout: refused, the file is unchanged.
    EXPECT_FALSE(store.Write("lsp", "a\nb"));
    EXPECT_EQ(again.Read("lsp").value_or(""), "/home/u/my list.kpl");
}

TEST(IniSettings, FailedWriteKeepsTheOldFile) {
    const TempDir temp("settings-fail");
    const fs::path dir = temp.path();
    IniSettingsStore good(dir / "kordel.ini");
    ASSERT_TRUE(WriteNumber(good, "sps", 1));
    const std::string before = ReadBytes(good.path());
    FaultyFileOps failing(FailAt::Write, 1);
    IniSettingsStore bad(dir / "kordel.ini", failing);
    EXPECT_FALSE(WriteNumber(bad, "sps", 0));
    EXPECT_EQ(ReadBytes(good.path()), before);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);  // no temporary left
}

// The real reader behind a switch that makes the file unreadable, counting the reads it is asked for.
struct SwitchableReader {
    bool readable = true;
    int reads = 0;
    SettingsFileReader Reader() {
        return [this](const fs::path& path) -> std::optional<std::string> {
            ++reads;
            return readable ? ReadSettingsFile(path) : std::nullopt;
        };
    }
};

TEST(IniSettings, AWriteNeverReplacesAFileItCouldNotRead) {
    const TempDir temp("settings-unreadable");
    const fs::path dir = temp.path();
    {
        IniSettingsStore first(dir / "kordel.ini");
        ASSERT_TRUE(WriteNumber(first, "sps", 1));
        ASSERT_TRUE(first.Write("lsp", "/home/u/list.kpl"));
    }
    const std::string before = ReadBytes(dir / "kordel.ini");
    SwitchableReader reader;
    reader.readable = false;
    IniSettingsStore store(dir / "kordel.ini", kordel::RealFileOps(), reader.Reader());
    EXPECT_FALSE(store.Read("sps"));  // unreadable settings count as missing
    EXPECT_FALSE(WriteNumber(store, "dotf", 1));
    EXPECT_EQ(ReadBytes(dir / "kordel.ini"), before);
    // Once the file can be read again, a write keeps everything in it.
    reader.readable = true;
    EXPECT_TRUE(WriteNumber(store, "dotf", 1));
    EXPECT_EQ(ReadBytes(dir / "kordel.ini"), "[Kordel]\r\ndotf=1\r\nlsp=/home/u/list.kpl\r\nsps=1\r\n");
    // A folder in the file's place cannot be read either.
    fs::create_directories(dir / "folder.ini");
    IniSettingsStore folder(dir / "folder.ini");
    EXPECT_FALSE(WriteNumber(folder, "sps", 1));
    EXPECT_TRUE(fs::is_directory(dir / "folder.ini"));
}

TEST(IniSettings, TheFileIsParsedOnceAndWritesKeepTheValuesInMemory) {
    const TempDir temp("settings-once");
    const fs::path dir = temp.path();
    {
        IniSettingsStore first(dir / "kordel.ini");
        ASSERT_TRUE(WriteNumber(first, "tmac", 1));
        ASSERT_TRUE(WriteNumber(first, "sortarr", 1));
    }
    SwitchableReader reader;
    IniSettingsStore store(dir / "kordel.ini", kordel::RealFileOps(), reader.Reader());
    for (int i = 0; i < 3; ++i) {
        const Settings s = LoadOptions(store);
        EXPECT_TRUE(s.cnoml);
        EXPECT_TRUE(s.asce);
    }
    ASSERT_TRUE(WriteNumber(store, "sps", 1));
    EXPECT_EQ(ReadFlag(store, "sps"), 1);
    EXPECT_EQ(ReadFlag(store, "tmac"), 1);
    EXPECT_EQ(reader.reads, 1);
    // A write that fails leaves the values in memory as the file still holds them.
    FaultyFileOps failing(FailAt::Write, 1);
    IniSettingsStore failingStore(dir / "kordel.ini", failing);
    EXPECT_FALSE(WriteNumber(failingStore, "sps", 0));
    EXPECT_EQ(ReadFlag(failingStore, "sps"), 1);
}

TEST(Options, LoadUsesTheStoredNamesAndBoxesWriteThrough) {
    MemorySettingsStore store;
    store.Write("tmac", "1");
    store.Write("sortarr", "1");
    store.Write("cblib", "2");
    Settings s = LoadOptions(store);
    EXPECT_TRUE(s.cnoml);
    EXPECT_TRUE(s.asce);
    EXPECT_FALSE(s.cblib);
    EXPECT_FALSE(s.slc);

    const auto& boxes = OptionBoxes();
    const OptionBox& spacing = boxes.back();
    ASSERT_EQ(spacing.id, 6049);
    EXPECT_TRUE(IsChecked(s, spacing));  // slc 0: rows spaced out, box ticked
    ClickOption(store, s, spacing, true);
    EXPECT_EQ(store.Read("slc").value_or(""), "0");
    ClickOption(store, s, spacing, false);
    EXPECT_EQ(store.Read("slc").value_or(""), "1");
    EXPECT_TRUE(s.slc);

    ClickOption(store, s, boxes[0], false);
    EXPECT_EQ(store.Read("tmac").value_or(""), "0");
    EXPECT_FALSE(s.cnoml);
    ChooseDotF(store, s, 1);
    EXPECT_EQ(store.Read("dotf").value_or(""), "1");
    EXPECT_EQ(s.countOptions().dotf, 1);
}
