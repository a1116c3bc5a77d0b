// Walking, listing and reading the inputs of a run.
#include "sources/inputs.h"

#include <algorithm>
#include <filesystem>

#include "vcs/work_tree.h"
#include "sources/path_list.h"
#include "common/ascii.h"
#include "engine/path_split.h"
#include "platform/files.h"
#include "projects/list_order.h"

namespace kordel::sources {
namespace {

namespace fs = std::filesystem;

bool IsProjectListArg(const std::string& arg) {
    return EqualIgnoringCase(engine::PathExtension(arg), ".kpl") &&
           platform::GetPathInfo(arg).kind != platform::PathKind::Folder;
}

void NoteNamed(Inputs& inputs, const KnownName& knownByName, const std::string& path) {
    if (!knownByName(platform::PathText(platform::PathFromText(path).filename()))) inputs.namedUnknown.insert(path);
}

}  // namespace

Inputs CollectInputs(const InputList& options, FileCollector& collector, const KnownName& knownByName,
                     std::istream& stdinStream, Activity& progress, projects::ListQuestions& listQuestions) {
    Inputs inputs;
    const auto onFolder = [&](const std::string& folder, std::size_t found) { progress.Walking(found, folder); };
    // A list names its files mostly folder by folder: each is looked at from its folder's handle.
    platform::RecentFolder recent;
    // The PATHs, then the listed entries; false when the entry stops the run.
    const auto take = [&](const std::string& entry) {
        std::error_code ec;
        if (IsProjectListArg(entry)) {
            std::vector<std::string> listedInProject;
            projects::GetProject(platform::PathFromText(entry), listedInProject, inputs.listState, listQuestions);
            if (inputs.listState.openFailed) return false;
            // In the order the desktop programs show the list: by path, whatever the file's order.
            std::stable_sort(listedInProject.begin(), listedInProject.end(),
                             [](const std::string& a, const std::string& b) { return projects::PathBefore(a, b); });
            for (const std::string& path : listedInProject) {
                inputs.paths.Add(path);
                NoteNamed(inputs, knownByName, path);
            }
            if (inputs.projectName.empty()) inputs.projectName = inputs.listState.PN;
        } else if (platform::GetPathInfo(entry, &recent).kind != platform::PathKind::Folder) {
            inputs.paths.Add(entry);
            NoteNamed(inputs, knownByName, entry);
        } else if (options.gitFiles) {
            onFolder(entry, inputs.paths.size());
            std::string error;
            const std::unique_ptr<vcs::WorkTree> repo = vcs::WorkTree::Open(platform::PathFromText(entry), error);
            const std::optional<std::string> relative =
                repo ? repo->Relative(fs::canonical(platform::PathFromText(entry), ec)) : std::nullopt;
            const auto files = relative ? repo->ListFiles(*relative) : std::nullopt;
            if (!files) {
                progress.Error(repo ? "the files of the git repository of \"" + entry + "\" cannot be listed"
                                    : error);
                return false;
            }
            collector.AddListed(platform::PathFromText(entry), *files, inputs.paths);
        } else {
            collector.WalkFolder(platform::PathFromText(entry), inputs.paths, onFolder);
        }
        return true;
    };
    for (const std::string& entry : options.paths) {
        if (!take(entry)) {
            inputs.ok = false;
            return inputs;
        }
    }
    if (options.listFile.empty()) return inputs;
    // The listed entries are taken as they are read.
    bool stopped = false;
    const PathSink onPath = [&](const std::string& entry) {
        stopped = !take(entry);
        return !stopped;
    };
    const PathList listed =
        options.listFile == "-" ? ReadPathList(stdinStream, onPath) : ReadPathListFile(options.listFile, onPath);
    if (!listed.ok) progress.Error(listed.error);
    inputs.ok = listed.ok && !stopped;
    return inputs;
}

}  // namespace kordel::sources
