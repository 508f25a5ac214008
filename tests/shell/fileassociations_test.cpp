#include "shell/fileassociations.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "xdgfolders.h"

namespace fw {
namespace {

QString ReadText(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

void WriteText(const QString& path, const QString& text) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text.toUtf8());
}

class FileAssociationsTest : public testing::Test {
protected:
    test::XdgFolders xdg;
    QString MimeApps() const { return xdg.Config(QStringLiteral("mimeapps.list")); }
    QString DesktopEntry(const QString& id = QStringLiteral("formwright.desktop")) const {
        return xdg.Data(QStringLiteral("applications/") + id);
    }
    QString MimePackage(const QString& name = QStringLiteral("formwright")) const {
        return xdg.Data(QStringLiteral("mime/packages/%1.xml").arg(name));
    }
};

TEST_F(FileAssociationsTest, FoldersFollowTheEnvironment) {
    EXPECT_EQ(UserDataFolder(), xdg.Data({}));
    EXPECT_EQ(UserConfigFolder(), xdg.Config({}));
    // A relative path is no valid setting and falls back to the home folder.
    qputenv("XDG_CONFIG_HOME", "relative/config");
    EXPECT_EQ(UserConfigFolder(), QDir(QDir::homePath()).filePath(QStringLiteral(".config")));
}

TEST_F(FileAssociationsTest, RegisterThenUnregisterRoundTrip) {
    // The other entries of a user's mimeapps.list stay as they were.
    const QString others = QStringLiteral(
        "[Default Applications]\n"
        "text/plain=gedit.desktop\n"
        "\n"
        "[Added Associations]\n"
        "image/png=viewer.desktop;\n");
    WriteText(MimeApps(), others);
    EXPECT_EQ(GetAssociatedExe(QStringLiteral(".dfm")), QString());

    // Blanks, quotes, "$", "%" and a backslash need escaping in an Exec line.
    const QString program = QStringLiteral("/opt/my tools/form\"wright$%1\\x");
    RegisterFileType(QStringLiteral(".dfm"), QStringLiteral("formwright"), QStringLiteral("Delphi form file"),
                     program, QStringLiteral("formwright"));
    EXPECT_EQ(GetAssociatedExe(QStringLiteral(".dfm")), program);
    EXPECT_EQ(GetAssociatedExe(QStringLiteral("DFM")), program);
    EXPECT_EQ(GetAssociatedExe(QStringLiteral(".xfm")), QString());

    const QString entry = ReadText(DesktopEntry());
    EXPECT_TRUE(entry.startsWith(QStringLiteral("[Desktop Entry]\n"))) << entry.toStdString();
    EXPECT_TRUE(entry.contains(QStringLiteral("\nMimeType=application/x-dfm-form;\n")));
    EXPECT_TRUE(entry.contains(QStringLiteral("\nIcon=formwright\n")));
    EXPECT_TRUE(entry.contains(QStringLiteral("\nType=Application\n")));
    const QString mime = ReadText(MimePackage());
    EXPECT_TRUE(mime.contains(QStringLiteral("<mime-type type=\"application/x-dfm-form\">")));
    EXPECT_TRUE(mime.contains(QStringLiteral("<comment>Delphi form file</comment>")));
    EXPECT_TRUE(mime.contains(QStringLiteral("<glob pattern=\"*.dfm\"/>")));
    EXPECT_EQ(ReadText(MimeApps()), QStringLiteral("[Default Applications]\n"
                                                   "text/plain=gedit.desktop\n"
                                                   "application/x-dfm-form=formwright.desktop\n"
                                                   "\n"
                                                   "[Added Associations]\n"
                                                   "image/png=viewer.desktop;\n"));

    // Registering again changes nothing but the program.
    RegisterFileType(QStringLiteral("dfm"), QStringLiteral("formwright"), QStringLiteral("Delphi form file"),
                     QStringLiteral("/usr/bin/formwright"), {});
    EXPECT_EQ(GetAssociatedExe(QStringLiteral(".dfm")), QStringLiteral("/usr/bin/formwright"));
    EXPECT_EQ(ReadText(DesktopEntry()).count(QStringLiteral("application/x-dfm-form")), 1);

    UnregisterFileType(QStringLiteral(".dfm"));
    EXPECT_EQ(GetAssociatedExe(QStringLiteral(".dfm")), QString());
    EXPECT_EQ(ReadText(MimeApps()), others);
    EXPECT_FALSE(QFileInfo::exists(DesktopEntry()));
    EXPECT_FALSE(QFileInfo::exists(MimePackage()));
    // Nothing is left to undo a second time.
    UnregisterFileType(QStringLiteral(".dfm"));
    EXPECT_EQ(ReadText(MimeApps()), others);
}

TEST_F(FileAssociationsTest, UnregisteringOneTypeKeepsTheOthersOfTheSameEntry) {
    RegisterFileType(QStringLiteral("dfm"), QStringLiteral("formwright"), QStringLiteral("Delphi form file"),
                     QStringLiteral("/usr/bin/formwright"), {});
    RegisterFileType(QStringLiteral("xfm"), QStringLiteral("formwright"),
                     QStringLiteral("Cross-platform form"), QStringLiteral("/usr/bin/formwright"), {});
    EXPECT_TRUE(ReadText(DesktopEntry())
                    .contains(QStringLiteral("MimeType=application/x-dfm-form;application/x-xfm-form;")));

    UnregisterFileType(QStringLiteral("dfm"));
    EXPECT_EQ(GetAssociatedExe(QStringLiteral("dfm")), QString());
    EXPECT_EQ(GetAssociatedExe(QStringLiteral("xfm")), QStringLiteral("/usr/bin/formwright"));
    EXPECT_TRUE(ReadText(DesktopEntry()).contains(QStringLiteral("\nMimeType=application/x-xfm-form;\n")));
    const QString mime = ReadText(MimePackage());
    EXPECT_FALSE(mime.contains(QStringLiteral("x-dfm-form")));
    EXPECT_TRUE(mime.contains(QStringLiteral("<comment>Cross-platform form</comment>")));
}

TEST_F(FileAssociationsTest, TypeNameExtensionAndProgramRules) {
    // An empty type name names the entry after the extension; dots are dropped.
    RegisterFileType(QStringLiteral("..dfm"), {}, QStringLiteral("Delphi form file"),
                     QStringLiteral("/bin/fw"), {});
    EXPECT_TRUE(QFileInfo::exists(DesktopEntry(QStringLiteral("dfm_auto_file.desktop"))));
    EXPECT_TRUE(QFileInfo::exists(MimePackage(QStringLiteral("dfm_auto_file"))));
    EXPECT_EQ(GetAssociatedExe(QStringLiteral(".dfm")), QStringLiteral("/bin/fw"));
    // The entry was written without an icon.
    EXPECT_FALSE(
        ReadText(DesktopEntry(QStringLiteral("dfm_auto_file.desktop"))).contains(QStringLiteral("Icon=")));

    // Nothing is written for an empty extension or program, nor for names that would
    // leave the folders or make no type.
    const struct {
        const char* extension;
        const char* typeName;
        const char* program;
    } refused[] = {
        {"...", "formwright", "/bin/fw"}, {"xfm", "formwright", ""}, {"x/fm", "formwright", "/bin/fw"},
        {"xfm", "../evil", "/bin/fw"},    {"xfm", "..", "/bin/fw"},  {"x fm", "formwright", "/bin/fw"},
    };
    const QString before = ReadText(MimeApps());
    for (const auto& c : refused) {
        SCOPED_TRACE(c.extension + std::string(" ") + c.typeName);
        RegisterFileType(QString::fromLatin1(c.extension), QString::fromLatin1(c.typeName),
                         QStringLiteral("x"), QString::fromLatin1(c.program), {});
        EXPECT_EQ(ReadText(MimeApps()), before);
    }
    EXPECT_FALSE(QFileInfo::exists(DesktopEntry()));
    EXPECT_FALSE(QFileInfo::exists(xdg.Data(QStringLiteral("evil.desktop"))));
}

TEST_F(FileAssociationsTest, ProgramIsReadFromHandWrittenEntries) {
    const struct {
        const char* exec;
        const char* program;
    } cases[] = {
        {"/usr/bin/other %F", "/usr/bin/other"},     {"other", "other"},
        {"\"/opt/a b/other\" %U", "/opt/a b/other"}, {"\"/opt/q\\\\\"x/other\" %f", "/opt/q\"x/other"},
        {"/opt/100%%/other", "/opt/100%/other"},     {"", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.exec);
        WriteText(
            DesktopEntry(QStringLiteral("other.desktop")),
            QStringLiteral("[Desktop Entry]\nType=Application\nExec=%1\n").arg(QString::fromLatin1(c.exec)));
        // The first installed application of the default list answers.
        WriteText(
            MimeApps(),
            QStringLiteral("[Default Applications]\napplication/x-dfm-form=gone.desktop;other.desktop;\n"));
        EXPECT_EQ(GetAssociatedExe(QStringLiteral(".dfm")), QString::fromLatin1(c.program));
    }
}

}  // namespace
}  // namespace fw
