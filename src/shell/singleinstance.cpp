#include "shell/singleinstance.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QMetaObject>
#include <QScopedValueRollback>
#include <QWidget>
#include <QtEndian>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace fw {

namespace {

constexpr qsizetype kHeaderSize = 8;
// No command line comes near this; a larger frame is taken for garbage and its
// connection dropped.
constexpr quint32 kMaxFrameSize = 16 * 1024 * 1024;
// How long a start waits for the running instance: it may still be building its main
// window when two starts come at once.
constexpr int kConnectTimeoutMs = 2000;
constexpr int kAnswerTimeoutMs = 30000;
constexpr int kLockTimeoutMs = 30000;

QByteArray FrameBytes(quint32 kind, const QByteArray& data) {
    QByteArray bytes(kHeaderSize, Qt::Uninitialized);
    qToLittleEndian<quint32>(kind, bytes.data());
    qToLittleEndian<quint32>(static_cast<quint32>(data.size()), bytes.data() + 4);
    return bytes + data;
}

QString UserTag() {
#ifdef Q_OS_UNIX
    return QString::number(::getuid());
#else
    return qEnvironmentVariable("USERNAME");
#endif
}

// Where the lock file beside a server name lives.
QString LockPath(const QString& serverName) {
    if (serverName.contains(u'/')) return serverName + QStringLiteral(".lock");
    return QDir(QDir::tempPath()).filePath(serverName + QStringLiteral(".lock"));
}

}  // namespace

SingleInstance::SingleInstance(QObject* parent) : QObject(parent) {
    setObjectName(QStringLiteral("AppInstances1"));
}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::InstanceBaseName(const QString& executablePath) {
    const QString canonical = QFileInfo(executablePath).canonicalFilePath();
    return QStringLiteral("Inst") +
           (canonical.isEmpty() ? QFileInfo(executablePath).absoluteFilePath() : canonical);
}

QString SingleInstance::DefaultServerName(const QString& executablePath) {
    const QString override = qEnvironmentVariable("FW_INSTANCE_NAME");
    if (!override.isEmpty()) return override;
    // A socket path has little room, so the path is hashed.
    const QByteArray hash =
        QCryptographicHash::hash(InstanceBaseName(executablePath).toUtf8(), QCryptographicHash::Sha1)
            .toHex()
            .left(16);
    const QString name = QStringLiteral("formwright-%1-%2").arg(UserTag(), QString::fromLatin1(hash));
    // The user's runtime folder is private to the user; the temporary folder is shared,
    // which the user tag in the name and the socket's access mode account for.
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QFileInfo(runtime).isDir()) return QDir(runtime).filePath(name);
    return name;
}

QStringList SingleInstance::SplitLines(const QByteArray& bytes) {
    const QString text = QString::fromUtf8(bytes);
    QStringList lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != u'\r' && text[i] != u'\n') continue;
        lines << text.mid(start, i - start);
        if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
        start = i + 1;
    }
    if (start < text.size()) lines << text.mid(start);
    return lines;
}

QByteArray SingleInstance::JoinArguments(const QStringList& arguments) {
    QByteArray bytes;
    for (const QString& argument : arguments)
        bytes += argument.toUtf8() + "\r\n";
    return bytes;
}

bool SingleInstance::IsListening() const {
    return server_ != nullptr && server_->isListening();
}

bool SingleInstance::Check(const QStringList& arguments) {
    if (!active_ || maxInstances_ <= 0) return true;
    if (serverName_.isEmpty()) serverName_ = DefaultServerName(QCoreApplication::applicationFilePath());

    // Held from looking for a running instance until this one listens, so that of two
    // starts at the same moment the second finds the first. A lock not had in time
    // belongs to a start that is stuck, which is no reason not to run.
    QLockFile lock(LockPath(serverName_));
    (void)lock.tryLock(kLockTimeoutMs);

    QLocalSocket socket;
    socket.connectToServer(serverName_);
    if (socket.waitForConnected(kConnectTimeoutMs)) {
        if (Forward(socket, arguments)) return false;
        // An instance that takes the connection but never answers is stuck; this one
        // runs beside it without taking its name.
        qWarning("Formwright: the running instance does not answer; starting another one.");
        return true;
    }
    if (socket.error() != QLocalSocket::ServerNotFoundError &&
        socket.error() != QLocalSocket::ConnectionRefusedError) {
        qWarning("Formwright: cannot reach the running instance: %s", qPrintable(socket.errorString()));
        return true;
    }

    // Nobody listens: a socket file left by an instance that crashed is removed.
    QLocalServer::removeServer(serverName_);
    server_ = new QLocalServer(this);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server_->listen(serverName_)) {
        qWarning("Formwright: cannot listen for later starts: %s", qPrintable(server_->errorString()));
        delete server_;
        server_ = nullptr;
        return true;
    }
    connect(server_, &QLocalServer::newConnection, this, &SingleInstance::AcceptConnections);
    return true;
}

bool SingleInstance::Forward(QLocalSocket& socket, const QStringList& arguments) {
    if (onRejected_) onRejected_();
    int frames = 0;
    if (autoActivate_) {
        socket.write(FrameBytes(ActivateKind, {}));
        ++frames;
    }
    // Sent also without arguments: the text is then empty.
    if (sendCmdLine_) {
        socket.write(FrameBytes(CommandLineKind, JoinArguments(arguments)));
        ++frames;
    }
    if (!socket.waitForBytesWritten(kAnswerTimeoutMs) && socket.bytesToWrite() > 0) return false;
    QByteArray answers;
    while (answers.size() < frames) {
        if (socket.bytesAvailable() == 0 && !socket.waitForReadyRead(kAnswerTimeoutMs)) break;
        answers += socket.readAll();
    }
    socket.disconnectFromServer();
    return answers.size() >= frames;
}

void SingleInstance::AcceptConnections() {
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        socket->setParent(this);
        buffers_.insert(socket, {});
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { ReadFrames(socket); });
        connect(socket, &QLocalSocket::disconnected, this, [this, socket] {
            buffers_.remove(socket);
            socket->deleteLater();
        });
        if (socket->bytesAvailable() > 0) ReadFrames(socket);
    }
}

void SingleInstance::ReadFrames(QLocalSocket* socket) {
    auto it = buffers_.find(socket);
    if (it == buffers_.end()) return;
    it->append(socket->readAll());
    QByteArray& buffer = *it;
    bool taken = false;
    while (buffer.size() >= kHeaderSize) {
        const quint32 kind = qFromLittleEndian<quint32>(buffer.constData());
        const quint32 size = qFromLittleEndian<quint32>(buffer.constData() + 4);
        if (size > kMaxFrameSize) {
            buffers_.erase(it);
            socket->abort();
            return;
        }
        if (static_cast<quint64>(buffer.size()) < kHeaderSize + static_cast<quint64>(size)) break;
        pending_.append({kind, buffer.mid(kHeaderSize, size)});
        buffer.remove(0, kHeaderSize + size);
        // Taken: the sender may end now.
        socket->write("\x01", 1);
        taken = true;
    }
    if (taken) {
        socket->flush();
        // Handled once this signal has returned: opening a file may show a message box,
        // and while its loop runs the sender ends and its socket is deleted, which must
        // not happen under the socket's own readyRead.
        SchedulePending();
    }
}

void SingleInstance::SchedulePending() {
    if (handleScheduled_) return;
    handleScheduled_ = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            handleScheduled_ = false;
            HandlePending();
        },
        Qt::QueuedConnection);
}

void SingleInstance::SetApplicationWindow(QWidget* window) {
    window_ = window;
    windowSet_ = true;
    if (!pending_.isEmpty()) SchedulePending();
}

void SingleInstance::HandlePending() {
    // A handler's message box runs a loop in which more frames may arrive; the loop
    // below takes them in order once the handler returns.
    if (!windowSet_ || handling_) return;
    const QScopedValueRollback handling(handling_, true);
    while (!pending_.isEmpty()) {
        const Frame frame = pending_.takeFirst();
        Handle(frame);
    }
}

void SingleInstance::Handle(const Frame& frame) {
    if (frame.kind == ActivateKind) {
        BringToFront();
    } else if (frame.kind == CommandLineKind) {
        if (onCmdLineReceived_) onCmdLineReceived_(this, SplitLines(frame.data));
    } else if (onDataAvailable_) {
        onDataAvailable_(this, frame.kind, frame.data);
    }
}

void SingleInstance::BringToFront() {
    QWidget* window = window_.data();
    if (window == nullptr) return;
    if (window->isMinimized()) window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
    window->show();
    window->raise();
    window->activateWindow();
}

}  // namespace fw
