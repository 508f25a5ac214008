#pragma once
// DocumentWindow: the view of one open form file, an MDI child of the main window. It
// composes the source editor, the object tree, the preview and the inspector over one
// FormDocument (Document()), which loads and saves the file. The document's text is
// the source editor's buffer: the one truth from which the tree, preview and inspector
// are derived.

#include <QByteArray>
#include <QColor>
#include <QMdiSubWindow>
#include <QString>
#include <QStringList>
#include <array>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "base/codepage.h"
#include "codec/declaredcharset.h"
#include "codec/formformat.h"
#include "document/formdocument.h"
#include "document/objecttreeview.h"

class QMenu;
class QAction;
class QLabel;
class QSplitter;
class QStackedWidget;
class QTabBar;
class QTimer;
class QTreeWidget;
class QTreeWidgetItem;
class QsciScintilla;

namespace fw::edit {
class FormEditor;
struct EditResult;
struct TextEdit;
}  // namespace fw::edit
class QStatusBar;

namespace fw {

namespace rt {
class Object;
class Class;
}  // namespace rt
namespace preview {
struct ObjectPlacement;
class OIPanel;
class PreviewContext;
class VirtualDesktop;
}  // namespace preview

class EditorTextBuffer;
class FindReplaceDialog;
class HierarchyLookup;
class UserMessages;

class DocumentWindow : public QMdiSubWindow {
    Q_OBJECT
public:
    // The preview context (registry, form names, look-alike rules, folder index) is
    // shared by the documents and must outlive them.
    DocumentWindow(UserMessages& messages, const CodePage& codePage, preview::PreviewContext& preview,
                   QWidget* parent = nullptr);
    ~DocumentWindow() override;

    // The form file this window shows: its name, encoding, code page, text, modified
    // state, loading and saving. Its text is the source editor's buffer.
    FormDocument& Document() const { return *document_; }

    // Loads the file into the document (FormDocument::Load) and rescans it.
    void OpenDocumentFile(const QString& path);
    // Fills a new, unnamed document with form text (FormDocument::LoadText) and shows
    // the tree and the editor; with text given the document counts as modified.
    void LoadFromLines(const QByteArray& text);
    // The string constant the caret's line is part of, as its characters (control
    // characters as #codes); a null string when there is none.
    QString DecodedStringAtCaret() const;

    QsciScintilla* Editor() const { return editor_; }
    QStatusBar* StatusBar() const { return statusBar_; }
    // The text of a status panel, 0 to 4 (2: "Modified" or empty, 4: FileName).
    QString PanelText(int panel) const;
    // The object tree, hidden until a scan finds objects or lines are handed over.
    ObjectTreeView* Tree() const { return tree_; }
    // The number of nodes, at all levels, that the last scan found.
    int ObjectCount() const { return objectCount_; }
    // EList: the messages of the last preview build, one item each, under the editor,
    // with the object path and the line of each where known (activating an item goes
    // to its line); shown with its splitter only when there are messages.
    QTreeWidget* MessageList() const { return messageList_; }
    // The source/preview switch: the tab set ts (" Source Editor ", " Form Preview ")
    // and the notebook nbk with the pages "Source" (the editor) and "Form" (the
    // virtual desktop).
    QTabBar* TabSet() const { return sourceTabs_; }
    QStackedWidget* Notebook() const { return pages_; }
    preview::VirtualDesktop* Desktop() const { return desktop_; }
    // The live form of the last preview build, or nullptr.
    rt::Object* PreviewForm() const;
    // The messages of the last preview build, "KIND=text" each.
    const std::vector<std::string>& PreviewMessages() const;
    // The live object the inspector shows, set by TreeChange only; nullptr for none.
    rt::Object* InspectedObject() const { return inspectedObject_; }
    // The class TreeChange found for the selected node, or nullptr.
    const rt::Class* InspectedClass() const { return inspectedClass_; }
    // The inspector pane: the selected object's properties, events, picture and class
    // ancestry.
    preview::OIPanel* Inspector() const { return inspector_; }
    // The title above the inspector: " No object selected", then " Name: Class".
    QLabel* OITitle() const { return oiTitle_; }
    // The document's own menus, merged into the main window's menu bar.
    QMenu* EditMenu() const { return editMenu_; }
    QMenu* DataMenu() const { return dataMenu_; }
    // The popup menus of the object tree (TreeMenu) and of the source editor (EditMenu).
    QMenu* TreeMenu() const { return treeMenu_; }
    QMenu* EditorPopupMenu() const { return editorPopup_; }
    // The find-and-replace dialog; it keeps its texts and options while the window lives.
    FindReplaceDialog* ReplaceDialog() const { return replaceDialog_; }
    // The caret line at the last status refresh (0-based), -1 before the first one.
    int LastCaretLineIndex() const { return lastCaretLine_; }
    // The background of the caret line: yellow.
    static QColor CaretLineColor();

    // Applies the interface options: the object tree's "Class Name" column shows with
    // showCNCol, the inspector's "Type" columns with showTypeCol while an object is
    // inspected, its class tree with showHTree, and the editor's font is 8 points with
    // smallFont, 10 without.
    void ApplyInterfaceOptions(bool showTypeCol, bool showCNCol, bool smallFont, bool showHTree);
    // The extra folders the preview searches for ancestor and frame files, after the
    // document's own folder and its parents; taken at the next build.
    void SetFormSearchFolders(const QStringList& folders);
    const std::vector<std::string>& FormSearchFolders() const { return searchFolders_; }
    // Opens the file an object of an ancestor or a frame comes from, at the object;
    // answers whether it did. Without one, or when it does not, "Goto source" on such an
    // object says where the object is written.
    using SourceFileOpener = std::function<bool(const QString& path, const QString& objectName)>;
    void SetSourceFileOpener(SourceFileOpener opener) { openSourceFile_ = std::move(opener); }
    // Selects the first node of that name (ignoring ASCII case) and goes to its source;
    // false when there is none.
    bool GotoObject(const QString& name);

    // Runs an edit of the form text (the inspector's and the preview's edits) on the
    // document's text as its file would hold it, puts the result into the source
    // editor as one undo step and rebuilds the preview, tree and inspector. An edit the
    // engine refuses changes nothing: its message is shown and false comes back.
    using FormEdit = std::function<edit::EditResult(const edit::FormEditor&)>;
    bool EditForm(const FormEdit& edit);

    // The live refresh: a pause in the typing of at least LiveRefreshInterval() rebuilds
    // the preview, tree and inspector, as Rescan does but leaving the caret where it
    // is. The interval is the delay set (500 ms unless set otherwise) or three times
    // the last rebuild's time, whichever is longer, so that typing in a large form
    // does not wait for rebuilds.
    void SetLiveRefreshDelay(int milliseconds);
    int LiveRefreshInterval() const;
    bool LiveRefreshPending() const;

    // What the main window's idle enabling asks of the active document.
    bool CanUndo() const;
    bool HasSelection() const;
    bool CanPaste() const;

public slots:
    void cmUndo();
    void cmCopy();
    void cmCut();
    void cmPaste();
    void cmReplace();
    void cmFindnext();
    void cmGoto();
    // Asks for a line number (1-based, the caret's line offered) and goes there.
    void cmGotoLine();
    // Shows the string constant at the caret as its characters, in the status bar and a
    // tooltip; the text is left as it is.
    void cmShowDecodedString();
    void cmExpand();
    void cmCollapse();
    void cmPreview();
    void cmRescan();
    // Rebuilds the preview from the editor's text and lists its messages; the inspected
    // object is found again by the selected node's name in the new preview.
    void BuildPreview();
    // The tab set's change: shows that notebook page and, for the preview page,
    // rebuilds the preview.
    void tsChange(int index);
    void mmSaveFormImageClick();
    // Asks for any file and pastes its bytes as hex lines (32 bytes a line) at the
    // caret, through the clipboard. A file that cannot be read is reported as an error,
    // leaving the clipboard and the text as they were.
    void cmLoadData();
    // "Reopen with code page..." and "Save with code page...": ask for a page, then run
    // FormDocument::ReopenWithCodePage or SaveWithCodePage.
    void cmReopenWithCodePage();
    void cmSaveWithCodePage();
    void DFMChange();
    // Puts the caret at the start of a 0-based line (clamped to the text), shows the
    // source page and centres the line in the view.
    void GotoLine(int line);
    // The status refresh, on every caret move, selection change, text change and
    // insert/overwrite toggle, and on activation: caret line highlight, the caret panel,
    // insert mode, modified state and file name, the Edit items' enabling, and then
    // SyncTreeToCaret.
    void DFMStatusChange();
    // Selects the tree node of the object whose block holds the caret line: the nearest
    // line at or above it that begins with "object", "inherited" or "inline" names it;
    // an unnamed object's node is the one that line gave. Nothing happens when there is
    // no such line or no such node.
    void SyncTreeToCaret();
    // Enables the editor popup's items by the editor's state.
    void EditMenuPopup();
    // The dialog's Find Next: searches from the caret in the dialog's direction and
    // selects the match; "Text not found." when there is none.
    void rdFind();
    // The dialog's Replace (all false) and Replace All: replaces forwards from the
    // caret, a match already selected included; "Text not found." when nothing matched.
    void rdReplace(bool all);

protected:
    // A modified document asks FormDocument::SaveBeforeClose, Yes, No or Cancel; Yes
    // writes it (an unnamed one through Save As). Cancel, a cancelled Save As or a failed
    // write (shown) refuses the close, so close() returns false and the window stays
    // open. The window deletes itself once closed.
    void closeEvent(QCloseEvent* event) override;

private:
    // The undo depth the document is designed for. QScintilla has no depth limit to set,
    // so the editor keeps every undo step.
    static constexpr int MaxUndo = 10;

    // An edit committed in the inspector: the values set (or removed, when empty) on the
    // object through EditForm, with the object and the edited row kept in the inspector.
    void InspectorEdited(const QString& object, const QStringList& properties, const QStringList& values);
    // Lines from From on moved by By lines (negative: up) by a change of the text.
    struct LineShift {
        int From = 0;
        int By = 0;
    };
    // EditForm's parts. The replacements put into the editor, in one undo step, by
    // their offsets where the editor's text is the document's bytes (false, nothing
    // done, where it is not), or as the one span of the editor's text that differs from
    // the edited text; and the lines each moved, last edit first. A replacement of the
    // span [start, end) of the editor's text. What follows an edit: the preview, tree,
    // message list and inspector brought up to date.
    bool ApplyEditsInPlace(std::string_view bytes, const std::vector<edit::TextEdit>& edits,
                           std::vector<LineShift>& shifts);
    void ApplyEditsWhole(std::string_view bytes, const std::vector<edit::TextEdit>& edits,
                         std::vector<LineShift>& shifts);
    LineShift ReplaceEditorSpan(std::size_t start, std::size_t end, std::string_view replacement);
    void FollowEdit(const edit::EditResult& result, const std::vector<LineShift>& shifts);
    // The message list's lines from a line on moved by a number of lines.
    void ShiftMessageLines(int from, int by);
    // The preview brought up to the values an edit wrote, and the inspected object
    // shown again.
    void UpdatePreviewValues(const edit::EditResult& result);
    // The preview, tree and inspector built anew from the text, the time it took kept.
    void RebuildViews();
    void ScheduleLiveRefresh();
    void LiveRefresh();

    void BuildWidgets();
    void BuildMenus();
    // The view's part of a load, after the document has filled the editor: the file's
    // line-break convention for new breaks, the caret at the start, the file name panel,
    // and a rescan.
    void DocumentLoaded();
    // The editor's UTF-8 as it sits in its buffer, valid until the next edit.
    std::string_view EditorUtf8() const;
    void UpdateLineNumberWidth();
    // Enables Undo, Copy, Cut and Paste of the Edit menu by the editor's state.
    void UpdateEditActions();
    // Runs the status refresh once the event in hand is done; several requests in one
    // event give one refresh.
    void ScheduleStatusChange();
    // Takes the editor's own bindings off the keys the document keeps away from it.
    void RemoveEditorKeys();
    // Selection changes in the tree: resolves the selected node to its live object and
    // class, titles the inspector, and shows a control on the preview page.
    void TreeChange();
    // Resolves the node and fills the inspector, without showing anything.
    void InspectNode(int node);
    // The unnamed object's node for the caret, found by the line of the nearest object
    // line above it (an unnamed object has no name to look for); -1 when that line gave
    // no such node.
    int UnnamedNodeAtCaret() const;
    // The picking handler: selects the node of the clicked object's name.
    void ObjectEnter(const QString& senderName);
    // The designer surface's edits: new places of controls (their Left, Top, Width and
    // Height) and deletions, each one edit of the text (one undo step), after which the
    // same objects are selected again.
    void PlaceObjects(const QList<preview::ObjectPlacement>& placements);
    void DeleteObjects(const QStringList& paths);
    // Selects on the rebuilt preview the objects of the paths that are still there,
    // their current one in the tree (and so the inspector), with the caret on its
    // header so that the tree's following of the caret keeps it.
    void SelectOnDesigner(const QStringList& paths);
    // The pointer-tracking handler: writes status panel 1.
    void ObjectMouseMove(const QString& senderName, const QString& className, int x, int y);
    // The text of a 0-based line without its break, valid until the next call or edit.
    std::string_view LineText(int line) const;
    int CaretLine() const;
    // Scrolls the editor so that a 0-based line sits in the middle of the view.
    void CentreLine(int line);
    // The code shown for the character at the caret: its byte in the code page for
    // 8-bit text, its code point for UTF-8 text (or a character the code page lacks);
    // 0 at the end of the line.
    int CaretCharacter() const;
    // The selection's length in characters, each line break counting two (CR LF).
    int SelectionLength() const;
    // Searches the UTF-8 text between two positions (backwards when from > to) with
    // Scintilla search flags; returns the match's start or -1, the target holding it.
    long SearchText(const QByteArray& text, int flags, long from, long to) const;
    int FindFlags() const;
    // Empties and fills the message list of the preview: each message with its object
    // path and the line of the text it leads to.
    void RefreshMessageList();
    // A message activated (double-clicked, or Enter): its line, when it has one.
    void GotoMessage(const QTreeWidgetItem* item);
    // Shows the source page with the caret at the start of a 0-based line, its text
    // selected and centred in the view; nothing for a line the text does not have.
    void SelectLine(int line);
    bool eventFilter(QObject* watched, QEvent* event) override;

    // Holds the status refresh back while a command moves the caret in steps, and runs
    // it once at the end.
    class StatusBatch;
    friend class StatusBatch;

    UserMessages& messages_;
    preview::PreviewContext& preview_;
    // The editor's buffer as the document's text store, and the document over it.
    std::unique_ptr<EditorTextBuffer> editorBuffer_;
    FormDocument* document_ = nullptr;
    QLabel* codePageLabel_ = nullptr;
    std::vector<std::string> searchFolders_;
    SourceFileOpener openSourceFile_;
    int lastCaretLine_ = -1;

    QsciScintilla* editor_ = nullptr;  // the source editor, named DFM
    QStatusBar* statusBar_ = nullptr;
    QMenu* editMenu_ = nullptr;
    QMenu* dataMenu_ = nullptr;
    QAction* undoAction_ = nullptr;
    QAction* copyAction_ = nullptr;
    QAction* cutAction_ = nullptr;
    QAction* pasteAction_ = nullptr;
    QAction* previewAction_ = nullptr;
    QMenu* treeMenu_ = nullptr;
    QMenu* editorPopup_ = nullptr;
    QAction* popupUndo_ = nullptr;
    QAction* popupCopy_ = nullptr;
    QAction* popupCut_ = nullptr;
    QAction* popupPaste_ = nullptr;
    QAction* popupPreview_ = nullptr;
    FindReplaceDialog* replaceDialog_ = nullptr;
    std::unique_ptr<HierarchyLookup> lookup_;
    int objectCount_ = 0;
    int statusHeld_ = 0;
    bool statusScheduled_ = false;
    bool syncingTree_ = false;
    bool showTypeCol_ = false;
    bool showHTree_ = false;
    ObjectTreeView* tree_ = nullptr;
    QTreeWidget* messageList_ = nullptr;
    QSplitter* centreSplitter_ = nullptr;
    QTabBar* sourceTabs_ = nullptr;
    QStackedWidget* pages_ = nullptr;
    preview::VirtualDesktop* desktop_ = nullptr;
    rt::Object* inspectedObject_ = nullptr;
    const rt::Class* inspectedClass_ = nullptr;
    preview::OIPanel* inspector_ = nullptr;
    QLabel* oiTitle_ = nullptr;
    std::array<QLabel*, 5> panels_{};
    int lineNumberDigits_ = 0;
    QTimer* liveTimer_ = nullptr;
    int liveDelay_ = 500;
    qint64 lastBuildMs_ = 0;
    bool rebuilding_ = false;
};

}  // namespace fw
