// The --diff run: both sides listed, paired and counted, then printed or written.
#include "cli/diff_command.h"
#include "vcs/git_repository.h"

#include <algorithm>

#include "outputs/diff_output.h"
#include "diff/diff_run.h"
#include "common/atomic_file.h"
#include "common/file_messages.h"
#include "platform/files.h"

namespace kordel::cli {

int RunDiff(const Options& o, const engine::CountOptions& options, const engine::UserLanguageLookup& userLanguages,
            const diff::SideContext& context, const Console& console, Progress& progress, std::ostream& out) {
    if (!vcs::GitSupported()) {
        progress.Error("--diff needs git support (libgit2), which this kordelc was built without");
        return 2;
    }
    diff::Side sides[2];
    for (int i = 0; i < 2; ++i) {
        std::string error;
        if (!diff::MakeSide(o.diff[static_cast<std::size_t>(i)], context, sides[i], error)) {
            progress.Error(error);
            return 2;
        }
    }
    const diff::DiffReport report =
        diff::DiffSides(sides[0], sides[1], options, &userLanguages, context.extensionOf, &progress, o.jobs);
    for (const sources::Skipped& s : report.skipped) progress.Warn("\"" + s.path + "\" skipped: " + s.reason);
    outputs::DiffOutputStyle style;
    style.format = o.format;
    style.byFile = o.byFile;
    style.aligned = console.outIsTerminal && o.output.empty();
    style.width = console.outWidth;
    const std::string text = outputs::RenderDiff(report, style);
    progress.Stop();
    // CSV has CR LF line ends wherever it goes, like the CSV report; files are written with CR LF.
    if (o.output.empty()) {
        out << text;
    } else if (!WriteFileAtomically(platform::PathFromText(o.output),
                                    o.format == outputs::Format::Csv ? text : ToCrLf(text))) {
        progress.Error(OpenForWritingMessage(o.output));
        return 1;
    }
    // Files left out by --max-file-size were left out on purpose, as in a plain count.
    const bool failed = std::any_of(report.skipped.begin(), report.skipped.end(), [](const sources::Skipped& s) {
        return !s.reason.starts_with("larger than --max-file-size");
    });
    return failed ? 1 : 0;
}

}  // namespace kordel::cli
