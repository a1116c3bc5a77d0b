// udsave: copies the user language database out of the earlier installation folder into the temporary folder.
// Exit status (the README lists the cases): 0 done or nothing to do, 1 failed, 2 refused or stopped
// by an unexpected error.
#include <iostream>

#include "installhelpers/core/windows_system.h"

int main() {
    using namespace kordel::installcore;
    // Whatever goes wrong, the installer must not take it for success: an exception gives status 2.
    // Why a job failed goes to the standard error stream, for whoever runs the helper by hand or in a check.
    const auto job = [](std::ostream& why) { return SaveDatabase(SystemUninstallKeys(), SystemTempFolder(), why); };
    return RunHelper("udsave", job, std::cerr);
}
