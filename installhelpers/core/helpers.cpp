// The jobs of the installation helpers.
#include "installhelpers/core/helpers.h"

#include <exception>
#include <optional>
#include <sstream>
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

// Reads `path` for a job; an unreadable file is said on `why`.
FileBytes ReadForJob(std::string_view path, std::ostream& why) {
    FileBytes file = ReadFileBytes(path);
    if (!file.missing && !file.bytes) why << "could not read " << path << ": " << platform::LastFileErrorText() << '\n';
    return file;
}

// Writes `bytes` to `to` atomically (a failure leaves `to` as it was) and reads them back.
Outcome WriteVerified(const fs::path& to, const std::string& bytes, FileOps& ops, std::ostream& why) {
    const std::string path = platform::PathText(to);
    if (!WriteFileAtomically(to, bytes, ops)) {
        why << "could not write " << path << ": " << platform::LastFileErrorText() << '\n';
        return Outcome::Failed;
    }
    if (ReadFileBytes(path).bytes != bytes) {
        why << "what was written to " << path << " does not read back the same\n";
        return Outcome::Failed;
    }
    return Outcome::Done;
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

int RunHelper(std::string_view name, const std::function<Outcome(std::ostream& why)>& job, std::ostream& err) {
    std::ostringstream why;
    int status = 2;
    std::optional<std::string> unexpected;  // set when the job threw: ": what()" or nothing
    try {
        status = ExitStatus(job(why));
    } catch (const std::exception& e) {
        unexpected = std::string(": ").append(e.what());
    } catch (...) {
        unexpected = "";
    }
    std::istringstream lines(why.str());
    for (std::string line; std::getline(lines, line);) err << name << ": " << line << '\n';
    if (unexpected) err << name << ": stopped by an unexpected error" << *unexpected << '\n';
    return status;
}

std::string EarlierDatabasePath(UninstallKeys& keys) {
    std::string folder = CleanFolder(keys.Read(kEarlierKey, "InstallLocation"));
    // Without InstallLocation the uninstaller's own folder is the installation's.
    if (folder.empty()) folder = DirectoryOf(SplitCommand(keys.Read(kEarlierKey, "QuietUninstallString")).program);
    return JoinFile(folder, kDatabaseName);
}

std::string CurrentDatabasePath(UninstallKeys& keys) {
    const Command uninstaller = SplitCommand(keys.Read(kCurrentKey, "UninstallString"));
    return JoinFile(DirectoryOf(uninstaller.program), kDatabaseName);
}

Outcome SaveDatabase(UninstallKeys& keys, TempFolder& temp, std::ostream& why, FileOps& ops) {
    const std::string source = EarlierDatabasePath(keys);
    if (source.empty()) return Outcome::NothingToDo;
    const FileBytes database = ReadForJob(source, why);
    if (database.missing) return Outcome::NothingToDo;
    if (!database.bytes) return Outcome::Failed;
    // A database and nowhere to save it: the uninstaller must not run.
    const std::string target = JoinFile(temp.Path(), kDatabaseName);
    if (target.empty()) {
        why << "there is no temporary folder to save " << source << " to\n";
        return Outcome::Failed;
    }
    return WriteVerified(platform::PathFromText(target), *database.bytes, ops, why);
}

Outcome RunQuietUninstall(UninstallKeys& keys, TempFolder& temp, ProgramStarter& starter, std::ostream& why) {
    const Command command = SplitCommand(keys.Read(kEarlierKey, "QuietUninstallString"));
    if (command.program.empty()) return Outcome::NothingToDo;
    // The uninstaller removes the earlier folder with its database: only once the copy is known good,
    // and never while nobody can tell where that database is.
    const std::string source = EarlierDatabasePath(keys);
    if (source.empty()) {
        why << "no folder is known for the earlier installation, whose uninstaller would remove its languages; "
            << command.program << " was not started\n";
        return Outcome::Refused;
    }
    const FileBytes database = ReadForJob(source, why);
    if (!database.missing) {
        const std::string copy = JoinFile(temp.Path(), kDatabaseName);
        if (!database.bytes || copy.empty() || ReadFileBytes(copy).bytes != database.bytes) {
            why << "the temporary folder holds no identical copy of " << source
                << ", so the earlier uninstaller was not started\n";
            return Outcome::Refused;
        }
    }
    if (!starter.RunAndWait(command)) {
        why << "could not start " << command.program << ": " << platform::LastFileErrorText() << '\n';
        return Outcome::Failed;
    }
    return Outcome::Done;
}

Outcome RestoreDatabase(UninstallKeys& keys, TempFolder& temp, std::ostream& why, FileOps& ops) {
    const std::string source = JoinFile(temp.Path(), kDatabaseName);
    if (source.empty()) return Outcome::NothingToDo;
    const FileBytes saved = ReadForJob(source, why);
    if (saved.missing) return Outcome::NothingToDo;
    if (!saved.bytes) return Outcome::Failed;
    const std::string target = CurrentDatabasePath(keys);
    if (target.empty()) {  // the saved copy stays for another try
        why << "the current installation's uninstall key names no folder; " << source << " was kept\n";
        return Outcome::Failed;
    }
    const Outcome copied = WriteVerified(platform::PathFromText(target), *saved.bytes, ops, why);
    if (copied == Outcome::Done) ops.Remove(platform::PathFromText(source));
    return copied;
}

Outcome MigrateDatabase(UninstallKeys& keys, std::ostream& why, FileOps& ops) {
    const std::string database = CurrentDatabasePath(keys);
    if (database.empty()) return Outcome::NothingToDo;
    const FileBytes current = ReadForJob(database, why);
    if (current.missing) return Outcome::NothingToDo;
    if (!current.bytes) return Outcome::Failed;
    const std::string& text = *current.bytes;
    const bool noRecords = text.find_first_not_of("\r\n") == std::string::npos;
    if (noRecords || IsCurrentLayout(text)) return Outcome::NothingToDo;
    // Converting a file of neither layout would move its lines into the wrong fields.
    if (!IsEarlierLayout(text)) {
        why << database << " is in neither the earlier nor the current layout; it was left as it was\n";
        return Outcome::Refused;
    }
    const Outcome converted = WriteVerified(platform::PathFromText(database), ConvertEarlierRecords(text), ops, why);
    if (converted == Outcome::Done)
        for (const std::string& name : RecordsWithoutExtensions(text))
            why << "the language \"" << name << "\" names no extension with a dot; it was converted as it was and counts no file until one is added\n";
    return converted;
}

}  // namespace kordel::installcore
