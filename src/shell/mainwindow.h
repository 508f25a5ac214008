#pragma once
// MainWindow: the main window, an MDI parent whose children are the form documents.
// It keeps no document list of its own: the open documents are its MDI children and
// the active document is the current child; the tab bar mirrors them.

#include <QByteArray>
#include <QList>
#include <QMainWindow>
#include <QPointer>
#include <QStringList>
#include <array>
#include <memory>

#include "shell/commandstate.h"
#include "shell/preferencesettings.h"

class QAction;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QToolBar;

namespace fw {

class CodePage;
class DocumentWindow;
class SingleInstance;
class DocumentTabBar;
class WindowStateStore;
class RecentFiles;
class SettingsWindowStateStorage;
class Session;
class DataController;
class DocumentController;
class EditController;
class SearchController;
class SplashScreen;
class UserMessages;
enum class TileMode;

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    // `messages` answers every question and shows every error of the window and its
    // documents; the session holds what the documents share (registry, packages, folder
    // index). Both must outlive the window.
    MainWindow(Session& session, UserMessages& messages, QWidget* parent = nullptr);
    ~MainWindow() override;

    // The splash window to send status texts to and to dismiss; it may go at any time.
    void SetSplash(SplashScreen* splash);
    // The arguments (without the program name) whose files are opened at first show.
    void SetCommandLine(const QStringList& arguments) { commandLine_ = arguments; }

    // The one way a file becomes a document. A path that names no file is reported as
    // "Cannot open file <path>." and nothing else happens. Otherwise a new document
    // window is opened on the file (a file may be open more than once), registered
    // with the tab bar under the full path, and the splash is dismissed. Errors of the
    // load propagate, and the half-opened window is removed.
    void OpenDocument(const QString& path);

    // A new, unnamed document as New makes it: captioned `caption`, registered with the
    // tab bar with the document image and `hint`, then filled by LoadFromLines(text).
    DocumentWindow* NewDocument(const QString& caption, const QString& hint, const QByteArray& text);

    // The active document (the MDI area's current child), or null.
    DocumentWindow* ActiveDocument() const;
    QMdiArea* MdiArea() const { return mdiArea_; }
    // The toolbar's commands on the active document, by menu.
    EditController& EditCommands() const { return *editCommands_; }
    SearchController& SearchCommands() const { return *searchCommands_; }
    DataController& DataCommands() const { return *dataCommands_; }
    DocumentTabBar* Tabs() const { return tabBar_; }
    QMenu* TabPopupMenu() const { return tabMenu_; }
    // What command enabling depends on, read from the windows.
    IdleState ReadIdleState() const;

    // The interface options: all off until the stored settings are read when the
    // window is first shown; they are saved with the window's layout.
    const InterfaceOptions& Options() const { return options_; }
    void SetOptions(const InterfaceOptions& options) { options_ = options; }
    // The code page of form text: Windows-1252 until the stored settings are read, saved
    // with them. A document takes it when it is created and keeps it; the extraction
    // dialog and the preferences read their texts in it.
    const CodePage& FormCodePage() const;
    // Sets it by number; an unsupported number is ignored.
    void SetFormCodePage(int number);
    // The extra folders searched for the files of ancestor forms and frames, after the
    // form's own folder and its parents; none until the stored settings are read, saved
    // with them (as "FormSearchPaths", one folder a line, only when there are any).
    // Every document takes them for its previews.
    const QStringList& FormSearchFolders() const { return searchFolders_; }
    void SetFormSearchFolders(const QStringList& folders);
    // The settings: the window's own store (section "Main") and the manager that every
    // store writes through; the recently used files of the File menu.
    SettingsWindowStateStorage* StateStorage() const { return stateStorage_; }
    WindowStateStore* StateStore() const { return stateStore_; }
    RecentFiles* Recent() const { return recentFiles_; }
    Session& GetSession() const { return session_; }
    // Listens to the session's single-instance component, made and checked before the
    // window: the files that later starts hand over are opened here.
    void ListenToInstances(SingleInstance& instances);
    // Opens every line of a handed-over command line with OpenDocument, as it is.
    void CommandLineReceived(const QStringList& cmdLine);
    // Opens the file of a recent-files entry.
    void RecentFileClicked(const QString& fileName);

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
    using Handler = void (MainWindow::*)();
    QAction* MakeAction(const char* name, const QString& text, Handler handler,
                        const QKeySequence& shortcut = {});
    void CreateMenus();
    void CreateToolBar();
    void CreateTabBar();
    void AddDocumentWindow(DocumentWindow* document);
    void CreateSettings();
    // The document's store (section "Editor"): its window, the message list's height,
    // the inspector's width with its class tree's height and visibility, and the object
    // tree's width. Once loaded, DocumentLayoutLoaded runs.
    void AttachEditorStorage(DocumentWindow* document);
    static WindowStateStore* EditorStorage(const DocumentWindow* document);
    // After a new document's stored layout applied: the document takes the state the
    // documents are in, the panes of the documents already open, and the interface
    // options.
    void DocumentLayoutLoaded(DocumentWindow* document);
    // Gives every other document the pane sizes of `from`.
    void ShareDocumentPanes(DocumentWindow* from);
    void DocumentStateChanged(DocumentWindow* document, Qt::WindowStates before, Qt::WindowStates now);
    void DocumentActivated(QMdiSubWindow* window);
    std::array<DocumentController*, 3> CommandControllers() const;
    // Points the command controllers at the active document (or none).
    void SetCommandTargets();
    // Shows the extraction dialog on the file, modally, in resource or package mode.
    void ShowExtractDialog(const QString& path, bool packageMode);
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

    Session& session_;
    UserMessages& messages_;
    InterfaceOptions options_;
    int codePage_ = 1252;
    QStringList searchFolders_;
    SettingsWindowStateStorage* stateStorage_ = nullptr;
    WindowStateStore* stateStore_ = nullptr;
    RecentFiles* recentFiles_ = nullptr;
    QMdiArea* mdiArea_ = nullptr;
    DocumentTabBar* tabBar_ = nullptr;
    QToolBar* toolBar_ = nullptr;
    EditController* editCommands_ = nullptr;
    SearchController* searchCommands_ = nullptr;
    DataController* dataCommands_ = nullptr;
    QToolBar* tabBand_ = nullptr;
    QPointer<SplashScreen> splash_;
    QStringList commandLine_;
    bool shown_ = false;
    QString lastOpenFolder_;
    // Whether the documents are maximised, one state for all of them: the state new
    // documents take and activated ones are given.
    bool documentsMaximized_ = true;
    // The document added last, until its stored layout has been applied.
    QPointer<QMdiSubWindow> newestDocument_;

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
    QAction* sbProperties = nullptr;
    QAction* sbCascade = nullptr;
    QAction* sbTileHor = nullptr;
    QAction* sbTileVer = nullptr;
    QAction* sbExit = nullptr;

    QMenu* tabMenu_ = nullptr;
    QAction* pmTitle = nullptr;
    QAction* pmRestore = nullptr;
    QAction* pmMinimize = nullptr;
    QAction* pmMaximize = nullptr;
    QAction* pmMinAll = nullptr;
    QAction* pmCloseAll = nullptr;
    QAction* pmClose = nullptr;
};

}  // namespace fw
