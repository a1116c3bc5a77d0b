// One running copy per user. The first copy holds a lock that the kernel frees when it dies and
// listens on a local socket; a later start with a file hands the file over instead of opening it.
#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

#include <memory>

class QLocalServer;

namespace kordel::platform {
class InstanceLock;
}

namespace kordel::qt {

class SingleInstance final : public QObject {
    Q_OBJECT
public:
    /// Takes the lock in `folder` (by default the user's private runtime folder). Without a folder
    /// (no private one could be had) every start runs on its own.
    explicit SingleInstance(const QString& folder = DefaultFolder(), QObject* parent = nullptr);
    ~SingleInstance() override;

    /// False only when another living copy holds the lock.
    bool acquired() const { return m_acquired; }
    /// The first copy: takes files handed over by later starts; each arrives as fileHanded().
    bool Listen();
    /// A later copy: hands `path` to the running copy; true once that copy has taken it.
    bool HandOver(const QByteArray& path, int timeoutMs = 5000) const;

    /// At most `maxConnections` connections at once; each is closed when it sends no whole request
    /// for `idleMs` milliseconds.
    void SetConnectionLimits(int maxConnections, int idleMs);
    int connectionCount() const { return m_connections; }

    QString lockPath() const;
    QString socketPath() const;
    static QString DefaultFolder();

signals:
    void fileHanded(const QByteArray& path);

private:
    /// Whether a copy answers on the socket: the test used when no lock file can be had.
    bool SomeoneListens() const;

    QString m_folder;
    std::unique_ptr<platform::InstanceLock> m_lock;
    bool m_locked = false;
    bool m_acquired = false;
    QLocalServer* m_server = nullptr;
    int m_connections = 0;
    int m_maxConnections = 16;
    int m_idleMs = 10000;
};

}  // namespace kordel::qt
