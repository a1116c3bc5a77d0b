// Stands in for the earlier installation's quiet uninstaller in scripts/installer-check.sh. After a
// pause (so that a caller that does not wait is caught) it does what that uninstaller does: removes
// its own folder with everything in it and the uninstall key Kordel_is1 from the 32-bit view. A
// running program cannot be deleted, so like the real one it runs a copy of itself from the
// temporary folder for that and waits for it; the copy moves the running program out of the way
// (renaming it is allowed) before it removes the folder. The first run writes its arguments, one a
// line, to uninstall-mark.txt in the folder above its own. With the argument /FAIL it then fails
// without removing anything; with /LATE it returns at once, and its copy removes the folder three
// seconds later, as uninstallers do that leave the work to their copy.
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>
#include <vector>

namespace {

const std::wstring kSecondRun = L"/REMOVEFOLDER=";
const std::wstring kLateRun = L"/REMOVELATER=";

// Runs `copy` to remove the folder of `program`, waiting for it unless `late`; false when it could
// not be started.
bool RunCopy(const std::filesystem::path& copy, const std::filesystem::path& program, bool late) {
    std::wstring line = L"\"" + copy.wstring() + L"\" \"" + (late ? kLateRun : kSecondRun) + program.wstring() + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(copy.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process))
        return false;
    if (!late) WaitForSingleObject(process.hProcess, INFINITE);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    std::error_code ec;
    const bool late = argc == 2 && std::wstring(argv[1]).starts_with(kLateRun);
    if (late || (argc == 2 && std::wstring(argv[1]).starts_with(kSecondRun))) {
        if (late) Sleep(3000);
        const std::filesystem::path first = std::wstring(argv[1]).substr((late ? kLateRun : kSecondRun).size());
        const std::filesystem::path moved = std::filesystem::path(argv[0]).replace_extension(".old.exe");
        if (MoveFileExW(first.c_str(), moved.c_str(), MOVEFILE_REPLACE_EXISTING))
            MoveFileExW(moved.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
        std::filesystem::remove_all(first.parent_path(), ec);
        RegDeleteKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Kordel_is1",
                        KEY_WOW64_32KEY, 0);
        return ec ? 1 : 0;
    }
    Sleep(700);
    std::vector<wchar_t> self(32768);
    const DWORD length = GetModuleFileNameW(nullptr, self.data(), static_cast<DWORD>(self.size()));
    const std::filesystem::path program(std::wstring(self.data(), length));
    {
        std::ofstream mark(program.parent_path().parent_path() / "uninstall-mark.txt", std::ios::binary);
        for (int i = 1; i < argc; ++i) mark << std::filesystem::path(argv[i]).string() << "\n";
    }
    bool lateRemoval = false;
    for (int i = 1; i < argc; ++i) {
        if (std::wstring(argv[i]) == L"/FAIL") return 1;
        if (std::wstring(argv[i]) == L"/LATE") lateRemoval = true;
    }
    const std::filesystem::path copy =
        std::filesystem::temp_directory_path(ec) / ("earlier-uninstall-" + std::to_string(GetCurrentProcessId()) + ".exe");
    if (ec || !CopyFileW(program.c_str(), copy.c_str(), TRUE) || !RunCopy(copy, program, lateRemoval)) return 1;
    MoveFileExW(copy.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
    return 0;
}
