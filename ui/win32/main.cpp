// Kordel for Windows: the desktop line counter as a native Windows program.
#include <windows.h>
#include <commctrl.h>
#include <ole2.h>
#include <shellapi.h>

#include <exception>
#include <string>

#include "ui/core/desktop.h"
#include "ui/core/messages.h"
#include "ui/core/settings_store.h"
#include "ui/win32/main_window.h"
#include "ui/win32/resource.h"
#include "ui/win32/text.h"

namespace {

constexpr wchar_t kClassName[] = L"VarnockClass";

bool RegisterWindowClass(HINSTANCE instance) {
    // The standard dialog class under the program's own name, so a second copy finds the first.
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    if (!GetClassInfoExW(nullptr, MAKEINTATOM(32770), &windowClass)) return false;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_CLASS));
    windowClass.lpszClassName = kClassName;
    return RegisterClassExW(&windowClass) != 0;
}

// A project list named on the command line (opening a .kpl from the desktop), or nothing.
std::string ListNamedOnCommandLine() {
    int count = 0;
    wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    std::string path;
    if (arguments && count >= 2) path = kordel::win32::Utf8(arguments[1]);
    LocalFree(arguments);
    return path;
}

int ShowUnexpectedError(const std::string& what) {
    MessageBoxW(nullptr, kordel::win32::Wide(kordel::ui::msg::UnexpectedError(what)).c_str(),
                kordel::win32::Wide(kordel::ui::kCaption).c_str(), MB_OK | MB_ICONSTOP);
    return 2;
}

int Run(HINSTANCE instance) {
    // The mutex closes the gap between two copies started at once; the class is the documented rule.
    const HANDLE running = CreateMutexW(nullptr, TRUE, L"Local\\Kordel.VarnockClass");
    if (GetLastError() == ERROR_ALREADY_EXISTS || FindWindowW(kClassName, nullptr)) {
        MessageBoxW(nullptr, kordel::win32::Wide(kordel::ui::msg::kAlreadyRunning).c_str(),
                    kordel::win32::Wide(kordel::ui::kCaption).c_str(), MB_OK | MB_ICONSTOP);
        if (running) CloseHandle(running);
        return 0;
    }
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_COOL_CLASSES};
    InitCommonControlsEx(&controls);
    if (FAILED(OleInitialize(nullptr))) return 0;
    int exitCode = 0;
    if (RegisterWindowClass(instance)) {
        auto store = kordel::ui::OpenPlatformSettings();
        kordel::win32::MainWindow window(instance, *store, ListNamedOnCommandLine());
        const HWND main = window.handle();
        if (main) {
            ShowWindow(main, SW_SHOWMAXIMIZED);
            const HACCEL keys = LoadAcceleratorsW(instance, MAKEINTRESOURCEW(IDR_ACCELERATORS));
            MSG message;
            while (GetMessageW(&message, nullptr, 0, 0) > 0) {
                const HWND active = GetActiveWindow();
                if (active == main && TranslateAcceleratorW(main, keys, &message)) continue;
                if (active && IsDialogMessageW(active, &message)) continue;
                TranslateMessage(&message);
                DispatchMessageW(&message);
            }
            exitCode = static_cast<int>(message.wParam);
        }
    }
    OleUninitialize();
    if (running) CloseHandle(running);
    return exitCode;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    // Nothing may end the program through std::terminate: an unexpected error is shown, status 2.
    try {
        return Run(instance);
    } catch (const std::exception& e) {
        return ShowUnexpectedError(e.what());
    } catch (...) {
        return ShowUnexpectedError({});
    }
}
