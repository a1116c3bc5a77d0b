// Times a count in the desktop program's real window: the paths of a list file are added, Count runs on
// its worker under the progress window, and every row reaches the list. Prints the seconds and the totals.
// Usage: gui_count LISTFILE [JOBS]   (JOBS: 0 = one per core, as the program does; default 0)
#include <chrono>
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include <QApplication>
#include <QTableView>

#include "gui_bench.h"
#include "ui/core/commands.h"
#include "ui/core/settings_store.h"
#include "ui/qt/main_window.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc < 2) {
        std::cerr << "usage: gui_count LISTFILE [JOBS]\n";
        return 2;
    }
    std::vector<std::string> paths = kordel::bench::ReadPaths(argv[1]);
    const unsigned jobs = kordel::bench::JobsArgument(argc, argv);

    kordel::ui::MemorySettingsStore store;
    kordel::bench::AnsweringDesktop* desktop = nullptr;
    kordel::qt::MainWindow window(store, [&](QWidget* owner) {
        auto d = std::make_unique<kordel::bench::AnsweringDesktop>(owner);
        desktop = d.get();
        return d;
    });
    window.resize(1000, 700);
    window.show();
    window.logic().SetJobs(jobs);
    window.logic().list().AddPaths(paths);
    QApplication::processEvents();

    const auto start = std::chrono::steady_clock::now();
    window.logic().Dispatch(kordel::ui::cmd::kCount);
    QApplication::processEvents();
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

    auto* model = window.table()->model();
    const int rows = model->rowCount();
    const QString lastLines = model->index(rows - 1, 5).data().toString();
    std::printf("%.3f seconds, %d rows, %u jobs, last row total \"%s\", \"%s\"\n", seconds, rows, jobs,
                lastLines.toStdString().c_str(), desktop->last.c_str());
    return lastLines.isEmpty() ? 1 : 0;
}
