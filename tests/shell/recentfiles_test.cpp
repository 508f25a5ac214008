#include "shell/recentfiles.h"
#include "shell/session.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QSettings>
#include <QTemporaryDir>
#include <memory>

#include "document/documentwindow.h"
#include "shell/mainwindow.h"
#include "shelltestsupport.h"
#include "testsettings.h"

namespace fw {
namespace {

using test::App;
using test::RecordingMessages;
using test::Settle;

const QString kGroup = QStringLiteral("5.x/Main/MRUHistory");
const QChar kMark(0x08);

QSettings SettingsFile() {
    return QSettings(QDir(test::SettingsFolder()).filePath(QStringLiteral("Zentrix/Formwright.ini")),
                     QSettings::IniFormat);
}

QMap<QString, QString> StoredValues() {
    QSettings settings = SettingsFile();
    settings.beginGroup(kGroup);
    QMap<QString, QString> values;
    for (const QString& name : settings.childKeys())
        values.insert(name, settings.value(name).toString());
    return values;
}

void Store(const QMap<QString, QString>& values) {
    QSettings settings = SettingsFile();
    settings.beginGroup(kGroup);
    for (auto it = values.begin(); it != values.end(); ++it)
        settings.setValue(it.key(), it.value());
}

QString Name(int i) {
    return QStringLiteral("/forms/f%1.dfm").arg(i);
}

class RegMruTest : public testing::Test {
protected:
    void SetUp() override {
        App();
        menu_ = std::make_unique<QMenu>();
        mru_ = MakeMru();
    }
    void TearDown() override {
        mru_.reset();
        menu_.reset();
    }
    // As the main window sets it up.
    std::unique_ptr<RecentFiles> MakeMru() {
        auto mru = std::make_unique<RecentFiles>();
        mru->SetMaxItems(10);
        mru->SetCompanyName(QStringLiteral("Zentrix"));
        mru->SetApplicationName(QStringLiteral("Formwright"));
        mru->SetApplicationVersion(QStringLiteral("5.x"));
        mru->SetOwnerName(QStringLiteral("Main"));
        mru->SetMenuItem(menu_.get());
        return mru;
    }
    QAction* Add(const QString& fileName) { return mru_->AddItem(fileName, {}, 0, 0, true, false); }
    QStringList FileNames() const {
        QStringList names;
        for (const RecentFiles::TMenuEntry& entry : mru_->Entries())
            names << entry.FileName;
        return names;
    }
    // The menu's captions, "-" for a separator.
    QStringList Captions() const {
        QStringList captions;
        for (const QAction* action : menu_->actions())
            captions << (action->isSeparator() ? QStringLiteral("-") : action->text());
        return captions;
    }

    std::unique_ptr<QMenu> menu_;
    std::unique_ptr<RecentFiles> mru_;
};

TEST_F(RegMruTest, TheSamePathInOtherLetterCaseKeepsOneEntryWithItsFirstName) {
    QAction* first = Add(QStringLiteral("/forms/Main.dfm"));
    Add(QStringLiteral("/forms/other.dfm"));
    EXPECT_EQ(Add(QStringLiteral("/FORMS/MAIN.DFM")), nullptr);
    EXPECT_EQ(FileNames(), (QStringList{"/forms/Main.dfm", "/forms/other.dfm"}));
    EXPECT_EQ(Captions(), (QStringList{"-", "&1 /forms/Main.dfm", "&2 /forms/other.dfm"}));

    // The exact name again: its entry takes the new number and data.
    Add(QStringLiteral("/forms/other.dfm"));
    QAction* item = mru_->AddItem(QStringLiteral("/forms/Main.dfm"), QStringLiteral("d"), 4, 0, true, false);
    EXPECT_EQ(item, first);
    EXPECT_EQ(mru_->Entries().front().Data, QStringLiteral("d"));
    EXPECT_EQ(mru_->Entries().front().Number, 4);
}

TEST_F(RegMruTest, AnEleventhFileDropsTheOldestAndOnlyTheFirstEightHaveAccelerators) {
    for (int i = 0; i < 11; ++i)
        Add(Name(i));
    QStringList expected{QStringLiteral("-")};
    for (int i = 10; i >= 1; --i) {
        const int position = 11 - i;
        expected << (position <= 8 ? QStringLiteral("&%1 %2") : QStringLiteral("%1 %2"))
                        .arg(position)
                        .arg(Name(i));
    }
    EXPECT_EQ(Captions(), expected);
    EXPECT_EQ(expected[9], QStringLiteral("9 /forms/f2.dfm"));
    EXPECT_EQ(expected[10], QStringLiteral("10 /forms/f1.dfm"));

    // A smaller limit trims from the end.
    mru_->SetMaxItems(3);
    EXPECT_EQ(FileNames(), (QStringList{Name(10), Name(9), Name(8)}));
}

TEST_F(RegMruTest, AnAmpersandInAFileNameShowsAsItIs) {
    Add(QStringLiteral("/forms/Tom & Jerry.dfm"));
    EXPECT_EQ(Captions(), (QStringList{"-", "&1 /forms/Tom && Jerry.dfm"}));
}

// Names used to be cut to 255 characters, which made a long path impossible to reopen.
TEST_F(RegMruTest, ALongPathIsKeptWhole) {
    const QString path = QStringLiteral("/forms/") + QString(300, u'x') + QStringLiteral(".dfm");
    Add(path);
    mru_->SaveToSettings();
    std::unique_ptr<RecentFiles> loaded = MakeMru();
    loaded->LoadFromSettings();
    ASSERT_EQ(loaded->Entries().size(), 1);
    EXPECT_EQ(loaded->Entries().front().FileName, path);
}

TEST_F(RegMruTest, SavingReplacesTheKeysValuesWithTheList) {
    Store({{"Default", "kept"}, {"Junk", "1"}, {"H7", "old"}});
    Add(QStringLiteral("/a.dfm"));
    mru_->AddItem(QStringLiteral("/b.dfm"), QStringLiteral("data"), 7, 0, true, false);
    mru_->SaveToSettings();
    EXPECT_EQ(StoredValues(), (QMap<QString, QString>{{"Count", "2"},
                                                      {"Default", "kept"},
                                                      {"H0", QStringLiteral("/b.dfm") + kMark + "data|7"},
                                                      {"H1", QStringLiteral("/a.dfm") + kMark},
                                                      {"MaxFiles", "10"}}));
    // Nothing stays pending: the file on disk holds the list once the save returns.
    QFile file(QDir(test::SettingsFolder()).filePath(QStringLiteral("Zentrix/Formwright.ini")));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().contains("Count=2"));
}

TEST_F(RegMruTest, LoadingReadsTheValueLayout) {
    const struct {
        const char* what;
        QMap<QString, QString> values;
        QStringList fileNames;
        int maxItems;
    } cases[] = {
        {"entries with data and numbers",
         {{"Count", "3"},
          {"MaxFiles", "10"},
          {"H0", QStringLiteral("/a.dfm") + kMark},
          {"H1", QStringLiteral("/b.dfm") + kMark + "x|12"},
          {"H2", "/c.dfm"}},
         {"/a.dfm", "/b.dfm", "/c.dfm"},
         10},
        {"a count that is no number", {{"Count", "many"}, {"H0", "/a.dfm"}}, {}, 10},
        {"a count of 0", {{"Count", "0"}, {"H0", "/a.dfm"}}, {}, 10},
        {"no limit, more than ten entries in their order",
         {{"Count", "12"},
          {"MaxFiles", "-1"},
          {"H0", "/0"},
          {"H1", "/1"},
          {"H2", "/2"},
          {"H3", "/3"},
          {"H4", "/4"},
          {"H5", "/5"},
          {"H6", "/6"},
          {"H7", "/7"},
          {"H8", "/8"},
          {"H9", "/9"},
          {"H10", "/10"},
          {"H11", "/11"}},
         {"/0", "/1", "/2", "/3", "/4", "/5", "/6", "/7", "/8", "/9", "/10", "/11"},
         -1},
        {"a limit that is no number", {{"Count", "1"}, {"MaxFiles", "ten"}, {"H0", "/a.dfm"}}, {}, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        {
            QSettings settings = SettingsFile();
            settings.remove(kGroup);
        }
        Store(c.values);
        menu_->clear();
        mru_ = MakeMru();
        mru_->LoadFromSettings();
        EXPECT_EQ(FileNames(), c.fileNames);
        EXPECT_EQ(mru_->MaxItems(), c.maxItems);
    }
    // The number after the last "|" and the data before it.
    mru_ = MakeMru();
    Store({{"Count", "1"}, {"MaxFiles", "10"}, {"H0", QStringLiteral("/b|c.dfm") + kMark + "x|y|12"}});
    mru_->LoadFromSettings();
    ASSERT_EQ(mru_->Entries().size(), 1);
    EXPECT_EQ(mru_->Entries().front().FileName, QStringLiteral("/b|c.dfm"));
    EXPECT_EQ(mru_->Entries().front().Data, QStringLiteral("x|y"));
    EXPECT_EQ(mru_->Entries().front().Number, 12);
}

TEST_F(RegMruTest, AStoredLimitOfZeroKeepsTheListEmpty) {
    Store({{"Count", "2"}, {"MaxFiles", "0"}, {"H0", "/a.dfm"}, {"H1", "/b.dfm"}});
    mru_->LoadFromSettings();
    EXPECT_EQ(mru_->MaxItems(), 0);
    EXPECT_EQ(Add(QStringLiteral("/c.dfm")), nullptr);
    EXPECT_TRUE(mru_->Entries().isEmpty());
    EXPECT_TRUE(menu_->actions().isEmpty());
}

TEST_F(RegMruTest, AClickRunsTheHandlerWithAddingBlockedThenMovesOrRemovesTheEntry) {
    for (int i = 0; i < 3; ++i)
        Add(Name(i));
    bool deleteIt = false;
    QStringList clicked;
    mru_->SetOnItemClick(
        [&](RecentFiles* sender, QAction*, const QString& fileName, const QString&, bool& canDelete) {
            EXPECT_FALSE(canDelete);
            clicked << fileName;
            EXPECT_EQ(sender->AddItem(QStringLiteral("/new.dfm"), {}, 0, 0, true, false), nullptr);
            canDelete = deleteIt;
        });
    mru_->Entries()[2].MenuItem->trigger();
    EXPECT_EQ(clicked, QStringList{Name(0)});
    EXPECT_EQ(FileNames(), (QStringList{Name(0), Name(2), Name(1)}));
    EXPECT_NE(Add(QStringLiteral("/new.dfm")), nullptr) << "adding stays blocked after the click";

    deleteIt = true;
    while (!mru_->Entries().isEmpty())
        mru_->Entries().front().MenuItem->trigger();
    Settle();
    EXPECT_TRUE(menu_->actions().isEmpty()) << "the separator goes with the last entry";
}

// The main window's list: read at creation, written at every open and never at exit;
// a click opens the file, and the entry's move to the top reaches the settings with the
// next open.
TEST_F(RegMruTest, TheMainWindowWritesTheListAtEveryOpenAndNotAtExit) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const auto form = [&dir](const char* name) {
        const QString path = dir.filePath(QString::fromLatin1(name));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("object Form1: TForm1\r\nend\r\n");
        return path;
    };
    const QString a = form("a.dfm"), b = form("b.dfm"), c = form("c.dfm"), d = form("d.dfm");
    const auto stored = [] {
        QStringList names;
        const QMap<QString, QString> values = StoredValues();
        for (int i = 0; values.contains(QStringLiteral("H%1").arg(i)); ++i)
            names << values.value(QStringLiteral("H%1").arg(i)).chopped(1);
        return names;
    };
    Store({{"Count", "1"}, {"MaxFiles", "10"}, {"H0", b + kMark}});

    RecordingMessages messages;
    Session session;
    auto main = std::make_unique<MainWindow>(session, messages);
    RecentFiles* mru = main->Recent();
    ASSERT_NE(mru, nullptr);
    EXPECT_EQ(mru->MaxItems(), 10);
    auto* file = main->findChild<QMenu*>(QStringLiteral("mmFile"));
    ASSERT_EQ(mru->MenuItem(), file);
    EXPECT_EQ(file->actions().last()->text(), QStringLiteral("&1 ") + b);
    EXPECT_TRUE(file->actions()[file->actions().size() - 2]->isSeparator());
    main->show();
    Settle();

    main->OpenDocument(a);
    main->OpenDocument(c);
    EXPECT_EQ(stored(), (QStringList{c, a, b}));

    // A click on the third entry opens b; the settings keep the order from before.
    ASSERT_EQ(mru->Entries()[2].FileName, b);
    mru->Entries()[2].MenuItem->trigger();
    Settle();
    EXPECT_EQ(main->ActiveDocument()->Document().FileName(), b);
    EXPECT_EQ(stored(), (QStringList{c, a, b}));
    EXPECT_EQ(mru->Entries().front().FileName, b);

    main->OpenDocument(d);
    EXPECT_EQ(stored(), (QStringList{d, b, c, a}));

    {
        QSettings settings = SettingsFile();
        settings.remove(kGroup);
    }
    main->close();
    main.reset();
    EXPECT_TRUE(StoredValues().isEmpty()) << "the list was written at exit";
    EXPECT_TRUE(messages.errors.isEmpty());
}

}  // namespace
}  // namespace fw
