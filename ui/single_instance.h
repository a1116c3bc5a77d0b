// One running copy per user: a lock file that the system frees when its holder dies.
#pragma once

#include <memory>

#include <QString>

class QLockFile;

namespace kordel::ui {

class SingleInstance {
public:
    /// Takes the lock at `lockPath` (by default one per user in the runtime folder).
    explicit SingleInstance(const QString& lockPath = DefaultLockPath());
    ~SingleInstance();
    /// False when another living copy holds the lock.
    bool acquired() const { return m_acquired; }
    static QString DefaultLockPath();

private:
    std::unique_ptr<QLockFile> m_lock;
    bool m_acquired = false;
};

}  // namespace kordel::ui
