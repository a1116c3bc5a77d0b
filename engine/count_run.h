// The count run over a list of paths, reporting to an observer and asking it the run's questions.
#pragma once

#include <atomic>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/classifier.h"
#include "engine/number_text.h"
#include "engine/results.h"

namespace kordel::engine {

/// What the run shows and asks. The GUI implements it with windows; tests and kordelc with scripts.
class RunObserver {
public:
    virtual ~RunObserver() = default;
    /// The run takes row `row` (0-based, in list order) next; every other call about that row follows.
    /// Observers that show only texts leave it alone.
    virtual void StartRow(std::size_t /*row*/) {}
    virtual void SetStatus(const std::string& text) = 0;
    virtual void WriteRow(std::size_t row, const std::vector<std::string>& cells) = 0;
    virtual void WriteTotals(const TotalsTexts& totals) = 0;
    virtual void SetProgress(int percent) = 0;
    /// "\"%s\" does not exist.": true = OK (look again), false = Cancel (skip the file).
    virtual bool AskMissing(const std::string& message) = 0;
    /// "Could not open ... for reading.": true = OK (retry), false = Cancel (zeros).
    virtual bool AskOpenFailed(const std::string& message) = 0;
    /// Unknown extension: true = OK (skip the file), false = Cancel (stop the run).
    virtual bool AskUnknownExtension(const std::string& message) = 0;
    /// The closing message ("Kordel completed in ...", "The process was canceled.", the crash text).
    virtual void Finished(const std::string& message, bool isError) = 0;
    /// A row was counted (or written with zeros after an open failure): its counts, and the name of
    /// the user language or the table's language that counted it (empty for a built-in one). Rows
    /// arrive in list order.
    virtual void RowCounted(std::size_t row, const FileCounts& counts, const std::string& userLanguage) {
        (void)row, (void)counts, (void)userLanguage;
    }
    /// A row that the list allowed to leave out (RunFiles::MayLeaveOut) named no language in its "#!"
    /// line: nothing was counted and nobody asked.
    virtual void RowLeftOut(std::size_t row) { (void)row; }
};

/// A user-defined language that claims an extension: its name and a classifier with its rules.
struct UserLanguageMatch {
    std::string name;
    std::unique_ptr<LineClassifier> classifier;
};

/// Finds user-defined languages for extensions the built-in table lacks. One call is one lookup,
/// so the answer cannot change between "is it there" and "what are its rules".
class UserLanguageLookup {
public:
    virtual ~UserLanguageLookup() = default;
    /// The language that claims `extension` (dot included), or nothing.
    virtual std::optional<UserLanguageMatch> Find(std::string_view extension, const CountOptions& options) const = 0;
};

/// The files of a run, read by row from the run and from its read-ahead threads at once.
class RunFiles {
public:
    virtual ~RunFiles() = default;
    virtual std::size_t size() const = 0;
    virtual std::string Path(std::size_t row) const = 0;
    /// The extension that picks the row's language (the path's own, unless the caller maps it).
    virtual std::string Extension(std::size_t row) const = 0;
    /// The path whose file name the table of further languages looks at (the shown one, when the
    /// counted file is a copy).
    virtual std::string Name(std::size_t row) const { return Path(row); }
    /// True when the row came from a folder walk only for its "#!" line: if that names no language,
    /// the row is left out without a question.
    virtual bool MayLeaveOut(std::size_t /*row*/) const { return false; }
};

struct RunResult {
    RunTotals totals;
    /// Per row, unless the run was told not to keep them (the observer hears of each row instead).
    std::vector<FileCounts> counts;   ///< meaningful where `counted` is set
    std::vector<bool> counted;
    std::vector<std::string> languages;  ///< per counted row: the user or table language's name, empty for built-ins
    bool cancelled = false;
    bool crashed = false;
};

std::string MissingMessage(const std::string& path);
std::string OpenForReadingMessage(const std::string& path);
std::string UnknownExtensionMessage(const std::string& ext);
std::string CompletedMessage(long long seconds);
inline constexpr const char* kCanceledMessage = "The process was canceled.";
extern const char* const kCrashMessage;

/// Counts every path in order. `canc` may be set to 1 from another thread to stop the run.
/// With `jobs` > 1 files are read ahead on that many threads; rows, questions and totals still
/// reach the observer in list order, exactly as with one job. Extensions the built-in table lacks
/// go to `userLanguages` (none when it is null), then, with `options.knownLanguages`, to the table of
/// further languages (LanguageResolver has the order). `extensions`, when
/// given, holds per path the extension that picks its language instead of the path's own.
RunResult CountLineT(const std::vector<std::string>& paths, const CountOptions& options, std::atomic<int>& canc,
                     RunObserver& observer, unsigned jobs = 1, const UserLanguageLookup* userLanguages = nullptr,
                     const std::vector<std::string>* extensions = nullptr);

/// The same over any list of files. With `keepRows` false the result's per-row vectors stay empty,
/// so a run over millions of files holds only the rows its read-ahead window spans.
RunResult CountLineT(const RunFiles& files, const CountOptions& options, std::atomic<int>& canc,
                     RunObserver& observer, unsigned jobs, const UserLanguageLookup* userLanguages, bool keepRows);

}  // namespace kordel::engine
