// The main window's commands and state, shared by both front ends.
#include "ui/core/main_logic.h"

#include <algorithm>
#include <unordered_set>

#include "engine/dispatch.h"
#include "engine/language_resolver.h"
#include "engine/path_split.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/os.h"
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

MainWindowLogic::MainWindowLogic(SettingsStore& store, Desktop& desktop)
    : m_store(store), m_desktop(desktop), m_settings(LoadOptions(store)), m_doc(m_settings.sps),
      m_questions(desktop), m_languageDb(userlang::DefaultUDLangDbPaths()) {
    m_doc.SetTextsChanged([this] {
        if (m_view) m_view->TextsChanged();
    });
}

void MainWindowLogic::Refuse(std::string_view message) { m_desktop.Message(message, Icon::Stop); }

const std::vector<CommandRow>& MainWindowLogic::Commands() {
    using L = MainWindowLogic;
    const Precondition rows{Needs::Rows, msg::kAddFirst};
    const Precondition exportResults{Needs::Results, msg::kCountBeforeExport};
    const Precondition sortResults{Needs::Results, msg::kCountBeforeSort};
    const Precondition percent{Needs::PercentColumns, msg::kPercentBeforeSort};
    const auto exportRun = [](L& l, int c) { l.Export(c); };
    const auto countRun = [](L& l, int) { l.Count(); };
    const auto sortRun = [](L& l, int c) { l.Sort(c); };
    static const std::vector<CommandRow> table{
        {cmd::kNew, {}, [](L& l, int) { l.New(); }},
        {cmd::kOpen, {}, [](L& l, int) { l.Open(); }},
        {cmd::kSave, {}, [](L& l, int) { l.Save(); }},
        {cmd::kSaveKey, {}, [](L& l, int) { l.Save(); }},
        {cmd::kSaveAs, {{Needs::Rows, msg::kCannotSaveEmpty}}, [](L& l, int) { l.SaveAs(); }},
        {cmd::kCount, {rows}, countRun},
        {cmd::kCountButton, {rows}, countRun},
        {cmd::kCountKey, {rows}, countRun},
        {cmd::kExportCsv, {exportResults}, exportRun},
        {cmd::kExportCsvKey, {exportResults}, exportRun},
        {cmd::kExportHtml, {exportResults}, exportRun},
        {cmd::kExportHtmlKey, {exportResults}, exportRun},
        {cmd::kExportTxt, {exportResults}, exportRun},
        {cmd::kExportTxtKey, {exportResults}, exportRun},
        {cmd::kExit, {}, [](L& l, int) { if (l.m_view) l.m_view->CloseWindow(); }},
        {cmd::kAdd, {}, [](L& l, int) { l.Add(); }},
        {cmd::kRemove, {{Needs::Selection, msg::kSelectItems}}, [](L& l, int) { l.Remove(); }},
        {cmd::kFind, {}, [](L& l, int) { l.Find(); }},
        {cmd::kFindKey, {}, [](L& l, int) { l.Find(); }},
        {cmd::kFindNext, {}, [](L& l, int) { l.FindNext(); }},
        {cmd::kFindNextKey, {}, [](L& l, int) { l.FindNext(); }},
        {cmd::kOpenSelected, {{Needs::Selection, msg::kSelectItem}}, [](L& l, int) { l.OpenSelected(); }},
        {cmd::kDoubleClick, {{Needs::Selection, {}}}, [](L& l, int) { l.OpenSelected(); }},
        {cmd::kContextMenu, {}, [](L& l, int) { l.ShowContextMenu(); }},
        {cmd::kOpenFolder, {{Needs::Selection, msg::kSelectItemFolder}}, [](L& l, int) { l.OpenFolder(); }},
        {cmd::kSortCode, {sortResults}, sortRun},
        {cmd::kSortComment, {sortResults}, sortRun},
        {cmd::kSortMixed, {sortResults}, sortRun},
        {cmd::kSortBlank, {sortResults}, sortRun},
        {cmd::kSortTotal, {sortResults}, sortRun},
        {cmd::kSortCodePercent, {percent, sortResults}, sortRun},
        {cmd::kSortCommentPercent, {percent, sortResults}, sortRun},
        {cmd::kSortMixedPercent, {percent, sortResults}, sortRun},
        {cmd::kSortBlankPercent, {percent, sortResults}, sortRun},
        {cmd::kAscending, {}, [](L& l, int) { l.SortDirection(true); }},
        {cmd::kDescending, {}, [](L& l, int) { l.SortDirection(false); }},
        {cmd::kOptions, {}, [](L& l, int) { l.m_desktop.ShowOptions(); }},
        {cmd::kOptionsKey, {}, [](L& l, int) { l.m_desktop.ShowOptions(); }},
        {cmd::kLanguages, {}, [](L& l, int) { l.Languages(); }},
        {cmd::kLanguagesKey, {}, [](L& l, int) { l.Languages(); }},
        {cmd::kManual, {}, [](L& l, int) { l.Manual(); }},
        {cmd::kWebSite, {}, [](L& l, int) { l.m_desktop.OpenUrl(std::string(kWebSite)); }},
        {cmd::kCheckVersion, {}, [](L& l, int) { l.CheckVersion(); }},
        {cmd::kKnownLanguages, {}, [](L& l, int) { l.ToggleKnownLanguages(); }},
        {cmd::kAbout, {}, [](L& l, int) { l.m_desktop.ShowAbout(); }},
        {cmd::kOk, {}, [](L& l, int) { if (l.m_view) l.m_view->QuitNow(); }},
    };
    return table;
}

bool MainWindowLogic::Meets(Needs needs) const {
    switch (needs) {
        case Needs::Rows: return list().RowCount() > 0;
        case Needs::Results: return m_doc.state().cy;
        case Needs::Selection: return !Selection().empty();
        case Needs::PercentColumns: return list().percentColumns();
    }
    return false;
}

std::vector<std::size_t> MainWindowLogic::Selection() const {
    return m_view ? m_view->SelectedRows() : std::vector<std::size_t>{};
}

void MainWindowLogic::Dispatch(int command) {
    const auto& table = Commands();
    const auto row = std::find_if(table.begin(), table.end(), [command](const CommandRow& r) { return r.id == command; });
    if (row == table.end()) return;  // Escape and unknown numbers do nothing
    if (working()) return;
    for (const Precondition& check : row->checks) {
        if (Meets(check.needs)) continue;
        if (!check.refusal.empty()) Refuse(check.refusal);
        return;
    }
    row->run(*this, command);
}

void MainWindowLogic::SelectionChanged() { m_doc.ShowSelection(Selection()); }

void MainWindowLogic::New() {
    if (!QueryClose()) return;
    FreeAside(m_doc.Reset());
    m_totals = {};
}

void MainWindowLogic::FreeAside(ResultList::RemovedRows rows) {
    // Freeing a million rows takes longer than the window may wait.
    const WorkMark mark(m_working);
    m_desktop.RunAside([&rows] { const ResultList::RemovedRows freed = std::move(rows); });
}

void MainWindowLogic::Remove() {
    FreeAside(list().RemoveRows(Selection()));
    UpdateStatusBars();
    UpdateWindowName(projects::ListChanges::Unsaved);
    SelectionChanged();
}

void MainWindowLogic::Find() {
    const auto request = m_desktop.AskFind();
    if (!request) return;
    m_finder.Start(request->text, request->caseSensitive);
    FindNext();
}

void MainWindowLogic::FindNext() {
    if (!m_finder.HasText()) return Find();  // nothing searched yet: ask for the text
    const std::optional<std::size_t> hit = m_finder.Next(list());
    if (!hit) {
        m_desktop.Message("Could not locate \"" + m_finder.text() + "\".", Icon::Stop);
        return;
    }
    if (m_view) m_view->SelectOnly(*hit);
    SelectionChanged();
}

void MainWindowLogic::OpenSelected() { m_desktop.OpenDocument(list().Path(Selection().front())); }

void MainWindowLogic::OpenFolder() {
    const engine::PathParts parts = engine::SplitPath(list().Path(Selection().front()));
    m_desktop.OpenDocument(parts.drive + parts.folder);
}

void MainWindowLogic::Manual() {
    // Beside the program in a build tree, under share/doc/kordel in an installation.
    const std::filesystem::path folder = m_desktop.ProgramFolder();
    std::filesystem::path manual = folder / "kordel-manual.html";
    if (platform::InputFile probe; probe.Open(platform::PathText(manual)) != platform::InputFile::Status::Opened)
        manual = folder / ".." / "share" / "doc" / "kordel" / "kordel-manual.html";
    m_desktop.OpenDocument(platform::PathText(manual.lexically_normal()));
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

void MainWindowLogic::SortDirection(bool ascending) {
    ChooseSortDirection(m_store, m_settings, ascending);
    if (m_view) m_view->SortDirectionChanged();
}

void MainWindowLogic::ToggleKnownLanguages() {
    ChooseKnownLanguages(m_store, m_settings, !m_settings.okl);
    if (m_view) m_view->KnownLanguagesChanged();
}

void MainWindowLogic::ClickOption(const OptionBox& box, bool checked) {
    ui::ClickOption(m_store, m_settings, box, checked);
    if (box.flag == &Settings::sps) list().SetPercentColumns(m_settings.sps);
}

void MainWindowLogic::ChooseDotF(int index) { ui::ChooseDotF(m_store, m_settings, index); }

bool MainWindowLogic::QueryClose() {
    if (working()) return false;
    if (m_doc.state().uspl != projects::ListChanges::Unsaved) return true;
    const Answer answer = m_desktop.Message("Do you want to save changes to \"" + m_doc.state().pfn + "\"?",
                                            Icon::Warning, Buttons::YesNoCancel);
    if (answer == Answer::Cancel) return false;
    if (answer == Answer::No) {
        m_doc.state().uspl = projects::ListChanges::Declined;
        return true;
    }
    if (list().RowCount() == 0) {
        Refuse(msg::kCannotSaveEmpty);
        return false;
    }
    if (m_doc.state().pfn != msg::kUntitled) SaveTo(m_doc.state().pfn);
    else SaveAs();
    return m_doc.state().uspl != projects::ListChanges::Unsaved;
}

projects::ListSettings MainWindowLogic::ListSettingsNow() const {
    projects::ListSettings settings;
    settings.llp = m_settings.llp;
    settings.pfpn = m_settings.pfpn;
    settings.aspn = m_settings.aspn;
    settings.sspl = m_settings.sspl;
    settings.acpl = m_settings.acpl;
    settings.lsp = m_store.Read("lsp").value_or("");
    return settings;
}

void MainWindowLogic::StoreLastSaved(const projects::ListSettings& settings) {
    if (settings.llp && m_store.Read("lsp").value_or("") != settings.lsp) m_store.Write("lsp", settings.lsp);
}

bool MainWindowLogic::SaveTo(const std::string& path) {
    projects::ListSettings settings = ListSettingsNow();
    bool saved = false;
    ListStepAside([&](projects::ListState& state, projects::ListQuestions& questions) {
        saved = projects::ExportProject(platform::PathFromText(path), list().Paths(), state, settings, questions);
    });
    if (saved) {
        StoreLastSaved(settings);
        UpdateWindowName(projects::ListChanges::Saved);
    }
    m_doc.Refresh();
    return saved;
}

bool MainWindowLogic::Save() {
    if (m_doc.state().pfn != msg::kUntitled) return SaveTo(m_doc.state().pfn);
    return SaveAs();
}

bool MainWindowLogic::SaveAs() {
    if (list().RowCount() == 0) {
        Refuse(msg::kCannotSaveEmpty);
        return false;
    }
    const projects::ListSettings settings = ListSettingsNow();
    std::optional<std::string> target;
    ListStepAside([&](projects::ListState& state, projects::ListQuestions& questions) {
        target = projects::SaveAsQuestions(list().Paths(), state, settings, questions);
    });
    m_doc.Refresh();
    // An accepted suggestion never replaces an existing file without asking.
    if (target && platform::DoesFileExist(*target) &&
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

bool MainWindowLogic::OpenNamed(const std::string& path) {
    if (working()) return false;
    if (QueryClose()) OpenList(path);
    return true;
}

void MainWindowLogic::ListStepAside(
    const std::function<void(projects::ListState&, projects::ListQuestions&)>& step) {
    // Reading a long list and looking for each of its files takes seconds, writing one most of one.
    // The questions are still asked on this thread, and the document's state changes only at the end.
    projects::ListState state = m_doc.state();
    InterfaceListQuestions questions(m_desktop, m_questions);
    const WorkMark mark(m_working);
    m_desktop.RunAside([&] { step(state, questions); });
    m_doc.state() = state;
}

void MainWindowLogic::OpenList(const std::string& path) {
    m_desktop.ShowBusy(kAddingBusyText);
    // The old rows go before the file is read: its questions are asked over an empty list.
    FreeAside(list().Clear());
    std::vector<std::string> rows;
    const projects::ListSettings settings = ListSettingsNow();
    bool count = false;
    ListStepAside([&](projects::ListState& state, projects::ListQuestions& questions) {
        count = projects::OpenProject(platform::PathFromText(path), rows, state, settings, questions);
    });
    PlaceRows(std::move(rows));
    UpdateStatusBars();
    if (!m_doc.state().openFailed) UpdateWindowName(projects::ListChanges::Saved);
    m_doc.Refresh();
    m_desktop.ShowBusy("");
    if (count) Count();
}

void MainWindowLogic::StartUp() {
    if (!m_settings.llp) return;
    std::vector<std::string> rows;
    const projects::ListSettings settings = ListSettingsNow();
    bool count = false;
    ListStepAside([&](projects::ListState& state, projects::ListQuestions& questions) {
        count = projects::AutoImportProject(rows, state, settings, questions);
    });
    const bool imported = !rows.empty();
    PlaceRows(std::move(rows));
    if (imported) UpdateStatusBars();
    if (!m_doc.state().openFailed) UpdateWindowName(projects::ListChanges::Saved);
    m_doc.Refresh();
    if (count) Count();
}

void MainWindowLogic::Add() {
    // A missing database is a user without languages; one that cannot be read stops the dialog.
    const userlang::DbContents db = userlang::ReadUDLangDb(m_languageDb.read);
    if (db.status == userlang::DbStatus::Unreadable) return Refuse(userlang::kOpenDbMessage);
    // With the table of further languages on, the first filter also takes its extensions and file names.
    const std::vector<FileFilter> filters = AddFilters(userlang::UserExtensionPatterns(db.languages),
                                                       m_settings.okl ? KnownLanguagePatterns() : std::string());
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
    if (working()) return;
    const userlang::DbContents db = userlang::ReadUDLangDb(m_languageDb.read);
    const userlang::ExtensionIndex userExtensions(db.languages);
    const engine::CountOptions options = m_settings.countOptions();
    const auto userKnows = [&](std::string_view ext) { return userExtensions.Find(ext) != nullptr; };
    const auto known = [&](std::string_view path) {
        const std::string_view name = path.substr(path.find_last_of(platform::kWindows ? "/\\" : "/") + 1);
        return engine::IsCountableName(name, engine::PathExtension(name), options, userKnows, false);
    };
    std::vector<std::string> files;
    std::vector<std::string> unreadable;
    m_desktop.ShowBusy(kAddingBusyText);
    for (const std::string& path : paths) {
        if (platform::GetPathInfo(path).kind == platform::PathKind::Folder) {
            const auto found = FilesUnder(platform::PathFromText(path), known, unreadable);
            files.insert(files.end(), found.begin(), found.end());
        } else {
            files.push_back(path);
        }
    }
    AddPaths(files);
    m_desktop.ShowBusy("");
    if (!unreadable.empty()) m_desktop.Message(UnreadableFoldersMessage(unreadable), Icon::Warning);
}

void MainWindowLogic::Languages() {
    userlang::LanguageListEditor editor(m_languageDb.read, m_languageDb.write);
    if (!editor.Load()) return Refuse(userlang::kOpenDbMessage);
    m_desktop.ShowLanguages(editor);
}

void MainWindowLogic::AddPaths(const std::vector<std::string>& paths) {
    // Finding the new paths takes seconds for a million; it runs aside while nothing changes the list.
    std::vector<std::string> added;
    const ResultList& rows = list();
    const WorkMark mark(m_working);
    m_desktop.RunAside([&] {
        std::unordered_set<std::string> present;
        for (std::size_t row = 0; row < rows.RowCount(); ++row) present.insert(platform::PathKey(rows.Path(row)));
        for (const std::string& path : paths)
            if (IsAcceptablePath(path) && present.insert(platform::PathKey(path)).second) added.push_back(path);
    });
    PlaceRows(std::move(added));
    UpdateStatusBars();
    // Even a choice that added nothing new marks the list changed.
    if (!paths.empty()) UpdateWindowName(projects::ListChanges::Unsaved);
}

void MainWindowLogic::PlaceRows(std::vector<std::string> paths) {
    // The order and the places run aside too; only moving the list's rows into their slots is left
    // for this thread.
    ResultList::NewRows prepared;
    const WorkMark mark(m_working);
    m_desktop.RunAside([&] { prepared = ResultList::PrepareRows(list(), std::move(paths)); });
    list().AddRows(std::move(prepared));
}

std::vector<ContextItem> MainWindowLogic::ContextMenu() const {
    const std::size_t selected = Selection().size();
    if (selected == 1)
        return {{cmd::kOpenSelected, "&Open", true, false},
                {cmd::kOpenFolder, "Open &Containing Folder", false, false},
                {cmd::kRemove, "&Remove selected file from list", false, true}};
    if (selected >= 2) return {{cmd::kRemove, "&Remove selected files from list", false, false}};
    return {};
}

void MainWindowLogic::ShowContextMenu() {
    const std::vector<ContextItem> items = ContextMenu();
    if (items.empty() || !m_view) return;
    if (const int chosen = m_view->ChooseFromMenu(items)) Dispatch(chosen);
}

}  // namespace kordel::ui
