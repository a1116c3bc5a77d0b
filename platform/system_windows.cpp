// Windows process services: module path, temporary and application-data folders, processes,
// the console, the shell and the registry.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "platform/files.h"
#include "platform/registry.h"
#include "platform/system.h"
#include "platform/windows_text.h"

namespace kordel::platform {
namespace {

using windows::LongPath;
using windows::Narrow;
using windows::Widen;

HANDLE StdHandle(StdStream stream) {
    return GetStdHandle(stream == StdStream::Out ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE);
}

// One argument quoted so that the C runtime's command-line parser gives it back unchanged.
std::wstring QuoteArgument(const std::wstring& arg) {
    if (!arg.empty() && arg.find_first_of(L" \t\n\v\"") == std::wstring::npos) return arg;
    std::wstring quoted = L"\"";
    std::size_t backslashes = 0;
    for (wchar_t c : arg) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        quoted.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        backslashes = 0;
        quoted += c;
    }
    quoted.append(backslashes * 2, L'\\');
    quoted += L'"';
    return quoted;
}

HANDLE OpenNul(DWORD access) {
    SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    return CreateFileW(L"NUL", access, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, OPEN_EXISTING, 0, nullptr);
}

HKEY RootKey(RegistryRoot root) { return root == RegistryRoot::CurrentUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE; }

REGSAM ViewFlag(RegistryView view) {
    switch (view) {
        case RegistryView::Wow64_64: return KEY_WOW64_64KEY;
        case RegistryView::Wow64_32: return KEY_WOW64_32KEY;
        case RegistryView::Native: break;
    }
    return 0;
}

}  // namespace

std::string ProgramFolder() {
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) return {};
        if (length < buffer.size()) {
            std::wstring path(buffer.data(), length);
            const std::size_t slash = path.find_last_of(L"\\/");
            return slash == std::wstring::npos ? std::string() : Narrow(path.substr(0, slash));
        }
        buffer.resize(buffer.size() * 2);
    }
}

std::string TempFolder() {
    std::vector<wchar_t> buffer(MAX_PATH + 1);
    for (;;) {
        const DWORD length = GetTempPathW(static_cast<DWORD>(buffer.size()), buffer.data());
        if (length == 0) return ".";
        if (length < buffer.size()) {
            std::wstring path(buffer.data(), length);
            while (path.size() > 3 && (path.back() == L'\\' || path.back() == L'/')) path.pop_back();
            return Narrow(path);
        }
        buffer.resize(length + 1);
    }
}

std::optional<std::string> UserDataFolder() {
    std::optional<std::string> folder = Environment("APPDATA");
    if (folder && folder->empty()) folder.reset();
    return folder;
}

std::optional<std::string> UserConfigFolder() { return UserDataFolder(); }

bool IsWritableFolder(std::string_view folder) {
    if (GetPathInfo(folder).kind != PathKind::Folder) return false;
    // The folder's access rules decide; the only sure answer is creating a file there.
    const std::string probe = TemporaryNameFor(std::string(folder) + "\\writable");
    HANDLE file = CreateFileW(LongPath(probe).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    CloseHandle(file);
    return true;
}

std::optional<std::string> Environment(std::string_view name) {
    const wchar_t* value = _wgetenv(Widen(name).c_str());
    if (!value) return std::nullopt;
    return Narrow(value);
}

LocalTime Now() {
    SYSTEMTIME time{};
    GetLocalTime(&time);
    return {time.wYear, time.wMonth, time.wDay, time.wHour, time.wMinute};
}

int ProcessId() { return static_cast<int>(GetCurrentProcessId()); }

bool IsProcessRunning(int pid) {
    if (pid <= 0) return false;
    HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, static_cast<DWORD>(pid));
    if (!process) return GetLastError() != ERROR_INVALID_PARAMETER;
    const bool running = WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
    CloseHandle(process);
    return running;
}

bool IsTerminal(StdStream stream) {
    DWORD mode = 0;
    return GetConsoleMode(StdHandle(stream), &mode) != 0;
}

std::size_t TerminalColumns(StdStream stream) {
    CONSOLE_SCREEN_BUFFER_INFO info{};
    if (!GetConsoleScreenBufferInfo(StdHandle(stream), &info)) return 0;
    return static_cast<std::size_t>(info.srWindow.Right - info.srWindow.Left + 1);
}

bool WriteToTerminal(StdStream stream, std::string_view text) {
    const std::wstring wide = Widen(text);
    std::size_t done = 0;
    while (done < wide.size()) {
        DWORD written = 0;
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(wide.size() - done, 1u << 14));
        if (!WriteConsoleW(StdHandle(stream), wide.data() + done, chunk, &written, nullptr) || written == 0) return false;
        done += written;
    }
    return true;
}

std::vector<std::string> CommandLineArguments(int argc, char** argv) {
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!wide) return std::vector<std::string>(argv, argv + argc);
    std::vector<std::string> arguments;
    arguments.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) arguments.push_back(Narrow(wide[i]));
    LocalFree(wide);
    return arguments;
}

ProcessResult RunProgram(const std::vector<std::string>& argv) {
    ProcessResult result;
    if (argv.empty()) return result;
    std::wstring line;
    for (const std::string& arg : argv) {
        if (!line.empty()) line += L' ';
        line += QuoteArgument(Widen(arg));
    }
    SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0)) return result;
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    HANDLE input = OpenNul(GENERIC_READ);
    HANDLE errors = OpenNul(GENERIC_WRITE);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = input;
    startup.hStdOutput = writeEnd;
    startup.hStdError = errors;
    PROCESS_INFORMATION process{};
    const bool started = CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                                        nullptr, &startup, &process) != 0;
    CloseHandle(writeEnd);
    if (input != INVALID_HANDLE_VALUE) CloseHandle(input);
    if (errors != INVALID_HANDLE_VALUE) CloseHandle(errors);
    if (!started) {
        CloseHandle(readEnd);
        return result;
    }
    result.started = true;
    std::vector<char> buffer(64 * 1024);
    DWORD got = 0;
    while (ReadFile(readEnd, buffer.data(), static_cast<DWORD>(buffer.size()), &got, nullptr) && got > 0)
        result.output.append(buffer.data(), got);
    CloseHandle(readEnd);
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 0;
    if (GetExitCodeProcess(process.hProcess, &code)) result.exitCode = static_cast<int>(code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return result;
}

bool RunAndWait(std::string_view program, std::string_view arguments) {
    const std::wstring wideProgram = Widen(program);
    // The started program sees its own name quoted as its first argument, then the argument text.
    std::wstring line = L"\"" + wideProgram + L"\"";
    if (!arguments.empty()) line += L" " + Widen(arguments);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(wideProgram.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process))
        return false;
    WaitForSingleObject(process.hProcess, INFINITE);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

bool ShellOpen(std::string_view path, bool edit) {
    const std::wstring wide = Widen(path);
    const auto result = reinterpret_cast<INT_PTR>(
        ShellExecuteW(nullptr, edit ? L"edit" : L"open", wide.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    return result > 32;
}

std::optional<std::string> ReadRegistryText(RegistryRoot root, std::string_view key, std::string_view name,
                                            RegistryView view) {
    HKEY handle = nullptr;
    if (RegOpenKeyExW(RootKey(root), Widen(key).c_str(), 0, KEY_QUERY_VALUE | ViewFlag(view), &handle) !=
        ERROR_SUCCESS)
        return std::nullopt;
    const std::wstring wideName = Widen(name);
    std::vector<wchar_t> buffer(256);
    DWORD type = 0;
    LONG status = ERROR_MORE_DATA;
    DWORD bytes = 0;
    while (status == ERROR_MORE_DATA) {
        bytes = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
        status = RegQueryValueExW(handle, wideName.empty() ? nullptr : wideName.c_str(), nullptr, &type,
                                  reinterpret_cast<BYTE*>(buffer.data()), &bytes);
        if (status == ERROR_MORE_DATA) buffer.resize(bytes / sizeof(wchar_t) + 1);
    }
    RegCloseKey(handle);
    if (status != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) return std::nullopt;
    // The stored data need not end in a NUL: the text is taken from the byte count and cut at a NUL.
    std::wstring_view value(buffer.data(), bytes / sizeof(wchar_t));
    value = value.substr(0, value.find(L'\0'));
    return Narrow(value);
}

bool WriteRegistryText(RegistryRoot root, std::string_view key, std::string_view name, std::string_view value) {
    HKEY handle = nullptr;
    if (RegCreateKeyExW(RootKey(root), Widen(key).c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &handle, nullptr) !=
        ERROR_SUCCESS)
        return false;
    const std::wstring wideName = Widen(name);
    const std::wstring text = Widen(value);
    const LONG status = RegSetValueExW(handle, wideName.empty() ? nullptr : wideName.c_str(), 0, REG_SZ,
                                       reinterpret_cast<const BYTE*>(text.c_str()),
                                       static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(handle);
    return status == ERROR_SUCCESS;
}

}  // namespace kordel::platform
