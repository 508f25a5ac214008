// The plain-data rules of a document's text: the line-break convention taken from a
// file, the lossless trip of 8-bit text through the editor's UTF-8, the errors for
// characters a code page cannot hold, and backup names.

#include "document/formtext.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "base/errors.h"

namespace {

TEST(FormText, LineBreakOfFollowsTheFile) {
    struct Case {
        std::string_view Text;
        fw::LineBreak Expected;
    };
    const Case cases[] = {
        {"a\r\nb\r\n", fw::LineBreak::CrLf},
        {"a\nb\n", fw::LineBreak::Lf},
        {"a\rb\r", fw::LineBreak::Cr},
        {"a\r\nb\nc", fw::LineBreak::CrLf},  // mixed
        {"a\rb\nc", fw::LineBreak::CrLf},    // CR and LF, never together
        {"no break at all", fw::LineBreak::CrLf},
        {"", fw::LineBreak::CrLf},
    };
    for (const Case& c : cases)
        EXPECT_EQ(fw::LineBreakOf(c.Text), c.Expected) << c.Text;
}

// Every byte value of every code page goes into the editor and comes back unchanged,
// including the bytes a code page leaves undefined and the control bytes.
TEST(FormText, EveryByteSurvivesTheEditorInEveryCodePage) {
    std::string all;
    for (int b = 0; b < 256; ++b)
        all += static_cast<char>(b);
    all += "\r\n\xE4\xF6\xFC";
    for (const int number : fw::CodePage::Supported()) {
        const fw::CodePage& codePage = *fw::CodePage::Find(number);
        const std::string utf8 = fw::EditorTextFromBytes(all, codePage);
        EXPECT_EQ(fw::BytesFromEditorText(utf8, codePage), all) << "code page " << number;
    }
}

TEST(FormText, EditorTextIsTheCodePagesCharacters) {
    const fw::CodePage& cp1252 = fw::CodePage::Default();
    EXPECT_EQ(fw::EditorTextFromBytes("Gr\xFC\xDF"
                                      "e \x80",
                                      cp1252),
              "Grüße €");
    const fw::CodePage& cp1251 = *fw::CodePage::Find(1251);
    EXPECT_EQ(fw::EditorTextFromBytes("\xCF\xF0\xE8\xE2\xE5\xF2", cp1251), "Привет");
    EXPECT_EQ(fw::BytesFromEditorText("Привет", cp1251), "\xCF\xF0\xE8\xE2\xE5\xF2");
}

// Double-byte pages show a lead and trail byte as the one character they make, and the
// bytes the page leaves undefined as private-use characters that save back unchanged.
TEST(FormText, DoubleBytePagesShowTheirCharacters) {
    struct Case {
        int CodePage;
        std::string_view Bytes, Utf8;
    };
    const Case cases[] = {
        {932, "Caption = '\x83\x7D\x83\x58\x83\x5E'", "Caption = 'マスタ'"},
        // 0xFD, a private-use character of the page, and a lead byte before an ASCII
        // byte that is no trail byte.
        {932, "'\xFD\x83\x5E\x81' ", "'\xEF\xA3\xB1タ\xEF\x9E\x81' "},
        {936, "Caption = '\xD6\xD0\xCE\xC4'", "Caption = '中文'"},
        {936, "'\xFF\xD6\xD0\x81'", "'\xEF\x9F\xBF中\xEF\x9E\x81'"},
    };
    for (const Case& c : cases) {
        const fw::CodePage& codePage = *fw::CodePage::Find(c.CodePage);
        EXPECT_EQ(fw::EditorTextFromBytes(c.Bytes, codePage), c.Utf8) << c.CodePage << " " << c.Utf8;
        EXPECT_EQ(fw::BytesFromEditorText(c.Utf8, codePage), c.Bytes) << c.CodePage << " " << c.Utf8;
    }
}

TEST(FormText, UnsavableCharacterNamesItsLine) {
    struct Case {
        std::string_view Utf8;
        int CodePage;
        std::string_view Expected;
    };
    const Case cases[] = {
        {"object A: TB\r\n  Caption = 'Ж'\r\nend", 1252,
         "Line 2: the character 'Ж' (U+0416) cannot be saved in code page 1252."},
        // LF and a CR on its own end lines too, and CR LF counts once.
        {"a\nb\rc\r\nd\n\rЖ", 1252, "Line 6: the character 'Ж' (U+0416) cannot be saved in code page 1252."},
        {"x€yЖ", 1250, "Line 1: the character 'Ж' (U+0416) cannot be saved in code page 1250."},
        // Outside the basic plane no code page has the character.
        {"\n\n😀", 1252, "Line 3: the character '😀' (U+1F600) cannot be saved in code page 1252."},
        {"Ä", 1251, "Line 1: the character 'Ä' (U+00C4) cannot be saved in code page 1251."},
        // Invisible characters are named by their code alone.
        {"a\xC2\x85", 1251, "Line 1: the character U+0085 cannot be saved in code page 1251."},
        {"ok\n\xFF", 1252,
         "Line 2: the byte FFh is not a valid character and cannot be saved in code page 1252."},
    };
    for (const Case& c : cases) {
        const fw::CodePage* codePage = fw::CodePage::Find(c.CodePage);
        ASSERT_NE(codePage, nullptr);
        try {
            fw::BytesFromEditorText(c.Utf8, *codePage);
            ADD_FAILURE() << "no error for " << c.Utf8;
        } catch (const fw::Exception& error) {
            EXPECT_EQ(std::string_view(error.what()), c.Expected);
        }
    }
}

TEST(FormText, BackupPathPutsATildeBeforeTheExtension) {
    struct Case {
        QString Path, Expected;
    };
    const QString longExtension(300, QLatin1Char('x'));
    const Case cases[] = {
        {"/x/Form1.dfm", "/x/Form1.~dfm"},
        {"/x/Form1.DFM", "/x/Form1.~DFM"},
        {"/x/Form1", "/x/Form1.~"},
        {"/x.d/Form1", "/x.d/Form1.~"},  // a dot in a folder is no extension
        {"/x/a.b.dfm", "/x/a.b.~dfm"},
        {"/x/Form1.", "/x/Form1.~"},
        {"Form1.dfm", "Form1.~dfm"},
        {"/x/Form1." + longExtension, "/x/Form1.~" + longExtension.left(255)},
    };
    for (const Case& c : cases)
        EXPECT_EQ(fw::BackupPath(c.Path), c.Expected) << c.Path.toStdString();
}

}  // namespace
