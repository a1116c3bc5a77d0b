// What the desktop benchmarks share: the real desktop with message boxes answered OK without a window,
// and their two arguments (a list file of paths, the number of jobs).
#pragma once

#include <algorithm>
#include <fstream>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "ui/qt/qt_desktop.h"

namespace kordel::bench {

class AnsweringDesktop final : public qt::QtDesktop {
public:
    using QtDesktop::QtDesktop;
    ui::Answer Message(std::string_view text, ui::Icon, ui::Buttons) override {
        last = text;
        return ui::Answer::Ok;
    }
    std::optional<std::string> AskSavePath(std::string_view, const ui::FileType&) override { return savePath; }
    std::optional<std::string> AskOpenPath(std::string_view, const ui::FileType&) override { return savePath; }
    std::string last;
    std::string savePath;  // what the save and open dialogs answer
};

/// The non-empty lines of a list file.
inline std::vector<std::string> ReadPaths(const char* listFile) {
    std::vector<std::string> paths;
    std::ifstream list(listFile);
    for (std::string line; std::getline(list, line);)
        if (!line.empty()) paths.push_back(line);
    return paths;
}

/// The jobs argument, if given; 0 or none means one per core, as the program does.
inline unsigned JobsArgument(int argc, char** argv) {
    const unsigned jobs = argc > 2 ? static_cast<unsigned>(std::stoul(argv[2])) : 0;
    return jobs != 0 ? jobs : std::max(1u, std::thread::hardware_concurrency());
}

}  // namespace kordel::bench
