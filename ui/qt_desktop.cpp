#include "ui/qt_desktop.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QMessageBox>
#include <QThread>
#include <QUrl>

#include "engine/path_split.h"
#include "ui/core/main_logic.h"
#include "ui/core/open_rules.h"
#include "ui/dialogs.h"
#include "ui/progress_dialog.h"
#include "ui/queued_observer.h"
#include "ui/version_fetch.h"

#ifdef _WIN32
#include <windows.h>
#include <shellapi.h>
#endif

namespace kordel::ui {
namespace {

QString Text(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

}  // namespace

Answer QtDesktop::Message(std::string_view text, Icon icon, Buttons buttons) {
    QMessageBox box(m_owner);
    box.setWindowTitle(Text(kCaption));
    box.setText(Text(text));
    switch (icon) {
        case Icon::Stop: box.setIcon(QMessageBox::Critical); break;
        case Icon::Information: box.setIcon(QMessageBox::Information); break;
        case Icon::Warning: box.setIcon(QMessageBox::Warning); break;
        case Icon::Question: box.setIcon(QMessageBox::Question); break;
    }
    switch (buttons) {
        case Buttons::Ok: box.setStandardButtons(QMessageBox::Ok); break;
        case Buttons::OkCancel: box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel); break;
        case Buttons::YesNo: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
        case Buttons::YesNoCancel:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
            break;
    }
    switch (box.exec()) {
        case QMessageBox::Ok: return Answer::Ok;
        case QMessageBox::Yes: return Answer::Yes;
        case QMessageBox::No: return Answer::No;
        default: return Answer::Cancel;
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
        QueuedObserver queued(&dialog, uiObserver);
        work(queued);
    });
}

void QtDesktop::RunSortWithProgress(std::atomic<int>& canc, const std::function<void(SortObserver&)>& work,
                                    SortObserver& uiObserver) {
    RunUnderProgress(true, canc, [&](ProgressDialog& dialog) {
        QueuedSortObserver queued(&dialog, uiObserver);
        work(queued);
    });
}

void QtDesktop::SetProgressDetail(const std::string& text) {
    if (m_progress) m_progress->SetDetail(QString::fromStdString(text));
}

void QtDesktop::SetProgressPercent(int percent) {
    if (m_progress) m_progress->SetPercent(percent);
}

std::optional<std::string> QtDesktop::FetchVersionFile(const std::string& url) {
    return FetchWithWaitWindow(url, m_timeout, m_owner);
}

void QtDesktop::OpenDocument(const std::string& path) {
    // Opening must show the file, never run it; the path is never part of a command line.
#ifdef _WIN32
    const std::wstring wide = QString::fromStdString(path).toStdWString();
    const std::string ext(engine::PathExtension(path));
    const bool isFolder = QFileInfo(QString::fromStdString(path)).isDir();
    ShellExecuteW(nullptr, !isFolder && IsRunnableExtension(ext, Shell::Windows) ? L"edit" : L"open", wide.c_str(), nullptr,
                  nullptr, SW_SHOWNORMAL);
#else
    const QFileInfo info(QString::fromStdString(path));
    if (!info.isDir() && IsRunnableExtension(engine::PathExtension(path), Shell::FreeDesktop)) {
        // Launchers such as .desktop files would start a program: show the folder instead.
        QDesktopServices::openUrl(QUrl::fromLocalFile(info.absolutePath()));
        return;
    }
    QDesktopServices::openUrl(QUrl::fromLocalFile(info.absoluteFilePath()));
#endif
}

void QtDesktop::OpenUrl(const std::string& url) { QDesktopServices::openUrl(QUrl(QString::fromStdString(url))); }

std::optional<FindRequest> QtDesktop::AskFind() {
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

std::filesystem::path QtDesktop::ProgramFolder() {
    return QCoreApplication::applicationDirPath().toStdString();
}

}  // namespace kordel::ui
