#include "shell/mainwindow.h"

#include <QAbstractEventDispatcher>
#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QSettings>
#include <QSplitter>
#include <QTimer>
#include <QToolBar>
#include <array>
#include <utility>

#include "base/codepage.h"
#include "base/errors.h"
#include "document/documentwindow.h"
#include "document/usermessages.h"
#include "packages/designpackages.h"
#include "preview/oipanel.h"
#include "preview/previewcontext.h"
#include "shell/aboutbox.h"
#include "shell/commandline.h"
#include "shell/datacontroller.h"
#include "shell/documenttabbar.h"
#include "shell/drawnicons.h"
#include "shell/editcontroller.h"
#include "shell/extractdialog.h"
#include "shell/prefsdialog.h"
#include "shell/recentfiles.h"
#include "shell/searchcontroller.h"
#include "shell/session.h"
#include "shell/singleinstance.h"
#include "shell/splash.h"
#include "shell/systeminfo.h"
#include "shell/tiling.h"
#include "shell/windowstatestore.h"

namespace fw {

namespace {

const char* const kFormFileFilter = "Delphi Form files (*.dfm);;All files (*)";

// Image index of a form document in the window images.
constexpr int kDocumentImage = 5;

// The window images the tab bar's image indexes refer to. Only form documents exist so
// far; the lower indexes stay free for other kinds of windows.
QList<QIcon> WindowImages() {
    QList<QIcon> images(kDocumentImage + 1);
    images[kDocumentImage] = DrawnIcon(DrawnImage::FormDocument);
    return images;
}

// Menu texts treat "&" as a mnemonic marker; a caption shows it literally.
QString MenuText(const QString& caption) {
    QString text = caption;
    return text.replace(u'&', QStringLiteral("&&"));
}

}  // namespace

MainWindow::MainWindow(Session& session, UserMessages& messages, QWidget* parent)
    : QMainWindow(parent), session_(session), messages_(messages) {
    setObjectName(QStringLiteral("wnd_dfm_Main"));
    setWindowTitle(QStringLiteral("Formwright"));
    setWindowIcon(DrawnIcon(DrawnImage::FormDocument));

    mdiArea_ = new QMdiArea(this);
    mdiArea_->setObjectName(QStringLiteral("MDIClient"));
    mdiArea_->setViewMode(QMdiArea::SubWindowView);
    // Each document keeps its own window state. Otherwise the area maximises whatever
    // it activates while another child is maximised, and since it activates a window
    // that is being minimised, minimising a background document would maximise it.
    mdiArea_->setOption(QMdiArea::DontMaximizeSubWindowOnActivation);
    mdiArea_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    mdiArea_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(mdiArea_);

    CreateMenus();
    CreateToolBar();
    CreateTabBar();
    RebuildMenuBar();
    connect(mdiArea_, &QMdiArea::subWindowActivated, this, &MainWindow::RebuildMenuBar);
    connect(mdiArea_, &QMdiArea::subWindowActivated, this, &MainWindow::DocumentActivated);

    // Without a stored layout the window takes two thirds of the screen, centred.
    resize(718, 469);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        setGeometry(InitialMainWindowRect(screen->availableGeometry()));

    tabBar_->SetTabUnderMouse(-1);
    // The idle handler: the dispatcher announces that it is about to wait, which is
    // when the event queue has just emptied.
    if (QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance()) {
        connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, this, &MainWindow::AppIdle);
    }
    AppIdle();
    CreateSettings();
    // The design packages' classes join the built-in ones before any form is read.
    session_.LoadPackages();
}

MainWindow::~MainWindow() {
    if (QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance()) {
        disconnect(dispatcher, nullptr, this, nullptr);
    }
    // Later starts may no longer hand their files to this window.
    if (SingleInstance* instances = session_.Instances()) instances->SetOnCmdLineReceived(nullptr);
    // No signal may reach the half-destroyed window; the documents go first, while the
    // tab bar and the menu bar that refer to them still exist.
    disconnect(mdiArea_, nullptr, this, nullptr);
    // Windows that go without having been closed keep their layout all the same. The
    // stores stop watching first: a window being destroyed is hidden once more.
    stateStore_->SaveUnlessSavedSinceLoad();
    stateStore_->SetActive(false);
    for (QMdiSubWindow* window : mdiArea_->subWindowList()) {
        if (auto* storage = window->findChild<WindowStateStore*>(QString(), Qt::FindDirectChildrenOnly)) {
            storage->SaveUnlessSavedSinceLoad();
            storage->SetActive(false);
        }
        delete window;
    }
    // The session's storage outlives the window; its errors are no longer shown here.
    stateStorage_->SetMessages(nullptr);
}

void MainWindow::CreateSettings() {
    stateStorage_ = &session_.WindowStates();
    stateStorage_->SetMessages(&messages_);
    // The window's layout comes back when it is shown and is saved when it closes,
    // with the interface options after it.
    // The stored class names are those the settings files already hold.
    stateStore_ =
        new WindowStateStore(this, stateStorage_, QStringLiteral("Main"), QStringLiteral("Twnd_dfm_Main"));
    stateStore_->SetStoredProperties(WindowStateStore::WindowProperties());
    stateStore_->SetOnSaveCustomValues([this](StoredValues& values) {
        const StoredValues preferences = PreferenceValues({options_, codePage_, searchFolders_});
        values.insert(values.end(), preferences.begin(), preferences.end());
    });
    stateStore_->SetOnReadCustomValue([this](const QString& name, const StoredValue& value) {
        Preferences preferences{options_, codePage_, searchFolders_};
        if (!ReadPreferenceValue(preferences, name, value)) return false;
        options_ = preferences.Options;
        // A number no code page has leaves the one in use.
        SetFormCodePage(preferences.CodePage);
        if (preferences.SearchFolders != searchFolders_) SetFormSearchFolders(preferences.SearchFolders);
        return true;
    });
    // The extraction dialogs this window owns keep theirs under "FormRes".
    AttachStorageToOwnedWindows(this, stateStorage_, "fw::ExtractDialog", QStringLiteral("FormRes"),
                                QStringLiteral("Tdlg_dfm_Extract"));

    // The recently used files follow "Exit" in the File menu.
    recentFiles_ = new RecentFiles(this);
    recentFiles_->SetMaxItems(10);
    recentFiles_->SetCompanyName(QStringLiteral("Zentrix"));
    recentFiles_->SetApplicationName(QStringLiteral("Formwright"));
    recentFiles_->SetApplicationVersion(QStringLiteral("5.x"));
    recentFiles_->SetOwnerName(QStringLiteral("Main"));
    recentFiles_->SetMenuItem(mmFile);
    recentFiles_->SetOnItemClick([this](RecentFiles*, QAction*, const QString& fileName, const QString&,
                                        bool&) { RecentFileClicked(fileName); });
    recentFiles_->LoadFromSettings();
}

void MainWindow::AttachEditorStorage(DocumentWindow* document) {
    auto* storage = new WindowStateStore(document, stateStorage_, QStringLiteral("Editor"),
                                         QStringLiteral("Tmdi_dfm_Editor"));
    storage->SetOnLoaded([this, document] { DocumentLayoutLoaded(document); });
    storage->SetStoredProperties(WindowStateStore::WindowProperties()
                                 << QStringLiteral("EList.<P>.Height") << QStringLiteral("OIPanel.<P>.Width")
                                 << QStringLiteral("OIPanel.HTree.<P>.Height")
                                 << QStringLiteral("OIPanel.HTree.<P>.Visible")
                                 << QStringLiteral("TreePanel.<P>.Width"));
    storage->AddComponent(QStringLiteral("EList"), QStringLiteral("TListView"), document->MessageList());
    storage->AddComponent(QStringLiteral("OIPanel"), QStringLiteral("TPanel"), document->Inspector());
    storage->AddComponent(QStringLiteral("HTree"), QStringLiteral("TColumnTree"),
                          document->Inspector()->ClassTree());
    storage->AddComponent(QStringLiteral("TreePanel"), QStringLiteral("TPanel"), document->Tree());
}

void MainWindow::ListenToInstances(SingleInstance& instances) {
    instances.SetOnCmdLineReceived(
        [this](SingleInstance*, const QStringList& cmdLine) { CommandLineReceived(cmdLine); });
    instances.SetApplicationWindow(this);
}

void MainWindow::CommandLineReceived(const QStringList& cmdLine) {
    // Each line as it came: a path with blanks arrives whole or not at all. One guard
    // for all, as on the first start: an error abandons the lines after it.
    RunGuarded(messages_, [this, &cmdLine] {
        for (const QString& line : cmdLine)
            OpenDocument(line);
    });
}

void MainWindow::RecentFileClicked(const QString& fileName) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    RunGuarded(messages_, [this, &fileName] { OpenDocument(fileName); });
    QApplication::restoreOverrideCursor();
}

QAction* MainWindow::MakeAction(const char* name, const QString& text, Handler handler,
                                const QKeySequence& shortcut) {
    auto* action = new QAction(text, this);
    action->setObjectName(QString::fromLatin1(name));
    if (!shortcut.isEmpty()) {
        action->setShortcut(shortcut);
        // Reachable while the menu is not in the menu bar or is being rebuilt.
        addAction(action);
    }
    connect(action, &QAction::triggered, this,
            [this, handler] { RunGuarded(messages_, [this, handler] { (this->*handler)(); }); });
    return action;
}

void MainWindow::CreateMenus() {
    mmFile = new QMenu(QStringLiteral("&File"), this);
    mmFile->setObjectName(QStringLiteral("mmFile"));
    mmNew = MakeAction("mmNew", QStringLiteral("New"), &MainWindow::cmNew);
    mmOpen = MakeAction("mmOpen", QStringLiteral("Open..."), &MainWindow::cmOpen,
                        QKeySequence(Qt::CTRL | Qt::Key_O));
    mmSave =
        MakeAction("mmSave", QStringLiteral("Save"), &MainWindow::cmSave, QKeySequence(Qt::CTRL | Qt::Key_S));
    mmSaveAs = MakeAction("mmSaveAs", QStringLiteral("Save As..."), &MainWindow::cmSaveAs);
    mmClose = MakeAction("mmClose", QStringLiteral("Close"), &MainWindow::cmClose,
                         QKeySequence(Qt::CTRL | Qt::Key_F4));
    mmCloseAll = MakeAction("mmCloseAll", QStringLiteral("Close All"), &MainWindow::cmCloseAll);
    mmExtractfromEXE = MakeAction("mmExtractfromEXE", QStringLiteral("Extract from EXE..."),
                                  &MainWindow::cmExtractfromEXE, QKeySequence(Qt::CTRL | Qt::Key_E));
    mmPackageInformation = MakeAction("mmPackageInformation", QStringLiteral("Package Information..."),
                                      &MainWindow::cmPackageInformation, QKeySequence(Qt::CTRL | Qt::Key_I));
    mmPrefs = MakeAction("mmPrefs", QStringLiteral("Preferences..."), &MainWindow::cmPrefs,
                         QKeySequence(Qt::Key_F9));
    mmExit =
        MakeAction("mmExit", QStringLiteral("Exit"), &MainWindow::cmExit, QKeySequence(Qt::ALT | Qt::Key_X));
    mmFile->addActions({mmNew, mmOpen, mmSave, mmSaveAs, mmClose, mmCloseAll});
    mmFile->addSeparator();
    mmFile->addActions({mmExtractfromEXE, mmPackageInformation});
    mmFile->addSeparator();
    mmFile->addAction(mmPrefs);
    mmFile->addSeparator();
    mmFile->addAction(mmExit);

    mmWin = new QMenu(QStringLiteral("&Windows"), this);
    mmWin->setObjectName(QStringLiteral("mmWin"));
    mmCascade = MakeAction("mmCascade", QStringLiteral("&Cascade"), &MainWindow::cmCascade);
    mmTileHor = MakeAction("mmTileHor", QStringLiteral("Tile &Horizontally"), &MainWindow::cmTileHor);
    mmTileVer = MakeAction("mmTileVer", QStringLiteral("Tile &Vertically"), &MainWindow::cmTileVer);
    mmMinAll = MakeAction("mmMinAll", QStringLiteral("&Minimize All"), &MainWindow::cmMinAll);
    mmWin->addActions({mmCascade, mmTileHor, mmTileVer, mmMinAll});
    connect(mmWin, &QMenu::aboutToShow, this, &MainWindow::mmWinPopup);

    mmHelp = new QMenu(QStringLiteral("&Help"), this);
    mmHelp->setObjectName(QStringLiteral("mmHelp"));
    mmAbout =
        MakeAction("mmAbout", QStringLiteral("About..."), &MainWindow::cmAbout, QKeySequence(Qt::Key_F1));
    mmHelp->addAction(mmAbout);

    // Initially nothing is open to save or close.
    for (QAction* action : {mmSave, mmSaveAs, mmClose, mmCloseAll})
        action->setEnabled(false);
}

void MainWindow::CreateToolBar() {
    toolBar_ = addToolBar(QStringLiteral("Toolbar"));
    toolBar_->setObjectName(QStringLiteral("ToolBar1"));
    toolBar_->setMovable(false);
    toolBar_->setFloatable(false);
    toolBar_->setIconSize(QSize(16, 16));
    toolBar_->setMinimumHeight(22);
    editCommands_ = new EditController(messages_, this);
    searchCommands_ = new SearchController(messages_, this);
    dataCommands_ = new DataController(messages_, this);

    struct Button {
        QAction** field;
        const char* name;
        const char* hint;
        DrawnImage image;
        Handler handler;
    };
    const auto add = [this](const Button& button) {
        QAction* action = MakeAction(button.name, QString::fromLatin1(button.hint), button.handler);
        action->setIcon(DrawnIcon(button.image));
        action->setToolTip(QString::fromLatin1(button.hint));
        toolBar_->addAction(action);
        *button.field = action;
    };
    add({&sbNew, "sbNew", "New", DrawnImage::New, &MainWindow::cmNew});
    add({&sbOpen, "sbOpen", "Open", DrawnImage::Open, &MainWindow::cmOpen});
    add({&sbSave, "sbSave", "Save", DrawnImage::Save, &MainWindow::cmSave});
    toolBar_->addSeparator();
    toolBar_->addActions(editCommands_->Actions());
    toolBar_->addSeparator();
    toolBar_->addActions(searchCommands_->Actions());
    toolBar_->addSeparator();
    toolBar_->addActions(dataCommands_->Actions());
    add({&sbProperties, "sbProperties", "Properties", DrawnImage::Properties, &MainWindow::cmPrefs});
    toolBar_->addSeparator();
    add({&sbCascade, "sbCascade", "Cascade", DrawnImage::Cascade, &MainWindow::cmCascade});
    add({&sbTileHor, "sbTileHor", "Tile Horizontally", DrawnImage::TileHorizontal, &MainWindow::cmTileHor});
    add({&sbTileVer, "sbTileVer", "Tile Vertically", DrawnImage::TileVertical, &MainWindow::cmTileVer});
    toolBar_->addSeparator();
    add({&sbExit, "sbExit", "Exit", DrawnImage::Exit, &MainWindow::cmExit});
}

void MainWindow::CreateTabBar() {
    // The tab bar is the second band, below the toolbar and as wide as the window.
    addToolBarBreak();
    tabBand_ = addToolBar(QStringLiteral("Documents"));
    tabBand_->setObjectName(QStringLiteral("TabBand"));
    tabBand_->setMovable(false);
    tabBand_->setFloatable(false);

    tabBar_ = new DocumentTabBar(this);
    tabBar_->SetImages(WindowImages());
    tabBar_->SetShowOnChange(true);
    tabBand_->addWidget(tabBar_);

    tabMenu_ = new QMenu(this);
    tabMenu_->setObjectName(QStringLiteral("WinBarMenu"));
    pmTitle = MakeAction("pmTitle", QStringLiteral("<none>"), &MainWindow::cmTitle);
    pmRestore = MakeAction("pmRestore", QStringLiteral("Restore"), &MainWindow::cmRestore);
    pmMinimize = MakeAction("pmMinimize", QStringLiteral("Minimize"), &MainWindow::cmMinimize);
    pmMaximize = MakeAction("pmMaximize", QStringLiteral("Maximize"), &MainWindow::cmMaximize);
    pmMinAll = MakeAction("pmMinAll", QStringLiteral("Minimize All"), &MainWindow::cmMinAll);
    pmCloseAll = MakeAction("pmCloseAll", QStringLiteral("Close All"), &MainWindow::cmCloseAll);
    pmClose = MakeAction("pmClose", QStringLiteral("Close"), &MainWindow::cmMDIClose);
    tabMenu_->addAction(pmTitle);
    tabMenu_->addSeparator();
    tabMenu_->addActions({pmRestore, pmMinimize, pmMaximize});
    tabMenu_->addSeparator();
    tabMenu_->addActions({pmMinAll, pmCloseAll});
    tabMenu_->addSeparator();
    tabMenu_->addAction(pmClose);
    tabMenu_->setDefaultAction(pmClose);
    connect(tabMenu_, &QMenu::aboutToShow, this, &MainWindow::WinBarMenuPopup);

    tabBar_->SetPopupMenu(tabMenu_);
    connect(tabBar_, &DocumentTabBar::MouseDown, this, &MainWindow::MDITabMouseDown);
}

void MainWindow::SetSplash(SplashScreen* splash) {
    splash_ = splash;
}

void MainWindow::SplashStatus(const QString& text) {
    if (SplashScreen* splash = splash_.data(); splash != nullptr && splash->isVisible()) {
        // Without a window manager that keeps it on top, the main window would cover it.
        splash->raise();
        splash->SetStatus(text);
    }
}

void MainWindow::DismissSplash() {
    if (splash_) splash_->close();
}

DocumentWindow* MainWindow::ActiveDocument() const {
    // The current child stays current while a dialog has the focus, unlike the
    // active one.
    return qobject_cast<DocumentWindow*>(mdiArea_->currentSubWindow());
}

void MainWindow::AddDocumentWindow(DocumentWindow* document) {
    document->setAttribute(Qt::WA_DeleteOnClose);
    document->setWindowIcon(DrawnIcon(DrawnImage::FormDocument));
    // The first document starts maximised; later ones take the state the documents
    // are in. The MDI area only lays a child out as maximised when the state changes
    // while the child is in the area, so a state set before that is cleared and set
    // again.
    if (mdiArea_->subWindowList().isEmpty()) documentsMaximized_ = true;
    document->setWindowState(Qt::WindowNoState);
    newestDocument_ = document;
    mdiArea_->addSubWindow(document);
    connect(document, &QMdiSubWindow::windowStateChanged, this,
            [this, document](Qt::WindowStates before, Qt::WindowStates now) {
                DocumentStateChanged(document, before, now);
            });
    // A pane dragged in one document moves in all of them.
    for (QSplitter* splitter : document->findChildren<QSplitter*>()) {
        connect(splitter, &QSplitter::splitterMoved, this,
                [this, document] { ShareDocumentPanes(document); });
    }
    document->ApplyInterfaceOptions(options_.ShowTypeCol, options_.ShowCNCol, options_.SmallFont,
                                    options_.ShowHTree);
    document->SetFormSearchFolders(searchFolders_);
    // "Goto source" on an object of an ancestor's or a frame's file opens that file.
    document->SetSourceFileOpener([this](const QString& path, const QString& objectName) {
        if (!QFileInfo(path).isFile()) return false;
        OpenDocument(path);
        const QList<QMdiSubWindow*> windows = mdiArea_->subWindowList(QMdiArea::CreationOrder);
        auto* opened = windows.isEmpty() ? nullptr : qobject_cast<DocumentWindow*>(windows.last());
        if (opened == nullptr || QFileInfo(opened->Document().FileName()) != QFileInfo(path)) return false;
        opened->GotoObject(objectName);
        return true;
    });
    // The stored layout of the last document closed applies once it is shown.
    AttachEditorStorage(document);
    if (documentsMaximized_)
        document->showMaximized();
    else
        document->showNormal();
}

void MainWindow::DocumentLayoutLoaded(DocumentWindow* document) {
    // The stored layout is that of the last document closed. Whether documents are
    // maximised is the workspace's state, the panes are those of the documents open,
    // and the class tree shows by the option.
    if (documentsMaximized_ && !document->isMaximized() && !document->isMinimized())
        document->showMaximized();
    else if (!documentsMaximized_ && document->isMaximized())
        document->showNormal();
    const QList<QMdiSubWindow*> history = mdiArea_->subWindowList(QMdiArea::ActivationHistoryOrder);
    for (auto it = history.rbegin(); it != history.rend(); ++it) {
        auto* other = qobject_cast<DocumentWindow*>(*it);
        if (other == nullptr || other == document) continue;
        const WindowStateStore* from = EditorStorage(other);
        if (WindowStateStore* to = EditorStorage(document); from != nullptr && to != nullptr)
            to->TakeComponentValues(*from);
        break;
    }
    document->ApplyInterfaceOptions(options_.ShowTypeCol, options_.ShowCNCol, options_.SmallFont,
                                    options_.ShowHTree);
    // Applying the layout hides and shows the window; in a main window that is not
    // active (a file handed over by a later start) the area then makes the document
    // before it the current one, once the events of that have run. The newest document
    // is made current again after them.
    if (newestDocument_ == document) {
        newestDocument_ = nullptr;
        const QPointer<QMdiSubWindow> newest(document);
        QMetaObject::invokeMethod(
            this,
            [this, newest] {
                if (newest && mdiArea_->currentSubWindow() != newest) ActivateDocument(newest);
            },
            Qt::QueuedConnection);
    }
}

WindowStateStore* MainWindow::EditorStorage(const DocumentWindow* document) {
    return document->findChild<WindowStateStore*>(QString(), Qt::FindDirectChildrenOnly);
}

void MainWindow::ShareDocumentPanes(DocumentWindow* from) {
    const WindowStateStore* source = EditorStorage(from);
    if (source == nullptr) return;
    for (QMdiSubWindow* window : mdiArea_->subWindowList()) {
        auto* document = qobject_cast<DocumentWindow*>(window);
        if (document == nullptr || document == from) continue;
        if (WindowStateStore* target = EditorStorage(document)) target->TakeComponentValues(*source);
    }
}

void MainWindow::DocumentStateChanged(DocumentWindow* document, Qt::WindowStates before,
                                      Qt::WindowStates now) {
    // The stored layout being applied is no choice of the user's.
    if (const WindowStateStore* storage = EditorStorage(document); storage != nullptr && storage->Loading())
        return;
    // A document maximised makes the workspace maximised; the current one going from
    // maximised to the normal state (restored, tiled, cascaded) makes it normal.
    // Minimising, and a change of the active flag alone, change nothing.
    if (!(before & Qt::WindowMaximized) && (now & Qt::WindowMaximized))
        documentsMaximized_ = true;
    else if ((before & Qt::WindowMaximized) && !(now & (Qt::WindowMaximized | Qt::WindowMinimized)) &&
             document == mdiArea_->currentSubWindow())
        documentsMaximized_ = false;
}

void MainWindow::DocumentActivated(QMdiSubWindow* window) {
    SetCommandTargets();
    // While the documents are maximised, the one brought forward is maximised too, so
    // that it does not float over the one that was; a window being minimised (which the
    // area activates) stays as it is.
    // A document being added gets its state from AddDocumentWindow and, once its
    // layout is applied, from DocumentLayoutLoaded.
    if (window == nullptr || !documentsMaximized_ || window == newestDocument_) return;
    if (!window->isMinimized() && !window->isMaximized()) window->showMaximized();
}

void MainWindow::OpenDocument(const QString& path) {
    const QFileInfo info(path);
    if (!info.isFile()) {
        messages_.Error(QStringLiteral("Cannot open file %1.").arg(path));
        return;
    }
    const QString fullPath = info.absoluteFilePath();
    auto* document = new DocumentWindow(messages_, FormCodePage(), session_.Preview());
    AddDocumentWindow(document);
    // Written at once: the list is not saved at exit.
    recentFiles_->AddItem(fullPath, {}, 0, 0, true, false);
    recentFiles_->SaveToSettings();
    try {
        document->OpenDocumentFile(fullPath);
    } catch (...) {
        // A file that cannot be read leaves no empty, untabbed window behind.
        delete document;
        throw;
    }
    tabBar_->AddForm(document, kDocumentImage, fullPath);
    DismissSplash();
}

DocumentWindow* MainWindow::NewDocument(const QString& caption, const QString& hint, const QByteArray& text) {
    auto* document = new DocumentWindow(messages_, FormCodePage(), session_.Preview());
    AddDocumentWindow(document);
    document->setWindowTitle(caption);
    tabBar_->AddForm(document, kDocumentImage, hint);
    document->LoadFromLines(text);
    return document;
}

void MainWindow::cmNew() {
    NewDocument(QStringLiteral("Untitled"), QStringLiteral("untitled"), {});
}

void MainWindow::cmOpen() {
    const QStringList files = QFileDialog::getOpenFileNames(this, QStringLiteral("Open"), lastOpenFolder_,
                                                            QString::fromLatin1(kFormFileFilter));
    if (files.isEmpty()) return;
    lastOpenFolder_ = QFileInfo(files.first()).absolutePath();
    SplashStatus(QStringLiteral("Loading files..."));
    for (const QString& file : files)
        OpenDocument(file);
}

void MainWindow::cmSave() {
    if (DocumentWindow* document = ActiveDocument()) document->Document().Save();
}

void MainWindow::cmSaveAs() {
    if (DocumentWindow* document = ActiveDocument()) document->Document().SaveAs();
}

void MainWindow::cmClose() {
    if (QMdiSubWindow* window = mdiArea_->currentSubWindow()) window->close();
}

void MainWindow::cmCloseAll() {
    tabBar_->CloseAll();
}

void MainWindow::cmExit() {
    close();
}

void MainWindow::cmCascade() {
    // The MDI area's own cascade sizes windows by their size hints, which for a
    // document is wider than most screens; this one fits them into the area.
    const QList<QMdiSubWindow*> windows = ArrangedWindows();
    if (windows.isEmpty()) return;
    // One step is the height of a title bar with its frame: the offset of the
    // window's contents.
    const QWidget* contents = windows.front()->widget();
    const int step = contents != nullptr && contents->y() > 0 ? contents->y() : 24;
    const std::vector<QRect> rects = CascadeRects(ArrangeArea(), static_cast<int>(windows.size()), step);
    documentsMaximized_ = false;
    // The current window goes last, on top.
    for (std::size_t i = rects.size(); i-- > 0;) {
        QMdiSubWindow* window = windows[static_cast<qsizetype>(i)];
        if (window->isMaximized()) window->showNormal();
        window->setGeometry(rects[rects.size() - 1 - i]);
        window->raise();
    }
}

void MainWindow::cmTileHor() {
    TileDocuments(TileMode::Horizontal);
}

void MainWindow::cmTileVer() {
    TileDocuments(TileMode::Vertical);
}

QList<QMdiSubWindow*> MainWindow::ArrangedWindows() const {
    // The most recently active window comes first; minimised windows stay icons.
    const QList<QMdiSubWindow*> history = mdiArea_->subWindowList(QMdiArea::ActivationHistoryOrder);
    QList<QMdiSubWindow*> windows;
    for (auto it = history.rbegin(); it != history.rend(); ++it) {
        if (!(*it)->isHidden() && !(*it)->isMinimized()) windows << *it;
    }
    return windows;
}

QRect MainWindow::ArrangeArea() const {
    // The viewport less the row of minimised icons along its bottom, if there is one.
    QRect area = mdiArea_->viewport()->rect();
    int iconHeight = 0;
    for (const QMdiSubWindow* window : mdiArea_->subWindowList()) {
        if (!window->isHidden() && window->isMinimized()) iconHeight = std::max(iconHeight, window->height());
    }
    area.setBottom(area.bottom() - iconHeight);
    return area;
}

void MainWindow::TileDocuments(TileMode mode) {
    const QList<QMdiSubWindow*> windows = ArrangedWindows();
    const std::vector<QRect> rects = TileRects(ArrangeArea(), static_cast<int>(windows.size()), mode);
    if (!rects.empty()) documentsMaximized_ = false;
    for (std::size_t i = 0; i < rects.size(); ++i) {
        QMdiSubWindow* window = windows[static_cast<qsizetype>(i)];
        if (window->isMaximized()) window->showNormal();
        window->setGeometry(rects[i]);
    }
}

void MainWindow::cmMinAll() {
    tabBar_->MinimizeAll();
}

void MainWindow::ShowExtractDialog(const QString& path, bool packageMode) {
    // An extracted form opens as a new document named after its resource.
    const ExtractedFormLoader loader = [this](const QString& caption, const QByteArray& text) {
        NewDocument(caption, QStringLiteral("new"), text);
    };
    ExtractDialog::ShowExtractDialog(this, messages_, loader, path, packageMode, FormCodePage());
}

void MainWindow::cmExtractfromEXE() {
    const QString path = messages_.AskOpenModuleFile(ExecutableFileFilters());
    if (!path.isEmpty()) ShowExtractDialog(path, false);
}

void MainWindow::cmPackageInformation() {
    const QString path = messages_.AskOpenModuleFile(PackageFileFilters());
    if (!path.isEmpty()) ShowExtractDialog(path, true);
}

const CodePage& MainWindow::FormCodePage() const {
    const CodePage* page = CodePage::Find(codePage_);
    return page ? *page : CodePage::Default();
}

void MainWindow::SetFormCodePage(int number) {
    if (CodePage::Find(number) != nullptr) codePage_ = number;
}

void MainWindow::SetFormSearchFolders(const QStringList& folders) {
    searchFolders_ = folders;
    for (QMdiSubWindow* window : mdiArea_->subWindowList()) {
        if (auto* document = qobject_cast<DocumentWindow*>(window))
            document->SetFormSearchFolders(searchFolders_);
    }
}

void MainWindow::cmPrefs() {
    QStringList folders = searchFolders_;
    const PreferencesSettings settings{&options_, &codePage_, &folders};
    if (!PreferencesDialog::ExecutePreferences(this, messages_, session_.Packages(),
                                               session_.Preview().Registry(), settings))
        return;
    SetFormSearchFolders(folders);
    // Every open document, in child order, takes the options and shows them in a new
    // preview. Its code page stays the one it was opened with.
    for (QMdiSubWindow* window : mdiArea_->subWindowList(QMdiArea::CreationOrder)) {
        auto* document = qobject_cast<DocumentWindow*>(window);
        if (document == nullptr) continue;
        document->ApplyInterfaceOptions(options_.ShowTypeCol, options_.ShowCNCol, options_.SmallFont,
                                        options_.ShowHTree);
        document->BuildPreview();
    }
}

void MainWindow::cmAbout() {
    AboutBox about(ReadSystemInfo(), this);
    about.exec();
}

std::array<DocumentController*, 3> MainWindow::CommandControllers() const {
    return {editCommands_, searchCommands_, dataCommands_};
}

void MainWindow::SetCommandTargets() {
    for (DocumentController* controller : CommandControllers())
        controller->SetTarget(ActiveDocument());
}

QMdiSubWindow* MainWindow::WindowUnderMouse() const {
    return tabBar_->FormAt(tabBar_->TabUnderMouse());
}

void MainWindow::cmTitle() {
    if (QMdiSubWindow* window = WindowUnderMouse()) ActivateDocument(window);
}

void MainWindow::cmRestore() {
    if (QMdiSubWindow* window = WindowUnderMouse()) window->showNormal();
}

void MainWindow::cmMinimize() {
    QMdiSubWindow* window = WindowUnderMouse();
    if (window == nullptr) return;
    // The MDI area activates the window it minimises; minimising a background
    // document should leave the user where they were.
    QMdiSubWindow* current = mdiArea_->currentSubWindow();
    window->showMinimized();
    if (current != nullptr && current != window) mdiArea_->setActiveSubWindow(current);
}

void MainWindow::cmMaximize() {
    if (QMdiSubWindow* window = WindowUnderMouse()) window->showMaximized();
}

void MainWindow::cmMDIClose() {
    if (QMdiSubWindow* window = WindowUnderMouse()) window->close();
}

void MainWindow::MDITabMouseDown() {
    const QMdiSubWindow* window = WindowUnderMouse();
    pmTitle->setText(window != nullptr ? MenuText(window->windowTitle()) : QStringLiteral("<none>"));
}

void MainWindow::WinBarMenuPopup() {
    const int index = tabBar_->TabUnderMouse();
    const QMdiSubWindow* window = WindowUnderMouse();
    const bool any = window != nullptr;
    const bool minimized = any && window->isMinimized();
    const bool maximized = any && window->isMaximized();
    pmRestore->setEnabled(any && (minimized || maximized));
    pmMinimize->setEnabled(any && !minimized);
    pmMaximize->setEnabled(any && !maximized);
    pmMinAll->setEnabled(any);
    pmCloseAll->setEnabled(any);
    pmClose->setEnabled(any);
    pmTitle->setEnabled(any && index != tabBar_->currentIndex());
}

IdleState MainWindow::ReadIdleState() const {
    IdleState state;
    state.docs = !mdiArea_->subWindowList().isEmpty();
    if (const DocumentWindow* document = ActiveDocument()) {
        state.modified = document->Document().Modified();
        state.canUndo = document->CanUndo();
        state.hasSelection = document->HasSelection();
        state.canPaste = document->CanPaste();
    }
    return state;
}

void MainWindow::AppIdle() {
    const CommandStates c = ComputeCommandStates(ReadIdleState());
    // setEnabled does nothing when the state is unchanged, so this stays cheap and
    // posts no events that would wake the loop again.
    mmSave->setEnabled(c.save);
    sbSave->setEnabled(c.save);
    mmSaveAs->setEnabled(c.saveAs);
    mmClose->setEnabled(c.close);
    mmCloseAll->setEnabled(c.closeAll);
    for (QAction* action : {mmCascade, mmTileHor, mmTileVer, mmMinAll, sbCascade, sbTileHor, sbTileVer}) {
        action->setEnabled(c.arrange);
    }
    SetCommandTargets();
    for (DocumentController* controller : CommandControllers())
        controller->UpdateEnabling(c);
    sbProperties->setEnabled(c.properties);
}

void MainWindow::RebuildMenuBar() {
    QList<QMenu*> menus{mmFile};
    if (const DocumentWindow* document = ActiveDocument()) {
        if (document->EditMenu() != nullptr) menus << document->EditMenu();
        if (document->DataMenu() != nullptr) menus << document->DataMenu();
    }
    menus << mmWin << mmHelp;

    QList<QAction*> wanted;
    for (QMenu* menu : menus)
        wanted << menu->menuAction();
    QMenuBar* bar = menuBar();
    if (bar->actions() == wanted) return;  // unchanged: no flicker
    for (QAction* action : bar->actions())
        bar->removeAction(action);
    bar->addActions(wanted);
}

void MainWindow::mmWinPopup() {
    qDeleteAll(windowListActions_);
    windowListActions_.clear();
    const QList<QMdiSubWindow*> windows = mdiArea_->subWindowList(QMdiArea::CreationOrder);
    if (windows.isEmpty()) return;
    windowListActions_ << mmWin->addSeparator();
    const QMdiSubWindow* current = mdiArea_->currentSubWindow();
    int number = 1;
    for (QMdiSubWindow* window : windows) {
        const QString caption = MenuText(window->windowTitle());
        const QString text = number <= 9 ? QStringLiteral("&%1 %2").arg(number).arg(caption)
                                         : QStringLiteral("%1 %2").arg(number).arg(caption);
        QAction* action = mmWin->addAction(text);
        action->setCheckable(true);
        action->setChecked(window == current);
        const QPointer<QMdiSubWindow> target(window);
        connect(action, &QAction::triggered, this, [this, target] {
            if (target) ActivateDocument(target);
        });
        windowListActions_ << action;
        ++number;
    }
}

void MainWindow::ActivateDocument(QMdiSubWindow* window) {
    tabBar_->ActivateForm(window);
}

void MainWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (shown_) return;
    shown_ = true;
    // Open the command-line files once the window is on screen.
    QMetaObject::invokeMethod(this, &MainWindow::FormShow, Qt::QueuedConnection);
}

void MainWindow::FormShow() {
    QString leftover;
    const QStringList files = JoinCommandLineFiles(commandLine_, &leftover);
    if (!files.isEmpty()) {
        SplashStatus(QStringLiteral("Loading files..."));
        // One guard for all: an error abandons the files after it.
        RunGuarded(messages_, [this, &files] {
            for (const QString& file : files)
                OpenDocument(file);
        });
    }
    // Arguments that named no file open nothing; the user hears of it.
    if (!leftover.isEmpty()) messages_.Error(QStringLiteral("Cannot open file %1.").arg(leftover));
    if (SplashScreen* splash = splash_.data(); splash != nullptr && splash->isVisible()) {
        // Nothing was opened: leave the splash a moment to be read, then let it go
        // by itself unless it is clicked first.
        SplashStatus(QStringLiteral("Click to close"));
        QTimer::singleShot(1500, splash, &SplashScreen::cmClose);
    }
    emit StartupFilesOpened();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    bool allClosed = false;
    RunGuarded(messages_, [this, &allClosed] { allClosed = tabBar_->CloseAll(); });
    if (!allClosed) {
        // A document whose save failed stays open, and so does the main window.
        event->ignore();
        return;
    }
    session_.Packages().UnloadAllPackages();
    QMainWindow::closeEvent(event);
}

}  // namespace fw
