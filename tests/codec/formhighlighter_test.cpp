// FormHighlighter: how lines are cut into highlighting tokens, the range carried
// from line to line through comments, and the attributes tokens are drawn with.

#include "codec/formhighlighter.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

using fw::HighlightEncoding;
using fw::HighlightKind;
using fw::HighlightRange;

namespace {

const char* KindName(HighlightKind kind) {
    switch (kind) {
        case HighlightKind::Comment:
            return "Comment";
        case HighlightKind::Identifier:
            return "Ident";
        case HighlightKind::Key:
            return "Key";
        case HighlightKind::EndOfLine:
            return "Eol";
        case HighlightKind::Number:
            return "Number";
        case HighlightKind::Space:
            return "Space";
        case HighlightKind::String:
            return "String";
        case HighlightKind::Symbol:
            return "Symbol";
        case HighlightKind::Unknown:
            return "Unknown";
    }
    return "?";
}

std::string Escaped(std::string_view text) {
    std::string out;
    for (char ch : text) {
        auto c = static_cast<unsigned char>(ch);
        if (c == '\r') {
            out += "\\r";
        } else if (c == '\n') {
            out += "\\n";
        } else if (c < 32 || c >= 127) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\x%02X", c);
            out += buf;
        } else {
            out += ch;
        }
    }
    return out;
}

// The tokens before the end of line as Kind(text), separated by blanks.
std::string Show(std::string_view line, const std::vector<fw::HighlightToken>& tokens) {
    std::string out;
    for (const auto& t : tokens) {
        if (t.Kind == HighlightKind::EndOfLine) continue;
        if (!out.empty()) out += ' ';
        out += KindName(t.Kind);
        out += '(' + Escaped(line.substr(t.Start, t.Length)) + ')';
    }
    return out;
}

std::string Highlight(std::string_view line, HighlightRange& range,
                      HighlightEncoding encoding = HighlightEncoding::SingleByte) {
    return Show(line, fw::HighlightLine(line, range, encoding));
}

constexpr auto Normal = HighlightRange::Normal;
constexpr auto InComment = HighlightRange::InComment;

struct LineCase {
    HighlightRange RangeIn;
    std::string_view Line;
    std::string_view Tokens;
    HighlightRange RangeOut;
};

// clang-format off
const LineCase LineCases[] = {
    {Normal, "object Form1: TForm1", "Key(object) Space( ) Ident(Form1) Unknown(:) Space( ) Ident(TForm1)", Normal},
    // Keywords in any case, only as whole words.
    {Normal, "Object", "Key(Object)", Normal},
    {Normal, "OBJECT", "Key(OBJECT)", Normal},
    {Normal, "oBjEcT(", "Key(oBjEcT) Symbol(()", Normal},
    {Normal, "objects", "Ident(objects)", Normal},
    {Normal, "object1", "Ident(object1)", Normal},
    {Normal, "object_", "Ident(object_)", Normal},
    {Normal, "obj", "Ident(obj)", Normal},
    {Normal, "inherited Form1", "Key(inherited) Space( ) Ident(Form1)", Normal},
    {Normal, "INLINE", "Key(INLINE)", Normal},
    {Normal, "inherit", "Ident(inherit)", Normal},
    {Normal, "inlined", "Ident(inlined)", Normal},
    {Normal, "in", "Ident(in)", Normal},
    {Normal, "end", "Key(end)", Normal},
    {Normal, "End", "Key(End)", Normal},
    {Normal, "endless", "Ident(endless)", Normal},
    {Normal, "end.", "Key(end) Symbol(.)", Normal},
    {Normal, "e", "Ident(e)", Normal},
    {Normal, "item True False nil", "Ident(item) Space( ) Ident(True) Space( ) Ident(False) Space( ) Ident(nil)", Normal},
    {Normal, "_x1 Form1.Button1", "Ident(_x1) Space( ) Ident(Form1) Symbol(.) Ident(Button1)", Normal},
    // Strings: doubled quotes stay inside, an unclosed one stops before the line break.
    {Normal, "'It''s'", "String('It''s')", Normal},
    {Normal, "'abc", "String('abc)", Normal},
    {Normal, "'abc\r\n", "String('abc) Space(\\r\\n)", Normal},
    {Normal, "''''", "String('''')", Normal},
    {Normal, "'a'b'", "String('a') Ident(b) String(')", Normal},
    {Normal, "'{'", "String('{')", Normal},
    {Normal, "#13#10", "String(#13) String(#10)", Normal},
    {Normal, "'a'#9'b'", "String('a') String(#9) String('b')", Normal},
    {Normal, "#", "String(#)", Normal},
    {Normal, "#$0D", "String(#) Number($0D)", Normal},
    // Numbers.
    {Normal, "$FF", "Number($FF)", Normal},
    {Normal, "$", "Number($)", Normal},
    {Normal, "$0aG", "Number($0a) Ident(G)", Normal},
    {Normal, "1.5", "Number(1.) Number(5)", Normal},
    {Normal, "1..2", "Number(1) Symbol(.) Symbol(.) Number(2)", Normal},
    {Normal, "3.", "Number(3.)", Normal},
    {Normal, "-12", "Unknown(-) Number(12)", Normal},
    {Normal, "1.5E+10", "Number(1.) Number(5E) Unknown(+) Number(10)", Normal},
    {Normal, "12eE3x", "Number(12eE3) Ident(x)", Normal},
    // Symbols and unknown bytes.
    {Normal, "(),./<=>[]", "Symbol(() Symbol()) Symbol(,) Symbol(.) Symbol(/) Symbol(<) Symbol(=) Symbol(>) Symbol([) Symbol(])", Normal},
    {Normal, "+ - :", "Unknown(+) Space( ) Unknown(-) Space( ) Unknown(:)", Normal},
    {Normal, std::string_view("a\0b\x7F", 4), "Ident(a) Unknown(\\x00) Ident(b) Unknown(\\x7F)", Normal},
    // Blanks run together; each line break is a token of its own, CR LF being one.
    {Normal, " \t\x01\x0B\x0C x", "Space( \\x09\\x01\\x0B\\x0C ) Ident(x)", Normal},
    {Normal, "a\r\n", "Ident(a) Space(\\r\\n)", Normal},
    {Normal, " \r\r\n\n\n", "Space( ) Space(\\r) Space(\\r\\n) Space(\\n) Space(\\n)", Normal},
    // Comments, and their range at the end of the line.
    {Normal, "Data = {0A0B}", "Ident(Data) Space( ) Symbol(=) Space( ) Comment({0A0B})", Normal},
    {Normal, "{ 0A0B", "Comment({ 0A0B)", InComment},
    {Normal, "{ 0A0B\r\n", "Comment({ 0A0B) Space(\\r\\n)", InComment},
    {Normal, "{", "Comment({)", InComment},
    {Normal, "{a}{b", "Comment({a}) Comment({b)", InComment},
    {Normal, "{'}'", "Comment({'}) String(')", Normal},
    {Normal, "{a\rb}c", "Comment({a) Space(\\r) Comment(b}) Ident(c)", Normal},
    {Normal, "x}", "Ident(x) Ident(})", Normal},
    // Lines that start inside a comment: even leading blanks are comment, and the
    // first "}" closes it, at the first byte too.
    {InComment, "0C0D}", "Comment(0C0D})", Normal},
    {InComment, "  0C0D", "Comment(  0C0D)", InComment},
    {InComment, "}", "Comment(})", Normal},
    {InComment, "} end", "Comment(}) Space( ) Key(end)", Normal},
    {InComment, "'}'", "Comment('}) String(')", Normal},
    {InComment, "", "", InComment},
    {InComment, "\r\n", "Space(\\r\\n)", InComment},
    {InComment, "ab\r\ncd}", "Comment(ab) Space(\\r\\n) Comment(cd})", Normal},
};
// clang-format on

TEST(FormHighlighter, CutsLinesIntoTokens) {
    for (const auto& c : LineCases) {
        SCOPED_TRACE("line \"" + Escaped(c.Line) + "\"" + (c.RangeIn == InComment ? " in comment" : ""));
        HighlightRange range = c.RangeIn;
        EXPECT_EQ(Highlight(c.Line, range), c.Tokens);
        EXPECT_EQ(range, c.RangeOut);
    }
}

// Hexadecimal data in braces is a comment over all its lines, and the line after it
// starts normal again.
TEST(FormHighlighter, CarriesCommentRangeAcrossLines) {
    const std::vector<std::pair<std::string_view, std::string_view>> lines = {
        {"  Picture.Data = {",
         "Space(  ) Ident(Picture) Symbol(.) Ident(Data) Space( ) Symbol(=) Space( ) Comment({)"},
        {"    0A0B0C", "Comment(    0A0B0C)"},
        {"", ""},
        {"    0D0E}", "Comment(    0D0E})"},
        {"end", "Key(end)"},
    };
    HighlightRange range = Normal;
    for (const auto& [line, expected] : lines) {
        SCOPED_TRACE(std::string(line));
        EXPECT_EQ(Highlight(line, range), expected);
    }
    EXPECT_EQ(range, Normal);
}

// Every byte gets exactly one token, in order, and the line end changes nothing
// before it: an editor may hand lines over with or without their CR LF.
TEST(FormHighlighter, TokensCoverEveryByteWithOrWithoutLineEnd) {
    std::vector<std::string> samples;
    for (const auto& c : LineCases) {
        std::string_view line = c.Line;
        while (!line.empty() && (line.back() == '\r' || line.back() == '\n'))
            line.remove_suffix(1);
        samples.emplace_back(line);
    }
    std::string allBytes;
    for (int b = 0; b < 256; ++b) {
        if (b == '\r' || b == '\n') continue;
        samples.emplace_back(1, static_cast<char>(b));
        allBytes += static_cast<char>(b);
    }
    samples.push_back(allBytes);
    samples.emplace_back("\xC3\xA4\xE2\x82\xAC\xF0\x9F\x98\x80\xE2\x82");

    for (const auto& sample : samples) {
        for (HighlightRange start : {Normal, InComment}) {
            for (HighlightEncoding encoding : {HighlightEncoding::SingleByte, HighlightEncoding::Utf8}) {
                SCOPED_TRACE("line \"" + Escaped(sample) + "\"" + (start == InComment ? " in comment" : "") +
                             (encoding == HighlightEncoding::Utf8 ? " as UTF-8" : ""));
                HighlightRange bareRange = start;
                auto bare = fw::HighlightLine(sample, bareRange, encoding);
                std::size_t at = 0;
                for (std::size_t i = 0; i + 1 < bare.size(); ++i) {
                    EXPECT_EQ(bare[i].Start, at);
                    EXPECT_GT(bare[i].Length, 0u);
                    EXPECT_NE(bare[i].Kind, HighlightKind::EndOfLine);
                    at += bare[i].Length;
                }
                EXPECT_EQ(bare.back(), (fw::HighlightToken{sample.size(), 0, HighlightKind::EndOfLine}));

                for (std::string_view lineEnd : {"\r\n", "\n", "\r"}) {
                    std::string withEnd = sample + std::string(lineEnd);
                    HighlightRange endedRange = start;
                    auto ended = fw::HighlightLine(withEnd, endedRange, encoding);
                    auto expected = bare;
                    expected.back() = {sample.size(), lineEnd.size(), HighlightKind::Space};
                    expected.push_back({withEnd.size(), 0, HighlightKind::EndOfLine});
                    EXPECT_EQ(ended, expected);
                    EXPECT_EQ(endedRange, bareRange);
                }
            }
        }
    }
}

// A form with non-ASCII names, held as UTF-8: a character is never cut in two, while
// 8-bit text takes each byte on its own.
TEST(FormHighlighter, KeepsUtf8CharactersWhole) {
    struct Case {
        std::string_view Line;
        HighlightEncoding Encoding;
        std::string_view Tokens;
    };
    const Case cases[] = {
        {"Formul\xC3\xA1\xC5\x99"
         "1: T",
         HighlightEncoding::Utf8,
         "Ident(Formul) Unknown(\\xC3\\xA1) Unknown(\\xC5\\x99) Number(1) Unknown(:) Space( ) Ident(T)"},
        {"Formul\xC3\xA1\xC5\x99"
         "1: T",
         HighlightEncoding::SingleByte,
         "Ident(Formul) Unknown(\\xC3) Unknown(\\xA1) Unknown(\\xC5) Unknown(\\x99) Number(1) Unknown(:) "
         "Space( ) Ident(T)"},
        {"\xE2\x82\xAC\xF0\x9F\x98\x80", HighlightEncoding::Utf8,
         "Unknown(\\xE2\\x82\\xAC) Unknown(\\xF0\\x9F\\x98\\x80)"},
        // Cut-off or broken sequences fall back to single bytes.
        {"\xE2\x82", HighlightEncoding::Utf8, "Unknown(\\xE2) Unknown(\\x82)"},
        {"\xC3(", HighlightEncoding::Utf8, "Unknown(\\xC3) Symbol(()"},
        {"\xC0\x80", HighlightEncoding::Utf8, "Unknown(\\xC0) Unknown(\\x80)"},
        {"'\xC3\xA4'", HighlightEncoding::Utf8, "String('\\xC3\\xA4')"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Escaped(c.Line));
        HighlightRange range = Normal;
        EXPECT_EQ(Highlight(c.Line, range, c.Encoding), c.Tokens);
    }
}

// With a double-byte code page a lead byte and its trail byte are one token, and a
// trail byte "}" inside braces does not end them.
TEST(FormHighlighter, KeepsTwoByteCharactersWhole) {
    const fw::CodePage& japanese = *fw::CodePage::Find(932);
    struct Case {
        std::string_view Line;
        const fw::CodePage& Page;
        HighlightRange Range;
        std::string_view Tokens;
        HighlightRange After;
    };
    const Case cases[] = {
        {"Caption = \x83\x7B\x83\x5C", japanese, Normal,
         R"(Ident(Caption) Space( ) Symbol(=) Space( ) Unknown(\x83{) Unknown(\x83\))", Normal},
        {"Caption = \x83\x7B\x83\x5C", fw::CodePage::Default(), Normal,
         R"(Ident(Caption) Space( ) Symbol(=) Space( ) Unknown(\x83) Comment({\x83\))", InComment},
        {"ab \x83\x7D} x", japanese, InComment, R"(Comment(ab \x83}}) Space( ) Ident(x))", Normal},
        {"\x83'x'\x83", japanese, Normal, R"(Unknown(\x83) String('x') Unknown(\x83))", Normal},
        {"\xB0\xA1"
         "end",
         *fw::CodePage::Find(949), Normal, R"(Unknown(\xB0\xA1) Key(end))", Normal},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Escaped(c.Line));
        HighlightRange range = c.Range;
        EXPECT_EQ(Show(c.Line, fw::HighlightLine(c.Line, range, c.Page)), c.Tokens);
        EXPECT_EQ(range, c.After);
    }
}

// The range is read between tokens as well as at the end, and the highlighter rests
// on the end-of-line token.
TEST(FormHighlighter, DrivenTokenByToken) {
    fw::FormHighlighter h;
    h.SetLine("a {b} {c", Normal);
    std::vector<std::pair<std::string, HighlightRange>> seen;
    while (!h.AtEndOfLine()) {
        seen.emplace_back(std::string(h.TokenText()), h.GetRange());
        h.Next();
    }
    const std::vector<std::pair<std::string, HighlightRange>> expected = {
        {"a", Normal}, {" ", Normal}, {"{b}", Normal}, {" ", Normal}, {"{c", InComment}};
    EXPECT_EQ(seen, expected);
    h.Next();
    EXPECT_TRUE(h.AtEndOfLine());
    EXPECT_EQ(h.TokenStart(), 8u);
    EXPECT_EQ(h.GetRange(), InComment);
    h.ResetRange();
    EXPECT_EQ(h.GetRange(), Normal);
}

TEST(FormHighlighter, AttributesAndTheirStyles) {
    EXPECT_EQ(fw::AttributeOf(HighlightKind::Unknown), fw::HighlightAttribute::Identifier);
    EXPECT_EQ(fw::AttributeOf(HighlightKind::EndOfLine), fw::HighlightAttribute::None);

    struct Row {
        const char* Name;
        bool Bold, Italic;
        std::optional<std::uint32_t> Foreground;
    };
    const Row rows[] = {
        {"Comment", false, true, 0x008000}, {"Identifier", false, false, {}},
        {"Key", true, false, {}},           {"Number", false, false, 0x0000FF},
        {"Space", false, false, {}},        {"String", false, false, 0xFF0000},
        {"Symbol", false, false, {}},
    };
    ASSERT_EQ(std::size(rows), fw::HighlightAttributes.size());
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        const auto& style = fw::StyleOf(fw::HighlightAttributes[i]);
        SCOPED_TRACE(rows[i].Name);
        EXPECT_STREQ(style.Name, rows[i].Name);
        EXPECT_EQ(style.Bold, rows[i].Bold);
        EXPECT_EQ(style.Italic, rows[i].Italic);
        EXPECT_EQ(style.Foreground, rows[i].Foreground);
    }
}

}  // namespace
