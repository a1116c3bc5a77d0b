// udmigrate: converts the current installation's user language database from the earlier record layout.
// Exit status (the README lists the cases): 0 done or nothing to do, 1 failed, 2 refused.
#include "installhelpers/core/windows_system.h"

int main() {
    using namespace kordel::installcore;
    try {
        return ExitStatus(MigrateDatabase(SystemUninstallKeys()));
    } catch (...) {
        // Whatever went wrong, the installer must not take it for success.
        return ExitStatus(Outcome::Failed);
    }
}
