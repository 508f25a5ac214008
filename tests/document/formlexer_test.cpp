// FormLexer in a QScintilla editor: the styles given to form text, comments carried
// over lines through the line state, recolouring after an edit, UTF-8 positions and
// the look of each style.

#include "document/formlexer.h"

#include <Qsci/qsciscintilla.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QFontInfo>
#include <memory>
#include <string>
#include <string_view>

namespace {

// Widgets need an application; the tests run without a display.
void EnsureApplication() {
    if (QApplication::instance()) return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "fw_document_tests";
    static char* argv[] = {name, nullptr};
    static QApplication app(argc, argv);
}

struct Editor {
    Editor() {
        EnsureApplication();
        Sci = std::make_unique<QsciScintilla>();
        Sci->setUtf8(true);
        Lexer = new FormLexer(Sci.get());
        Sci->setLexer(Lexer);
    }

    void SetText(std::string_view utf8) {
        Sci->setText(QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())));
    }

    long Send(unsigned int message, unsigned long wParam = 0, long lParam = 0) const {
        return Sci->SendScintilla(message, wParam, lParam);
    }
    long LineStart(long line) const {
        return Send(QsciScintillaBase::SCI_POSITIONFROMLINE, static_cast<unsigned long>(line));
    }
    long Length() const { return Send(QsciScintillaBase::SCI_GETLENGTH); }
    // Asks the editor to have its text styled from `start` up to `end` (-1: all of it).
    void StyleUpTo(long end, unsigned long start = 0) const {
        Send(QsciScintillaBase::SCI_COLOURISE, start, end);
    }

    // The styles of a line's bytes, one letter each: C comment, I identifier, K key,
    // N number, _ space, S string, Y symbol.
    std::string LineStyles(long line) const {
        static constexpr char Letters[] = "CIKN_SY";
        std::string out;
        for (long p = LineStart(line), end = LineStart(line + 1); p < end; ++p) {
            long style = Send(QsciScintillaBase::SCI_GETSTYLEAT, static_cast<unsigned long>(p));
            out += style >= 0 && style < 7 ? Letters[style] : '?';
        }
        return out;
    }
    std::string AllLineStyles() const {
        std::string out;
        long lines = Send(QsciScintillaBase::SCI_GETLINECOUNT);
        for (long line = 0; line < lines; ++line)
            out += LineStyles(line) + "|";
        return out;
    }
    long LineState(long line) const {
        return Send(QsciScintillaBase::SCI_GETLINESTATE, static_cast<unsigned long>(line));
    }

    std::unique_ptr<QsciScintilla> Sci;
    FormLexer* Lexer;
};

constexpr std::string_view SmallForm =
    "object A: TB\r\n"
    "  Data = {\r\n"
    "  0A0B}\r\n"
    "  Caption = 'x'\r\n"
    "end\r\n";

TEST(FormLexer, StylesFormText) {
    Editor e;
    e.SetText(SmallForm);
    e.StyleUpTo(-1);
    EXPECT_EQ(e.LineStyles(0), "KKKKKK_II_II__");
    EXPECT_EQ(e.LineStyles(1), "__IIII_Y_C__");
    EXPECT_EQ(e.LineStyles(2), "CCCCCCC__");
    EXPECT_EQ(e.LineStyles(3), "__IIIIIII_Y_SSS__");
    EXPECT_EQ(e.LineStyles(4), "KKK__");

    // Each line's state is the range at its end.
    EXPECT_EQ(e.LineState(0), static_cast<long>(fw::HighlightRange::Normal));
    EXPECT_EQ(e.LineState(1), static_cast<long>(fw::HighlightRange::InComment));
    EXPECT_EQ(e.LineState(2), static_cast<long>(fw::HighlightRange::Normal));
}

// Removing the "}" that closes hex data turns the following lines into comment even
// when only the edited line was asked for, and putting it back restores them.
TEST(FormLexer, RecoloursFollowingLinesWhenACommentOpensOrCloses) {
    Editor e;
    e.SetText(SmallForm);
    e.StyleUpTo(-1);
    const std::string before = e.AllLineStyles();

    const long brace = e.LineStart(2) + 6;
    ASSERT_EQ(e.Send(QsciScintillaBase::SCI_GETCHARAT, static_cast<unsigned long>(brace)), '}');
    e.Send(QsciScintillaBase::SCI_DELETERANGE, static_cast<unsigned long>(brace), 1);
    e.StyleUpTo(e.LineStart(3), static_cast<unsigned long>(e.LineStart(2)));
    EXPECT_EQ(e.AllLineStyles(), "KKKKKK_II_II__|__IIII_Y_C__|CCCCCC__|CCCCCCCCCCCCCCC__|CCC__||");

    e.Sci->SendScintilla(QsciScintillaBase::SCI_INSERTTEXT, static_cast<unsigned long>(brace), "}");
    e.StyleUpTo(e.LineStart(3), static_cast<unsigned long>(e.LineStart(2)));
    EXPECT_EQ(e.AllLineStyles(), before);
}

// On a fresh text only what is asked for is styled, so opening a large form does not
// style all of it at once.
TEST(FormLexer, StylesOnlyTheRequestedLinesOfAFreshText) {
    Editor e;
    std::string text = "object A: TB\r\n";
    for (int i = 0; i < 2000; ++i)
        text += "  Left = 8\r\n";
    text += "end\r\n";
    e.SetText(text);
    e.StyleUpTo(e.LineStart(2));
    EXPECT_EQ(e.LineStyles(1), "__IIII_Y_N__");
    EXPECT_LT(e.Send(QsciScintillaBase::SCI_GETENDSTYLED), e.LineStart(10));
}

// The editor counts UTF-8 bytes, and so does the highlighter: styles stay aligned
// after non-ASCII characters.
TEST(FormLexer, StylesUtf8TextByBytes) {
    Editor e;
    e.SetText(
        "object Formul\xC3\xA1\xC5\x99"
        "1: TForm\r\n"
        "  Caption = 'Gr\xC3\xB6\xC3\x9F"
        "e' { \xE2\x82\xAC }\r\n");
    e.StyleUpTo(-1);
    EXPECT_EQ(e.LineStyles(0),
              "KKKKKK_IIIIIIIIIIN"
              "I_IIIII__");
    EXPECT_EQ(e.LineStyles(1), "__IIIIIII_Y_SSSSSSSSS_CCCCCCC__");
}

TEST(FormLexer, NamesAndLooksOfStyles) {
    EnsureApplication();
    FormLexer lexer;
    EXPECT_STREQ(lexer.language(), "Borland Forms");
    const char* names[] = {"Comment", "Identifier", "Key", "Number", "Space", "String", "Symbol"};
    for (int style = 0; style < 7; ++style)
        EXPECT_EQ(lexer.description(style), QString::fromLatin1(names[style]));
    EXPECT_TRUE(lexer.description(7).isEmpty());
    EXPECT_TRUE(lexer.description(-1).isEmpty());

    EXPECT_EQ(lexer.color(FormLexer::Comment), QColor(0, 128, 0));
    EXPECT_EQ(lexer.color(FormLexer::Number), QColor(0, 0, 255));
    EXPECT_EQ(lexer.color(FormLexer::String), QColor(255, 0, 0));
    for (int style : {FormLexer::Identifier, FormLexer::Key, FormLexer::Space, FormLexer::Symbol}) {
        EXPECT_EQ(lexer.color(style), lexer.defaultColor()) << style;
    }

    for (int style = 0; style < 7; ++style) {
        SCOPED_TRACE(names[style]);
        QFont font = lexer.font(style);
        EXPECT_EQ(font.bold(), style == FormLexer::Key);
        EXPECT_EQ(font.italic(), style == FormLexer::Comment);
        EXPECT_EQ(font.pointSize(), 10);
        EXPECT_TRUE(QFontInfo(font).fixedPitch()) << font.family().toStdString();
    }
}

}  // namespace
