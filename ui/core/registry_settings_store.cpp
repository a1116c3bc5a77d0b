// The Windows settings store: one subkey per setting under Software\Kordel, its default value the text.
// Reads the per-user key first and then the machine key (where an installer may have put defaults);
// writes only the per-user key, since current Windows lets only administrators write the machine key.
#include "platform/registry.h"
#include "ui/core/settings_store.h"

namespace kordel::ui {
namespace {

std::string SubKey(std::string_view name) { return "Software\\Kordel\\" + std::string(name); }

class RegistrySettingsStore final : public SettingsStore {
public:
    std::optional<std::string> Read(std::string_view name) const override {
        if (auto text = platform::ReadRegistryText(platform::RegistryRoot::CurrentUser, SubKey(name), {})) return text;
        return platform::ReadRegistryText(platform::RegistryRoot::LocalMachine, SubKey(name), {});
    }
    bool Write(std::string_view name, std::string_view value) override {
        return platform::WriteRegistryText(platform::RegistryRoot::CurrentUser, SubKey(name), {}, value);
    }
};

}  // namespace

std::unique_ptr<SettingsStore> OpenRegistrySettings() { return std::make_unique<RegistrySettingsStore>(); }

}  // namespace kordel::ui
