// Kordel, the desktop line counter.
#include <thread>

#include <QApplication>
#include <QMessageBox>
#include <QScreen>
#include <QTimer>

#include "ui/core/messages.h"
#include "ui/core/settings_store.h"
#include "ui/main_window.h"
#include "ui/single_instance.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Kordel");
    kordel::ui::SingleInstance instance;
    if (!instance.acquired()) {
        QMessageBox::critical(nullptr, "Kordel 1.7", QString::fromUtf8(kordel::ui::msg::kAlreadyRunning.data()));
        return 0;
    }
    auto store = kordel::ui::OpenPlatformSettings();
    kordel::ui::MainWindow window(*store);
    window.logic().SetJobs(std::max(1u, std::thread::hardware_concurrency()));
    // Without a window manager "maximised" means nothing: start at the screen's size anyway.
    if (const QScreen* screen = QApplication::primaryScreen()) window.resize(screen->availableGeometry().size());
    window.showMaximized();
    // Re-open the list saved last once the window is up, so its questions have an owner.
    QTimer::singleShot(0, &window, [&window] { window.logic().StartUp(); });
    return app.exec();
}
