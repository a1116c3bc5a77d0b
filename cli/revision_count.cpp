// A revision's blobs through the counters, bytes in memory.
#include "cli/revision_count.h"

#include "cli/file_language.h"
#include "engine/line_categories.h"
#include "engine/path_split.h"

namespace kordel::cli {

bool CountRevision(const RevisionSpec& spec, const SideContext& context, const engine::CountOptions& options,
                   const engine::UserLanguageLookup* userLanguages, std::vector<Row>& rows,
                   std::vector<Skipped>& skipped, std::string& error) {
    const std::unique_ptr<Repository> repository = Repository::Open(context.repositoryFolder, error);
    if (!repository) return false;
    std::vector<RevisionFile> files;
    bool namedFile = false;
    if (!ListRevisionFiles(*repository, spec, context, files, error, &namedFile)) return false;
    // "REV:path" as git itself names a file of a revision.
    std::string prefix = spec.rev + ":";
    if (!spec.path.empty()) {
        const std::size_t slash = spec.path.rfind('/');
        prefix += namedFile ? (slash == std::string::npos ? "" : spec.path.substr(0, slash + 1)) : spec.path + "/";
    }
    std::size_t done = 0;
    for (const RevisionFile& file : files) {
        const std::string path = prefix + file.relative;
        if (context.progress) context.progress->Counting(done++, files.size(), path);
        const std::string ext = context.extensionOf(file.relative);
        std::optional<FileLanguage> language = LanguageOf(ext, options, userLanguages);
        if (!language || !language->classifier) {
            skipped.push_back({path, "unknown extension"});
            continue;
        }
        Row row{path, false, {}, std::move(language->name)};
        const BlobBytes bytes = repository->ReadBlob(file.blob);
        if (!bytes.ok()) {
            skipped.push_back({path, "unreadable"});
            continue;
        }
        row.counts = engine::CountBuffer(bytes.view(), *language->classifier, options.cnoml);
        row.counted = true;
        rows.push_back(std::move(row));
    }
    return true;
}

}  // namespace kordel::cli
