#include "shell/windowstatestore.h"
#include "shell/session.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QMdiArea>
#include <QScreen>
#include <QSettings>
#include <QSplitter>
#include <QTreeWidget>
#include <memory>

#include "document/documentwindow.h"
#include "preview/oipanel.h"
#include "shell/extractdialog.h"
#include "shell/mainwindow.h"
#include "shell/tiling.h"
#include "shelltestsupport.h"
#include "testsettings.h"

namespace fw {
namespace {

using test::App;
using test::RecordingMessages;
using test::Settle;

// The settings file as the program keeps it: "<config>/Zentrix/Formwright.ini", with
// the settings key's path as groups.
QSettings SettingsFile() {
    return QSettings(QDir(test::SettingsFolder()).filePath(QStringLiteral("Zentrix/Formwright.ini")),
                     QSettings::IniFormat);
}

QStringList StoredLines(const QString& section) {
    QSettings settings = SettingsFile();
    QStringList lines;
    for (int i = 0;; ++i) {
        const QString name =
            QStringLiteral("5.x/%1/%2").arg(section, SettingsWindowStateStorage::LineName(i));
        if (!settings.contains(name)) break;
        lines << settings.value(name).toString();
    }
    return lines;
}

void StoreLines(const QString& section, const QStringList& lines) {
    QSettings settings = SettingsFile();
    for (int i = 0; i < lines.size(); ++i)
        settings.setValue(QStringLiteral("5.x/%1/%2").arg(section, SettingsWindowStateStorage::LineName(i)),
                          lines[i]);
}

// A plain top-level window with one panel, and a store of its six properties and the
// panel's width under the section "Probe".
struct ProbeWindow {
    ProbeWindow() {
        window = std::make_unique<QWidget>();
        window->setObjectName(QStringLiteral("wnd_Probe"));
        panel = new QWidget(window.get());
        panel->setObjectName(QStringLiteral("Panel"));
        panel->setGeometry(0, 0, 50, 50);
        window->setGeometry(10, 20, 300, 200);
        manager = new SettingsWindowStateStorage(window.get());
        manager->SetMessages(&messages);
        storage =
            new WindowStateStore(window.get(), manager, QStringLiteral("Probe"), QStringLiteral("QWidget"));
        storage->SetStoredProperties(WindowStateStore::WindowProperties()
                                     << QStringLiteral("Panel.<P>.Width"));
    }

    RecordingMessages messages;
    std::unique_ptr<QWidget> window;
    QWidget* panel;
    SettingsWindowStateStorage* manager;
    WindowStateStore* storage;
};

QStringList ProbeText(int left, int top, int width, int height, int ppi, const char* state = "wsNormal") {
    return {QStringLiteral("object wnd_Probe: TProbe"),
            QStringLiteral("  Height = %1").arg(height),
            QStringLiteral("  Left = %1").arg(left),
            QStringLiteral("  PixelsPerInch = %1").arg(ppi),
            QStringLiteral("  Top = %1").arg(top),
            QStringLiteral("  Width = %1").arg(width),
            QStringLiteral("  WindowState = %1").arg(QString::fromLatin1(state)),
            QStringLiteral("end")};
}

class WindowStateStoreTest : public testing::Test {
protected:
    void SetUp() override { App(); }
};

TEST_F(WindowStateStoreTest, FirstStartKeepsTheDesignedLayoutWithTheOptionsOffAndSavesItAtClose) {
    RecordingMessages messages;
    Session session;
    auto main = std::make_unique<MainWindow>(session, messages);
    const QRect designed = main->geometry();
    main->show();
    Settle();
    EXPECT_EQ(main->geometry(), designed);
    EXPECT_EQ(main->geometry(), InitialMainWindowRect(QGuiApplication::primaryScreen()->availableGeometry()));
    const InterfaceOptions& options = main->Options();
    EXPECT_FALSE(options.ShowTypeCol || options.ShowCNCol || options.ShowHTree || options.SmallFont);

    main->close();
    EXPECT_EQ(
        StoredLines(QStringLiteral("Main")),
        (QStringList{QStringLiteral("object wnd_dfm_Main: Twnd_dfm_Main"),
                     QStringLiteral("  Height = %1").arg(designed.height()),
                     QStringLiteral("  Left = %1").arg(designed.x()), QStringLiteral("  PixelsPerInch = 96"),
                     QStringLiteral("  Top = %1").arg(designed.y()),
                     QStringLiteral("  Width = %1").arg(designed.width()),
                     QStringLiteral("  WindowState = wsNormal"), QStringLiteral("  ShowTypeCol = False"),
                     QStringLiteral("  ShowCNCol = False"), QStringLiteral("  SmallFont = False"),
                     QStringLiteral("  ShowHTree = False"), QStringLiteral("  CodePage = 1252"),
                     QStringLiteral("end")}));
    EXPECT_TRUE(messages.errors.isEmpty());
}

TEST_F(WindowStateStoreTest, MainWindowComesBackAsItWasLeft) {
    const QRect bounds(40, 30, 640, 400);
    for (const bool maximized : {false, true}) {
        SCOPED_TRACE(maximized ? "maximised" : "normal");
        RecordingMessages messages;
        {
            Session session;
            MainWindow main(session, messages);
            main.setGeometry(bounds);
            main.show();
            if (maximized) main.showMaximized();
            main.SetOptions({true, false, true, false});
            Settle();
            main.close();
        }
        Session session;
        MainWindow main(session, messages);
        main.show();
        Settle();
        EXPECT_EQ(main.isMaximized(), maximized);
        EXPECT_EQ(main.normalGeometry(), bounds);
        const InterfaceOptions& options = main.Options();
        EXPECT_TRUE(options.ShowTypeCol);
        EXPECT_FALSE(options.ShowCNCol);
        EXPECT_TRUE(options.ShowHTree);
        EXPECT_FALSE(options.SmallFont);
        main.close();
        EXPECT_TRUE(messages.errors.isEmpty());
    }
}

TEST_F(WindowStateStoreTest, OptionNamesAreReadInAnyLetterCase) {
    StoreLines(QStringLiteral("Main"),
               {QStringLiteral("object wnd_dfm_Main: Twnd_dfm_Main"), QStringLiteral("  showcncol = True"),
                QStringLiteral("  SMALLFONT = True"), QStringLiteral("end")});
    RecordingMessages messages;
    Session session;
    MainWindow main(session, messages);
    main.show();
    Settle();
    EXPECT_TRUE(main.Options().ShowCNCol);
    EXPECT_TRUE(main.Options().SmallFont);
    EXPECT_FALSE(main.Options().ShowTypeCol);

    // A new document takes the options: the class-name column of its tree shows.
    main.cmNew();
    EXPECT_FALSE(main.ActiveDocument()->Tree()->isColumnHidden(1));
}

class EditorStorageTest : public WindowStateStoreTest {
protected:
    void SetUp() override {
        WindowStateStoreTest::SetUp();
        session_ = std::make_unique<Session>();
        main_ = std::make_unique<MainWindow>(*session_, messages_);
        main_->resize(1100, 700);
        main_->show();
        Settle();
    }
    void TearDown() override {
        main_.reset();
        Settle();
        EXPECT_TRUE(messages_.errors.isEmpty()) << messages_.errors.join(u'\n').toStdString();
    }
    DocumentWindow* NewDocument() {
        main_->cmNew();
        Settle();
        return main_->ActiveDocument();
    }
    static QSplitter* SplitterOf(QWidget* widget) { return qobject_cast<QSplitter*>(widget->parentWidget()); }

    RecordingMessages messages_;
    std::unique_ptr<Session> session_;
    std::unique_ptr<MainWindow> main_;
};

TEST_F(EditorStorageTest, PanelSizesComeBackInTheNextDocument) {
    // The class tree shows by the option; its height is kept.
    InterfaceOptions options = main_->Options();
    options.ShowHTree = true;
    main_->SetOptions(options);
    DocumentWindow* document = NewDocument();
    QWidget* inspector = document->Inspector();
    QTreeWidget* classTree = document->Inspector()->ClassTree();
    QSplitter* columns = SplitterOf(inspector);
    const int inspectorIndex = columns->indexOf(inspector);
    const int treeIndex = columns->indexOf(document->Tree());
    QList<int> sizes = columns->sizes();
    sizes[treeIndex] += 30;
    sizes[inspectorIndex] += 40;
    sizes[columns->indexOf(document->MessageList()->parentWidget())] -= 70;
    columns->setSizes(sizes);
    ASSERT_TRUE(classTree->isVisibleTo(document));
    QSplitter* hSplitter = SplitterOf(classTree);
    hSplitter->setSizes({hSplitter->height() - 150, 150});
    const int inspectorWidth = columns->sizes()[inspectorIndex];
    const int treeWidth = columns->sizes()[treeIndex];
    const int classTreeHeight = hSplitter->sizes()[1];
    document->close();
    Settle();

    // The panels after the window's properties; the message list is hidden and keeps the
    // height it will show with.
    const QStringList lines = StoredLines(QStringLiteral("Editor"));
    ASSERT_EQ(lines.size(), 21);
    EXPECT_EQ(lines[0], QStringLiteral("object mdi_dfm_Editor: Tmdi_dfm_Editor"));
    EXPECT_EQ(lines[6], QStringLiteral("  WindowState = wsMaximized"));
    EXPECT_EQ(lines.mid(7),
              (QStringList{QStringLiteral("  object EList: TListView"), QStringLiteral("    Height = 80"),
                           QStringLiteral("  end"), QStringLiteral("  object OIPanel: TPanel"),
                           QStringLiteral("    Width = %1").arg(inspectorWidth),
                           QStringLiteral("    object HTree: TColumnTree"),
                           QStringLiteral("      Height = %1").arg(classTreeHeight),
                           QStringLiteral("      Visible = True"), QStringLiteral("    end"),
                           QStringLiteral("  end"), QStringLiteral("  object TreePanel: TPanel"),
                           QStringLiteral("    Width = %1").arg(treeWidth), QStringLiteral("  end"),
                           QStringLiteral("end")}));

    DocumentWindow* next = NewDocument();
    EXPECT_EQ(SplitterOf(next->Inspector())->sizes()[inspectorIndex], inspectorWidth);
    EXPECT_EQ(SplitterOf(next->Inspector())->sizes()[treeIndex], treeWidth);
    EXPECT_FALSE(next->Inspector()->ClassTree()->isHidden());
    EXPECT_EQ(SplitterOf(next->Inspector()->ClassTree())->sizes()[1], classTreeHeight);
}

TEST_F(EditorStorageTest, AMaximisedDocumentComesBackMaximisedWithItsNormalBounds) {
    const QRect bounds(20, 30, 700, 420);
    DocumentWindow* document = NewDocument();
    ASSERT_TRUE(document->isMaximized());
    document->showNormal();
    document->setGeometry(bounds);
    document->showMaximized();
    Settle();
    document->close();
    Settle();

    DocumentWindow* next = NewDocument();
    EXPECT_TRUE(next->isMaximized());
    next->showNormal();
    EXPECT_EQ(next->geometry(), bounds);

    // Left in the normal state, the last document closed leaves those bounds, yet the
    // next first document starts maximised (its state is the workspace's, not the
    // stored one) and returns to them when restored.
    next->close();
    Settle();
    DocumentWindow* third = NewDocument();
    EXPECT_TRUE(third->isMaximized());
    third->showNormal();
    EXPECT_EQ(third->geometry(), bounds);
}

TEST_F(EditorStorageTest, TheExtractionDialogKeepsItsLayoutUnderFormRes) {
    const ExtractedFormLoader loader = [](const QString&, const QByteArray&) {};
    const QRect bounds(60, 50, 520, 380);
    {
        ExtractDialog dialog(messages_, loader, main_.get());
        dialog.show();
        Settle();
        dialog.setGeometry(bounds);
        dialog.hide();  // as when it is finished
    }
    const QStringList lines = StoredLines(QStringLiteral("FormRes"));
    ASSERT_FALSE(lines.isEmpty());
    EXPECT_EQ(lines.front(), QStringLiteral("object dlg_dfm_Extract: Tdlg_dfm_Extract"));

    ExtractDialog dialog(messages_, loader, main_.get());
    dialog.show();
    Settle();
    EXPECT_EQ(dialog.geometry(), bounds);
}

TEST_F(WindowStateStoreTest, StoredBoundsAreScaledToTheScreensPixelsPerInch) {
    const struct {
        int storedPpi;
        int screenPpi;
        QRect expected;
    } cases[] = {
        {96, 96, QRect(100, 50, 400, 300)},
        {96, 120, QRect(125, 63, 500, 375)},  // 62.5 rounds up
        {120, 96, QRect(80, 40, 320, 240)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.screenPpi);
        StoreLines(QStringLiteral("Probe"), ProbeText(100, 50, 400, 300, c.storedPpi));
        ProbeWindow probe;
        probe.storage->SetScreenPixelsPerInch(c.screenPpi);
        probe.window->show();
        EXPECT_EQ(probe.window->geometry(), c.expected);
    }
}

TEST_F(WindowStateStoreTest, AShorterTextLeavesNoStaleLines) {
    QStringList longer;
    for (int i = 0; i < 30; ++i)
        longer << QStringLiteral("  Stale = %1").arg(i);
    StoreLines(QStringLiteral("Probe"), longer);
    ProbeWindow probe;
    probe.storage->Save();
    const QStringList lines = StoredLines(QStringLiteral("Probe"));
    EXPECT_EQ(lines.size(), 11);
    EXPECT_EQ(lines.front(), QStringLiteral("object wnd_Probe: QWidget"));
    EXPECT_FALSE(SettingsFile().contains(QStringLiteral("5.x/Probe/Line0000000011")));
    EXPECT_TRUE(probe.messages.errors.isEmpty());
}

TEST_F(WindowStateStoreTest, AComponentTheWindowDoesNotHaveIsIgnored) {
    QStringList text = ProbeText(70, 60, 250, 150, 96);
    text.removeLast();
    text << QStringLiteral("  object Ghost: TPanel") << QStringLiteral("    Width = 5")
         << QStringLiteral("    object Panel: TPanel") << QStringLiteral("      Width = 33")
         << QStringLiteral("    end") << QStringLiteral("  end") << QStringLiteral("  object Panel: TPanel")
         << QStringLiteral("    Width = 77") << QStringLiteral("    Colour = clRed")
         << QStringLiteral("  end") << QStringLiteral("end");
    StoreLines(QStringLiteral("Probe"), text);
    ProbeWindow probe;
    probe.window->show();
    EXPECT_EQ(probe.window->geometry(), QRect(70, 60, 250, 150));
    EXPECT_EQ(probe.panel->width(), 77);
}

TEST_F(WindowStateStoreTest, DamagedSettingsAreIgnoredAndLeaveTheLayoutAsItWas) {
    const QRect designed(10, 20, 300, 200);
    const struct {
        const char* what;
        QStringList lines;
    } cases[] = {
        {"no form at all", {QStringLiteral("hello world")}},
        {"a syntax error",
         {QStringLiteral("object wnd_Probe: TProbe"), QStringLiteral("  Left = "), QStringLiteral("end")}},
        {"a cut text", {QStringLiteral("object wnd_Probe: TProbe"), QStringLiteral("  Left = 5")}},
        {"a state that is no state", ProbeText(1, 2, 300, 400, 96, "wsHuge")},
        {"a number of the wrong kind",
         {QStringLiteral("object wnd_Probe: TProbe"), QStringLiteral("  Left = 5"),
          QStringLiteral("  Top = 'x'"), QStringLiteral("end")}},
        {"a panel value of the wrong kind",
         {QStringLiteral("object wnd_Probe: TProbe"), QStringLiteral("  Left = 5"),
          QStringLiteral("  object Panel: TPanel"), QStringLiteral("    Width = True"),
          QStringLiteral("  end"), QStringLiteral("end")}},
        {"odd hexadecimal digits", {QStringLiteral("54504630070")}},
        {"hexadecimal digits of a cut stream", {QStringLiteral("5450463007")}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        StoreLines(QStringLiteral("Probe"), c.lines);
        ProbeWindow probe;
        probe.window->show();
        EXPECT_EQ(probe.window->geometry(), designed);
        EXPECT_EQ(probe.panel->width(), 50);
        EXPECT_FALSE(probe.window->isMaximized());
        EXPECT_TRUE(probe.messages.errors.isEmpty());
        probe.storage->SetActive(false);
        QSettings settings = SettingsFile();
        settings.remove(QStringLiteral("5.x/Probe"));
    }
}

TEST_F(WindowStateStoreTest, HexadecimalLinesAreRead) {
    {
        ProbeWindow probe;
        probe.window->setGeometry(33, 44, 222, 111);
        probe.manager->SetWriteAsText(false);
        probe.storage->Save();
        probe.storage->SetActive(false);
    }
    const QStringList lines = StoredLines(QStringLiteral("Probe"));
    ASSERT_FALSE(lines.isEmpty());
    EXPECT_TRUE(lines.front().startsWith(QStringLiteral("54504630")));  // "TPF0"

    ProbeWindow probe;
    probe.window->show();
    EXPECT_EQ(probe.window->geometry(), QRect(33, 44, 222, 111));
}

// The older layout kept the whole form in one value named after the section. It is read
// once and deleted; one that does not apply is deleted too, so that the lines written
// since are not hidden behind it for ever.
TEST_F(WindowStateStoreTest, AnOlderSingleValueIsReadOnceAndDeleted) {
    Bytes binary;
    {
        ProbeWindow probe;
        probe.window->setGeometry(5, 6, 170, 180);
        binary = probe.storage->BuildStream();
        probe.storage->SetActive(false);
    }
    const QString older = QStringLiteral("5.x/Probe");
    {
        QSettings settings = SettingsFile();
        settings.setValue(older, QByteArray(reinterpret_cast<const char*>(binary.data()),
                                            static_cast<qsizetype>(binary.size())));
    }
    {
        ProbeWindow probe;
        probe.window->show();
        EXPECT_EQ(probe.window->geometry(), QRect(5, 6, 170, 180));
        probe.storage->SetActive(false);
    }
    EXPECT_FALSE(SettingsFile().contains(older));

    StoreLines(QStringLiteral("Probe"), ProbeText(1, 2, 130, 140, 96));
    {
        QSettings settings = SettingsFile();
        settings.setValue(older, QStringLiteral("garbage"));
    }
    {
        ProbeWindow probe;
        probe.window->show();
        EXPECT_EQ(probe.window->geometry(), QRect(10, 20, 300, 200));
        probe.storage->SetActive(false);
    }
    EXPECT_FALSE(SettingsFile().contains(older));
    EXPECT_EQ(StoredLines(QStringLiteral("Probe")).size(), 8)
        << "the lines were deleted with the older value";
    ProbeWindow probe;
    probe.window->show();
    EXPECT_EQ(probe.window->geometry(), QRect(1, 2, 130, 140));
}

TEST_F(WindowStateStoreTest, AnErrorWhileSavingIsShown) {
    // A folder where the settings file belongs cannot be written, whoever runs the test.
    ASSERT_TRUE(QDir(test::SettingsFolder()).mkpath(QStringLiteral("Zentrix/Formwright.ini")));
    ProbeWindow probe;
    probe.window->show();
    probe.window->hide();
    ASSERT_EQ(probe.messages.errors.size(), 1);
    EXPECT_TRUE(probe.messages.errors.front().startsWith(QStringLiteral("Cannot write the settings file ")))
        << probe.messages.errors.front().toStdString();
}

}  // namespace
}  // namespace fw
