// Kordel, the desktop line counter.
#include <filesystem>
#include <optional>
#include <string>
#include <thread>

#include <QApplication>
#include <QMessageBox>
#include <QScreen>
#include <QTimer>

#include "ui/core/messages.h"
#include "ui/core/settings_store.h"
#include "ui/main_window.h"
#include "ui/single_instance.h"

namespace {

// The project list named on the command line, made absolute so that a running copy with another
// working folder finds it too. Qt has already taken its own options out of argv.
std::optional<std::string> FileArgument(int argc, char** argv) {
    bool optionsEnd = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (!optionsEnd && arg == "--") {
            optionsEnd = true;
            continue;
        }
        if (arg.empty() || (!optionsEnd && arg.front() == '-')) continue;
        std::error_code ec;
        const std::filesystem::path absolute = std::filesystem::absolute(arg, ec);
        return ec ? arg : absolute.lexically_normal().string();
    }
    return std::nullopt;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Kordel");
    const std::optional<std::string> file = FileArgument(argc, argv);
    kordel::ui::SingleInstance instance;
    if (!instance.acquired()) {
        // A file goes to the copy that runs; without one there is nothing for this start to do.
        if (file && instance.HandOver(QByteArray::fromStdString(*file))) return 0;
        QMessageBox::critical(nullptr, "Kordel 1.7", QString::fromUtf8(kordel::ui::msg::kAlreadyRunning.data()));
        return 0;
    }
    auto store = kordel::ui::OpenPlatformSettings();
    kordel::ui::MainWindow window(*store);
    window.logic().SetJobs(std::max(1u, std::thread::hardware_concurrency()));
    QObject::connect(&instance, &kordel::ui::SingleInstance::fileHanded, &window,
                     [&window](const QByteArray& path) { window.OpenWhenIdle(path.toStdString()); });
    instance.Listen();
    // Without a window manager "maximised" means nothing: start at the screen's size anyway.
    if (const QScreen* screen = QApplication::primaryScreen()) window.resize(screen->availableGeometry().size());
    window.showMaximized();
    // Once the window is up, so that its questions have an owner: the list named on the command
    // line, else the list saved last (when that option is on).
    QTimer::singleShot(0, &window, [&window, &file] {
        if (file) window.OpenWhenIdle(*file);
        else window.logic().StartUp();
    });
    return app.exec();
}
