// The desktop services (messages, file dialogs, opening files, the version check) with Qt.
#include "ui/qt/qt_desktop.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QEventLoop>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QThread>
#include <QUrl>
#include <QVBoxLayout>

#include <exception>

#include "engine/path_split.h"
#include "platform/os.h"
#include "platform/system.h"
#include "projects/project_list.h"
#include "ui/core/main_logic.h"
#include "ui/core/open_rules.h"
#include "ui/core/queued_observers.h"
#include "ui/qt/dialogs.h"
#include "ui/qt/language_dialogs.h"
#include "ui/qt/progress_dialog.h"
#include "ui/qt/qt_call_queue.h"
#include "ui/qt/version_fetch.h"


namespace kordel::qt {
namespace {

QString Text(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

}  // namespace

// A filter line as Qt's file dialog reads it: the description, then the patterns in parentheses,
// which a description such as "Project List File (*.kpl)" already ends with.
QString FilterLine(const std::string& description, const std::string& patterns) {
    QString list = QString::fromStdString(patterns);
    list.replace(';', ' ');
    list = list.simplified();
    const QString text = QString::fromStdString(description);
    if (text.endsWith("(" + list + ")")) return text;
    return text + " (" + list + ")";
}

namespace {

std::optional<std::string> Chosen(const QString& path) {
    if (path.isEmpty()) return std::nullopt;
    return QDir::toNativeSeparators(path).toStdString();
}

// The modeless notice of a step that may take a moment.
class BusyDialog final : public QDialog {
public:
    BusyDialog(const QString& text, QWidget* owner) : QDialog(owner) {
        setWindowTitle("Kordel");
        auto* layout = new QVBoxLayout(this);
        layout->addWidget(new QLabel(text, this));
        setMinimumWidth(320);
    }
};

}  // namespace

QtDesktop::QtDesktop(QWidget* owner) : m_owner(owner) {}

QtDesktop::~QtDesktop() = default;

ui::Answer QtDesktop::Message(std::string_view text, ui::Icon icon, ui::Buttons buttons) {
    QMessageBox box(m_owner);
    box.setWindowTitle(Text(ui::kCaption));
    box.setText(Text(text));
    switch (icon) {
        case ui::Icon::Stop: box.setIcon(QMessageBox::Critical); break;
        case ui::Icon::Information: box.setIcon(QMessageBox::Information); break;
        case ui::Icon::Warning: box.setIcon(QMessageBox::Warning); break;
        case ui::Icon::Question: box.setIcon(QMessageBox::Question); break;
    }
    switch (buttons) {
        case ui::Buttons::Ok: box.setStandardButtons(QMessageBox::Ok); break;
        case ui::Buttons::OkCancel: box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel); break;
        case ui::Buttons::YesNo: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
        case ui::Buttons::YesNoCancel:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
            break;
    }
    switch (box.exec()) {
        case QMessageBox::Ok: return ui::Answer::Ok;
        case QMessageBox::Yes: return ui::Answer::Yes;
        case QMessageBox::No: return ui::Answer::No;
        default: return ui::Answer::Cancel;
    }
}

void QtDesktop::RunUnderProgress(bool sorting, std::atomic<int>& canc,
                                 const std::function<void(ProgressDialog&)>& body) {
    ProgressDialog dialog(sorting, canc, m_owner);
    m_progress = &dialog;
    // The worker never touches a widget: what it reports travels as queued calls to the dialog.
    QThread* worker = QThread::create([&] {
        body(dialog);
        QMetaObject::invokeMethod(&dialog, [&dialog] { dialog.Finish(); }, Qt::QueuedConnection);
    });
    worker->start();
    dialog.exec();
    worker->wait();
    delete worker;
    m_progress = nullptr;
}

void QtDesktop::RunWithProgress(bool sorting, std::atomic<int>& canc,
                                const std::function<void(engine::RunObserver&)>& work,
                                engine::RunObserver& uiObserver) {
    RunUnderProgress(sorting, canc, [&](ProgressDialog& dialog) {
        const auto calls = MakeQtCallQueue(&dialog);
        ui::QueuedRunObserver queued(*calls, uiObserver);
        work(queued);
        calls->Flush();
    });
}

void QtDesktop::RunSortWithProgress(std::atomic<int>& canc, const std::function<void(engine::SortObserver&)>& work,
                                    engine::SortObserver& uiObserver) {
    RunUnderProgress(true, canc, [&](ProgressDialog& dialog) {
        const auto calls = MakeQtCallQueue(&dialog);
        ui::QueuedSortObserver queued(*calls, uiObserver);
        work(queued);
        calls->Flush();
    });
}

void QtDesktop::SetProgressDetail(const std::string& text) {
    if (m_progress) m_progress->SetDetail(QString::fromStdString(text));
}

void QtDesktop::SetProgressPercent(int percent) {
    if (m_progress) m_progress->SetPercent(percent);
}

ui::VersionReply QtDesktop::FetchVersionFile(const std::string& url) {
    return FetchWithWaitWindow(url, m_versionDeadline, m_owner);
}

void QtDesktop::OpenDocument(const std::string& path) {
    // Opening must show the file, never run it; the path is never part of a command line.
    const QFileInfo info(QString::fromStdString(path));
    if constexpr (platform::kWindows) {
        platform::ShellOpen(path, !info.isDir() && ui::IsRunnableExtension(engine::PathExtension(path), ui::Shell::Windows));
        return;
    }
    if (!info.isDir() && ui::IsRunnableExtension(engine::PathExtension(path), ui::Shell::FreeDesktop)) {
        // Launchers such as .desktop files would start a program: show the folder instead.
        QDesktopServices::openUrl(QUrl::fromLocalFile(info.absolutePath()));
        return;
    }
    QDesktopServices::openUrl(QUrl::fromLocalFile(info.absoluteFilePath()));
}

void QtDesktop::OpenUrl(const std::string& url) { QDesktopServices::openUrl(QUrl(QString::fromStdString(url))); }

std::optional<std::string> QtDesktop::AskOpenPath(std::string_view title, const ui::FileType& type) {
    QFileDialog dialog(m_owner, Text(title), {}, FilterLine(type.description, type.pattern));
    dialog.setFileMode(QFileDialog::ExistingFile);
    FitFileDialog(dialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return Chosen(dialog.selectedFiles().front());
}

std::optional<std::string> QtDesktop::AskSavePath(std::string_view title, const ui::FileType& type) {
    QFileDialog dialog(m_owner, Text(title), {}, FilterLine(type.description, type.pattern));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setDefaultSuffix(QString::fromStdString(type.defaultExtension));
    FitFileDialog(dialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return Chosen(dialog.selectedFiles().front());
}

ui::AddChoice QtDesktop::AskSourceFiles(std::string_view title, const std::vector<ui::FileFilter>& filters, int filter,
                                    const std::string& folder) {
    SourceFileDialog dialog(m_owner, Text(title), QString::fromStdString(folder));
    QStringList lines;
    for (const ui::FileFilter& f : filters) lines << FilterLine(f.description, f.patterns);
    dialog.setNameFilters(lines);
    const int shown = filter >= 1 && filter <= lines.size() ? filter : 1;
    dialog.selectNameFilter(lines[shown - 1]);
    ui::AddChoice choice;
    const bool accepted = dialog.exec() == QDialog::Accepted;
    choice.filter = static_cast<int>(lines.indexOf(dialog.selectedNameFilter())) + 1;
    if (choice.filter < 1) choice.filter = shown;
    if (accepted)
        for (const QString& path : dialog.chosen()) choice.paths.push_back(QDir::toNativeSeparators(path).toStdString());
    return choice;
}

void QtDesktop::RunAside(const std::function<void()>& work) {
    QEventLoop loop;
    // A failure (out of memory) reaches this thread's handlers instead of ending the program.
    std::exception_ptr failure;
    QThread* worker = QThread::create([&] {
        try {
            work();
        } catch (...) {
            failure = std::current_exception();
        }
    });
    QObject::connect(worker, &QThread::finished, &loop, &QEventLoop::quit);
    worker->start();
    // Timers and painting go on; clicks and keys wait, so no command starts meanwhile.
    if (!worker->isFinished()) loop.exec(QEventLoop::ExcludeUserInputEvents);
    worker->wait();
    delete worker;
    if (failure) std::rethrow_exception(failure);
}

void QtDesktop::RunOnInterface(const std::function<void()>& call) {
    QCoreApplication* app = QCoreApplication::instance();
    if (QThread::currentThread() == app->thread()) return call();
    // RunAside's event loop takes queued calls; the worker waits for this one to return.
    std::exception_ptr failure;
    QMetaObject::invokeMethod(
        app,
        [&] {
            try {
                call();
            } catch (...) {
                failure = std::current_exception();
            }
        },
        Qt::BlockingQueuedConnection);
    if (failure) std::rethrow_exception(failure);
}

void QtDesktop::ShowBusy(std::string_view text) {
    m_busy.reset();
    if (text.empty()) return;
    m_busy = std::make_unique<BusyDialog>(Text(text), m_owner);
    m_busy->show();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

std::optional<std::string> QtDesktop::AskProjectName() {
    NameQuestionDialog question(m_owner);
    if (question.exec() != QDialog::Accepted) return std::nullopt;
    NameEntryDialog entry(m_owner);
    if (entry.exec() != QDialog::Accepted) return std::nullopt;
    return entry.edit()->text().toStdString();
}

std::optional<ui::FindRequest> QtDesktop::AskFind() {
    FindDialog dialog(*this, m_owner);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.request();
}

void QtDesktop::ShowOptions() {
    if (!m_logic) return;
    OptionsDialog dialog(*m_logic, m_owner);
    dialog.exec();
}

void QtDesktop::ShowAbout() {
    AboutDialog dialog(m_owner);
    dialog.exec();
}

void QtDesktop::ShowLanguages(userlang::LanguageListEditor& editor) {
    LanguagesDialog dialog(editor, *this, m_owner);
    dialog.exec();
}

std::filesystem::path QtDesktop::ProgramFolder() {
    return QCoreApplication::applicationDirPath().toStdString();
}

}  // namespace kordel::qt
