// TextToBinaryForm and TextToResourceForm: the bytes written for each shape of form
// text, the syntax errors and their lines, and the resource header.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "codec/conversion.h"
#include "codec_test_util.h"

using namespace fwtest;

namespace {

fw::Bytes FormWithP(const fw::Bytes& value) {
    return Bin("'TPF0' s'TForm1' s'Form1' s'P'") + value + Bin("00 00");
}

std::string TextWithP(const std::string& valueText) {
    return "object Form1: TForm1\r\n  P = " + valueText + "\r\nend\r\n";
}

struct BinaryCase {
    std::string label;
    std::string text;
    fw::Bytes binary;
};

void ExpectBinaries(const std::vector<BinaryCase>& cases) {
    for (const BinaryCase& c : cases) {
        SCOPED_TRACE(c.label);
        fw::Bytes binary;
        EXPECT_EQ(MessageOf<fw::Exception>([&] { binary = ToBinary(c.text); }), "<no exception>");
        EXPECT_EQ(Hex(binary), Hex(c.binary));
    }
}

}  // namespace

TEST(TextToBinaryForm, WritesObjectRecords) {
    ExpectBinaries({
        {"named", "object Form1: TForm1\r\nend\r\n", Bin("'TPF0' s'TForm1' s'Form1' 00 00")},
        {"unnamed", "object TForm1\r\nend\r\n", Bin("'TPF0' s'TForm1' 00 00 00")},
        {"inherited", "inherited Form1: TForm1\r\nend\r\n", Bin("'TPF0' F1 s'TForm1' s'Form1' 00 00")},
        {"inline", "inline Frame1: TFrame1\r\nend\r\n", Bin("'TPF0' F4 s'TFrame1' s'Frame1' 00 00")},
        {"position", "object Button1: TButton [3]\r\nend\r\n",
         Bin("'TPF0' F2 02 03 s'TButton' s'Button1' 00 00")},
        {"inherited with position 0", "inherited F: TFrame [0]\r\nend",
         Bin("'TPF0' F3 02 00 s'TFrame' s'F' 00 00")},
        {"inline with position 300", "inline F: TFrame [300]\r\nend",
         Bin("'TPF0' F6 03 2C 01 s'TFrame' s'F' 00 00")},
        {"position -1 is dropped", "object B: TButton [-1]\r\nend", Bin("'TPF0' s'TButton' s'B' 00 00")},
        {"any negative position is dropped", "object B: TButton [-5]\r\nend",
         Bin("'TPF0' s'TButton' s'B' 00 00")},
        {"hex position", "object B: TButton [$10]\r\nend", Bin("'TPF0' F2 02 10 s'TButton' s'B' 00 00")},
        // The position keeps its low 32 bits.
        {"position beyond 32 bits", "object B: TButton [4294967297]\r\nend",
         Bin("'TPF0' F2 02 01 s'TButton' s'B' 00 00")},
        {"keywords in any case", "Object A: T\r\nEnd", Bin("'TPF0' s'T' s'A' 00 00")},
        {"upper-case keywords", "OBJECT A: T\r\nEND", Bin("'TPF0' s'T' s'A' 00 00")},
        {"mixed-case inherited", "InHeRiTeD A: T\r\nend", Bin("'TPF0' F1 s'T' s'A' 00 00")},
        {"free blanks", "  object A : T [ 2 ] Left=1 end",
         Bin("'TPF0' F2 02 02 s'T' s'A' s'Left' 02 01 00 00")},
        {"children",
         "object A: TA\r\n"
         "  Left = 1\r\n"
         "  object B: TB\r\n"
         "    object C: TC\r\n"
         "    end\r\n"
         "  end\r\n"
         "  inherited D: TD [1]\r\n"
         "    Top = 2\r\n"
         "  end\r\n"
         "end\r\n",
         Bin("'TPF0' s'TA' s'A' s'Left' 02 01 00"
             "  s'TB' s'B' 00"
             "    s'TC' s'C' 00 00"
             "  00"
             "  F3 02 01 s'TD' s'D' s'Top' 02 02 00 00"
             "00")},
        {"dotted property name", "object A: T\r\n  Font.Name = 'x'\r\nend",
         Bin("'TPF0' s'T' s'A' s'Font.Name' 06 01 'x' 00 00")},
        {"blanks around the dots", "object A: T\r\n  Font . Style.Bold = True\r\nend",
         Bin("'TPF0' s'T' s'A' s'Font.Style.Bold' 09 00 00")},
    });
}

TEST(TextToBinaryForm, WritesIntegersAndIdentifiers) {
    ExpectBinaries({
        {"300", TextWithP("300"), FormWithP(Bin("03 2C 01"))},
        {"-1", TextWithP("-1"), FormWithP(Bin("02 FF"))},
        {"-129", TextWithP("-129"), FormWithP(Bin("03 7F FF"))},
        {"32768", TextWithP("32768"), FormWithP(Bin("04 00 80 00 00"))},
        {"$7FFFFFFF", TextWithP("$7FFFFFFF"), FormWithP(Bin("04 FF FF FF 7F"))},
        {"$FFFFFFFF is 4294967295", TextWithP("$FFFFFFFF"), FormWithP(Bin("13 FF FF FF FF 00 00 00 00"))},
        {"$FFFFFFFFFFFFFFFF is -1", TextWithP("$FFFFFFFFFFFFFFFF"), FormWithP(Bin("02 FF"))},
        {"2147483648", TextWithP("2147483648"), FormWithP(Bin("13 00 00 00 80 00 00 00 00"))},
        {"int64 minimum", TextWithP("-9223372036854775808"), FormWithP(Bin("13 00 00 00 00 00 00 00 80"))},
        {"True", TextWithP("True"), FormWithP(Bin("09"))},
        {"TRUE", TextWithP("TRUE"), FormWithP(Bin("09"))},
        {"false", TextWithP("false"), FormWithP(Bin("08"))},
        {"NIL", TextWithP("NIL"), FormWithP(Bin("0D"))},
        {"Null", TextWithP("Null"), FormWithP(Bin("00"))},
        {"identifier", TextWithP("alClient"), FormWithP(Bin("07 08 'alClient'"))},
        {"dotted identifier", TextWithP("Form1.Button1"), FormWithP(Bin("07 0D 'Form1.Button1'"))},
        {"INF is an identifier", TextWithP("INF"), FormWithP(Bin("07 03 'INF'"))},
    });
}

TEST(TextToBinaryForm, WritesStrings) {
    const std::string x300(300, 'x');
    ExpectBinaries({
        {"ASCII", TextWithP("'abc'"), FormWithP(Bin("06 03 'abc'"))},
        {"empty", TextWithP("''"), FormWithP(Bin("12 00 00 00 00"))},
        {"concatenation", TextWithP("'a' + 'b'"), FormWithP(Bin("06 02 'ab'"))},
        {"wrapped over lines", TextWithP("\r\n    'abc' +\r\n    'def' +\r\n    'g'"),
         FormWithP(Bin("06 07 'abcdefg'"))},
        {"codes", TextWithP("'It'#39's'#13#10'done'"), FormWithP(Bin("06 0A 'It' 27 's' 0D 0A 'done'"))},
        {"doubled quote", TextWithP("'It''s'"), FormWithP(Bin("06 04 'It' 27 's'"))},
        {"quote code alone", TextWithP("#39"), FormWithP(Bin("06 01 27"))},
        // Fewer UTF-8 bytes than twice the code units, and not plain ASCII.
        {"wide constant as UTF-8", TextWithP("'caf'#233"), FormWithP(Bin("14 05 00 00 00 'caf' C3 A9"))},
        {"e acute alone", TextWithP("#233"), FormWithP(Bin("12 01 00 00 00 E9 00"))},
        // 8-bit text goes through the code page first: E9 is e acute, 80 the euro sign.
        {"8-bit e acute", TextWithP("'caf\xE9'"), FormWithP(Bin("14 05 00 00 00 'caf' C3 A9"))},
        {"8-bit euro", TextWithP("'\x80'"), FormWithP(Bin("12 01 00 00 00 AC 20"))},
        {"8-bit part plus wide part", TextWithP("'a' + #8364"), FormWithP(Bin("12 02 00 00 00 61 00 AC 20"))},
        {"255 characters", TextWithP("'" + x300.substr(0, 200) + "' + '" + x300.substr(0, 55) + "'"),
         FormWithP(Bin("06 FF") + Repeat('x', 255))},
        {"300 characters", TextWithP("'" + x300.substr(0, 200) + "' +\r\n '" + x300.substr(0, 100) + "'"),
         FormWithP(Bin("0C 2C 01 00 00") + Repeat('x', 300))},
    });
}

// 8-bit parts joined by "+" are decoded as one string, so a two-byte character split
// between two parts (as another program may write a long string) comes back whole;
// a wide part in between does not join the 8-bit parts around it.
TEST(TextToBinaryForm, JoinsSplitTwoByteCharacters) {
    const fw::CodePage& japanese = *fw::CodePage::Find(932);
    struct Case {
        std::string Text;
        std::string Same;
    };
    const Case cases[] = {
        {"'\x82' + '\xA0'", "#12354"},
        {"'x\x82' +\r\n    '\xA0' + #12354 + '\x83' + '\x5C'", "'x'#12354#12354#12477"},
        {"'\x82' + #12354 + '\xA0'",
         "#" + std::to_string(fw::CodePage::PrivateByteBase + 0x82) + "#12354#63728"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Text);
        EXPECT_EQ(Hex(ToBinary(TextWithP(c.Text), japanese)), Hex(ToBinary(TextWithP(c.Same), japanese)));
    }
}

// Identifiers of 8-bit text in a double-byte code page may hold two-byte characters,
// whose trail bytes can be "{" or a backslash; the binary stream holds such names as
// UTF-8, as it does names from UTF-8 text, and converts back to the same stream.
TEST(TextToBinaryForm, WritesTwoByteNamesAsUtf8) {
    const fw::CodePage& japanese = *fw::CodePage::Find(932);
    // bo (83 7B) and so (83 5C): U+30DC and U+30BD.
    const std::string text =
        "object \x83\x7B\x83\x5C"
        "1: TButton\r\n"
        "  \x83\x5C.Tag = \x83\x7B\r\n"
        "  Options = [\x83\x5C, a]\r\n"
        "end\r\n";
    const fw::Bytes binary = ToBinary(text, japanese);
    EXPECT_EQ(Hex(binary),
              Hex(Bin("'TPF0' 07 'TButton' 07 E3 83 9C E3 82 BD '1' 07 E3 82 BD '.Tag' 07 03 E3 83 9C") +
                  Bin("07 'Options' 0B 03 E3 82 BD 01 'a' 00 00 00")));
    const std::string back = ToText(binary, japanese);
    EXPECT_EQ(back.rfind("\xEF\xBB\xBF"
                         "object \xE3\x83\x9C\xE3\x82\xBD"
                         "1: TButton",
                         0),
              0u)
        << Escaped(back);
    EXPECT_EQ(Hex(ToBinary(back, japanese)), Hex(binary));
}

TEST(TextToBinaryForm, WritesFloats) {
    ExpectBinaries({
        {"1.5", TextWithP("1.5"), FormWithP(Bin("05 00 00 00 00 00 00 00 C0 FF 3F"))},
        {"1.5 in fixed form", TextWithP("1.500000000000000000"),
         FormWithP(Bin("05 00 00 00 00 00 00 00 C0 FF 3F"))},
        {"-1.5", TextWithP("-1.5"), FormWithP(Bin("05 00 00 00 00 00 00 00 C0 FF BF"))},
        {"1E3", TextWithP("1E3"), FormWithP(Bin("05 00 00 00 00 00 00 00 FA 08 40"))},
        // Converted in extended precision, not through a double.
        {"0.1", TextWithP("0.1"), FormWithP(Bin("05 CD CC CC CC CC CC CC CC FB 3F"))},
        {"single 1.5", TextWithP("1.5s"), FormWithP(Bin("0F 00 00 C0 3F"))},
        {"single 0.1", TextWithP("0.1S"), FormWithP(Bin("0F CD CC CC 3D"))},
        {"currency", TextWithP("15000c"), FormWithP(Bin("10 98 3A 00 00 00 00 00 00"))},
        // The raw number is rounded half to even.
        {"currency 2.5", TextWithP("2.5c"), FormWithP(Bin("10 02 00 00 00 00 00 00 00"))},
        {"currency 3.5", TextWithP("3.5C"), FormWithP(Bin("10 04 00 00 00 00 00 00 00"))},
        {"currency -2.5", TextWithP("-2.5c"), FormWithP(Bin("10 FE FF FF FF FF FF FF FF"))},
        {"currency 2.6", TextWithP("2.6c"), FormWithP(Bin("10 03 00 00 00 00 00 00 00"))},
        {"date", TextWithP("38718.5d"), FormWithP(Bin("11 00 00 00 00 D0 E7 E2 40"))},
        {"date in scientific form", TextWithP("1E-5D"), FormWithP(Bin("11 F1 68 E3 88 B5 F8 E4 3E"))},
    });
}

TEST(TextToBinaryForm, WritesSetsBinaryListsAndCollections) {
    ExpectBinaries({
        {"empty set", TextWithP("[]"), FormWithP(Bin("0B 00"))},
        {"set", TextWithP("[a, b]"), FormWithP(Bin("0B 01 'a' 01 'b' 00"))},
        {"set with blanks", TextWithP("[ a ,\r\n b ]"), FormWithP(Bin("0B 01 'a' 01 'b' 00"))},
        {"set of characters", TextWithP("['A', #233]"), FormWithP(Bin("0B 03 '#65' 04 '#233' 00"))},
        {"set of numbers", TextWithP("[1, 20]"), FormWithP(Bin("0B 01 '1' 02 '20' 00"))},
        {"empty binary", TextWithP("{}"), FormWithP(Bin("0A 00 00 00 00"))},
        {"binary", TextWithP("{0A0B0C}"), FormWithP(Bin("0A 03 00 00 00 0A 0B 0C"))},
        {"binary over lines", TextWithP("{\r\n    0A0B\r\n    0C}"),
         FormWithP(Bin("0A 03 00 00 00 0A 0B 0C"))},
        {"empty list", TextWithP("()"), FormWithP(Bin("01 00"))},
        {"list", TextWithP("(\r\n    1\r\n    'two')"), FormWithP(Bin("01 02 01 06 03 'two' 00"))},
        {"nested list", TextWithP("((1 ()) 2)"), FormWithP(Bin("01 01 02 01 01 00 00 02 02 00"))},
        {"list of mixed values", TextWithP("(a 1.5s [x] {FF} <>)"),
         FormWithP(Bin("01 07 01 'a' 0F 00 00 C0 3F 0B 01 'x' 00 0A 01 00 00 00 FF 0E 00 00"))},
        {"empty collection", TextWithP("<>"), FormWithP(Bin("0E 00"))},
        {"collection",
         TextWithP(
             "<\r\n    item\r\n      Width = 10\r\n    end\r\n    item [2]\r\n      Width = 20\r\n    end>"),
         FormWithP(Bin("0E 01 s'Width' 02 0A 00 02 02 01 s'Width' 02 14 00 00"))},
        {"item index -1 is not written", TextWithP("<item [-1] end>"), FormWithP(Bin("0E 01 00 00"))},
        {"item index -5 is written", TextWithP("<item [-5] end>"), FormWithP(Bin("0E 02 FB 01 00 00"))},
        {"item index 300", TextWithP("<item [300] end>"), FormWithP(Bin("0E 03 2C 01 01 00 00"))},
        {"item keywords in any case", TextWithP("<ITEM X = 1 END Item end>"),
         FormWithP(Bin("0E 01 s'X' 02 01 00 01 00 00"))},
        {"collection in an item", TextWithP("<item Sub = <item X = 1 end> end>"),
         FormWithP(Bin("0E 01 s'Sub' 0E 01 s'X' 02 01 00 00 00 00"))},
    });
}

TEST(TextToBinaryForm, ReportsSyntaxErrors) {
    struct Case {
        const char* label;
        std::string text;
        const char* message;
    };
    const Case cases[] = {
        {"no object keyword", "objekt A: T\r\nend", "OBJECT expected on line 1"},
        {"empty text", "", "OBJECT expected on line 1"},
        {"property after a child", "object A: T\r\n  object B: T\r\n  end\r\n  Left = 1\r\nend",
         "OBJECT expected on line 4"},
        // Taken for a child object, which then lacks its name.
        {"property named Inline", "object A: T\r\n  Inline = True\r\nend", "Identifier expected on line 2"},
        {"property named object", "object A: T\r\n  Left = 1\r\n  Object = 1\r\nend",
         "Identifier expected on line 3"},
        // Inside an item, "end" ends the item; then "item" is missing.
        {"item property named end", "object A: T\r\n  C = <\r\n    item\r\n      end = 1\r\n    end>\r\nend",
         "item expected on line 4"},
        {"number as class name", "object A: 5\r\nend", "Identifier expected on line 1"},
        {"number as name", "object 5: T\r\nend", "Identifier expected on line 1"},
        {"bad position", "object A: T [x]\r\nend", "Number expected on line 1"},
        {"float position", "object A: T [1.5]\r\nend", "Number expected on line 1"},
        {"unclosed position", "object A: T [2 x\r\nend", "'']'' expected on line 1"},
        {"no equals sign", "object A: T\r\n  Left 5\r\nend", "''='' expected on line 2"},
        {"number as property name", "object A: T\r\n  5 = 5\r\nend", "Identifier expected on line 2"},
        {"bad dotted property name", "object A: T\r\n  Font. = 1\r\nend", "Identifier expected on line 2"},
        {"bad dotted identifier value", "object A: T\r\n  Owner = Form1. Button1\r\nend",
         "Identifier expected on line 2"},
        {"number after plus", "object A: T\r\n  Caption = 'a' + 5\r\nend", "String expected on line 2"},
        {"plus on the next line", "object A: T\r\n  Caption = 'a' +\r\n\r\n    x\r\nend",
         "String expected on line 4"},
        {"bad value start", "object A: T\r\n  Left = )\r\nend", "Invalid property value on line 2"},
        {"set without comma", "object A: T\r\n  S = [a b]\r\nend", "'','' expected on line 2"},
        {"bad set element", "object A: T\r\n  S = [a, (]\r\nend", "Identifier expected on line 2"},
        {"item missing", "object A: T\r\n  C = <\r\n    Width = 1\r\n  >\r\nend", "item expected on line 3"},
        {"odd hex digits", "object A: T\r\n  Data = {0A0}\r\nend", "Invalid binary value on line 2"},
        {"unclosed string", "object A: T\r\n  Caption = 'abc\r\nend", "Invalid string constant on line 2"},
        {"missing end", "object A: T\r\n  Left = 1\r\n", "Identifier expected on line 3"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(MessageOf<fw::EParserError>([&] { ToBinary(c.text); }), c.message);
    }
}

TEST(TextToBinaryForm, ReportsBadNumbersWithoutALine) {
    struct Case {
        const char* value;
        const char* message;
    };
    const Case cases[] = {
        {"1-2", "'1-2' is not a valid floating point value"},
        {"1.2.3s", nullptr},
        {"99999999999999999999", "'99999999999999999999' is not a valid integer value"},
        {"$", "'$' is not a valid integer value"},
        {"-", "'-' is not a valid integer value"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        std::string message = MessageOf<fw::EConvertError>([&] { ToBinary(TextWithP(c.value)); });
        if (c.message) {
            EXPECT_EQ(message, c.message);
        } else {
            EXPECT_NE(message.find("is not a valid floating point value"), std::string::npos) << message;
        }
    }
}

TEST(TextToBinaryForm, IgnoresTheProcessLocale) {
    CommaDecimalLocale comma;
    EXPECT_EQ(Hex(ToBinary(TextWithP("1.5"))), Hex(FormWithP(Bin("05 00 00 00 00 00 00 00 C0 FF 3F"))));
    EXPECT_EQ(Hex(ToBinary(TextWithP("0.1s"))), Hex(FormWithP(Bin("0F CD CC CC 3D"))));
}

// Text with a UTF-8 byte-order mark is UTF-8: 'café' written in UTF-8 is the string
// café, not the four code-page characters its bytes would be.
TEST(TextToBinaryForm, ReadsUtf8TextAfterAByteOrderMark) {
    EXPECT_EQ(Hex(ToBinary("\xEF\xBB\xBF"
                           "object Form1: TForm1\r\n  P = 'caf\xC3\xA9'\r\nend\r\n")),
              Hex(FormWithP(Bin("14 05 00 00 00 'caf' C3 A9"))));
    EXPECT_EQ(Hex(ToBinary("\xEF\xBB\xBF"
                           "object Form1: TForm1\r\n  P = 'abc'\r\nend\r\n")),
              Hex(FormWithP(Bin("06 03 'abc'"))));
    EXPECT_EQ(Hex(ToBinary("\xEF\xBB\xBF"
                           "object Form1: TForm1\r\n  P = '\xE2\x82\xAC'\r\nend\r\n")),
              Hex(FormWithP(Bin("12 01 00 00 00 AC 20"))));
}

// Only the root is converted; the input is left at the first token after its "end".
TEST(TextToBinaryForm, StopsAfterTheRootObject) {
    std::string padding;
    for (int i = 0; i < 400; ++i)
        padding += "  Tag" + std::to_string(i) + " = " + std::to_string(i) + "\r\n";
    const std::string first = "object A: T\r\n" + padding + "end";
    const std::string text = first + "\r\n\r\n  object B: T\r\nend\r\n";
    auto check = [&](fw::Stream& in) {
        fw::MemoryStream out;
        fw::TextToBinaryForm(in, out);
        EXPECT_EQ(in.Position(), static_cast<std::int64_t>(text.find("object B")));
        const fw::Bytes& bin = out.Data();
        ASSERT_GE(bin.size(), 2u);
        EXPECT_EQ(Hex(fw::Bytes(bin.end() - 2, bin.end())), "00 00");
        fw::MemoryStream out2;
        fw::TextToBinaryForm(in, out2);
        EXPECT_EQ(Hex(out2.Data()), Hex(Bin("'TPF0' s'T' s'B' 00 00")));
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

// Text nested far deeper than any real form must end in an error, not a stack
// overflow.
TEST(TextToBinaryForm, BoundsNesting) {
    const std::size_t deep = 100000;
    std::string lists =
        "object A: T\r\n  P = " + std::string(deep, '(') + std::string(deep, ')') + "\r\nend\r\n";
    std::string objects;
    for (std::size_t i = 0; i < deep; ++i)
        objects += "object A: T\n";
    for (std::size_t i = 0; i < deep; ++i)
        objects += "end\n";
    std::string collections = "object A: T\r\n  P = ";
    for (std::size_t i = 0; i < deep; ++i)
        collections += "<item P = ";
    collections += "<>";
    for (std::size_t i = 0; i < deep; ++i)
        collections += " end>";
    collections += "\r\nend\r\n";

    for (const std::string* text : {&lists, &objects, &collections}) {
        fw::MemoryStream in(Raw(*text));
        fw::MemoryStream out;
        EXPECT_THROW(fw::TextToBinaryForm(in, out), fw::Exception);
    }
}

TEST(TextToResourceForm, WritesTheHeaderBeforeTheStream) {
    struct Case {
        std::string label;
        std::string text;
        std::string headerName;
    };
    const Case cases[] = {
        {"plain", "object Form1: TForm1\r\nend", "TFORM1"},
        {"lower case, digits and underscore", "object A: t_form_2\r\nend", "T_FORM_2"},
        // The prefix and the position in front of the class name are skipped.
        {"child position", "object X: TX [2]\r\nend", "TX"},
        {"int16 position", "inherited X: TX [300]\r\nend", "TX"},
        {"int32 position", "inline X: TX [70000]\r\nend", "TX"},
        {"69 characters", "object A: T" + std::string(68, 'x') + "\r\nend", "T" + std::string(68, 'X')},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        const fw::Bytes binary = ToBinary(c.text);
        fw::MemoryStream in(Raw(c.text));
        fw::MemoryStream out;
        fw::TextToResourceForm(in, out);
        EXPECT_EQ(Hex(out.Data()), Hex(Bin("FF 0A 00") + Raw(c.headerName) + Bin("00 30 10") +
                                       Le32(static_cast<std::uint32_t>(binary.size())) + binary));
    }
}

TEST(TextToResourceForm, WritesNothingOnFailure) {
    const std::string name70 = "T" + std::string(69, 'x');
    fw::MemoryStream in(Raw("object A: " + name70 + "\r\nend"));
    fw::MemoryStream out;
    EXPECT_EQ(MessageOf<fw::EParserError>([&] { fw::TextToResourceForm(in, out); }),
              "Component name '" + name70 + "' exceeds 64 character limit");
    EXPECT_EQ(out.Size(), 0);

    fw::MemoryStream bad(Raw("object A: T\r\n  Left = )\r\nend"));
    EXPECT_EQ(MessageOf<fw::EParserError>([&] { fw::TextToResourceForm(bad, out); }),
              "Invalid property value on line 2");
    EXPECT_EQ(out.Size(), 0);
}
