// One running copy per user: the kernel lock and the hand-off socket for the Qt program.
#include "ui/qt/single_instance.h"

#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QTimer>

#include "platform/instance.h"
#include "ui/core/hand_off.h"

namespace kordel::qt {

using ui::HandOffMessage;
using ui::HandOffReader;
using ui::kHandOffTaken;
using ui::kMaxHandOffPath;

namespace {

// Reads the requests of one connection of a later start and answers each. A connection that has
// not sent a whole request within the idle time is closed, so idle connections cannot pile up.
class Connection final : public QObject {
public:
    Connection(QLocalSocket* socket, SingleInstance& owner, int idleMs) : QObject(socket), m_socket(socket) {
        connect(socket, &QLocalSocket::readyRead, this, [this, &owner] { Read(owner); });
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        m_idle.setSingleShot(true);
        connect(&m_idle, &QTimer::timeout, socket, &QLocalSocket::abort);
        m_idle.start(idleMs);
    }

private:
    void Read(SingleInstance& owner) {
        for (;;) {
            // Never more than one request's bytes at a time.
            const QByteArray bytes = m_socket->read(4 + kMaxHandOffPath);
            std::string path;
            HandOffReader::Result result = m_reader.Feed(std::string_view(bytes.constData(), bytes.size()), path);
            while (result == HandOffReader::Result::Path) {
                emit owner.fileHanded(QByteArray::fromStdString(path));
                m_socket->write(&kHandOffTaken, 1);
                m_socket->flush();
                m_idle.start();
                result = m_reader.Feed({}, path);
            }
            if (result == HandOffReader::Result::Refused) return m_socket->abort();
            if (bytes.isEmpty()) return;
        }
    }

    QLocalSocket* m_socket;
    HandOffReader m_reader;
    QTimer m_idle;
};

}  // namespace

SingleInstance::SingleInstance(const QString& folder, QObject* parent)
    : QObject(parent), m_folder(folder), m_lock(std::make_unique<platform::InstanceLock>()) {
    if (m_folder.isEmpty()) {
        m_acquired = true;  // no private folder: nothing to share with a later start, nothing to fear
        return;
    }
    switch (m_lock->Take(QFile::encodeName(lockPath()).toStdString())) {
        case platform::InstanceLock::Status::Held:
            m_locked = m_acquired = true;
            return;
        case platform::InstanceLock::Status::HeldByAnother: return;
        case platform::InstanceLock::Status::Unusable: break;
    }
    // No usable lock (a folder or a link in its place, say): only a copy that answers blocks the start.
    m_acquired = !SomeoneListens();
}

SingleInstance::~SingleInstance() {
    // The connections go while the count they keep is still here.
    delete m_server;
}

QString SingleInstance::lockPath() const { return QDir(m_folder).filePath("kordel.lock"); }

QString SingleInstance::socketPath() const { return QDir(m_folder).filePath("kordel.socket"); }

QString SingleInstance::DefaultFolder() {
    // The runtime folder when it is the user's own and private; otherwise (no XDG_RUNTIME_DIR, and
    // /tmp/runtime-USER taken by someone else) never /tmp itself, where another user could listen
    // in our place, but a private folder of ours in it.
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (!runtime.isEmpty() && platform::IsPrivateFolder(QFile::encodeName(runtime).toStdString())) return runtime;
    return QFile::decodeName(QByteArray::fromStdString(platform::PrivateTemporaryFolder("kordel")));
}

void SingleInstance::SetConnectionLimits(int maxConnections, int idleMs) {
    m_maxConnections = maxConnections;
    m_idleMs = idleMs;
}

bool SingleInstance::Listen() {
    if (!m_acquired || m_folder.isEmpty()) return false;
    if (!m_server) {
        m_server = new QLocalServer(this);
        m_server->setSocketOptions(QLocalServer::UserAccessOption);
        connect(m_server, &QLocalServer::newConnection, this, [this] {
            while (QLocalSocket* socket = m_server->nextPendingConnection()) {
                // Another user's process, or one connection too many, is closed at once.
                if (m_connections >= m_maxConnections || !platform::PeerIsSameUser(socket->socketDescriptor())) {
                    socket->abort();
                    socket->deleteLater();
                    continue;
                }
                ++m_connections;
                connect(socket, &QObject::destroyed, this, [this] { --m_connections; });
                new Connection(socket, *this, m_idleMs);
            }
        });
    }
    // Holding the lock, any socket left at the path is one a dead copy left behind.
    if (m_locked) QLocalServer::removeServer(socketPath());
    return m_server->listen(socketPath());
}

bool SingleInstance::HandOver(const QByteArray& path, int timeoutMs) const {
    const std::string message = HandOffMessage(std::string_view(path.constData(), path.size()));
    if (message.empty()) return false;
    QLocalSocket socket;
    socket.connectToServer(socketPath());
    if (!socket.waitForConnected(timeoutMs)) return false;
    // The path goes only to a copy of the same user.
    if (!platform::PeerIsSameUser(socket.socketDescriptor())) return false;
    socket.write(message.data(), static_cast<qint64>(message.size()));
    if (!socket.waitForBytesWritten(timeoutMs)) return false;
    while (socket.bytesAvailable() < 1)
        if (!socket.waitForReadyRead(timeoutMs)) return false;
    char answer = 0;
    return socket.read(&answer, 1) == 1 && answer == kHandOffTaken;
}

bool SingleInstance::SomeoneListens() const {
    QLocalSocket socket;
    socket.connectToServer(socketPath());
    return socket.waitForConnected(1000) && platform::PeerIsSameUser(socket.socketDescriptor());
}

}  // namespace kordel::qt
