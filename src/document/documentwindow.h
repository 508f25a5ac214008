#pragma once
// Tmdi_dfm_Editor: one open form file, an MDI child of the main window. Whatever its
// encoding on disk, the document holds the form as text in its source editor; that text
// is the one truth from which the tree, preview and inspector are derived.

#include <QByteArray>
#include <QMdiSubWindow>
#include <QString>

#include "codec/codepage.h"
#include "codec/formformat.h"

class QMenu;
class QAction;
class QsciScintilla;
class QStatusBar;

namespace fw {

class UserMessages;

class Tmdi_dfm_Editor : public QMdiSubWindow {
    Q_OBJECT
public:
    Tmdi_dfm_Editor(UserMessages& messages, const CodePage& codePage, QWidget* parent = nullptr);
    ~Tmdi_dfm_Editor() override;

    // Names, detects, loads and rescans the file. A binary or resource file that does
    // not convert opens empty with its error shown and remembered (LoadError()).
    void OpenDocumentFile(const QString& path);
    // Fills a new, unnamed document with form text (UTF-8 or 8-bit bytes as a file would
    // hold them); with text given the document counts as modified.
    void LoadFromLines(const QByteArray& text);
    // Saves to FileName in the document's encoding, keeping the old file as its backup;
    // runs SaveDocumentAs for an unnamed document.
    void SaveDocument();
    // Writes a copy in an encoding and to a path the user picks; the document itself
    // keeps its name, encoding and modified state.
    void SaveDocumentAs();
    // Converts the text to the encoding in memory, then writes the file atomically.
    // Throws on a conversion error or a character the code page cannot hold, leaving
    // the file untouched.
    void WriteEncoded(const QString& path, FormEncoding encoding, const QString& backupPath = {});

    QString FileName() const { return fileName_; }
    FormEncoding Encoding() const { return encoding_; }
    bool Modified() const { return modified_; }
    // The error of a failed binary load, empty otherwise.
    QString LoadError() const { return loadError_; }
    // The editor text as the bytes a text file would hold.
    QByteArray TextBytes() const;

    QsciScintilla* Editor() const { return editor_; }
    QStatusBar* StatusBar() const { return sb_; }
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

signals:
    // Emitted when Modified changes.
    void ModifiedChanged(bool modified);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    UserMessages& messages_;
    const CodePage& codePage_;
    QString fileName_;
    FormEncoding encoding_ = FormEncoding::Text;
    bool modified_ = false;
    bool utf8_ = false;        // the text is UTF-8 with a byte-order mark
    QString loadError_;
    int LastCaretLine = -1;

    QsciScintilla* editor_ = nullptr;  // the source editor, named DFM
    QStatusBar* sb_ = nullptr;
    QMenu* editMenu_ = nullptr;
    QMenu* dataMenu_ = nullptr;
};

}  // namespace fw
