// udmigrate: converts the current installation's user language database from the earlier record layout.
#include "installhelpers/core/windows_system.h"

int main() {
    using namespace kordel::installcore;
    try {
        MigrateDatabase(SystemUninstallKeys());
    } catch (...) {
        // The installer goes on whatever happens; there is nobody to tell.
    }
    return 0;
}
