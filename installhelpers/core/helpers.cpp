// The jobs of the installation helpers.
#include "installhelpers/core/helpers.h"

#include <exception>
#include <optional>
#include <system_error>

#include "installhelpers/core/conversion.h"
#include "platform/files.h"

namespace kordel::installcore {
namespace {

namespace fs = std::filesystem;

// A file's bytes; `missing` when there is no file (a folder of that name is none either).
struct FileBytes {
    bool missing = false;
    std::optional<std::string> bytes;
};

// Opens first and tells from what was opened whether there is no file (nothing, or a folder).
FileBytes ReadFileBytes(std::string_view path) {
    platform::FileContents contents = platform::ReadFileContents(path);
    FileBytes result;
    result.missing = contents.status == platform::InputFile::Status::Missing ||
                     contents.status == platform::InputFile::Status::Folder;
    result.bytes = std::move(contents.bytes);
    return result;
}

// Writes `bytes` to `to` atomically (a failure leaves `to` as it was) and reads them back.
Outcome WriteVerified(const fs::path& to, const std::string& bytes, FileOps& ops) {
    if (!WriteFileAtomically(to, bytes, ops)) return Outcome::Failed;
    const FileBytes written = ReadFileBytes(platform::PathText(to));
    return written.bytes == bytes ? Outcome::Done : Outcome::Failed;
}

}  // namespace

int ExitStatus(Outcome outcome) {
    switch (outcome) {
        case Outcome::Done:
        case Outcome::NothingToDo: return 0;
        case Outcome::Failed: return 1;
        case Outcome::Refused: return 2;
    }
    return 1;
}

int RunHelper(std::string_view name, const std::function<Outcome()>& job, std::ostream& err) {
    try {
        return ExitStatus(job());
    } catch (const std::exception& e) {
        err << name << ": stopped by an unexpected error: " << e.what() << '\n';
    } catch (...) {
        err << name << ": stopped by an unexpected error\n";
    }
    return 2;
}

std::string EarlierDatabasePath(UninstallKeys& keys) {
    return JoinFile(CleanFolder(keys.Read(kEarlierKey, "InstallLocation")), kDatabaseName);
}

std::string CurrentDatabasePath(UninstallKeys& keys) {
    const Command uninstaller = SplitCommand(keys.Read(kCurrentKey, "UninstallString"));
    return JoinFile(DirectoryOf(uninstaller.program), kDatabaseName);
}

Outcome SaveDatabase(UninstallKeys& keys, TempFolder& temp, FileOps& ops) {
    const std::string source = EarlierDatabasePath(keys);
    if (source.empty()) return Outcome::NothingToDo;
    const FileBytes database = ReadFileBytes(source);
    if (database.missing) return Outcome::NothingToDo;
    if (!database.bytes) return Outcome::Failed;
    // A database and nowhere to save it: the uninstaller must not run.
    const std::string target = JoinFile(temp.Path(), kDatabaseName);
    if (target.empty()) return Outcome::Failed;
    return WriteVerified(platform::PathFromText(target), *database.bytes, ops);
}

Outcome RunQuietUninstall(UninstallKeys& keys, TempFolder& temp, ProgramStarter& starter) {
    const Command command = SplitCommand(keys.Read(kEarlierKey, "QuietUninstallString"));
    if (command.program.empty()) return Outcome::NothingToDo;
    // The uninstaller removes the earlier folder with its database: only once the copy is known good.
    if (const std::string source = EarlierDatabasePath(keys); !source.empty()) {
        const FileBytes database = ReadFileBytes(source);
        if (!database.missing) {
            const std::string copy = JoinFile(temp.Path(), kDatabaseName);
            if (!database.bytes || copy.empty() || ReadFileBytes(copy).bytes != database.bytes)
                return Outcome::Refused;
        }
    }
    return starter.RunAndWait(command) ? Outcome::Done : Outcome::Failed;
}

Outcome RestoreDatabase(UninstallKeys& keys, TempFolder& temp, FileOps& ops) {
    const std::string source = JoinFile(temp.Path(), kDatabaseName);
    if (source.empty()) return Outcome::NothingToDo;
    const FileBytes saved = ReadFileBytes(source);
    if (saved.missing) return Outcome::NothingToDo;
    if (!saved.bytes) return Outcome::Failed;
    const std::string target = CurrentDatabasePath(keys);
    if (target.empty()) return Outcome::Failed;  // the saved copy stays for another try
    const Outcome copied = WriteVerified(platform::PathFromText(target), *saved.bytes, ops);
    if (copied == Outcome::Done) ops.Remove(platform::PathFromText(source));
    return copied;
}

Outcome MigrateDatabase(UninstallKeys& keys, FileOps& ops) {
    const std::string database = CurrentDatabasePath(keys);
    if (database.empty()) return Outcome::NothingToDo;
    const FileBytes current = ReadFileBytes(database);
    if (current.missing) return Outcome::NothingToDo;
    if (!current.bytes) return Outcome::Failed;
    const std::string& text = *current.bytes;
    const bool noRecords = text.find_first_not_of("\r\n") == std::string::npos;
    if (noRecords || IsCurrentLayout(text)) return Outcome::NothingToDo;
    // Converting a file of neither layout would move its lines into the wrong fields.
    if (!IsEarlierLayout(text)) return Outcome::Refused;
    return WriteVerified(platform::PathFromText(database), ConvertEarlierRecords(text), ops);
}

}  // namespace kordel::installcore
