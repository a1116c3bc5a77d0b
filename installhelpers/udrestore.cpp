// udrestore: puts the saved user language database into the current installation folder.
// Exit status (the README lists the cases): 0 done or nothing to do, 1 failed, 2 refused or stopped
// by an unexpected error.
#include <iostream>

#include "installhelpers/core/windows_system.h"

int main() {
    using namespace kordel::installcore;
    // Whatever goes wrong, the installer must not take it for success: an exception gives status 2.
    return RunHelper("udrestore", [] { return RestoreDatabase(SystemUninstallKeys(), SystemTempFolder()); }, std::cerr);
}
