// Times a count in the desktop program's real window: the paths of a list file are added, Count runs on
// its worker under the progress window, and every row reaches the list. Prints the seconds and the totals.
// Usage: gui_count LISTFILE [JOBS]   (JOBS: 0 = one per core, as the program does; default 0)
#include <chrono>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <string>
#include <thread>
#include <vector>

#include <QApplication>
#include <QTableView>

#include "ui/core/commands.h"
#include "ui/core/settings_store.h"
#include "ui/main_window.h"

namespace {

// The real desktop, except that message boxes are answered OK without a window.
class AnsweringDesktop final : public kordel::ui::QtDesktop {
public:
    using QtDesktop::QtDesktop;
    kordel::ui::Answer Message(std::string_view text, kordel::ui::Icon, kordel::ui::Buttons) override {
        last = text;
        return kordel::ui::Answer::Ok;
    }
    std::string last;
};

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc < 2) {
        std::cerr << "usage: gui_count LISTFILE [JOBS]\n";
        return 2;
    }
    std::vector<std::string> paths;
    std::ifstream list(argv[1]);
    for (std::string line; std::getline(list, line);)
        if (!line.empty()) paths.push_back(line);
    unsigned jobs = argc > 2 ? static_cast<unsigned>(std::stoul(argv[2])) : 0;
    if (jobs == 0) jobs = std::max(1u, std::thread::hardware_concurrency());

    kordel::ui::MemorySettingsStore store;
    AnsweringDesktop* desktop = nullptr;
    kordel::ui::MainWindow window(store, [&](QWidget* owner) {
        auto d = std::make_unique<AnsweringDesktop>(owner);
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
