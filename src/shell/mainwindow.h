#pragma once
// Twnd_dfm_Main: the main window, an MDI parent whose children are the form documents.
// It keeps no document list of its own: the open documents are its MDI children and
// the active document is the current child; the tab bar mirrors them.

#include <QList>
#include <QMainWindow>
#include <QPointer>
#include <QStringList>

#include "shell/commandstate.h"

class QAction;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QToolBar;

namespace fw {

class Tmdi_dfm_Editor;
class TMDITab;
class Twnd_dfm_Splash;
class UserMessages;
enum class TileMode;

class Twnd_dfm_Main : public QMainWindow {
    Q_OBJECT
public:
    // `messages` answers every question and shows every error of the window and its
    // documents; it must outlive the window.
    explicit Twnd_dfm_Main(UserMessages& messages, QWidget* parent = nullptr);
    ~Twnd_dfm_Main() override;

    // The splash window to send status texts to and to dismiss; it may go at any time.
    void SetSplash(Twnd_dfm_Splash* splash);
    // The arguments (without the program name) whose files are opened at first show.
    void SetCommandLine(const QStringList& arguments) { commandLine_ = arguments; }

    // The one way a file becomes a document. A path that names no file is reported as
    // "Cannot open file <path>." and nothing else happens. Otherwise a new document
    // window is opened on the file (a file may be open more than once), registered
    // with the tab bar under the full path, and the splash is dismissed. Errors of the
    // load propagate, and the half-opened window is removed.
    void OpenDocument(const QString& path);

    // The active document (the MDI area's current child), or null.
    Tmdi_dfm_Editor* ActiveDocument() const;
    QMdiArea* MdiArea() const { return mdiArea_; }
    TMDITab* Tabs() const { return MDITab; }
    QMenu* TabPopupMenu() const { return WinBarMenu; }
    // What command enabling depends on, read from the windows.
    IdleState ReadIdleState() const;

public slots:
    // Enables and disables the commands; runs whenever the event queue empties.
    void AppIdle();

    void cmNew();
    void cmOpen();
    void cmSave();
    void cmSaveAs();
    void cmClose();
    void cmCloseAll();
    void cmExit();
    void cmCascade();
    void cmTileHor();
    void cmTileVer();
    void cmMinAll();
    void cmExtractfromEXE();
    void cmPackageInformation();
    void cmPrefs();
    void cmAbout();

    // Passed on to the active document; nothing without one.
    void cmUndo();
    void cmCopy();
    void cmCut();
    void cmPaste();
    void cmFind();
    void cmGoto();
    void cmPreview();
    void cmRescan();

    // The tab popup's commands, on the document at the tab bar's TabUnderMouse.
    void cmTitle();
    void cmRestore();
    void cmMinimize();
    void cmMaximize();
    void cmMDIClose();
    // Sets the popup's title item after a press on the tab bar.
    void MDITabMouseDown();
    // Enables the popup's items as it opens.
    void WinBarMenuPopup();

signals:
    // The files of the command line have been opened (or there were none).
    void StartupFilesOpened();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    using Handler = void (Twnd_dfm_Main::*)();
    QAction* MakeAction(const char* name, const QString& text, Handler handler,
                        const QKeySequence& shortcut = {});
    void CreateMenus();
    void CreateToolBar();
    void CreateTabBar();
    void AddDocumentWindow(Tmdi_dfm_Editor* document);
    void FormShow();
    void RebuildMenuBar();
    void mmWinPopup();
    void ActivateDocument(QMdiSubWindow* window);
    QList<QMdiSubWindow*> ArrangedWindows() const;
    QRect ArrangeArea() const;
    void TileDocuments(TileMode mode);
    QMdiSubWindow* WindowUnderMouse() const;
    void SplashStatus(const QString& text);
    void DismissSplash();

    UserMessages& messages_;
    QMdiArea* mdiArea_ = nullptr;
    TMDITab* MDITab = nullptr;
    QToolBar* ToolBar1 = nullptr;
    QToolBar* tabBand_ = nullptr;
    QPointer<Twnd_dfm_Splash> splash_;
    QStringList commandLine_;
    bool shown_ = false;
    QString lastOpenFolder_;

    QMenu* mmFile = nullptr;
    QMenu* mmWin = nullptr;
    QMenu* mmHelp = nullptr;
    QList<QAction*> windowListActions_;  // the document entries of mmWin

    QAction* mmNew = nullptr;
    QAction* mmOpen = nullptr;
    QAction* mmSave = nullptr;
    QAction* mmSaveAs = nullptr;
    QAction* mmClose = nullptr;
    QAction* mmCloseAll = nullptr;
    QAction* mmExtractfromEXE = nullptr;
    QAction* mmPackageInformation = nullptr;
    QAction* mmPrefs = nullptr;
    QAction* mmExit = nullptr;
    QAction* mmCascade = nullptr;
    QAction* mmTileHor = nullptr;
    QAction* mmTileVer = nullptr;
    QAction* mmMinAll = nullptr;
    QAction* mmAbout = nullptr;

    QAction* sbNew = nullptr;
    QAction* sbOpen = nullptr;
    QAction* sbSave = nullptr;
    QAction* sbUndo = nullptr;
    QAction* sbCopy = nullptr;
    QAction* sbCut = nullptr;
    QAction* sbPaste = nullptr;
    QAction* sbFind = nullptr;
    QAction* sbGoto = nullptr;
    QAction* sbPreview = nullptr;
    QAction* sbRescan = nullptr;
    QAction* sbProperties = nullptr;
    QAction* sbCascade = nullptr;
    QAction* sbTileHor = nullptr;
    QAction* sbTileVer = nullptr;
    QAction* sbExit = nullptr;

    QMenu* WinBarMenu = nullptr;
    QAction* pmTitle = nullptr;
    QAction* pmRestore = nullptr;
    QAction* pmMinimize = nullptr;
    QAction* pmMaximize = nullptr;
    QAction* pmMinAll = nullptr;
    QAction* pmCloseAll = nullptr;
    QAction* pmClose = nullptr;
};

}  // namespace fw
