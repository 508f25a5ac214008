#include "shell/singleinstance.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QLocalSocket>
#include <QMap>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <QWidget>
#include <QtEndian>
#include <functional>

#include "shelltestsupport.h"

namespace fw {
namespace {

using test::App;

TEST(AppInstances, ACommandLineSplitsAtEveryKindOfLineBreak) {
    const struct {
        QByteArray bytes;
        QStringList lines;
    } cases[] = {
        {"", {}},
        {"a\r\n", {"a"}},
        {"a\r\nb\r\n", {"a", "b"}},
        {"a\nb\rc", {"a", "b", "c"}},
        {"a\r\n\r\nb\r\n", {"a", "", "b"}},
        {"/My Forms/\xc3\xa4.dfm\r\n", {QStringLiteral("/My Forms/\u00e4.dfm")}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bytes.toStdString());
        EXPECT_EQ(SingleInstance::SplitLines(c.bytes), c.lines);
    }
    EXPECT_EQ(SingleInstance::JoinArguments({"/a b.dfm", "c"}), QByteArray("/a b.dfm\r\nc\r\n"));
}

TEST(AppInstances, TheNameFollowsTheCanonicalExecutablePath) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString program = dir.filePath(QStringLiteral("formwright"));
    EXPECT_TRUE(QFile(program).open(QIODevice::WriteOnly));
    ASSERT_TRUE(QFile::link(program, dir.filePath(QStringLiteral("link"))));
    const QString copy = dir.filePath(QStringLiteral("copy/formwright"));
    QDir(dir.path()).mkpath(QStringLiteral("copy"));
    EXPECT_TRUE(QFile(copy).open(QIODevice::WriteOnly));

    const QByteArray saved = qgetenv("FW_INSTANCE_NAME");
    qunsetenv("FW_INSTANCE_NAME");
    EXPECT_EQ(SingleInstance::InstanceBaseName(program),
              QStringLiteral("Inst") + QFileInfo(program).canonicalFilePath());
    EXPECT_EQ(SingleInstance::DefaultServerName(dir.filePath(QStringLiteral("link"))),
              SingleInstance::DefaultServerName(program));
    EXPECT_NE(SingleInstance::DefaultServerName(copy), SingleInstance::DefaultServerName(program));
    qputenv("FW_INSTANCE_NAME", "/tmp/probe");
    EXPECT_EQ(SingleInstance::DefaultServerName(program), QStringLiteral("/tmp/probe"));
    if (saved.isNull())
        qunsetenv("FW_INSTANCE_NAME");
    else
        qputenv("FW_INSTANCE_NAME", saved);
}

// Runs the real program with its own instance name and settings folder.
class ProgramRuns : public testing::Test {
protected:
    void SetUp() override {
        App();
        ASSERT_TRUE(dir_.isValid());
        serverName_ = dir_.filePath(QStringLiteral("instance"));
    }
    void TearDown() override {
        for (QProcess* process : processes_) {
            process->kill();
            process->waitForFinished(10000);
            delete process;
        }
    }

    QProcess* Start(const QStringList& arguments, const QMap<QString, QString>& extraEnvironment = {}) {
        auto* process = new QProcess;
        processes_ << process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        environment.insert(QStringLiteral("FW_INSTANCE_NAME"), serverName_);
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), dir_.filePath(QStringLiteral("config")));
        environment.remove(QStringLiteral("FW_GRAB_AND_QUIT"));
        for (auto it = extraEnvironment.begin(); it != extraEnvironment.end(); ++it)
            environment.insert(it.key(), it.value());
        environment.insert(QStringLiteral("LSAN_OPTIONS"),
                           QStringLiteral("suppressions=" FW_LSAN_SUPPRESSIONS));
        process->setProcessEnvironment(environment);
        process->setProcessChannelMode(QProcess::MergedChannels);
        process->start(QStringLiteral(FW_FORMWRIGHT_EXE), arguments);
        EXPECT_TRUE(process->waitForStarted(10000));
        return process;
    }
    // Waits, handling this process's events, until the condition holds; false on timeout.
    static bool WaitFor(const std::function<bool()>& condition, int timeoutMs = 60000) {
        const QDeadlineTimer deadline(timeoutMs);
        while (!condition()) {
            if (deadline.hasExpired()) return false;
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
            QThread::msleep(20);
        }
        return true;
    }
    static bool Finished(QProcess* process) {
        process->waitForFinished(0);
        return process->state() == QProcess::NotRunning;
    }
    // The most recent file of the running program's recent-files list.
    QString MostRecentFile() const {
        const QSettings settings(dir_.filePath(QStringLiteral("config/Zentrix/Formwright.ini")),
                                 QSettings::IniFormat);
        // Each entry ends in a one-character separator; before the first file there is none.
        const QString entry = settings.value(QStringLiteral("5.x/Main/MRUHistory/H0")).toString();
        return entry.isEmpty() ? QString() : entry.chopped(1);
    }
    QString WriteForm(const QString& name) {
        const QString path = dir_.filePath(name);
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("object Form1: TForm1\r\n  Caption = 'Form1'\r\nend\r\n");
        return path;
    }

    QTemporaryDir dir_;
    QString serverName_;
    QList<QProcess*> processes_;
};

TEST_F(ProgramRuns, ASecondStartHandsItsFileToTheFirstAndEnds) {
    QProcess* first = Start({});
    ASSERT_TRUE(WaitFor([&] { return QFileInfo::exists(serverName_) || Finished(first); }));
    ASSERT_FALSE(Finished(first)) << first->readAll().toStdString();

    // One argument with blanks, as a shell passes a quoted path.
    const QString form = WriteForm(QStringLiteral("My Forms/a b.dfm"));
    QProcess* second = Start({form});
    ASSERT_TRUE(WaitFor([&] { return Finished(second); }));
    EXPECT_EQ(second->exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second->exitCode(), 0) << second->readAll().toStdString();
    EXPECT_TRUE(WaitFor([&] { return MostRecentFile() == form; }, 30000)) << MostRecentFile().toStdString();
    EXPECT_FALSE(Finished(first));

    // The first ends without closing its socket, as in a crash; the next start finds
    // nobody behind it and becomes the running instance itself.
    first->kill();
    ASSERT_TRUE(first->waitForFinished(10000));
    ASSERT_TRUE(QFileInfo::exists(serverName_));
    const QString other = WriteForm(QStringLiteral("other.dfm"));
    QProcess* third = Start({other});
    ASSERT_TRUE(WaitFor([&] { return MostRecentFile() == other || Finished(third); }));
    ASSERT_FALSE(Finished(third)) << third->readAll().toStdString();

    // It takes the files of later starts.
    const QString last = WriteForm(QStringLiteral("last.dfm"));
    SingleInstance later;
    later.SetServerName(serverName_);
    EXPECT_FALSE(later.Check({last}));
    EXPECT_TRUE(WaitFor([&] { return MostRecentFile() == last; }, 30000));
}

TEST_F(ProgramRuns, TwoStartsAtTheSameMomentEndWithOneInstance) {
    QProcess* a = Start({});
    QProcess* b = Start({});
    ASSERT_TRUE(WaitFor([&] { return Finished(a) || Finished(b); }));
    QProcess* ended = Finished(a) ? a : b;
    QProcess* running = ended == a ? b : a;
    EXPECT_EQ(ended->exitCode(), 0) << ended->readAll().toStdString();
    EXPECT_FALSE(WaitFor([&] { return Finished(running); }, 3000)) << running->readAll().toStdString();
}

// The running instance here is this test process, so that its window can be looked at.
TEST_F(ProgramRuns, TheRunningInstanceComesToTheFrontAndGetsTheLinesUnjoined) {
    SingleInstance running;
    running.SetServerName(serverName_);
    ASSERT_TRUE(running.Check({}));
    ASSERT_TRUE(running.IsListening());
    QList<QStringList> received;
    running.SetOnCmdLineReceived([&](SingleInstance* sender, const QStringList& lines) {
        EXPECT_EQ(sender, &running);
        received << lines;
    });
    QWidget window;
    running.SetApplicationWindow(&window);

    const struct {
        const char* what;
        QStringList arguments;
    } cases[] = {
        {"no arguments", {}},
        {"a path with blanks in one argument", {"/x/My Forms/a.dfm"}},
        {"the same path in two arguments", {"/x/My", "Forms/a.dfm"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        received.clear();
        window.showMinimized();
        QProcess* later = Start(c.arguments);
        ASSERT_TRUE(WaitFor([&] { return Finished(later); }));
        EXPECT_EQ(later->exitCode(), 0) << later->readAll().toStdString();
        ASSERT_TRUE(WaitFor([&] { return !received.isEmpty(); }, 10000));
        EXPECT_EQ(received, QList<QStringList>{c.arguments});
        EXPECT_FALSE(window.isMinimized());
        EXPECT_TRUE(window.isVisible());
    }
}

// The picture run and --render are about their own process: a running instance does
// not take them over.
TEST_F(ProgramRuns, PictureAndRenderRunsNeverGoToTheRunningInstance) {
    SingleInstance running;
    running.SetServerName(serverName_);
    ASSERT_TRUE(running.Check({}));
    int received = 0;
    running.SetOnCmdLineReceived([&](SingleInstance*, const QStringList&) { ++received; });
    QWidget window;
    running.SetApplicationWindow(&window);
    const QString form = WriteForm(QStringLiteral("a.dfm"));

    const QString picture = dir_.filePath(QStringLiteral("picture.png"));
    QProcess* grab = Start({form}, {{QStringLiteral("FW_GRAB_AND_QUIT"), picture}});
    QProcess* render = Start(
        {QStringLiteral("--render"), form, QStringLiteral("-o"), dir_.filePath(QStringLiteral("r.png"))});
    ASSERT_TRUE(WaitFor([&] { return Finished(grab) && Finished(render); }));
    EXPECT_EQ(grab->exitCode(), 0) << grab->readAll().toStdString();
    EXPECT_EQ(render->exitCode(), 0) << render->readAll().toStdString();
    EXPECT_TRUE(QFileInfo::exists(picture));
    EXPECT_TRUE(QFileInfo::exists(dir_.filePath(QStringLiteral("r.png"))));
    EXPECT_EQ(received, 0);
}

// A connection that sends no sensible frame is dropped, and the instance goes on
// taking command lines.
TEST_F(ProgramRuns, AGarbledMessageIsDropped) {
    SingleInstance running;
    running.SetServerName(serverName_);
    ASSERT_TRUE(running.Check({}));
    QStringList received;
    running.SetOnCmdLineReceived([&](SingleInstance*, const QStringList& lines) { received << lines; });
    QWidget window;
    running.SetApplicationWindow(&window);

    QLocalSocket garbage;
    garbage.connectToServer(serverName_);
    ASSERT_TRUE(garbage.waitForConnected(5000));
    garbage.write(QByteArray("\x01\x00\x00\x00\xff\xff\xff\xff", 8));
    garbage.flush();
    EXPECT_TRUE(WaitFor([&] { return garbage.state() == QLocalSocket::UnconnectedState; }, 10000));

    QProcess* later = Start({QStringLiteral("/x/a.dfm")});
    ASSERT_TRUE(WaitFor([&] { return Finished(later); }));
    EXPECT_EQ(later->exitCode(), 0);
    EXPECT_TRUE(WaitFor([&] { return !received.isEmpty(); }, 10000));
    EXPECT_EQ(received, QStringList{"/x/a.dfm"});
}

// Opening a handed-over file may show a message box ("Cannot open file ..."). Its loop
// must not run inside the connection's own signal: there the connection takes nothing
// more, and when the start that sent the file ends, the connection is deleted under
// that signal. The instance comes through that and goes on taking command lines.
TEST_F(ProgramRuns, AHandlerThatRunsAModalLoopWhileTheSenderEndsIsSafe) {
    SingleInstance running;
    running.SetServerName(serverName_);
    ASSERT_TRUE(running.Check({}));
    QWidget window;
    running.SetApplicationWindow(&window);

    const auto frame = [](const QString& argument) {
        const QByteArray data = SingleInstance::JoinArguments({argument});
        QByteArray bytes(8, Qt::Uninitialized);
        qToLittleEndian<quint32>(SingleInstance::CommandLineKind, bytes.data());
        qToLittleEndian<quint32>(static_cast<quint32>(data.size()), bytes.data() + 4);
        return bytes + data;
    };
    QLocalSocket sender;
    QStringList received;
    qint64 answersDuringTheBox = -1;
    running.SetOnCmdLineReceived([&](SingleInstance*, const QStringList& lines) {
        received << lines;
        if (received.size() > 1) return;
        // The box is up. The sender sends one more line and waits for both answers,
        // then ends.
        sender.write(frame(QStringLiteral("/x/second.dfm")));
        sender.flush();
        QEventLoop box;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, &box, [&] {
            if (sender.bytesAvailable() >= 2) box.quit();
        });
        poll.start(10);
        QTimer::singleShot(2000, &box, &QEventLoop::quit);
        box.exec();
        answersDuringTheBox = sender.bytesAvailable();
        sender.disconnectFromServer();
        QTimer::singleShot(300, &box, &QEventLoop::quit);
        box.exec();
    });

    sender.connectToServer(serverName_);
    ASSERT_TRUE(sender.waitForConnected(5000));
    sender.write(frame(QStringLiteral("/x/missing.dfm")));
    sender.flush();
    ASSERT_TRUE(WaitFor([&] { return received.size() == 2; }, 10000)) << received.join(u' ').toStdString();
    EXPECT_EQ(answersDuringTheBox, 2);
    EXPECT_EQ(received, (QStringList{"/x/missing.dfm", "/x/second.dfm"}));

    QProcess* later = Start({QStringLiteral("/x/a.dfm")});
    ASSERT_TRUE(WaitFor([&] { return Finished(later); }));
    EXPECT_EQ(later->exitCode(), 0) << later->readAll().toStdString();
    EXPECT_TRUE(WaitFor([&] { return received.size() == 3; }, 10000));
    EXPECT_EQ(received.last(), QStringLiteral("/x/a.dfm"));
}
}  // namespace
}  // namespace fw
