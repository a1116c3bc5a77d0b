#include "ui/core/main_logic.h"

#include <algorithm>
#include <unordered_set>

#include "engine/dispatch.h"
#include "engine/path_split.h"
#include "engine/scan.h"
#include "projects/project_name.h"
#include "userlang/custom_counter.h"
#include "userlang/db_location.h"
#include "ui/core/commands.h"
#include "ui/core/messages.h"
#include "ui/core/version_check.h"

namespace kordel::ui {
namespace {

const FileType kListType{"Project List File (*.kpl)", "*.kpl", "kpl"};

}  // namespace

// Applies what a count run reports to the list, the totals and the progress window; runs on the
// interface thread (the desktop forwards the worker's calls here).
class ListCountObserver final : public engine::RunObserver {
public:
    ListCountObserver(ResultList& list, WindowTexts& texts, Desktop& desktop, MainView* view, bool scroll)
        : m_list(list), m_texts(texts), m_desktop(desktop), m_view(view), m_scroll(scroll) {}

    void SetStatus(const std::string& text) override { m_desktop.SetProgressDetail(text); }
    void WriteRow(std::size_t row, const std::vector<std::string>& cells) override {
        if (row >= m_list.RowCount()) return;
        m_list.SetCounts(row, cells);
        if (m_scroll && m_view) m_view->ScrollTo(row);
    }
    void WriteTotals(const engine::TotalsTexts& totals) override {
        m_texts.totals = totals;
        if (m_view) m_view->TextsChanged();
    }
    void SetProgress(int percent) override { m_desktop.SetProgressPercent(percent); }
    bool AskMissing(const std::string& message) override { return Ask(message); }
    bool AskOpenFailed(const std::string& message) override { return Ask(message); }
    bool AskUnknownExtension(const std::string& message) override { return Ask(message); }
    void Finished(const std::string& message, bool isError) override {
        m_message = message;
        m_isError = isError;
    }

    const std::string& message() const { return m_message; }
    bool isError() const { return m_isError; }

private:
    bool Ask(const std::string& message) {
        return m_desktop.Message(message, Icon::Stop, Buttons::OkCancel) == Answer::Ok;
    }

    ResultList& m_list;
    WindowTexts& m_texts;
    Desktop& m_desktop;
    MainView* m_view;
    bool m_scroll;
    std::string m_message;
    bool m_isError = false;
};

MainWindowLogic::MainWindowLogic(SettingsStore& store, Desktop& desktop)
    : m_store(store), m_desktop(desktop), m_settings(LoadOptions(store)), m_list(m_settings.sps == 1),
      m_questions(desktop), m_languageDb(userlang::DefaultUDLangDbPaths()) {
    m_texts.title = std::string(kCaption) + " - " + m_state.pfn;
    m_texts.status0 = msg::kWelcome;
    m_texts.projectName = m_state.nameField;
}

void MainWindowLogic::TextsChanged() {
    m_texts.projectName = m_state.nameField;
    if (m_view) m_view->TextsChanged();
}

void MainWindowLogic::Refuse(std::string_view message) { m_desktop.Message(message, Icon::Stop); }

void MainWindowLogic::Dispatch(int command) {
    switch (command) {
        case cmd::kNew: New(); break;
        case cmd::kOpen: Open(); break;
        case cmd::kSave: case cmd::kSaveKey: Save(); break;
        case cmd::kSaveAs: SaveAs(); break;
        case cmd::kExportCsv: case cmd::kExportCsvKey: case cmd::kExportHtml: case cmd::kExportHtmlKey:
        case cmd::kExportTxt: case cmd::kExportTxtKey: Export(command); break;
        case cmd::kCount: case cmd::kCountButton: case cmd::kCountKey: Count(); break;
        case cmd::kExit: if (m_view) m_view->CloseWindow(); break;
        case cmd::kRemove: Remove(); break;
        case cmd::kAdd: Add(); break;
        case cmd::kLanguages: case cmd::kLanguagesKey: Languages(); break;
        case cmd::kFind: case cmd::kFindKey: Find(); break;
        case cmd::kFindNext: case cmd::kFindNextKey: FindNext(); break;
        case cmd::kOpenSelected: OpenSelected(false); break;
        case cmd::kDoubleClick: OpenSelected(true); break;
        case cmd::kOpenFolder: OpenFolder(); break;
        case cmd::kSortCode: case cmd::kSortComment: case cmd::kSortMixed: case cmd::kSortBlank:
        case cmd::kSortTotal: case cmd::kSortCodePercent: case cmd::kSortCommentPercent:
        case cmd::kSortMixedPercent: case cmd::kSortBlankPercent: Sort(command); break;
        case cmd::kAscending: SortDirection(true); break;
        case cmd::kDescending: SortDirection(false); break;
        case cmd::kOptions: case cmd::kOptionsKey: m_desktop.ShowOptions(); break;
        case cmd::kManual: Manual(); break;
        case cmd::kWebSite: m_desktop.OpenUrl(std::string(kWebSite)); break;
        case cmd::kCheckVersion: CheckVersion(); break;
        case cmd::kAbout: m_desktop.ShowAbout(); break;
        case cmd::kOk: if (m_view) m_view->QuitNow(); break;
        default: break;  // Escape and unknown numbers do nothing
    }
}

void MainWindowLogic::UpdateStatusBars() {
    m_texts.status0 = ItemCountText(m_list.RowCount());
    TextsChanged();
}

void MainWindowLogic::UpdateWindowName(int mode) {
    m_texts.title = std::string(kCaption) + " - " + m_state.pfn;
    if (mode != 1) {
        m_texts.title += " *";
        m_state.uspl = 1;
    }
    TextsChanged();
}

void MainWindowLogic::SetProjectName(std::string name) {
    m_state.nameField = name.empty() ? std::string(msg::kUnspecified) : name;
    m_state.PN = std::move(name);
    TextsChanged();
}

void MainWindowLogic::SelectionChanged() {
    m_texts.status1 = SelectionText(m_list);
    TextsChanged();
}

void MainWindowLogic::New() {
    if (!QueryClose()) return;
    m_state.pfn = msg::kUntitled;
    UpdateWindowName(1);
    m_texts.totals = engine::TotalsTexts{};
    // The name of the previous list must not carry over into the next one saved.
    m_state.PN.clear();
    m_state.nameField = msg::kUnspecified;
    m_list.Clear();
    UpdateStatusBars();
    m_totals = {};
    m_state.cy = 0;
}

void MainWindowLogic::Count() {
    if (m_list.RowCount() == 0) return Refuse(msg::kAddFirst);
    m_canc = 0;
    m_pn = m_state.nameField;
    const std::vector<std::string> paths = m_list.Paths();
    const engine::CountOptions options = m_settings.countOptions();
    ListCountObserver observer(m_list, m_texts, m_desktop, m_view, m_settings.dls != 1);
    engine::RunResult result;
    const unsigned jobs = m_jobs;
    const userlang::DatabaseLanguages userLanguages(m_languageDb.read);
    m_desktop.RunWithProgress(
        false, m_canc,
        [&](engine::RunObserver& worker) {
            result = engine::CountLineT(paths, options, m_canc, worker, jobs, &userLanguages);
        },
        observer);
    if (result.crashed) {
        m_desktop.Message(observer.message(), Icon::Stop);
        // Close through the save-changes prompt so that unsaved changes are not lost.
        if (m_view) m_view->CloseWindow();
        return;
    }
    m_totals = result.totals;
    m_state.cy = 1;
    if (!result.cancelled && m_view && m_list.RowCount() > 0) m_view->ScrollTo(0);
    if (!observer.message().empty()) m_desktop.Message(observer.message(), Icon::Information);
    UpdateStatusBars();
}

void MainWindowLogic::Remove() {
    if (m_list.SelectedCount() == 0) return Refuse(msg::kSelectItems);
    m_list.RemoveSelected();
    UpdateStatusBars();
    UpdateWindowName(2);
    SelectionChanged();
}

void MainWindowLogic::Find() {
    const auto request = m_desktop.AskFind();
    if (!request) return;
    m_nexti = 0;
    m_whattf = request->text;
    m_is = request->caseSensitive;
    FindNext();
}

void MainWindowLogic::FindNext() {
    if (!m_whattf) return Find();  // nothing searched yet: ask for the text
    m_f1 = SearchList(m_list, m_nexti, *m_whattf, m_is);
    if (m_f1 < 0) {
        m_desktop.Message("Could not locate \"" + *m_whattf + "\".", Icon::Stop);
        return;
    }
    const auto hit = static_cast<std::size_t>(m_f1);
    m_list.ClearSelection();
    m_list.SetSelected(hit, true);
    if (m_view) m_view->ScrollTo(hit);
    m_nexti = hit + 1;
    SelectionChanged();
}

void MainWindowLogic::OpenSelected(bool quietWhenNone) {
    const long long row = m_list.FirstSelected();
    if (row < 0) {
        if (!quietWhenNone) Refuse(msg::kSelectItem);
        return;
    }
    m_desktop.OpenDocument(m_list.Path(static_cast<std::size_t>(row)));
}

void MainWindowLogic::OpenFolder() {
    const long long row = m_list.FirstSelected();
    if (row < 0) return Refuse(msg::kSelectItemFolder);
    const engine::PathParts parts = engine::SplitPath(m_list.Path(static_cast<std::size_t>(row)));
    m_desktop.OpenDocument(parts.drive + parts.folder);
}

void MainWindowLogic::Manual() {
    // Beside the program in a build tree, under share/doc/kordel in an installation.
    const std::filesystem::path folder = m_desktop.ProgramFolder();
    std::filesystem::path manual = folder / "kordel-manual.html";
    std::error_code ec;
    if (!std::filesystem::exists(manual, ec)) manual = folder / ".." / "share" / "doc" / "kordel" / "kordel-manual.html";
    m_desktop.OpenDocument(manual.lexically_normal().string());
}

void MainWindowLogic::CheckVersion() {
    const std::string url = m_store.Read("verurl").value_or(std::string(kDefaultVersionUrl));
    // Any other kind of URL is never opened: it counts as a server that cannot be reached.
    VersionReply reply;
    if (IsVersionUrlAllowed(url)) reply = m_desktop.FetchVersionFile(url);
    if (reply.status == VersionReply::Status::Cancelled) return;  // the user closed the wait window
    std::optional<std::string> body;
    if (reply.status == VersionReply::Status::Received) body = std::move(reply.body);
    switch (EvaluateVersionReply(body)) {
        case VersionOutcome::CouldNotConnect:
            m_desktop.Message(kCouldNotConnectMessage, Icon::Stop);
            break;
        case VersionOutcome::Newer:
            if (m_desktop.Message(kNewerVersionMessage, Icon::Question, Buttons::YesNo) == Answer::Yes)
                m_desktop.OpenUrl(std::string(kWebSite));
            break;
        case VersionOutcome::Latest:
            m_desktop.Message(kLatestVersionMessage, Icon::Information);
            break;
    }
}

namespace {

// Applies a sort's swaps to the list and its progress to the progress window.
class ListSortObserver final : public SortObserver {
public:
    ListSortObserver(ResultList& list, Desktop& desktop) : m_list(list), m_desktop(desktop) {}
    void SetStatus(const std::string& text) override { m_desktop.SetProgressDetail(text); }
    void SetProgress(int percent) override { m_desktop.SetProgressPercent(percent); }
    void SwapRows(std::size_t a, std::size_t b) override { m_list.SwapRows(a, b); }

private:
    ResultList& m_list;
    Desktop& m_desktop;
};

// The list column a sort command orders by, for both column layouts; 0 for a refused one.
std::size_t SortColumn(int command, bool sps) {
    switch (command) {
        case cmd::kSortCode: return 1;
        case cmd::kSortComment: return sps ? 3 : 2;
        case cmd::kSortMixed: return sps ? 5 : 3;
        case cmd::kSortBlank: return sps ? 7 : 4;
        case cmd::kSortTotal: return sps ? 9 : 5;
        case cmd::kSortCodePercent: return sps ? 2 : 0;
        case cmd::kSortCommentPercent: return sps ? 4 : 0;
        case cmd::kSortMixedPercent: return sps ? 6 : 0;
        case cmd::kSortBlankPercent: return sps ? 8 : 0;
        default: return 0;
    }
}

bool IsPercentSort(int command) {
    return command == cmd::kSortCodePercent || command == cmd::kSortCommentPercent ||
           command == cmd::kSortMixedPercent || command == cmd::kSortBlankPercent;
}

}  // namespace

void MainWindowLogic::Sort(int command) {
    const bool sps = m_list.percentColumns();
    if (IsPercentSort(command) && !sps) return Refuse(msg::kPercentBeforeSort);
    if (m_state.cy == 0) return Refuse(msg::kCountBeforeSort);
    const std::size_t column = SortColumn(command, sps);
    std::vector<std::uint64_t> keys(m_list.RowCount());
    for (std::size_t row = 0; row < keys.size(); ++row) keys[row] = aatoi(m_list.Cell(row, column));
    const bool ascending = m_settings.asce == 1;
    ListSortObserver observer(m_list, m_desktop);
    SortOutcome outcome;
    m_desktop.RunSortWithProgress(
        m_canc, [&](SortObserver& worker) { outcome = SortResults(std::move(keys), ascending, m_canc, worker); },
        observer);
    if (outcome.cancelled) {
        m_canc = 0;
        m_desktop.Message(kSortCanceledMessage, Icon::Stop);
    }
}

void MainWindowLogic::SortDirection(bool ascending) {
    ChooseSortDirection(m_store, m_settings, ascending);
    if (m_view) m_view->SortDirectionChanged();
}

void MainWindowLogic::ClickOption(const OptionBox& box, bool checked) {
    ui::ClickOption(m_store, m_settings, box, checked);
    if (box.flag == &Settings::sps) m_list.SetPercentColumns(m_settings.sps == 1);
}

void MainWindowLogic::ChooseDotF(int index) { ui::ChooseDotF(m_store, m_settings, index); }

bool MainWindowLogic::QueryClose() {
    if (m_state.uspl != 1) return true;
    const Answer answer = m_desktop.Message("Do you want to save changes to \"" + m_state.pfn + "\"?",
                                            Icon::Warning, Buttons::YesNoCancel);
    if (answer == Answer::Cancel) return false;
    if (answer == Answer::No) {
        m_state.uspl = 2;
        return true;
    }
    if (m_list.RowCount() == 0) {
        Refuse(msg::kCannotSaveEmpty);
        return false;
    }
    if (m_state.pfn != msg::kUntitled) SaveTo(m_state.pfn);
    else SaveAs();
    return m_state.uspl != 1;
}

projects::ListSettings MainWindowLogic::ListSettingsNow() const {
    projects::ListSettings settings;
    settings.llp = m_settings.llp == 1;
    settings.pfpn = m_settings.pfpn == 1;
    settings.aspn = m_settings.aspn == 1;
    settings.sspl = m_settings.sspl == 1;
    settings.acpl = m_settings.acpl == 1;
    settings.lsp = m_store.Read("lsp").value_or("");
    return settings;
}

void MainWindowLogic::StoreLastSaved(const projects::ListSettings& settings) {
    if (settings.llp && m_store.Read("lsp").value_or("") != settings.lsp) m_store.Write("lsp", settings.lsp);
}

void MainWindowLogic::ReplaceRows(const std::vector<std::string>& rows) {
    m_list.Clear();
    m_list.AddPaths(rows);
}

bool MainWindowLogic::SaveTo(const std::string& path) {
    projects::ListSettings settings = ListSettingsNow();
    const bool saved = projects::ExportProject(path, m_list.Paths(), m_state, settings, m_questions);
    if (saved) {
        StoreLastSaved(settings);
        UpdateWindowName(1);
    }
    TextsChanged();
    return saved;
}

bool MainWindowLogic::Save() {
    if (m_state.pfn != msg::kUntitled) return SaveTo(m_state.pfn);
    return SaveAs();
}

bool MainWindowLogic::SaveAs() {
    if (m_list.RowCount() == 0) {
        Refuse(msg::kCannotSaveEmpty);
        return false;
    }
    const projects::ListSettings settings = ListSettingsNow();
    std::optional<std::string> target = projects::SaveAsQuestions(m_list.Paths(), m_state, settings, m_questions);
    TextsChanged();
    // An accepted suggestion never replaces an existing file without asking.
    std::error_code ec;
    if (target && std::filesystem::exists(*target, ec) &&
        m_desktop.Message("\"" + *target + "\" already exists.  Do you want to replace it?", Icon::Warning,
                          Buttons::YesNo) != Answer::Yes)
        target.reset();
    if (!target) target = m_desktop.AskSavePath("Select a location in which to save a project list...", kListType);
    if (!target) return false;
    m_desktop.ShowBusy("Saving a project list...");
    const bool saved = SaveTo(*target);
    m_desktop.ShowBusy("");
    return saved;
}

void MainWindowLogic::Open() {
    if (!QueryClose()) return;
    const auto path = m_desktop.AskOpenPath("Select a Project List to import...", kListType);
    if (!path) return;
    OpenList(*path);
}

void MainWindowLogic::OpenList(const std::string& path) {
    m_desktop.ShowBusy(kAddingBusyText);
    std::vector<std::string> rows;
    const bool count = projects::OpenProject(path, rows, m_state, ListSettingsNow(), m_questions);
    ReplaceRows(rows);
    UpdateStatusBars();
    if (!m_state.openFailed) UpdateWindowName(1);
    TextsChanged();
    m_desktop.ShowBusy("");
    if (count) Count();
}

void MainWindowLogic::StartUp() {
    if (m_settings.llp != 1) return;
    std::vector<std::string> rows;
    const bool count = projects::AutoImportProject(rows, m_state, ListSettingsNow(), m_questions);
    m_list.AddPaths(rows);
    if (!rows.empty()) UpdateStatusBars();
    if (!m_state.openFailed) UpdateWindowName(1);
    TextsChanged();
    if (count) Count();
}

void MainWindowLogic::Export(int command) {
    if (m_state.cy == 0) return Refuse(msg::kCountBeforeExport);
    const bool csv = command == cmd::kExportCsv || command == cmd::kExportCsvKey;
    const bool html = command == cmd::kExportHtml || command == cmd::kExportHtmlKey;
    const FileType type = csv    ? FileType{"Comma Seperated Value Files (*.csv)", "*.csv", "csv"}
                          : html ? FileType{"Hypertext Markup Files (*.htm)", "*.htm", "htm"}
                                 : FileType{"Text File", "*.txt", "txt"};
    const auto path = m_desktop.AskSavePath("Specify a filename for the export...", type);
    if (!path) return;
    m_canc = 0;
    reports::ReportInput input;
    input.rows.reserve(m_list.RowCount());
    for (std::size_t row = 0; row < m_list.RowCount(); ++row) {
        const auto& cells = m_list.RowCells(row);
        input.rows.push_back({cells[0], std::vector<std::string>(cells.begin() + 1, cells.end())});
    }
    input.totals = m_texts.totals;
    input.pn = m_pn;
    input.sps = m_list.percentColumns();
    if (csv) reports::SaveReportCSV(*path, input, m_questions);
    else if (html) reports::SaveReportHTM(*path, input, m_questions);
    else reports::SaveReport(*path, input, *m_clock, m_questions);
}

void MainWindowLogic::Add() {
    // A missing database is a user without languages; one that cannot be read stops the dialog.
    const userlang::DbContents db = userlang::ReadUDLangDb(m_languageDb.read);
    if (db.status == userlang::DbStatus::Unreadable) return Refuse(userlang::kOpenDbMessage);
    const std::vector<FileFilter> filters = AddFilters(userlang::UserExtensionPatterns(db.languages));
    const int filter = static_cast<int>(std::max(1UL, ReadNumber(m_store, "filtin")));
    const AddChoice choice = m_desktop.AskSourceFiles(kAddDialogTitle, filters, filter, m_addFolder);
    if (!choice.paths.empty()) {
        const engine::PathParts parts = engine::SplitPath(choice.paths.front());
        m_addFolder = parts.drive + parts.folder;
        m_desktop.ShowBusy(kAddingBusyText);
        AddPaths(choice.paths);
        m_desktop.ShowBusy("");
    }
    WriteNumber(m_store, "filtin", choice.filter);
}

void MainWindowLogic::DropPaths(const std::vector<std::string>& paths) {
    const userlang::DbContents db = userlang::ReadUDLangDb(m_languageDb.read);
    const int dotf = m_settings.dotf;
    const auto known = [&](std::string_view ext) {
        return engine::IsBuiltinExtension(ext, dotf) || userlang::FindCustomExtension(db.languages, ext) != nullptr;
    };
    std::vector<std::string> files;
    m_desktop.ShowBusy(kAddingBusyText);
    for (const std::string& path : paths) {
        std::error_code ec;
        if (std::filesystem::is_directory(path, ec)) {
            const auto found = FilesUnder(path, known);
            files.insert(files.end(), found.begin(), found.end());
        } else {
            files.push_back(path);
        }
    }
    AddPaths(files);
    m_desktop.ShowBusy("");
}

void MainWindowLogic::Languages() {
    userlang::LanguageListEditor editor(m_languageDb.read, m_languageDb.write);
    if (!editor.Load()) return Refuse(userlang::kOpenDbMessage);
    m_desktop.ShowLanguages(editor);
}

void MainWindowLogic::AddPaths(const std::vector<std::string>& paths) {
    std::unordered_set<std::string> present;
    for (std::size_t row = 0; row < m_list.RowCount(); ++row) present.insert(PathKey(m_list.Path(row)));
    std::vector<std::string> added;
    for (const std::string& path : paths)
        if (IsAcceptablePath(path) && present.insert(PathKey(path)).second) added.push_back(path);
    m_list.AddPaths(std::move(added));
    UpdateStatusBars();
    // Even a choice that added nothing new marks the list changed.
    if (!paths.empty()) UpdateWindowName(2);
}

std::vector<ContextItem> MainWindowLogic::ContextMenu() const {
    const std::size_t selected = m_list.SelectedCount();
    if (selected == 1)
        return {{cmd::kOpenSelected, "&Open", true, false},
                {cmd::kOpenFolder, "Open &Containing Folder", false, false},
                {cmd::kRemove, "&Remove selected file from list", false, true}};
    if (selected >= 2) return {{cmd::kRemove, "&Remove selected files from list", false, false}};
    return {};
}

long long SearchList(const ResultList& list, std::size_t start, std::string_view text, bool caseSensitive) {
    for (std::size_t row = start; row < list.RowCount(); ++row)
        if (engine::instr(list.Path(row), text, 0, caseSensitive ? 0 : 1) != 0) return static_cast<long long>(row);
    return -1;
}

std::string ItemCountText(std::size_t rows) {
    if (rows == 1) return "1 item";
    return engine::CountText(static_cast<std::int64_t>(rows)) + " items";
}

std::string SelectionText(const ResultList& list) {
    const std::size_t selected = list.SelectedCount();
    if (selected != 1) return std::to_string(selected) + " items selected";
    const engine::PathParts parts = engine::SplitPath(list.Path(static_cast<std::size_t>(list.FirstSelected())));
    return "Selected: " + parts.name + parts.extension;
}

}  // namespace kordel::ui
