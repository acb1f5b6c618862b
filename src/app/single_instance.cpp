#include "app/single_instance.h"

#include "storage/data_folder.h"
#include "ui/dialogs.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QThread>
#include <QTimer>
#include <QWidget>

namespace dravik {

namespace {

// The whole conversation: a later start sends the request line, the running one answers with the
// reply line once its window has been brought forward.
constexpr char kRequest[] = "show\n";
constexpr char kReply[] = "ok\n";
constexpr qint64 kMaxLine = 64;

// A local socket's path must fit in sockaddr_un (108 bytes on Linux, the final NUL included).
constexpr int kMaxSocketPath = 100;

// How long the running instance waits for a request line before it drops the connection.
constexpr int kRequestTimeoutMs = 5000;
// Pause between two tries while the lock is held but nobody answers yet.
constexpr unsigned long kRetryPauseMs = 100;

} // namespace

SingleInstance::SingleInstance(QObject* parent) : QObject(parent) {}

SingleInstance::~SingleInstance() {
    if (server_)
        server_->close();
}

QString SingleInstance::lockFilePath(const QString& dataFolder) {
    return dataFolder + QStringLiteral("dravik.lock");
}

QString SingleInstance::serverName(const QString& dataFolder) {
    // The folder's absolute path names the server, so that starts on different data folders (tests
    // with their own XDG_DATA_HOME) never meet. A hash keeps the socket path short.
    const QByteArray path = QFileInfo(dataFolder).absoluteFilePath().toUtf8();
    const QString name =
        QStringLiteral("dravik-") +
        QString::fromLatin1(QCryptographicHash::hash(path, QCryptographicHash::Sha256).toHex().left(32));
    // The user's own runtime folder keeps other users from taking the name first; a bare name
    // lands in the temporary folder, where the socket itself is still open to this user alone.
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (!runtime.isEmpty()) {
        const QString full = runtime + QLatin1Char('/') + name;
        if (full.toUtf8().size() <= kMaxSocketPath)
            return full;
    }
    return name;
}

SingleInstance::Start SingleInstance::start(int timeoutMs) {
    ensureDataFolder();
    const QString folder = dataFolder();
    const QString name = serverName(folder);
    lock_ = std::make_unique<QLockFile>(lockFilePath(folder));
    // The lock is stale only when the process that took it is gone, never by age: a run may last days.
    lock_->setStaleLockTime(0);

    const QDeadlineTimer deadline(timeoutMs);
    for (;;) {
        if (lock_->tryLock(0)) {
            listen(name);
            return Start::Primary;
        }
        if (lock_->error() != QLockFile::LockFailedError) {
            // No lock can be made here (a folder that is missing or not writable). Refusing the
            // start would not help: it goes on and meets the file errors of the folder.
            lock_.reset();
            return Start::Primary;
        }
        if (askToComeForward(name, int(deadline.remainingTime())))
            return Start::Forwarded;
        // Nobody answered: the holder may still be on its way to listening, or may just have ended.
        if (deadline.hasExpired())
            return Start::Unanswered;
        QThread::msleep(kRetryPauseMs);
    }
}

void SingleInstance::setWindow(QWidget* window) {
    window_ = window;
}

bool SingleInstance::listen(const QString& name) {
    server_ = new QLocalServer(this);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    // This process holds the lock, so a socket under this name can only be one left by a process
    // that was killed.
    QLocalServer::removeServer(name);
    if (!server_->listen(name))
        return false; // later starts find the lock taken and get no answer; they still never run
    connect(server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = server_->nextPendingConnection())
            serve(socket);
    });
    return true;
}

void SingleInstance::serve(QLocalSocket* socket) {
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    QTimer::singleShot(kRequestTimeoutMs, socket, [socket] { socket->abort(); });
    auto handle = [this, socket] {
        if (!socket->canReadLine()) {
            if (socket->bytesAvailable() > kMaxLine)
                socket->abort();
            return;
        }
        if (socket->readLine(kMaxLine + 1) != kRequest) {
            socket->abort();
            return;
        }
        emit forwardRequested();
        bringForward(window_);
        socket->write(kReply);
        socket->flush();
        socket->disconnectFromServer();
    };
    connect(socket, &QLocalSocket::readyRead, socket, handle);
    if (socket->bytesAvailable() > 0)
        handle();
}

bool SingleInstance::askToComeForward(const QString& name, int timeoutMs) {
    const QDeadlineTimer deadline(qMax(timeoutMs, 0));
    QLocalSocket socket;
    socket.connectToServer(name);
    if (!socket.waitForConnected(int(deadline.remainingTime())))
        return false;
    socket.write(kRequest);
    if (!socket.waitForBytesWritten(int(deadline.remainingTime())))
        return false;
    while (!socket.canReadLine()) {
        if (socket.bytesAvailable() > kMaxLine || !socket.waitForReadyRead(int(deadline.remainingTime())))
            return false;
    }
    return socket.readLine(kMaxLine + 1) == kReply;
}

std::optional<int> endOfLaterStart(SingleInstance::Start start) {
    switch (start) {
    case SingleInstance::Start::Primary:
        return std::nullopt;
    case SingleInstance::Start::Forwarded:
        return 0;
    case SingleInstance::Start::Unanswered:
        break;
    }
    dialogs::showMessage(nullptr, QStringLiteral("Dravik已在运行，但没有响应。"));
    return 1;
}

void bringForward(QWidget* window) {
    if (!window || !window->isVisible())
        return;
    window->setWindowState((window->windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    window->show();
    window->raise();
    window->activateWindow();
}

} // namespace dravik
