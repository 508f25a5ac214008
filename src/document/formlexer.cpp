#include "formlexer.h"

#include <Qsci/qsciscintilla.h>

#include <QFontDatabase>
#include <QStringList>
#include <algorithm>
#include <string>

namespace {

constexpr int StyleCount = static_cast<int>(fw::HighlightAttributes.size());

const fw::AttributeStyle* AttributeStyleOf(int style) {
    if (style < 0 || style >= StyleCount) return nullptr;
    return &fw::StyleOf(fw::HighlightAttributes[static_cast<std::size_t>(style)]);
}

// Line states other than the two ranges (0 for a line never styled) count as normal.
fw::HighlightRange RangeFromState(long state) {
    return state == static_cast<int>(fw::HighlightRange::InComment) ? fw::HighlightRange::InComment
                                                                    : fw::HighlightRange::Normal;
}

bool IsRangeState(long state) {
    return state == static_cast<int>(fw::HighlightRange::InComment) ||
           state == static_cast<int>(fw::HighlightRange::Normal);
}

QFont FixedFont() {
    // Courier New, or the font with its metrics, before whatever the system calls fixed:
    // some systems answer with a font whose glyphs are not all of one width.
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    const QStringList families = QFontDatabase::families();
    for (const char* family : {"Courier New", "Liberation Mono", "DejaVu Sans Mono"}) {
        if (families.contains(QString::fromLatin1(family))) {
            font = QFont(QString::fromLatin1(family));
            break;
        }
    }
    font.setPointSize(10);
    font.setBold(false);
    font.setItalic(false);
    return font;
}

}  // namespace

FormLexer::FormLexer(QObject* parent) : QsciLexerCustom(parent) {
    setDefaultFont(FixedFont());
}

const char* FormLexer::language() const {
    return fw::HighlighterLanguageName.data();
}

QString FormLexer::description(int style) const {
    const fw::AttributeStyle* attribute = AttributeStyleOf(style);
    return attribute ? QString::fromLatin1(attribute->Name) : QString();
}

int FormLexer::defaultStyle() const {
    return Space;
}

QColor FormLexer::defaultColor(int style) const {
    const fw::AttributeStyle* attribute = AttributeStyleOf(style);
    if (attribute && attribute->Foreground) return QColor::fromRgb(static_cast<QRgb>(*attribute->Foreground));
    return QsciLexerCustom::defaultColor(style);
}

QFont FormLexer::defaultFont(int style) const {
    QFont font = QsciLexerCustom::defaultFont(style);
    if (const fw::AttributeStyle* attribute = AttributeStyleOf(style)) {
        font.setBold(attribute->Bold);
        font.setItalic(attribute->Italic);
    }
    return font;
}

FormLexer::Style FormLexer::StyleOf(fw::HighlightKind kind) {
    switch (fw::AttributeOf(kind)) {
        case fw::HighlightAttribute::Comment:
            return Comment;
        case fw::HighlightAttribute::Identifier:
            return Identifier;
        case fw::HighlightAttribute::Key:
            return Key;
        case fw::HighlightAttribute::Number:
            return Number;
        case fw::HighlightAttribute::Space:
            return Space;
        case fw::HighlightAttribute::String:
            return String;
        case fw::HighlightAttribute::Symbol:
            return Symbol;
        case fw::HighlightAttribute::None:
            break;
    }
    return Space;
}

void FormLexer::styleText(int start, int end) {
    QsciScintilla* ed = editor();
    if (!ed) return;
    const long length = ed->SendScintilla(QsciScintillaBase::SCI_GETLENGTH);
    const long stop = std::min<long>(end, length);
    if (start < 0 || start >= stop) return;

    const long lineCount = ed->SendScintilla(QsciScintillaBase::SCI_GETLINECOUNT);
    long line = ed->SendScintilla(QsciScintillaBase::SCI_LINEFROMPOSITION, static_cast<unsigned long>(start));
    const long lastLine =
        ed->SendScintilla(QsciScintillaBase::SCI_LINEFROMPOSITION, static_cast<unsigned long>(stop - 1));
    fw::HighlightRange range = line > 0
                                   ? RangeFromState(ed->SendScintilla(QsciScintillaBase::SCI_GETLINESTATE,
                                                                      static_cast<unsigned long>(line - 1)))
                                   : fw::HighlightRange::Normal;

    // The editor holds UTF-8 and counts positions in bytes, so token starts and
    // lengths are editor positions as they are.
    fw::FormHighlighter highlighter(ed->isUtf8() ? fw::HighlightEncoding::Utf8
                                                 : fw::HighlightEncoding::SingleByte);
    long lineStart =
        ed->SendScintilla(QsciScintillaBase::SCI_POSITIONFROMLINE, static_cast<unsigned long>(line));
    startStyling(static_cast<int>(lineStart));
    std::string bytes;
    for (; line < lineCount; ++line) {
        const long nextStart = line + 1 < lineCount
                                   ? ed->SendScintilla(QsciScintillaBase::SCI_POSITIONFROMLINE,
                                                       static_cast<unsigned long>(line + 1))
                                   : length;
        // The line with its line end, so that every byte gets a style; the editor
        // writes a terminating NUL after the range.
        const auto lineLength = static_cast<std::size_t>(nextStart - lineStart);
        bytes.assign(lineLength + 1, '\0');
        ed->SendScintilla(QsciScintillaBase::SCI_GETTEXTRANGE, lineStart, nextStart, bytes.data());

        highlighter.SetLine(std::string_view(bytes.data(), lineLength), range);
        for (; !highlighter.AtEndOfLine(); highlighter.Next()) {
            setStyling(static_cast<int>(highlighter.TokenLength()), StyleOf(highlighter.TokenKind()));
        }
        range = highlighter.GetRange();

        const long oldState =
            ed->SendScintilla(QsciScintillaBase::SCI_GETLINESTATE, static_cast<unsigned long>(line));
        const long newState = static_cast<long>(range);
        if (oldState != newState) {
            ed->SendScintilla(QsciScintillaBase::SCI_SETLINESTATE, static_cast<unsigned long>(line),
                              newState);
        }
        lineStart = nextStart;
        if (line >= lastLine && (oldState == newState || !IsRangeState(oldState))) break;
    }
}
