#include "ui/single_instance.h"

#include <QDir>
#include <QLockFile>
#include <QStandardPaths>

namespace kordel::ui {

SingleInstance::SingleInstance(const QString& lockPath) : m_lock(std::make_unique<QLockFile>(lockPath)) {
    // A lock left by a copy that crashed is stale (its process is gone) and is taken over.
    m_lock->setStaleLockTime(0);
    m_acquired = m_lock->tryLock(0);
}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::DefaultLockPath() {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty()) folder = QDir::tempPath();
    const QString user = qEnvironmentVariable("USER", qEnvironmentVariable("USERNAME", "user"));
    return QDir(folder).filePath("kordel-" + user + ".lock");
}

}  // namespace kordel::ui
