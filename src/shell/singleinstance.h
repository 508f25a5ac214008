#pragma once
// SingleInstance: one running instance per executable and user. The first start listens
// on a local socket named from the executable's canonical path and the user; a later
// start finds it there, asks it to come to the front, hands it its arguments (each
// followed by CR LF) and ends before showing anything. The running instance raises its
// window and reports the arguments through OnCmdLineReceived.
//
// Messages on the socket are frames: a 32-bit little-endian kind, a 32-bit
// little-endian byte count and the bytes. The receiver answers each frame with one byte
// 1 once it has taken it.

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <functional>

class QLocalServer;
class QLocalSocket;
class QWidget;

namespace fw {

class SingleInstance : public QObject {
    Q_OBJECT
public:
    // Frame kinds: a command line, the request to come to the front (a kind reserved
    // for it), and free data of any other kind.
    static constexpr quint32 CommandLineKind = 1;
    static constexpr quint32 ActivateKind = 0xFFFFFFFF;

    using TCmdLineReceivedEvent = std::function<void(SingleInstance* sender, const QStringList& cmdLine)>;
    using TDataAvailableEvent =
        std::function<void(SingleInstance* sender, quint32 kind, const QByteArray& data)>;

    explicit SingleInstance(QObject* parent = nullptr);
    ~SingleInstance() override;

    // Whether the check runs at all.
    bool Active() const { return active_; }
    void SetActive(bool active) { active_ = active; }
    // Whether a rejected start asks the running instance to come to the front.
    bool AutoActivate() const { return autoActivate_; }
    void SetAutoActivate(bool autoActivate) { autoActivate_ = autoActivate; }
    // 0 or less: no check, every start runs. Otherwise one instance runs; the count of
    // instances is not kept, so any positive value means one.
    int MaxInstances() const { return maxInstances_; }
    void SetMaxInstances(int maxInstances) { maxInstances_ = maxInstances; }
    // Whether a rejected start hands over its arguments.
    bool SendCmdLine() const { return sendCmdLine_; }
    void SetSendCmdLine(bool send) { sendCmdLine_ = send; }

    void SetOnCmdLineReceived(TCmdLineReceivedEvent handler) { onCmdLineReceived_ = std::move(handler); }
    void SetOnDataAvailable(TDataAvailableEvent handler) { onDataAvailable_ = std::move(handler); }
    // Raised in a start that is rejected, before it hands over and ends.
    void SetOnRejected(std::function<void()> handler) { onRejected_ = std::move(handler); }

    // "Inst" followed by the executable's canonical path: what tells instances of one
    // program from those of a copy elsewhere.
    static QString InstanceBaseName(const QString& executablePath);
    // The local socket's name: the environment variable FW_INSTANCE_NAME when set (tests
    // use their own), else derived from InstanceBaseName and the user, in the user's
    // runtime folder when there is one.
    static QString DefaultServerName(const QString& executablePath);
    QString ServerName() const { return serverName_; }
    void SetServerName(const QString& name) { serverName_ = name; }

    // The check, under a lock file so that two starts at the same moment end with one
    // instance. Returns false when a running instance took this start's arguments (the
    // caller ends at once with exit code 0); true when this process runs, and then it
    // listens for later starts. A socket left by an instance that crashed is replaced.
    bool Check(const QStringList& arguments);
    // Whether this process is the running instance that later starts reach.
    bool IsListening() const;

    // The window brought to the front on request. Messages that arrive before it is set
    // wait for it, and are then handled from the event loop.
    void SetApplicationWindow(QWidget* window);

    // Splits a command line at CR LF, LF or CR; a break at the end gives no empty line.
    static QStringList SplitLines(const QByteArray& bytes);
    // The bytes a rejected start sends: each argument in UTF-8 followed by CR LF.
    static QByteArray JoinArguments(const QStringList& arguments);

private:
    struct Frame {
        quint32 kind = 0;
        QByteArray data;
    };

    bool Forward(QLocalSocket& socket, const QStringList& arguments);
    void AcceptConnections();
    void ReadFrames(QLocalSocket* socket);
    // Handles the frames received so far from the event loop, outside any socket signal.
    void SchedulePending();
    void HandlePending();
    void Handle(const Frame& frame);
    void BringToFront();

    bool active_ = true;
    bool autoActivate_ = true;
    int maxInstances_ = 1;
    bool sendCmdLine_ = true;
    TCmdLineReceivedEvent onCmdLineReceived_;
    TDataAvailableEvent onDataAvailable_;
    std::function<void()> onRejected_;

    QString serverName_;
    QLocalServer* server_ = nullptr;
    QHash<QLocalSocket*, QByteArray> buffers_;
    QPointer<QWidget> window_;
    bool windowSet_ = false;
    QList<Frame> pending_;
    bool handleScheduled_ = false;
    bool handling_ = false;
};

}  // namespace fw
