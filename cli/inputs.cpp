// Walking, listing and reading the inputs of a run.
#include "cli/inputs.h"

#include <cctype>
#include <filesystem>
#include <fstream>

#include "cli/git_files.h"
#include "engine/path_split.h"

namespace kordel::cli {
namespace {

namespace fs = std::filesystem;

bool IsProjectListArg(const std::string& arg) {
    std::error_code ec;
    std::string ext(engine::PathExtension(arg));
    for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return ext == ".kpl" && !fs::is_directory(arg, ec);
}

}  // namespace

std::vector<std::string> ReadPathList(std::istream& in) {
    std::vector<std::string> paths;
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty()) paths.push_back(std::move(line));
    }
    return paths;
}

Inputs CollectInputs(const Options& options, FileCollector& collector, std::istream& stdinStream, Progress& progress,
                     projects::ListQuestions& listQuestions) {
    Inputs inputs;
    std::vector<std::string> entries = options.inputs;
    if (!options.listFile.empty()) {
        std::vector<std::string> listed;
        if (options.listFile == "-") {
            listed = ReadPathList(stdinStream);
        } else {
            std::ifstream file(options.listFile, std::ios::binary);
            if (!file) {
                progress.Error("Could not open \"" + options.listFile + "\" for reading.");
                inputs.ok = false;
                return inputs;
            }
            listed = ReadPathList(file);
        }
        entries.insert(entries.end(), listed.begin(), listed.end());
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
            const GitFiles git = ListGitFiles(entry);
            if (!git.ok) {
                progress.Error(git.error);
                inputs.ok = false;
                return inputs;
            }
            collector.AddListed(entry, git.files, inputs.paths);
        } else {
            collector.WalkFolder(entry, inputs.paths, onFolder);
        }
    }
    return inputs;
}

}  // namespace kordel::cli
