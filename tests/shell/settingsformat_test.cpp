// The settings file as this version writes it, kept as a fixture: whatever stores the
// settings must read that file back to the same values and, given the same values,
// write the same bytes. Users' files on disk look like the fixture.

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <memory>
#include <string>
#include <string_view>

#include "codec/conversion.h"
#include "codec/formformat.h"
#include "shell/mainwindow.h"
#include "shell/recentfiles.h"
#include "shell/session.h"
#include "shell/windowstatestore.h"
#include "shelltestsupport.h"
#include "testsettings.h"

namespace fw {
namespace {

using test::App;
using test::RecordingMessages;

const QString kFixture = QStringLiteral(FW_SHELL_TEST_DATA "/formwright-settings.ini");

QString SettingsPath() {
    return QDir(test::SettingsFolder()).filePath(QStringLiteral("Zentrix/Formwright.ini"));
}

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The main window's and a document's stored layouts, and the recent files.
constexpr std::string_view kMainText =
    "object wnd_dfm_Main: Twnd_dfm_Main\r\n"
    "  Height = 469\r\n"
    "  Left = 120\r\n"
    "  PixelsPerInch = 96\r\n"
    "  Top = 80\r\n"
    "  Width = 718\r\n"
    "  WindowState = wsMaximized\r\n"
    "  ShowTypeCol = True\r\n"
    "  ShowCNCol = False\r\n"
    "  SmallFont = True\r\n"
    "  ShowHTree = False\r\n"
    "  CodePage = 1251\r\n"
    "  FormSearchPaths = '/home/user/forms'#10'/srv/shared forms'\r\n"
    "end\r\n";
constexpr std::string_view kEditorText =
    "object mdi_dfm_Editor: Tmdi_dfm_Editor\r\n"
    "  Height = 400\r\n"
    "  Left = 0\r\n"
    "  PixelsPerInch = 96\r\n"
    "  Top = 0\r\n"
    "  Width = 600\r\n"
    "  WindowState = wsMaximized\r\n"
    "  object EList: TListView\r\n"
    "    Height = 90\r\n"
    "  end\r\n"
    "  object OIPanel: TPanel\r\n"
    "    Width = 260\r\n"
    "    object HTree: TColumnTree\r\n"
    "      Height = 120\r\n"
    "      Visible = False\r\n"
    "    end\r\n"
    "  end\r\n"
    "  object TreePanel: TPanel\r\n"
    "    Width = 210\r\n"
    "  end\r\n"
    "end\r\n";

struct RecentCase {
    const char* FileName;
    const char* Data;
    qint32 Number;
};
// Oldest first, as they are opened.
constexpr RecentCase kRecent[] = {
    {"/home/user/forms/Old.dfm", "", 0},
    {"/home/user/forms/With Blanks & Ampersand.dfm", "", 0},
    {"/home/user/forms/Numbered.dfm", "data", 7},
};

Bytes Binary(std::string_view text) {
    const ByteSpan bytes(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
    return ConvertForm(bytes, FormEncoding::Binary);
}

std::unique_ptr<RecentFiles> MainWindowRecentFiles(QMenu& menu) {
    auto recent = std::make_unique<RecentFiles>();
    recent->SetMaxItems(10);
    recent->SetCompanyName(QStringLiteral("Zentrix"));
    recent->SetApplicationName(QStringLiteral("Formwright"));
    recent->SetApplicationVersion(QStringLiteral("5.x"));
    recent->SetOwnerName(QStringLiteral("Main"));
    recent->SetMenuItem(&menu);
    return recent;
}

// Writes every value of the fixture through the program's own settings classes.
void WriteTheValues() {
    SettingsWindowStateStorage storage;
    storage.SaveSection(QStringLiteral("Main"), Binary(kMainText));
    storage.SaveSection(QStringLiteral("Editor"), Binary(kEditorText));
    QMenu menu;
    std::unique_ptr<RecentFiles> recent = MainWindowRecentFiles(menu);
    for (const RecentCase& c : kRecent)
        recent->AddItem(QString::fromUtf8(c.FileName), QString::fromUtf8(c.Data), c.Number, 0, true, false);
    recent->SaveToSettings();
}

class SettingsFormatTest : public testing::Test {
protected:
    void SetUp() override {
        App();
        ASSERT_TRUE(QFileInfo::exists(kFixture)) << kFixture.toStdString();
    }
    static void InstallFixture() {
        QDir().mkpath(QFileInfo(SettingsPath()).absolutePath());
        QFile::remove(SettingsPath());
        ASSERT_TRUE(QFile::copy(kFixture, SettingsPath()));
        QFile::setPermissions(SettingsPath(), QFile::ReadOwner | QFile::WriteOwner);
    }
};

TEST_F(SettingsFormatTest, TheSameValuesAreWrittenAsTheSameBytes) {
    QFile::remove(SettingsPath());
    WriteTheValues();
    EXPECT_EQ(ReadAll(SettingsPath()), ReadAll(kFixture));
}

TEST_F(SettingsFormatTest, TheStoredLayoutsReadBackAsTheirText) {
    InstallFixture();
    SettingsWindowStateStorage storage;
    for (const auto& [section, text] : {std::pair{"Main", kMainText}, std::pair{"Editor", kEditorText}}) {
        SCOPED_TRACE(section);
        Bytes stored;
        storage.LoadSection(QString::fromLatin1(section),
                            [&stored](ByteSpan stream) { stored.assign(stream.begin(), stream.end()); });
        const Bytes asText = ConvertForm(stored, FormEncoding::Text);
        EXPECT_EQ(std::string(asText.begin(), asText.end()), std::string(text));
    }
}

TEST_F(SettingsFormatTest, TheRecentFilesReadBackNewestFirst) {
    InstallFixture();
    QMenu menu;
    std::unique_ptr<RecentFiles> recent = MainWindowRecentFiles(menu);
    recent->LoadFromSettings();
    ASSERT_EQ(recent->Entries().size(), std::size(kRecent));
    for (std::size_t i = 0; i < std::size(kRecent); ++i) {
        const RecentCase& c = kRecent[std::size(kRecent) - 1 - i];
        const RecentFiles::TMenuEntry& entry = recent->Entries()[static_cast<qsizetype>(i)];
        EXPECT_EQ(entry.FileName, QString::fromUtf8(c.FileName));
        EXPECT_EQ(entry.Data, QString::fromUtf8(c.Data));
        EXPECT_EQ(entry.Number, c.Number);
    }
    EXPECT_EQ(recent->MaxItems(), 10);
}

TEST_F(SettingsFormatTest, TheMainWindowTakesItsPreferencesFromTheFile) {
    InstallFixture();
    RecordingMessages messages;
    Session session;
    MainWindow main(session, messages);
    main.show();
    test::Settle();
    EXPECT_TRUE(main.Options().ShowTypeCol);
    EXPECT_FALSE(main.Options().ShowCNCol);
    EXPECT_TRUE(main.Options().SmallFont);
    EXPECT_FALSE(main.Options().ShowHTree);
    EXPECT_EQ(main.FormCodePage().Number(), 1251);
    EXPECT_EQ(main.FormSearchFolders(),
              (QStringList{QStringLiteral("/home/user/forms"), QStringLiteral("/srv/shared forms")}));
    EXPECT_TRUE(main.isMaximized());
    ASSERT_NE(main.Recent(), nullptr);
    ASSERT_EQ(main.Recent()->Entries().size(), std::size(kRecent));
    EXPECT_EQ(main.Recent()->Entries().front().FileName, QString::fromUtf8(kRecent[2].FileName));
    main.close();
    EXPECT_TRUE(messages.errors.isEmpty()) << messages.errors.join(u'\n').toStdString();
}

}  // namespace
}  // namespace fw
