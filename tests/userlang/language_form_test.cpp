// The checks of the add/edit language form, in their order, and what a passing form stores.
#include <filesystem>

#include <gtest/gtest.h>

#include "tests/support/files.h"
#include "userlang/language_form.h"

using namespace kordel::userlang;

namespace {

LanguageForm Valid() { return {"Shell", ".sh", "#", "", "", "", ""}; }

}  // namespace

TEST(LanguageForm, EachCheckInItsOrder) {
    struct Case {
        LanguageForm form;
        std::string_view start;  // the message begins with this
    };
    LanguageForm noExt = Valid();
    noExt.extensions = "";
    LanguageForm blanks = Valid();
    blanks.extensions = "   ";
    LanguageForm noDot = Valid();
    noDot.extensions = "sh";
    LanguageForm noSignals = Valid();
    noSignals.olcop = "";
    LanguageForm beginOnly = Valid();
    beginOnly.mlbcop = "/*";
    LanguageForm endOnly = Valid();
    endOnly.olcop = "";
    endOnly.mlecop = "*/";
    LanguageForm noName = Valid();
    noName.name = "";
    noName.extensions = "";  // the extension check comes first
    LanguageForm nameOnlyMissing = Valid();
    nameOnlyMissing.name = "";
    LanguageForm lineBreak = Valid();
    lineBreak.olcop = "#\n";
    for (const Case& c : {Case{noExt, "You must enter the file extension(s)"},
                          Case{blanks, "The format of the extension"}, Case{noDot, "The format of the extension"},
                          Case{noSignals, "You must either enter the signal"},
                          Case{beginOnly, "You must enter the multiline end comment signal"},
                          Case{endOnly, "You must enter the multiline begin comment signal"},
                          Case{noName, "You must enter the file extension(s)"},
                          Case{nameOnlyMissing, "You must enter the name of the custom language"},
                          Case{lineBreak, kLineBreakMessage}}) {
        const FormCheck check = CheckLanguageForm(c.form);
        EXPECT_FALSE(check.language);
        EXPECT_EQ(check.message.substr(0, c.start.size()), c.start) << c.form.extensions << "|" << c.form.name;
    }
}

TEST(LanguageForm, StoresCleanedExtensionsDefaultColumnsAndTheGivenFlag) {
    LanguageForm form{"Both", "*.abc; *.def", "-- ", "", "{-", "", "-}"};
    const FormCheck added = CheckLanguageForm(form);
    ASSERT_TRUE(added.language);
    EXPECT_EQ(added.language->extensions, ".abc;.def");
    EXPECT_EQ(added.language->olcop, "-- ");  // signals stay as typed
    EXPECT_EQ(added.language->olfc, "0");
    EXPECT_EQ(added.language->fcmlb, "0");
    EXPECT_EQ(added.language->olcswl, "No");
    // Editing keeps the record's whole-line flag.
    EXPECT_EQ(CheckLanguageForm(form, "Yes").language->olcswl, "Yes");
    form.extensions = ".c;cpp";  // only the first item is checked
    EXPECT_TRUE(CheckLanguageForm(form).language);
    EXPECT_EQ(LanguageCountText(0), "0 user defined languages");
    EXPECT_EQ(LanguageCountText(1), "1 user defined language");
    EXPECT_EQ(LanguageCountText(2), "2 user defined languages");
}

TEST(LanguageList, AddEditDeleteAndOkWriteTheRecordsCloseBoxWritesNothing) {
    namespace fs = std::filesystem;
    const test_support::TempDir dir("langlist");
    const fs::path db = dir.Write("udlangdb.ini", "Old\r\n.old\r\n;\r\n0\r\n\r\n0\r\n\r\nYes\r\n");
    auto bytes = [&] { return test_support::ReadBytes(db); };
    {
        LanguageListEditor closed(db);
        ASSERT_TRUE(closed.Load());
        EXPECT_TRUE(closed.Store({"New", ".new", "#", "", "", "", ""}, std::nullopt).language);
    }  // closed without OK: the file is unchanged
    EXPECT_EQ(bytes(), "Old\r\n.old\r\n;\r\n0\r\n\r\n0\r\n\r\nYes\r\n");

    LanguageListEditor editor(db);
    ASSERT_TRUE(editor.Load());
    EXPECT_FALSE(editor.Store({"Bad", "", "#", "", "", "", ""}, std::nullopt).language);
    ASSERT_TRUE(editor.Store({"Shell", "*.sh", "#", "", "", "", ""}, std::nullopt).language);
    ASSERT_TRUE(editor.Store({"Older", ".old", ";;", "2", "", "", ""}, 0).language);
    EXPECT_EQ(editor.rows()[0].olcswl, "Yes");  // the flag survives the edit
    ASSERT_TRUE(editor.Save());
    EXPECT_EQ(bytes(), "Older\r\n.old\r\n;;\r\n2\r\n\r\n0\r\n\r\nYes\r\n"
                       "Shell\r\n.sh\r\n#\r\n0\r\n\r\n0\r\n\r\nNo\r\n");
    editor.Delete(0);
    editor.Delete(0);
    ASSERT_TRUE(editor.Save());
    EXPECT_EQ(bytes(), "");
}

TEST(LanguageList, ChangesToAReadOnlyDefaultGoToTheUsersCopy) {
    namespace fs = std::filesystem;
    const test_support::TempDir dir("langdefault");
    const fs::path mine = dir / "user" / "udlangdb.ini";
    const std::string defaults = "Go\r\n.go\r\n//\r\n0\r\n/*\r\n0\r\n*/\r\nNo\r\n";
    const fs::path shipped = dir.Write("default.ini", defaults);
    LanguageListEditor editor(shipped, mine);
    ASSERT_TRUE(editor.Load());
    ASSERT_EQ(editor.rows().size(), 1u);
    EXPECT_FALSE(fs::exists(mine));  // nothing is copied until a change is saved
    ASSERT_TRUE(editor.Store({"Lua", ".lua", "--", "", "", "", ""}, std::nullopt).language);
    ASSERT_TRUE(editor.Save());
    EXPECT_EQ(test_support::ReadBytes(shipped), defaults);
    EXPECT_EQ(ReadUDLangDb(mine).languages.size(), 2u);
}
