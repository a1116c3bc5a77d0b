// kordelc: the count run without questions, printed as a table or as JSON.
#include "cli/kordelc.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <optional>
#include <sstream>
#include <thread>

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include "common/atomic_file.h"
#include "engine/count_run.h"
#include "engine/dispatch.h"
#include "engine/path_split.h"
#include "kordel/version.h"
#include "projects/project_list.h"
#include "reports/report.h"
#include "userlang/custom_counter.h"
#include "userlang/db_location.h"

namespace kordel::cli {
namespace {

namespace fs = std::filesystem;
using namespace kordel::engine;

struct Skipped {
    std::string path;
    std::string reason;
};

// Answers every question of the run without asking: skip what cannot be counted, note why.
class BatchObserver final : public RunObserver {
public:
    BatchObserver(const std::vector<std::string>& paths, std::ostream& err) : m_paths(paths), m_err(err) {}

    void SetStatus(const std::string& text) override {
        // "Counting source file %d of %d": the row being counted.
        m_current = std::stoul(text.substr(21, text.find(' ', 21) - 21)) - 1;
    }
    void WriteRow(std::size_t row, const std::vector<std::string>&) override { m_written.push_back(row); }
    void WriteTotals(const TotalsTexts& totals) override { m_totals = totals; }
    void SetProgress(int) override { ++m_done; }
    bool AskMissing(const std::string& message) override { return Skip(message, "missing"); }
    bool AskOpenFailed(const std::string& message) override {
        Skip(message, "unreadable");
        return false;
    }
    bool AskUnknownExtension(const std::string& message) override {
        m_current = m_done;
        Skip(message, "unknown extension");
        return true;
    }
    void Finished(const std::string& message, bool isError) override {
        if (isError) m_err << message << '\n';
    }

    const std::vector<Skipped>& skipped() const { return m_skipped; }
    const TotalsTexts& totals() const { return m_totals; }

private:
    bool Skip(const std::string& message, const char* reason) {
        m_err << "kordelc: " << message << '\n';
        m_skipped.push_back({m_paths[m_current], reason});
        return false;
    }

    const std::vector<std::string>& m_paths;
    std::ostream& m_err;
    std::size_t m_current = 0;
    std::size_t m_done = 0;
    std::vector<std::size_t> m_written;
    std::vector<Skipped> m_skipped;
    TotalsTexts m_totals;
};

// Reads project lists without asking: missing files are skipped and every message goes to `err`.
class BatchListQuestions final : public projects::ListQuestions {
public:
    explicit BatchListQuestions(std::ostream& err) : m_err(err) {}
    void ShowError(const std::string& message) override { m_err << "kordelc: " << message << '\n'; }
    bool AskRetryRead(const std::string& message) override { return Say(message, false); }
    bool AskRetryWrite(const std::string& message) override { return Say(message, false); }
    bool AskMissing(const std::string& message) override { return Say(message, true); }
    bool AskYesNo(const std::string&) override { return false; }
    std::optional<std::string> AskProjectName() override { return std::nullopt; }

private:
    bool Say(const std::string& message, bool answer) {
        ShowError(message);
        return answer;
    }
    std::ostream& m_err;
};

class BatchReportQuestions final : public reports::ReportQuestions {
public:
    bool AskRetryWrite(const std::string&) override { return false; }
};

bool IsProjectListArg(const std::string& arg) {
    std::error_code ec;
    std::string ext(PathExtension(arg));
    for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return ext == ".kpl" && !fs::is_directory(arg, ec);
}

// Adds a file given by name, or every file of a folder (sorted) whose extension the table or a
// user language knows.
void CollectPaths(const std::string& arg, int dotf, const std::vector<userlang::UserLanguage>& userLanguages,
                  std::vector<std::string>& out) {
    std::error_code ec;
    if (!fs::is_directory(arg, ec)) {
        out.push_back(arg);
        return;
    }
    std::vector<std::string> found;
    for (auto it = fs::recursive_directory_iterator(arg, fs::directory_options::skip_permission_denied, ec);
         !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
        if (!it->is_regular_file(ec)) continue;
        const std::string path = it->path().string();
        const std::string_view ext = PathExtension(path);
        if (IsBuiltinExtension(ext, dotf) || userlang::FindCustomExtension(userLanguages, ext)) found.push_back(path);
    }
    std::sort(found.begin(), found.end());
    out.insert(out.end(), found.begin(), found.end());
}

std::string Table(const std::vector<std::string>& paths, const RunResult& result, const TotalsTexts& totals,
                  bool sps) {
    std::ostringstream table;
    table << (sps ? "Path\tCode\t%Code\tComment\t%Comment\tMixed\t%Mixed\tBlank\t%Blank\tLines\n"
                  : "Path\tCode\tComment\tMixed\tBlank\tLines\n");
    for (std::size_t i = 0; i < paths.size(); ++i) {
        if (!result.counted[i]) continue;
        table << paths[i];
        for (const std::string& cell : RowCellTexts(result.counts[i], sps)) table << '\t' << cell;
        table << '\n';
    }
    table << "Total\t" << totals.code << '\t' << totals.comment << '\t' << totals.mixed << '\t' << totals.blank
          << '\t' << totals.lines << '\n';
    return table.str();
}

std::string Json(const std::string& name, const std::vector<std::string>& paths, const RunResult& result,
                 const std::vector<Skipped>& skipped, int dotf) {
    nlohmann::ordered_json files = nlohmann::ordered_json::array();
    std::size_t fileCount = 0;
    for (std::size_t i = 0; i < paths.size(); ++i) {
        if (!result.counted[i]) continue;
        ++fileCount;
        const FileCounts& c = result.counts[i];
        const BuiltinLanguage* lang = FindBuiltin(PathExtension(paths[i]), dotf);
        files.push_back({{"path", paths[i]}, {"language", lang ? std::string(lang->language) : result.languages[i]}, {"code", c.ii},
                         {"comment", c.inoc}, {"mixed", c.inoml}, {"blank", c.inos}, {"lines", c.nl3}});
    }
    nlohmann::ordered_json skippedJson = nlohmann::ordered_json::array();
    for (const Skipped& s : skipped) skippedJson.push_back({{"path", s.path}, {"reason", s.reason}});
    const RunTotals& t = result.totals;
    nlohmann::ordered_json doc = {
        {"project", name},
        {"files", files},
        {"totals",
         {{"files", fileCount}, {"code", t.ncl}, {"comment", t.ncol}, {"mixed", t.nml}, {"blank", t.ncbl},
          {"lines", t.ntl}}},
        {"skipped", skippedJson}};
    return doc.dump(2) + "\n";
}

}  // namespace

int Run(int argc, char** argv, std::ostream& out, std::ostream& err) {
    CLI::App app{"kordelc counts the code, comment, mixed and blank lines of source files.", "kordelc"};
    std::vector<std::string> inputs;
    std::string format = "table";
    std::string output;
    std::string name;
    bool percent = false, mixedAsBoth = false, blankInBlock = false, fortran77 = false;
    app.add_option("PATH", inputs, "Source files or folders (folders are walked recursively)")->required();
    app.add_option("-f,--format", format, "Output format: table, json, or a txt, csv or html report")
        ->check(CLI::IsMember({"table", "json", "txt", "csv", "html"}));
    app.add_option("-o,--output", output, "Write the output to FILE (atomically) instead of standard output");
    app.add_flag("-p,--percent", percent, "Add the percentage columns");
    app.add_flag("--mixed-as-both", mixedAsBoth, "Count mixed lines also as code and as comment lines");
    app.add_flag("--blank-in-block", blankInBlock, "Count blank lines inside block comments as blank");
    app.add_flag("--fortran77", fortran77, "Count .f files as Fortran 77 instead of Forth");
    app.add_option("--name", name, "Project name for the report (default: the name in a .kpl PATH)");
    std::string saveList;
    app.add_option("--save-list", saveList, "Write the counted files as a project list (.kpl) to FILE");
    std::string languagesDb;
    app.add_option("--languages", languagesDb, "User language database to use instead of the default udlangdb.ini")
        ->check(CLI::ExistingFile);
    unsigned jobs = std::max(1u, std::thread::hardware_concurrency());
    app.add_option("-j,--jobs", jobs, "Files counted in parallel (default: the number of cores)")
        ->check(CLI::Range(1u, 256u));
    app.set_version_flag("--version", std::string("kordelc ") + kVersion);
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        if (e.get_exit_code() == 0) {
            out << (dynamic_cast<const CLI::CallForVersion*>(&e) ? std::string("kordelc ") + kVersion + "\n"
                                                                  : app.help());
            return 0;
        }
        err << "kordelc: " << e.what() << "\nRun 'kordelc --help' for the options.\n";
        return 2;
    }
    CountOptions options;
    options.cnoml = mixedAsBoth;
    options.cblib = blankInBlock;
    options.sps = percent;
    options.dotf = fortran77 ? 1 : 0;

    // Without --languages the default database is used when there is one.
    const fs::path db = languagesDb.empty() ? userlang::DefaultUDLangDbPath() : fs::path(languagesDb);
    const userlang::DbContents userLanguages = userlang::ReadUDLangDb(db);
    if (userLanguages.status == userlang::DbStatus::Unreadable)
        err << "kordelc: " << userlang::kOpenDbMessage << " (" << db.string() << ")\n";
    const userlang::DatabaseLanguages lookup(db);

    std::vector<std::string> paths;
    projects::ListState listState;
    BatchListQuestions listQuestions(err);
    for (const std::string& input : inputs) {
        if (!IsProjectListArg(input)) {
            CollectPaths(input, options.dotf, userLanguages.languages, paths);
            continue;
        }
        projects::GetProject(input, paths, listState, listQuestions);
        if (listState.openFailed) return 2;
        if (name.empty()) name = listState.PN;  // the first list that has a name gives it
    }

    std::atomic<int> canc{0};
    BatchObserver observer(paths, err);
    const RunResult result = CountLineT(paths, options, canc, observer, jobs, &lookup);
    reports::ReportInput report{{}, observer.totals(), name, percent};
    for (std::size_t i = 0; i < paths.size(); ++i)
        report.rows.push_back({paths[i], result.counted[i] ? RowCellTexts(result.counts[i], percent)
                                                           : std::vector<std::string>{}});
    std::string text;
    if (format == "json")
        text = Json(name.empty() ? "Unspecified" : name, paths, result, observer.skipped(), options.dotf);
    else if (format == "txt")
        text = ToCrLf(reports::ReportText(report, reports::SystemClock().Now()));
    else if (format == "csv")
        text = ToCrLf(reports::ReportCSV(report));
    else if (format == "html")
        text = ToCrLf(reports::ReportHTM(report));
    else
        text = Table(paths, result, observer.totals(), percent);
    if (!saveList.empty()) {
        std::vector<std::string> counted;
        for (std::size_t i = 0; i < paths.size(); ++i)
            if (result.counted[i]) counted.push_back(fs::absolute(paths[i]).lexically_normal().string());
        projects::ListSettings settings;
        listState.PN = name;
        if (!projects::ExportProject(saveList, counted, listState, settings, listQuestions)) return 1;
    }
    if (output.empty()) {
        out << text;
    } else if (!WriteFileAtomically(output, text)) {
        err << "kordelc: Could not open \"" << output
            << "\" for writing.  Make sure that all programs that may be using this file are closed.\n";
        return 1;
    }
    if (result.crashed) return 1;
    return observer.skipped().empty() ? 0 : 1;
}

}  // namespace kordel::cli
