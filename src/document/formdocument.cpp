#include "document/formdocument.h"

#include <QFile>
#include <QStringList>
#include <algorithm>
#include <array>
#include <exception>

#include "base/atomicfile.h"
#include "base/errors.h"
#include "base/stream.h"
#include "codec/conversion.h"
#include "document/usermessages.h"

namespace fw {

namespace {

// File names go to the system in the local 8-bit encoding, as Qt's own file classes do.
std::string NativePath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

QString FromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

ByteSpan SpanOf(std::string_view bytes) {
    return {reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()};
}

// A write-only stream that puts form text straight into the text buffer as it comes,
// from a file being read or from a converter, so that a large form is never held in
// full beside the buffer's own copy. It recognises the UTF-8 byte-order mark at the
// start (which does not go into the buffer), decodes 8-bit text through the code page,
// and notes which line breaks the text holds. While it lives the buffer is loading:
// an editor's buffer records no undo step and sends no change notifications.
class BufferTextSink final : public Stream {
public:
    BufferTextSink(TextBuffer& buffer, const CodePage& codePage) : buffer_(buffer), codePage_(codePage) {
        buffer_.BeginLoad();
    }
    ~BufferTextSink() override { buffer_.EndLoad(); }
    BufferTextSink(const BufferTextSink&) = delete;
    BufferTextSink& operator=(const BufferTextSink&) = delete;

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
    void ExpectWrite(std::size_t n) override { buffer_.Reserve(n + 1); }

    // Passes on what is held back of a text shorter than the mark.
    void Finish() {
        if (!headDone_) EndHead();
    }
    // Empties the buffer again, after a conversion that failed halfway.
    void Discard() { buffer_.Clear(); }

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
        buffer_.Append(bytes);
    }

    TextBuffer& buffer_;
    const CodePage& codePage_;
    std::int64_t written_ = 0;
    std::string head_;
    bool headDone_ = false;
    bool utf8_ = false;
    bool cr_ = false;
    bool lf_ = false;
    std::string decoded_;
};

}  // namespace

FormDocument::FormDocument(UserMessages& messages, const CodePage& codePage, TextBuffer& buffer,
                           QObject* parent)
    : QObject(parent),
      messages_(messages),
      buffer_(buffer),
      preferredCodePage_(codePage),
      codePage_(&codePage),
      caption_(QStringLiteral("Untitled")) {
    buffer_.SetListeners([this] { UpdateModified(); }, [this] { emit TextChanged(); });
}

// ---- loading ----

void FormDocument::Load(const QString& path) {
    fileName_ = path;
    loadError_.clear();
    encoding_ = FormEncoding::Text;
    emit FileNameChanged(fileName_);

    try {
        FileStream file(NativePath(path), FileStream::Mode::Read);
        std::array<std::uint8_t, 3> head{};
        const std::size_t headLength = file.Read(head.data(), head.size());
        encoding_ = DetectEncoding(ByteSpan(head.data(), headLength));
        file.Seek(0);
        // The form is read whole: its Charset values decide the code page before any
        // of it is decoded, and a double-byte character never falls apart between reads.
        const Bytes bytes = file.ReadToEnd();
        ChooseCodePage(bytes);
        BufferTextSink sink(buffer_, *codePage_);
        try {
            if (encoding_ == FormEncoding::Text) {
                sink.ExpectWrite(bytes.size());
                sink.Write(bytes.data(), bytes.size());
            } else {
                // A binary form is converted in memory, the text going straight into
                // the buffer.
                ByteViewStream input(bytes);
                if (encoding_ == FormEncoding::Resource)
                    ResourceFormToText(input, sink, *codePage_);
                else
                    BinaryFormToText(input, sink, *codePage_);
            }
            sink.Finish();
        } catch (const std::exception& error) {
            // No part of a text that did not load stays in the buffer.
            sink.Discard();
            if (encoding_ == FormEncoding::Text) throw;
            throw Exception("Cannot convert " + NativePath(path) + ": " + error.what());
        }
        utf8_ = sink.Utf8();
        lineBreaks_ = sink.Breaks();
    } catch (const std::exception& error) {
        // The document stays open with empty text; the error is shown now and kept, so
        // that Save asks before it writes over a file that did not load.
        loadError_ = FromUtf8(error.what());
        messages_.Error(loadError_);
    }

    buffer_.MarkSaved();
    unsavedText_ = false;
    UpdateModified();
    emit TextChanged();
    emit Loaded();
}

void FormDocument::LoadText(const QByteArray& text) {
    if (text.isEmpty()) return;
    LoadTextBytes({text.constData(), static_cast<std::size_t>(text.size())});
    emit TextChanged();
    emit Loaded();
    unsavedText_ = true;
    UpdateModified();
}

void FormDocument::LoadTextBytes(std::string_view bytes) {
    const auto* first = reinterpret_cast<const std::uint8_t*>(bytes.data());
    ChooseCodePage(Bytes(first, first + bytes.size()));
    BufferTextSink sink(buffer_, *codePage_);
    sink.ExpectWrite(bytes.size());
    sink.Write(bytes.data(), bytes.size());
    sink.Finish();
    utf8_ = sink.Utf8();
    lineBreaks_ = sink.Breaks();
}

// ---- the code page ----

void FormDocument::ChooseCodePage(const Bytes& form) {
    if (chosenCodePage_ != nullptr)
        SetCodePage(chosenCodePage_, CodePageSource::Option);
    else if (const CodePage* declared = CodePage::Find(DeclaredCodePageOf(form).CodePage))
        SetCodePage(declared, CodePageSource::Declared);
    else
        SetCodePage(&preferredCodePage_, CodePageSource::Default);
}

void FormDocument::SetCodePage(const CodePage* codePage, CodePageSource source) {
    codePage_ = codePage;
    codePageSource_ = source;
    emit CodePageChanged();
}

QString FormDocument::CodePageText() const {
    return QStringLiteral("CP %1 (%2)")
        .arg(codePage_->Number())
        .arg(QString::fromLatin1(CodePageSourceName(codePageSource_)));
}

bool FormDocument::ReopenWithCodePage(const CodePage& codePage) {
    if (modified_ &&
        !messages_.Confirm(QStringLiteral("Reopening %1 with code page %2 discards your changes. Continue?")
                               .arg(fileName_)
                               .arg(codePage.Number())))
        return false;
    chosenCodePage_ = &codePage;
    Load(fileName_);
    return true;
}

bool FormDocument::SaveWithCodePage(const CodePage& codePage) {
    // Encoded first, so that a character the page lacks stops the save before the
    // document's page changes or any file is touched.
    try {
        (void)BytesFromEditorText(Text(), codePage);
    } catch (const Exception& error) {
        messages_.Error(FromUtf8(error.what()));
        return false;
    }
    const CodePage* const previous = codePage_;
    const CodePageSource previousSource = codePageSource_;
    // Set without telling anyone: the page counts only once the save is done.
    codePage_ = &codePage;
    codePageSource_ = CodePageSource::Option;
    bool saved = false;
    try {
        saved = Save();
    } catch (...) {
        codePage_ = previous;
        codePageSource_ = previousSource;
        throw;
    }
    if (!saved) {
        codePage_ = previous;
        codePageSource_ = previousSource;
        return false;
    }
    chosenCodePage_ = &codePage;
    emit CodePageChanged();
    return true;
}

// ---- the text ----

QByteArray FormDocument::TextBytes() const {
    const std::string_view text = Text();
    if (utf8_) {
        QByteArray out;
        out.reserve(static_cast<qsizetype>(Utf8ByteOrderMark.size() + text.size()));
        out.append(Utf8ByteOrderMark.data(), static_cast<qsizetype>(Utf8ByteOrderMark.size()));
        out.append(text.data(), static_cast<qsizetype>(text.size()));
        return out;
    }
    if (IsAscii(text)) return QByteArray(text.data(), static_cast<qsizetype>(text.size()));
    const std::string bytes = BytesFromEditorText(text, *codePage_);
    return QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

void FormDocument::UpdateModified() {
    const bool modified = buffer_.ChangedSinceSave() || unsavedText_;
    if (modified == modified_) return;
    modified_ = modified;
    emit ModifiedChanged(modified_);
}

// ---- saving ----

QString FormDocument::CodePageDoubt(std::string_view text) const {
    if (utf8_ || IsAscii(text)) return {};
    const int used = codePage_->Number();
    const int declared = DeclaredCodePageOf(Bytes(text.begin(), text.end())).CodePage;
    QStringList doubts;
    if (const std::size_t at = FirstByteOutsideCodePage(text, *codePage_); at != std::string_view::npos) {
        const auto line = 1 + std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(at), '\n');
        doubts
            << QStringLiteral("Line %1 holds bytes that are not valid in code page %2.").arg(line).arg(used);
    }
    if (declared != 0 && declared != used)
        doubts << QStringLiteral("The form declares code page %1, but its text is read in code page %2.")
                      .arg(declared)
                      .arg(used);
    if (doubts.isEmpty()) return {};
    return doubts.join(QLatin1Char(' ')) +
           QStringLiteral(
               "\n\nA binary form stores the strings as the characters they are in code page %1, "
               "which may not be the ones meant. Choose the right page with Reopen with code page "
               "first, or save anyway?")
               .arg(used);
}

bool FormDocument::WriteEncoded(const QString& path, FormEncoding encoding, const QString& backupPath) {
    const QByteArray text = TextBytes();
    const ByteSpan textBytes = SpanOf({text.constData(), static_cast<std::size_t>(text.size())});
    Bytes converted;
    ByteSpan output = textBytes;
    if (encoding != FormEncoding::Text) {
        // Strings go into a binary form as characters: read through the wrong page they
        // would be stored as the wrong characters for good, so the user decides first.
        const QString doubt = CodePageDoubt({text.constData(), static_cast<std::size_t>(text.size())});
        if (!doubt.isEmpty() && !messages_.Confirm(doubt)) return false;
        // Converted in memory first: a syntax error stops the save before the file is
        // touched. The conversion is called directly rather than by detection, so text
        // that happens to start like a binary stream is not taken for one.
        ByteViewStream input(textBytes);
        MemoryStream binary;
        if (encoding == FormEncoding::Binary)
            TextToBinaryForm(input, binary, *codePage_);
        else
            TextToResourceForm(input, binary, *codePage_);
        converted = binary.Take();
        output = converted;
    }
    WriteFileAtomically(NativePath(path), output,
                        backupPath.isEmpty() ? std::string() : NativePath(backupPath));
    return true;
}

bool FormDocument::ConfirmReplaceUnreadable() {
    return messages_.Confirm(loadError_ + QStringLiteral("\n\nThe file ") + fileName_ +
                             QStringLiteral(" did not load, so the editor does not hold its content. "
                                            "Replace it with the text in the editor?"));
}

bool FormDocument::Save() {
    if (fileName_.isEmpty()) return SaveAs();
    if (!loadError_.isEmpty() && !ConfirmReplaceUnreadable()) return false;
    if (!WriteEncoded(fileName_, encoding_, BackupPath(fileName_))) return false;
    loadError_.clear();
    unsavedText_ = false;
    buffer_.MarkSaved();
    UpdateModified();
    return true;
}

bool FormDocument::SaveAs() {
    // The dialogs start from the document itself: its encoding, its folder and name, or
    // for an unnamed document its caption as the name.
    const std::optional<FormEncoding> encoding = messages_.AskSaveType(encoding_);
    if (!encoding) return false;
    const QString proposed = fileName_.isEmpty() ? caption_ + QStringLiteral(".dfm") : fileName_;
    const QString path = messages_.AskSavePath(proposed);
    if (path.isEmpty()) return false;
    return WriteEncoded(path, *encoding);
}

QString FormDocument::SaveChangesQuestion() const {
    if (fileName_.isEmpty())
        return QStringLiteral("Save changes to the unnamed document ") + caption_ + QStringLiteral("?");
    return QStringLiteral("Save changes to file ") + fileName_ + QStringLiteral("?");
}

bool FormDocument::SaveBeforeClose() {
    switch (messages_.ConfirmOrCancel(SaveChangesQuestion())) {
        case UserMessages::Answer::No:
            return true;
        case UserMessages::Answer::Cancel:
            return false;
        case UserMessages::Answer::Yes:
            break;
    }
    // Neither written nor thrown away: the document stays open for a Save As.
    if (!fileName_.isEmpty() && !loadError_.isEmpty() && !ConfirmReplaceUnreadable()) return false;
    bool written = false;
    RunGuarded(messages_, [this, &written] {
        if (fileName_.isEmpty()) {
            written = SaveAs();
        } else {
            written = WriteEncoded(fileName_, encoding_);
        }
    });
    return written;
}

}  // namespace fw
