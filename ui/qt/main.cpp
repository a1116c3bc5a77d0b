// Kordel, the desktop line counter.
#include <cstdio>
#include <exception>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>

#include <QApplication>
#include <QMessageBox>
#include <QScreen>
#include <QTimer>

#include "ui/core/desktop.h"
#include "ui/core/messages.h"
#include "ui/core/settings_store.h"
#include "ui/qt/main_window.h"
#include "ui/qt/single_instance.h"

namespace {

// Nothing may end the program through std::terminate: an exception out of an event handler ends
// the event loops with exit status 2, and main shows what it was.
class Application final : public QApplication {
public:
    using QApplication::QApplication;

    bool notify(QObject* receiver, QEvent* event) override {
        try {
            return QApplication::notify(receiver, event);
        } catch (const std::exception& e) {
            Fail(e.what());
        } catch (...) {
            Fail({});
        }
        return false;
    }

    const std::optional<std::string>& failure() const { return m_failure; }

private:
    void Fail(std::string what) {
        if (!m_failure) m_failure = std::move(what);
        QCoreApplication::exit(2);
    }

    std::optional<std::string> m_failure;
};

int ShowUnexpectedError(const std::string& what) {
    const std::string text = kordel::ui::msg::UnexpectedError(what);
    std::fprintf(stderr, "%s\n", text.c_str());
    if (QApplication::instance())
        QMessageBox::critical(nullptr, QString::fromUtf8(kordel::ui::kCaption.data(), kordel::ui::kCaption.size()),
                              QString::fromStdString(text));
    return 2;
}

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

int Run(Application& app, int argc, char** argv) {
    const std::optional<std::string> file = FileArgument(argc, argv);
    kordel::qt::SingleInstance instance;
    if (!instance.acquired()) {
        // A file goes to the copy that runs; without one there is nothing for this start to do.
        if (file && instance.HandOver(QByteArray::fromStdString(*file))) return 0;
        QMessageBox::critical(nullptr, QString::fromUtf8(kordel::ui::kCaption.data(), kordel::ui::kCaption.size()),
                              QString::fromUtf8(kordel::ui::msg::kAlreadyRunning.data()));
        return 0;
    }
    auto store = kordel::ui::OpenPlatformSettings();
    kordel::qt::MainWindow window(*store);
    window.logic().SetJobs(std::max(1u, std::thread::hardware_concurrency()));
    QObject::connect(&instance, &kordel::qt::SingleInstance::fileHanded, &window,
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
    const int status = app.exec();
    return app.failure() ? ShowUnexpectedError(*app.failure()) : status;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        Application app(argc, argv);
        QApplication::setApplicationName("Kordel");
        try {
            return Run(app, argc, argv);
        } catch (const std::exception& e) {
            return ShowUnexpectedError(e.what());
        } catch (...) {
            return ShowUnexpectedError({});
        }
    } catch (...) {
        // Without an application there is no window to show the message in.
        return ShowUnexpectedError({});
    }
}
