#pragma once
// Tmdi_dfm_Editor: one open form file, an MDI child of the main window. Whatever its
// encoding on disk, the document holds the form as text in its source editor; that text
// is the one truth from which the tree, preview and inspector are derived.

#include <QByteArray>
#include <QMdiSubWindow>
#include <QString>
#include <array>
#include <string_view>

#include "codec/codepage.h"
#include "codec/formformat.h"

class QMenu;
class QAction;
class QLabel;
class QListWidget;
class QSplitter;
class QTabWidget;
class QTreeWidget;
class QsciScintilla;
class QStatusBar;

namespace fw {

class EditorTextSink;
class UserMessages;

class Tmdi_dfm_Editor : public QMdiSubWindow {
    Q_OBJECT
public:
    Tmdi_dfm_Editor(UserMessages& messages, const CodePage& codePage, QWidget* parent = nullptr);
    ~Tmdi_dfm_Editor() override;

    // Names, detects, loads and rescans the file. A file that cannot be read, or a binary
    // or resource file that does not convert, opens empty with its error shown and
    // remembered (LoadError()); Save then asks before it replaces that file.
    void OpenDocumentFile(const QString& path);
    // Fills a new, unnamed document with form text (UTF-8 or 8-bit bytes as a file would
    // hold them); with text given the document counts as modified.
    void LoadFromLines(const QByteArray& text);
    // Saves to FileName in the document's encoding, keeping the old file as its backup;
    // runs SaveDocumentAs for an unnamed document. Throws on a failed write (the file
    // and the modified state stay as they were).
    void SaveDocument();
    // Writes a copy in an encoding and to a path the user picks; the document itself
    // keeps its name, encoding and modified state. Throws on a failed write.
    void SaveDocumentAs();
    // Converts the text to the encoding in memory, then writes the file atomically.
    // Throws on a conversion error or a character the code page cannot hold, leaving
    // the file untouched.
    void WriteEncoded(const QString& path, FormEncoding encoding, const QString& backupPath = {});

    QString FileName() const { return fileName_; }
    FormEncoding Encoding() const { return encoding_; }
    bool Modified() const { return modified_; }
    // The error shown for a failed load (a file that could not be read, or a binary one
    // that did not convert), empty otherwise and after a save over that file.
    QString LoadError() const { return loadError_; }
    // The editor text as the bytes a text file would hold.
    QByteArray TextBytes() const;

    QsciScintilla* Editor() const { return editor_; }
    QStatusBar* StatusBar() const { return sb_; }
    // The text of a status panel, 0 to 4 (2: "Modified" or empty, 4: FileName).
    QString PanelText(int panel) const;
    QTreeWidget* Tree() const { return tree_; }
    QListWidget* MessageList() const { return messageList_; }
    // The source/preview tab set: page 0 "Source" holds the editor, page 1 "Preview".
    QTabWidget* Pages() const { return pages_; }
    QWidget* Inspector() const { return inspector_; }
    // The document's own menus, merged into the main window's menu bar.
    QMenu* EditMenu() const { return editMenu_; }
    QMenu* DataMenu() const { return dataMenu_; }

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
    void cmExpand();
    void cmCollapse();
    void cmPreview();
    void cmRescan();
    void mmSaveFormImageClick();
    void cmLoadData();
    void DFMChange();
    // Shows the modified state, insert mode and file name in the status bar; runs when
    // the window is activated. (Caret details come with the full status refresh.)
    void RefreshStatusPanels();

signals:
    // Emitted when Modified changes.
    void ModifiedChanged(bool modified);

protected:
    // A modified document asks "Save changes to file ...?"; Yes writes it (an unnamed one
    // through SaveDocumentAs). A failed write is shown and the close is refused, so
    // close() returns false and the window stays open. The window deletes itself once
    // closed.
    void closeEvent(QCloseEvent* event) override;

private:
    // The undo depth the document is designed for. QScintilla has no depth limit to set,
    // so the editor keeps every undo step.
    static constexpr int MaxUndo = 10;

    void BuildWidgets();
    void BuildMenus();
    // Replaces the editor text with the bytes of a text file (8-bit in the code page,
    // or UTF-8 behind a byte-order mark), without an undo step, and takes the file's
    // line-break convention for new breaks.
    void LoadTextBytes(std::string_view bytes);
    // Takes over what a load put into the editor: UTF-8 or not, the line-break mode, the
    // caret at the start.
    void FinishLoad(const EditorTextSink& sink);
    // The editor's UTF-8 as it sits in its buffer, valid until the next edit.
    std::string_view EditorUtf8() const;
    // Asks before a file that did not load is replaced; true to go on.
    bool ConfirmReplaceUnreadable();
    void UpdateLineNumberWidth();
    // Enables Undo, Copy, Cut and Paste of the Edit menu by the editor's state.
    void UpdateEditActions();

    UserMessages& messages_;
    const CodePage& codePage_;
    QString fileName_;
    FormEncoding encoding_ = FormEncoding::Text;
    bool modified_ = false;
    // Set for text handed over by LoadFromLines, which has never been saved: the
    // document stays modified even when the editor is back at its save point.
    bool unsavedText_ = false;
    bool utf8_ = false;  // the text is UTF-8 with a byte-order mark
    QString loadError_;
    int LastCaretLine = -1;

    QsciScintilla* editor_ = nullptr;  // the source editor, named DFM
    QStatusBar* sb_ = nullptr;
    QMenu* editMenu_ = nullptr;
    QMenu* dataMenu_ = nullptr;
    QAction* undoAction_ = nullptr;
    QAction* copyAction_ = nullptr;
    QAction* cutAction_ = nullptr;
    QAction* pasteAction_ = nullptr;
    QTreeWidget* tree_ = nullptr;
    QListWidget* messageList_ = nullptr;
    QTabWidget* pages_ = nullptr;
    QWidget* inspector_ = nullptr;
    std::array<QLabel*, 5> panels_{};
    int lineNumberDigits_ = 0;
};

}  // namespace fw
