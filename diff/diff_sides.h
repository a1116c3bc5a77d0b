// The two sides of --diff: a folder, a project list, one file or a git revision, as files under a root.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/line_categories.h"
#include "engine/text_reader.h"
#include "sources/activity.h"
#include "sources/walk.h"
#include "vcs/revision.h"
#include "projects/project_list.h"

namespace kordel::diff {

/// One file of a side: its path below the side's root (with "/"), and where its bytes are.
struct SideFile {
    std::string relative;
    std::string path;             ///< on disk; empty for a file of a revision
    std::optional<vcs::BlobId> blob;   ///< the file's blob when it comes from a revision
};

struct Side {
    std::string name;                 ///< as written on the command line
    std::vector<SideFile> files;      ///< sorted by `relative`, each relative path once
    std::shared_ptr<const vcs::RevisionReader> repository;  ///< set for a revision
    bool singleFile = false;          ///< the side named one file
    bool walked = false;              ///< its files were found in a folder or a revision's tree
    std::uint64_t maxFileSize = 0;    ///< files (and blobs) larger than this are not read; 0: no limit
};

/// The bytes of one file of a side: a file on disk is read whole, a revision's blob piece by piece as
/// it is counted (see BlobStream).
class SideBytes {
public:
    /// Opens the file (a revision's blob through `repository` when given, else through the side's);
    /// on failure answers false with a reason ("missing", "unreadable", ...).
    bool Load(const Side& side, const SideFile& file, std::string& reason, const vcs::RevisionReader* repository = nullptr);
    /// The first bytes (all of a file on disk, the first read buffer of a blob), for a #! line.
    std::string_view Start();
    /// All the bytes, when they are held (a file on disk); nothing for a blob.
    std::optional<std::string_view> Whole() const;
    /// Counts the bytes, once, with the lines when `lines` is given; false with `reason` when a blob
    /// turns out damaged as it is read.
    bool Count(engine::LineClassifier& classifier, engine::FileCounts& counts, engine::BufferLines* lines,
               std::string& reason);

private:
    std::string m_owned;
    bool m_streamed = false;
    vcs::BlobStream m_blob;
    engine::TextModeReader m_reader;
};

/// Everything a side needs to find its files and to pick their languages.
struct SideContext {
    sources::FileFilters filters;
    sources::KnownName known;
    /// The extension whose language counts a path (its own, or another one given by --map).
    std::function<std::string(std::string_view path)> extensionOf;
    std::string repositoryFolder = ".";  ///< where revisions are looked up
    sources::Activity* progress = nullptr;
    projects::ListQuestions* listQuestions = nullptr;
    std::uint64_t maxFileSize = 0;  ///< --max-file-size; 0: no limit
};

/// The reason given for a file left out by --max-file-size.
std::string LargerThanLimit(std::uint64_t size);

/// Lists the files of the side `arg` names. A project list's root is the deepest folder holding all
/// its files. Answers false with `error` set when the side can't be read.
bool MakeSide(const std::string& arg, const SideContext& context, Side& side, std::string& error);

/// The files of a revision that pass the filters, as a folder walk with the same filters would take them.
bool ListRevisionFiles(const vcs::RevisionReader& repository, const vcs::RevisionSpec& spec, const SideContext& context,
                       std::vector<vcs::RevisionFile>& files, std::string& error, bool* namedFile = nullptr);

/// Which files and folders of a revision the filters take (the test of ListRevisionFiles).
vcs::RevisionReader::Wanted RevisionWanted(const SideContext& context);

}  // namespace kordel::diff
