// Settings stores: the number rules, the in-memory store and the per-user ini file.
#include "ui/core/settings_store.h"

#include <limits>
#include <sstream>
#include <system_error>

#include "platform/files.h"
#include "platform/os.h"
#include "platform/system.h"

namespace kordel::ui {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

std::string StripLineEnd(std::string line) {
    while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.pop_back();
    return line;
}

// The ini text as name -> value.
std::map<std::string, std::string, std::less<>> ParseIni(const std::string& text) {
    std::map<std::string, std::string, std::less<>> values;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        line = StripLineEnd(std::move(line));
        if (line.empty() || line.front() == '[' || line.front() == ';') continue;
        const auto equals = line.find('=');
        if (equals == std::string::npos) continue;
        values[line.substr(0, equals)] = line.substr(equals + 1);
    }
    return values;
}

}  // namespace

unsigned long ReadSettingNumber(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && IsBlank(text[i])) ++i;
    unsigned long value = 0;
    constexpr unsigned long kMax = std::numeric_limits<unsigned long>::max();
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        const unsigned long digit = static_cast<unsigned long>(text[i] - '0');
        value = value > (kMax - digit) / 10 ? kMax : value * 10 + digit;
    }
    return value;
}

unsigned long ReadNumber(const SettingsStore& store, std::string_view name) {
    const auto text = store.Read(name);
    return text ? ReadSettingNumber(*text) : 0;
}

bool ReadFlag(const SettingsStore& store, std::string_view name) { return ReadNumber(store, name) == 1; }

bool WriteNumber(SettingsStore& store, std::string_view name, long long value) {
    return store.Write(name, std::to_string(value));
}

std::optional<std::string> MemorySettingsStore::Read(std::string_view name) const {
    const auto it = m_values.find(name);
    if (it == m_values.end()) return std::nullopt;
    return it->second;
}

bool MemorySettingsStore::Write(std::string_view name, std::string_view value) {
    m_values[std::string(name)] = std::string(value);
    return true;
}

std::optional<std::string> ReadSettingsFile(const std::filesystem::path& path) {
    // Opened without blocking and checked once open: a FIFO, a device or a folder in the file's
    // place is refused at once. Only a file that is not there reads as empty.
    platform::FileContents contents = platform::ReadFileContents(platform::PathText(path));
    if (contents.status == platform::InputFile::Status::Missing) return std::string();
    return std::move(contents.bytes);
}

IniSettingsStore::IniSettingsStore(std::filesystem::path path, FileOps& ops, SettingsFileReader reader)
    : m_path(std::move(path)), m_ops(ops), m_reader(std::move(reader)) {
    Load();
}

bool IniSettingsStore::Load() {
    const std::optional<std::string> text = m_reader(m_path);
    if (!text) return false;
    m_values = ParseIni(*text);
    m_loaded = true;
    return true;
}

std::optional<std::string> IniSettingsStore::Read(std::string_view name) const {
    const auto it = m_values.find(name);
    if (it == m_values.end()) return std::nullopt;
    return it->second;
}

bool IniSettingsStore::Write(std::string_view name, std::string_view value) {
    // A name or value with a line break or "=" in the name would break the file's layout.
    if (name.empty() || name.find_first_of("=\r\n[") != std::string_view::npos ||
        value.find_first_of("\r\n") != std::string_view::npos)
        return false;
    // Rewriting a file we could not read would drop every setting in it but this one.
    if (!m_loaded && !Load()) return false;
    auto values = m_values;
    values[std::string(name)] = std::string(value);
    std::string text = "[Kordel]\n";
    for (const auto& [key, stored] : values) text += key + "=" + stored + "\n";
    std::error_code ec;
    std::filesystem::create_directories(m_path.parent_path(), ec);
    if (!WriteFileAtomically(m_path, ToCrLf(text), m_ops)) return false;
    m_values = std::move(values);
    return true;
}

std::filesystem::path DefaultSettingsPath() {
    const std::optional<std::string> config = platform::UserConfigFolder();
    return platform::PathFromText(config.value_or(".")) / "kordel" / "kordel.ini";
}

std::unique_ptr<SettingsStore> OpenPlatformSettings() {
    if constexpr (platform::kWindows) return OpenRegistrySettings();
    return std::make_unique<IniSettingsStore>(DefaultSettingsPath());
}

}  // namespace kordel::ui
