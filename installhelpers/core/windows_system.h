// The Windows registry, temporary folder and process start behind the helpers' interfaces.
#pragma once

#include "installhelpers/core/helpers.h"

namespace kordel::installcore {

/// Keys under HKEY_LOCAL_MACHINE, looked up in the 64-bit view first, then in the 32-bit view
/// where a 32-bit setup program writes them.
UninstallKeys& SystemUninstallKeys();
/// The folder that GetTempPathW names.
TempFolder& SystemTempFolder();
/// CreateProcessW with the program as the application name; waits for its end.
ProgramStarter& SystemProgramStarter();

}  // namespace kordel::installcore
