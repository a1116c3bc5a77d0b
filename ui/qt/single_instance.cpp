#include "ui/qt/single_instance.h"

#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QtEndian>

#include <cerrno>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kordel::qt {
namespace {

// A handed-over path: four bytes of length (big-endian), then the path's bytes. The running copy
// answers one byte once it has queued the file.
constexpr quint32 kMaxPath = 64 * 1024;
constexpr char kTaken = 'k';

// Reads one request from a connection of a later start and answers it.
class Connection final : public QObject {
public:
    Connection(QLocalSocket* socket, SingleInstance& owner) : QObject(socket), m_socket(socket) {
        connect(socket, &QLocalSocket::readyRead, this, [this, &owner] { Read(owner); });
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    }

private:
    void Read(SingleInstance& owner) {
        m_data += m_socket->readAll();
        if (m_data.size() < 4) return;
        const quint32 size = qFromBigEndian<quint32>(m_data.constData());
        if (size == 0 || size > kMaxPath) return m_socket->abort();
        if (static_cast<quint32>(m_data.size()) < 4 + size) return;
        const QByteArray path = m_data.mid(4, size);
        m_data.clear();
        emit owner.fileHanded(path);
        m_socket->write(&kTaken, 1);
        m_socket->flush();
    }

    QLocalSocket* m_socket;
    QByteArray m_data;
};

}  // namespace

SingleInstance::SingleInstance(const QString& folder, QObject* parent) : QObject(parent), m_folder(folder) {
    // The lock file is opened, never followed through a link, and checked after opening: only a
    // regular file of ours is a lock. Its lock belongs to the open file and ends with the process,
    // so a copy that crashed leaves nothing that blocks the next start.
    const QByteArray path = QFile::encodeName(lockPath());
    m_fd = ::open(path.constData(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0600);
    struct stat info {};
    if (m_fd >= 0 && (::fstat(m_fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_uid != ::geteuid())) {
        ::close(m_fd);
        m_fd = -1;
    }
    if (m_fd >= 0) {
        if (::flock(m_fd, LOCK_EX | LOCK_NB) == 0) {
            m_acquired = true;
            return;
        }
        const bool held = errno == EWOULDBLOCK;
        ::close(m_fd);
        m_fd = -1;
        if (held) return;
    }
    // No usable lock (a folder or a link in its place, say): only a copy that answers blocks the start.
    m_acquired = !SomeoneListens();
}

SingleInstance::~SingleInstance() {
    if (m_server) m_server->close();
    if (m_fd >= 0) ::close(m_fd);
}

QString SingleInstance::lockPath() const { return QDir(m_folder).filePath("kordel.lock"); }

QString SingleInstance::socketPath() const { return QDir(m_folder).filePath("kordel.socket"); }

QString SingleInstance::DefaultFolder() {
    // The runtime folder is private to the user (Qt makes one with mode 0700 when none is set).
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty()) folder = QDir::tempPath();
    return folder;
}

bool SingleInstance::Listen() {
    if (!m_acquired) return false;
    if (!m_server) {
        m_server = new QLocalServer(this);
        m_server->setSocketOptions(QLocalServer::UserAccessOption);
        connect(m_server, &QLocalServer::newConnection, this, [this] {
            while (QLocalSocket* socket = m_server->nextPendingConnection()) new Connection(socket, *this);
        });
    }
    // Holding the lock, any socket left at the path is one a dead copy left behind.
    if (m_fd >= 0) QLocalServer::removeServer(socketPath());
    return m_server->listen(socketPath());
}

bool SingleInstance::HandOver(const QByteArray& path, int timeoutMs) const {
    if (path.isEmpty() || static_cast<quint32>(path.size()) > kMaxPath) return false;
    QLocalSocket socket;
    socket.connectToServer(socketPath());
    if (!socket.waitForConnected(timeoutMs)) return false;
    char size[4];
    qToBigEndian<quint32>(static_cast<quint32>(path.size()), size);
    socket.write(size, 4);
    socket.write(path);
    if (!socket.waitForBytesWritten(timeoutMs)) return false;
    while (socket.bytesAvailable() < 1)
        if (!socket.waitForReadyRead(timeoutMs)) return false;
    char answer = 0;
    return socket.read(&answer, 1) == 1 && answer == kTaken;
}

bool SingleInstance::SomeoneListens() const {
    QLocalSocket socket;
    socket.connectToServer(socketPath());
    return socket.waitForConnected(1000);
}

}  // namespace kordel::qt
