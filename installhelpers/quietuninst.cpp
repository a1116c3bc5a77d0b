// quietuninst: runs the earlier installation's quiet uninstall command and waits for it.
#include "installhelpers/core/windows_system.h"

int main() {
    using namespace kordel::installcore;
    try {
        RunQuietUninstall(SystemUninstallKeys(), SystemProgramStarter());
    } catch (...) {
        // The installer goes on whatever happens; there is nobody to tell.
    }
    return 0;
}
