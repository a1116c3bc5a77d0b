// Measures how long the desktop program's interface thread is kept from its event loop with many rows:
// a timer on that thread notes the longest gap between its ticks while the files of a list are added,
// counted, sorted, scrolled through, saved, closed and opened again, while a few more are added and
// while all are removed (the real main window, offscreen). Prints the longest gap and the duration of
// each step, and the memory the rows take.
// Usage: gui_stall LISTFILE [JOBS]   (JOBS: 0 = one per core; default 0)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include <QApplication>
#include <QElapsedTimer>
#include <QScrollBar>
#include <QTableView>
#include <QTimer>

#include "gui_bench.h"
#include "ui/core/commands.h"
#include "ui/core/options.h"
#include "ui/core/settings_store.h"
#include "ui/qt/main_window.h"

namespace {

// The longest time between two ticks of a 5 ms timer on the interface thread, since the last Reset.
class StallProbe {
public:
    StallProbe() {
        m_timer.setInterval(5);
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            m_longest = std::max(m_longest, m_clock.restart());
        });
        m_clock.start();
        m_timer.start();
    }
    void Reset() {
        QApplication::processEvents();
        m_longest = 0;
        m_clock.restart();
    }
    qint64 Longest() {
        // The gap that a blocking call made ends at the next tick.
        QElapsedTimer wait;
        wait.start();
        while (wait.elapsed() < 20) QApplication::processEvents(QEventLoop::AllEvents, 5);
        return m_longest;
    }

private:
    QTimer m_timer;
    QElapsedTimer m_clock;
    qint64 m_longest = 0;
};

long ResidentKiB() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc < 2) {
        std::cerr << "usage: gui_stall LISTFILE [JOBS]\n";
        return 2;
    }
    std::vector<std::string> paths = kordel::bench::ReadPaths(argv[1]);
    const unsigned jobs = kordel::bench::JobsArgument(argc, argv);

    kordel::ui::MemorySettingsStore store;
    kordel::bench::AnsweringDesktop* desktop = nullptr;
    kordel::qt::MainWindow window(store, [&](QWidget* owner) {
        auto made = std::make_unique<kordel::bench::AnsweringDesktop>(owner);
        desktop = made.get();
        return made;
    });
    const std::string listFile = std::string(argv[1]) + ".gui_stall.kpl";
    desktop->savePath = listFile;
    window.resize(1000, 700);
    window.show();
    window.logic().SetJobs(jobs);
    StallProbe probe;
    QTableView* table = window.table();

    bool ok = true;
    const auto step = [&](const char* name, const std::function<void()>& run) {
        probe.Reset();
        const auto start = std::chrono::steady_clock::now();
        run();
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        const qint64 longest = probe.Longest();
        std::printf("%-28s %8.2f s, longest stall %6lld ms%s\n", name, seconds, static_cast<long long>(longest),
                    longest > 100 ? "  (over 100 ms)" : "");
        ok = ok && longest <= 100;
    };
    const long before = ResidentKiB();
    step("add", [&] { window.logic().AddPaths(paths); });
    paths.clear();
    paths.shrink_to_fit();
    const long added = ResidentKiB();
    step("count", [&] { window.logic().Dispatch(kordel::ui::cmd::kCount); });
    const long counted = ResidentKiB();
    step("sort by code lines", [&] { window.logic().Dispatch(kordel::ui::cmd::kSortCode); });
    step("scroll to the end", [&] {
        table->verticalScrollBar()->setValue(table->verticalScrollBar()->maximum());
    });
    step("scroll page by page (100)", [&] {
        for (int i = 0; i < 100; ++i) {
            table->verticalScrollBar()->triggerAction(QAbstractSlider::SliderPageStepSub);
            QApplication::processEvents();
        }
    });
    step("scroll to the start", [&] { table->verticalScrollBar()->setValue(0); });
    const auto rows = static_cast<double>(table->model()->rowCount());
    // The option that adds four columns to every row, and takes them away again.
    const auto& boxes = kordel::ui::OptionBoxes();
    const auto percent = std::find_if(boxes.begin(), boxes.end(), [](const auto& box) { return box.setting == "sps"; });
    step("percentage columns on", [&] { window.logic().ClickOption(*percent, true); });
    step("percentage columns off", [&] { window.logic().ClickOption(*percent, false); });
    // The list saved, closed and opened again: opening looks for every file.
    step("save the list", [&] { window.logic().Dispatch(kordel::ui::cmd::kSaveAs); });
    step("new (the rows go)", [&] { window.logic().Dispatch(kordel::ui::cmd::kNew); });
    step("open the saved list", [&] { window.logic().OpenNamed(listFile); });
    std::remove(listFile.c_str());
    // A few more among the many: the rows already there move to their new places.
    step("add 1,000 more", [&] {
        std::vector<std::string> more;
        for (int i = 0; i < 1000; ++i) more.push_back("/kordel-bench/more" + std::to_string(i) + ".c");
        window.logic().AddPaths(more);
    });
    step("select all and remove", [&] {
        table->selectAll();
        window.logic().Dispatch(kordel::ui::cmd::kRemove);
    });
    std::printf("%d rows left\n", table->model()->rowCount());
    std::printf("%.0f rows; memory per row: %.0f bytes added, %.0f bytes counted\n", rows,
                (added - before) * 1024.0 / rows, (counted - before) * 1024.0 / rows);
    return ok ? 0 : 1;
}
