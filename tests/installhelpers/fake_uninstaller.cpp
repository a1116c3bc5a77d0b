// Stands in for the earlier installation's uninstaller in the wine check: after a pause (so that a
// caller that does not wait is caught), it writes its arguments, one a line, to uninstall-mark.txt
// in the folder above its own and removes the database from its own folder.
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <vector>

int main(int argc, char** argv) {
    Sleep(700);
    std::vector<wchar_t> self(32768);
    DWORD length = GetModuleFileNameW(nullptr, self.data(), static_cast<DWORD>(self.size()));
    const std::filesystem::path folder = std::filesystem::path(std::wstring(self.data(), length)).parent_path();
    std::ofstream mark(folder.parent_path() / "uninstall-mark.txt", std::ios::binary);
    for (int i = 1; i < argc; ++i) mark << argv[i] << "\n";
    std::error_code ec;
    std::filesystem::remove(folder / "udlangdb.ini", ec);
    return 0;
}
