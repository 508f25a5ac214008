// BinaryFormToText and ResourceFormToText: the layout of form text, how each kind of
// value is written, the number forms, and the failures on damaged streams.

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

#include "codec/conversion.h"
#include "codec/formformat.h"
#include "codec_test_util.h"

using namespace fwtest;

namespace {

fw::Bytes Le64(std::int64_t v) {
    fw::Bytes out;
    for (int i = 0; i < 8; ++i)
        out.push_back(static_cast<std::uint8_t>(static_cast<std::uint64_t>(v) >> (8 * i)));
    return out;
}

// A root object Form1 of class TForm1 holding one property P with the given value.
fw::Bytes FormWithP(const fw::Bytes& value) {
    return Bin("'TPF0' s'TForm1' s'Form1' s'P'") + value + Bin("00 00");
}

std::string TextWithP(const std::string& valueText) {
    return "object Form1: TForm1\r\n  P = " + valueText + "\r\nend\r\n";
}

std::string Hexes(std::size_t n) {
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    for (std::size_t i = 0; i < n; ++i) {
        auto b = static_cast<unsigned>((i * 29 + 0xA5) & 0xFF);
        out += digits[b >> 4];
        out += digits[b & 15];
    }
    return out;
}

fw::Bytes HexBytes(std::size_t n) {
    fw::Bytes out;
    for (std::size_t i = 0; i < n; ++i)
        out.push_back(static_cast<std::uint8_t>((i * 29 + 0xA5) & 0xFF));
    return out;
}

std::string Letters(std::size_t n) {
    std::string out;
    for (std::size_t i = 0; i < n; ++i)
        out += static_cast<char>('a' + i % 26);
    return out;
}

struct TextCase {
    std::string label;
    fw::Bytes binary;
    std::string text;
};

void ExpectTexts(const std::vector<TextCase>& cases) {
    for (const TextCase& c : cases) {
        SCOPED_TRACE(c.label);
        std::string text;
        EXPECT_EQ(MessageOf<fw::Exception>([&] { text = ToText(c.binary); }), "<no exception>");
        EXPECT_EQ(Escaped(text), Escaped(c.text));
    }
}

}  // namespace

TEST(BinaryFormToText, LaysOutObjects) {
    ExpectTexts({
        {"empty root", Bin("'TPF0' s'TForm1' s'Form1' 00 00"), "object Form1: TForm1\r\nend\r\n"},
        {"unnamed", Bin("'TPF0' s'TFoo' 00 00 00"), "object TFoo\r\nend\r\n"},
        {"one property", Bin("'TPF0' s'TForm1' s'Form1' s'Width' 03 2C 01 00 00"),
         "object Form1: TForm1\r\n  Width = 300\r\nend\r\n"},
        {"inherited with position", Bin("'TPF0' F3 02 02 s'TForm1' s'Form1' 00 00"),
         "inherited Form1: TForm1 [2]\r\nend\r\n"},
        {"inherited and inline", Bin("'TPF0' F5 s'TForm1' s'Form1' 00 00"),
         "inherited Form1: TForm1\r\nend\r\n"},
        {"inline", Bin("'TPF0' F4 s'TFrame1' s'Frame1' 00 00"), "inline Frame1: TFrame1\r\nend\r\n"},
        {"inline with position 0", Bin("'TPF0' F6 02 00 s'TFrame1' s'Frame1' 00 00"),
         "inline Frame1: TFrame1 [0]\r\nend\r\n"},
        {"position 300", Bin("'TPF0' F2 03 2C 01 s'TX' s'X' 00 00"), "object X: TX [300]\r\nend\r\n"},
        {"unnamed with position", Bin("'TPF0' F2 02 01 s'TX' 00 00 00"), "object TX [1]\r\nend\r\n"},
        // Flag bit 8 has no text.
        {"bit 8", Bin("'TPF0' F8 s'TX' s'X' 00 00"), "object X: TX\r\nend\r\n"},
        {"children and grandchildren",
         Bin("'TPF0' s'TForm1' s'Form1' s'Left' 02 08 00"
             "  s'TPanel' s'Panel1' s'Top' 02 01 00"
             "    s'TButton' s'Button1' 00 00"
             "    F1 s'TLabel' 00 00 00"
             "  00"
             "  s'TTimer' s'Timer1' 00 00"
             "00"),
         "object Form1: TForm1\r\n"
         "  Left = 8\r\n"
         "  object Panel1: TPanel\r\n"
         "    Top = 1\r\n"
         "    object Button1: TButton\r\n"
         "    end\r\n"
         "    inherited TLabel\r\n"
         "    end\r\n"
         "  end\r\n"
         "  object Timer1: TTimer\r\n"
         "  end\r\n"
         "end\r\n"},
        {"dotted property name", Bin("'TPF0' s'TForm1' s'Form1' s'Font.Name' 06 01 'x' 00 00"),
         "object Form1: TForm1\r\n  Font.Name = 'x'\r\nend\r\n"},
    });
}

TEST(BinaryFormToText, WritesIntegersIdentifiersSetsAndLists) {
    ExpectTexts({
        {"int8", FormWithP(Bin("02 FB")), TextWithP("-5")},
        {"int16", FormWithP(Bin("03 00 80")), TextWithP("-32768")},
        {"int32", FormWithP(Bin("04 00 00 00 80")), TextWithP("-2147483648")},
        {"int32 holding 5", FormWithP(Bin("04 05 00 00 00")), TextWithP("5")},
        {"int64", FormWithP(Bin("13 FF FF FF FF FF FF FF 7F")), TextWithP("9223372036854775807")},
        {"int64 minimum", FormWithP(Bin("13 00 00 00 00 00 00 00 80")), TextWithP("-9223372036854775808")},
        {"identifier", FormWithP(Bin("07 08 'alClient'")), TextWithP("alClient")},
        {"dotted identifier", FormWithP(Bin("07 0D 'Form1.Button1'")), TextWithP("Form1.Button1")},
        {"false", FormWithP(Bin("08")), TextWithP("False")},
        {"true", FormWithP(Bin("09")), TextWithP("True")},
        {"nil", FormWithP(Bin("0D")), TextWithP("nil")},
        {"null", FormWithP(Bin("00")), TextWithP("Null")},
        // 128 plus the identifier tag still names an identifier.
        {"identifier tag with bit 128", FormWithP(Bin("87 02 'xy'")), TextWithP("xy")},
        {"empty set", FormWithP(Bin("0B 00")), TextWithP("[]")},
        {"set", FormWithP(Bin("0B s'akLeft' s'akTop' 00")), TextWithP("[akLeft, akTop]")},
        {"empty list", FormWithP(Bin("01 00")), TextWithP("()")},
        {"list", FormWithP(Bin("01 02 01 06 03 'two' 00")), TextWithP("(\r\n    1\r\n    'two')")},
        {"nested list", FormWithP(Bin("01 01 02 01 01 00 00 02 02 00")),
         TextWithP("(\r\n    (\r\n      1\r\n      ())\r\n    2)")},
    });
}

TEST(BinaryFormToText, WritesStrings) {
    const std::string s64 = Letters(64), s65 = Letters(65), s130 = Letters(130);
    ExpectTexts({
        {"short", FormWithP(Bin("06 03 'abc'")), TextWithP("'abc'")},
        {"long string tag", FormWithP(Bin("0C 03 00 00 00 'abc'")), TextWithP("'abc'")},
        {"empty short", FormWithP(Bin("06 00")), TextWithP("''")},
        {"empty long", FormWithP(Bin("0C 00 00 00 00")), TextWithP("''")},
        {"empty wide", FormWithP(Bin("12 00 00 00 00")), TextWithP("''")},
        {"empty UTF-8", FormWithP(Bin("14 00 00 00 00")), TextWithP("''")},
        // A quote is always #39, never doubled.
        {"quote and line break", FormWithP(Bin("06 0A 'It' 27 's' 0D 0A 'done'")),
         TextWithP("'It'#39's'#13#10'done'")},
        {"control characters only", FormWithP(Bin("06 02 0D 0A")), TextWithP("#13#10")},
        {"quote only", FormWithP(Bin("06 01 27")), TextWithP("#39")},
        {"space and tilde are plain", FormWithP(Bin("06 03 20 7E 20")), TextWithP("' ~ '")},
        // 8-bit strings keep their bytes; the text is in the same code page.
        {"8-bit bytes of 128 and more", FormWithP(Bin("06 04 'caf' E9")), TextWithP("'caf\xE9'")},
        {"wide e acute", FormWithP(Bin("12 01 00 00 00 E9 00")), TextWithP("#233")},
        {"wide ab + e acute", FormWithP(Bin("12 03 00 00 00 61 00 62 00 E9 00")), TextWithP("'ab'#233")},
        {"wide euro and quote", FormWithP(Bin("12 03 00 00 00 AC 20 27 00 78 00")), TextWithP("#8364#39'x'")},
        {"wide control", FormWithP(Bin("12 01 00 00 00 09 00")), TextWithP("#9")},
        {"UTF-8", FormWithP(Bin("14 05 00 00 00 'caf' C3 A9")), TextWithP("'caf'#233")},
        {"UTF-8 cut off", FormWithP(Bin("14 01 00 00 00 C3")), TextWithP("''")},
        {"64 characters", FormWithP(Bin("06 40") + Raw(s64)), TextWithP("'" + s64 + "'")},
        {"65 characters", FormWithP(Bin("06 41") + Raw(s65)),
         TextWithP("\r\n    '" + s64 + "' +\r\n    '" + s65.substr(64) + "'")},
        {"130 characters", FormWithP(Bin("06 82") + Raw(s130)),
         TextWithP("\r\n    '" + s130.substr(0, 64) + "' +\r\n    '" + s130.substr(64, 64) + "' +\r\n    '" +
                   s130.substr(128) + "'")},
        {"long string tag of 300", FormWithP(Bin("0C 2C 01 00 00") + Raw(Letters(300))),
         TextWithP("\r\n    '" + Letters(300).substr(0, 64) + "' +\r\n    '" + Letters(300).substr(64, 64) +
                   "' +\r\n    '" + Letters(300).substr(128, 64) + "' +\r\n    '" +
                   Letters(300).substr(192, 64) + "' +\r\n    '" + Letters(300).substr(256) + "'")},
        // Character codes count toward the 64 of a line, one each.
        {"quotes at the break", FormWithP(Bin("06 42") + Raw(Letters(63)) + Bin("27 27 'b'")),
         TextWithP("\r\n    '" + Letters(63) + "'#39 +\r\n    #39'b'")},
        {"65 wide characters",
         FormWithP(Bin("12 41 00 00 00") +
                   [] {
                       fw::Bytes b;
                       for (char c : Letters(64))
                           b = b + fw::Bytes{static_cast<std::uint8_t>(c), 0};
                       return b + Bin("E9 00");
                   }()),
         TextWithP("\r\n    '" + s64 + "' +\r\n    #233")},
        // Strings inside lists break one level deeper than the list's elements.
        {"long string in a list", FormWithP(Bin("01 06 41") + Raw(s65) + Bin("00")),
         TextWithP("(\r\n    \r\n      '" + s64 + "' +\r\n      '" + s65.substr(64) + "')")},
    });
}

// In a double-byte code page the 64-byte lines of a long 8-bit string never cut a
// character in two: a character that would not fit goes to the next line whole.
TEST(BinaryFormToText, KeepsTwoByteCharactersOnOneLine) {
    const fw::CodePage& japanese = *fw::CodePage::Find(932);
    const std::string a = "\x82\xA0";  // hiragana a
    struct Case {
        std::string Label;
        const fw::CodePage& Page;
        std::string String;
        std::string Text;
    };
    const Case cases[] = {
        {"across the break", japanese, Letters(63) + a + "b",
         "\r\n    '" + Letters(63) + "' +\r\n    '" + a + "b'"},
        {"single-byte page cuts it", fw::CodePage::Default(), Letters(63) + a + "b",
         "\r\n    '" + Letters(63) +
             "\x82' +\r\n    '\xA0"
             "b'"},
        {"ending at the break", japanese, Letters(62) + a + "b",
         "\r\n    '" + Letters(62) + a + "' +\r\n    'b'"},
        {"exactly 64", japanese, Letters(62) + a, "'" + Letters(62) + a + "'"},
        {"after a code at 63", japanese, Letters(62) + "\r" + a,
         "\r\n    '" + Letters(62) + "'#13 +\r\n    '" + a + "'"},
        // A lead byte before a byte that is no trail is a character of one byte.
        {"lone lead at the break", japanese, Letters(63) + "\x82\x20" + "b",
         "\r\n    '" + Letters(63) + "\x82' +\r\n    ' b'"},
        {"lone lead at the end", japanese, Letters(63) + "\x82", "'" + Letters(63) + "\x82'"},
        {"trail byte 5C across", japanese, Letters(63) + "\x83\x5C" + Letters(70),
         "\r\n    '" + Letters(63) + "' +\r\n    '\x83\x5C" + Letters(62) + "' +\r\n    '" +
             Letters(70).substr(62) + "'"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Label);
        const fw::Bytes binary =
            FormWithP(Bin("0C") + Le32(static_cast<std::uint32_t>(c.String.size())) + Raw(c.String));
        const std::string text = ToText(binary, c.Page);
        EXPECT_EQ(Escaped(text), Escaped(TextWithP(c.Text)));
        // Read back, the text gives the characters of the string.
        std::string codes;
        for (char16_t u : c.Page.Decode(c.String))
            codes += "#" + std::to_string(u);
        EXPECT_EQ(Hex(ToBinary(text, c.Page)), Hex(ToBinary(TextWithP(codes), c.Page)));
    }
}

TEST(BinaryFormToText, WritesBinaryDataAsHex) {
    ExpectTexts({
        {"three bytes", FormWithP(Bin("0A 03 00 00 00 0A 0B 0C")), TextWithP("{0A0B0C}")},
        {"upper-case digits", FormWithP(Bin("0A 02 00 00 00 AB EF")), TextWithP("{ABEF}")},
        {"none", FormWithP(Bin("0A 00 00 00 00")), TextWithP("{}")},
        {"negative count", FormWithP(Bin("0A FF FF FF FF")), TextWithP("{}")},
        {"31 bytes", FormWithP(Bin("0A") + Le32(31) + HexBytes(31)), TextWithP("{" + Hexes(31) + "}")},
        {"32 bytes", FormWithP(Bin("0A") + Le32(32) + HexBytes(32)),
         TextWithP("{\r\n    " + Hexes(32) + "}")},
        {"33 bytes", FormWithP(Bin("0A") + Le32(33) + HexBytes(33)),
         TextWithP("{\r\n    " + Hexes(33).substr(0, 64) + "\r\n    " + Hexes(33).substr(64) + "}")},
        {"64 bytes", FormWithP(Bin("0A") + Le32(64) + HexBytes(64)),
         TextWithP("{\r\n    " + Hexes(64).substr(0, 64) + "\r\n    " + Hexes(64).substr(64) + "}")},
    });
}

TEST(BinaryFormToText, WritesCollections) {
    ExpectTexts({
        {"empty", FormWithP(Bin("0E 00")), TextWithP("<>")},
        {"items with and without index",
         FormWithP(Bin("0E 01 s'Width' 02 0A 00 02 02 01 s'Width' 02 14 00 00")),
         TextWithP(
             "<\r\n    item\r\n      Width = 10\r\n    end\r\n    item [2]\r\n      Width = 20\r\n    end>")},
        {"index 300 as int16", FormWithP(Bin("0E 03 2C 01 01 00 00")),
         TextWithP("<\r\n    item [300]\r\n    end>")},
        {"index as int32", FormWithP(Bin("0E 04 FF FF FF FF 01 00 00")),
         TextWithP("<\r\n    item [-1]\r\n    end>")},
        {"item holding a collection", FormWithP(Bin("0E 01 s'Sub' 0E 01 s'X' 02 01 00 00 00 00")),
         TextWithP("<\r\n    item\r\n      Sub = <\r\n        item\r\n          X = 1\r\n        end>\r\n    "
                   "end>")},
    });
}

TEST(BinaryFormToText, WritesFloatsInFixedForm) {
    ExpectTexts({
        {"1.5", FormWithP(Bin("05 00 00 00 00 00 00 00 C0 FF 3F")), TextWithP("1.500000000000000000")},
        {"0", FormWithP(Bin("05 00 00 00 00 00 00 00 00 00 00")), TextWithP("0.000000000000000000")},
        {"-2", FormWithP(Bin("05 00 00 00 00 00 00 00 80 00 C0")), TextWithP("-2.000000000000000000")},
        {"1000", FormWithP(Bin("05 00 00 00 00 00 00 00 FA 08 40")), TextWithP("1000.000000000000000000")},
        {"extended 0.1", FormWithP(Bin("05 CD CC CC CC CC CC CC CC FB 3F")),
         TextWithP("0.100000000000000000")},
        {"double 0.1", FormWithP(Bin("15 9A 99 99 99 99 99 B9 3F")), TextWithP("0.100000000000000000")},
        // The double holds 12345.67799999999988..., which rounds to 16 digits.
        {"double 12345.678", FormWithP(Bin("15 58 39 B4 C8 D6 1C C8 40")),
         TextWithP("12345.678000000000000000")},
        {"extended 0.001", FormWithP(Bin("05 3B DF 4F 8D 97 6E 12 83 F5 3F")),
         TextWithP("0.001000000000000000")},
        {"extended 1E-17", FormWithP(Bin("05 49 B4 A4 36 32 AA 77 B8 C6 3F")),
         TextWithP("0.000000000000000010")},
        // Too small for 18 fraction digits: zero, and without its sign.
        {"extended -1E-20", FormWithP(Bin("05 EB 1A 11 92 64 08 E5 BC BC BF")),
         TextWithP("0.000000000000000000")},
        {"double -1E-20", FormWithP(Bin("15 23 42 92 0C A1 9C C7 BB")), TextWithP("0.000000000000000000")},
        // A carry out of the first digit.
        {"0.99999999999999999", FormWithP(Bin("05 48 FF FF FF FF FF FF FF FE 3F")),
         TextWithP("1.000000000000000000")},
        {"1E15 stays fixed", FormWithP(Bin("05 00 00 00 A0 31 A9 5F E3 30 40")),
         TextWithP("1000000000000000.000000000000000000")},
        {"double 1E16 is scientific", FormWithP(Bin("15 00 80 E0 37 79 C3 41 43")), TextWithP("1E16")},
        {"1E20", FormWithP(Bin("05 00 00 62 AC C5 EB 78 AD 41 40")), TextWithP("1E20")},
        {"2.5E17", FormWithP(Bin("05 00 00 40 76 3A 6B 0B DE 38 40")), TextWithP("2.5E17")},
        {"123456789012345678", FormWithP(Bin("05 00 A7 79 18 D3 A5 4D DB 37 40")),
         TextWithP("1.234567890123457E17")},
        {"99999999999999999", FormWithP(Bin("05 80 FF FF C4 2E BC A2 B1 37 40")), TextWithP("1E17")},
        {"infinity", FormWithP(Bin("05 00 00 00 00 00 00 00 80 FF 7F")), TextWithP("INF")},
        {"negative infinity", FormWithP(Bin("05 00 00 00 00 00 00 00 80 FF FF")), TextWithP("-INF")},
        {"not a number", FormWithP(Bin("05 00 00 00 00 00 00 00 C0 FF 7F")), TextWithP("NAN")},
        {"double infinity", FormWithP(Bin("15 00 00 00 00 00 00 F0 7F")), TextWithP("INF")},
        {"double not a number", FormWithP(Bin("15 00 00 00 00 00 00 F8 7F")), TextWithP("NAN")},
    });
}

TEST(BinaryFormToText, WritesSinglesCurrencyAndDatesInGeneralForm) {
    ExpectTexts({
        {"single 1.5", FormWithP(Bin("0F 00 00 C0 3F")), TextWithP("1.5s")},
        {"single 0.1", FormWithP(Bin("0F CD CC CC 3D")), TextWithP("0.100000001490116s")},
        {"single 1/3", FormWithP(Bin("0F AB AA AA 3E")), TextWithP("0.333333343267441s")},
        {"single 0", FormWithP(Bin("0F 00 00 00 00")), TextWithP("0s")},
        {"currency 1.5", FormWithP(Bin("10") + Le64(15000)), TextWithP("15000c")},
        {"currency raw -5", FormWithP(Bin("10") + Le64(-5)), TextWithP("-5c")},
        {"currency 0", FormWithP(Bin("10") + Le64(0)), TextWithP("0c")},
        {"currency of 15 digits", FormWithP(Bin("10") + Le64(123456789012345)),
         TextWithP("123456789012345c")},
        {"currency of 16 digits", FormWithP(Bin("10") + Le64(1234567890123456)),
         TextWithP("1.23456789012346E15c")},
        {"currency 1E16", FormWithP(Bin("10") + Le64(10000000000000000)), TextWithP("1E16c")},
        {"currency minimum", FormWithP(Bin("10") + Le64(std::numeric_limits<std::int64_t>::min())),
         TextWithP("-9.22337203685478E18c")},
        {"date 38718.5", FormWithP(Bin("11 00 00 00 00 D0 E7 E2 40")), TextWithP("38718.5d")},
        {"date 0.5", FormWithP(Bin("11 00 00 00 00 00 00 E0 3F")), TextWithP("0.5d")},
        {"date 100", FormWithP(Bin("11 00 00 00 00 00 00 59 40")), TextWithP("100d")},
        {"date 0.1", FormWithP(Bin("11 9A 99 99 99 99 99 B9 3F")), TextWithP("0.1d")},
        {"date 0.0001", FormWithP(Bin("11 2D 43 1C EB E2 36 1A 3F")), TextWithP("0.0001d")},
        {"date 0.00001", FormWithP(Bin("11 F1 68 E3 88 B5 F8 E4 3E")), TextWithP("1E-5d")},
        {"date -0.000015", FormWithP(Bin("11 69 1D 55 4D 10 75 EF BE")), TextWithP("-1.5E-5d")},
        {"date 999999999999999", FormWithP(Bin("11 F8 FF 33 26 F5 6B 0C 43")), TextWithP("999999999999999d")},
        {"date 1E15", FormWithP(Bin("11 00 00 34 26 F5 6B 0C 43")), TextWithP("1E15d")},
        {"date 0", FormWithP(Bin("11 00 00 00 00 00 00 00 00")), TextWithP("0d")},
    });
}

// Numbers use "." whatever the locale of the process says.
TEST(BinaryFormToText, IgnoresTheProcessLocale) {
    CommaDecimalLocale comma;
    EXPECT_EQ(ToText(FormWithP(Bin("05 00 00 00 00 00 00 00 C0 FF 3F"))), TextWithP("1.500000000000000000"));
    EXPECT_EQ(ToText(FormWithP(Bin("0F 00 00 C0 3F"))), TextWithP("1.5s"));
    EXPECT_EQ(ToText(FormWithP(Bin("04 40 42 0F 00"))), TextWithP("1000000"));
}

TEST(BinaryFormToText, ReportsDamagedStreams) {
    struct Case {
        const char* label;
        fw::Bytes binary;
        const char* message;
    };
    const Case cases[] = {
        {"tag 22", Bin("'TPF0' s'TForm1' s'Form1' s'Width' 16 00 00"), "Error reading Form1.Width: 22"},
        {"tag byte 150", Bin("'TPF0' s'TForm1' s'Form1' s'Width' 96 00 00"), "Error reading Form1.Width: 22"},
        {"tag byte 255", Bin("'TPF0' s'TForm1' s'Form1' s'Width' FF 00 00"),
         "Error reading Form1.Width: 127"},
        {"unnamed object: its class names it", Bin("'TPF0' s'TFoo' 00 s'Tag' 16 00 00"),
         "Error reading TFoo.Tag: 22"},
        {"inside a child",
         Bin("'TPF0' s'TForm1' s'Form1' s'Left' 02 01 00 s'TButton' s'Button1' s'Top' 02 01 s'Caption' 20 00 "
             "00 00"),
         "Error reading Button1.Caption: 32"},
        {"inside a list", Bin("'TPF0' s'TForm1' s'Form1' s'Tags' 01 02 01 17 00 00 00"),
         "Error reading Form1.Tags: 23"},
        {"inside a collection item", Bin("'TPF0' s'TForm1' s'Form1' s'Cols' 0E 01 s'Width' 16 00 00 00 00"),
         "Error reading Form1.Width: 22"},
        {"bad signature", Bin("'TPF1' s'TForm1' s'Form1' 00 00"), "Invalid stream format"},
        {"resource header instead of signature", Bin("FF 0A 00 'TFORM1' 00 30 10 00 00 00 00"),
         "Invalid stream format"},
        {"three bytes", Bin("'TPF'"), "Stream read error"},
        {"signature only", Bin("'TPF0'"), "Stream read error"},
        {"cut in a class name", Bin("'TPF0' 06 'TFo'"), "Stream read error"},
        {"cut in a value", Bin("'TPF0' s'TForm1' s'Form1' s'Width' 03 2C"), "Stream read error"},
        {"no end of children", Bin("'TPF0' s'TForm1' s'Form1' 00"), "Stream read error"},
        {"no end of properties", Bin("'TPF0' s'TForm1' s'Form1'"), "Stream read error"},
        {"string cut", Bin("'TPF0' s'TForm1' s'Form1' s'S' 0C 10 00 00 00 'abc'"), "Stream read error"},
        {"binary cut", Bin("'TPF0' s'TForm1' s'Form1' s'D' 0A 10 00 00 00 01 02"), "Stream read error"},
        {"huge string length", Bin("'TPF0' s'TForm1' s'Form1' s'S' 0C FF FF FF 7F 'abc' 00 00"),
         "Stream read error"},
        // Integer tags with bit 128 are not taken as integers.
        {"tag byte 130", Bin("'TPF0' s'TForm1' s'Form1' s'Width' 82 05 00 00"), "Invalid property value"},
        {"tag byte 134", Bin("'TPF0' s'TForm1' s'Form1' s'S' 86 01 'x' 00 00"), "Invalid property value"},
        {"collection item without its list tag",
         Bin("'TPF0' s'TForm1' s'Form1' s'C' 0E 02 05 06 00 00 00 00"), "Invalid property value"},
        {"collection item with an int64 index",
         Bin("'TPF0' s'TForm1' s'Form1' s'C' 0E 13 00 00 00 00 00 00 00 00 01 00 00 00 00"),
         "Invalid property value"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(MessageOf<fw::EReadError>([&] { ToText(c.binary); }), c.message);
    }
}

// A form nested far deeper than any real one must end in an error, not a stack
// overflow; a deep but sensible form converts.
TEST(BinaryFormToText, BoundsNesting) {
    const std::size_t deep = 100000;
    fw::Bytes lists = Bin("'TPF0' s'TForm1' s'Form1' s'P'") + Repeat(fw::TagList, deep) +
                      Repeat(fw::TagNull, deep) + Bin("00 00");
    fw::Bytes objects = Bin("'TPF0'");
    const fw::Bytes header = Bin("s'T' 00 00");
    for (std::size_t i = 0; i < deep; ++i)
        Append(objects, header);
    Append(objects, Repeat(0, deep + 1));
    fw::Bytes collections = Bin("'TPF0' s'TForm1' s'Form1' s'P'");
    const fw::Bytes open = Bin("0E 01 s'P'"), close = Bin("00 00");
    for (std::size_t i = 0; i < deep; ++i)
        Append(collections, open);
    Append(collections, Bin("0E 00"));
    for (std::size_t i = 0; i < deep; ++i)
        Append(collections, close);
    Append(collections, Bin("00 00"));

    for (const fw::Bytes* binary : {&lists, &objects, &collections}) {
        fw::MemoryStream in(*binary);
        fw::MemoryStream out;
        EXPECT_THROW(fw::BinaryFormToText(in, out), fw::EReadError);
    }

    fw::Bytes sensible = Bin("'TPF0'");
    for (int i = 0; i < 100; ++i)
        Append(sensible, header);
    Append(sensible, Repeat(0, 101));
    std::string text = ToText(sensible);
    EXPECT_NE(text.find(std::string(198, ' ') + "object T\r\n" + std::string(198, ' ') + "end\r\n"),
              std::string::npos);
}

// After converting one root record, the input stands right after it, whether the
// reader scanned memory or read in blocks, and however far its last block reached.
TEST(BinaryFormToText, StopsAfterTheRootRecord) {
    const fw::Bytes first =
        Bin("'TPF0' s'TForm1' s'Form1' s'Data' 0A") + Le32(5000) + HexBytes(5000) + Bin("00 00");
    const fw::Bytes second = Bin("'TPF0' s'TForm2' s'Form2' 00 00");
    auto check = [&](fw::Stream& in) {
        fw::MemoryStream out1, out2;
        fw::BinaryFormToText(in, out1);
        EXPECT_EQ(in.Position(), static_cast<std::int64_t>(first.size()));
        std::string text1(out1.Data().begin(), out1.Data().end());
        EXPECT_EQ(text1.substr(0, 22), "object Form1: TForm1\r\n");
        EXPECT_EQ(text1.substr(text1.size() - 8), "}\r\nend\r\n");
        fw::BinaryFormToText(in, out2);
        EXPECT_EQ(std::string(out2.Data().begin(), out2.Data().end()), "object Form2: TForm2\r\nend\r\n");
        EXPECT_EQ(in.Position(), in.Size());
    };
    {
        SCOPED_TRACE("memory");
        fw::MemoryStream in(first + second);
        check(in);
    }
    {
        SCOPED_TRACE("block reads");
        BlockOnlyStream in(first + second);
        check(in);
    }
}

TEST(ResourceFormToText, SkipsTheResourceHeader) {
    const fw::Bytes form = Bin("'TPF0' s'TForm1' s'Form1' s'Width' 03 2C 01 00 00");
    fw::MemoryStream in(Bin("FF 0A 00 'TFORM1' 00 30 10") + Le32(static_cast<std::uint32_t>(form.size())) +
                        form + Bin("'rest'"));
    fw::MemoryStream out;
    fw::ResourceFormToText(in, out);
    EXPECT_EQ(std::string(out.Data().begin(), out.Data().end()),
              "object Form1: TForm1\r\n  Width = 300\r\nend\r\n");
    EXPECT_EQ(in.Remaining(), 4);

    fw::MemoryStream bare(form);
    fw::MemoryStream ignored;
    EXPECT_EQ(MessageOf<fw::EInvalidImage>([&] { fw::ResourceFormToText(bare, ignored); }),
              "Invalid stream format");
}
