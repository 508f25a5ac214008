#include "document/documentwindow.h"

#include <Qsci/qscicommand.h>
#include <Qsci/qscicommandset.h>
#include <Qsci/qsciscintilla.h>

#include <QAction>
#include <QClipboard>
#include <QCloseEvent>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QScopedValueRollback>
#include <QSplitter>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTabBar>
#include <QTimer>
#include <QToolTip>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <exception>
#include <filesystem>
#include <vector>

#include "base/asciitext.h"
#include "base/atomicfile.h"
#include "base/errors.h"
#include "base/stream.h"
#include "codec/conversion.h"
#include "codec/textlines.h"
#include "document/designedits.h"
#include "document/editorlogic.h"
#include "document/findreplacedialog.h"
#include "document/formlexer.h"
#include "document/formtext.h"
#include "document/messagelist.h"
#include "document/noderesolve.h"
#include "document/objectscan.h"
#include "document/objecttreeview.h"
#include "document/treeimages.h"
#include "document/usermessages.h"
#include "edit/formedit.h"
#include "preview/designoverlay.h"
#include "preview/drawnlook.h"
#include "preview/formlines.h"
#include "preview/oipanel.h"
#include "preview/realizer.h"
#include "preview/virtualdesktop.h"
#include "runtime/formbuild.h"
#include "runtime/propertylister.h"

namespace fw {

namespace {

// File names go to the system in the local 8-bit encoding, as Qt's own file classes do.
std::string NativePath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

QString FromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QsciScintilla::EolMode EolModeOf(LineBreak lineBreak) {
    switch (lineBreak) {
        case LineBreak::Cr:
            return QsciScintilla::EolMac;
        case LineBreak::Lf:
            return QsciScintilla::EolUnix;
        case LineBreak::CrLf:
            break;
    }
    return QsciScintilla::EolWindows;
}

struct PanelLayout {
    int Width;
    Qt::Alignment Alignment;
    const char* InitialText;
};

// Until the first status refresh the panels show these texts.
constexpr std::array<PanelLayout, 5> Panels = {{
    {100, Qt::AlignLeft | Qt::AlignVCenter, "Object count: 0"},
    {250, Qt::AlignLeft | Qt::AlignVCenter, "Col: 1   Ln: 1   Cnt: ?  Sel: 0   Chr: 00 (00h)"},
    {50, Qt::AlignCenter, "Modified"},
    {60, Qt::AlignCenter, "Overwrite"},
    {50, Qt::AlignLeft | Qt::AlignVCenter, ""},
}};

constexpr int ObjectCountPanel = 0;
constexpr int CaretPanel = 1;
constexpr int ModifiedPanel = 2;
constexpr int InsertPanel = 3;
constexpr int FileNamePanel = 4;

// The item data of a message's 0-based text line, -1 when it has none.
constexpr int MessageLineRole = Qt::UserRole + 1;

// The keys kept away from the editor: Shift+Backspace, Shift+Enter, Tab, Shift+Tab
// (which arrives as Backtab), F1, Ctrl+Shift+B and Ctrl+L.
// Ctrl+L is Go to line here, not the editor's line cut.
const std::array<QKeyCombination, 9> RemovedEditorKeys = {
    Qt::SHIFT | Qt::Key_Backspace, Qt::SHIFT | Qt::Key_Return,       Qt::SHIFT | Qt::Key_Enter,
    QKeyCombination(Qt::Key_Tab),  Qt::SHIFT | Qt::Key_Tab,          Qt::SHIFT | Qt::Key_Backtab,
    QKeyCombination(Qt::Key_F1),   Qt::CTRL | Qt::SHIFT | Qt::Key_B, Qt::CTRL | Qt::Key_L,
};

bool IsRemovedEditorKey(int key) {
    return key != 0 && std::any_of(RemovedEditorKeys.begin(), RemovedEditorKeys.end(),
                                   [key](QKeyCombination removed) { return removed.toCombined() == key; });
}

// The hourglass while a command runs; the normal cursor comes back however it ends.
class WaitCursor {
public:
    WaitCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QGuiApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

// What the object tree's scan asks of the live preview and the class registry: the
// preview form built just before each scan (its owned components, their published
// collection properties and items) and the class registry.
class PreviewLookup final : public HierarchyLookup {
public:
    PreviewLookup(const DocumentWindow& document, const rt::ClassRegistry& registry)
        : document_(document), registry_(registry) {}

    std::optional<std::string> CollectionType(std::string_view owner, std::string_view property) override {
        rt::PropertyLister lister;
        if (!Inspect(lister, owner)) return std::nullopt;
        const rt::Property* p = lister.FindProp(property);
        if (!p) return std::nullopt;
        return std::string(p->Type().Name);
    }

    std::optional<std::pair<std::string, std::string>> CollectionItem(std::string_view owner,
                                                                      std::string_view property,
                                                                      int index) override {
        rt::PropertyLister lister;
        rt::Object* component = Inspect(lister, owner);
        if (!component || index < 0) return std::nullopt;
        const rt::Property* p = lister.FindProp(property);
        if (!p || p->Kind() != rt::TypeKind::tkClass) return std::nullopt;
        const rt::Object* collection = component->ObjectValue(*p);
        if (!collection || !collection->InheritsFrom("TCollection")) return std::nullopt;
        const auto& items = collection->Items();
        if (static_cast<std::size_t>(index) >= items.size()) return std::nullopt;
        const rt::Object& item = *items[static_cast<std::size_t>(index)];
        return std::make_pair(item.DisplayName(), std::string(item.ClassName()));
    }

    bool IsControlClass(std::string_view className) override {
        const rt::Class* cls = registry_.FindClassByName(className);
        return cls && cls->InheritsFrom("TControl");
    }

private:
    // The component of the preview form named owner (never the form itself), inspected.
    rt::Object* Inspect(rt::PropertyLister& lister, std::string_view owner) const {
        rt::Object* form = document_.PreviewForm();
        if (!form) return nullptr;
        rt::Object* component = form->FindOwnedComponent(owner);
        if (!component) return nullptr;
        lister.Inspect(component);
        return component;
    }

    const DocumentWindow& document_;
    const rt::ClassRegistry& registry_;
};

// The path under which the form's editor finds a node's object, and the prefix of the
// properties of a collection item on its owner ("Columns[1]."): the name alone where
// no other object of the text has it, else the steps from the root, "#n" for an
// unnamed object at its position. Empty for an object no line of the text writes.
std::pair<std::string, std::string> EditPathOf(const Hierarchy& nodes, int node) {
    std::string prefix;
    const auto at = [&](int index) -> const ObjectNode& {
        return nodes.Nodes[static_cast<std::size_t>(index)];
    };
    while (node >= 0 && at(node).Kind == NodeKind::Item) {
        const int collection = at(node).Parent;
        if (collection < 0 || at(collection).Kind != NodeKind::Collection) return {};
        const std::vector<int>& items = at(collection).Children;
        const auto index = std::find(items.begin(), items.end(), node) - items.begin();
        prefix = at(collection).Name + "[" + std::to_string(index) + "]." + prefix;
        node = at(collection).Parent;
    }
    if (node < 0 || at(node).Outer || at(node).Kind == NodeKind::Collection) return {};
    const auto unique = [&](const std::string& name) {
        int count = 0;
        for (const ObjectNode& other : nodes.Nodes)
            if (!other.Outer && (other.Kind == NodeKind::Root || other.Kind == NodeKind::Component) &&
                EqualsIgnoringCase(other.Name, name))
                ++count;
        return count == 1;
    };
    if (!at(node).Name.empty() && unique(at(node).Name)) return {at(node).Name, prefix};
    std::string path;
    for (int step = node; step >= 0; step = at(step).Parent) {
        const int position = nodes.ObjectPosition(step);
        const std::string name =
            at(step).Name.empty() && position >= 0 ? "#" + std::to_string(position) : at(step).Name;
        path = path.empty() ? name : name + "." + path;
    }
    return {path, prefix};
}

// The edits that set several properties of one object, or remove those with an empty
// value, one after the other, as one change of the text. A new name renames the object,
// with the references to it.
edit::EditResult SetProperties(const edit::FormEditor& editor, const CodePage& codePage,
                               rt::ClassRegistry& registry, const std::string& object,
                               const std::vector<std::pair<std::string, std::string>>& values) {
    const auto one = [&](const edit::FormEditor& e, const std::pair<std::string, std::string>& value) {
        if (value.first == "Name") return e.RenameObject(object, value.second);
        if (value.second.empty()) return e.RemoveProperty(object, value.first);
        return e.SetProperty(object, value.first, value.second);
    };
    if (values.size() == 1) return one(editor, values.front());
    std::string text(editor.Text());
    edit::EditResult all;
    for (const auto& value : values) {
        const edit::FormEditor step(text, codePage, &registry);
        edit::EditResult result = one(step, value);
        text = edit::ApplyEdits(text, result.Edits);
        all.Changes.insert(all.Changes.end(), result.Changes.begin(), result.Changes.end());
        all.Properties.insert(all.Properties.end(), result.Properties.begin(), result.Properties.end());
        all.Structural = all.Structural || result.Structural;
    }
    // The whole text replaced: EditForm puts only the span that differs into the editor.
    if (text != editor.Text()) all.Edits.push_back({0, editor.Text().size(), std::move(text)});
    return all;
}

}  // namespace

// Holds the status refresh while a command moves the caret and selection in several
// steps (to line 1 and then to a match, say), so the tree follows only the last place.
class DocumentWindow::StatusBatch {
public:
    explicit StatusBatch(DocumentWindow& document) : document_(document) { ++document_.statusHeld_; }
    ~StatusBatch() {
        if (--document_.statusHeld_ == 0) document_.DFMStatusChange();
    }
    StatusBatch(const StatusBatch&) = delete;
    StatusBatch& operator=(const StatusBatch&) = delete;

private:
    DocumentWindow& document_;
};

// The source editor's buffer as the document's text store. While a load fills it the
// editor records no undo step and sends no change notifications: the editor widget
// would turn the whole text into a QString for each of them, which costs more than the
// load itself.
class EditorTextBuffer final : public TextBuffer {
public:
    explicit EditorTextBuffer(QsciScintilla& editor) : editor_(editor) {}

    std::string_view Utf8() const override {
        const long length = editor_.SendScintilla(QsciScintillaBase::SCI_GETLENGTH);
        if (length <= 0) return {};
        const auto* text =
            reinterpret_cast<const char*>(editor_.SendScintilla(QsciScintillaBase::SCI_GETCHARACTERPOINTER));
        return {text, static_cast<std::size_t>(length)};
    }
    void BeginLoad() override {
        eventMask_ = editor_.SendScintilla(QsciScintillaBase::SCI_GETMODEVENTMASK);
        editor_.SendScintilla(QsciScintillaBase::SCI_SETMODEVENTMASK, 0UL);
        editor_.SendScintilla(QsciScintillaBase::SCI_SETUNDOCOLLECTION, 0UL);
        editor_.SendScintilla(QsciScintillaBase::SCI_CLEARALL);
    }
    void Reserve(std::size_t bytes) override {
        editor_.SendScintilla(QsciScintillaBase::SCI_ALLOCATE, static_cast<unsigned long>(bytes));
    }
    void Append(std::string_view utf8) override {
        editor_.SendScintilla(QsciScintillaBase::SCI_APPENDTEXT, static_cast<unsigned long>(utf8.size()),
                              utf8.data());
    }
    void EndLoad() override {
        editor_.SendScintilla(QsciScintillaBase::SCI_SETMODEVENTMASK, static_cast<unsigned long>(eventMask_));
        editor_.SendScintilla(QsciScintillaBase::SCI_SETUNDOCOLLECTION, 1UL);
        editor_.SendScintilla(QsciScintillaBase::SCI_EMPTYUNDOBUFFER);
        editor_.SendScintilla(QsciScintillaBase::SCI_SETSAVEPOINT);
    }
    void Clear() override { editor_.SendScintilla(QsciScintillaBase::SCI_CLEARALL); }
    bool ChangedSinceSave() const override { return editor_.isModified(); }
    // The editor tells of the save point through modificationChanged, which the window
    // passes on.
    void MarkSaved() override { editor_.setModified(false); }

private:
    QsciScintilla& editor_;
    long eventMask_ = 0;
};

DocumentWindow::DocumentWindow(UserMessages& messages, const CodePage& codePage,
                               preview::PreviewContext& preview, QWidget* parent)
    : QMdiSubWindow(parent),
      messages_(messages),
      preview_(preview),
      lookup_(std::make_unique<PreviewLookup>(*this, preview.Registry())) {
    setAttribute(Qt::WA_DeleteOnClose);
    // The document's text lives in the editor's buffer, so the two come first.
    editor_ = new QsciScintilla;
    editorBuffer_ = std::make_unique<EditorTextBuffer>(*editor_);
    document_ = new FormDocument(messages_, codePage, *editorBuffer_, this);
    BuildWidgets();
    codePageLabel_->setText(document_->CodePageText());
    connect(document_, &FormDocument::CodePageChanged, this,
            [this] { codePageLabel_->setText(document_->CodePageText()); });
    connect(document_, &FormDocument::FileNameChanged, this,
            [this](const QString& path) { setWindowTitle(QFileInfo(path).fileName()); });
    connect(document_, &FormDocument::ModifiedChanged, this, &DocumentWindow::DFMChange);
    connect(document_, &FormDocument::Loaded, this, &DocumentWindow::DocumentLoaded);
    // An unnamed document goes by the window's caption.
    connect(this, &QWidget::windowTitleChanged, document_, &FormDocument::SetCaption);
    BuildMenus();
    // All options off until the main window hands its own in.
    ApplyInterfaceOptions(false, false, false, false);
    setWindowTitle(QStringLiteral("Untitled"));
    setWindowState(Qt::WindowMaximized);
    connect(this, &QMdiSubWindow::aboutToActivate, this, &DocumentWindow::DFMStatusChange);
}

DocumentWindow::~DocumentWindow() {
    // The editor's buffer goes before the editor: the editor tells this window nothing more.
    editor_->disconnect(this);
    // The live objects go before the widgets that point at them.
    inspectedObject_ = nullptr;
    if (inspector_) inspector_->ForgetObjects();
    if (desktop_) desktop_->DisposePreview();
}

void DocumentWindow::BuildWidgets() {
    auto* body = new QWidget(this);
    auto* layout = new QVBoxLayout(body);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    // Tree | source/preview above the message list | inspector.
    auto* columns = new QSplitter(Qt::Horizontal, body);
    columns->setObjectName(QStringLiteral("Columns"));
    tree_ = new ObjectTreeView(columns);
    tree_->setObjectName(QStringLiteral("Tree"));
    // Shown by a scan that finds objects, or when lines are handed over.
    tree_->hide();

    // ESplitter: the source/preview area above the message list EList.
    centreSplitter_ = new QSplitter(Qt::Vertical, columns);
    centreSplitter_->setObjectName(QStringLiteral("ESplitter"));
    centreSplitter_->setChildrenCollapsible(false);
    auto* area = new QWidget(centreSplitter_);
    auto* areaLayout = new QVBoxLayout(area);
    areaLayout->setContentsMargins(0, 0, 0, 0);
    areaLayout->setSpacing(0);
    pages_ = new QStackedWidget(area);
    pages_->setObjectName(QStringLiteral("nbk"));
    editor_->setObjectName(QStringLiteral("DFM"));
    auto* sourcePage = new QWidget;
    sourcePage->setObjectName(QStringLiteral("Source"));
    auto* sourceLayout = new QVBoxLayout(sourcePage);
    sourceLayout->setContentsMargins(0, 0, 0, 0);
    sourceLayout->addWidget(editor_);
    pages_->addWidget(sourcePage);
    desktop_ = new preview::VirtualDesktop(preview_);
    auto* formPage = new QWidget;
    formPage->setObjectName(QStringLiteral("Form"));
    auto* formLayout = new QVBoxLayout(formPage);
    formLayout->setContentsMargins(0, 0, 0, 0);
    formLayout->addWidget(desktop_);
    pages_->addWidget(formPage);
    sourceTabs_ = new QTabBar(area);
    sourceTabs_->setObjectName(QStringLiteral("ts"));
    sourceTabs_->setShape(QTabBar::RoundedSouth);
    sourceTabs_->setDrawBase(false);
    sourceTabs_->setFocusPolicy(Qt::NoFocus);
    sourceTabs_->addTab(QStringLiteral(" Source Editor "));
    sourceTabs_->addTab(QStringLiteral(" Form Preview "));
    sourceTabs_->setCurrentIndex(0);
    areaLayout->addWidget(pages_, 1);
    areaLayout->addWidget(sourceTabs_, 0, Qt::AlignLeft);
    messageList_ = new QTreeWidget(centreSplitter_);
    messageList_->setObjectName(QStringLiteral("EList"));
    messageList_->setColumnCount(3);
    messageList_->setHeaderLabels(
        {QStringLiteral("Messages (0)"), QStringLiteral("Object"), QStringLiteral("Line")});
    messageList_->setRootIsDecorated(false);
    messageList_->setUniformRowHeights(true);
    messageList_->setAllColumnsShowFocus(true);
    messageList_->header()->setStretchLastSection(true);
    messageList_->hide();
    centreSplitter_->setStretchFactor(0, 1);
    centreSplitter_->setStretchFactor(1, 0);
    centreSplitter_->setSizes({400, 80});

    inspector_ = new preview::OIPanel(columns);
    inspector_->setObjectName(QStringLiteral("Inspector"));
    oiTitle_ = inspector_->OITitle();
    inspector_->SetSaveDialog([this](const QString& filter) { return messages_.AskSavePicturePath(filter); });
    inspector_->SetErrorHandler(
        [this](const std::function<void()>& command) { RunGuarded(messages_, command); });
    columns->setStretchFactor(0, 0);
    columns->setStretchFactor(1, 1);
    columns->setStretchFactor(2, 0);
    // The tree is wide enough for typical component names three or four levels deep.
    columns->setSizes({280, 560, 260});

    statusBar_ = new QStatusBar(body);
    statusBar_->setObjectName(QStringLiteral("sb"));
    statusBar_->setSizeGripEnabled(false);
    for (std::size_t i = 0; i < Panels.size(); ++i) {
        auto* label = new QLabel(FromUtf8(Panels[i].InitialText), statusBar_);
        label->setMinimumWidth(Panels[i].Width);
        label->setAlignment(Panels[i].Alignment);
        // The last panel takes the rest of the line: it holds the file's full path.
        statusBar_->addWidget(label, i + 1 == Panels.size() ? 1 : 0);
        panels_[i] = label;
    }
    codePageLabel_ = new QLabel(statusBar_);
    codePageLabel_->setObjectName(QStringLiteral("codePage"));
    statusBar_->addPermanentWidget(codePageLabel_);

    layout->addWidget(columns, 1);
    layout->addWidget(statusBar_);
    setWidget(body);

    editor_->setUtf8(true);
    auto* lexer = new FormLexer(editor_);
    editor_->setLexer(lexer);
    QFont font = lexer->defaultFont();
    font.setPointSize(10);
    editor_->setFont(font);
    editor_->setMarginsFont(font);
    editor_->setMarginType(0, QsciScintilla::NumberMargin);
    editor_->setMarginLineNumbers(0, true);
    editor_->setEolMode(QsciScintilla::EolWindows);
    UpdateLineNumberWidth();
    // The caret line turns yellow from the first status refresh on, focused or not.
    editor_->setCaretLineBackgroundColor(CaretLineColor());
    editor_->SendScintilla(QsciScintillaBase::SCI_SETCARETLINEVISIBLEALWAYS, 1UL);
    editor_->setCaretLineVisible(false);
    RemoveEditorKeys();
    editor_->installEventFilter(this);

    replaceDialog_ = new FindReplaceDialog(this);
    connect(replaceDialog_, &FindReplaceDialog::FindNextClicked, this, &DocumentWindow::rdFind);
    connect(replaceDialog_, &FindReplaceDialog::ReplaceClicked, this, [this] { rdReplace(false); });
    connect(replaceDialog_, &FindReplaceDialog::ReplaceAllClicked, this, [this] { rdReplace(true); });

    connect(editor_, &QsciScintilla::modificationChanged, this,
            [this] { editorBuffer_->NotifySavePointChanged(); });
    connect(editor_, &QsciScintilla::linesChanged, this, &DocumentWindow::UpdateLineNumberWidth);
    // The editor tells of a caret move at once through the selection, which every move
    // changes; its UI update, sent before painting, covers the rest. A change of the
    // text is told before the caret has moved past it, so that refresh comes after.
    connect(editor_, &QsciScintilla::textChanged, this, [this] {
        editorBuffer_->NotifyTextChanged();
        ScheduleStatusChange();
        ScheduleLiveRefresh();
    });
    connect(editor_, &QsciScintilla::selectionChanged, this, &DocumentWindow::DFMStatusChange);
    connect(editor_, &QsciScintillaBase::SCN_UPDATEUI, this, [this](int updated) {
        if (updated & (QsciScintillaBase::SC_UPDATE_CONTENT | QsciScintillaBase::SC_UPDATE_SELECTION))
            DFMStatusChange();
    });
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this, &DocumentWindow::UpdateEditActions);
    connect(tree_, &QTreeWidget::itemSelectionChanged, this, &DocumentWindow::TreeChange);
    connect(sourceTabs_, &QTabBar::currentChanged, this, &DocumentWindow::tsChange);
    connect(desktop_, &preview::VirtualDesktop::ObjectEnter, this, &DocumentWindow::ObjectEnter);
    connect(desktop_, &preview::VirtualDesktop::ObjectMouseMove, this, &DocumentWindow::ObjectMouseMove);
    connect(desktop_, &preview::VirtualDesktop::ObjectsPlaced, this, &DocumentWindow::PlaceObjects);
    connect(desktop_, &preview::VirtualDesktop::DeleteRequested, this, &DocumentWindow::DeleteObjects);
    // A build destroys the objects the inspector's rows hold; BuildPreview fills the
    // rows again for the selected node.
    connect(desktop_, &preview::VirtualDesktop::PreviewBuilt, inspector_, &preview::OIPanel::ForgetObjects);
    connect(inspector_, &preview::OIPanel::PropertyEdited, this, &DocumentWindow::InspectorEdited);
    liveTimer_ = new QTimer(this);
    liveTimer_->setSingleShot(true);
    connect(liveTimer_, &QTimer::timeout, this, &DocumentWindow::LiveRefresh);
    connect(tree_, &QTreeWidget::itemDoubleClicked, this, [this] { cmGoto(); });
    connect(messageList_, &QTreeWidget::itemActivated, this,
            [this](const QTreeWidgetItem* item) { GotoMessage(item); });
    editor_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(editor_, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        EditMenuPopup();
        editorPopup_->popup(editor_->mapToGlobal(at));
    });
}

void DocumentWindow::RemoveEditorKeys() {
    for (QsciCommand* command : editor_->standardCommands()->commands()) {
        if (IsRemovedEditorKey(command->key())) command->setKey(0);
        if (IsRemovedEditorKey(command->alternateKey())) command->setAlternateKey(0);
    }
}

void DocumentWindow::BuildMenus() {
    // The actions live in this document's menus only, with the window context. A menu
    // action's shortcut counts only while its menu is in a visible menu bar, and the main
    // window shows the menus of the active document alone: so a key reaches the active
    // document, wherever the focus is in the main window, and never another open one.
    auto add = [this](QMenu* menu, const char* text, QKeySequence key, void (DocumentWindow::*slot)()) {
        QAction* action = menu->addAction(FromUtf8(text));
        if (!key.isEmpty()) action->setShortcut(key);
        action->setShortcutContext(Qt::WindowShortcut);
        connect(action, &QAction::triggered, this, slot);
        return action;
    };

    editMenu_ = new QMenu(QStringLiteral("&Edit"), this);
    editMenu_->setObjectName(QStringLiteral("mmEdit"));
    undoAction_ = add(editMenu_, "&Undo", QKeySequence(Qt::ALT | Qt::Key_Backspace), &DocumentWindow::cmUndo);
    editMenu_->addSeparator();
    copyAction_ = add(editMenu_, "Copy", {}, &DocumentWindow::cmCopy);
    cutAction_ = add(editMenu_, "Cut", {}, &DocumentWindow::cmCut);
    pasteAction_ = add(editMenu_, "Paste", {}, &DocumentWindow::cmPaste);
    editMenu_->addSeparator();
    add(editMenu_, "&Find and Replace...", QKeySequence(Qt::CTRL | Qt::Key_F), &DocumentWindow::cmReplace);
    add(editMenu_, "Find &next", QKeySequence(Qt::Key_F3), &DocumentWindow::cmFindnext);
    editMenu_->addSeparator();
    QAction* gotoSource =
        add(editMenu_, "&Goto source", QKeySequence(Qt::CTRL | Qt::Key_Return), &DocumentWindow::cmGoto);
    // Ctrl with the keypad's Enter does the same as with Return.
    gotoSource->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_Return), QKeySequence(Qt::CTRL | Qt::Key_Enter)});
    add(editMenu_, "Go to &line...", QKeySequence(Qt::CTRL | Qt::Key_L), &DocumentWindow::cmGotoLine);
    add(editMenu_, "Show &decoded string", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_D),
        &DocumentWindow::cmShowDecodedString);
    editMenu_->addSeparator();
    add(editMenu_, "Full e&xpand", QKeySequence(Qt::CTRL | Qt::Key_PageDown), &DocumentWindow::cmExpand);
    add(editMenu_, "Full &collapse", QKeySequence(Qt::CTRL | Qt::Key_PageUp), &DocumentWindow::cmCollapse);
    editMenu_->addSeparator();
    add(editMenu_, "Reopen with code page...", {}, &DocumentWindow::cmReopenWithCodePage);
    add(editMenu_, "Save with code page...", {}, &DocumentWindow::cmSaveWithCodePage);

    dataMenu_ = new QMenu(QStringLiteral("&Data"), this);
    dataMenu_->setObjectName(QStringLiteral("mmData"));
    add(dataMenu_, "&Form Preview", QKeySequence(Qt::Key_F12), &DocumentWindow::cmPreview);
    add(dataMenu_, "&Rescan objects", QKeySequence(Qt::CTRL | Qt::Key_R), &DocumentWindow::cmRescan);
    dataMenu_->addSeparator();
    add(dataMenu_, "Save Form Image...", {}, &DocumentWindow::mmSaveFormImageClick);
    add(dataMenu_, "Load and Paste Data...", {}, &DocumentWindow::cmLoadData);
    previewAction_ = dataMenu_->actions().first();

    // The popup menus show their keys; a key acts through the document's menus, except
    // where noted, so no key is bound twice.
    treeMenu_ = new QMenu(this);
    treeMenu_->setObjectName(QStringLiteral("TreeMenu"));
    QAction* treeGoto =
        add(treeMenu_, "Goto source", QKeySequence(Qt::CTRL | Qt::Key_G), &DocumentWindow::cmGoto);
    // Ctrl+G belongs to the tree alone.
    treeGoto->setShortcutContext(Qt::WidgetShortcut);
    tree_->addAction(treeGoto);
    treeMenu_->addSeparator();
    add(treeMenu_, "Full expand", QKeySequence(Qt::CTRL | Qt::Key_PageDown), &DocumentWindow::cmExpand);
    add(treeMenu_, "Full collapse", QKeySequence(Qt::CTRL | Qt::Key_PageUp), &DocumentWindow::cmCollapse);
    treeMenu_->addSeparator();
    add(treeMenu_, "Rescan hierarchy", QKeySequence(Qt::CTRL | Qt::Key_R), &DocumentWindow::cmRescan);
    tree_->SetPopupMenu(treeMenu_);

    editorPopup_ = new QMenu(this);
    editorPopup_->setObjectName(QStringLiteral("EditMenu"));
    // The editor's own bindings run undo and the clipboard commands on these keys.
    popupUndo_ =
        add(editorPopup_, "Undo", QKeySequence(Qt::ALT | Qt::Key_Backspace), &DocumentWindow::cmUndo);
    editorPopup_->addSeparator();
    popupCopy_ = add(editorPopup_, "Copy", QKeySequence(Qt::CTRL | Qt::Key_Insert), &DocumentWindow::cmCopy);
    popupCut_ = add(editorPopup_, "Cut", QKeySequence(Qt::SHIFT | Qt::Key_Delete), &DocumentWindow::cmCut);
    popupPaste_ =
        add(editorPopup_, "Paste", QKeySequence(Qt::SHIFT | Qt::Key_Insert), &DocumentWindow::cmPaste);
    editorPopup_->addSeparator();
    add(editorPopup_, "Find and Replace...", QKeySequence(Qt::CTRL | Qt::Key_F), &DocumentWindow::cmReplace);
    add(editorPopup_, "Find next", QKeySequence(Qt::Key_F3), &DocumentWindow::cmFindnext);
    editorPopup_->addSeparator();
    popupPreview_ =
        add(editorPopup_, "Preview Form", QKeySequence(Qt::CTRL | Qt::Key_P), &DocumentWindow::cmPreview);
    // Ctrl+P is the popup's own key, live while the editor has the focus.
    popupPreview_->setShortcutContext(Qt::WidgetShortcut);
    editor_->addAction(popupPreview_);
    editorPopup_->addSeparator();
    add(editorPopup_, "Load and Paste Data...", {}, &DocumentWindow::cmLoadData);

    UpdateEditActions();
}

// ---- loading ----

void DocumentWindow::OpenDocumentFile(const QString& path) {
    document_->Load(path);
}

void DocumentWindow::LoadFromLines(const QByteArray& text) {
    document_->LoadText(text);
    tree_->show();
    editor_->show();
}

void DocumentWindow::DocumentLoaded() {
    editor_->setEolMode(EolModeOf(document_->LineBreaks()));
    editor_->SendScintilla(QsciScintillaBase::SCI_GOTOPOS, 0UL);
    UpdateLineNumberWidth();
    UpdateEditActions();
    DFMChange();
    panels_[FileNamePanel]->setText(document_->FileName());
    cmRescan();
}

void DocumentWindow::cmReopenWithCodePage() {
    if (document_->FileName().isEmpty()) return;
    if (const std::optional<int> number = messages_.AskCodePage(document_->TextCodePage().Number()))
        if (const CodePage* page = CodePage::Find(*number)) document_->ReopenWithCodePage(*page);
}

void DocumentWindow::cmSaveWithCodePage() {
    if (const std::optional<int> number = messages_.AskCodePage(document_->TextCodePage().Number()))
        if (const CodePage* page = CodePage::Find(*number))
            RunGuarded(messages_, [this, page] { document_->SaveWithCodePage(*page); });
}

bool DocumentWindow::EditForm(const FormEdit& edit) {
    try {
        const QByteArray bytes = document_->TextBytes();
        const std::string_view text(bytes.constData(), static_cast<std::size_t>(bytes.size()));
        const edit::FormEditor editor(text, document_->TextCodePage(), &preview_.Registry());
        const edit::EditResult result = edit(editor);
        if (result.Empty()) return true;
        std::vector<LineShift> shifts;
        if (!ApplyEditsInPlace(text, result.Edits, shifts)) ApplyEditsWhole(text, result.Edits, shifts);
        FollowEdit(result, shifts);
        return true;
    } catch (const Exception& error) {
        messages_.Error(QString::fromUtf8(error.what()));
        return false;
    }
}

DocumentWindow::LineShift DocumentWindow::ReplaceEditorSpan(std::size_t start, std::size_t end,
                                                            std::string_view replacement) {
    // The lines from the first one that starts at or after the end of the replaced span
    // move by the number of lines the replacement adds.
    const auto endLine = static_cast<int>(
        editor_->SendScintilla(QsciScintillaBase::SCI_LINEFROMPOSITION, static_cast<unsigned long>(end)));
    const auto endLineStart = static_cast<std::size_t>(
        editor_->SendScintilla(QsciScintillaBase::SCI_POSITIONFROMLINE, static_cast<unsigned long>(endLine)));
    const int before = editor_->lines();
    editor_->SendScintilla(QsciScintilla::SCI_SETTARGETSTART, static_cast<unsigned long>(start));
    editor_->SendScintilla(QsciScintilla::SCI_SETTARGETEND, static_cast<unsigned long>(end));
    editor_->SendScintilla(QsciScintilla::SCI_REPLACETARGET, static_cast<unsigned long>(replacement.size()),
                           replacement.data());
    return {endLineStart == end ? endLine : endLine + 1, editor_->lines() - before};
}

bool DocumentWindow::ApplyEditsInPlace(std::string_view bytes, const std::vector<edit::TextEdit>& edits,
                                       std::vector<LineShift>& shifts) {
    // The editor holds UTF-8: the document's bytes are the editor's own after a UTF-8
    // text's byte-order mark, and so are those of 8-bit text and values that are all
    // ASCII. Then each replacement goes in at its offset, the last first so that the
    // offsets before it still hold.
    // A replacement of the whole text is put in by the span that differs.
    if (edits.size() == 1 && edits.front().Length == bytes.size()) return false;
    std::size_t mark = 0;
    if (document_->Utf8()) {
        mark = Utf8ByteOrderMark.size();
        if (edits.front().Offset < mark) return false;
    } else {
        if (!IsAscii(bytes)) return false;
        for (const edit::TextEdit& e : edits)
            if (!IsAscii(e.Text)) return false;
    }
    editor_->beginUndoAction();
    for (auto e = edits.rbegin(); e != edits.rend(); ++e)
        shifts.push_back(ReplaceEditorSpan(e->Offset - mark, e->Offset - mark + e->Length, e->Text));
    editor_->endUndoAction();
    return true;
}

void DocumentWindow::ApplyEditsWhole(std::string_view bytes, const std::vector<edit::TextEdit>& edits,
                                     std::vector<LineShift>& shifts) {
    // The edited bytes as the editor holds them; only the span between the common
    // start and end of the old and new editor text is replaced, in one undo step.
    std::string edited = edit::ApplyEdits(bytes, edits);
    if (document_->Utf8())
        edited.erase(0, std::min(edited.size(), Utf8ByteOrderMark.size()));
    else
        edited = EditorTextFromBytes(edited, document_->TextCodePage());
    const std::string_view old = EditorUtf8();
    const std::size_t common = std::min(old.size(), edited.size());
    const auto head = static_cast<std::size_t>(
        std::mismatch(old.begin(), old.begin() + static_cast<std::ptrdiff_t>(common), edited.begin()).first -
        old.begin());
    const auto tail = static_cast<std::size_t>(
        std::mismatch(old.rbegin(), old.rbegin() + static_cast<std::ptrdiff_t>(common - head),
                      edited.rbegin())
            .first -
        old.rbegin());
    const std::string_view replacement = std::string_view(edited).substr(head, edited.size() - head - tail);
    editor_->beginUndoAction();
    shifts.push_back(ReplaceEditorSpan(head, old.size() - tail, replacement));
    editor_->endUndoAction();
}

void DocumentWindow::FollowEdit(const edit::EditResult& result, const std::vector<LineShift>& shifts) {
    // A change of objects, or one that does not say which values it wrote, is followed
    // by reading the whole text again.
    if (result.Structural || result.Properties.empty() || objectCount_ == 0) {
        cmRescan();
        return;
    }
    // Values only: the objects and their order stay, only the lines after the edit
    // move (the shifts come last edit first, each in the lines before it). The tree
    // and the message list keep their rows with the lines moved, the preview takes
    // the new values, and the inspected object shows them; the live refresh that the
    // change of the text started reads everything again a moment later.
    for (const LineShift& shift : shifts) {
        if (shift.By == 0) continue;
        tree_->ShiftLines(shift.From, shift.By);
        ShiftMessageLines(shift.From, shift.By);
    }
    UpdatePreviewValues(result);
}

void DocumentWindow::ShiftMessageLines(int from, int by) {
    for (int i = 0; i < messageList_->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = messageList_->topLevelItem(i);
        bool ok = false;
        const int line = item->data(0, MessageLineRole).toInt(&ok);
        if (!ok || line < from) continue;
        item->setData(0, MessageLineRole, line + by);
        item->setText(2, QString::number(line + by + 1));
        item->setToolTip(0, QStringLiteral("Double-click to go to line %1").arg(line + by + 1));
    }
}

void DocumentWindow::UpdatePreviewValues(const edit::EditResult& result) {
    std::vector<preview::PropertyUpdate> updates;
    updates.reserve(result.Properties.size());
    for (const edit::PropertyChange& change : result.Properties)
        updates.push_back({change.Object, change.Property, change.Value});
    if (!desktop_->ApplyPropertyUpdates(updates, document_->TextCodePage())) {
        BuildPreview();
        return;
    }
    // A drag checks that the preview shows the text before it works from the live form.
    const QByteArray text = document_->TextBytes();
    desktop_->NoteShownText(std::string_view(text.constData(), static_cast<std::size_t>(text.size())));
    // The live objects stay: the selected node is inspected again for its new values.
    const QList<QTreeWidgetItem*> selected = tree_->selectedItems();
    if (!selected.isEmpty() && tree_->NodeOfItem(selected.first()) >= 0)
        InspectNode(tree_->NodeOfItem(selected.first()));
}

void DocumentWindow::InspectorEdited(const QString& object, const QStringList& properties,
                                     const QStringList& values) {
    std::vector<std::pair<std::string, std::string>> assignments;
    for (qsizetype i = 0; i < properties.size() && i < values.size(); ++i)
        assignments.emplace_back(properties[i].toStdString(), values[i].toStdString());
    const QList<QTreeWidgetItem*> selected = tree_->selectedItems();
    const int node = selected.isEmpty() ? -1 : tree_->NodeOfItem(selected.first());
    const int page = inspector_->PageControl()->currentIndex();
    const QString current = inspector_->CurrentPath();
    const std::string path = object.toStdString();
    const bool done = EditForm([&](const edit::FormEditor& editor) {
        return SetProperties(editor, document_->TextCodePage(), preview_.Registry(), path, assignments);
    });
    if (!done || node < 0 || node >= tree_->Nodes().ObjectCount()) return;
    // The rescan went back to the top: the edited object's line takes the caret, which
    // the tree follows, and the edited row stays current.
    const int line = tree_->Nodes().Nodes[static_cast<std::size_t>(node)].Line;
    if (line >= 0)
        editor_->SendScintilla(
            QsciScintillaBase::SCI_GOTOPOS,
            static_cast<unsigned long>(editor_->SendScintilla(QsciScintillaBase::SCI_POSITIONFROMLINE,
                                                              static_cast<unsigned long>(line))));
    tree_->SelectNode(node);
    inspector_->PageControl()->setCurrentIndex(page);
    inspector_->RestoreCurrent(current);
}

void DocumentWindow::SetLiveRefreshDelay(int milliseconds) {
    liveDelay_ = std::max(milliseconds, 0);
}

int DocumentWindow::LiveRefreshInterval() const {
    return static_cast<int>(std::max<qint64>(liveDelay_, 3 * lastBuildMs_));
}

bool DocumentWindow::LiveRefreshPending() const {
    return liveTimer_->isActive();
}

void DocumentWindow::ScheduleLiveRefresh() {
    // Each change starts the wait again: the views follow once typing pauses.
    liveTimer_->start(LiveRefreshInterval());
}

void DocumentWindow::LiveRefresh() {
    // A rebuild in progress is not entered again; the refresh waits for another pause.
    if (rebuilding_) {
        ScheduleLiveRefresh();
        return;
    }
    // Unlike Rescan, the caret stays where it is typing, and the tree follows it.
    const QString current = inspector_->CurrentPath();
    RebuildViews();
    if (objectCount_ == 0) return;
    tree_->expandAll();
    tree_->show();
    panels_[ObjectCountPanel]->setText(QStringLiteral("Object count: %1").arg(objectCount_));
    SyncTreeToCaret();
    inspector_->RestoreCurrent(current);
}

std::string_view DocumentWindow::EditorUtf8() const {
    return editorBuffer_->Utf8();
}

void DocumentWindow::closeEvent(QCloseEvent* event) {
    // A refusal here stops Close All and the exit too: they close no further window.
    if (document_->Modified() && !document_->SaveBeforeClose()) {
        event->ignore();
        return;
    }
    // The preview's live objects are released by the destructor, before the widgets.
    QMdiSubWindow::closeEvent(event);
}

// ---- state ----

void DocumentWindow::DFMChange() {
    panels_[ModifiedPanel]->setText(document_->Modified() ? QStringLiteral("Modified") : QString());
}

QString DocumentWindow::PanelText(int panel) const {
    if (panel < 0 || panel >= static_cast<int>(panels_.size())) return {};
    return panels_[static_cast<std::size_t>(panel)]->text();
}

void DocumentWindow::UpdateLineNumberWidth() {
    int digits = 1;
    for (int lines = editor_->lines(); lines >= 10; lines /= 10)
        ++digits;
    digits = std::max(digits, 2);
    if (digits == lineNumberDigits_) return;
    lineNumberDigits_ = digits;
    // One digit to spare, so the numbers do not touch the text.
    editor_->setMarginWidth(0, QString(digits + 1, QLatin1Char('9')));
}

void DocumentWindow::UpdateEditActions() {
    if (!undoAction_) return;
    undoAction_->setEnabled(CanUndo());
    const bool selection = HasSelection();
    copyAction_->setEnabled(selection);
    cutAction_->setEnabled(selection);
    pasteAction_->setEnabled(CanPaste());
}

bool DocumentWindow::CanUndo() const {
    return !editor_->isReadOnly() && editor_->isUndoAvailable();
}

bool DocumentWindow::HasSelection() const {
    return editor_->hasSelectedText();
}

bool DocumentWindow::CanPaste() const {
    if (editor_->isReadOnly()) return false;
    const QMimeData* clipboard = QGuiApplication::clipboard()->mimeData();
    return clipboard && clipboard->hasText();
}

// ---- commands ----

void DocumentWindow::cmUndo() {
    if (CanUndo()) editor_->undo();
}

void DocumentWindow::cmCopy() {
    if (HasSelection()) editor_->copy();
}

void DocumentWindow::cmCut() {
    if (!editor_->isReadOnly() && HasSelection()) editor_->cut();
}

void DocumentWindow::cmPaste() {
    if (CanPaste()) editor_->paste();
}

// ---- interface options ----

void DocumentWindow::ApplyInterfaceOptions(bool showTypeCol, bool showCNCol, bool smallFont, bool showHTree) {
    showTypeCol_ = showTypeCol;
    showHTree_ = showHTree;
    inspector_->ApplyOptions(showTypeCol, showHTree, inspectedObject_ != nullptr);
    tree_->setColumnHidden(1, !showCNCol);

    const int pointSize = smallFont ? 8 : 10;
    QsciLexer* lexer = editor_->lexer();
    QFont font = lexer->defaultFont();
    font.setPointSize(pointSize);
    lexer->setDefaultFont(font);
    for (int style = 0; style <= FormLexer::Symbol; ++style) {
        QFont styleFont = lexer->font(style);
        styleFont.setPointSize(pointSize);
        lexer->setFont(styleFont, style);
    }
    editor_->setMarginsFont(font);
    // The gutter is measured in the new font.
    lineNumberDigits_ = 0;
    UpdateLineNumberWidth();
}

// ---- status refresh and the tree's link to the caret ----

QColor DocumentWindow::CaretLineColor() {
    return QColor(255, 255, 0);
}

int DocumentWindow::CaretLine() const {
    const long position = editor_->SendScintilla(QsciScintillaBase::SCI_GETCURRENTPOS);
    return static_cast<int>(editor_->SendScintilla(QsciScintillaBase::SCI_LINEFROMPOSITION,
                                                   static_cast<unsigned long>(position)));
}

std::string_view DocumentWindow::LineText(int line) const {
    const auto index = static_cast<unsigned long>(line);
    const long start = editor_->SendScintilla(QsciScintillaBase::SCI_POSITIONFROMLINE, index);
    const long end = editor_->SendScintilla(QsciScintillaBase::SCI_GETLINEENDPOSITION, index);
    if (start < 0 || end <= start) return {};
    // Only this range is made contiguous, so a look at a line near the caret does not
    // move the rest of the text in the editor's buffer.
    const auto* text = reinterpret_cast<const char*>(editor_->SendScintilla(
        QsciScintillaBase::SCI_GETRANGEPOINTER, static_cast<unsigned long>(start), end - start));
    return text ? std::string_view(text, static_cast<std::size_t>(end - start)) : std::string_view();
}

int DocumentWindow::CaretCharacter() const {
    const long position = editor_->SendScintilla(QsciScintillaBase::SCI_GETCURRENTPOS);
    const long lineEnd = editor_->SendScintilla(QsciScintillaBase::SCI_GETLINEENDPOSITION,
                                                static_cast<unsigned long>(CaretLine()));
    if (position >= lineEnd) return 0;
    // One character is at most four bytes of UTF-8.
    const long length = std::min(lineEnd - position, 4L);
    const auto* text = reinterpret_cast<const char*>(editor_->SendScintilla(
        QsciScintillaBase::SCI_GETRANGEPOINTER, static_cast<unsigned long>(position), length));
    if (text == nullptr) return 0;
    const int code = FirstCodePoint({text, static_cast<std::size_t>(length)});
    if (!document_->Utf8() && code <= 0xFFFF) {
        // A double-byte character as lead * 256 + trail.
        const int byte = document_->TextCodePage().ToCode(static_cast<char16_t>(code));
        if (byte >= 0) return byte;
    }
    return code;
}

int DocumentWindow::SelectionLength() const {
    const long start = editor_->SendScintilla(QsciScintillaBase::SCI_GETSELECTIONSTART);
    const long end = editor_->SendScintilla(QsciScintillaBase::SCI_GETSELECTIONEND);
    if (end <= start) return 0;
    long length = editor_->SendScintilla(QsciScintillaBase::SCI_COUNTCHARACTERS,
                                         static_cast<unsigned long>(start), end);
    // Breaks of one character (LF or CR alone) count as the two of CR LF.
    const long firstLine =
        editor_->SendScintilla(QsciScintillaBase::SCI_LINEFROMPOSITION, static_cast<unsigned long>(start));
    const long lastLine =
        editor_->SendScintilla(QsciScintillaBase::SCI_LINEFROMPOSITION, static_cast<unsigned long>(end));
    for (long line = firstLine; line < lastLine; ++line) {
        const long breakStart = editor_->SendScintilla(QsciScintillaBase::SCI_GETLINEENDPOSITION,
                                                       static_cast<unsigned long>(line));
        const long nextLine = editor_->SendScintilla(QsciScintillaBase::SCI_POSITIONFROMLINE,
                                                     static_cast<unsigned long>(line + 1));
        length += 2 - (nextLine - breakStart);
    }
    return static_cast<int>(length);
}

void DocumentWindow::DFMStatusChange() {
    if (statusHeld_ > 0) return;
    const int line = CaretLine();
    // Scintilla repaints the line the highlight leaves and the one it moves to.
    lastCaretLine_ = line;
    if (!editor_->SendScintilla(QsciScintillaBase::SCI_GETCARETLINEVISIBLE))
        editor_->setCaretLineVisible(true);

    const long position = editor_->SendScintilla(QsciScintillaBase::SCI_GETCURRENTPOS);
    const long lineStart =
        editor_->SendScintilla(QsciScintillaBase::SCI_POSITIONFROMLINE, static_cast<unsigned long>(line));
    const long column = editor_->SendScintilla(QsciScintillaBase::SCI_COUNTCHARACTERS,
                                               static_cast<unsigned long>(lineStart), position) +
                        1;
    panels_[CaretPanel]->setText(QString::fromStdString(CaretStatusText(
        static_cast<int>(column), line + 1, CaretCharacter(), editor_->lines(), SelectionLength())));
    panels_[InsertPanel]->setText(editor_->overwriteMode() ? QStringLiteral("Overwrite")
                                                           : QStringLiteral("Insert"));
    panels_[FileNamePanel]->setText(document_->FileName());
    panels_[ModifiedPanel]->setText(document_->Modified() ? QStringLiteral("Modified") : QString());
    UpdateEditActions();
    SyncTreeToCaret();
}

void DocumentWindow::ScheduleStatusChange() {
    if (statusScheduled_) return;
    statusScheduled_ = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            statusScheduled_ = false;
            DFMStatusChange();
        },
        Qt::QueuedConnection);
}

void DocumentWindow::SyncTreeToCaret() {
    // Selecting the node runs the tree's change handling; should that ever move the
    // caret, the refresh it causes must not come back here.
    if (syncingTree_) return;
    bool found = false;
    const std::string name = ObjectNameAtLine(
        CaretLine(), [this](int line) { return LineText(line); }, found);
    if (!found) return;
    const int node = name.empty() ? UnnamedNodeAtCaret() : tree_->Nodes().FindNodeByName(name);
    if (node < 0) return;
    const QScopedValueRollback guard(syncingTree_, true);
    tree_->SelectNode(node);
}

int DocumentWindow::UnnamedNodeAtCaret() const {
    // The nearest object line at or above the caret, and the unnamed node it gave.
    for (int line = CaretLine(); line >= 0; --line) {
        bool objectLine = false;
        preview::ObjectLineName(preview::TrimBlanks(LineText(line)), objectLine);
        if (!objectLine) continue;
        const int node = tree_->Nodes().NodeAtLine(line);
        return node >= 0 && tree_->Nodes().Nodes[static_cast<std::size_t>(node)].Name.empty() ? node : -1;
    }
    return -1;
}

void DocumentWindow::TreeChange() {
    const QList<QTreeWidgetItem*> selected = tree_->selectedItems();
    if (selected.isEmpty()) return;
    const int node = tree_->NodeOfItem(selected.first());
    if (node < 0) return;
    InspectNode(node);
    // The designer surface selects what the tree selects (keeping a selection of
    // several that holds it).
    desktop_->FollowSelection(inspectedObject_);
    // On the preview page a selected control is brought into view, its tab sheet to
    // the front.
    if (sourceTabs_->currentIndex() == 1 && inspectedObject_ && inspectedObject_->InheritsFrom("TControl"))
        desktop_->ShowControl(*inspectedObject_);
}

void DocumentWindow::InspectNode(int node) {
    inspectedObject_ = nullptr;
    inspectedClass_ = nullptr;
    const ResolvedNode resolved =
        ResolveNode(tree_->Nodes(), node, PreviewForm(), preview_.Registry(), &desktop_->ReadObjects());
    inspectedObject_ = resolved.Object;
    inspectedClass_ = resolved.Class;
    const ObjectNode& n = tree_->Nodes().Nodes[static_cast<std::size_t>(node)];
    // The class as the preview knows it: "(drawn as TPanel)" for a control another
    // class's look draws, "(not registered)" for a class nothing describes.
    std::string classLine = n.ClassName;
    if (inspectedObject_ && inspectedObject_->ClassName() == n.ClassName) {
        preview::DrawnLook look;
        const bool drawn = desktop_->Realizer() && inspectedObject_ != PreviewForm() &&
                           inspectedObject_->GetClass().Has(rt::CfControl);
        if (drawn) look = desktop_->Realizer()->LookOf(*inspectedObject_);
        classLine = preview::ClassLineText(*inspectedObject_, drawn ? &look : nullptr);
    }
    oiTitle_->setText(QStringLiteral(" %1: %2").arg(FromUtf8(n.Name), FromUtf8(classLine)));
    // The node's own lines, found by its place in the text rather than by the live
    // object's name: the preview renames a root whose name another form has, and an
    // unnamed object has no name to look for.
    const bool component = n.Kind == NodeKind::Root || n.Kind == NodeKind::Component;
    // A form built from several files tells, value by value, which file set it.
    preview::OIPanel::ValueOrigin originOf;
    const rt::BuildOrigins& origins = desktop_->Origins();
    if (inspectedObject_ && origins.Files.size() > 1) {
        const rt::Object* object = inspectedObject_;
        originOf = [&origins, object](const std::string& path) {
            const int file = origins.FileOfProperty(*object, path);
            if (file < 0) return QStringLiteral("Default");
            if (file == 0 || static_cast<std::size_t>(file) >= origins.Files.size())
                return QStringLiteral("From this text");
            return QStringLiteral("From %1").arg(QString::fromStdString(
                std::filesystem::path(origins.Files[static_cast<std::size_t>(file)]).filename().string()));
        };
    }
    const auto [editPath, editPrefix] = EditPathOf(tree_->Nodes(), node);
    inspector_->SetEditTarget(inspectedObject_ ? FromUtf8(editPath) : QString(), FromUtf8(editPrefix));
    inspector_->FillInspector(inspectedObject_,
                              NodeSourceLines(tree_->Nodes(), node, TextLines(EditorUtf8())),
                              component ? std::string_view(n.Name) : std::string_view(), originOf);
    inspector_->FillClassTree(inspectedClass_, FromUtf8(classLine));
}

void DocumentWindow::ObjectEnter(const QString& senderName) {
    const int node = tree_->Nodes().FindNodeByName(senderName.toStdString());
    if (node < 0) return;
    tree_->SelectNode(node);
}

void DocumentWindow::PlaceObjects(const QList<preview::ObjectPlacement>& placements) {
    const QStringList selected = desktop_->SelectedPaths();
    // New places are worked out from the live form: after a change of the text that
    // the preview has not followed yet (an undo, say) they would be wrong. The preview
    // is rebuilt instead, for the drag to be made again on what the text says.
    const QByteArray text = document_->TextBytes();
    if (!desktop_->BuiltFrom(std::string_view(text.constData(), static_cast<std::size_t>(text.size())))) {
        cmRescan();
        SelectOnDesigner(selected);
        return;
    }
    if (EditForm([&](const edit::FormEditor& editor) { return PlacementEdits(editor, placements); }))
        SelectOnDesigner(selected);
}

void DocumentWindow::DeleteObjects(const QStringList& paths) {
    const QStringList selected = desktop_->SelectedPaths();
    if (EditForm([&](const edit::FormEditor& editor) { return DeletionEdits(editor, paths); }))
        SelectOnDesigner(selected);
}

void DocumentWindow::SelectOnDesigner(const QStringList& paths) {
    desktop_->SelectPaths(paths);
    const preview::DesignOverlay* overlay = desktop_->Overlay();
    if (!overlay) return;
    const rt::Object* current = overlay->Selection().front();
    const int node = tree_->Nodes().FindNodeByName(current->Name());
    if (node < 0) return;
    const int line = tree_->Nodes().Nodes[static_cast<std::size_t>(node)].Line;
    if (line >= 0) editor_->setCursorPosition(line, 0);
    tree_->SelectNode(node);
}

void DocumentWindow::ObjectMouseMove(const QString& senderName, const QString& className, int x, int y) {
    QString text;
    if (!senderName.isNull() && !className.isNull())
        text = QStringLiteral("%1: %2   X: %3   Y: %4").arg(senderName, className).arg(x).arg(y);
    else
        text = QStringLiteral("X: %1   Y: %2").arg(x).arg(y);
    panels_[CaretPanel]->setText(text);
}

rt::Object* DocumentWindow::PreviewForm() const {
    return desktop_ ? desktop_->PreviewForm() : nullptr;
}

const std::vector<std::string>& DocumentWindow::PreviewMessages() const {
    return desktop_->PreviewMessages();
}

void DocumentWindow::SetFormSearchFolders(const QStringList& folders) {
    searchFolders_.clear();
    for (const QString& folder : folders)
        searchFolders_.push_back(folder.toStdString());
}

void DocumentWindow::BuildPreview() {
    // Nothing may point into the old preview once it is gone.
    inspectedObject_ = nullptr;
    const QByteArray text = document_->TextBytes();
    desktop_->BuildPreview(std::string_view(text.constData(), static_cast<std::size_t>(text.size())),
                           document_->TextCodePage(),
                           preview::FormSearch{document_->FileName().toStdString(), searchFolders_});
    RefreshMessageList();
    // The selected node is inspected again, by name, in the new preview.
    const QList<QTreeWidgetItem*> selected = tree_->selectedItems();
    if (!selected.isEmpty() && tree_->NodeOfItem(selected.first()) >= 0)
        InspectNode(tree_->NodeOfItem(selected.first()));
}

void DocumentWindow::tsChange(int index) {
    pages_->setCurrentIndex(index);
    if (index == 1) {
        const WaitCursor wait;
        BuildPreview();
    }
}

bool DocumentWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == editor_ && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        // The editor says nothing when Insert toggles overwrite mode, so the toggle is
        // done here, where the status line can follow it.
        const Qt::KeyboardModifiers modifiers = key->modifiers() & ~Qt::KeypadModifier;
        if (key->key() == Qt::Key_Insert && modifiers == Qt::NoModifier) {
            editor_->setOverwriteMode(!editor_->overwriteMode());
            DFMStatusChange();
            return true;
        }
        // Their bindings are gone, but the editor would still type the text some
        // platforms give such a key (a "b" for Ctrl+Shift+B, say): they stop here.
        if (IsRemovedEditorKey(QKeyCombination(modifiers, static_cast<Qt::Key>(key->key())).toCombined()))
            return true;
    }
    return QMdiSubWindow::eventFilter(watched, event);
}

void DocumentWindow::EditMenuPopup() {
    popupPreview_->setEnabled(previewAction_->isEnabled());
    popupUndo_->setEnabled(undoAction_->isEnabled());
    popupPaste_->setEnabled(CanPaste());
    const bool selection = HasSelection();
    popupCopy_->setEnabled(selection);
    popupCut_->setEnabled(selection);
}

// ---- object tree ----

void DocumentWindow::cmRescan() {
    const WaitCursor wait;
    RebuildViews();
    if (objectCount_ == 0) return;
    const StatusBatch batch(*this);
    tree_->FocusNode(0);
    tree_->expandAll();
    tree_->show();
    editor_->SendScintilla(QsciScintillaBase::SCI_GOTOPOS, 0UL);
    panels_[ObjectCountPanel]->setText(QStringLiteral("Object count: %1").arg(objectCount_));
}

void DocumentWindow::RebuildViews() {
    // The views are now built from the text as it is: a refresh still due is not.
    liveTimer_->stop();
    QElapsedTimer clock;
    clock.start();
    {
        const QScopedValueRollback building(rebuilding_, true);
        // The scan's lookups read the preview built from the same text.
        BuildPreview();
        Hierarchy hierarchy = ScanHierarchy(TextLines(EditorUtf8()), *lookup_);
        // A form built whole shows the objects of its ancestors' and frames' files too.
        if (const rt::Object* form = PreviewForm())
            AddObjectsFromOtherFiles(hierarchy, *form, desktop_->Origins(), desktop_->ReadObjects());
        tree_->Fill(std::move(hierarchy));
        objectCount_ = tree_->Nodes().ObjectCount();
    }
    lastBuildMs_ = clock.elapsed();
}

void DocumentWindow::RefreshMessageList() {
    messageList_->clear();
    const std::vector<std::string>& messages = desktop_->PreviewMessages();
    std::vector<MessageRow> rows;
    if (!messages.empty()) rows = MessageRows(messages, desktop_->MessagePlaces(), TextLines(EditorUtf8()));
    QList<QTreeWidgetItem*> items;
    items.reserve(static_cast<qsizetype>(rows.size()));
    for (const MessageRow& row : rows) {
        QString caption = FromUtf8(row.Caption);
        caption.truncate(1024);
        auto* item = new QTreeWidgetItem(QStringList{
            caption, FromUtf8(row.Object), row.Line >= 0 ? QString::number(row.Line + 1) : QString()});
        if (row.Image >= 0) item->setIcon(0, TreeImages()[static_cast<std::size_t>(row.Image)]);
        item->setData(0, Qt::UserRole, row.Image);
        item->setData(0, MessageLineRole, row.Line);
        if (row.Line >= 0)
            item->setToolTip(0, QStringLiteral("Double-click to go to line %1").arg(row.Line + 1));
        items.append(item);
    }
    messageList_->addTopLevelItems(items);
    messageList_->setHeaderLabels({QStringLiteral("Messages (%1)").arg(messages.size()),
                                   QStringLiteral("Object"), QStringLiteral("Line")});
    // Each message is read whole; a narrow list scrolls sideways to the object and line.
    for (int column = 0; column < messageList_->columnCount(); ++column)
        messageList_->resizeColumnToContents(column);
    messageList_->setVisible(!messages.empty());
}

void DocumentWindow::GotoMessage(const QTreeWidgetItem* item) {
    if (item == nullptr) return;
    bool ok = false;
    const int line = item->data(0, MessageLineRole).toInt(&ok);
    if (ok) SelectLine(line);
}

void DocumentWindow::SelectLine(int line) {
    if (line < 0 || line >= editor_->lines()) return;
    {
        const StatusBatch batch(*this);
        const auto at = static_cast<unsigned long>(line);
        const long start = editor_->SendScintilla(QsciScintillaBase::SCI_GETLINEINDENTPOSITION, at);
        const long end = editor_->SendScintilla(QsciScintillaBase::SCI_GETLINEENDPOSITION, at);
        editor_->SendScintilla(QsciScintillaBase::SCI_ENSUREVISIBLEENFORCEPOLICY, at);
        // The line's text is selected, the caret at its start.
        editor_->SendScintilla(QsciScintillaBase::SCI_SETSEL, static_cast<unsigned long>(end), start);
    }
    sourceTabs_->setCurrentIndex(0);
    editor_->show();
    CentreLine(line);
    editor_->setFocus();
}

QString DocumentWindow::DecodedStringAtCaret() const {
    int line = 0, index = 0;
    editor_->getCursorPosition(&line, &index);
    const std::optional<std::string> shown =
        DecodedStringAtLine(line, editor_->lines(), [this](int at) { return LineText(at); });
    return shown ? FromUtf8(*shown) : QString();
}

void DocumentWindow::cmShowDecodedString() {
    // Shown, never written: the text keeps the form the writer gave the string.
    const QString shown = DecodedStringAtCaret();
    const QString text = shown.isNull() ? QStringLiteral("No string constant at the caret") : shown;
    panels_[CaretPanel]->setText(text);
    const long caret = editor_->SendScintilla(QsciScintillaBase::SCI_GETCURRENTPOS);
    const long x = editor_->SendScintilla(QsciScintillaBase::SCI_POINTXFROMPOSITION, 0UL, caret);
    const long y = editor_->SendScintilla(QsciScintillaBase::SCI_POINTYFROMPOSITION, 0UL, caret) +
                   editor_->SendScintilla(QsciScintillaBase::SCI_TEXTHEIGHT, 0UL);
    const QPoint at = editor_->viewport()->mapToGlobal(QPoint(static_cast<int>(x), static_cast<int>(y)));
    QToolTip::showText(at, text, editor_);
}

void DocumentWindow::cmExpand() {
    tree_->expandAll();
}

void DocumentWindow::cmCollapse() {
    tree_->collapseAll();
}

// ---- find and replace ----

int DocumentWindow::FindFlags() const {
    return (replaceDialog_->MatchCase() ? QsciScintillaBase::SCFIND_MATCHCASE : 0) |
           (replaceDialog_->WholeWord() ? QsciScintillaBase::SCFIND_WHOLEWORD : 0);
}

long DocumentWindow::SearchText(const QByteArray& text, int flags, long from, long to) const {
    if (text.isEmpty()) return -1;
    editor_->SendScintilla(QsciScintillaBase::SCI_SETSEARCHFLAGS, static_cast<unsigned long>(flags));
    editor_->SendScintilla(QsciScintillaBase::SCI_SETTARGETSTART, static_cast<unsigned long>(from));
    editor_->SendScintilla(QsciScintillaBase::SCI_SETTARGETEND, static_cast<unsigned long>(to));
    return editor_->SendScintilla(QsciScintillaBase::SCI_SEARCHINTARGET, static_cast<uintptr_t>(text.size()),
                                  text.constData());
}

void DocumentWindow::cmReplace() {
    const int line = CaretLine();
    const long position = editor_->SendScintilla(QsciScintillaBase::SCI_GETCURRENTPOS);
    const long lineStart =
        editor_->SendScintilla(QsciScintillaBase::SCI_POSITIONFROMLINE, static_cast<unsigned long>(line));
    const std::string word = IdentifierAt(LineText(line), static_cast<std::size_t>(position - lineStart));
    replaceDialog_->SetFindText(QString::fromStdString(word));
    replaceDialog_->show();
    replaceDialog_->raise();
    replaceDialog_->activateWindow();
}

void DocumentWindow::rdFind() {
    const StatusBatch batch(*this);
    const bool down = replaceDialog_->Down();
    // From the caret: a match found before is left behind in either direction.
    const long start = editor_->SendScintilla(QsciScintillaBase::SCI_GETSELECTIONSTART);
    const long end = editor_->SendScintilla(QsciScintillaBase::SCI_GETSELECTIONEND);
    const long length = editor_->SendScintilla(QsciScintillaBase::SCI_GETLENGTH);
    const long found =
        SearchText(replaceDialog_->FindText().toUtf8(), FindFlags(), down ? end : start, down ? length : 0);
    if (found < 0) {
        messages_.Information(QStringLiteral("Text not found."));
        return;
    }
    const long matchEnd = editor_->SendScintilla(QsciScintillaBase::SCI_GETTARGETEND);
    // The caret goes to the match's far end in the search direction, where the next
    // search starts.
    if (down)
        editor_->SendScintilla(QsciScintillaBase::SCI_SETSEL, static_cast<unsigned long>(found), matchEnd);
    else
        editor_->SendScintilla(QsciScintillaBase::SCI_SETSEL, static_cast<unsigned long>(matchEnd), found);
}

void DocumentWindow::rdReplace(bool all) {
    const StatusBatch batch(*this);
    const QByteArray findText = replaceDialog_->FindText().toUtf8();
    const QByteArray replaceText = replaceDialog_->ReplaceText().toUtf8();
    const int flags = FindFlags();
    // From the start of the selection, so that a match that Find Next has just selected
    // is the one replaced rather than skipped.
    long from = editor_->SendScintilla(QsciScintillaBase::SCI_GETSELECTIONSTART);
    int replaced = 0;
    editor_->SendScintilla(QsciScintillaBase::SCI_BEGINUNDOACTION);
    for (;;) {
        const long length = editor_->SendScintilla(QsciScintillaBase::SCI_GETLENGTH);
        if (SearchText(findText, flags, from, length) < 0) break;
        editor_->SendScintilla(QsciScintillaBase::SCI_REPLACETARGET,
                               static_cast<uintptr_t>(replaceText.size()), replaceText.constData());
        // On after the replacement, so a replacement holding the find text is not
        // searched again.
        from = editor_->SendScintilla(QsciScintillaBase::SCI_GETTARGETEND);
        ++replaced;
        if (!all) break;
    }
    editor_->SendScintilla(QsciScintillaBase::SCI_ENDUNDOACTION);
    if (replaced == 0) {
        messages_.Information(QStringLiteral("Text not found."));
        return;
    }
    editor_->SendScintilla(QsciScintillaBase::SCI_GOTOPOS, static_cast<unsigned long>(from));
}

void DocumentWindow::cmFindnext() {
    replaceDialog_->SetDown(true);
    rdFind();
    editor_->setFocus();
}

// ---- goto source ----

bool DocumentWindow::GotoObject(const QString& name) {
    const int node = tree_->Nodes().FindNodeByName(name.toStdString());
    if (node < 0) return false;
    tree_->SelectNode(node);
    cmGoto();
    return true;
}

void DocumentWindow::cmGoto() {
    const int node = tree_->FocusedNode();
    if (node < 0) return;
    const ObjectNode target = tree_->Nodes().Nodes[static_cast<std::size_t>(node)];
    // The text writes nothing of an outer object: its own file is where it is.
    if (target.Outer) {
        const QString path = FromUtf8(target.SourceFile);
        const QString name = FromUtf8(target.Name);
        if (!openSourceFile_ || !openSourceFile_(path, name))
            messages_.Information(QStringLiteral("%1 is written in %2.").arg(name, path));
        return;
    }
    {
        const StatusBatch batch(*this);
        editor_->SendScintilla(QsciScintillaBase::SCI_GOTOPOS, 0UL);
        // An object without a name has no "Name: Class" to search for (": TLabel" would
        // find a named label); it is found at its own line, while that line still opens
        // an object without a name, and otherwise not at all.
        const bool unnamedObject = target.Name.empty() && target.Kind != NodeKind::Item;
        bool objectLine = false;
        if (unnamedObject && target.Line >= 0 && target.Line < editor_->lines()) {
            const std::string_view header = LineText(target.Line);
            const std::string_view trimmed = preview::TrimBlanks(header);
            const bool unnamed = preview::ObjectLineName(trimmed, objectLine).empty();
            objectLine = objectLine && unnamed;
            if (objectLine) {
                const auto at = static_cast<unsigned long>(target.Line);
                const long start = editor_->SendScintilla(QsciScintillaBase::SCI_GETLINEINDENTPOSITION, at);
                const long end = editor_->SendScintilla(QsciScintillaBase::SCI_GETLINEENDPOSITION, at);
                editor_->SendScintilla(QsciScintillaBase::SCI_SETSEL, static_cast<unsigned long>(start), end);
            }
        }
        const QByteArray text = QByteArray::fromStdString(target.Name + ": " + target.ClassName);
        const long length = editor_->SendScintilla(QsciScintillaBase::SCI_GETLENGTH);
        const long found = unnamedObject ? -1 : SearchText(text, 0, 0, length);
        if (found >= 0) {
            const long end = editor_->SendScintilla(QsciScintillaBase::SCI_GETTARGETEND);
            editor_->SendScintilla(QsciScintillaBase::SCI_SETSEL, static_cast<unsigned long>(found), end);
            editor_->SendScintilla(QsciScintillaBase::SCI_SCROLLRANGE, static_cast<unsigned long>(found),
                                   end);
        }
    }
    sourceTabs_->setCurrentIndex(0);
    editor_->show();
    CentreLine(CaretLine());
    editor_->setFocus();
}

void DocumentWindow::cmGotoLine() {
    const int lineCount = static_cast<int>(editor_->SendScintilla(QsciScintillaBase::SCI_GETLINECOUNT));
    const std::optional<int> number = messages_.AskLineNumber(CaretLine() + 1, lineCount);
    if (!number) return;
    GotoLine(*number - 1);
}

void DocumentWindow::GotoLine(int line) {
    const int lineCount = static_cast<int>(editor_->SendScintilla(QsciScintillaBase::SCI_GETLINECOUNT));
    line = std::clamp(line, 0, std::max(lineCount - 1, 0));
    editor_->SendScintilla(QsciScintillaBase::SCI_GOTOLINE, static_cast<unsigned long>(line));
    sourceTabs_->setCurrentIndex(0);
    editor_->show();
    CentreLine(line);
    editor_->setFocus();
}

void DocumentWindow::CentreLine(int line) {
    // Lines hidden by folding or split by wrapping count as the view shows them.
    const long shown =
        editor_->SendScintilla(QsciScintillaBase::SCI_VISIBLEFROMDOCLINE, static_cast<unsigned long>(line));
    const long onScreen = editor_->SendScintilla(QsciScintillaBase::SCI_LINESONSCREEN);
    editor_->SendScintilla(QsciScintillaBase::SCI_SETFIRSTVISIBLELINE,
                           static_cast<unsigned long>(std::max(0L, shown - onScreen / 2)));
}

// ---- load and paste data ----

void DocumentWindow::cmLoadData() {
    RunGuarded(messages_, [this] {
        const QString path = messages_.AskOpenDataFile();
        if (path.isEmpty()) return;
        // The file's own read errors ("Cannot open file ...") go to the error box; the
        // clipboard and the text are only touched once the whole file is read.
        FileStream file(NativePath(path), FileStream::Mode::Read);
        const std::string lines = HexDataLines(file.ReadToEnd());
        QGuiApplication::clipboard()->setText(
            QString::fromLatin1(lines.data(), static_cast<qsizetype>(lines.size())));
        editor_->paste();
    });
}

void DocumentWindow::cmPreview() {
    // The second press returns to the source and builds nothing; the switch to the
    // preview page builds through tsChange.
    sourceTabs_->setCurrentIndex(sourceTabs_->currentIndex() == 1 ? 0 : 1);
}

void DocumentWindow::mmSaveFormImageClick() {
    rt::Object* form = PreviewForm();
    if (!form) return;
    const QString path = messages_.AskSaveImagePath(FromUtf8(form->Name()) + QStringLiteral(".bmp"));
    if (path.isEmpty()) return;
    RunGuarded(messages_, [&] {
        const QImage image = desktop_->FormClientImage();
        if (image.isNull() || !image.save(path, "BMP"))
            throw std::runtime_error("Cannot create file \"" + path.toStdString() + "\".");
    });
}

}  // namespace fw
