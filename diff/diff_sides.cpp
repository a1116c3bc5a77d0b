// Listing a side's files relative to its root, and reading their bytes from disk or from git.
#include "diff/diff_sides.h"

#include <algorithm>
#include <filesystem>

#include "sources/regular_file.h"
#include "common/ascii.h"
#include "engine/path_split.h"
#include "platform/files.h"

namespace kordel::diff {
namespace {

namespace fs = std::filesystem;

bool IsProjectList(const std::string& arg) {
    return EqualIgnoringCase(engine::PathExtension(arg), ".kpl");
}

// The deepest folder that holds every one of `paths` (absolute and normalised).
fs::path CommonFolder(const std::vector<fs::path>& paths) {
    if (paths.empty()) return {};
    fs::path common = paths.front().parent_path();
    for (const fs::path& p : paths) {
        fs::path shared;
        auto a = common.begin();
        const fs::path folder = p.parent_path();
        for (auto b = folder.begin(); a != common.end() && b != folder.end() && *a == *b; ++a, ++b) shared /= *a;
        common = shared;
    }
    return common;
}

void SortAndDedupe(std::vector<SideFile>& files) {
    std::stable_sort(files.begin(), files.end(),
                     [](const SideFile& a, const SideFile& b) { return a.relative < b.relative; });
    files.erase(std::unique(files.begin(), files.end(),
                            [](const SideFile& a, const SideFile& b) { return a.relative == b.relative; }),
                files.end());
}

}  // namespace

std::string LargerThanLimit(std::uint64_t size) {
    return "larger than --max-file-size (" + std::to_string(size) + " bytes)";
}

bool SideBytes::Load(const Side& side, const SideFile& file, std::string& reason, const vcs::RevisionReader* repository) {
    if (file.blob) {
        const vcs::RevisionReader& from = repository ? *repository : *side.repository;
        // The size stands in the object's header: a blob over the limit is never inflated.
        if (side.maxFileSize > 0) {
            const std::optional<std::uint64_t> size = from.BlobSize(*file.blob);
            if (size && *size > side.maxFileSize) {
                reason = LargerThanLimit(*size);
                return false;
            }
        }
        if (!m_blob.Open(from, *file.blob, m_reader)) {
            reason = m_blob.Damaged().value_or("unreadable");
            return false;
        }
        m_streamed = true;
        return true;
    }
    switch (sources::ReadRegularFile(file.path, m_owned, side.maxFileSize)) {
        case sources::ReadStatus::Ok:
            return true;
        case sources::ReadStatus::Missing:
            reason = "missing";
            return false;
        case sources::ReadStatus::NotRegular:
            reason = "not a regular file";
            return false;
        case sources::ReadStatus::Unreadable:
            reason = "unreadable";
            return false;
        case sources::ReadStatus::TooLarge:
            reason = LargerThanLimit(platform::GetPathInfo(file.path).size);
            return false;
    }
    return false;
}

std::string_view SideBytes::Start() { return m_streamed ? m_reader.Buffered() : std::string_view(m_owned); }

std::optional<std::string_view> SideBytes::Whole() const {
    if (m_streamed) return std::nullopt;
    return std::string_view(m_owned);
}

bool SideBytes::Count(engine::LineClassifier& classifier, engine::FileCounts& counts, engine::BufferLines* lines,
                      std::string& reason) {
    if (!m_streamed) {
        counts = engine::CountBuffer(m_owned, classifier, false, lines);
        return true;
    }
    // The lines of a blob take about its size: room for them is made once, by the size in its header.
    const std::uint64_t size = m_blob.Size().value_or(0);
    if (lines) lines->text.reserve(static_cast<std::size_t>(size + size / 32 + 1));
    counts = engine::CountReader(m_reader, classifier, false, lines);
    if (std::optional<std::string> damaged = m_blob.Damaged()) {
        reason = std::move(*damaged);
        return false;
    }
    return true;
}

bool ListRevisionFiles(const vcs::RevisionReader& repository, const vcs::RevisionSpec& spec, const SideContext& context,
                       std::vector<vcs::RevisionFile>& files, std::string& error, bool* namedFile) {
    return repository.ListFiles(spec, RevisionWanted(context), context.filters.ignoreFiles, files, error, namedFile);
}

vcs::RevisionReader::Wanted RevisionWanted(const SideContext& context) {
    auto collector = std::make_shared<const sources::FileCollector>(context.filters, context.known);
    return [collector](const std::string& relative, bool isFolder) {
        return isFolder ? !collector->ExcludedFolder(relative) : collector->Accepts(platform::PathFromText(relative));
    };
}

bool MakeSide(const std::string& arg, const SideContext& context, Side& side, std::string& error) {
    side = Side{};
    side.name = arg;
    side.maxFileSize = context.maxFileSize;
    if (const std::optional<vcs::RevisionSpec> spec = vcs::ParseRevisionSpec(arg)) {
        std::shared_ptr<vcs::RevisionReader> repository = vcs::RevisionReader::Open(platform::PathFromText(context.repositoryFolder), error);
        if (!repository) return false;
        std::vector<vcs::RevisionFile> listed;
        if (!ListRevisionFiles(*repository, *spec, context, listed, error, &side.singleFile)) return false;
        side.walked = !side.singleFile;
        for (vcs::RevisionFile& f : listed) side.files.push_back({std::move(f.relative), {}, f.blob});
        side.repository = std::move(repository);
        return true;
    }
    std::error_code ec;
    if (IsProjectList(arg) && platform::GetPathInfo(arg).kind != platform::PathKind::Folder) {
        std::vector<std::string> paths;
        projects::ListState state;
        projects::GetProject(platform::PathFromText(arg), paths, state, *context.listQuestions);
        if (state.openFailed) {
            error = "Could not read the project list \"" + arg + "\"";
            return false;
        }
        std::vector<fs::path> absolute;
        for (const std::string& p : paths) absolute.push_back(fs::absolute(platform::PathFromText(p), ec).lexically_normal());
        const fs::path root = CommonFolder(absolute);
        for (std::size_t i = 0; i < paths.size(); ++i)
            side.files.push_back({platform::GenericPathText(absolute[i].lexically_relative(root)), paths[i], std::nullopt});
        SortAndDedupe(side.files);
        return true;
    }
    const fs::path argPath = platform::PathFromText(arg);
    if (fs::is_directory(argPath, ec)) {
        sources::FileCollector collector(context.filters, context.known);
        side.walked = true;
        std::vector<std::string> paths;
        collector.WalkFolder(argPath, paths, [&](const std::string& folder, std::size_t found) {
            if (context.progress) context.progress->Walking(found, folder);
        });
        for (std::string& p : paths)
            side.files.push_back({platform::GenericPathText(platform::PathFromText(p).lexically_relative(argPath)), std::move(p), std::nullopt});
        SortAndDedupe(side.files);
        return true;
    }
    if (!fs::exists(argPath, ec)) {
        error = "\"" + arg + "\" does not exist.";
        return false;
    }
    side.singleFile = true;
    side.files.push_back({platform::GenericPathText(argPath.filename()), arg, std::nullopt});
    return true;
}

}  // namespace kordel::diff
