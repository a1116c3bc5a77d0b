// The jobs of the installation helpers.
#include "installhelpers/core/helpers.h"

#include <fstream>
#include <iterator>
#include <optional>
#include <system_error>

#include "installhelpers/core/conversion.h"

namespace kordel::installcore {
namespace {

bool IsFile(const std::filesystem::path& path) {
    std::error_code ec;
    return std::filesystem::is_regular_file(path, ec);
}

std::optional<std::string> ReadWholeFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) return std::nullopt;
    return bytes;
}

// Copies `from` to `to` (replacing it) by an atomic write, so a failure leaves `to` as it was.
Outcome CopyWholeFile(const std::filesystem::path& from, const std::filesystem::path& to, FileOps& ops) {
    std::optional<std::string> bytes = ReadWholeFile(from);
    if (!bytes) return Outcome::Failed;
    return WriteFileAtomically(to, *bytes, ops) ? Outcome::Done : Outcome::Failed;
}

}  // namespace

std::string EarlierDatabasePath(UninstallKeys& keys) {
    return JoinFile(CleanFolder(keys.Read(kEarlierKey, "InstallLocation")), kDatabaseName);
}

std::string CurrentDatabasePath(UninstallKeys& keys) {
    const Command uninstaller = SplitCommand(keys.Read(kCurrentKey, "UninstallString"));
    return JoinFile(DirectoryOf(uninstaller.program), kDatabaseName);
}

Outcome SaveDatabase(UninstallKeys& keys, TempFolder& temp, FileOps& ops) {
    const std::string source = EarlierDatabasePath(keys);
    if (source.empty() || !IsFile(PathFromText(source))) return Outcome::NothingToDo;
    const std::string target = JoinFile(temp.Path(), kDatabaseName);
    if (target.empty()) return Outcome::NothingToDo;
    return CopyWholeFile(PathFromText(source), PathFromText(target), ops);
}

Outcome RunQuietUninstall(UninstallKeys& keys, ProgramStarter& starter) {
    const Command command = SplitCommand(keys.Read(kEarlierKey, "QuietUninstallString"));
    if (command.program.empty()) return Outcome::NothingToDo;
    return starter.RunAndWait(command) ? Outcome::Done : Outcome::Failed;
}

Outcome RestoreDatabase(UninstallKeys& keys, TempFolder& temp, FileOps& ops) {
    const std::string source = JoinFile(temp.Path(), kDatabaseName);
    const std::string target = CurrentDatabasePath(keys);
    if (source.empty() || target.empty() || !IsFile(PathFromText(source))) return Outcome::NothingToDo;
    const Outcome copied = CopyWholeFile(PathFromText(source), PathFromText(target), ops);
    if (copied == Outcome::Done) ops.Remove(PathFromText(source));
    return copied;
}

Outcome MigrateDatabase(UninstallKeys& keys, FileOps& ops) {
    const std::string database = CurrentDatabasePath(keys);
    if (database.empty() || !IsFile(PathFromText(database))) return Outcome::NothingToDo;
    std::optional<std::string> bytes = ReadWholeFile(PathFromText(database));
    if (!bytes) return Outcome::Failed;
    if (!IsEarlierLayout(*bytes)) return Outcome::NothingToDo;
    return WriteFileAtomically(PathFromText(database), ConvertEarlierRecords(*bytes), ops) ? Outcome::Done
                                                                                           : Outcome::Failed;
}

}  // namespace kordel::installcore
