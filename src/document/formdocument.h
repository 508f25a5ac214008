#pragma once
// FormDocument: one form file as data, without any widget: its name, its encoding on
// disk, the code page of its 8-bit text, the text itself, whether it is modified, and
// loading and saving it.
//
// Where the text lives: in a TextBuffer the document is given and does not own. A
// window gives it its source editor's buffer, so the text the user types is the text
// that is saved, with no second copy to keep in step; a document without an editor
// uses a StringTextBuffer. The document writes the buffer only when it loads; every
// other change comes from the buffer's owner, which tells the document when the text
// moves to or from its save point (TextBuffer::NotifySavePointChanged). Text() always
// reads the buffer as it is now.

#include <QByteArray>
#include <QObject>
#include <QString>
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "base/codepage.h"
#include "codec/declaredcharset.h"
#include "codec/formformat.h"
#include "document/formtext.h"

namespace fw {

class UserMessages;

// The store of a document's text as UTF-8, as the editor shows it.
class TextBuffer {
public:
    virtual ~TextBuffer() = default;

    // The whole text, valid until the next change.
    virtual std::string_view Utf8() const = 0;
    // A load replaces the text: BeginLoad empties it, Reserve and Append fill it, and
    // EndLoad makes the loaded text the save point, with no undo step for any of it.
    virtual void BeginLoad() = 0;
    virtual void Reserve(std::size_t bytes) = 0;
    virtual void Append(std::string_view utf8) = 0;
    virtual void EndLoad() = 0;
    // Empties the text in the middle of a load that failed.
    virtual void Clear() = 0;
    // Whether the text differs from its save point, and setting the save point here.
    virtual bool ChangedSinceSave() const = 0;
    virtual void MarkSaved() = 0;

    // The owner calls these when ChangedSinceSave flips and when an edit changed the
    // text (not for a load); the document listens.
    void NotifySavePointChanged() const {
        if (savePointChanged_) savePointChanged_();
    }
    void NotifyTextChanged() const {
        if (textChanged_) textChanged_();
    }
    void SetListeners(std::function<void()> savePointChanged, std::function<void()> textChanged) {
        savePointChanged_ = std::move(savePointChanged);
        textChanged_ = std::move(textChanged);
    }

private:
    std::function<void()> savePointChanged_;
    std::function<void()> textChanged_;
};

// A text buffer in memory, for a document without an editor.
class StringTextBuffer final : public TextBuffer {
public:
    std::string_view Utf8() const override { return text_; }
    void BeginLoad() override { text_.clear(); }
    void Reserve(std::size_t bytes) override { text_.reserve(bytes); }
    void Append(std::string_view utf8) override { text_.append(utf8); }
    void EndLoad() override { MarkSaved(); }
    void Clear() override { text_.clear(); }
    bool ChangedSinceSave() const override { return text_ != saved_; }
    void MarkSaved() override {
        const bool changed = ChangedSinceSave();
        saved_ = text_;
        if (changed) NotifySavePointChanged();
    }
    // An edit: the new text, telling the document when that changes the modified state.
    void SetText(std::string_view utf8) {
        const bool before = ChangedSinceSave();
        text_ = std::string(utf8);
        NotifyTextChanged();
        if (ChangedSinceSave() != before) NotifySavePointChanged();
    }

private:
    std::string text_;
    std::string saved_;
};

class FormDocument : public QObject {
    Q_OBJECT
public:
    // The document reads and writes its text through `buffer`, which must outlive it;
    // `codePage` is the preference for text that declares no code page.
    FormDocument(UserMessages& messages, const CodePage& codePage, TextBuffer& buffer,
                 QObject* parent = nullptr);

    // Names the document after the file, detects its encoding and loads it into the
    // buffer; emits Loaded. A file that cannot be read, or a binary or resource file that
    // does not convert, leaves the text empty with its error shown and remembered
    // (LoadError()); Save then asks before it replaces that file.
    void Load(const QString& path);
    // Fills an unnamed document with form text (UTF-8 or 8-bit bytes as a file would
    // hold them), which counts as modified until it is saved; emits Loaded. Empty text
    // changes nothing.
    void LoadText(const QByteArray& text);

    // Saves to FileName in the document's encoding, keeping the old file as its backup;
    // runs SaveAs for an unnamed document. False when the user stopped it (a dialog
    // cancelled, a doubtful code page declined). Throws on a failed write (the file and
    // the modified state stay as they were).
    bool Save();
    // Writes a copy in an encoding and to a path the user picks, the dialogs starting at
    // the document's encoding and file (or Caption); the document itself keeps its name,
    // encoding and modified state. False when a dialog was cancelled. Throws on a failed
    // write.
    bool SaveAs();
    // Converts the text to the encoding in memory, then writes the file atomically. A
    // binary or resource save of 8-bit text that may not be in the document's code page
    // (CodePageDoubt) asks first; false, and nothing written, when the user declines.
    // Throws on a conversion error or a character the code page cannot hold, leaving
    // the file untouched.
    bool WriteEncoded(const QString& path, FormEncoding encoding, const QString& backupPath = {});
    // The close prompt of a modified document, "Save changes ...?" with Yes, No and
    // Cancel; Yes writes it (an unnamed one through SaveAs, a named one without a
    // backup). True when the document may go: No, or Yes and written. A failed write is
    // shown and keeps the document.
    bool SaveBeforeClose();

    // Reads the file again through this code page, which stays the document's choice.
    // A modified document asks first; false when it was kept.
    bool ReopenWithCodePage(const CodePage& codePage);
    // Saves the text encoded in this code page, which becomes the document's choice. A
    // character the page cannot hold is shown as an error and nothing is written; false
    // then. Throws on a failed write, like Save.
    bool SaveWithCodePage(const CodePage& codePage);

    QString FileName() const { return fileName_; }
    // The name an unnamed document goes by (the window's caption): the name Save As
    // proposes, with ".dfm".
    QString Caption() const { return caption_; }
    void SetCaption(const QString& caption) { caption_ = caption; }
    FormEncoding Encoding() const { return encoding_; }
    bool Modified() const { return modified_; }
    // The error shown for a failed load, empty otherwise and after a save over that file.
    QString LoadError() const { return loadError_; }
    // The code page of the document's 8-bit text: the one chosen for this document
    // (ReopenWithCodePage, SaveWithCodePage), else the one the loaded form declares
    // through its Charset values, else the preference the document was created with.
    const CodePage& TextCodePage() const { return *codePage_; }
    CodePageSource TextCodePageSource() const { return codePageSource_; }
    // The note of the code page, e.g. "CP 936 (declared)".
    QString CodePageText() const;
    // Whether the text is UTF-8 behind a byte-order mark (the mark is not in the text).
    bool Utf8() const { return utf8_; }
    // The line breaks of the last file or text loaded: the one kind it holds, CR LF
    // when it holds several or none.
    LineBreak LineBreaks() const { return lineBreaks_; }

    // The text as the editor holds it (UTF-8), valid until the next change.
    std::string_view Text() const { return buffer_.Utf8(); }
    // The text as the bytes a text file would hold.
    QByteArray TextBytes() const;
    // Why 8-bit text may not be in the document's code page (bytes the page does not
    // define, or a form that declares another page), as a question to save anyway; empty
    // when there is no doubt or the text is ASCII or UTF-8.
    QString CodePageDoubt(std::string_view text) const;
    // "Save changes to file <FileName>?", or for an unnamed document "Save changes to
    // the unnamed document <Caption>?".
    QString SaveChangesQuestion() const;

signals:
    // After Load and LoadText, whether the load succeeded or not.
    void Loaded();
    // The text changed, by an edit or a load.
    void TextChanged();
    void ModifiedChanged(bool modified);
    void FileNameChanged(const QString& fileName);
    void CodePageChanged();

private:
    // Settles the code page for a form about to be loaded from these bytes.
    void ChooseCodePage(const Bytes& form);
    void SetCodePage(const CodePage* codePage, CodePageSource source);
    void LoadTextBytes(std::string_view bytes);
    // Asks before a file that did not load is replaced; true to go on.
    bool ConfirmReplaceUnreadable();
    // Modified from the buffer's save point and text never saved; ModifiedChanged when
    // that changes.
    void UpdateModified();

    UserMessages& messages_;
    TextBuffer& buffer_;
    // The preference the document was created with, the page chosen for it (none until
    // one is), and the page in use with where it came from.
    const CodePage& preferredCodePage_;
    const CodePage* chosenCodePage_ = nullptr;
    const CodePage* codePage_;
    CodePageSource codePageSource_ = CodePageSource::Default;
    QString fileName_;
    QString caption_;
    FormEncoding encoding_ = FormEncoding::Text;
    bool modified_ = false;
    // Set for text handed over by LoadText, which has never been saved: the document
    // stays modified even when the buffer is back at its save point.
    bool unsavedText_ = false;
    bool utf8_ = false;
    LineBreak lineBreaks_ = LineBreak::CrLf;
    QString loadError_;
};

}  // namespace fw
