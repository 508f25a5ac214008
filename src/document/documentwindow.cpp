#include "document/documentwindow.h"

#include <Qsci/qsciscintilla.h>

#include <QAction>
#include <QClipboard>
#include <QCloseEvent>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QSplitter>
#include <QStatusBar>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <exception>

#include "codec/conversion.h"
#include "codec/errors.h"
#include "codec/stream.h"
#include "document/formlexer.h"
#include "document/formtext.h"
#include "document/usermessages.h"

namespace fw {

namespace {

// File names go to the system in the local 8-bit encoding, as Qt's own file classes do.
std::string NativePath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

QString FromUtf8(const char* text) {
    return QString::fromUtf8(text);
}

ByteSpan SpanOf(std::string_view bytes) {
    return {reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()};
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

constexpr int ModifiedPanel = 2;
constexpr int InsertPanel = 3;
constexpr int FileNamePanel = 4;

// Text files are read in pieces of this size, the size the converters write in.
constexpr std::size_t ReadChunk = 1 << 16;

}  // namespace

// A write-only stream that puts form text straight into the editor as it comes, from a
// file being read or from a converter, so that a large form is never held in full
// beside the editor's own copy. It recognises the UTF-8 byte-order mark at the start
// (which does not go into the editor), decodes 8-bit text through the code page, and
// notes which line breaks the text holds. While it lives the editor records no undo
// step and sends no change notifications: the editor widget would turn the whole text
// into a QString for each of them, which costs more than the load itself.
class EditorTextSink final : public Stream {
public:
    EditorTextSink(QsciScintilla& editor, const CodePage& codePage)
        : editor_(editor),
          codePage_(codePage),
          eventMask_(editor.SendScintilla(QsciScintillaBase::SCI_GETMODEVENTMASK)) {
        editor_.SendScintilla(QsciScintillaBase::SCI_SETMODEVENTMASK, 0UL);
        editor_.SendScintilla(QsciScintillaBase::SCI_SETUNDOCOLLECTION, 0UL);
        editor_.SendScintilla(QsciScintillaBase::SCI_CLEARALL);
    }
    ~EditorTextSink() override {
        editor_.SendScintilla(QsciScintillaBase::SCI_SETMODEVENTMASK, static_cast<unsigned long>(eventMask_));
        editor_.SendScintilla(QsciScintillaBase::SCI_SETUNDOCOLLECTION, 1UL);
        editor_.SendScintilla(QsciScintillaBase::SCI_EMPTYUNDOBUFFER);
        editor_.SendScintilla(QsciScintillaBase::SCI_SETSAVEPOINT);
    }

    std::size_t Read(void*, std::size_t) override { return 0; }
    void Write(const void* buffer, std::size_t n) override {
        std::string_view bytes(static_cast<const char*>(buffer), n);
        written_ += static_cast<std::int64_t>(n);
        if (!headDone_) {
            // The first three bytes wait until it is clear whether they are the mark.
            const std::size_t take = std::min(Utf8ByteOrderMark.size() - head_.size(), bytes.size());
            head_.append(bytes.substr(0, take));
            bytes.remove_prefix(take);
            if (head_.size() < Utf8ByteOrderMark.size()) return;
            EndHead();
        }
        Append(bytes);
    }
    std::int64_t Position() const override { return written_; }
    void Seek(std::int64_t position) override {
        if (position != written_) throw EStreamError("Stream seek error");
    }
    std::int64_t Size() const override { return written_; }
    void ExpectWrite(std::size_t n) override {
        editor_.SendScintilla(QsciScintillaBase::SCI_ALLOCATE, static_cast<unsigned long>(n + 1));
    }

    // Passes on what is held back of a text shorter than the mark.
    void Finish() {
        if (!headDone_) EndHead();
    }
    // Empties the editor again, after a conversion that failed halfway.
    void Discard() { editor_.SendScintilla(QsciScintillaBase::SCI_CLEARALL); }

    bool Utf8() const { return utf8_; }
    LineBreak Breaks() const {
        if (cr_ && !lf_) return LineBreak::Cr;
        if (lf_ && !cr_) return LineBreak::Lf;
        return LineBreak::CrLf;
    }

private:
    void EndHead() {
        headDone_ = true;
        utf8_ = head_ == Utf8ByteOrderMark;
        if (!utf8_) Append(head_);
        head_.clear();
    }
    void Append(std::string_view bytes) {
        if (bytes.empty()) return;
        if (!cr_) cr_ = bytes.find('\r') != std::string_view::npos;
        if (!lf_) lf_ = bytes.find('\n') != std::string_view::npos;
        // UTF-8 goes in as it is, so even bytes that are not valid UTF-8 come back
        // unchanged; 8-bit text is decoded unless it is plain ASCII, the same in both.
        if (!utf8_ && !IsAscii(bytes)) {
            decoded_ = EditorTextFromBytes(bytes, codePage_);
            bytes = decoded_;
        }
        editor_.SendScintilla(QsciScintillaBase::SCI_APPENDTEXT, static_cast<unsigned long>(bytes.size()),
                              bytes.data());
    }

    QsciScintilla& editor_;
    const CodePage& codePage_;
    const long eventMask_;
    std::int64_t written_ = 0;
    std::string head_;
    bool headDone_ = false;
    bool utf8_ = false;
    bool cr_ = false;
    bool lf_ = false;
    std::string decoded_;
};

Tmdi_dfm_Editor::Tmdi_dfm_Editor(UserMessages& messages, const CodePage& codePage, QWidget* parent)
    : QMdiSubWindow(parent), messages_(messages), codePage_(codePage) {
    setAttribute(Qt::WA_DeleteOnClose);
    BuildWidgets();
    BuildMenus();
    setWindowTitle(QStringLiteral("Untitled"));
    setWindowState(Qt::WindowMaximized);
    connect(this, &QMdiSubWindow::aboutToActivate, this, &Tmdi_dfm_Editor::RefreshStatusPanels);
}

Tmdi_dfm_Editor::~Tmdi_dfm_Editor() = default;

void Tmdi_dfm_Editor::BuildWidgets() {
    auto* body = new QWidget(this);
    auto* layout = new QVBoxLayout(body);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    // Tree | source/preview above the message list | inspector.
    auto* columns = new QSplitter(Qt::Horizontal, body);
    columns->setObjectName(QStringLiteral("Columns"));
    tree_ = new QTreeWidget(columns);
    tree_->setObjectName(QStringLiteral("Tree"));
    tree_->setColumnCount(2);
    tree_->setHeaderLabels({QStringLiteral("Object name"), QStringLiteral("Class Name")});

    auto* centre = new QSplitter(Qt::Vertical, columns);
    centre->setObjectName(QStringLiteral("Centre"));
    pages_ = new QTabWidget(centre);
    pages_->setObjectName(QStringLiteral("Pages"));
    editor_ = new QsciScintilla;
    editor_->setObjectName(QStringLiteral("DFM"));
    pages_->addTab(editor_, QStringLiteral("Source"));
    auto* preview = new QWidget;
    preview->setObjectName(QStringLiteral("Preview"));
    pages_->addTab(preview, QStringLiteral("Preview"));
    pages_->setCurrentIndex(0);
    messageList_ = new QListWidget(centre);
    messageList_->setObjectName(QStringLiteral("Messages"));
    centre->setStretchFactor(0, 1);
    centre->setStretchFactor(1, 0);
    centre->setSizes({400, 80});

    inspector_ = new QWidget(columns);
    inspector_->setObjectName(QStringLiteral("Inspector"));
    columns->setStretchFactor(0, 0);
    columns->setStretchFactor(1, 1);
    columns->setStretchFactor(2, 0);
    columns->setSizes({160, 620, 140});

    sb_ = new QStatusBar(body);
    sb_->setObjectName(QStringLiteral("sb"));
    sb_->setSizeGripEnabled(false);
    for (std::size_t i = 0; i < Panels.size(); ++i) {
        auto* label = new QLabel(FromUtf8(Panels[i].InitialText), sb_);
        label->setMinimumWidth(Panels[i].Width);
        label->setAlignment(Panels[i].Alignment);
        // The last panel takes the rest of the line: it holds the file's full path.
        sb_->addWidget(label, i + 1 == Panels.size() ? 1 : 0);
        panels_[i] = label;
    }

    layout->addWidget(columns, 1);
    layout->addWidget(sb_);
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

    connect(editor_, &QsciScintilla::modificationChanged, this, &Tmdi_dfm_Editor::DFMChange);
    connect(editor_, &QsciScintilla::linesChanged, this, &Tmdi_dfm_Editor::UpdateLineNumberWidth);
    connect(editor_, &QsciScintilla::textChanged, this, &Tmdi_dfm_Editor::UpdateEditActions);
    connect(editor_, &QsciScintilla::selectionChanged, this, &Tmdi_dfm_Editor::UpdateEditActions);
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this,
            &Tmdi_dfm_Editor::UpdateEditActions);
}

void Tmdi_dfm_Editor::BuildMenus() {
    // The actions live in this document's menus only, with the window context. A menu
    // action's shortcut counts only while its menu is in a visible menu bar, and the main
    // window shows the menus of the active document alone: so a key reaches the active
    // document, wherever the focus is in the main window, and never another open one.
    auto add = [this](QMenu* menu, const char* text, QKeySequence key, void (Tmdi_dfm_Editor::*slot)()) {
        QAction* action = menu->addAction(FromUtf8(text));
        if (!key.isEmpty()) action->setShortcut(key);
        action->setShortcutContext(Qt::WindowShortcut);
        connect(action, &QAction::triggered, this, slot);
        return action;
    };

    editMenu_ = new QMenu(QStringLiteral("&Edit"), this);
    editMenu_->setObjectName(QStringLiteral("mmEdit"));
    undoAction_ =
        add(editMenu_, "&Undo", QKeySequence(Qt::ALT | Qt::Key_Backspace), &Tmdi_dfm_Editor::cmUndo);
    editMenu_->addSeparator();
    copyAction_ = add(editMenu_, "Copy", {}, &Tmdi_dfm_Editor::cmCopy);
    cutAction_ = add(editMenu_, "Cut", {}, &Tmdi_dfm_Editor::cmCut);
    pasteAction_ = add(editMenu_, "Paste", {}, &Tmdi_dfm_Editor::cmPaste);
    editMenu_->addSeparator();
    add(editMenu_, "&Find and Replace...", QKeySequence(Qt::CTRL | Qt::Key_F), &Tmdi_dfm_Editor::cmReplace);
    add(editMenu_, "Find &next", QKeySequence(Qt::Key_F3), &Tmdi_dfm_Editor::cmFindnext);
    editMenu_->addSeparator();
    QAction* gotoSource =
        add(editMenu_, "&Goto source", QKeySequence(Qt::CTRL | Qt::Key_Return), &Tmdi_dfm_Editor::cmGoto);
    // Ctrl with the keypad's Enter does the same as with Return.
    gotoSource->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_Return), QKeySequence(Qt::CTRL | Qt::Key_Enter)});
    editMenu_->addSeparator();
    add(editMenu_, "Full e&xpand", QKeySequence(Qt::CTRL | Qt::Key_PageDown), &Tmdi_dfm_Editor::cmExpand);
    add(editMenu_, "Full &collapse", QKeySequence(Qt::CTRL | Qt::Key_PageUp), &Tmdi_dfm_Editor::cmCollapse);

    dataMenu_ = new QMenu(QStringLiteral("&Data"), this);
    dataMenu_->setObjectName(QStringLiteral("mmData"));
    add(dataMenu_, "&Form Preview", QKeySequence(Qt::Key_F12), &Tmdi_dfm_Editor::cmPreview);
    add(dataMenu_, "&Rescan objects", QKeySequence(Qt::CTRL | Qt::Key_R), &Tmdi_dfm_Editor::cmRescan);
    dataMenu_->addSeparator();
    add(dataMenu_, "Save Form Image...", {}, &Tmdi_dfm_Editor::mmSaveFormImageClick);
    add(dataMenu_, "Load and Paste Data...", {}, &Tmdi_dfm_Editor::cmLoadData);

    UpdateEditActions();
}

// ---- loading ----

void Tmdi_dfm_Editor::OpenDocumentFile(const QString& path) {
    fileName_ = path;
    setWindowTitle(QFileInfo(path).fileName());
    loadError_.clear();
    encoding_ = FormEncoding::Text;

    try {
        FileStream file(NativePath(path), FileStream::Mode::Read);
        std::array<std::uint8_t, 3> head{};
        const std::size_t headLength = file.Read(head.data(), head.size());
        encoding_ = DetectEncoding(ByteSpan(head.data(), headLength));
        file.Seek(0);
        EditorTextSink sink(*editor_, codePage_);
        try {
            if (encoding_ == FormEncoding::Text) {
                std::string chunk(ReadChunk, '\0');
                sink.ExpectWrite(static_cast<std::size_t>(file.Size()));
                while (const std::size_t n = file.Read(chunk.data(), chunk.size()))
                    sink.Write(chunk.data(), n);
            } else {
                // A binary form is read whole and converted in memory, the text going
                // straight into the editor.
                const Bytes bytes = file.ReadToEnd();
                ByteViewStream input(bytes);
                if (encoding_ == FormEncoding::Resource)
                    ResourceFormToText(input, sink, codePage_);
                else
                    BinaryFormToText(input, sink, codePage_);
            }
            sink.Finish();
        } catch (const std::exception& error) {
            // No part of a text that did not load stays in the editor.
            sink.Discard();
            if (encoding_ == FormEncoding::Text) throw;
            throw Exception("Cannot convert " + NativePath(path) + ": " + error.what());
        }
        FinishLoad(sink);
    } catch (const std::exception& error) {
        // The document stays open with empty text; the error is shown now and kept, so
        // that Save asks before it writes over a file that did not load.
        loadError_ = FromUtf8(error.what());
        messages_.Error(loadError_);
    }

    editor_->setModified(false);
    unsavedText_ = false;
    DFMChange();
    panels_[FileNamePanel]->setText(fileName_);
    cmRescan();
}

void Tmdi_dfm_Editor::LoadFromLines(const QByteArray& text) {
    if (text.isEmpty()) return;
    LoadTextBytes({text.constData(), static_cast<std::size_t>(text.size())});
    cmRescan();
    unsavedText_ = true;
    DFMChange();
}

void Tmdi_dfm_Editor::LoadTextBytes(std::string_view bytes) {
    EditorTextSink sink(*editor_, codePage_);
    sink.ExpectWrite(bytes.size());
    sink.Write(bytes.data(), bytes.size());
    sink.Finish();
    FinishLoad(sink);
}

void Tmdi_dfm_Editor::FinishLoad(const EditorTextSink& sink) {
    utf8_ = sink.Utf8();
    editor_->setEolMode(EolModeOf(sink.Breaks()));
    editor_->SendScintilla(QsciScintillaBase::SCI_GOTOPOS, 0UL);
    UpdateLineNumberWidth();
    UpdateEditActions();
}

std::string_view Tmdi_dfm_Editor::EditorUtf8() const {
    const long length = editor_->SendScintilla(QsciScintillaBase::SCI_GETLENGTH);
    if (length <= 0) return {};
    const auto* text =
        reinterpret_cast<const char*>(editor_->SendScintilla(QsciScintillaBase::SCI_GETCHARACTERPOINTER));
    return {text, static_cast<std::size_t>(length)};
}

QByteArray Tmdi_dfm_Editor::TextBytes() const {
    const std::string_view text = EditorUtf8();
    if (utf8_) {
        QByteArray out;
        out.reserve(static_cast<qsizetype>(Utf8ByteOrderMark.size() + text.size()));
        out.append(Utf8ByteOrderMark.data(), static_cast<qsizetype>(Utf8ByteOrderMark.size()));
        out.append(text.data(), static_cast<qsizetype>(text.size()));
        return out;
    }
    if (IsAscii(text)) return QByteArray(text.data(), static_cast<qsizetype>(text.size()));
    const std::string bytes = BytesFromEditorText(text, codePage_);
    return QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

// ---- saving ----

void Tmdi_dfm_Editor::WriteEncoded(const QString& path, FormEncoding encoding, const QString& backupPath) {
    const QByteArray text = TextBytes();
    const ByteSpan textBytes = SpanOf({text.constData(), static_cast<std::size_t>(text.size())});
    Bytes converted;
    ByteSpan output = textBytes;
    if (encoding != FormEncoding::Text) {
        // Converted in memory first: a syntax error stops the save before the file is
        // touched. The conversion is called directly rather than by detection, so text
        // that happens to start like a binary stream is not taken for one.
        ByteViewStream input(textBytes);
        MemoryStream binary;
        if (encoding == FormEncoding::Binary)
            TextToBinaryForm(input, binary, codePage_);
        else
            TextToResourceForm(input, binary, codePage_);
        converted = binary.Take();
        output = converted;
    }
    WriteFileAtomically(NativePath(path), output,
                        backupPath.isEmpty() ? std::string() : NativePath(backupPath));
}

bool Tmdi_dfm_Editor::ConfirmReplaceUnreadable() {
    return messages_.Confirm(loadError_ + QStringLiteral("\n\nThe file ") + fileName_ +
                             QStringLiteral(" did not load, so the editor does not hold its content. "
                                            "Replace it with the text in the editor?"));
}

void Tmdi_dfm_Editor::SaveDocument() {
    if (fileName_.isEmpty()) {
        SaveDocumentAs();
        return;
    }
    if (!loadError_.isEmpty() && !ConfirmReplaceUnreadable()) return;
    WriteEncoded(fileName_, encoding_, BackupPath(fileName_));
    loadError_.clear();
    unsavedText_ = false;
    editor_->setModified(false);
    DFMChange();
}

void Tmdi_dfm_Editor::SaveDocumentAs() {
    const std::optional<FormEncoding> encoding = messages_.AskSaveType();
    if (!encoding) return;
    const QString path = messages_.AskSavePath();
    if (path.isEmpty()) return;
    WriteEncoded(path, *encoding);
}

void Tmdi_dfm_Editor::closeEvent(QCloseEvent* event) {
    if (modified_ &&
        messages_.Confirm(QStringLiteral("Save changes to file ") + fileName_ + QStringLiteral("?"))) {
        if (!fileName_.isEmpty() && !loadError_.isEmpty() && !ConfirmReplaceUnreadable()) {
            // Neither written nor thrown away: the window stays open for a Save As.
            event->ignore();
            return;
        }
        const bool written = RunGuarded(messages_, [this] {
            if (fileName_.isEmpty())
                SaveDocumentAs();
            else
                WriteEncoded(fileName_, encoding_);
        });
        if (!written) {
            event->ignore();
            return;
        }
    }
    // TODO(the preview issue): detach and destroy the preview form before the window goes.
    QMdiSubWindow::closeEvent(event);
}

// ---- state ----

void Tmdi_dfm_Editor::DFMChange() {
    const bool modified = editor_->isModified() || unsavedText_;
    panels_[ModifiedPanel]->setText(modified ? QStringLiteral("Modified") : QString());
    if (modified != modified_) {
        modified_ = modified;
        emit ModifiedChanged(modified_);
    }
}

void Tmdi_dfm_Editor::RefreshStatusPanels() {
    panels_[ModifiedPanel]->setText(modified_ ? QStringLiteral("Modified") : QString());
    panels_[InsertPanel]->setText(editor_->overwriteMode() ? QStringLiteral("Overwrite")
                                                           : QStringLiteral("Insert"));
    panels_[FileNamePanel]->setText(fileName_);
}

QString Tmdi_dfm_Editor::PanelText(int panel) const {
    if (panel < 0 || panel >= static_cast<int>(panels_.size())) return {};
    return panels_[static_cast<std::size_t>(panel)]->text();
}

void Tmdi_dfm_Editor::UpdateLineNumberWidth() {
    int digits = 1;
    for (int lines = editor_->lines(); lines >= 10; lines /= 10)
        ++digits;
    digits = std::max(digits, 2);
    if (digits == lineNumberDigits_) return;
    lineNumberDigits_ = digits;
    // One digit to spare, so the numbers do not touch the text.
    editor_->setMarginWidth(0, QString(digits + 1, QLatin1Char('9')));
}

void Tmdi_dfm_Editor::UpdateEditActions() {
    if (!undoAction_) return;
    undoAction_->setEnabled(CanUndo());
    const bool selection = HasSelection();
    copyAction_->setEnabled(selection);
    cutAction_->setEnabled(selection);
    pasteAction_->setEnabled(CanPaste());
}

bool Tmdi_dfm_Editor::CanUndo() const {
    return !editor_->isReadOnly() && editor_->isUndoAvailable();
}

bool Tmdi_dfm_Editor::HasSelection() const {
    return editor_->hasSelectedText();
}

bool Tmdi_dfm_Editor::CanPaste() const {
    if (editor_->isReadOnly()) return false;
    const QMimeData* clipboard = QGuiApplication::clipboard()->mimeData();
    return clipboard && clipboard->hasText();
}

// ---- commands ----

void Tmdi_dfm_Editor::cmUndo() {
    if (CanUndo()) editor_->undo();
}

void Tmdi_dfm_Editor::cmCopy() {
    if (HasSelection()) editor_->copy();
}

void Tmdi_dfm_Editor::cmCut() {
    if (!editor_->isReadOnly() && HasSelection()) editor_->cut();
}

void Tmdi_dfm_Editor::cmPaste() {
    if (CanPaste()) editor_->paste();
}

// TODO(the object tree and editor commands issue): find and replace, find next, goto
// source, full expand and collapse, and the rescan of the object tree.
void Tmdi_dfm_Editor::cmReplace() {}
void Tmdi_dfm_Editor::cmFindnext() {}
void Tmdi_dfm_Editor::cmGoto() {}
void Tmdi_dfm_Editor::cmExpand() {}
void Tmdi_dfm_Editor::cmCollapse() {}
void Tmdi_dfm_Editor::cmRescan() {}
// TODO(the object tree and editor commands issue): load a file as hex lines and paste it.
void Tmdi_dfm_Editor::cmLoadData() {}

// TODO(the preview issue): build the preview and save its image.
void Tmdi_dfm_Editor::cmPreview() {}
void Tmdi_dfm_Editor::mmSaveFormImageClick() {}

}  // namespace fw
