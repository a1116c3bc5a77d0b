// The count run: each row in order, prompts through the observer, totals and the closing message.
#include "engine/count_run.h"

#include <chrono>
#include <exception>

#include "engine/dispatch.h"
#include "engine/file_counter.h"
#include "engine/path_split.h"

namespace kordel::engine {

const char* const kCrashMessage =
    "Kordel has crashed and must close!  PLEASE e-mail Brevlane about this problem, stating as much "
    "information as possible.  Include what operating system you are running, how many files you were "
    "counting, and what you were doing to make it crash.  This helps us to create a better release in the "
    "future.  Thanks!";

std::string MissingMessage(const std::string& path) { return "\"" + path + "\" does not exist."; }

std::string OpenForReadingMessage(const std::string& path) {
    return "Could not open \"" + path +
           "\" for reading.  Make sure that all programs that may be using this file are closed.";
}

std::string UnknownExtensionMessage(const std::string& ext) {
    return "The extension " + ext +
           " is unknown and could not be found in the User Defined Language Database.  Please add this "
           "extension to the User Defined Language Database.";
}

std::string CompletedMessage(long long seconds) {
    return "Kordel completed in " + std::to_string(seconds) + (seconds == 1 ? " second." : " seconds.");
}

namespace {

// Counts one row's file with its prompts; false when the user cancelled during the file.
bool CountRow(std::size_t row, std::size_t n, const std::string& path, LineClassifier& classifier,
              const CountOptions& options, std::atomic<int>& canc, RunObserver& observer, RunResult& result) {
    for (;;) {
        if (canc.load() == 1) return false;
        observer.SetStatus("Counting source file " + std::to_string(row + 1) + " of " + std::to_string(n));
        FileOutcome outcome = CountFile(path, classifier, options.cnoml, canc);
        switch (outcome.status) {
            case FileStatus::Missing:
                if (observer.AskMissing(MissingMessage(path))) continue;
                return true;  // skipped: row unchanged, nothing added
            case FileStatus::OpenFailed:
            case FileStatus::NotRegular:
                if (observer.AskOpenFailed(OpenForReadingMessage(path))) continue;
                outcome.counts = {};
                [[fallthrough]];
            case FileStatus::Counted:
                observer.WriteRow(row, RowCellTexts(outcome.counts, options.sps));
                result.totals.Add(outcome.counts);
                result.counts[row] = outcome.counts;
                result.counted[row] = true;
                return true;
            case FileStatus::Cancelled:
                return false;
        }
    }
}

}  // namespace

RunResult CountLineT(const std::vector<std::string>& paths, const CountOptions& options, std::atomic<int>& canc,
                     RunObserver& observer) {
    RunResult result;
    const auto start = std::chrono::steady_clock::now();
    try {
        const std::size_t n = paths.size();
        result.counts.assign(n, {});
        result.counted.assign(n, false);
        const double step = n == 0 ? 0.0 : 100.0 / static_cast<double>(n);
        double progress = 0.0;
        bool cancelledInFile = false;
        for (std::size_t r = 0; r < n; ++r) {
            if (canc.load() == 1) break;
            const std::string& path = paths[r];
            const std::string ext(PathExtension(path));
            const BuiltinLanguage* language = FindBuiltin(ext, options.dotf);
            if (!language) {
                if (!observer.AskUnknownExtension(UnknownExtensionMessage(ext))) break;
            } else {
                auto classifier = language->make(options);
                cancelledInFile = !CountRow(r, n, path, *classifier, options, canc, observer, result);
            }
            progress += step;
            observer.SetProgress(static_cast<int>(progress));
            if (cancelledInFile) break;
        }
        if (!cancelledInFile) observer.WriteTotals(MakeTotalsTexts(result.totals));
        result.cancelled = canc.load() == 1;
        if (result.cancelled) {
            observer.Finished(kCanceledMessage, false);
        } else {
            const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                std::chrono::steady_clock::now() - start).count();
            observer.Finished(CompletedMessage(ms / 1000), false);
        }
    } catch (const std::exception&) {
        result.crashed = true;
        observer.Finished(kCrashMessage, true);
    }
    return result;
}

}  // namespace kordel::engine
