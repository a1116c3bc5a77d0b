// The desktop program's main window, driven through its widgets on the offscreen platform.
#include <chrono>
#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <new>
#include <regex>
#include <stdexcept>
#include <memory>
#include <thread>

#include <sys/stat.h>

#include <QAction>
#include <QApplication>
#include <QLocalSocket>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QFileDialog>
#include <QGroupBox>
#include <QHeaderView>
#include <QToolBar>
#include <QToolButton>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTableView>
#include <QTableWidget>
#include <QMimeData>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <QScreen>
#include <QScrollBar>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include "ui/core/commands.h"
#include "ui/core/options.h"
#include "ui/core/messages.h"
#include "ui/core/queued_observers.h"
#include "ui/core/version_check.h"
#include "ui/qt/dialogs.h"
#include "ui/qt/language_dialogs.h"
#include "ui/qt/main_window.h"
#include "ui/qt/progress_dialog.h"
#include "ui/qt/qt_call_queue.h"
#include "ui/qt/qt_desktop.h"
#include "ui/qt/single_instance.h"

using namespace kordel::ui;
using namespace kordel::qt;

namespace {

// Answers message boxes from a script; everything else is the real desktop.
class ScriptedDesktop final : public QtDesktop {
public:
    using QtDesktop::QtDesktop;
    Answer Message(std::string_view text, Icon, Buttons buttons) override {
        messages.emplace_back(text);
        if (onMessage) onMessage(messages.back());
        if (answers.empty()) return buttons == Buttons::Ok ? Answer::Ok : Answer::Cancel;
        const Answer a = answers.front();
        answers.pop_front();
        return a;
    }
    void OpenDocument(const std::string& path) override { opened.push_back(path); }
    void OpenUrl(const std::string& url) override { urls.push_back(url); }

    std::vector<std::string> messages;
    std::deque<Answer> answers;
    std::function<void(const std::string&)> onMessage;
    std::vector<std::string> opened;
    std::vector<std::string> urls;
};

// Runs `act` on the next modal dialog of type T once it is shown.
template <typename T>
void WhenModal(std::function<void(T*)> act) {
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, act] {
        if (auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget())) {
            timer->stop();
            timer->deleteLater();
            act(dialog);
        }
    });
    timer->start();
}

// A one-shot HTTP server on loopback answering every request with `reply` (none: stay silent), followed
// by `filler` bytes of 'x' sent a megabyte at a time while the client keeps reading. With `trickle`, the
// reply's last `trickled` bytes go one at a time, `trickle` apart.
class VersionServer {
public:
    explicit VersionServer(std::optional<QByteArray> reply, qint64 filler = 0,
                           std::chrono::milliseconds trickle = std::chrono::milliseconds(0), int trickled = 0)
        : m_reply(std::move(reply)), m_filler(filler) {
        QObject::connect(&m_server, &QTcpServer::newConnection, [this, trickle, trickled] {
            QTcpSocket* socket = m_server.nextPendingConnection();
            QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket, trickle, trickled] {
                socket->readAll();
                if (!m_reply) return;
                if (trickle.count() > 0) {
                    socket->write(m_reply->left(m_reply->size() - trickled));
                    auto* timer = new QTimer(socket);
                    QObject::connect(timer, &QTimer::timeout, socket, [this, socket, timer, trickled] {
                        if (m_trickled == trickled) return timer->stop();
                        socket->write(m_reply->mid(m_reply->size() - trickled + m_trickled++, 1));
                    });
                    timer->start(trickle);
                    return;
                }
                socket->write(*m_reply);
                if (m_filler == 0) {
                    socket->disconnectFromHost();
                    return;
                }
                QObject::connect(socket, &QTcpSocket::bytesWritten, socket, [this, socket] {
                    if (socket->bytesToWrite() > 0) return;
                    const qint64 piece = std::min<qint64>(m_filler - m_sent, 1 << 20);
                    if (piece <= 0) return socket->disconnectFromHost();
                    m_sent += piece;
                    socket->write(QByteArray(piece, 'x'));
                });
            });
        });
        m_server.listen(QHostAddress::LocalHost);
    }
    std::string url() const {
        return "http://127.0.0.1:" + std::to_string(m_server.serverPort()) + "/kordelnewversion.txt";
    }
    qint64 sent() const { return m_sent; }

private:
    QTcpServer m_server;
    std::optional<QByteArray> m_reply;
    qint64 m_filler;
    qint64 m_sent = 0;
    int m_trickled = 0;
};

// Writes down every call it gets, in order, as short texts.
class EventLog final : public kordel::engine::RunObserver {
public:
    std::vector<std::string> events;
    void SetStatus(const std::string& text) override { events.push_back("status " + text); }
    void WriteRow(std::size_t row, const std::vector<std::string>&) override {
        events.push_back("row " + std::to_string(row));
    }
    void WriteTotals(const kordel::engine::TotalsTexts&) override { events.push_back("totals"); }
    void SetProgress(int percent) override { events.push_back("percent " + std::to_string(percent)); }
    bool AskMissing(const std::string& m) override { return events.push_back("ask " + m), true; }
    bool AskOpenFailed(const std::string& m) override { return events.push_back("ask " + m), true; }
    bool AskUnknownExtension(const std::string& m) override { return events.push_back("ask " + m), true; }
    void Finished(const std::string& m, bool) override { events.push_back("finished " + m); }
};

// The program's own version followed by `rest`, as a version file would hold it.
QByteArray Own(const char* rest) { return QByteArray(kordel::kShortVersion) + rest; }

QByteArray HttpReply(const QByteArray& status, const QByteArray& body, qint64 filler = 0) {
    return "HTTP/1.1 " + status + "\r\nContent-Length: " + QByteArray::number(body.size() + filler) +
           "\r\nConnection: close\r\n\r\n" + body;
}

}  // namespace

class GuiTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<MainWindow> window;
    ScriptedDesktop* desktop = nullptr;
    MemorySettingsStore store;
    QTemporaryDir sources;

    std::string Source(const std::string& name, const std::string& text) {
        const std::string path = sources.filePath(QString::fromStdString(name)).toStdString();
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }

    void TurnPercentColumns(bool on) {
        for (const OptionBox& box : OptionBoxes())
            if (box.flag == &Settings::sps) window->logic().ClickOption(box, on);
    }

    int ExpectedPathWidth() const { return std::max(250, window->screen()->geometry().width() - 494); }

private slots:
    void init() {
        store = MemorySettingsStore{};
        window = std::make_unique<MainWindow>(store, [this](QWidget* owner) {
            auto d = std::make_unique<ScriptedDesktop>(owner);
            desktop = d.get();
            return d;
        });
        window->logic().SetLanguageDatabase(sources.filePath("udlangdb.ini").toStdString());
        window->show();
    }
    void cleanup() { window.reset(); }

    void startsUntitledAndEmpty() {
        QCOMPARE(window->windowTitle(), QString(kordel::kNameAndVersion) + " - Untitled Project List");
        QCOMPARE(window->statusPart(0)->text(), QString("Welcome to Kordel"));
        QCOMPARE(window->projectLabel()->text(), QString("Unspecified"));
        QCOMPARE(window->totalLabel(0)->text(), QString("0 (0.00%)"));
        QCOMPARE(window->totalLabel(4)->text(), QString("0"));
        QCOMPARE(window->table()->model()->columnCount(), 6);
        QCOMPARE(window->table()->model()->headerData(2, Qt::Horizontal).toString(), QString("Comment Lines"));
        QVERIFY(window->action(cmd::kDescending)->isChecked());
        QVERIFY(!window->action(cmd::kAscending)->isChecked());
    }

    void refusesCommandsThatCannotRun() {
        window->action(cmd::kCount)->trigger();
        window->action(cmd::kRemove)->trigger();
        window->action(cmd::kOpenSelected)->trigger();
        window->action(cmd::kOpenFolder)->trigger();
        QCOMPARE(desktop->messages, (std::vector<std::string>{std::string(msg::kAddFirst), std::string(msg::kSelectItems),
                                                              std::string(msg::kSelectItem),
                                                              std::string(msg::kSelectItemFolder)}));
        QCOMPARE(window->action(cmd::kCount)->shortcut(), QKeySequence(Qt::Key_F10));
        QCOMPARE(window->action(cmd::kRemove)->shortcut(), QKeySequence(Qt::Key_Delete));
    }

    void countsAFolderOnAWorkerAndShowsTheTotals() {
        window->logic().SetJobs(2);
        std::vector<std::string> paths;
        for (int i = 0; i < 40; ++i)
            paths.push_back(Source(std::string("f").append(std::to_string(i)).append(".c"), "int a; // note\n\n/* block\n   more */\ncode();\n"));
        window->logic().list().AddPaths(paths);
        window->findChild<QPushButton*>("count")->click();
        // The closing message names the run's whole seconds, which a loaded machine may make more than 0.
        QVERIFY(std::regex_match(desktop->messages.back(), std::regex("Kordel completed in [0-9]+ seconds?\\.")));
        QCOMPARE(window->totalLabel(0)->text(), QString("40 (20.00%)"));
        QCOMPARE(window->totalLabel(1)->text(), QString("80 (40.00%)"));
        QCOMPARE(window->totalLabel(2)->text(), QString("40 (20.00%)"));
        QCOMPARE(window->totalLabel(4)->text(), QString("200"));
        QCOMPARE(window->statusPart(0)->text(), QString("40 items"));
        const QModelIndex last = window->table()->model()->index(39, 5);
        QCOMPARE(last.data().toString(), QString("5"));
        QVERIFY(!window->logic().working());
    }

    void sortsOnAWorkerAfterACount() {
        window->action(cmd::kSortCode)->trigger();
        QCOMPARE(desktop->messages.back(), std::string(msg::kCountBeforeSort));
        window->logic().list().AddPaths({Source("one.c", "a;\n"), Source("three.c", "a;\nb;\nc;\n"),
                                         Source("two.c", "a;\nb;\n")});
        window->logic().Dispatch(cmd::kCount);
        window->action(cmd::kSortTotal)->trigger();
        auto* model = window->table()->model();
        QVERIFY(model->index(0, 0).data().toString().endsWith("three.c"));
        QVERIFY(model->index(2, 0).data().toString().endsWith("one.c"));
        window->action(cmd::kAscending)->trigger();
        QCOMPARE(store.Read("sortarr").value_or(""), std::string("1"));
        window->action(cmd::kSortCode)->trigger();
        QVERIFY(model->index(0, 0).data().toString().endsWith("one.c"));
        QCOMPARE(model->index(2, 1).data().toString(), QString("3"));
        QVERIFY(window->action(cmd::kAscending)->isChecked());
    }

    void aFloodOfCallsLeavesTimersTheirTurn() {
        // A worker that reports faster than the window takes its calls (a sort's swaps): the loop's
        // timers still tick between the slices of calls.
        QObject context;
        bool delivered = false;
        QElapsedTimer clock;
        clock.start();
        qint64 longest = 0;
        QTimer tick;
        tick.setInterval(5);
        connect(&tick, &QTimer::timeout, [&] { longest = std::max(longest, clock.restart()); });
        tick.start();
        // Calls of about 50 us each, posted for half a second, one every 20 us.
        const auto busy = [](std::chrono::microseconds span) {
            const auto end = std::chrono::steady_clock::now() + span;
            while (std::chrono::steady_clock::now() < end) {
            }
        };
        std::thread worker([&] {
            const auto calls = MakeQtCallQueue(&context);
            const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(500);
            while (std::chrono::steady_clock::now() < end) {
                calls->Post(CallQueue::Kind::Other, [&] { busy(std::chrono::microseconds(50)); });
                busy(std::chrono::microseconds(20));
            }
            calls->Post(CallQueue::Kind::Other, [&] { delivered = true; });
        });
        QTRY_VERIFY_WITH_TIMEOUT(delivered, 20000);
        worker.join();
        QVERIFY2(longest < 200, qPrintable(QString("the timer waited %1 ms").arg(longest)));
    }

    void workerCallsArriveInOrderWithTheLatestStatus() {
        // A worker reports many rows around a question. Every row arrives in order; the question comes
        // after the rows before it, with the status of that moment applied; updates that a
        // later one replaced in the same delivery may be dropped, the last ones never.
        QObject context;
        EventLog log;
        bool answer = false;
        std::atomic<bool> done{false};
        std::thread worker([&] {
            const auto calls = MakeQtCallQueue(&context);
            QueuedRunObserver queued(*calls, log);
            for (int i = 0; i < 2000; ++i) {
                queued.SetStatus(std::to_string(i));
                queued.WriteRow(static_cast<std::size_t>(i), {});
                queued.SetProgress(i / 20);
                if (i == 999) answer = queued.AskMissing("q");
            }
            queued.WriteTotals({});
            queued.Finished("end", false);
            done = true;
        });
        QTRY_VERIFY_WITH_TIMEOUT(done && !log.events.empty() && log.events.back() == "finished end", 20000);
        worker.join();
        QVERIFY(answer);
        std::vector<std::string> rows;
        std::string statusAtQuestion, lastStatus;
        for (const std::string& e : log.events) {
            if (e.rfind("row ", 0) == 0) rows.push_back(e);
            if (e.rfind("status ", 0) == 0) lastStatus = e;
            if (e == "ask q") {
                QCOMPARE(rows.size(), std::size_t(1000));
                statusAtQuestion = lastStatus;
            }
        }
        QCOMPARE(rows.size(), std::size_t(2000));
        for (std::size_t i = 0; i < rows.size(); ++i) QCOMPARE(rows[i], "row " + std::to_string(i));
        QCOMPARE(statusAtQuestion, std::string("status 999"));
        QCOMPARE(lastStatus, std::string("status 1999"));
        const auto totals = std::find(log.events.begin(), log.events.end(), "totals");
        QVERIFY(totals != log.events.end() && totals + 1 == log.events.end() - 1);
        QVERIFY(std::find(log.events.begin(), log.events.end(), "percent 99") != log.events.end());
    }

    void aLongDeliveryLetsTheEventLoopRunAndFlushWaitsForItsEnd() {
        // Rows that pile up while the interface thread is busy arrive as one batch that takes far
        // longer than a delivery slice: a zero timer must get its turn between the rows, and the
        // worker's Flush must not return before the last row is made.
        QObject context;
        std::atomic<int> made{0};
        int seenPartway = 0;
        class SlowRows final : public kordel::engine::RunObserver {
        public:
            explicit SlowRows(std::atomic<int>& made) : m_made(made) {}
            void SetStatus(const std::string&) override {}
            void WriteRow(std::size_t, const std::vector<std::string>&) override {
                std::this_thread::sleep_for(std::chrono::microseconds(200));
                ++m_made;
            }
            void WriteTotals(const kordel::engine::TotalsTexts&) override {}
            void SetProgress(int) override {}
            bool AskMissing(const std::string&) override { return true; }
            bool AskOpenFailed(const std::string&) override { return true; }
            bool AskUnknownExtension(const std::string&) override { return true; }
            void Finished(const std::string&, bool) override {}

        private:
            std::atomic<int>& m_made;
        } slow(made);
        QTimer tick;
        tick.setInterval(0);
        connect(&tick, &QTimer::timeout, [&] { seenPartway += made > 0 && made < 1000 ? 1 : 0; });
        std::atomic<bool> posted{false}, flushed{false};
        int madeAtFlush = 0;
        std::thread worker([&] {
            const auto calls = MakeQtCallQueue(&context);
            QueuedRunObserver queued(*calls, slow);
            for (int i = 0; i < 1000; ++i) queued.WriteRow(static_cast<std::size_t>(i), {});
            posted = true;
            calls->Flush();
            madeAtFlush = made;
            flushed = true;
        });
        while (!posted) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        tick.start();
        QTRY_VERIFY_WITH_TIMEOUT(flushed.load(), 20000);
        worker.join();
        QCOMPARE(madeAtFlush, 1000);
        QVERIFY(seenPartway > 0);
    }

    void cancelStopsTheRunBetweenFiles() {
        const std::string missing = sources.filePath("gone.c").toStdString();
        const std::string present = Source("z.c", "x;\n");
        window->logic().list().AddPaths({missing, present});
        // At the missing-file question, press the progress window's Cancel, then skip the file.
        desktop->onMessage = [this](const std::string& text) {
            if (text.find("does not exist") != std::string::npos) desktop->progress()->cancelButton()->click();
        };
        desktop->answers = {Answer::Cancel};
        window->logic().Dispatch(cmd::kCount);
        QCOMPARE(desktop->messages.back(), std::string("The process was canceled."));
        QCOMPARE(window->table()->model()->index(1, 5).data().toString(), QString(""));
        QVERIFY(window->logic().cy());
    }

    void closeIsRefusedWhileAWorkerRuns() {
        window->logic().list().AddPaths({sources.filePath("gone.c").toStdString()});
        bool closedDuringRun = true;
        desktop->onMessage = [&](const std::string& text) {
            if (text.find("does not exist") == std::string::npos) return;
            closedDuringRun = window->close();
        };
        desktop->answers = {Answer::Cancel};
        window->logic().Dispatch(cmd::kCount);
        QVERIFY(!closedDuringRun);
        QVERIFY(window->isVisible());
    }

    // A double-click or a context menu that reaches the table while a count runs (the missing-file
    // question keeps it running) neither opens the file nor shows a menu; afterwards both work.
    void doubleClickAndContextMenuDoNothingWhileAWorkerRuns() {
        const std::string missing = sources.filePath("gone.c").toStdString();
        window->logic().list().AddPaths({missing});
        window->table()->selectRow(0);
        QTableView* table = window->table();
        bool menuShown = false;
        const auto closeMenu = [&] {
            if (QWidget* popup = QApplication::activePopupWidget()) {
                menuShown = true;
                popup->close();
            }
        };
        int during = 0;
        desktop->onMessage = [&](const std::string& text) {
            if (text.find("does not exist") == std::string::npos) return;
            ++during;
            QVERIFY(window->logic().working());
            QTimer::singleShot(0, closeMenu);
            emit table->doubleClicked(table->model()->index(0, 0));
            emit table->customContextMenuRequested(table->visualRect(table->model()->index(0, 0)).center());
        };
        desktop->answers = {Answer::Cancel};
        window->logic().Dispatch(cmd::kCount);
        QCOMPARE(during, 1);
        QVERIFY(desktop->opened.empty());
        QVERIFY(!menuShown);
        QCOMPARE(window->table()->model()->rowCount(), 1);

        desktop->onMessage = nullptr;
        emit table->doubleClicked(table->model()->index(0, 0));
        QCOMPARE(desktop->opened, std::vector<std::string>{missing});
        QTimer::singleShot(0, closeMenu);
        emit table->customContextMenuRequested(table->visualRect(table->model()->index(0, 0)).center());
        QVERIFY(menuShown);
    }

    void findAndFindNextThroughTheDialog() {
        window->logic().list().AddPaths({"/src/Alpha.c", "/src/beta.c", "/src/alphabet.c"});
        WhenModal<FindDialog>([this](FindDialog* dialog) {
            dialog->accept();  // empty: refused, the dialog stays
            QCOMPARE(desktop->messages.back(), std::string(msg::kEnterSearch));
            QVERIFY(dialog->isVisible());
            dialog->edit()->setText("ALPHA");
            dialog->accept();
        });
        window->action(cmd::kFind)->trigger();
        QCOMPARE(window->table()->selectionModel()->selectedRows().size(), 1);
        QCOMPARE(window->table()->selectionModel()->selectedRows().front().row(), 0);
        window->action(cmd::kFindNext)->trigger();
        QCOMPARE(window->table()->selectionModel()->selectedRows().front().row(), 1);
        QCOMPARE(window->statusPart(1)->text(), QString("Selected: alphabet.c"));
        window->action(cmd::kFindNext)->trigger();
        QCOMPARE(desktop->messages.back(), std::string("Could not locate \"ALPHA\"."));
    }

    void selectingRowsInTheViewReachesTheCommands() {
        window->logic().list().AddPaths({"/s/a.c", "/s/b.c", "/s/c.c"});
        window->table()->selectRow(0);
        window->action(cmd::kOpenSelected)->trigger();
        QCOMPARE(desktop->opened, std::vector<std::string>{"/s/a.c"});
        window->table()->selectAll();
        QCOMPARE(window->statusPart(1)->text(), QString("3 items selected"));
        window->action(cmd::kRemove)->trigger();
        QCOMPARE(window->table()->model()->rowCount(), 0);
        QCOMPARE(window->windowTitle(), QString(kordel::kNameAndVersion) + " - Untitled Project List *");
        // Overlapping selections count each row once.
        window->logic().list().AddPaths({"/s/a.c", "/s/b.c", "/s/c.c", "/s/d.c"});
        auto* model = window->table()->model();
        auto* selection = window->table()->selectionModel();
        using Flag = QItemSelectionModel::SelectionFlag;
        selection->select(QItemSelection(model->index(0, 0), model->index(1, 0)), Flag::ClearAndSelect | Flag::Rows);
        selection->select(QItemSelection(model->index(1, 0), model->index(2, 0)), Flag::Select | Flag::Rows);
        QCOMPARE(window->statusPart(1)->text(), QString("3 items selected"));
        window->action(cmd::kRemove)->trigger();
        QCOMPARE(model->rowCount(), 1);
        QCOMPARE(model->index(0, 0).data().toString(), QString("/s/d.c"));
    }

    void optionsDialogWritesTheStore() {
        window->logic().list().AddPaths({"/s/a.c"});
        WhenModal<OptionsDialog>([](OptionsDialog* dialog) {
            QVERIFY(dialog->box(6049)->isChecked());  // rows spaced out by default
            dialog->box(6044)->click();
            dialog->dotF()->setCurrentIndex(1);
            dialog->reject();  // the close box: ".f" is not stored
        });
        window->action(cmd::kOptions)->trigger();
        QCOMPARE(store.Read("sps").value_or(""), std::string("1"));
        QCOMPARE(window->table()->model()->columnCount(), 10);
        QCOMPARE(window->table()->model()->headerData(2, Qt::Horizontal).toString(), QString("% of Code Lines"));
        QVERIFY(!store.Read("dotf"));
        WhenModal<OptionsDialog>([](OptionsDialog* dialog) {
            dialog->dotF()->setCurrentIndex(1);
            dialog->accept();
        });
        window->action(cmd::kOptions)->trigger();
        QCOMPARE(store.Read("dotf").value_or(""), std::string("1"));
        QCOMPARE(window->logic().settings().dotf, 1);
    }

    void versionCheckAgainstALoopbackServer_data() {
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<bool>("silent");
        QTest::addColumn<QString>("message");
        QTest::addColumn<qint64>("filler");
        // The first line is compared as read, its line break included: only "1.7" alone is the latest.
        QTest::newRow("same") << HttpReply("200 OK", Own("")) << false << QString(kLatestVersionMessage.data()) << qint64(0);
        QTest::newRow("same with a line break") << HttpReply("200 OK", Own("\r\n")) << false
                                                << QString(kNewerVersionMessage.data()) << qint64(0);
        QTest::newRow("newer") << HttpReply("200 OK", "99.0\n") << false << QString(kNewerVersionMessage.data()) << qint64(0);
        QTest::newRow("error status") << HttpReply("404 Not Found", Own("")) << false
                                      << QString(kCouldNotConnectMessage.data()) << qint64(0);
        QTest::newRow("empty") << HttpReply("200 OK", "") << false << QString(kNewerVersionMessage.data()) << qint64(0);
        QTest::newRow("timeout") << QByteArray() << true << QString(kCouldNotConnectMessage.data()) << qint64(0);
        // A 100 MB version file: only the start of its first line is read, and the download is stopped.
        constexpr qint64 k100MB = 100LL * 1024 * 1024;
        QTest::newRow("100 MB after the version") << HttpReply("200 OK", Own(""), k100MB) << false
                                                  << QString(kNewerVersionMessage.data()) << k100MB;
        QTest::newRow("100 MB in one line") << HttpReply("200 OK", "1.", k100MB) << false
                                            << QString(kNewerVersionMessage.data()) << k100MB;
    }
    void versionCheckAgainstALoopbackServer() {
        QFETCH(QByteArray, reply);
        QFETCH(bool, silent);
        QFETCH(QString, message);
        QFETCH(qint64, filler);
        VersionServer server(silent ? std::nullopt : std::optional<QByteArray>(reply), filler);
        store.Write("verurl", server.url());
        desktop->SetVersionDeadline(std::chrono::milliseconds(800));
        desktop->answers = {Answer::No};
        window->action(cmd::kCheckVersion)->trigger();
        QCOMPARE(QString::fromStdString(desktop->messages.back()), message);
        QVERIFY(desktop->urls.empty());
        // The download stops once the answer is known; the rest is never fetched.
        if (filler > 0) QVERIFY2(server.sent() < filler / 2, QByteArray::number(server.sent()));
    }

    void versionCheckHasOneDeadlineAndFetchesOnlyHttp() {
        // A byte every half second never lets a per-byte timeout expire; the check's deadline ends it.
        VersionServer slow(HttpReply("200 OK", Own("\r\n")), 0, std::chrono::milliseconds(500), 5);
        store.Write("verurl", slow.url());
        desktop->SetVersionDeadline(std::chrono::milliseconds(600));
        window->action(cmd::kCheckVersion)->trigger();
        QCOMPARE(QString::fromStdString(desktop->messages.back()), QString(kCouldNotConnectMessage.data()));

        // A file: URL naming a FIFO would wait for a writer forever; it is never opened.
        const QString fifo = sources.filePath("version-fifo");
        QCOMPARE(::mkfifo(fifo.toLocal8Bit().constData(), 0600), 0);
        store.Write("verurl", "file://" + fifo.toStdString());
        desktop->SetVersionDeadline(std::chrono::milliseconds(60000));
        desktop->messages.clear();
        window->action(cmd::kCheckVersion)->trigger();
        QCOMPARE(desktop->messages, std::vector<std::string>{std::string(kCouldNotConnectMessage)});
    }

    void versionWaitWindowCancels() {
        VersionServer silent(std::nullopt);
        store.Write("verurl", silent.url());
        desktop->SetVersionDeadline(std::chrono::milliseconds(60000));
        const std::vector<std::function<void(QDialog*)>> ways{
            [](QDialog* wait) { QTest::keyClick(wait, Qt::Key_Escape); },
            [](QDialog* wait) { wait->close(); },
            [](QDialog* wait) { wait->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Cancel)->click(); },
        };
        for (const auto& cancel : ways) {
            bool seen = false;
            WhenModal<QDialog>([&](QDialog* wait) {
                seen = wait->objectName() == "versionWait";
                cancel(wait);
            });
            window->action(cmd::kCheckVersion)->trigger();
            QVERIFY(seen);
            QVERIFY(desktop->messages.empty());  // the user's own cancel needs no message
        }
    }

    void closingWithUnsavedChangesAsks() {
        window->logic().list().AddPaths({"/s/a.c"});
        window->logic().UpdateWindowName(kordel::projects::ListChanges::Unsaved);
        desktop->answers = {Answer::Cancel};
        QVERIFY(!window->close());
        QCOMPARE(desktop->messages.back(), std::string("Do you want to save changes to \"Untitled Project List\"?"));
        desktop->answers = {Answer::No};
        QVERIFY(window->close());
    }

    void languageDialogValidatesAndWritesOnOkOnly() {
        const QString db = sources.filePath("udlangdb.ini");
        WhenModal<LanguagesDialog>([this](LanguagesDialog* dialog) {
            QCOMPARE(dialog->status()->text(), QString("0 user defined languages"));
            dialog->EditSelected();
            QCOMPARE(desktop->messages.back(), std::string("Please select an item first."));
            WhenModal<LanguageFormDialog>([this](LanguageFormDialog* form) {
                form->field(0)->setText("Shell");
                form->field(2)->setText("#");
                form->accept();  // no extensions yet: refused, the form stays
                QVERIFY(desktop->messages.back().find("You must enter the file extension(s)") == 0);
                form->field(1)->setText("*.sh; *.bash");
                form->accept();
            });
            dialog->AddLanguage();
            QCOMPARE(dialog->table()->rowCount(), 1);
            QCOMPARE(dialog->table()->item(0, 1)->text(), QString(".sh;.bash"));
            QCOMPARE(dialog->status()->text(), QString("1 user defined language"));
            dialog->accept();
        });
        window->action(cmd::kLanguages)->trigger();
        QFile file(db);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("Shell\r\n.sh;.bash\r\n#\r\n0\r\n\r\n0\r\n\r\nNo\r\n"));
        file.close();

        // Escape does nothing; the close box asks before dropping a change: Cancel stays, No drops it.
        WhenModal<LanguagesDialog>([this](LanguagesDialog* dialog) {
            dialog->table()->selectRow(0);
            dialog->DeleteSelected();
            QCOMPARE(dialog->table()->rowCount(), 0);
            QTest::keyClick(dialog, Qt::Key_Escape);
            QVERIFY(dialog->isVisible());
            desktop->answers = {Answer::Cancel};
            dialog->close();
            QVERIFY(dialog->isVisible());
            QCOMPARE(desktop->messages.back(),
                     std::string("Do you want to save the changes to the User Defined Language Database?"));
            desktop->answers = {Answer::No};
            dialog->close();
        });
        window->action(cmd::kLanguages)->trigger();
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll().left(5), QByteArray("Shell"));
        file.close();
        // Unchanged, the close box closes at once without a question.
        const std::size_t asked = desktop->messages.size();
        WhenModal<LanguagesDialog>([](LanguagesDialog* dialog) { dialog->close(); });
        window->action(cmd::kLanguages)->trigger();
        QCOMPARE(desktop->messages.size(), asked);
    }

    void droppingAFolderAddsItsSourceFiles() {
        QDir(sources.path()).mkpath("drop/sub");
        Source("drop/a.c", "x;\n");
        Source("drop/sub/b.java", "y;\n");
        Source("drop/sub/picture.png", "");
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(sources.filePath("drop"))});
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(window.get(), &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(window.get(), &drop);
        QCOMPARE(window->table()->model()->rowCount(), 2);
        QCOMPARE(window->windowTitle(), QString(kordel::kNameAndVersion) + " - Untitled Project List *");
        QApplication::sendEvent(window.get(), &drop);  // again: the same files are not added twice
        QCOMPARE(window->table()->model()->rowCount(), 2);
    }

    void projectNameQuestionThenEntry() {
        // Neither Escape nor the close box answers the question or the entry.
        WhenModal<NameQuestionDialog>([](NameQuestionDialog* question) {
            QTest::keyClick(question, Qt::Key_Escape);
            question->close();
            QVERIFY(question->isVisible());
            WhenModal<NameEntryDialog>([](NameEntryDialog* entry) {
                QTest::keyClick(entry, Qt::Key_Escape);
                entry->close();
                QVERIFY(entry->isVisible());
                entry->edit()->setText("Kordel Core");
                QTest::keyClick(entry->edit(), Qt::Key_Return);
            });
            question->yesButton()->click();
        });
        QCOMPARE(desktop->QtDesktop::AskProjectName().value_or(""), std::string("Kordel Core"));
        WhenModal<NameQuestionDialog>([](NameQuestionDialog* question) { question->noButton()->click(); });
        QVERIFY(!desktop->QtDesktop::AskProjectName());
        WhenModal<NameQuestionDialog>([](NameQuestionDialog* question) {
            WhenModal<NameEntryDialog>([](NameEntryDialog* entry) { entry->cancelButton()->click(); });
            question->yesButton()->click();
        });
        QVERIFY(!desktop->QtDesktop::AskProjectName());
    }

    void workAsideLetsTimersRunAndHandsBackItsFailure() {
        int ticks = 0;
        QTimer tick;
        tick.setInterval(5);
        connect(&tick, &QTimer::timeout, [&] { ++ticks; });
        tick.start();
        desktop->RunAside([] { std::this_thread::sleep_for(std::chrono::milliseconds(200)); });
        QVERIFY(ticks > 0);
        // Running out of memory on the worker reaches this thread's handlers, not std::terminate.
        bool caught = false;
        try {
            desktop->RunAside([] { throw std::bad_alloc(); });
        } catch (const std::bad_alloc&) {
            caught = true;
        }
        QVERIFY(caught);
        // A question the work hands back runs on this thread while the work waits for its answer; a
        // failure there reaches the work.
        QThread* askedOn = nullptr;
        int answer = 0;
        bool failureReachedWork = false;
        desktop->RunAside([&] {
            desktop->RunOnInterface([&] {
                askedOn = QThread::currentThread();
                answer = 7;
            });
            try {
                desktop->RunOnInterface([] { throw std::runtime_error("no window"); });
            } catch (const std::runtime_error&) {
                failureReachedWork = true;
            }
        });
        QCOMPARE(askedOn, QThread::currentThread());
        QCOMPARE(answer, 7);
        QVERIFY(failureReachedWork);
    }

    void aboutHasItsFrameAndContactAndIgnoresEscape() {
        bool stayed = false;
        WhenModal<AboutDialog>([&](AboutDialog* about) {
            QTest::keyClick(about, Qt::Key_Escape);
            about->close();
            stayed = about->isVisible();
            QVERIFY(about->findChild<QGroupBox*>("aboutFrame"));
            QStringList texts;
            for (const QLabel* label : about->findChildren<QLabel*>()) texts << label->text();
            QVERIFY2(texts.filter("Contact: ").size() == 1, qPrintable(texts.join('|')));
            QVERIFY(texts.contains(kordel::kNameAndVersion));
            about->findChild<QPushButton*>()->click();
        });
        window->action(cmd::kAbout)->trigger();
        QVERIFY(stayed);
    }

    void menusShowTheKeysAsWrittenAndToolbarKeepsItsDots() {
        // The menu draws the text after the tab as the key hint, in place of Qt's own key names.
        QVERIFY(window->action(cmd::kRemove)->text().endsWith("\tDelete"));
        QVERIFY(window->action(cmd::kFind)->text().endsWith("\tCtrl + F"));
        QVERIFY(window->action(cmd::kOptions)->text().endsWith("\tCtrl + O"));
        QVERIFY(window->action(cmd::kLanguages)->text().endsWith("\tCtrl + U"));
        QVERIFY(window->action(cmd::kSave)->text().endsWith("\tF12"));
        QCOMPARE(window->action(cmd::kFind)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_F));
        auto* bar = window->findChild<QToolBar*>();
        QStringList labels;
        for (QAction* a : bar->actions())
            if (auto* button = qobject_cast<QToolButton*>(bar->widgetForAction(a))) labels << button->text();
        QCOMPARE(labels, QStringList({"New Project List", "Open Project List...", "Save Project List",
                                      "Add Source File(s)..."}));
    }

    void fileDialogsGiveEachPatternOnce() {
        QStringList filters;
        const auto record = [&filters](QFileDialog* dialog) {
            filters << dialog->nameFilters();
            dialog->reject();
        };
        WhenModal<QFileDialog>(record);
        window->action(cmd::kOpen)->trigger();
        window->logic().list().AddPaths({Source("one.c", "a;\n")});
        window->logic().Dispatch(cmd::kCount);
        for (int command : {cmd::kExportCsv, cmd::kExportHtml, cmd::kExportTxt}) {
            WhenModal<QFileDialog>(record);
            window->action(command)->trigger();
        }
        QCOMPARE(filters, QStringList({"Project List File (*.kpl)", "Comma Seperated Value Files (*.csv)",
                                       "Hypertext Markup Files (*.htm)", "Text File (*.txt)"}));
        QCOMPARE(FilterLine("C/C++ Source and Header Files", "*.c;*.cpp;*.h"),
                 QString("C/C++ Source and Header Files (*.c *.cpp *.h)"));
        QCOMPARE(FilterLine("LaTeX Source File", "*.tex; *.sty"), QString("LaTeX Source File (*.tex *.sty)"));
    }

    void addDialogTakesTypedNamesAsTyped() {
        // A typed name that does not exist yet, and one the chosen filter hides, are both added.
        Source("a.c", "x;\n");
        Source("notes.py", "# y\n");
        WhenModal<SourceFileDialog>([this](SourceFileDialog* dialog) {
            dialog->setDirectory(sources.path());
            dialog->selectNameFilter(dialog->nameFilters().at(1));  // C/C++ only
            // Typed: the edit has the focus, so the dialog's own selection does not rewrite it.
            auto* edit = dialog->findChild<QLineEdit*>("fileNameEdit");
            QApplication::setActiveWindow(dialog);
            edit->setFocus();
            QTRY_VERIFY(edit->hasFocus());
            QTest::keyClicks(edit, "\"a.c\" \"notes.py\" \"later.c\"");
            dialog->accept();
        });
        window->action(cmd::kAdd)->trigger();
        QCOMPARE(window->table()->model()->rowCount(), 3);
        QStringList rows;
        for (int r = 0; r < 3; ++r) rows << window->table()->model()->index(r, 0).data().toString();
        QCOMPARE(rows, QStringList({sources.filePath("a.c"), sources.filePath("later.c"), sources.filePath("notes.py")}));
        QCOMPARE(store.Read("filtin").value_or(""), std::string("2"));
        // One typed name alone is taken too.
        WhenModal<SourceFileDialog>([this](SourceFileDialog* dialog) {
            dialog->setDirectory(sources.path());
            dialog->findChild<QLineEdit*>("fileNameEdit")->setText("solo.c");
            dialog->accept();
        });
        window->action(cmd::kAdd)->trigger();
        QCOMPARE(window->table()->model()->rowCount(), 4);
    }

    void percentColumnsAreWideEnoughForTheirTitles() {
        for (const OptionBox& box : OptionBoxes())
            if (box.flag == &Settings::sps) window->logic().ClickOption(box, true);
        QCOMPARE(window->table()->model()->columnCount(), 10);
        const QHeaderView* header = window->table()->horizontalHeader();
        for (int c = 1; c < 10; ++c) {
            QVERIFY(window->table()->columnWidth(c) >= header->sectionSizeHint(c));
            QVERIFY(window->table()->columnWidth(c) >= 90);
        }
    }

    void pathColumnTakesTheScreenWidthLess494AndKeepsIt() {
        QTableView* table = window->table();
        QCOMPARE(table->columnWidth(0), ExpectedPathWidth());
        // Sized by the screen, not by what the layout has given the list so far.
        window->resize(1500, 700);
        QTRY_COMPARE(table->viewport()->width() > 1100, true);
        QCOMPARE(table->columnWidth(0), ExpectedPathWidth());
        window->logic().list().AddPaths({"/s/a.c", "/s/b.c"});
        QCOMPARE(table->columnWidth(0), ExpectedPathWidth());
        // With the percentage columns the path keeps its width and the list scrolls sideways.
        window->resize(900, 700);
        TurnPercentColumns(true);
        QCOMPARE(table->model()->columnCount(), 10);
        QCOMPARE(table->columnWidth(0), ExpectedPathWidth());
        for (int c = 1; c < 10; ++c) QVERIFY(table->columnWidth(c) >= 90);
        QTRY_VERIFY(table->horizontalScrollBar()->maximum() > 0);
        TurnPercentColumns(false);
        QCOMPARE(table->columnWidth(0), ExpectedPathWidth());
    }

    void aVerticalScrollBarBringsNoSidewaysOne() {
        QTableView* table = window->table();
        window->resize(2000, 500);
        QTRY_VERIFY(table->viewport()->width() > 1500);
        int columns = 0;
        for (int c = 0; c < 6; ++c) columns += table->columnWidth(c);
        // The list just wide enough for its columns: the scroll bar that many rows bring takes room from them.
        window->resize(window->width() - table->viewport()->width() + columns + 2, 500);
        QTRY_COMPARE(table->viewport()->width(), columns + 2);
        std::vector<std::string> paths;
        for (int i = 0; i < 300; ++i) paths.push_back("/s/f" + std::to_string(i) + ".c");
        window->logic().list().AddPaths(paths);
        QTRY_VERIFY(table->verticalScrollBar()->isVisible());
        QTRY_COMPARE(table->horizontalScrollBar()->maximum(), 0);
        QCOMPARE(table->columnWidth(0), ExpectedPathWidth());
        const QHeaderView* header = table->horizontalHeader();
        for (int c = 1; c < 6; ++c) QVERIFY(table->columnWidth(c) >= header->sectionSizeHint(c));
    }

    void theSelectionOutlivesTurningThePercentColumnsOn() {
        window->logic().list().AddPaths({"/s/a.c", "/s/b.c", "/s/c.c", "/s/d.c"});
        QTableView* table = window->table();
        table->selectRow(1);
        QCOMPARE(window->statusPart(1)->text(), QString("Selected: b.c"));
        TurnPercentColumns(true);
        QCOMPARE(table->selectionModel()->selectedRows(), QModelIndexList{table->model()->index(1, 0)});
        QCOMPARE(window->statusPart(1)->text(), QString("Selected: b.c"));
        // Rows apart from each other, whole rows with every new column.
        auto* model = table->model();
        using Flag = QItemSelectionModel::SelectionFlag;
        table->selectionModel()->select(model->index(0, 0), Flag::ClearAndSelect | Flag::Rows);
        table->selectionModel()->select(model->index(2, 0), Flag::Select | Flag::Rows);
        table->selectionModel()->select(model->index(3, 0), Flag::Select | Flag::Rows);
        TurnPercentColumns(false);
        QCOMPARE(window->statusPart(1)->text(), QString("3 items selected"));
        QCOMPARE(window->SelectedRows(), (std::vector<std::size_t>{0, 2, 3}));
        QCOMPARE(table->selectionModel()->selectedRows(5).size(), 3);
        // A list that changes its rows on a reset drops the selection, and the status bar says so.
        window->logic().list().AddPaths({"/s/0.c"});
        QCOMPARE(window->statusPart(1)->text(), QString("0 items selected"));
    }

    void openingAListClearsTheOldRowsBeforeReadingIt() {
        const std::string source = Source("kept.c", "x;\n");
        const std::string kpl = Source("two.kpl", "Kordel Project List\n\n31214729602::FN\n/nowhere/gone.c\n" + source +
                                                      "\n31214729604::PN\nTwo\n\n31214729604::END\n");
        window->logic().list().AddPaths({"/s/old1.c", "/s/old2.c"});
        int rowsWhenAsked = -1;
        bool noticeShown = false;
        desktop->onMessage = [&](const std::string& text) {
            if (text.find("gone.c") == std::string::npos) return;
            rowsWhenAsked = window->table()->model()->rowCount();
            for (QWidget* top : QApplication::topLevelWidgets())
                for (const QLabel* label : top->findChildren<QLabel*>())
                    if (top->isVisible() && label->text() == "Adding source files to the list...") noticeShown = true;
        };
        desktop->answers = {Answer::Ok};
        window->logic().OpenNamed(kpl);
        QCOMPARE(rowsWhenAsked, 0);
        QVERIFY(noticeShown);
        QCOMPARE(window->table()->model()->rowCount(), 1);
        QCOMPARE(window->table()->model()->index(0, 0).data().toString(), QString::fromStdString(source));
    }

    void secondInstanceIsRefusedUntilTheFirstEnds() {
        QTemporaryDir dir;
        auto first = std::make_unique<SingleInstance>(dir.path());
        QVERIFY(first->acquired());
        QVERIFY(!SingleInstance(dir.path()).acquired());
        first.reset();
        QVERIFY(SingleInstance(dir.path()).acquired());
    }

    void onlyALiveHolderBlocksAStart() {
        // Left-overs that once made every start say "already running": none of them blocks now.
        for (const QByteArray& content : {QByteArray(), QByteArray("garbage\n\x01\x02"), QByteArray("99999999\n")}) {
            QTemporaryDir dir;
            QFile lock(dir.filePath("kordel.lock"));
            QVERIFY(lock.open(QIODevice::WriteOnly));
            lock.write(content);
            lock.close();
            QVERIFY(SingleInstance(dir.path()).acquired());
        }
        // A holder that died without letting go.
        QTemporaryDir dead;
        const QByteArray lockPath = QFile::encodeName(dead.filePath("kordel.lock"));
        const pid_t child = fork();
        if (child == 0) {
            const int fd = ::open(lockPath.constData(), O_RDWR | O_CREAT, 0600);
            ::flock(fd, LOCK_EX);
            ::write(fd, "1\n", 2);
            _exit(0);
        }
        int status = 0;
        QCOMPARE(waitpid(child, &status, 0), child);
        QVERIFY(SingleInstance(dead.path()).acquired());
        // A folder or a link where the lock belongs: the start goes on; a copy that answers still blocks.
        QTemporaryDir odd;
        QVERIFY(QDir(odd.path()).mkdir("kordel.lock"));
        SingleInstance running(odd.path());
        QVERIFY(running.acquired());
        QVERIFY(running.Listen());
        QVERIFY(!SingleInstance(odd.path()).acquired());
        QTemporaryDir linked;
        QVERIFY(QFile::link(linked.filePath("elsewhere"), linked.filePath("kordel.lock")));
        QVERIFY(SingleInstance(linked.path()).acquired());
        QVERIFY(!QFile::exists(linked.filePath("elsewhere")));
    }

    void aSecondStartHandsItsFileToTheRunningCopy() {
        QTemporaryDir dir;
        SingleInstance first(dir.path());
        QVERIFY(first.acquired());
        QVERIFY(first.Listen());
        QByteArray received;
        connect(&first, &SingleInstance::fileHanded, this, [&received](const QByteArray& path) { received = path; });
        SingleInstance second(dir.path());
        QVERIFY(!second.acquired());
        std::atomic<int> handed{-1};
        std::thread start([&] { handed = second.HandOver("/work/lists/dem\xc3\xb6 list.kpl") ? 1 : 0; });
        QTRY_COMPARE_WITH_TIMEOUT(handed.load(), 1, 10000);
        start.join();
        QCOMPARE(received, QByteArray("/work/lists/dem\xc3\xb6 list.kpl"));
        // Nobody listening: the hand-over fails, and the caller says "already running" instead.
        QTemporaryDir quiet;
        SingleInstance holder(quiet.path());
        QVERIFY(!SingleInstance(quiet.path()).HandOver("/x.kpl", 500));
    }

    void theHandOffSocketBoundsItsConnections() {
        QTemporaryDir dir;
        SingleInstance first(dir.path());
        first.SetConnectionLimits(4, 300);
        QVERIFY(first.Listen());
        // Twenty idle connections: at most four are kept, and those only for the idle time.
        std::vector<std::unique_ptr<QLocalSocket>> idle;
        for (int i = 0; i < 20; ++i) {
            idle.push_back(std::make_unique<QLocalSocket>());
            idle.back()->connectToServer(first.socketPath());
            QVERIFY(idle.back()->waitForConnected(2000));
        }
        QTRY_COMPARE(first.connectionCount(), 4);
        QTRY_COMPARE_WITH_TIMEOUT(first.connectionCount(), 0, 10000);
        // A request cut short is closed the same way; a whole one is still taken afterwards.
        QLocalSocket partial;
        partial.connectToServer(first.socketPath());
        QVERIFY(partial.waitForConnected(2000));
        partial.write("\0\0\0\x10/half", 9);
        QVERIFY(partial.waitForBytesWritten(2000));
        QTRY_COMPARE_WITH_TIMEOUT(partial.state(), QLocalSocket::UnconnectedState, 10000);
        QByteArray received;
        connect(&first, &SingleInstance::fileHanded, this, [&received](const QByteArray& path) { received = path; });
        std::atomic<int> handed{-1};
        SingleInstance second(dir.path());
        std::thread start([&] { handed = second.HandOver("/lists/after.kpl") ? 1 : 0; });
        QTRY_COMPARE_WITH_TIMEOUT(handed.load(), 1, 10000);
        start.join();
        QCOMPARE(received, QByteArray("/lists/after.kpl"));
    }

    void theDefaultFolderIsPrivateWhenTheRuntimeFolderIsAnotherUsers() {
        if (::geteuid() != 0) QSKIP("only root can give a folder to another user");
        // No XDG_RUNTIME_DIR, and the runtime folder Qt would make is another user's: Qt falls back
        // to the temporary folder itself, where that user could listen as "kordel.socket".
        QTemporaryDir temp;
        const QByteArray oldTmp = qgetenv("TMPDIR"), oldRuntime = qgetenv("XDG_RUNTIME_DIR");
        qputenv("TMPDIR", QFile::encodeName(temp.path()));
        qunsetenv("XDG_RUNTIME_DIR");
        const QString theirs = temp.filePath("runtime-" + qEnvironmentVariable("USER", "root"));
        QVERIFY(QDir().mkdir(theirs));
        QCOMPARE(::chown(QFile::encodeName(theirs).constData(), 12345, 12345), 0);
        // A folder of ours by name, taken first by that user as well.
        const QString taken = temp.filePath("kordel-" + QString::number(::geteuid()));
        QVERIFY(QDir().mkdir(taken));
        QCOMPARE(::chown(QFile::encodeName(taken).constData(), 12345, 12345), 0);
        const QString folder = SingleInstance::DefaultFolder();
        qputenv("TMPDIR", oldTmp);
        if (!oldRuntime.isEmpty()) qputenv("XDG_RUNTIME_DIR", oldRuntime);
        QCOMPARE(folder, taken + "-1");
        struct stat st {};
        QCOMPARE(::stat(QFile::encodeName(folder).constData(), &st), 0);
        QCOMPARE(st.st_uid, ::geteuid());
        QCOMPARE(st.st_mode & 0777, 0700u);
    }

    void aListNamedAtStartOpensThroughTheOpenCommand() {
        const std::string source = Source("main.c", "x;\n");
        const std::string kpl = Source("demo.kpl", "Kordel Project List\n\n31214729602::FN\n" + source +
                                                       "\n31214729604::PN\nDemo\n\n31214729604::END\n");
        // With unsaved changes the save question comes first; Cancel keeps the list.
        window->logic().list().AddPaths({"/s/a.c"});
        window->logic().UpdateWindowName(kordel::projects::ListChanges::Unsaved);
        desktop->answers = {Answer::Cancel};
        window->OpenWhenIdle(kpl);
        QTRY_VERIFY(!desktop->messages.empty());
        QCOMPARE(desktop->messages.back(), std::string("Do you want to save changes to \"Untitled Project List\"?"));
        QCOMPARE(window->table()->model()->rowCount(), 1);
        // A list handed over while a dialog is open waits for it to close.
        bool openedUnderAbout = true;
        WhenModal<AboutDialog>([&](AboutDialog* about) {
            window->OpenWhenIdle(kpl);
            QTest::qWait(300);
            openedUnderAbout = window->windowTitle().contains("demo.kpl");
            about->findChild<QPushButton*>()->click();
        });
        desktop->answers = {Answer::No};
        window->action(cmd::kAbout)->trigger();
        QVERIFY(!openedUnderAbout);
        QTRY_COMPARE(window->windowTitle(), QString(kordel::kNameAndVersion) + " - " + QString::fromStdString(kpl));
        QCOMPARE(window->table()->model()->rowCount(), 1);
        QCOMPARE(window->table()->model()->index(0, 0).data().toString(), QString::fromStdString(source));
        QCOMPARE(window->projectLabel()->text(), QString("Demo"));
    }
};

QTEST_MAIN(GuiTest)
#include "gui_test.moc"
