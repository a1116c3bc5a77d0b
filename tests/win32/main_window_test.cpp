// Kordel.exe's main window on a screen (run by scripts/win32-e2e.sh under wine): a double-click,
// the context menu and Delete that reach the window while a count runs arrive as posted WM_COMMAND
// messages, and none of them may act until the count is over.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "ui/core/commands.h"
#include "ui/core/desktop.h"
#include "ui/core/settings_store.h"
#include "ui/win32/main_window.h"
#include "ui/win32/resource.h"
#include "ui/win32/text.h"

namespace {

namespace cmd = kordel::ui::cmd;
using kordel::win32::Utf8;
using kordel::win32::Wide;

std::vector<std::string> boxes;  // the texts of the message boxes shown, each closed with OK

// Closes every message box as it appears; the progress window and the main window are left alone.
LRESULT CALLBACK CloseMessageBoxes(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE) {
        const auto window = reinterpret_cast<HWND>(wParam);
        // A message box's text is the static control numbered 0xFFFF.
        if (const HWND text = GetDlgItem(window, 0xFFFF)) {
            wchar_t buffer[512] = {};
            GetWindowTextW(text, buffer, 512);
            boxes.push_back(Utf8(buffer));
            PostMessageW(window, WM_COMMAND, IDOK, 0);
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

void RegisterMainClass(HINSTANCE instance) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    ASSERT_TRUE(GetClassInfoExW(nullptr, MAKEINTATOM(32770), &windowClass));
    windowClass.hInstance = instance;
    windowClass.lpszClassName = L"VarnockClass";
    ASSERT_TRUE(RegisterClassExW(&windowClass));
}

void Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

TEST(Win32MainWindow, CommandsPostedWhileACountRunsDoNothing) {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_COOL_CLASSES};
    InitCommonControlsEx(&controls);
    RegisterMainClass(instance);
    const HHOOK hook = SetWindowsHookExW(WH_CBT, CloseMessageBoxes, nullptr, GetCurrentThreadId());
    ASSERT_TRUE(hook);

    const std::filesystem::path file = std::filesystem::temp_directory_path() / "kordel-window-test.c";
    std::ofstream(file) << "int a;\n";
    kordel::ui::MemorySettingsStore store;
    kordel::win32::MainWindow window(instance, store);
    ASSERT_TRUE(window.handle());
    ShowWindow(window.handle(), SW_SHOWNORMAL);
    Pump();
    window.logic().AddPaths({Utf8(file.wstring())});
    const HWND list = GetDlgItem(window.handle(), IDC_LIST);
    ListView_SetItemState(list, 0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    ASSERT_EQ(window.logic().list().RowCount(), 1u);

    // Posted before the count starts, so the progress window's own loop delivers them while the
    // count runs: the count ends through a message posted after them. A context menu shown now
    // would wait for a click that never comes.
    for (int command : {cmd::kDoubleClick, cmd::kContextMenu, cmd::kRemove, cmd::kCount})
        PostMessageW(window.handle(), WM_COMMAND, static_cast<WPARAM>(command), 0);
    window.logic().Dispatch(cmd::kCount);
    EXPECT_FALSE(window.logic().working());
    EXPECT_EQ(window.logic().list().RowCount(), 1u);
    EXPECT_EQ(window.logic().cy(), 1);
    // The count's closing message alone: no refusal, no save question.
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].rfind("Kordel completed in ", 0), 0u) << boxes[0];

    // Once the count is over the same message runs its command.
    PostMessageW(window.handle(), WM_COMMAND, static_cast<WPARAM>(cmd::kRemove), 0);
    Pump();
    EXPECT_EQ(window.logic().list().RowCount(), 0u);

    UnhookWindowsHookEx(hook);
    std::filesystem::remove(file);
}

}  // namespace
