// The jobs of the four installation helpers, over replaceable keys, folders, files and processes.
#pragma once

#include "common/atomic_file.h"
#include "installhelpers/core/locations.h"

namespace kordel::installcore {

/// What a helper's job came to. The programs themselves report nothing and exit 0.
enum class Outcome {
    Done,         ///< the job was carried out
    NothingToDo,  ///< a location or the file it needs is missing, or the file needs no change
    Failed,       ///< reading or writing failed; every file is as it was
};

/// Starts a program with its argument text and waits for it to end.
class ProgramStarter {
public:
    virtual ~ProgramStarter() = default;
    /// Returns false when the program could not be started.
    virtual bool RunAndWait(const Command& command) = 0;
};

/// udsave: copies the database out of the earlier installation folder into the temporary folder.
Outcome SaveDatabase(UninstallKeys& keys, TempFolder& temp, FileOps& ops = RealFileOps());

/// quietuninst: runs the earlier installation's quiet uninstall command directly, never through a
/// command interpreter; an empty value runs nothing.
Outcome RunQuietUninstall(UninstallKeys& keys, ProgramStarter& starter);

/// udrestore: copies the saved database into the current installation folder, then deletes the
/// saved copy; a failed copy keeps it.
Outcome RestoreDatabase(UninstallKeys& keys, TempFolder& temp, FileOps& ops = RealFileOps());

/// udmigrate: converts the current installation's database from the earlier layout in place. Any
/// other file is left untouched; the database is replaced in one step after a complete write.
Outcome MigrateDatabase(UninstallKeys& keys, FileOps& ops = RealFileOps());

/// The earlier installation's database, from `InstallLocation`; empty when the value is missing.
std::string EarlierDatabasePath(UninstallKeys& keys);
/// The current installation's database, beside the program of `UninstallString`; empty when missing.
std::string CurrentDatabasePath(UninstallKeys& keys);

}  // namespace kordel::installcore
