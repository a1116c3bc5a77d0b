// The Windows program's menu and accelerator table against the command table they feed, and the
// add dialog's answer taken apart.
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>

#include <gtest/gtest.h>

#include "ui/core/main_logic.h"
#include "ui/win32/chosen_files.h"

using namespace kordel::ui;

namespace {

std::string ResourceScript() {
    std::ifstream in(std::string(KORDEL_SOURCE_DIR) + "/ui/win32/kordel.rc");
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The key hint of each menu item ("F12", "Ctrl + F"), by command.
std::map<int, std::string> MenuHints(const std::string& rc, std::set<int>& ids) {
    std::map<int, std::string> hints;
    const std::regex item(R"re(MENUITEM "([^"]*)", (\d+))re");
    for (auto it = std::sregex_iterator(rc.begin(), rc.end(), item); it != std::sregex_iterator(); ++it) {
        const int id = std::stoi((*it)[2]);
        if (id == 0) continue;  // separator
        ids.insert(id);
        const std::string text = (*it)[1];
        const auto tab = text.find("\\t");
        if (tab != std::string::npos && tab + 2 < text.size()) hints[id] = text.substr(tab + 2);
    }
    return hints;
}

// The key of each accelerator, written the way the menu hints write it, by command.
std::map<int, std::string> Accelerators(const std::string& rc) {
    std::map<int, std::string> keys;
    const auto begin = rc.find("ACCELERATORS");
    const auto end = rc.find("END", begin);
    const std::string table = rc.substr(begin, end - begin);
    const std::regex entry(R"re((VK_(\w+)|"(\w)"), (\d+), VIRTKEY(, CONTROL)?)re");
    for (auto it = std::sregex_iterator(table.begin(), table.end(), entry); it != std::sregex_iterator(); ++it) {
        std::string key = (*it)[2].matched ? std::string((*it)[2]) : std::string((*it)[3]);
        if (key == "DELETE") key = "Delete";
        if ((*it)[5].matched) key = "Ctrl + " + key;
        keys[std::stoi((*it)[4])] = key;
    }
    return keys;
}

}  // namespace

TEST(Win32Resources, EveryMenuItemAndKeyRunsACommandAndEachHintNamesItsKey) {
    const std::string rc = ResourceScript();
    ASSERT_FALSE(rc.empty());
    std::set<int> table;
    for (const CommandRow& row : MainWindowLogic::Commands()) table.insert(row.id);

    std::set<int> menuIds;
    const auto hints = MenuHints(rc, menuIds);
    const auto keys = Accelerators(rc);
    EXPECT_EQ(menuIds.size(), 33u);
    EXPECT_EQ(keys.size(), 14u);
    for (int id : menuIds) EXPECT_TRUE(table.count(id)) << "menu item " << id << " runs nothing";
    for (const auto& [id, key] : keys) EXPECT_TRUE(table.count(id)) << "accelerator " << key << " runs nothing";

    // A key's own command number stands for the menu item whose hint shows the key.
    const std::map<int, int> twin{{3501, 6060}, {3503, 6019}, {3504, 6009}, {3505, 7000}, {3506, 6001},
                                  {3507, 6070}, {3508, 6071}, {3509, 6010}, {3510, 6011}};
    std::map<int, std::string> keyOfItem;
    for (const auto& [id, key] : keys) keyOfItem[twin.count(id) ? twin.at(id) : id] = key;
    for (const auto& [id, hint] : hints) EXPECT_EQ(keyOfItem[id], hint) << "menu item " << id;
    for (const auto& [id, key] : keyOfItem) EXPECT_EQ(hints.count(id), 1u) << key << " has no menu hint";
}

TEST(Win32AddDialog, AnswersGiveFullPathsWithoutDoubledBackslashes) {
    using kordel::win32::ChosenFiles;
    using Paths = std::vector<std::wstring>;
    using namespace std::string_view_literals;
    EXPECT_EQ(ChosenFiles(L"C:\\src\\a.c\0\0"sv), (Paths{L"C:\\src\\a.c"}));
    EXPECT_EQ(ChosenFiles(L"C:\\src\0a.c\0b.c\0c.c\0\0"sv), (Paths{L"C:\\src\\a.c", L"C:\\src\\b.c", L"C:\\src\\c.c"}));
    EXPECT_EQ(ChosenFiles(L"C:\\\0a.c\0b.c\0\0"sv), (Paths{L"C:\\a.c", L"C:\\b.c"}));
    EXPECT_EQ(ChosenFiles(L"\0\0"sv), Paths{});
    // A buffer the dialog filled to its end without the closing zeros still ends the last name there.
    EXPECT_EQ(ChosenFiles(L"C:\\src\0a.c\0b"sv), (Paths{L"C:\\src\\a.c", L"C:\\src\\b"}));
}
