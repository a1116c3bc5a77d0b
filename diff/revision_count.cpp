// A revision's blobs through the counters, read piece by piece.
#include "diff/revision_count.h"

#include "sources/languages.h"
#include <filesystem>

#include "engine/dispatch.h"
#include "engine/language_resolver.h"
#include "engine/line_categories.h"
#include "engine/text_reader.h"
#include "engine/path_split.h"
#include "platform/files.h"

namespace kordel::diff {

namespace fs = std::filesystem;

bool CountRevision(const vcs::RevisionSpec& spec, const SideContext& context, const engine::CountOptions& options,
                   const engine::UserLanguageLookup* userLanguages, std::vector<sources::Row>& rows,
                   std::vector<sources::Skipped>& skipped, std::vector<sources::Skipped>& leftOut, std::string& error) {
    const std::unique_ptr<vcs::RevisionReader> repository =
        vcs::RevisionReader::Open(platform::PathFromText(context.repositoryFolder), error);
    if (!repository) return false;
    std::vector<vcs::RevisionFile> files;
    bool namedFile = false;
    if (!ListRevisionFiles(*repository, spec, context, files, error, &namedFile)) return false;
    // "REV:path" as git itself names a file of a revision.
    std::string prefix = spec.rev + ":";
    if (!spec.path.empty()) {
        const std::size_t slash = spec.path.rfind('/');
        prefix += namedFile ? (slash == std::string::npos ? "" : spec.path.substr(0, slash + 1)) : spec.path + "/";
    }
    const engine::LanguageResolver resolver(options, userLanguages);
    std::size_t done = 0;
    for (const vcs::RevisionFile& file : files) {
        const std::string path = prefix + file.relative;
        if (context.progress) context.progress->Counting(done++, files.size(), path);
        const std::string ext = context.extensionOf(file.relative);
        sources::Row row{path, false, {}, {}};
        std::optional<engine::ChosenLanguage> chosen = resolver.ByName(file.relative, ext);
        // A file no table knows by name is read for its #! line when the table of further languages is on.
        if (!chosen && !resolver.ReadsInterpreterLines()) {
            skipped.push_back({path, "unknown extension"});
            continue;
        }
        if (context.maxFileSize > 0) {
            const std::optional<std::uint64_t> size = repository->BlobSize(file.blob);
            if (size && *size > context.maxFileSize) {
                leftOut.push_back({path, LargerThanLimit(*size)});
                continue;
            }
        }
        // Read piece by piece as it is counted: a loose blob is never held whole.
        vcs::BlobStream blob;
        engine::TextModeReader reader;
        if (!blob.Open(*repository, file.blob, reader)) {
            if (std::optional<std::string> damaged = blob.Damaged()) {
                error = "\"" + path + "\": " + *damaged;
                return false;
            }
            skipped.push_back({path, "unreadable"});
            continue;
        }
        if (!chosen) chosen = resolver.ByInterpreterLine(reader.Buffered());
        if (!chosen) {
            // A file found in the revision's tree was listed for its #! line only and is left out; a
            // file the command line names is skipped with its reason.
            if (namedFile) skipped.push_back({path, "unknown extension"});
            continue;
        }
        row.language =
            chosen->name.empty() ? std::string(sources::BuiltinLanguageName(ext, options.dotf)) : chosen->name;
        const std::unique_ptr<engine::LineClassifier> classifier = std::move(chosen->classifier);
        row.counts = engine::CountReader(reader, *classifier, options.cnoml);
        if (std::optional<std::string> damaged = blob.Damaged()) {
            error = "\"" + path + "\": " + *damaged;
            return false;
        }
        row.counted = true;
        rows.push_back(std::move(row));
    }
    return true;
}

}  // namespace kordel::diff
