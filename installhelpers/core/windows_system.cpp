// Win32 implementations of the helpers' keys, temporary folder and program start.
#include "installhelpers/core/windows_system.h"

#ifndef _WIN32
#error "windows_system.cpp is built for Windows only"
#endif

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <vector>

namespace kordel::installcore {
namespace {

std::wstring Widen(std::string_view text) {
    if (text.empty()) return {};
    int size = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    if (size <= 0) return {};
    std::wstring wide(static_cast<std::size_t>(size), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(), size);
    return wide;
}

std::string Narrow(std::wstring_view wide) {
    if (wide.empty()) return {};
    int size = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr,
                                   nullptr);
    if (size <= 0) return {};
    std::string text(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), text.data(), size, nullptr, nullptr);
    return text;
}

// One string value from one registry view. The stored data need not end in a NUL, so the text is
// taken from the byte count the query returns and cut at its first NUL.
std::string ReadValue(const std::wstring& key, const std::wstring& name, REGSAM view) {
    HKEY handle = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_QUERY_VALUE | view, &handle) != ERROR_SUCCESS)
        return {};
    std::vector<wchar_t> buffer(256);
    DWORD type = 0;
    LONG status = ERROR_MORE_DATA;
    DWORD bytes = 0;
    while (status == ERROR_MORE_DATA) {
        bytes = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
        status = RegQueryValueExW(handle, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()),
                                  &bytes);
        if (status == ERROR_MORE_DATA) buffer.resize(bytes / sizeof(wchar_t) + 1);
    }
    RegCloseKey(handle);
    if (status != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) return {};
    std::wstring_view value(buffer.data(), bytes / sizeof(wchar_t));
    value = value.substr(0, value.find(L'\0'));
    return Narrow(value);
}

class RegistryKeys final : public UninstallKeys {
public:
    std::string Read(std::string_view key, std::string_view name) override {
        const std::wstring wideKey = Widen(key);
        const std::wstring wideName = Widen(name);
        std::string value = ReadValue(wideKey, wideName, KEY_WOW64_64KEY);
        if (value.empty()) value = ReadValue(wideKey, wideName, KEY_WOW64_32KEY);
        return value;
    }
};

class WindowsTempFolder final : public TempFolder {
public:
    std::string Path() override {
        std::vector<wchar_t> buffer(MAX_PATH + 1);
        for (;;) {
            DWORD length = GetTempPathW(static_cast<DWORD>(buffer.size()), buffer.data());
            if (length == 0) return {};
            if (length < buffer.size()) return Narrow(std::wstring_view(buffer.data(), length));
            buffer.resize(length + 1);
        }
    }
};

class ProcessStarter final : public ProgramStarter {
public:
    bool RunAndWait(const Command& command) override {
        const std::wstring program = Widen(command.program);
        // The started program sees its own name quoted as its first argument, then the argument text.
        std::wstring line = L"\"" + program + L"\"";
        if (!command.arguments.empty()) line += L" " + Widen(command.arguments);
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process{};
        if (!CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                            &process))
            return false;
        WaitForSingleObject(process.hProcess, INFINITE);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
        return true;
    }
};

}  // namespace

UninstallKeys& SystemUninstallKeys() {
    static RegistryKeys keys;
    return keys;
}

TempFolder& SystemTempFolder() {
    static WindowsTempFolder folder;
    return folder;
}

ProgramStarter& SystemProgramStarter() {
    static ProcessStarter starter;
    return starter;
}

}  // namespace kordel::installcore
