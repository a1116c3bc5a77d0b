// The Qt main window: its widgets, menus and keys, each command handed to the shared logic.
#include "ui/qt/main_window.h"

#include <algorithm>
#include <utility>

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <QGridLayout>
#include <QGuiApplication>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QResizeEvent>
#include <QScreen>
#include <QShortcut>
#include <QStatusBar>
#include <QStyle>
#include <QTableView>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

#include "ui/core/commands.h"
#include "ui/qt/result_model.h"

namespace kordel::qt {
namespace cmd = ui::cmd;

MainWindow::MainWindow(ui::SettingsStore& store, const DesktopFactory& makeDesktop) {
    m_desktop = makeDesktop ? makeDesktop(this) : std::make_unique<QtDesktop>(this);
    m_logic = std::make_unique<ui::MainWindowLogic>(store, *m_desktop);
    m_desktop->SetLogic(m_logic.get());
    m_logic->SetView(this);
    m_model = new ResultModel(m_logic->list(), this);
    m_scrollTimer = new QTimer(this);
    m_scrollTimer->setSingleShot(true);
    m_scrollTimer->setInterval(16);
    connect(m_scrollTimer, &QTimer::timeout, this,
            [this] { m_table->scrollTo(m_model->index(static_cast<int>(m_scrollRow), 0)); });
    m_openTimer = new QTimer(this);
    m_openTimer->setInterval(100);
    connect(m_openTimer, &QTimer::timeout, this, [this] {
        if (QApplication::activeModalWidget() || QApplication::activePopupWidget()) return;
        m_openTimer->stop();
        const std::string path = m_toOpen.front();
        m_toOpen.pop_front();
        if (!m_logic->OpenNamed(path)) m_toOpen.push_front(path);  // work runs: it comes again later
        if (!m_toOpen.empty()) m_openTimer->start();
    });
    BuildMenus();
    BuildToolbar();
    BuildCentre();
    setAcceptDrops(true);
    SortDirectionChanged();
    KnownLanguagesChanged();
    TextsChanged();
}

MainWindow::~MainWindow() {
    // The model stops listening before the list it watches goes away with the logic.
    delete m_model;
    m_model = nullptr;
    m_logic->SetView(nullptr);
}

// `text` carries the key hint after a tab, as the menu shows it ("Ctrl + F", "Delete"); the menu
// draws that hint instead of Qt's own name of the key.
QAction* MainWindow::AddCommand(QMenu* menu, int command, const QString& text, const QKeySequence& key) {
    auto* action = menu->addAction(text);
    if (!key.isEmpty()) action->setShortcut(key);
    connect(action, &QAction::triggered, this, [this, command] { m_logic->Dispatch(command); });
    m_actions[command] = action;
    return action;
}

QAction* MainWindow::action(int command) const {
    const auto it = m_actions.find(command);
    return it == m_actions.end() ? nullptr : it->second;
}

void MainWindow::BuildMenus() {
    QMenu* file = menuBar()->addMenu("&File");
    AddCommand(file, cmd::kNew, "&New Project List\t");
    AddCommand(file, cmd::kOpen, "&Open Project List...");
    file->addSeparator();
    AddCommand(file, cmd::kSave, "&Save Project List\tF12", Qt::Key_F12);
    AddCommand(file, cmd::kSaveAs, "Save Project List &As...");
    file->addSeparator();
    AddCommand(file, cmd::kCount, "&Count\tF10", Qt::Key_F10)->setFont([] {
        QFont bold;
        bold.setBold(true);  // the default item
        return bold;
    }());
    QMenu* exportMenu = file->addMenu("E&xport");
    AddCommand(exportMenu, cmd::kExportCsv, "CS&V\tF7", Qt::Key_F7);
    AddCommand(exportMenu, cmd::kExportHtml, "&HTML\tF8", Qt::Key_F8);
    AddCommand(exportMenu, cmd::kExportTxt, "&TXT\tF9", Qt::Key_F9);
    file->addSeparator();
    AddCommand(file, cmd::kExit, "&Exit");

    QMenu* edit = menuBar()->addMenu("&Edit");
    AddCommand(edit, cmd::kAdd, "&Add Source File(s)...\tF2", Qt::Key_F2);
    AddCommand(edit, cmd::kRemove, "&Remove Selected File(s) from List\tDelete", Qt::Key_Delete);
    edit->addSeparator();
    AddCommand(edit, cmd::kFind, "&Find...\tCtrl + F", QKeySequence(Qt::CTRL | Qt::Key_F));
    AddCommand(edit, cmd::kFindNext, "Find &Next\tF3", Qt::Key_F3);

    QMenu* view = menuBar()->addMenu("&View");
    AddCommand(view, cmd::kOpenSelected, "&Open Selected File\tF4", Qt::Key_F4);
    AddCommand(view, cmd::kOpenFolder, "Open &Containing Folder\tF6", Qt::Key_F6);

    QMenu* sort = menuBar()->addMenu("&Sort");
    AddCommand(sort, cmd::kSortCode, "By &Code Lines");
    AddCommand(sort, cmd::kSortCodePercent, "B&y % of Code Lines");
    AddCommand(sort, cmd::kSortComment, "By Co&mment Lines");
    AddCommand(sort, cmd::kSortCommentPercent, "By % of Comm&ent Lines");
    AddCommand(sort, cmd::kSortMixed, "By Mi&xed Lines");
    AddCommand(sort, cmd::kSortMixedPercent, "By % of Mixed Line&s");
    AddCommand(sort, cmd::kSortBlank, "By B&lank Lines");
    AddCommand(sort, cmd::kSortBlankPercent, "By % of Bla&nk Lines");
    AddCommand(sort, cmd::kSortTotal, "By &Total Lines");
    sort->addSeparator();
    AddCommand(sort, cmd::kAscending, "&Ascending Order")->setCheckable(true);
    AddCommand(sort, cmd::kDescending, "&Descending Order")->setCheckable(true);

    QMenu* tools = menuBar()->addMenu("&Tools");
    AddCommand(tools, cmd::kOptions, "Kordel &Options...\tCtrl + O", QKeySequence(Qt::CTRL | Qt::Key_O));
    AddCommand(tools, cmd::kLanguages, "&User Defined Languages...\tCtrl + U", QKeySequence(Qt::CTRL | Qt::Key_U));
    AddCommand(tools, cmd::kKnownLanguages, QString::fromUtf8(ui::kKnownLanguagesItem.data(), ui::kKnownLanguagesItem.size()))
        ->setCheckable(true);

    QMenu* help = menuBar()->addMenu("&Help");
    QAction* manual = AddCommand(help, cmd::kManual, "Kordel User's &Manual\tF1", Qt::Key_F1);
    QFont bold = manual->font();
    bold.setBold(true);
    manual->setFont(bold);
    AddCommand(help, cmd::kWebSite, "&Visit the Brevlane Website");
    AddCommand(help, cmd::kCheckVersion, "&Check for a newer version of Kordel");
    help->addSeparator();
    AddCommand(help, cmd::kAbout, "&About...");

    // Enter presses Count, as the window's default button.
    for (const QKeySequence& key : {QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter)}) {
        auto* shortcut = new QShortcut(key, this);
        connect(shortcut, &QShortcut::activated, this, [this] { m_logic->Dispatch(cmd::kCountButton); });
    }
}

void MainWindow::BuildToolbar() {
    QToolBar* bar = addToolBar("Toolbar");
    bar->setMovable(false);
    bar->setIconSize(QSize(32, 32));
    bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    auto add = [&](QStyle::StandardPixmap icon, const QString& label, int command) {
        QAction* a = bar->addAction(style()->standardIcon(icon), label);
        a->setIconText(label);  // kept whole: Qt would drop a trailing "..." from the button's text
        a->setObjectName(QString("toolbar-%1").arg(command));
        connect(a, &QAction::triggered, this, [this, command] { m_logic->Dispatch(command); });
    };
    add(QStyle::SP_FileIcon, "New Project List", cmd::kNew);
    add(QStyle::SP_DialogOpenButton, "Open Project List...", cmd::kOpen);
    add(QStyle::SP_DialogSaveButton, "Save Project List", cmd::kSave);
    add(QStyle::SP_FileDialogNewFolder, "Add Source File(s)...", cmd::kAdd);
}

void MainWindow::BuildCentre() {
    auto* centre = new QWidget(this);
    auto* layout = new QVBoxLayout(centre);

    m_table = new QTableView(centre);
    m_table->setModel(m_model);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_table->setShowGrid(true);
    m_table->setSortingEnabled(false);
    m_table->setWordWrap(false);
    m_table->horizontalHeader()->setSectionsMovable(true);
    m_table->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_table->horizontalHeader()->setHighlightSections(false);  // titles stay plain while rows are selected
    m_table->verticalHeader()->hide();
    // Spaced-out rows unless the compact rows are chosen (read at start only).
    m_table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_table->verticalHeader()->setDefaultSectionSize(m_logic->settings().slc ? fontMetrics().height() + 6 : 28);
    m_table->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_table, &QTableView::doubleClicked, this, [this] { m_logic->Dispatch(cmd::kDoubleClick); });
    connect(m_table, &QTableView::customContextMenuRequested, this, [this] { m_logic->Dispatch(cmd::kContextMenu); });
    connect(m_table->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { m_logic->SelectionChanged(); });
    KeepSelectionAcrossReset();
    m_table->viewport()->installEventFilter(this);
    layout->addWidget(m_table, 1);

    auto* projectRow = new QHBoxLayout;
    projectRow->addWidget(new QLabel("Project:", centre));
    m_project = new QLabel(centre);
    projectRow->addWidget(m_project, 1);
    layout->addLayout(projectRow);

    auto* totals = new QGroupBox("Total Project Statistics", centre);
    auto* grid = new QGridLayout(totals);
    const char* captions[5] = {"Total Code Lines:", "Total Comment Lines:", "Total Mixed Lines:", "Total Blank Lines:",
                               "Total Lines Altogether:"};
    for (int i = 0; i < 5; ++i) {
        grid->addWidget(new QLabel(captions[i], totals), i, 0);
        m_totals[i] = new QLabel(totals);
        m_totals[i]->setTextInteractionFlags(Qt::TextSelectableByMouse);
        grid->addWidget(m_totals[i], i, 1);
    }
    grid->setColumnStretch(2, 1);
    layout->addWidget(totals);

    auto* buttons = new QHBoxLayout;
    auto* add = new QPushButton("&Add Source File(s)...", centre);
    connect(add, &QPushButton::clicked, this, [this] { m_logic->Dispatch(cmd::kAdd); });
    buttons->addWidget(add);
    auto* remove = new QPushButton("&Remove Selected File(s)", centre);
    connect(remove, &QPushButton::clicked, this, [this] { m_logic->Dispatch(cmd::kRemove); });
    buttons->addWidget(remove);
    buttons->addStretch(1);
    auto* count = new QPushButton("&Count", centre);
    count->setObjectName("count");
    count->setDefault(true);
    connect(count, &QPushButton::clicked, this, [this] { m_logic->Dispatch(cmd::kCountButton); });
    buttons->addWidget(count);
    layout->addLayout(buttons);
    setCentralWidget(centre);

    m_status0 = new QLabel(this);
    m_status1 = new QLabel(this);
    statusBar()->addWidget(m_status0, 1);
    statusBar()->addWidget(m_status1, 1);
    ApplyColumnWidths();
}

int MainWindow::PathColumnWidth() const {
    // As wide as the screen less the room the count columns of the plain list take.
    const QScreen* shown = screen() ? screen() : QGuiApplication::primaryScreen();
    const int screenWidth = shown ? shown->geometry().width() : 0;
    return std::max(ui::ListColumns(false)[0].width, screenWidth - 494);
}

void MainWindow::ApplyColumnWidths() {
    if (m_applyingWidths) return;  // a width change may bring or take a scroll bar, which resizes the view
    m_applyingWidths = true;
    const auto& columns = ui::ListColumns(m_logic->list().percentColumns());
    const QHeaderView* header = m_table->horizontalHeader();
    const int path = PathColumnWidth();
    std::vector<int> widths(columns.size());
    std::vector<int> titles(columns.size());
    int total = path;
    int spare = 0;
    for (std::size_t i = 1; i < columns.size(); ++i) {
        // A column is never narrower than its title in the font in use.
        titles[i] = header->sectionSizeHint(static_cast<int>(i));
        widths[i] = std::max(columns[i].width, titles[i]);
        total += widths[i];
        spare += widths[i] - titles[i];
    }
    // When the columns miss the view by less than the count columns have beyond their titles (a vertical
    // scroll bar taking its room), those give it up; wider lists keep their widths and scroll sideways.
    const int over = total - m_table->viewport()->width();
    if (over > 0 && over <= spare) {
        int left = over;
        for (std::size_t i = columns.size() - 1; i >= 1 && left > 0; --i) {
            const int give = std::min(left, (over * (widths[i] - titles[i]) + spare - 1) / spare);
            widths[i] -= give;
            left -= give;
        }
    }
    m_table->setColumnWidth(0, path);
    for (std::size_t i = 1; i < columns.size(); ++i) m_table->setColumnWidth(static_cast<int>(i), widths[i]);
    m_applyingWidths = false;
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    // The list's own size is known only once the layout has placed it, and changes with its scroll bars.
    if (watched == m_table->viewport() && event->type() == QEvent::Resize) {
        const auto* resize = static_cast<QResizeEvent*>(event);
        if (resize->size().width() != resize->oldSize().width()) ApplyColumnWidths();
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::KeepSelectionAcrossReset() {
    // Turning the percentage columns on or off rebuilds the rows in the same order: the selection stays.
    connect(m_model, &QAbstractItemModel::modelAboutToBeReset, this, [this] {
        // The list has already changed when the reset is announced: the view's headers still show what was.
        m_beforeReset = {SelectedRows(), m_table->verticalHeader()->count(), m_table->horizontalHeader()->count()};
    });
    connect(m_model, &QAbstractItemModel::modelReset, this, [this] {
        ApplyColumnWidths();
        const ResetMemory before = std::exchange(m_beforeReset, {});
        const int last = m_model->columnCount() - 1;
        if (before.columns != m_model->columnCount() && before.rows == m_model->rowCount() && !before.selected.empty()) {
            QItemSelection selection;
            std::size_t first = 0;
            for (std::size_t i = 1; i <= before.selected.size(); ++i) {
                if (i < before.selected.size() && before.selected[i] == before.selected[i - 1] + 1) continue;
                selection.select(m_model->index(static_cast<int>(before.selected[first]), 0),
                                 m_model->index(static_cast<int>(before.selected[i - 1]), last));
                first = i;
            }
            m_table->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
        }
        // Any other reset leaves nothing selected; the status bar says so either way.
        m_logic->SelectionChanged();
    });
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    // While work runs the cursor says a drop is refused; the logic ignores one anyway.
    if (event->mimeData()->hasUrls() && !m_logic->working()) event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
    std::vector<std::string> paths;
    for (const QUrl& url : event->mimeData()->urls())
        if (url.isLocalFile()) paths.push_back(QDir::toNativeSeparators(url.toLocalFile()).toStdString());
    if (paths.empty()) return;
    event->acceptProposedAction();
    m_logic->DropPaths(paths);
}

void MainWindow::OpenWhenIdle(const std::string& path) {
    m_toOpen.push_back(path);
    if (isMinimized()) showNormal();
    raise();
    activateWindow();
    if (!m_openTimer->isActive()) m_openTimer->start();
}

void MainWindow::TextsChanged() {
    const ui::WindowTexts& t = m_logic->texts();
    setWindowTitle(QString::fromStdString(t.title));
    m_project->setText(QString::fromStdString(t.projectName));
    const std::string* totals[5] = {&t.totals.code, &t.totals.comment, &t.totals.mixed, &t.totals.blank,
                                    &t.totals.lines};
    for (int i = 0; i < 5; ++i) m_totals[i]->setText(QString::fromStdString(*totals[i]));
    m_status0->setText(QString::fromStdString(t.status0));
    m_status1->setText(QString::fromStdString(t.status1));
}

void MainWindow::ScrollTo(std::size_t row) {
    // A count asks for every row; scrolling once per frame keeps the blits from dominating a long run.
    m_scrollRow = row;
    if (!m_scrollTimer->isActive()) m_scrollTimer->start();
}

void MainWindow::CloseWindow() {
    QTimer::singleShot(0, this, [this] { close(); });
}

void MainWindow::QuitNow() {
    m_quitting = true;
    close();
}

void MainWindow::KnownLanguagesChanged() { action(cmd::kKnownLanguages)->setChecked(m_logic->settings().okl); }

void MainWindow::SortDirectionChanged() {
    const bool ascending = m_logic->settings().asce;
    action(cmd::kAscending)->setChecked(ascending);
    action(cmd::kDescending)->setChecked(!ascending);
}

std::vector<std::size_t> MainWindow::SelectedRows() const {
    // Whole rows are selected, so the ranges give the rows; asking for selectedRows() looks at every
    // cell of every selected row, seconds for a million.
    std::vector<std::size_t> rows;
    for (const QItemSelectionRange& range : m_table->selectionModel()->selection())
        for (int row = range.top(); row <= range.bottom(); ++row) rows.push_back(static_cast<std::size_t>(row));
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());  // ranges may overlap
    return rows;
}

void MainWindow::SelectOnly(std::size_t row) {
    const int r = static_cast<int>(row);
    const QItemSelection selection(m_model->index(r, 0), m_model->index(r, m_model->columnCount() - 1));
    m_table->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
    m_table->selectionModel()->setCurrentIndex(m_model->index(r, 0), QItemSelectionModel::NoUpdate);
    m_table->scrollTo(m_model->index(r, 0));
}

int MainWindow::ChooseFromMenu(const std::vector<ui::ContextItem>& items) {
    QMenu menu(this);
    for (const ui::ContextItem& item : items) {
        if (item.separatorBefore) menu.addSeparator();
        QAction* a = menu.addAction(QString::fromStdString(item.text));
        a->setData(item.command);
        if (item.isDefault) menu.setDefaultAction(a);
    }
    activateWindow();
    const QAction* chosen = menu.exec(QCursor::pos());
    return chosen ? chosen->data().toInt() : 0;
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // While a worker runs the logic refuses to close; the progress window has the only way out.
    if (m_quitting || m_logic->QueryClose()) return event->accept();
    event->ignore();
}

}  // namespace kordel::qt
