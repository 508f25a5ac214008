#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QSet>
#include <QStandardPaths>
#include <QTemporaryDir>

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
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(FW_FORMWRIGHT_EXE), {});
    ASSERT_TRUE(process.waitForFinished(120000));
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process.exitCode(), 3);
    EXPECT_FALSE(QImage(dir.filePath(QStringLiteral("empty.png"))).isNull());
}

}  // namespace
}  // namespace fw
