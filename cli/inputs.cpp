// Walking, listing and reading the inputs of a run.
#include "cli/inputs.h"

#include <filesystem>

#include "cli/git_repo.h"
#include "cli/path_list.h"
#include "common/ascii.h"
#include "engine/path_split.h"

namespace kordel::cli {
namespace {

namespace fs = std::filesystem;

bool IsProjectListArg(const std::string& arg) {
    std::error_code ec;
    return EqualIgnoringCase(engine::PathExtension(arg), ".kpl") && !fs::is_directory(arg, ec);
}

}  // namespace

Inputs CollectInputs(const Options& options, FileCollector& collector, std::istream& stdinStream, Progress& progress,
                     projects::ListQuestions& listQuestions) {
    Inputs inputs;
    std::vector<std::string> entries = options.inputs;
    if (!options.listFile.empty()) {
        const PathList listed =
            options.listFile == "-" ? ReadPathList(stdinStream) : ReadPathListFile(options.listFile);
        if (!listed.ok) {
            progress.Error(listed.error);
            inputs.ok = false;
            return inputs;
        }
        entries.insert(entries.end(), listed.paths.begin(), listed.paths.end());
    }
    const auto onFolder = [&](const std::string& folder, std::size_t found) { progress.Walking(found, folder); };
    for (const std::string& entry : entries) {
        std::error_code ec;
        if (IsProjectListArg(entry)) {
            projects::GetProject(entry, inputs.paths, inputs.listState, listQuestions);
            if (inputs.listState.openFailed) {
                inputs.ok = false;
                return inputs;
            }
            if (inputs.projectName.empty()) inputs.projectName = inputs.listState.PN;
        } else if (!fs::is_directory(entry, ec)) {
            inputs.paths.push_back(entry);
        } else if (options.vcs == "git") {
            onFolder(entry, inputs.paths.size());
            std::string error;
            const std::unique_ptr<GitRepo> repo = GitRepo::Open(entry, error);
            const std::optional<std::string> relative =
                repo ? repo->Relative(fs::canonical(entry, ec)) : std::nullopt;
            const auto files = relative ? repo->ListFiles(*relative) : std::nullopt;
            if (!files) {
                progress.Error(repo ? "the files of the git repository of \"" + entry + "\" cannot be listed"
                                    : error);
                inputs.ok = false;
                return inputs;
            }
            collector.AddListed(entry, *files, inputs.paths);
        } else {
            collector.WalkFolder(entry, inputs.paths, onFolder);
        }
    }
    return inputs;
}

}  // namespace kordel::cli
