// udsave: copies the user language database out of the earlier installation folder into the temporary folder.
#include "installhelpers/core/windows_system.h"

int main() {
    using namespace kordel::installcore;
    try {
        SaveDatabase(SystemUninstallKeys(), SystemTempFolder());
    } catch (...) {
        // The installer goes on whatever happens; there is nobody to tell.
    }
    return 0;
}
