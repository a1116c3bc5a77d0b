// kordelc: the options read once, the user languages and --map checked, then one command per mode:
// list the languages, count, diff, history or sum.
#include "cli/kordelc.h"

#include <filesystem>
#include <sstream>

#include "cli/count_command.h"
#include "cli/diff_command.h"
#include "cli/history_command.h"
#include "cli/sum_command.h"
#include "common/ascii.h"
#include "engine/dispatch.h"
#include "engine/language_resolver.h"
#include "engine/path_split.h"
#include "platform/files.h"
#include "sources/languages.h"
#include "sources/walk.h"
#include "userlang/custom_counter.h"
#include "userlang/db_location.h"

namespace kordel::cli {
namespace {

namespace fs = std::filesystem;
using namespace kordel::engine;

sources::FileFilters FiltersOf(const Options& o) {
    sources::FileFilters filters;
    if (o.noDefaultExcludes) filters.excludedDirs.clear();
    filters.excludedDirs.insert(filters.excludedDirs.end(), o.excludeDirs.begin(), o.excludeDirs.end());
    filters.excludeGlobs = o.excludeGlobs;
    filters.includeExts = sources::SplitExtensions(o.includeExt);
    filters.excludeExts = sources::SplitExtensions(o.excludeExt);
    filters.followSymlinks = o.followSymlinks;
    filters.ignoreFiles = !o.noIgnore;
    return filters;
}

// --map: extension (lower case) to the extension whose language counts it.
using ExtensionMap = std::vector<std::pair<std::string, std::string>>;

ExtensionMap MapsOf(const Options& o) {
    ExtensionMap maps;
    for (const std::string& map : o.maps) {
        const std::size_t eq = map.find('=');
        maps.emplace_back(AsciiLowered(map.substr(0, eq)), map.substr(eq + 1));
    }
    return maps;
}

// The extension that picks a path's language: the last --map for its own extension, or that one.
std::string DispatchExtension(std::string_view path, const ExtensionMap& maps) {
    const std::string_view own = PathExtension(path);
    const std::string lower = AsciiLowered(own);
    for (auto it = maps.rbegin(); it != maps.rend(); ++it)
        if (it->first == lower) return it->second;
    return std::string(own);
}

CountOptions CountOptionsOf(const Options& o) {
    CountOptions options;
    options.cnoml = o.mixedAsBoth;
    options.cblib = o.blankInBlock;
    options.sps = o.percent;
    options.dotf = o.fortran77 ? 1 : 0;
    options.knownLanguages = !o.builtinOnly;
    return options;
}

}  // namespace

int Run(int argc, char** argv, std::ostream& out, std::ostream& err) { return Run(argc, argv, out, err, Console{}); }

int Run(int argc, char** argv, std::ostream& out, std::ostream& err, const Console& console) {
    int exitCode = 0;
    const std::optional<Options> parsed = ParseOptions(argc, argv, out, err, exitCode);
    if (!parsed) return exitCode;
    const Options& o = *parsed;
    const CountOptions options = CountOptionsOf(o);

    Progress progress(err, console.errIsTerminal, o.quiet, console.errWidth);
    // Without --languages the default database is used when there is one.
    const fs::path db = o.languagesDb.empty() ? userlang::DefaultUDLangDbPath() : platform::PathFromText(o.languagesDb);
    const userlang::DbContents userLanguages = userlang::ReadUDLangDb(db);
    if (userLanguages.status == userlang::DbStatus::Unreadable)
        progress.Warn(std::string(userlang::kOpenDbMessage) + " (" + platform::PathText(db) + ")");
    if (o.listLanguages) {
        progress.Stop();
        out << sources::LanguageListing(userLanguages.languages, platform::PathText(db), options.knownLanguages);
        return 0;
    }
    // The database read above serves the folder walks and the count: one read per run.
    const userlang::DatabaseLanguages lookup(db, [&](const fs::path&) { return userLanguages; });
    const userlang::ExtensionIndex userExtensions(userLanguages.languages);
    const auto userKnows = [&](std::string_view ext) { return userExtensions.Find(ext) != nullptr; };
    const ExtensionMap maps = MapsOf(o);
    for (const auto& [from, to] : maps) {
        if (!IsCountableName("x" + to, to, options, userKnows, false)) {
            err << "kordelc: --map " << from << "=" << to << ": no language knows " << to
                << "\nRun 'kordelc --list-languages' for the languages.\n";
            return 2;
        }
    }

    // Walks take files of a known language by name, and other files for their #! line.
    const sources::KnownName knownMapped = [&](std::string_view fileName) {
        return IsCountableName(fileName, DispatchExtension(fileName, maps), options, userKnows, true);
    };
    BatchListQuestions listQuestions(progress);
    const diff::SideContext context{
        FiltersOf(o), knownMapped, [&](std::string_view path) { return DispatchExtension(path, maps); },
        ".",          &progress,   &listQuestions,
        o.maxFileSize};
    if (!o.diff.empty()) return RunDiff(o, options, lookup, context, console, progress, out);
    if (o.history) return RunHistory(o, options, lookup, userLanguages.languages, context, console, progress, out);
    std::istringstream noInput;
    std::istream& input = console.in ? *console.in : noInput;
    if (o.sum) return RunSum(o, input, console, progress, out);
    const sources::KnownName knownByName = [&](std::string_view fileName) {
        return IsCountableName(fileName, DispatchExtension(fileName, maps), options, userKnows, false);
    };
    return RunCount(
        {o, options, lookup, userLanguages.languages, context, knownByName, console, progress, listQuestions, input, out});
}

}  // namespace kordel::cli
