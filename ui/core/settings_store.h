// Where the program keeps its settings: one named value per setting, as decimal text (or a path).
#pragma once

#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "common/atomic_file.h"

namespace kordel::ui {

class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    /// The stored text of a setting, or nothing when it is missing or unreadable.
    virtual std::optional<std::string> Read(std::string_view name) const = 0;
    /// Stores the text of a setting; false when the store could not be written.
    virtual bool Write(std::string_view name, std::string_view value) = 0;
};

/// Reads a stored text as an unsigned decimal number: leading blanks skipped, reading stops at the
/// first character that is not a digit ("1x" is 1, "x1" is 0). Saturates instead of overflowing.
unsigned long ReadSettingNumber(std::string_view text);

/// A setting's number, 0 when missing.
unsigned long ReadNumber(const SettingsStore& store, std::string_view name);

/// True exactly when the stored number is 1; any other number and a missing setting are false.
bool ReadFlag(const SettingsStore& store, std::string_view name);

/// Writes a number as its decimal text.
bool WriteNumber(SettingsStore& store, std::string_view name, long long value);

/// Settings in memory, for tests and as a fallback when no store can be opened.
class MemorySettingsStore final : public SettingsStore {
public:
    std::optional<std::string> Read(std::string_view name) const override;
    bool Write(std::string_view name, std::string_view value) override;
    const std::map<std::string, std::string, std::less<>>& values() const { return m_values; }

private:
    std::map<std::string, std::string, std::less<>> m_values;
};

/// Reads a whole settings file: its bytes, an empty text when there is no such file, nothing when
/// it exists but cannot be read.
using SettingsFileReader = std::function<std::optional<std::string>(const std::filesystem::path&)>;
std::optional<std::string> ReadSettingsFile(const std::filesystem::path& path);

/// A per-user ini file: a "[Kordel]" line, then one "name=value" line per setting, CR LF line ends.
/// The file is parsed once, when the store is made, and reads are answered from memory: the program
/// is the file's only writer. Every write rewrites the file atomically from those values, so a
/// failed write keeps the previous settings. While the file exists but cannot be read, a write
/// tries to read it again and, failing that, changes nothing and returns false.
class IniSettingsStore final : public SettingsStore {
public:
    explicit IniSettingsStore(std::filesystem::path path, FileOps& ops = RealFileOps(),
                              SettingsFileReader reader = ReadSettingsFile);
    std::optional<std::string> Read(std::string_view name) const override;
    bool Write(std::string_view name, std::string_view value) override;
    const std::filesystem::path& path() const { return m_path; }

private:
    bool Load();

    std::filesystem::path m_path;
    FileOps& m_ops;
    SettingsFileReader m_reader;
    std::map<std::string, std::string, std::less<>> m_values;
    bool m_loaded = false;  ///< false while the file exists but could not be read
};

/// The per-user settings file: kordel/kordel.ini in the user's configuration folder
/// ($XDG_CONFIG_HOME when absolute, else ~/.config).
std::filesystem::path DefaultSettingsPath();

/// The registry store: Software\Kordel\<name> of the current user, then of the machine; writes go
/// to the current user's key.
std::unique_ptr<SettingsStore> OpenRegistrySettings();

/// The platform's settings store: the registry on Windows, the per-user ini file elsewhere.
std::unique_ptr<SettingsStore> OpenPlatformSettings();

}  // namespace kordel::ui
