// FormTokenizer: token kinds and values, line counting, string constants, numbers, hex
// data, dotted identifiers, the wording of syntax errors, and the text it gives back.

#include "codec/formtokenizer.h"
#include "codec/stringconstant.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <limits>
#include <optional>
#include <string>

#include "codec_test_util.h"

using namespace fwtest;
using fw::FormTokenizer;

namespace {

// A token shown as Kind(text): Ident, Str (decoded value), Wide (decoded value),
// Int, Float (source text), or Char(n) for a single-character token of kind n.
std::string Show(const FormTokenizer& p) {
    switch (p.Kind()) {
        case fw::TokIdent:
            return "Ident(" + p.TokenText() + ")";
        case fw::TokString:
            return "Str(" + Escaped(p.TokenText()) + ")";
        case fw::TokWideString:
            return "Wide(" + Escaped(p.TokenWide()) + ")";
        case fw::TokInteger:
            return "Int(" + p.TokenText() + ")";
        case fw::TokFloat:
            return "Float(" + p.TokenText() + ")";
        default:
            return "Char(" + std::to_string(p.Kind()) + ")";
    }
}

// All tokens of the text up to the end, separated by blanks; an error ends the list
// with its message.
std::string Tokens(std::string_view text, bool withLines = false,
                   const fw::CodePage& codePage = fw::CodePage::Default()) {
    fw::MemoryStream in(Raw(text));
    std::string out;
    try {
        FormTokenizer p(in, codePage);
        while (p.Kind() != fw::TokEnd) {
            if (!out.empty()) out += ' ';
            out += Show(p);
            if (withLines) out += "@" + std::to_string(p.Line());
            p.Advance();
        }
    } catch (const fw::EParserError& e) {
        if (!out.empty()) out += ' ';
        out += std::string("error: ") + e.what();
    }
    return out;
}

}  // namespace

TEST(FormTokenizer, SplitsTextIntoTokens) {
    struct Case {
        const char* text;
        const char* tokens;
    };
    const Case cases[] = {
        {"object Form1: TForm1", "Ident(object) Ident(Form1) Char(58) Ident(TForm1)"},
        {"Left = 8", "Ident(Left) Char(61) Int(8)"},
        {"_a1 B_2 x", "Ident(_a1) Ident(B_2) Ident(x)"},
        {"a.b", "Ident(a) Char(46) Ident(b)"},
        {"()<>[]{},+;",
         "Char(40) Char(41) Char(60) Char(62) Char(91) Char(93) Char(123) Char(125) Char(44) Char(43) "
         "Char(59)"},
        // Bytes 1 to 32 are blanks.
        {"\x01\x1F\t\v\f a \x7F", "Ident(a) Char(127)"},
        // A byte of 128 or more outside a string is a token of its own value.
        {"\x80 \xE9x \xFF", "Char(128) Char(233) Ident(x) Char(255)"},
        {"'a' #66", "Str(a) Str(B)"},
        {"'a'#66", "Str(aB)"},
        // Numbers are not validated while scanning.
        {"12", "Int(12)"},
        {"-5", "Int(-5)"},
        {"12.5 1E3 1e-3", "Float(12.5) Float(1E3) Float(1e-3)"},
        {"3s 2.5C 7d 1.5S 4c 1D", "Float(3s) Float(2.5C) Float(7d) Float(1.5S) Float(4c) Float(1D)"},
        {"1-2 1.2.3 1+", "Float(1-2) Float(1.2.3) Float(1+)"},
        {"- -x", "Int(-) Int(-) Ident(x)"},
        {"12cd 12abc 5 s", "Float(12c) Ident(d) Int(12) Ident(abc) Int(5) Ident(s)"},
        {"$1F $ $x", "Int($1F) Int($) Int($) Ident(x)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Escaped(c.text));
        EXPECT_EQ(Tokens(c.text), c.tokens);
    }
    // A 0 byte met between tokens ends the input.
    EXPECT_EQ(Tokens(std::string_view("a \0 b", 5)), "Ident(a)");
}

TEST(FormTokenizer, CountsLinesByLineFeeds) {
    EXPECT_EQ(Tokens("\n\n  object\r\n  Form1\n\n\nx", true), "Ident(object)@3 Ident(Form1)@4 Ident(x)@7");
    // A carriage return alone is a plain blank.
    EXPECT_EQ(Tokens("a\rb\r\rc", true), "Ident(a)@1 Ident(b)@1 Ident(c)@1");
    // A line feed inside hex data still counts.
    fw::MemoryStream in(Raw("x = {01\n02\n}\ny"));
    FormTokenizer p(in);
    p.Advance();
    p.Advance();
    fw::Bytes data;
    p.ReadHexBytes(data);
    EXPECT_EQ(p.Kind(), '}');
    EXPECT_EQ(p.Line(), 3);
    p.Advance();
    EXPECT_EQ(Show(p), "Ident(y)");
    EXPECT_EQ(p.Line(), 4);
}

TEST(FormTokenizer, DecodesStringConstants) {
    struct Case {
        std::string text;
        int kind;
        std::u16string value;
    };
    const Case cases[] = {
        {"'abc'", fw::TokString, u"abc"},
        {"''", fw::TokString, u""},
        {"''''", fw::TokString, u"'"},
        {"#39", fw::TokString, u"'"},
        {"'It''s'", fw::TokString, u"It's"},
        {"'a'#13#10'b'", fw::TokString, u"a\r\nb"},
        {"'x'#65", fw::TokString, u"xA"},
        {"#65#66", fw::TokString, u"AB"},
        {"#127", fw::TokString, u"\x7F"},
        // "#" without digits is the code 0.
        {std::string("'a'#'b'"), fw::TokString, std::u16string(u"a\0b", 3)},
        // Quoted bytes of an 8-bit constant go through the code page.
        {"'\xE9\x80'", fw::TokString, u"\u00E9\u20AC"},
        // One code above 127 makes the whole constant wide.
        {"#128", fw::TokWideString, u"\u0080"},
        {"'caf'#233", fw::TokWideString, u"caf\u00E9"},
        {"#8364'x'", fw::TokWideString, u"\u20ACx"},
        // In a wide constant, quoted bytes keep their own value: no code page.
        {"'\x80'#256", fw::TokWideString, u"\u0080\u0100"},
        // Codes keep their low 16 bits.
        {"#65601", fw::TokWideString, u"A"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Escaped(c.text));
        fw::MemoryStream in(Raw(c.text));
        FormTokenizer p(in);
        EXPECT_EQ(p.Kind(), c.kind);
        EXPECT_EQ(Escaped(p.TokenWide()), Escaped(c.value));
        EXPECT_EQ(p.Advance(), fw::TokEnd);
    }

    // The 8-bit value of a constant is its bytes, a "#" code giving one byte.
    fw::MemoryStream in(Raw("'It''s'#0#127'\xE9'"));
    FormTokenizer p(in);
    EXPECT_EQ(p.TokenText(), std::string("It's\0\x7F\xE9", 7));
}

TEST(FormTokenizer, ReportsSyntaxErrorsWithTheLine) {
    struct Case {
        const char* text;
        const char* tokens;
    };
    const Case cases[] = {
        {"'abc", "error: Invalid string constant on line 1"},
        {"x\n'abc\ny'", "Ident(x) error: Invalid string constant on line 2"},
        {"'ab\rc'", "error: Invalid string constant on line 1"},
        {"\n\n'a'#13'b", "error: Invalid string constant on line 3"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Escaped(c.text));
        EXPECT_EQ(Tokens(c.text), c.tokens);
    }
}

TEST(FormTokenizer, ExpectNamesWhatIsMissing) {
    struct Case {
        const char* text;
        std::function<void(FormTokenizer&)> expect;
        const char* message;
    };
    const Case cases[] = {
        {"x", [](FormTokenizer& p) { p.ExpectKind(fw::TokIdent); }, "<no exception>"},
        {"5", [](FormTokenizer& p) { p.ExpectKind(fw::TokIdent); }, "Identifier expected on line 1"},
        {"'a'", [](FormTokenizer& p) { p.ExpectKind(fw::TokString); }, "<no exception>"},
        // Kinds are compared exactly: a wide constant is not a TokString, nor the reverse.
        {"#233", [](FormTokenizer& p) { p.ExpectKind(fw::TokString); }, "String expected on line 1"},
        {"'a'", [](FormTokenizer& p) { p.ExpectKind(fw::TokWideString); }, "String expected on line 1"},
        {"x", [](FormTokenizer& p) { p.ExpectKind(fw::TokInteger); }, "Number expected on line 1"},
        {"5", [](FormTokenizer& p) { p.ExpectKind(fw::TokFloat); }, "Number expected on line 1"},
        {"\n\nx", [](FormTokenizer& p) { p.ExpectKind('='); }, "''='' expected on line 3"},
        {"=", [](FormTokenizer& p) { p.ExpectKind('='); }, "<no exception>"},
        {"x", [](FormTokenizer& p) { p.ExpectKind(']'); }, "'']'' expected on line 1"},
        {"objekt", [](FormTokenizer& p) { p.ExpectKeyword("OBJECT"); }, "OBJECT expected on line 1"},
        {"ObJeCt", [](FormTokenizer& p) { p.ExpectKeyword("OBJECT"); }, "<no exception>"},
        {"\nthing", [](FormTokenizer& p) { p.ExpectKeyword("item"); }, "item expected on line 2"},
        {"'object'", [](FormTokenizer& p) { p.ExpectKeyword("OBJECT"); }, "OBJECT expected on line 1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        fw::MemoryStream in(Raw(c.text));
        FormTokenizer p(in);
        EXPECT_EQ(MessageOf<fw::EParserError>([&] { c.expect(p); }), c.message);
    }

    fw::MemoryStream in(Raw("\n\n\n\nx"));
    FormTokenizer p(in);
    try {
        p.ExpectKind(fw::TokInteger);
        ADD_FAILURE() << "no exception";
    } catch (const fw::EParserError& e) {
        EXPECT_EQ(e.Line(), 5);
    }
}

TEST(FormTokenizer, IsKeywordFoldsOnlyAsciiLetters) {
    struct Case {
        const char* text;
        const char* word;
        bool result;
    };
    const Case cases[] = {
        {"end", "END", true},   {"End", "end", true},    {"END", "end", true},
        {"ends", "END", false}, {"'end'", "END", false}, {"end_", "END", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        fw::MemoryStream in(Raw(c.text));
        FormTokenizer p(in);
        EXPECT_EQ(p.IsKeyword(c.word), c.result);
    }
}

TEST(FormTokenizer, ConvertsNumbers) {
    struct IntCase {
        const char* text;
        std::int64_t value;
    };
    const IntCase ints[] = {
        {"12", 12},
        {"-5", -5},
        {"007", 7},
        {"$FF", 255},
        {"$ff", 255},
        {"$FFFFFFFF", 4294967295LL},
        {"$FFFFFFFFFFFFFFFF", -1},
        {"$8000000000000000", std::numeric_limits<std::int64_t>::min()},
        {"9223372036854775807", std::numeric_limits<std::int64_t>::max()},
        {"-9223372036854775808", std::numeric_limits<std::int64_t>::min()},
    };
    for (const IntCase& c : ints) {
        SCOPED_TRACE(c.text);
        fw::MemoryStream in(Raw(c.text));
        FormTokenizer p(in);
        EXPECT_EQ(p.Kind(), fw::TokInteger);
        EXPECT_EQ(p.TokenAsInt64(), c.value);
    }

    struct FloatCase {
        const char* text;
        char suffix;
        long double value;
    };
    const FloatCase floats[] = {
        {"12.5", 0, 12.5L},          {"1E3", 0, 1000.0L},       {"1e-3", 0, 0.001L}, {"-1.5E+2", 0, -150.0L},
        {"3s", 's', 3.0L},           {"2.5C", 'C', 2.5L},       {"7d", 'd', 7.0L},   {"0.1", 0, 0.1L},
        {"38718.5D", 'D', 38718.5L}, {"15000c", 'c', 15000.0L}, {"1.5S", 'S', 1.5L},
    };
    for (const FloatCase& c : floats) {
        SCOPED_TRACE(c.text);
        fw::MemoryStream in(Raw(c.text));
        FormTokenizer p(in);
        EXPECT_EQ(p.Kind(), fw::TokFloat);
        EXPECT_EQ(p.FloatSuffix(), c.suffix);
        // Parsed in extended precision: 0.1 must be the nearest extended, not a double.
        EXPECT_EQ(p.TokenAsExtended(), c.value);
    }
}

TEST(FormTokenizer, RejectsMalformedNumbersOnConversion) {
    struct Case {
        const char* text;
        bool asInteger;
        const char* message;
    };
    const Case cases[] = {
        {"$", true, "'$' is not a valid integer value"},
        {"-", true, "'-' is not a valid integer value"},
        {"9223372036854775808", true, "'9223372036854775808' is not a valid integer value"},
        {"-9223372036854775809", true, "'-9223372036854775809' is not a valid integer value"},
        {"$10000000000000000", true, "'$10000000000000000' is not a valid integer value"},
        {"1-2", false, "'1-2' is not a valid floating point value"},
        {"1.2.3", false, "'1.2.3' is not a valid floating point value"},
        {"1E", false, "'1E' is not a valid floating point value"},
        {"1+", false, "'1+' is not a valid floating point value"},
        {"1E5000", false, "'1E5000' is not a valid floating point value"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        fw::MemoryStream in(Raw(c.text));
        FormTokenizer p(in);
        EXPECT_EQ(MessageOf<fw::EConvertError>([&] {
                      if (c.asInteger) {
                          p.TokenAsInt64();
                      } else {
                          p.TokenAsExtended();
                      }
                  }),
                  c.message);
    }
}

// Found by fuzzing: hex data of whole pairs running to the very end of the text read
// one byte past the text's terminator before failing.
TEST(FormTokenizer, HexDataRunningToTheEndOfTheTextFails) {
    for (const char* text : {"{0A0B", "{0A0B\r\n  ", "{", "{0A\r\n0B0C"}) {
        SCOPED_TRACE(text);
        fw::MemoryStream in(Raw(text));
        FormTokenizer p(in);
        ASSERT_EQ(p.Kind(), '{');
        fw::Bytes data;
        const std::string message = MessageOf<fw::EParserError>([&] { p.ReadHexBytes(data); });
        EXPECT_EQ(message.rfind("Invalid binary value on line ", 0), 0u) << message;
    }
}

TEST(FormTokenizer, ReadsHexData) {
    struct Case {
        const char* text;
        const char* result;  // the bytes, or the error message
    };
    const Case cases[] = {
        {"{0A 0B}", "0A 0B"},
        {"{}", ""},
        {"{ 0a0B\r\n   0C }", "0A 0B 0C"},
        {"{DEADbeef}", "DE AD BE EF"},
        {"{0A0}", "Invalid binary value on line 1"},
        {"{0G}", "Invalid binary value on line 1"},
        {"{0 A}", "Invalid binary value on line 1"},
        {"{0A", "Invalid binary value on line 1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        fw::MemoryStream in(Raw(std::string(c.text) + " next"));
        FormTokenizer p(in);
        ASSERT_EQ(p.Kind(), '{');
        fw::Bytes data;
        std::string message = MessageOf<fw::EParserError>([&] { p.ReadHexBytes(data); });
        if (message == "<no exception>") {
            EXPECT_EQ(Hex(data), c.result);
            EXPECT_EQ(p.Kind(), '}');
            p.Advance();
            EXPECT_EQ(Show(p), "Ident(next)");
        } else {
            EXPECT_EQ(message, c.result);
        }
    }

    // More than one chunk of bytes on a line, and across line breaks.
    std::string text = "{";
    fw::Bytes expected;
    for (int i = 0; i < 700; ++i) {
        char pair[3];
        std::snprintf(pair, sizeof pair, "%02X", (i * 37) & 0xFF);
        text += pair;
        if (i % 300 == 299) text += "\r\n  ";
        expected.push_back(static_cast<std::uint8_t>((i * 37) & 0xFF));
    }
    text += "}";
    fw::MemoryStream in(Raw(text));
    FormTokenizer p(in);
    fw::Bytes data;
    p.ReadHexBytes(data);
    EXPECT_TRUE(data == expected) << Hex(data);
}

// Passing over hex data accepts and refuses what reading it does, with the same
// message and line, and leaves the same token after it.
TEST(FormTokenizer, SkipsHexDataAsItReadsIt) {
    using namespace std::string_view_literals;
    const std::string_view texts[] = {
        "{0A 0B}", "{}", "{ 0a0B\r\n   0C }", "{DEADbeef}\r\n\r\nx", "{\n\n}\ny",
        // Bad data: an odd run, a byte that is no digit (a 0 byte too), a brace
        // missing, on the first line and on later ones.
        "{0A0}", "{0G}", "{0 A}", "{0AG0}", "{0A\0 0B}"sv, "{0A\n0B\n0G0}", "{0A\n 0B0\n}", "{0A\n 0B\n}0C}",
        "{0A", "{", "{0A0B\r\n  ", "{0A\r\n0B0C", "{0A\n\n  \n0B ",
        // Long runs, read many digits at a time: good ones, and ones with a byte next to
        // the digits' ranges, a byte with the high bit set or an odd length.
        "{00112233445566778899AABBCCDDEEFFaabbccddeeff0011\r\n  22334455667788}", "{0011223344556677/8}",
        "{00112233:4556677}", "{0011223@44556677}", "{0011223G44556677}", "{0011223`44556677}",
        "{0011223g44556677}",
        "{00112233\xB0"
        "144556677}",
        "{0011223344556677889}", "{0011\n22334455667788990011223344556677\n8}"};
    const auto outcome = [](std::string_view text, bool skip) {
        fw::MemoryStream in(Raw(std::string(text) + " next"));
        FormTokenizer p(in);
        if (p.Kind() != '{') return std::string("no brace");
        fw::Bytes data;
        std::string message = MessageOf<fw::EParserError>([&] {
            if (skip)
                p.SkipHexBytes();
            else
                p.ReadHexBytes(data);
        });
        if (message != "<no exception>") return message;
        message = Show(p) + " on line " + std::to_string(p.Line());
        p.Advance();
        return message + ", then " + Show(p) + " on line " + std::to_string(p.Line());
    };
    for (const std::string_view text : texts) {
        SCOPED_TRACE(text);
        EXPECT_EQ(outcome(text, true), outcome(text, false));
    }
    EXPECT_EQ(outcome("{0A\n0B\n0G0}", true), "Invalid binary value on line 3");
    EXPECT_EQ(outcome("{0A\n\n}\ny", true), "Char(125) on line 3, then Ident(y) on line 4");
}

TEST(FormTokenizer, ReadsDottedIdentifiers) {
    struct Case {
        const char* text;
        const char* result;  // the dotted text, or the error message
        const char* next;    // the token after it
    };
    const Case cases[] = {
        {"Form1.Button1 x", "Form1.Button1", "Ident(x)"},
        {"a.b.c", "a.b.c", ""},
        {"a._b", "a._b", ""},
        {"plain = 1", "plain", "Char(61)"},
        // The dot must follow the identifier directly.
        {"Form1 .Button1", "Form1", "Char(46)"},
        {"Form1. Button1", "Identifier expected on line 1", nullptr},
        {"Form1.5", "Identifier expected on line 1", nullptr},
        {"Form1.", "Identifier expected on line 1", nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        fw::MemoryStream in(Raw(c.text));
        FormTokenizer p(in);
        std::string dotted;
        std::string message = MessageOf<fw::EParserError>([&] { dotted = p.TokenDottedIdent(); });
        if (c.next == nullptr) {
            EXPECT_EQ(message, c.result);
            continue;
        }
        EXPECT_EQ(dotted, c.result);
        p.Advance();
        EXPECT_EQ(p.Kind() == fw::TokEnd ? "" : Show(p), c.next);
    }
}

// Lines of any length are read; so is text much larger than one buffer, with tokens
// falling across every possible position.
TEST(FormTokenizer, ReadsLongLinesAndLongTexts) {
    std::string longValue(5000, 'v');
    std::string longName(100000, 'n');
    std::string text = "a = '" + longValue + "'\n" + longName + " = 1";
    EXPECT_EQ(Tokens(text),
              "Ident(a) Char(61) Str(" + longValue + ") Ident(" + longName + ") Char(61) Int(1)");

    std::string many;
    std::string expected;
    for (int i = 0; i < 3000; ++i) {
        std::string name = "Prop" + std::to_string(i);
        many += "  " + name + " = 'value " + std::to_string(i) + "'\r\n";
        if (!expected.empty()) expected += ' ';
        expected += "Ident(" + name + ")@" + std::to_string(i + 1) + " Char(61)@" + std::to_string(i + 1) +
                    " Str(value " + std::to_string(i) + ")@" + std::to_string(i + 1);
    }
    EXPECT_EQ(Tokens(many, true), expected);

    BlockOnlyStream in(Raw(many));
    FormTokenizer p(in);
    int idents = 0;
    while (p.Kind() != fw::TokEnd) {
        if (p.Kind() == fw::TokIdent) ++idents;
        p.Advance();
    }
    EXPECT_EQ(idents, 3000);
}

TEST(FormTokenizer, RepeatsTheEndToken) {
    fw::MemoryStream in(Raw("x"));
    FormTokenizer p(in);
    EXPECT_EQ(p.Advance(), fw::TokEnd);
    EXPECT_EQ(p.Advance(), fw::TokEnd);
    EXPECT_EQ(p.Kind(), fw::TokEnd);
}

// Text that starts with a UTF-8 byte-order mark is UTF-8: quoted bytes decode as UTF-8.
TEST(FormTokenizer, DecodesUtf8TextAfterAByteOrderMark) {
    fw::MemoryStream in(
        Raw("\xEF\xBB\xBF"
            "object\r\nCaption = 'caf\xC3\xA9'#33"));
    FormTokenizer p(in);
    EXPECT_TRUE(p.IsUtf8());
    EXPECT_EQ(Show(p), "Ident(object)");
    EXPECT_EQ(p.Line(), 1);
    p.Advance();
    p.Advance();
    p.Advance();
    EXPECT_TRUE(p.Kind() == fw::TokString || p.Kind() == fw::TokWideString) << p.Kind();
    EXPECT_EQ(Escaped(p.TokenWide()), Escaped(u"caf\u00E9!"));

    // Without the mark the same bytes are 8-bit text in the code page.
    fw::MemoryStream plain(Raw("'caf\xC3\xA9'"));
    FormTokenizer q(plain);
    EXPECT_FALSE(q.IsUtf8());
    EXPECT_EQ(Escaped(q.TokenWide()), Escaped(u"caf\u00C3\u00A9"));
}

// Releasing the parser leaves the stream at the start of the current token, so that
// text after a form stays unread.
// In a double-byte code page a lead byte and its trail byte are one character: the
// pair may be part of an identifier, and its trail byte, which can be "{", "[" or a
// letter, never starts a token. In a single-byte page the same bytes are separate.
TEST(FormTokenizer, KeepsTwoByteCharactersWhole) {
    const fw::CodePage& japanese = *fw::CodePage::Find(932);
    const fw::CodePage& chinese = *fw::CodePage::Find(936);
    struct Case {
        std::string_view Text;
        const fw::CodePage& Page;
        std::string_view Tokens;
    };
    const Case cases[] = {
        // "bo" (83 7B) ends in "{", "so" (83 5C) in a backslash.
        {"object \x83\x7B\x83\x5C"
         "1: TButton",
         japanese,
         "Ident(object) Ident(\x83{\x83\\"
         "1) Char(58) Ident(TButton)"},
        {"object \x83\x7B\x83\x5C"
         "1: TButton",
         fw::CodePage::Default(),
         "Ident(object) Char(131) Char(123) Char(131) Char(92) Int(1) Char(58) Ident(TButton)"},
        {"A.\x83\x5B.B", japanese, "Ident(A) Char(46) Ident(\x83[) Char(46) Ident(B)"},
        // A lead byte before a byte that is no trail stays a character of its own.
        {"\x83 x \x83", japanese, "Char(131) Ident(x) Char(131)"},
        // A quote is never a trail byte, so a lead byte before it does not hide it.
        {"'\x83''\x95\x5C' #12354", japanese, R"(Str(\x83'\x95\) Wide(\u3042))"},
        {"\xB0\xA1_2 = 3", chinese, "Ident(\xB0\xA1_2) Char(61) Int(3)"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Tokens(c.Text, false, c.Page), c.Tokens) << Escaped(c.Text);

    fw::MemoryStream in(Raw("Form1.\x83\x7B\x83\x5C.Caption = 1"));
    FormTokenizer p(in, japanese);
    EXPECT_EQ(p.TokenDottedIdent(), "Form1.\x83\x7B\x83\x5C.Caption");
}

TEST(FormTokenizer, GivesBackTheCurrentToken) {
    std::string filler;
    for (int i = 0; i < 2000; ++i)
        filler += "abc ";
    const std::string text = "##" + filler + "  'next one'  tail";
    const auto expectedPosition = static_cast<std::int64_t>(text.find("'next"));

    auto check = [&](fw::Stream& in) {
        in.Seek(2);
        {
            FormTokenizer p(in);
            for (int i = 0; i < 2000; ++i)
                p.Advance();
            ASSERT_EQ(Show(p), "Str(next one)");
        }
        EXPECT_EQ(in.Position(), expectedPosition);

        in.Seek(2);
        { FormTokenizer p(in); }
        EXPECT_EQ(in.Position(), 2);
    };
    {
        SCOPED_TRACE("memory");
        fw::MemoryStream in(Raw(text));
        check(in);
    }
    {
        SCOPED_TRACE("block reads");
        BlockOnlyStream in(Raw(text));
        check(in);
    }
}

// A whole string constant reads as its characters, whatever mix of runs, #codes and
// '+' the writer chose; anything else is no string constant.
TEST(StringConstantValue, ReadsWholeConstantsOnly) {
    const fw::CodePage& cp932 = *fw::CodePage::Find(932);
    const fw::CodePage& cp1252 = fw::CodePage::Default();
    const struct {
        const char* Name;
        std::string Text;
        const fw::CodePage* Page;
        bool Utf8;
        std::optional<std::u16string> Value;
    } cases[] = {
        {"codes", "#12510#12473#12479", &cp932, false, u"\u30DE\u30B9\u30BF"},
        {"runs and codes", "'a'#13#10'b'''", &cp1252, false, u"a\r\nb'"},
        {"joined", "'ab' +\r\n  'cd'", &cp1252, false, u"abcd"},
        {"8-bit in its page", "'\x83\x7D'", &cp932, false, u"\u30DE"},
        {"UTF-8 quoted", "'\xE4\xB8\xAD'#25991", &cp1252, true, u"\u4E2D\u6587"},
        {"surrogate pair", "#55357#56832", &cp1252, false, u"\U0001F600"},
        {"empty", "''", &cp1252, false, u""},
        {"identifier", "clBtnFace", &cp1252, false, std::nullopt},
        {"number", "42", &cp1252, false, std::nullopt},
        {"something after", "'a' b", &cp1252, false, std::nullopt},
        {"dangling plus", "'a' +", &cp1252, false, std::nullopt},
        {"unterminated", "'abc", &cp1252, false, std::nullopt},
        {"nothing", "", &cp1252, false, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        EXPECT_EQ(fw::StringConstantValue(c.Text, *c.Page, c.Utf8), c.Value);
    }
}

TEST(StringConstantValue, ShowsCharactersWithControlsAsCodes) {
    const struct {
        std::u16string Value;
        std::string Shown;
    } cases[] = {
        {u"\u30DE\u30B9\u30BF", "'\xE3\x83\x9E\xE3\x82\xB9\xE3\x82\xBF'"},
        {u"a\r\nb'", "'a'#13#10'b'''"},
        {u"\tx", "#9'x'"},
        {u"", "''"},
        {u"\U0001F600", "'\xF0\x9F\x98\x80'"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(fw::ShownStringConstant(c.Value), c.Shown);
}
