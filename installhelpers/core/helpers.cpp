// The jobs of the installation helpers.
#include "installhelpers/core/helpers.h"

#include <cstdio>
#include <exception>
#include <optional>
#include <random>
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

// Writes `bytes` to a new file beside `database` that no other file can be: "udlangdb.KIND-XXXXXXXX.ini"
// with random hexadecimal digits, created exclusively (another name is tried when one is taken).
// The file's path, or nothing (no file left) when none could be written and read back.
std::optional<std::string> WriteBeside(const std::string& database, std::string_view kind, const std::string& bytes,
                                       FileOps& ops, std::ostream& why) {
    const fs::path folder = platform::PathFromText(database).parent_path();
    std::random_device random;
    for (int attempt = 0; attempt < 8; ++attempt) {
        char digits[9];
        std::snprintf(digits, sizeof digits, "%08x", static_cast<unsigned>(random()));
        std::string name = std::string(kDatabaseStem) + "." + std::string(kind) + "-" + digits + ".ini";
        const fs::path path = folder / platform::PathFromText(name);
        if (!ops.Open(path)) continue;  // taken (or not creatable: every try fails alike)
        const bool written = ops.Write(bytes);
        if (ops.Close() && written && ReadFileBytes(platform::PathText(path)).bytes == bytes) return platform::PathText(path);
        ops.Remove(path);
        break;
    }
    why << "could not write a copy beside " << database << ": " << platform::LastFileErrorText() << '\n';
    return std::nullopt;
}

// True when the file at `a` was written later than the one at `b`; false when either time is unknown.
bool IsNewer(const std::string& a, const std::string& b) {
    const auto timeA = platform::ModificationTime(a);
    const auto timeB = platform::ModificationTime(b);
    return timeA && timeB && *timeA > *timeB;
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
    const Outcome saved = WriteVerified(platform::PathFromText(target), *database.bytes, ops, why);
    // The copy keeps the database's own time, by which udrestore tells it from a newer current one.
    const auto written = platform::ModificationTime(source);
    if (saved == Outcome::Done && (!written || !platform::SetModificationTime(target, *written)))
        why << "could not give " << target << " the modification time of " << source
            << "; it counts as written now when it is compared with a current database\n";
    return saved;
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
    const FileBytes current = ReadForJob(target, why);
    if (!current.missing && !current.bytes) {  // what cannot be compared is not replaced
        why << source << " was kept\n";
        return Outcome::Failed;
    }
    if (current.missing) {
        const Outcome copied = WriteVerified(platform::PathFromText(target), *saved.bytes, ops, why);
        if (copied == Outcome::Done) ops.Remove(platform::PathFromText(source));
        return copied;
    }
    if (*current.bytes == *saved.bytes) {
        ops.Remove(platform::PathFromText(source));
        why << target << " already holds the saved languages; the saved copy was removed\n";
        return Outcome::Done;
    }
    // Two different databases: the newer one is used, the other is kept beside it under a name of
    // its own. On a tie the current one stays in place.
    const bool savedIsNewer = IsNewer(source, target);
    const std::optional<std::string> beside =
        savedIsNewer ? WriteBeside(target, "replaced", *current.bytes, ops, why)
                     : WriteBeside(target, "earlier", *saved.bytes, ops, why);
    if (!beside) {
        why << "nothing was changed; " << source << " was kept\n";
        return Outcome::Failed;
    }
    if (savedIsNewer && WriteVerified(platform::PathFromText(target), *saved.bytes, ops, why) != Outcome::Done) {
        ops.Remove(platform::PathFromText(*beside));
        why << "nothing was changed; " << source << " was kept\n";
        return Outcome::Failed;
    }
    ops.Remove(platform::PathFromText(source));
    if (savedIsNewer)
        why << "kept the newer languages saved from the earlier installation in " << target
            << "; the older ones that were there are now " << *beside << '\n';
    else
        why << "kept the newer languages in " << target << "; the older ones saved from the earlier installation are "
            << *beside << '\n';
    return Outcome::Done;
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
