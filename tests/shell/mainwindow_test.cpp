#include <Qsci/qsciscintilla.h>

#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMap>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPointer>
#include <QSignalSpy>
#include <QSplitter>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QTreeWidget>
#include <memory>

#include "document/documentwindow.h"
#include "preview/oipanel.h"
#include "shell/datacontroller.h"
#include "shell/documenttabbar.h"
#include "shell/editcontroller.h"
#include "shell/mainwindow.h"
#include "shell/searchcontroller.h"
#include "shell/session.h"
#include "shell/splash.h"
#include "shelltestsupport.h"

namespace fw {
namespace {

using test::App;
using test::RecordingMessages;
using test::Settle;
using Answer = UserMessages::Answer;

const QByteArray kSmallForm = "object Form1: TForm1\r\n  Left = 8\r\n  Caption = 'Form1'\r\nend\r\n";

class MainWindowTest : public testing::Test {
protected:
    void SetUp() override {
        App();
        QGuiApplication::clipboard()->clear();
        ASSERT_TRUE(dir_.isValid());
        session_ = std::make_unique<Session>();
        main_ = std::make_unique<MainWindow>(*session_, messages_);
    }
    void TearDown() override {
        main_.reset();
        Settle();
        EXPECT_TRUE(messages_.errors.isEmpty()) << messages_.errors.join(u'\n').toStdString();
    }

    void Show() {
        main_->show();
        Settle();
    }
    QString WriteForm(const QString& name, const QByteArray& text = kSmallForm) {
        const QString path = dir_.filePath(name);
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
        return path;
    }
    QAction* Action(const char* name) const {
        auto* action = main_->findChild<QAction*>(QString::fromLatin1(name));
        EXPECT_NE(action, nullptr) << name;
        return action;
    }
    QStringList MenuTitles() const {
        QStringList titles;
        for (const QAction* action : main_->menuBar()->actions())
            titles << action->text();
        return titles;
    }
    QStringList EnabledToolbarButtons() const {
        QStringList names;
        for (const QAction* action : main_->findChild<QToolBar*>(QStringLiteral("ToolBar1"))->actions()) {
            if (!action->isSeparator() && action->isEnabled()) names << action->objectName();
        }
        return names;
    }
    QList<QMdiSubWindow*> Windows() const { return main_->MdiArea()->subWindowList(); }
    void PressOnTabBar(const QPoint& point, Qt::MouseButton button = Qt::RightButton) {
        DocumentTabBar* tabs = main_->Tabs();
        QMouseEvent press(QEvent::MouseButtonPress, point, tabs->mapToGlobal(point), button, button,
                          Qt::NoModifier);
        QCoreApplication::sendEvent(tabs, &press);
        QMouseEvent release(QEvent::MouseButtonRelease, point, tabs->mapToGlobal(point), button, Qt::NoButton,
                            Qt::NoModifier);
        QCoreApplication::sendEvent(tabs, &release);
    }

    RecordingMessages messages_;
    QTemporaryDir dir_;
    std::unique_ptr<Session> session_;
    std::unique_ptr<MainWindow> main_;
};

TEST_F(MainWindowTest, MenuBarMergesTheActiveDocumentsMenus) {
    Show();
    const QStringList shellOnly{"&File", "&Windows", "&Help"};
    EXPECT_EQ(MenuTitles(), shellOnly);

    main_->cmNew();
    EXPECT_EQ(MenuTitles(), (QStringList{"&File", "&Edit", "&Data", "&Windows", "&Help"}));
    EXPECT_EQ(main_->menuBar()->actions()[1]->menu(), main_->ActiveDocument()->EditMenu());

    // A second document brings its own menus; closing it brings back the first one's.
    DocumentWindow* first = main_->ActiveDocument();
    main_->cmNew();
    EXPECT_EQ(main_->menuBar()->actions()[2]->menu(), main_->ActiveDocument()->DataMenu());
    main_->cmClose();
    Settle();
    EXPECT_EQ(main_->menuBar()->actions()[1]->menu(), first->EditMenu());

    main_->cmClose();
    Settle();
    EXPECT_TRUE(Windows().isEmpty());
    EXPECT_EQ(MenuTitles(), shellOnly);
}

TEST_F(MainWindowTest, IdleEnablingFollowsTheDocuments) {
    Show();
    main_->AppIdle();
    EXPECT_EQ(EnabledToolbarButtons(), (QStringList{"sbNew", "sbOpen", "sbExit"}));
    for (const char* name :
         {"mmSave", "mmSaveAs", "mmClose", "mmCloseAll", "mmCascade", "mmTileHor", "mmTileVer", "mmMinAll"}) {
        EXPECT_FALSE(Action(name)->isEnabled()) << name;
    }
    for (const char* name :
         {"mmNew", "mmOpen", "mmExtractfromEXE", "mmPackageInformation", "mmPrefs", "mmExit", "mmAbout"}) {
        EXPECT_TRUE(Action(name)->isEnabled()) << name;
    }

    // An unnamed, unmodified document: Save off, Save As on.
    main_->cmNew();
    main_->AppIdle();
    EXPECT_EQ(EnabledToolbarButtons(),
              (QStringList{"sbNew", "sbOpen", "sbFind", "sbGoto", "sbPreview", "sbRescan", "sbProperties",
                           "sbCascade", "sbTileHor", "sbTileVer", "sbExit"}));
    EXPECT_FALSE(Action("mmSave")->isEnabled());
    for (const char* name :
         {"mmSaveAs", "mmClose", "mmCloseAll", "mmCascade", "mmTileHor", "mmTileVer", "mmMinAll"}) {
        EXPECT_TRUE(Action(name)->isEnabled()) << name;
    }

    // Editing: Save, and the editor's undo, selection and clipboard states.
    DocumentWindow* document = main_->ActiveDocument();
    document->LoadFromLines(kSmallForm);
    document->Editor()->selectAll();
    QGuiApplication::clipboard()->setText(QStringLiteral("Left = 1"));
    main_->AppIdle();
    for (const char* name : {"mmSave", "sbSave", "sbCopy", "sbCut", "sbPaste"}) {
        EXPECT_TRUE(Action(name)->isEnabled()) << name;
    }
    EXPECT_EQ(Action("sbUndo")->isEnabled(), document->CanUndo());
}

TEST_F(MainWindowTest, ShortcutsAreUniqueAndReachTheirCommands) {
    Show();
    main_->cmNew();
    main_->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(main_.get()));

    // The window's shortcuts and those of the merged document menus, each used once.
    QMap<QString, QString> owners;
    QList<QAction*> actions = main_->actions();
    for (const QAction* menuAction : main_->menuBar()->actions())
        actions << menuAction->menu()->actions();
    for (const QAction* action : actions) {
        for (const QKeySequence& key : action->shortcuts()) {
            const QString text = key.toString();
            if (owners.contains(text) && owners[text] != action->text()) {
                ADD_FAILURE() << text.toStdString() << " is used by " << owners[text].toStdString() << " and "
                              << action->text().toStdString();
            }
            owners[text] = action->text();
        }
    }
    EXPECT_EQ(owners.value(QStringLiteral("Ctrl+F4")), QStringLiteral("Close"));
    EXPECT_EQ(owners.value(QStringLiteral("Alt+X")), QStringLiteral("Exit"));

    QPointer<DocumentWindow> document = main_->ActiveDocument();
    QTest::keyClick(document->Editor(), Qt::Key_F4, Qt::ControlModifier);
    Settle();
    EXPECT_TRUE(document.isNull()) << "Ctrl+F4 did not close the document";
}

// Regression: bringing the activated window forward once also focused the window
// itself, which moved the focus from the editor the user clicked into to the
// document's first control.
TEST_F(MainWindowTest, ActivatingADocumentKeepsTheFocusWhereTheUserPutIt) {
    Show();
    main_->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(main_.get()));
    main_->cmNew();
    DocumentWindow* a = main_->ActiveDocument();
    main_->cmNew();
    Settle();

    a->Editor()->setFocus(Qt::MouseFocusReason);  // a click into the background document
    Settle();
    EXPECT_EQ(main_->ActiveDocument(), a);
    EXPECT_EQ(QApplication::focusWidget(), a->Editor());

    main_->Tabs()->setCurrentIndex(1);
    main_->Tabs()->setCurrentIndex(0);
    Settle();
    EXPECT_EQ(QApplication::focusWidget(), a->Editor());
}

// The toolbar's document commands act on the active document alone, and on none once
// it is closed.
TEST_F(MainWindowTest, ToolbarCommandsFollowTheActiveDocument) {
    Show();
    main_->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(main_.get()));
    main_->cmNew();
    DocumentWindow* a = main_->ActiveDocument();
    main_->cmNew();
    Settle();
    DocumentWindow* b = main_->ActiveDocument();
    ASSERT_NE(a, b);
    a->Editor()->setFocus(Qt::MouseFocusReason);
    Settle();
    ASSERT_EQ(main_->ActiveDocument(), a);
    main_->AppIdle();
    Action("sbPreview")->trigger();
    EXPECT_EQ(a->TabSet()->currentIndex(), 1);
    EXPECT_EQ(b->TabSet()->currentIndex(), 0);

    b->Editor()->setFocus(Qt::MouseFocusReason);
    Settle();
    ASSERT_EQ(main_->ActiveDocument(), b);
    main_->AppIdle();
    Action("sbPreview")->trigger();
    EXPECT_EQ(a->TabSet()->currentIndex(), 1);
    EXPECT_EQ(b->TabSet()->currentIndex(), 1);

    for (DocumentWindow* document : {a, b})
        document->close();
    Settle();
    ASSERT_TRUE(Windows().isEmpty());
    for (const char* name :
         {"sbUndo", "sbCopy", "sbCut", "sbPaste", "sbFind", "sbGoto", "sbPreview", "sbRescan"})
        Action(name)->trigger();
    EXPECT_TRUE(main_->isVisible());
}

TEST_F(MainWindowTest, PassedOnCommandsDoNothingWithoutADocument) {
    Show();
    main_->EditCommands().Undo();
    main_->EditCommands().Copy();
    main_->EditCommands().Cut();
    main_->EditCommands().Paste();
    main_->SearchCommands().Find();
    main_->SearchCommands().GotoSource();
    main_->DataCommands().Preview();
    main_->DataCommands().Rescan();
    for (auto command :
         {&MainWindow::cmSave, &MainWindow::cmSaveAs, &MainWindow::cmClose, &MainWindow::cmCloseAll,
          &MainWindow::cmCascade, &MainWindow::cmTileHor, &MainWindow::cmTileVer, &MainWindow::cmMinAll,
          &MainWindow::cmTitle, &MainWindow::cmRestore, &MainWindow::cmMinimize, &MainWindow::cmMaximize,
          &MainWindow::cmMDIClose}) {
        (main_.get()->*command)();
    }
    EXPECT_TRUE(Windows().isEmpty());
    EXPECT_TRUE(main_->isVisible());
}

TEST_F(MainWindowTest, OpenDocumentReportsAMissingFileAndOpensNothing) {
    Show();
    const QString missing = dir_.filePath(QStringLiteral("missing.dfm"));
    main_->OpenDocument(missing);
    main_->OpenDocument(dir_.path());  // a folder is no file either
    EXPECT_EQ(messages_.errors,
              (QStringList{"Cannot open file " + missing + ".", "Cannot open file " + dir_.path() + "."}));
    EXPECT_TRUE(Windows().isEmpty());
    EXPECT_EQ(main_->Tabs()->count(), 0);
    messages_.errors.clear();
}

TEST_F(MainWindowTest, OpeningAFileTwiceGivesTwoDocumentsTabbedWithTheFullPath) {
    Show();
    const QString path = WriteForm(QStringLiteral("Form1.dfm"));
    const QString previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(dir_.path()));
    main_->OpenDocument(QStringLiteral("Form1.dfm"));  // relative, as on a command line
    QDir::setCurrent(previous);
    main_->OpenDocument(path);

    const QList<QMdiSubWindow*> windows = main_->MdiArea()->subWindowList(QMdiArea::CreationOrder);
    ASSERT_EQ(windows.size(), 2);
    EXPECT_NE(windows[0], windows[1]);
    DocumentTabBar* tabs = main_->Tabs();
    ASSERT_EQ(tabs->count(), 2);
    for (int i = 0; i < 2; ++i) {
        auto* document = qobject_cast<DocumentWindow*>(tabs->FormAt(i));
        ASSERT_NE(document, nullptr);
        EXPECT_EQ(document->Document().FileName(), path);
        EXPECT_EQ(tabs->HintAt(i), path);
        EXPECT_EQ(tabs->tabText(i), QStringLiteral("Form1.dfm"));
        EXPECT_EQ(document->Document().TextBytes(), kSmallForm);
        EXPECT_FALSE(document->Document().Modified());
    }
    EXPECT_EQ(tabs->currentIndex(), 1);
    EXPECT_TRUE(windows[1]->isMaximized());
}

// "Goto source" on an object that only the ancestor's file writes opens that file, at
// the object; the folders to search are the window's.
TEST_F(MainWindowTest, GotoSourceOfAnAncestorsObjectOpensItsFile) {
    Show();
    const QString base =
        WriteForm(QStringLiteral("lib/base.dfm"),
                  "object BaseForm: TBaseForm\r\n  Caption = 'Base'\r\n  object Title: TLabel\r\n"
                  "  end\r\n  object OkButton: TButton\r\n  end\r\nend\r\n");
    WriteForm(QStringLiteral("proj/P.dpr"), "program P;\r\nend.\r\n");
    WriteForm(QStringLiteral("proj/mainu.pas"),
              "unit mainu;\r\ninterface\r\ntype\r\n  TMainForm = class(TBaseForm)\r\n  end;\r\nend.\r\n");
    const QString form =
        WriteForm(QStringLiteral("proj/main.dfm"),
                  "inherited MainForm: TMainForm\r\n  inherited Title: TLabel\r\n    Caption = 'x'\r\n"
                  "  end\r\nend\r\n");
    main_->SetFormSearchFolders({dir_.filePath(QStringLiteral("lib"))});
    main_->OpenDocument(form);
    auto* document = qobject_cast<DocumentWindow*>(Windows().last());
    ASSERT_NE(document, nullptr);
    ASSERT_TRUE(document->GotoObject(QStringLiteral("OkButton")));
    Settle();
    const QList<QMdiSubWindow*> windows = main_->MdiArea()->subWindowList(QMdiArea::CreationOrder);
    ASSERT_EQ(windows.size(), 2);
    auto* opened = qobject_cast<DocumentWindow*>(windows.last());
    ASSERT_NE(opened, nullptr);
    EXPECT_EQ(QFileInfo(opened->Document().FileName()), QFileInfo(base));
    EXPECT_EQ(opened->Editor()->selectedText(), QStringLiteral("OkButton: TButton"));
    EXPECT_TRUE(messages_.informations.isEmpty()) << messages_.informations.join(u'\n').toStdString();
}

TEST_F(MainWindowTest, NewDocumentIsUntitled) {
    Show();
    main_->cmNew();
    DocumentWindow* document = main_->ActiveDocument();
    ASSERT_NE(document, nullptr);
    EXPECT_EQ(document->windowTitle(), QStringLiteral("Untitled"));
    EXPECT_TRUE(document->Document().FileName().isEmpty());
    EXPECT_FALSE(document->Document().Modified());
    EXPECT_EQ(main_->Tabs()->tabText(0), QStringLiteral("Untitled"));
    EXPECT_EQ(main_->Tabs()->HintAt(0), QStringLiteral("untitled"));
}

TEST_F(MainWindowTest, WindowsMenuListsTheDocumentsAfterItsFourItems) {
    Show();
    main_->OpenDocument(WriteForm(QStringLiteral("Tom & Jerry.dfm")));
    main_->cmNew();
    auto* menu = main_->findChild<QMenu*>(QStringLiteral("mmWin"));
    ASSERT_NE(menu, nullptr);
    for (int round = 0; round < 2; ++round) {  // the list is rebuilt, not appended to
        emit menu->aboutToShow();
        const QList<QAction*> actions = menu->actions();
        ASSERT_EQ(actions.size(), 7);
        EXPECT_EQ(actions[3]->objectName(), QStringLiteral("mmMinAll"));
        EXPECT_TRUE(actions[4]->isSeparator());
        EXPECT_EQ(actions[5]->text(), QStringLiteral("&1 Tom && Jerry.dfm"));
        EXPECT_EQ(actions[6]->text(), QStringLiteral("&2 Untitled"));
        EXPECT_FALSE(actions[5]->isChecked());
        EXPECT_TRUE(actions[6]->isChecked());
    }
    menu->actions()[5]->trigger();
    EXPECT_EQ(main_->ActiveDocument()->windowTitle(), QStringLiteral("Tom & Jerry.dfm"));
    EXPECT_EQ(main_->Tabs()->currentIndex(), 0);
}

TEST_F(MainWindowTest, TilingPutsDocumentsInRowsOrColumns) {
    Show();
    main_->cmNew();
    main_->cmNew();
    const QRect area = main_->MdiArea()->viewport()->rect();
    const QList<QMdiSubWindow*> windows = Windows();

    main_->cmTileHor();
    for (const QMdiSubWindow* window : windows) {
        EXPECT_FALSE(window->isMaximized());
        EXPECT_EQ(window->geometry().left(), area.left());
        EXPECT_EQ(window->geometry().width(), area.width());
    }
    EXPECT_NE(windows[0]->geometry().top(), windows[1]->geometry().top());

    main_->cmTileVer();
    for (const QMdiSubWindow* window : windows) {
        EXPECT_EQ(window->geometry().top(), area.top());
        EXPECT_EQ(window->geometry().height(), area.height());
    }
    EXPECT_NE(windows[0]->geometry().left(), windows[1]->geometry().left());
}

TEST_F(MainWindowTest, CascadeFitsTheDocumentsIntoTheAreaWithTheCurrentOneOnTop) {
    Show();
    for (int i = 0; i < 3; ++i)
        main_->cmNew();
    QMdiArea* area = main_->MdiArea();
    area->setActiveSubWindow(area->subWindowList(QMdiArea::CreationOrder)[1]);
    QMdiSubWindow* current = area->currentSubWindow();

    main_->cmCascade();
    const QRect viewport = area->viewport()->rect();
    int largestOffset = -1;
    for (const QMdiSubWindow* window : Windows()) {
        EXPECT_FALSE(window->isMaximized());
        EXPECT_TRUE(viewport.contains(window->geometry()));
        largestOffset = std::max(largestOffset, window->geometry().top());
    }
    EXPECT_EQ(current->geometry().top(), largestOffset);
    EXPECT_EQ(area->subWindowList(QMdiArea::StackingOrder).last(), current);
    EXPECT_EQ(area->currentSubWindow(), current);
}

TEST_F(MainWindowTest, TabPopupActsOnTheTabUnderTheMouse) {
    main_->resize(900, 500);
    Show();
    main_->OpenDocument(WriteForm(QStringLiteral("a.dfm")));
    main_->OpenDocument(WriteForm(QStringLiteral("b.dfm")));
    DocumentTabBar* tabs = main_->Tabs();
    QMenu* popup = main_->TabPopupMenu();
    auto title = main_->findChild<QAction*>(QStringLiteral("pmTitle"));
    auto enabledItems = [popup] {
        QStringList names;
        for (const QAction* action : popup->actions()) {
            if (!action->isSeparator() && action->isEnabled()) names << action->objectName();
        }
        return names;
    };
    EXPECT_EQ(popup->defaultAction()->objectName(), QStringLiteral("pmClose"));
    EXPECT_EQ(tabs->TabUnderMouse(), -1);

    // Empty bar space: no tab, nothing to do.
    ASSERT_GT(tabs->width(), tabs->tabRect(1).right() + 4) << "the bar has no empty space";
    PressOnTabBar(QPoint(tabs->width() - 2, tabs->height() / 2));
    EXPECT_EQ(tabs->TabUnderMouse(), -1);
    main_->WinBarMenuPopup();
    EXPECT_EQ(title->text(), QStringLiteral("<none>"));
    EXPECT_EQ(enabledItems(), QStringList());

    // The selected tab (b, maximised): its title item is off.
    PressOnTabBar(tabs->tabRect(1).center());
    EXPECT_EQ(tabs->TabUnderMouse(), 1);
    main_->WinBarMenuPopup();
    EXPECT_EQ(title->text(), QStringLiteral("b.dfm"));
    EXPECT_EQ(enabledItems(), (QStringList{"pmRestore", "pmMinimize", "pmMinAll", "pmCloseAll", "pmClose"}));

    // Another tab: a right click does not select it, and the title item is on.
    PressOnTabBar(tabs->tabRect(0).center());
    EXPECT_EQ(tabs->currentIndex(), 1);
    main_->WinBarMenuPopup();
    EXPECT_EQ(title->text(), QStringLiteral("a.dfm"));
    EXPECT_TRUE(title->isEnabled());

    QMdiSubWindow* a = tabs->FormAt(0);
    main_->cmMinimize();
    EXPECT_TRUE(a->isMinimized());
    main_->WinBarMenuPopup();
    EXPECT_EQ(enabledItems(),
              (QStringList{"pmTitle", "pmRestore", "pmMaximize", "pmMinAll", "pmCloseAll", "pmClose"}));

    EXPECT_EQ(tabs->currentIndex(), 1);  // minimising a did not switch documents

    main_->cmTitle();
    EXPECT_EQ(main_->MdiArea()->currentSubWindow(), a);
    EXPECT_FALSE(a->isMinimized());
    EXPECT_EQ(tabs->currentIndex(), 0);

    QPointer<QMdiSubWindow> closing(a);
    main_->cmMDIClose();
    Settle();
    EXPECT_TRUE(closing.isNull());
    EXPECT_EQ(tabs->count(), 1);
}

TEST_F(MainWindowTest, FirstShowOpensTheJoinedCommandLineFiles) {
    const QString path = WriteForm(QStringLiteral("My Forms/a.dfm"));
    QPointer<SplashScreen> splash = new SplashScreen;
    splash->show();
    main_->SetSplash(splash);
    main_->SetCommandLine({dir_.filePath(QStringLiteral("My")), QStringLiteral("Forms/a.dfm")});
    QSignalSpy opened(main_.get(), &MainWindow::StartupFilesOpened);
    Show();
    ASSERT_EQ(opened.count(), 1);

    ASSERT_EQ(Windows().size(), 1);
    EXPECT_EQ(main_->ActiveDocument()->Document().FileName(), path);
    // The opened document dismissed the splash; status texts after that do no harm.
    EXPECT_TRUE(splash.isNull());
}

TEST_F(MainWindowTest, ACommandLineThatNamesNoFileIsReported) {
    QPointer<SplashScreen> splash = new SplashScreen;
    splash->show();
    main_->SetSplash(splash);
    const QString nothing = dir_.filePath(QStringLiteral("nothing"));
    const QString form = WriteForm(QStringLiteral("a.dfm"));
    main_->SetCommandLine({nothing, form});
    Show();
    EXPECT_TRUE(Windows().isEmpty());
    EXPECT_EQ(messages_.errors, QStringList("Cannot open file " + nothing + " " + form + "."));
    messages_.errors.clear();
    ASSERT_FALSE(splash.isNull());
    EXPECT_EQ(splash->Status(), QStringLiteral("Click to close"));
    splash->cmClose();
    Settle();
    EXPECT_TRUE(splash.isNull());
}

TEST_F(MainWindowTest, AFailedSaveOnCloseKeepsTheDocumentAndTheMainWindowOpen) {
    Show();
    main_->cmNew();
    main_->ActiveDocument()->LoadFromLines(kSmallForm);
    ASSERT_TRUE(main_->ActiveDocument()->Document().Modified());

    // Yes, save; as text; into a folder that does not exist.
    messages_.choiceAnswers = {Answer::Yes};
    messages_.saveTypes = {FormEncoding::Text};
    messages_.savePaths = {dir_.filePath(QStringLiteral("no such folder/x.dfm"))};
    EXPECT_FALSE(main_->close());
    Settle();
    EXPECT_TRUE(main_->isVisible());
    EXPECT_EQ(Windows().size(), 1);
    EXPECT_EQ(messages_.errors.size(), 1);
    messages_.errors.clear();

    // No, discard: everything closes.
    messages_.choiceAnswers = {Answer::No};
    EXPECT_TRUE(main_->close());
    Settle();
    EXPECT_TRUE(Windows().isEmpty());
    EXPECT_EQ(messages_.confirms.size(), 2);
}

// Close All and Exit ask each modified document in turn; a Cancel anywhere on the way
// to a saved file stops them with that document and those not yet asked still open.
TEST_F(MainWindowTest, CancelInASavePromptStopsCloseAllAndExit) {
    Show();
    for (int i = 0; i < 3; ++i) {
        main_->cmNew();
        main_->ActiveDocument()->LoadFromLines(kSmallForm);
    }
    const struct {
        const char* what;
        bool exit;
        std::deque<Answer> answers;
        std::deque<std::optional<FormEncoding>> types;
        std::deque<QString> paths;
        int stillOpen;
    } cases[] = {
        {"Close All, Cancel in the first prompt", false, {Answer::Cancel}, {}, {}, 3},
        {"Close All, Yes then Cancel in the save-type dialog", false, {Answer::Yes}, {std::nullopt}, {}, 3},
        {"Exit, No for one, then Cancel in the file dialog",
         true,
         {Answer::No, Answer::Yes},
         {FormEncoding::Text},
         {QString()},
         2},
        {"Exit, Cancel in the prompt", true, {Answer::Cancel}, {}, {}, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        messages_.confirms.clear();
        messages_.choiceAnswers = c.answers;
        messages_.saveTypes = c.types;
        messages_.savePaths = c.paths;
        if (c.exit)
            main_->cmExit();
        else
            main_->cmCloseAll();
        Settle();
        EXPECT_EQ(messages_.confirms.size(), static_cast<qsizetype>(c.answers.size()));
        EXPECT_EQ(Windows().size(), c.stillOpen);
        EXPECT_TRUE(main_->isVisible());
        for (QMdiSubWindow* window : Windows())
            EXPECT_EQ(qobject_cast<DocumentWindow*>(window)->Document().TextBytes(), kSmallForm);
    }
    // The prompt names the unnamed document by its caption.
    EXPECT_EQ(messages_.confirms.last(), QStringLiteral("Save changes to the unnamed document Untitled?"));
    messages_.choiceAnswers = {Answer::No, Answer::No};
    EXPECT_TRUE(main_->close());
}

// The maximised state belongs to the workspace: a document brought forward while
// another is maximised is maximised too, and after Close All new documents start
// maximised again whatever layout the last closed one left.
TEST_F(MainWindowTest, DocumentsShareOneMaximisedState) {
    main_->resize(900, 600);
    Show();
    for (const char* name : {"a.dfm", "b.dfm", "c.dfm"})
        main_->OpenDocument(WriteForm(QString::fromLatin1(name)));
    Settle();
    const QList<QMdiSubWindow*> windows = main_->MdiArea()->subWindowList(QMdiArea::CreationOrder);
    for (QMdiSubWindow* window : windows)
        EXPECT_TRUE(window->isMaximized()) << window->windowTitle().toStdString();

    main_->cmTileVer();
    for (QMdiSubWindow* window : windows)
        EXPECT_FALSE(window->isMaximized());
    windows[2]->showMaximized();  // the user maximises c
    Settle();

    // b from the Windows menu: maximised over c, and the title names it.
    auto* menu = main_->findChild<QMenu*>(QStringLiteral("mmWin"));
    emit menu->aboutToShow();
    menu->actions()[6]->trigger();  // "&2 b.dfm"
    Settle();
    EXPECT_EQ(main_->ActiveDocument(), windows[1]);
    EXPECT_TRUE(windows[1]->isMaximized());
    EXPECT_TRUE(main_->windowTitle().contains(QStringLiteral("[b.dfm]")))
        << main_->windowTitle().toStdString();

    // Tiled again and closed: a new document takes no tile from the stored layout.
    main_->cmTileHor();
    Settle();
    main_->cmCloseAll();
    Settle();
    ASSERT_TRUE(Windows().isEmpty());
    main_->cmNew();
    Settle();
    ASSERT_NE(main_->ActiveDocument(), nullptr);
    EXPECT_TRUE(main_->ActiveDocument()->isMaximized());

    // While the documents are tiled, a new one joins them in the normal state.
    main_->cmNew();
    main_->cmTileVer();
    main_->cmNew();
    Settle();
    EXPECT_FALSE(main_->ActiveDocument()->isMaximized());
}

// The interface options decide over the stored layout of the last document closed: a
// class tree switched on in the preferences shows in documents opened afterwards.
TEST_F(MainWindowTest, TheOptionsApplyToDocumentsOpenedLater) {
    Show();
    main_->cmNew();
    Settle();
    main_->cmClose();  // its layout, with the class tree hidden, is stored
    Settle();
    InterfaceOptions options = main_->Options();
    options.ShowHTree = true;
    main_->SetOptions(options);
    main_->cmNew();
    Settle();
    DocumentWindow* document = main_->ActiveDocument();
    ASSERT_NE(document, nullptr);
    EXPECT_TRUE(document->Inspector()->ClassTree()->isVisibleTo(document));
}

// The panes are one layout for all documents: a splitter dragged in one document moves
// in the others, and a document opened later takes the same layout.
TEST_F(MainWindowTest, PaneSizesAreSharedByTheDocuments) {
    main_->resize(1000, 700);
    Show();
    main_->OpenDocument(WriteForm(QStringLiteral("a.dfm")));
    main_->OpenDocument(WriteForm(QStringLiteral("b.dfm")));
    Settle();
    auto columns = [](QMdiSubWindow* window) {
        return window->findChild<QSplitter*>(QStringLiteral("Columns"));
    };
    const QList<QMdiSubWindow*> windows = main_->MdiArea()->subWindowList(QMdiArea::CreationOrder);
    QSplitter* dragged = columns(windows[1]);
    ASSERT_NE(dragged, nullptr);
    QList<int> sizes = dragged->sizes();
    const int treeWidth = sizes[0] + 37;
    sizes[1] -= 37;
    sizes[0] = treeWidth;
    dragged->setSizes(sizes);
    emit dragged->splitterMoved(treeWidth, 1);  // as a drag of the handle reports it
    EXPECT_EQ(columns(windows[0])->sizes()[0], treeWidth);

    main_->OpenDocument(WriteForm(QStringLiteral("c.dfm")));
    Settle();
    EXPECT_EQ(columns(main_->ActiveDocument())->sizes()[0], treeWidth);
}

// On a first start the object tree shows typical component names whole.
TEST_F(MainWindowTest, TheFirstDocumentsTreeShowsTypicalNamesWhole) {
    Show();
    main_->OpenDocument(WriteForm(QStringLiteral("Orders.dfm"),
                                  "object frmCustomerOrders: TfrmCustomerOrders\r\n"
                                  "  object pnlOrderDetails: TPanel\r\n"
                                  "    object grpShippingAddress: TGroupBox\r\n"
                                  "      object edtShippingPostalCode: TEdit\r\n"
                                  "      end\r\n"
                                  "    end\r\n"
                                  "  end\r\n"
                                  "end\r\n"));
    Settle();
    DocumentWindow* document = main_->ActiveDocument();
    ASSERT_NE(document, nullptr);
    ObjectTreeView* tree = document->Tree();
    ASSERT_TRUE(tree->isVisible());
    tree->expandAll();
    EXPECT_LE(static_cast<QAbstractItemView*>(tree)->sizeHintForColumn(0), tree->viewport()->width());
}

// A file handed over by a later start becomes the active document also when the main
// window is not the active one: applying the new document's stored layout hides and
// shows it, after which the area made the document before it current again.
TEST_F(MainWindowTest, AForwardedFileBecomesTheActiveDocument) {
    Show();
    main_->OpenDocument(WriteForm(QStringLiteral("a.dfm")));
    main_->OpenDocument(WriteForm(QStringLiteral("b.dfm")));
    Settle();
    QWidget elsewhere;  // another program has the keyboard
    elsewhere.show();
    elsewhere.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&elsewhere));

    const QString forwarded = WriteForm(QStringLiteral("c.dfm"));
    main_->CommandLineReceived({forwarded});
    Settle();
    ASSERT_NE(main_->ActiveDocument(), nullptr);
    EXPECT_EQ(main_->ActiveDocument()->Document().FileName(), forwarded);
    EXPECT_EQ(main_->Tabs()->currentIndex(), 2);
    EXPECT_TRUE(main_->windowTitle().contains(QStringLiteral("[c.dfm]")))
        << main_->windowTitle().toStdString();
}

}  // namespace
}  // namespace fw
