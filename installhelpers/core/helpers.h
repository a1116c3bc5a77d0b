// The jobs of the four installation helpers, over replaceable keys, folders, files and processes.
#pragma once

#include <functional>
#include <ostream>
#include <string_view>

#include "common/atomic_file.h"
#include "installhelpers/core/locations.h"

namespace kordel::installcore {

/// What a helper's job came to. Each job says on its `why` stream, a line each, why it failed or
/// refused, and what the user must know of a job done (a database kept beside another, a record
/// converted as it was); a plain job done says nothing.
enum class Outcome {
    Done,         ///< the job was carried out
    NothingToDo,  ///< a location or the file it needs is missing, or the file needs no change
    Failed,       ///< reading, writing, checking the copy or starting failed; no file was lost
    Refused,      ///< not attempted, because going on could lose the user's languages
};

/// The helper program's exit status for the installer: 0 for Done and NothingToDo, 1 for Failed,
/// 2 for Refused.
int ExitStatus(Outcome outcome);

/// Runs a helper's job for its `main`: the job's exit status. Every line the job writes to the stream it
/// is given (why it failed or refused) reaches `err` as "NAME: line". When the job throws, a line
/// "NAME: stopped by an unexpected error: ..." and status 2, never std::terminate.
int RunHelper(std::string_view name, const std::function<Outcome(std::ostream& why)>& job, std::ostream& err);

/// Starts a program with its argument text and waits for it to end.
class ProgramStarter {
public:
    virtual ~ProgramStarter() = default;
    /// Returns false when the program could not be started.
    virtual bool RunAndWait(const Command& command) = 0;
};

/// udsave: copies the database out of the earlier installation folder into the temporary folder and
/// reads the copy back; the copy keeps the database's modification time. Failed when a database is
/// there but no identical copy could be made.
Outcome SaveDatabase(UninstallKeys& keys, TempFolder& temp, std::ostream& why, FileOps& ops = RealFileOps());

/// quietuninst: runs the earlier installation's quiet uninstall command directly, never through a
/// command interpreter; an empty value runs nothing. Refused, without starting anything, while the
/// earlier installation holds a database of which the temporary folder has no identical copy, or
/// when no folder is known for it.
Outcome RunQuietUninstall(UninstallKeys& keys, TempFolder& temp, ProgramStarter& starter, std::ostream& why);

/// udrestore: copies the saved database into the current installation folder, reads it back, then
/// deletes the saved copy; a failed copy keeps it. Failed too when there is a saved copy but no
/// current installation folder to put it in. An older saved database never replaces a current one:
/// when both exist and differ, the later written is used and the other is kept beside it as
/// "udlangdb.earlier-XXXXXXXX.ini" (the saved one) or "udlangdb.replaced-XXXXXXXX.ini" (the one that
/// was in place), created exclusively; `why` says which is kept and where the other is. Equal
/// content only removes the saved copy. An unreadable current database is not replaced (Failed).
Outcome RestoreDatabase(UninstallKeys& keys, TempFolder& temp, std::ostream& why, FileOps& ops = RealFileOps());

/// udmigrate: converts the current installation's database from the earlier layout in place; the
/// database is replaced in one step after a complete write. A current-layout or empty file is left
/// untouched (NothingToDo); a file in neither layout is left untouched and Refused. Records are
/// converted one by one; one whose extensions line holds no "." is kept as it is and named on `why`.
Outcome MigrateDatabase(UninstallKeys& keys, std::ostream& why, FileOps& ops = RealFileOps());

/// The earlier installation's database, from `InstallLocation`, else from the folder of the program
/// of `QuietUninstallString`; empty when neither names a folder.
std::string EarlierDatabasePath(UninstallKeys& keys);
/// The current installation's database, beside the program of `UninstallString`; empty when missing.
std::string CurrentDatabasePath(UninstallKeys& keys);

}  // namespace kordel::installcore
