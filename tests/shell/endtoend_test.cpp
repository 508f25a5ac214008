#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QSet>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <utility>

#include "fixtures.h"

namespace fw {
namespace {

struct ProgramRun {
    const char* name;
    QString program;
    QStringList arguments;
    QString platform;
};

// Starts the real program on a form with the picture-and-quit hook and checks that it
// ended well and drew its window.
TEST(Formwright, StartsOnAFormAndDrawsItsWindow) {
    const QString form =
        QStringLiteral(FW_CORPUS_DIR) +
        QStringLiteral("/forms/text/Ex-Soft__test__CBuilder__Tests__IB__embedded__DataUnit.dfm");
    if (!QFileInfo(form).isFile()) GTEST_SKIP() << "the corpus is missing: " << form.toStdString();
    const QString program = QStringLiteral(FW_FORMWRIGHT_EXE);

    std::vector<ProgramRun> runs = {{"offscreen", program, {form}, QStringLiteral("offscreen")}};
    if (!QStandardPaths::findExecutable(QStringLiteral("xvfb-run")).isEmpty()) {
        runs.push_back({"xvfb-run",
                        QStringLiteral("xvfb-run"),
                        {QStringLiteral("-a"), QStringLiteral("-s"), QStringLiteral("-screen 0 1280x800x24"),
                         program, form},
                        QStringLiteral("xcb")});
    }
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    for (const ProgramRun& run : runs) {
        SCOPED_TRACE(run.name);
        const QString picture = dir.filePath(QString::fromLatin1(run.name) + QStringLiteral(".png"));
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), run.platform);
        environment.insert(QStringLiteral("FW_GRAB_AND_QUIT"), picture);
        // The program keeps its settings; the user's stay untouched.
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), dir.filePath(QStringLiteral("config")));
        // For sanitizer builds: system libraries of the X11 platform keep memory to the
        // end, which is no leak of the program's.
        environment.insert(QStringLiteral("LSAN_OPTIONS"),
                           QStringLiteral("suppressions=" FW_LSAN_SUPPRESSIONS));
        QProcess process;
        process.setProcessEnvironment(environment);
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.start(run.program, run.arguments);
        ASSERT_TRUE(process.waitForFinished(120000)) << "still running";
        const std::string output = process.readAll().toStdString();
        ASSERT_EQ(process.exitStatus(), QProcess::NormalExit) << output;
        EXPECT_EQ(process.exitCode(), 0) << output;

        const QImage image(picture);
        ASSERT_FALSE(image.isNull()) << "no picture at " << picture.toStdString();
        EXPECT_GE(image.width(), 300);
        EXPECT_GE(image.height(), 200);
        QSet<QRgb> colours;
        for (int y = 0; y < image.height(); y += 3) {
            for (int x = 0; x < image.width(); x += 3)
                colours.insert(image.pixel(x, y));
        }
        EXPECT_GT(colours.size(), 10) << "the window is nearly a single colour";
    }
}

// Without a document the hook reports it, so a run that opened nothing cannot pass.
TEST(Formwright, PictureRunWithoutADocumentEndsWithCode3) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("FW_GRAB_AND_QUIT"), dir.filePath(QStringLiteral("empty.png")));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), dir.filePath(QStringLiteral("config")));
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(FW_FORMWRIGHT_EXE), {});
    ASSERT_TRUE(process.waitForFinished(120000));
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process.exitCode(), 3);
    EXPECT_FALSE(QImage(dir.filePath(QStringLiteral("empty.png"))).isNull());
}

// formwright --render: a picture of the form and its messages, with the exit status
// that says whether there were any, and no display needed.
TEST(Formwright, RendersAFormToAPicture) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const auto write = [&](const char* name, const QByteArray& text) {
        QFile file(dir.filePath(QString::fromLatin1(name)));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
        return file.fileName();
    };
    const QString clean = write("clean.dfm",
                                "object Form1: TForm1\r\n  Caption = 'Hello'\r\n  ClientWidth = 200\r\n"
                                "  ClientHeight = 100\r\n  object Button1: TButton\r\n    Left = 8\r\n"
                                "    Top = 8\r\n    Caption = 'OK'\r\n  end\r\nend\r\n");
    const QString odd =
        write("odd.dfm", "object Form1: TForm1\r\n  object Foo1: TFooButton\r\n  end\r\nend\r\n");
    const struct {
        const char* What;
        QString Form;
        int Exit;
        QString Output;  // what standard output starts with
    } cases[] = {
        {"clean", clean, 0, QString()},
        {"with a message", odd, 1, odd + QStringLiteral(": ERROR=Class TFooButton not found\n")},
        {"missing file", dir.filePath(QStringLiteral("missing.dfm")), 2, QString()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.What);
        const QString picture = dir.filePath(QString::fromLatin1(c.What) + QStringLiteral(".png"));
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
        environment.remove(QStringLiteral("DISPLAY"));
        environment.insert(QStringLiteral("LSAN_OPTIONS"),
                           QStringLiteral("suppressions=" FW_LSAN_SUPPRESSIONS));
        QProcess process;
        process.setProcessEnvironment(environment);
        process.start(QStringLiteral(FW_FORMWRIGHT_EXE),
                      {QStringLiteral("--render"), c.Form, QStringLiteral("-o"), picture});
        ASSERT_TRUE(process.waitForFinished(60000));
        const QString out = QString::fromUtf8(process.readAllStandardOutput());
        EXPECT_EQ(process.exitCode(), c.Exit) << process.readAllStandardError().toStdString();
        EXPECT_EQ(out, c.Output);
        const QImage image(picture);
        EXPECT_EQ(image.isNull(), c.Exit == 2);
        if (c.Exit == 0) {
            // The frame of a sizeable window, 8 pixels a side, around the client area,
            // with the title bar and its caption above.
            EXPECT_EQ(image.width(), 216);
            EXPECT_GT(image.height(), 100 + 16);
        }
    }
}

// formwright --render --package: the form's components of a design package are built
// from the package, as in the editor.
TEST(Formwright, RendersWithTheDesignPackagesGiven) {
    fwtest::TempDir dir;
    const std::string widgets = dir.Write("widgets.bpl", fwtest::BuildTestPackage(fwtest::WidgetsPackage()));
    const std::string form = dir.Write("widget.dfm", fwtest::BytesOf("object Form1: TForm1\r\n"
                                                                     "  object Widget1: TWidget\r\n"
                                                                     "    Mode = wmThree\r\n"
                                                                     "  end\r\n"
                                                                     "end\r\n"));
    const auto render = [&](QStringList extra) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"),
                           QString::fromStdString((dir.Path() / "config").string()));
        environment.insert(QStringLiteral("LSAN_OPTIONS"),
                           QStringLiteral("suppressions=" FW_LSAN_SUPPRESSIONS));
        QProcess process;
        process.setProcessEnvironment(environment);
        QStringList arguments{QStringLiteral("--render"), QString::fromStdString(form), QStringLiteral("-o"),
                              QString::fromStdString((dir.Path() / "widget.png").string())};
        process.start(QStringLiteral(FW_FORMWRIGHT_EXE), arguments + extra);
        EXPECT_TRUE(process.waitForFinished(60000));
        const QString errors = QString::fromUtf8(process.readAllStandardError());
        EXPECT_FALSE(errors.contains(QStringLiteral("package"))) << errors.toStdString();
        return std::make_pair(process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()));
    };
    const auto without = render({});
    EXPECT_EQ(without.first, 1);
    EXPECT_TRUE(without.second.contains(QStringLiteral("Class TWidget not found")))
        << without.second.toStdString();
    const auto with = render({QStringLiteral("--package"), QString::fromStdString(widgets)});
    EXPECT_EQ(with.first, 0) << with.second.toStdString();
    EXPECT_EQ(with.second, QString());
}

// --help and --version answer on standard output and end, with no display and without
// reaching a running instance; a file of that name is opened instead.
TEST(Formwright, AnswersHelpAndVersionWithoutADisplay) {
    const struct {
        const char* Argument;
        const char* Starts;
    } cases[] = {{"--help", "Usage: formwright [FILE...]\n"},
                 {"-h", "Usage: formwright"},
                 {"--version", "Formwright "}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Argument);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(QStringLiteral("DISPLAY"));
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("none-such"));
        environment.insert(QStringLiteral("FW_INSTANCE_NAME"), QStringLiteral("fw-help-test-none"));
        environment.insert(QStringLiteral("LSAN_OPTIONS"),
                           QStringLiteral("suppressions=" FW_LSAN_SUPPRESSIONS));
        QProcess process;
        process.setProcessEnvironment(environment);
        process.start(QStringLiteral(FW_FORMWRIGHT_EXE), {QString::fromLatin1(c.Argument)});
        ASSERT_TRUE(process.waitForFinished(30000));
        EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
        EXPECT_TRUE(process.readAllStandardOutput().startsWith(c.Starts));
    }
}

}  // namespace
}  // namespace fw
