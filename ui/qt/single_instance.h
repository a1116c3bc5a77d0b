// One running copy per user. The first copy holds a lock that the kernel frees when it dies and
// listens on a local socket; a later start with a file hands the file over instead of opening it.
#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

class QLocalServer;

namespace kordel::qt {

class SingleInstance final : public QObject {
    Q_OBJECT
public:
    /// Takes the lock in `folder` (by default the user's private runtime folder).
    explicit SingleInstance(const QString& folder = DefaultFolder(), QObject* parent = nullptr);
    ~SingleInstance() override;

    /// False only when another living copy holds the lock.
    bool acquired() const { return m_acquired; }
    /// The first copy: takes files handed over by later starts; each arrives as fileHanded().
    bool Listen();
    /// A later copy: hands `path` to the running copy; true once that copy has taken it.
    bool HandOver(const QByteArray& path, int timeoutMs = 5000) const;

    QString lockPath() const;
    QString socketPath() const;
    static QString DefaultFolder();

signals:
    void fileHanded(const QByteArray& path);

private:
    /// Whether a copy answers on the socket: the test used when no lock file can be had.
    bool SomeoneListens() const;

    QString m_folder;
    int m_fd = -1;
    bool m_acquired = false;
    QLocalServer* m_server = nullptr;
};

}  // namespace kordel::qt
