// udrestore: puts the saved user language database into the current installation folder.
#include "installhelpers/core/windows_system.h"

int main() {
    using namespace kordel::installcore;
    try {
        RestoreDatabase(SystemUninstallKeys(), SystemTempFolder());
    } catch (...) {
        // The installer goes on whatever happens; there is nobody to tell.
    }
    return 0;
}
