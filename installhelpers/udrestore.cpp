// udrestore: puts the saved user language database into the current installation folder.
// Exit status (the README lists the cases): 0 done or nothing to do, 1 failed, 2 refused.
#include "installhelpers/core/windows_system.h"

int main() {
    using namespace kordel::installcore;
    try {
        return ExitStatus(RestoreDatabase(SystemUninstallKeys(), SystemTempFolder()));
    } catch (...) {
        // Whatever went wrong, the installer must not take it for success.
        return ExitStatus(Outcome::Failed);
    }
}
