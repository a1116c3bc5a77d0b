// The helpers' keys, temporary folder and program start on the running system.
#include "installhelpers/core/windows_system.h"

#include "platform/registry.h"
#include "platform/system.h"

namespace kordel::installcore {
namespace {

class RegistryKeys final : public UninstallKeys {
public:
    std::string Read(std::string_view key, std::string_view name) override {
        using platform::RegistryRoot;
        using platform::RegistryView;
        std::string value =
            platform::ReadRegistryText(RegistryRoot::LocalMachine, key, name, RegistryView::Wow64_64).value_or("");
        if (value.empty())
            value = platform::ReadRegistryText(RegistryRoot::LocalMachine, key, name, RegistryView::Wow64_32).value_or("");
        return value;
    }
};

class WindowsTempFolder final : public TempFolder {
public:
    std::string Path() override { return platform::TempFolder(); }
};

class ProcessStarter final : public ProgramStarter {
public:
    bool RunAndWait(const Command& command) override {
        return platform::RunAndWait(command.program, command.arguments);
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
