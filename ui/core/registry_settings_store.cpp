// The Windows settings store: one subkey per setting under Software\Kordel, its default value the text.
// Reads the per-user key first and then the machine key (where an installer may have put defaults);
// writes only the per-user key, since writing the machine key needs administrator rights.
#ifdef _WIN32
#include <windows.h>

#include "ui/core/settings_store.h"

namespace kordel::ui {
namespace {

std::optional<std::string> ReadDefaultValue(HKEY root, const std::string& subkey) {
    DWORD size = 0;
    if (RegGetValueA(root, subkey.c_str(), nullptr, RRF_RT_REG_SZ, nullptr, nullptr, &size) != ERROR_SUCCESS)
        return std::nullopt;
    std::string text(size, '\0');
    if (RegGetValueA(root, subkey.c_str(), nullptr, RRF_RT_REG_SZ, nullptr, text.data(), &size) != ERROR_SUCCESS)
        return std::nullopt;
    text.resize(size > 0 ? size - 1 : 0);  // the size counts the terminating NUL
    return text;
}

class RegistrySettingsStore final : public SettingsStore {
public:
    std::optional<std::string> Read(std::string_view name) const override {
        const std::string subkey = "Software\\Kordel\\" + std::string(name);
        if (auto text = ReadDefaultValue(HKEY_CURRENT_USER, subkey)) return text;
        return ReadDefaultValue(HKEY_LOCAL_MACHINE, subkey);
    }
    bool Write(std::string_view name, std::string_view value) override {
        const std::string subkey = "Software\\Kordel\\" + std::string(name);
        const std::string text(value);
        return RegSetKeyValueA(HKEY_CURRENT_USER, subkey.c_str(), nullptr, REG_SZ, text.c_str(),
                               static_cast<DWORD>(text.size() + 1)) == ERROR_SUCCESS;
    }
};

}  // namespace

std::unique_ptr<SettingsStore> OpenPlatformSettings() { return std::make_unique<RegistrySettingsStore>(); }

}  // namespace kordel::ui
#endif
