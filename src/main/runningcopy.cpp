#include "main/runningcopy.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QTimer>
#include <QtEndian>

#include <optional>

namespace dialvault {

namespace {

// A request: this header, the payload's length (4 bytes, big-endian), then
// the files' paths in UTF-8, each ended by a NUL, which no path holds. The
// answer is one byte.
const QByteArray requestHeader = QByteArrayLiteral("dialvault-open/1\n");
constexpr char taken = 'k';
// More than any command line carries; a longer request is no start of ours.
constexpr quint32 largestPayload = 1 << 20;
// A running copy answers at once; one that does not is left to itself and
// this start runs on its own, well within two seconds.
constexpr int answerWait = 1500;
// The lock is held only while a start checks and claims; a start that finds
// it held that long starts on its own.
constexpr int lockWait = 2000;

// What names the phone book's place: the file's real path (links and "..."
// resolved), or the server as user@host:port/dbname, never a password.
QString placeKey(const PhoneBookSource &phoneBook)
{
    if (phoneBook.isServer())
        return QStringLiteral("server:") + phoneBook.shownName();
    const QFileInfo file(phoneBook.databasePath());
    const QString folder = QFileInfo(file.absolutePath()).canonicalFilePath();
    return QStringLiteral("file:")
        + (folder.isEmpty() ? file.absoluteFilePath() : folder + u'/' + file.fileName());
}

bool sendRequest(const QString &socketPath, const QStringList &files)
{
    QByteArray payload;
    for (const QString &file : files)
        payload += QFileInfo(file).absoluteFilePath().toUtf8() + '\0';
    if (payload.size() > qsizetype(largestPayload))
        return false;
    QByteArray length(4, '\0');
    qToBigEndian(quint32(payload.size()), length.data());

    const QDeadlineTimer deadline(answerWait);
    QLocalSocket socket;
    socket.connectToServer(socketPath);
    if (!socket.waitForConnected(int(deadline.remainingTime())))
        return false;
    socket.write(requestHeader + length + payload);
    while (socket.bytesToWrite() > 0) {
        if (!socket.waitForBytesWritten(int(deadline.remainingTime())))
            return false;
    }
    while (socket.bytesAvailable() < 1) {
        if (!socket.waitForReadyRead(int(deadline.remainingTime())))
            return false;
    }
    char answer = 0;
    return socket.getChar(&answer) && answer == taken;
}

// The files of a whole request; nothing while it is still arriving. A
// request that is not one of ours ends the connection.
std::optional<QStringList> readRequest(QLocalSocket *socket)
{
    const qsizetype headerSize = requestHeader.size() + 4;
    if (socket->bytesAvailable() < headerSize)
        return std::nullopt;
    const QByteArray header = socket->peek(headerSize);
    const quint32 length = qFromBigEndian<quint32>(header.constData() + requestHeader.size());
    if (!header.startsWith(requestHeader) || length > largestPayload) {
        socket->abort();
        return std::nullopt;
    }
    if (socket->bytesAvailable() < headerSize + qsizetype(length))
        return std::nullopt;
    socket->skip(headerSize);
    const QByteArray payload = socket->read(length);
    QStringList files;
    for (const QByteArray &path : payload.split('\0')) {
        if (!path.isEmpty())
            files.append(QString::fromUtf8(path));
    }
    return files;
}

} // namespace

RunningCopy::RunningCopy(const PhoneBookSource &phoneBook, const QString &folder)
    : m_socketPath(folder.isEmpty() ? QString() : socketPath(phoneBook, folder))
{ }

RunningCopy::~RunningCopy() = default;

QString RunningCopy::socketPath(const PhoneBookSource &phoneBook, const QString &folder)
{
    const QByteArray hash
        = QCryptographicHash::hash(placeKey(phoneBook).toUtf8(), QCryptographicHash::Sha256);
    return QDir(folder).filePath(QStringLiteral("dialvault-")
                                 + QString::fromLatin1(hash.left(8).toHex()));
}

bool RunningCopy::handOver(const QStringList &files)
{
    if (m_socketPath.isEmpty())
        return false;
    auto lock = std::make_unique<QLockFile>(m_socketPath + QStringLiteral(".lock"));
    // Only a dead holder makes the lock stale: carrying an old phone book
    // over may hold it long.
    lock->setStaleLockTime(0);
    if (!lock->tryLock(lockWait))
        return false;
    if (sendRequest(m_socketPath, files))
        return true;
    m_lock = std::move(lock);
    return false;
}

void RunningCopy::listen(QObject *owner, std::function<void(const QStringList &files)> startedAgain)
{
    // Without the lock another start may be the copy: its name is not ours
    // to take.
    if (!m_lock)
        return;
    auto *server = new QLocalServer(owner);
    server->setSocketOptions(QLocalServer::UserAccessOption);
    // Nobody answered under the name: a crash left it.
    QLocalServer::removeServer(m_socketPath);
    if (!server->listen(m_socketPath)) {
        delete server;
        m_lock.reset();
        return;
    }
    QObject::connect(server, &QLocalServer::newConnection, server, [server, startedAgain] {
        while (QLocalSocket *socket = server->nextPendingConnection()) {
            QObject::connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            // A start that never finishes asking is not waited for.
            QTimer::singleShot(answerWait, socket, &QLocalSocket::abort);
            QObject::connect(socket, &QLocalSocket::readyRead, socket, [socket, startedAgain] {
                const std::optional<QStringList> files = readRequest(socket);
                if (!files)
                    return;
                socket->putChar(taken);
                socket->disconnectFromServer();
                // After this handler: the window comes forward and the import
                // may ask in a modal box.
                QTimer::singleShot(0, socket->parent(),
                                   [startedAgain, files = *files] { startedAgain(files); });
            });
        }
    });
    m_lock.reset();
}

} // namespace dialvault
