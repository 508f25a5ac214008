// The text logic behind the status line, the tree sync, find and Load and Paste Data.

#include <gtest/gtest.h>

#include "document/editorlogic.h"

namespace {

TEST(CaretStatus, FormatsCaretCharacterAndSelection) {
    EXPECT_EQ(fw::CaretStatusText(5, 12, 65, 40, 0), "Col: 5  Ln: 12  Chr: 65(41h)  Cnt: 40  Sel: 0");
    EXPECT_EQ(fw::CaretStatusText(1, 1, 0, 1, 9), "Col: 1  Ln: 1  Chr: 0(0h)  Cnt: 1  Sel: 9");
    EXPECT_EQ(fw::CaretStatusText(3, 2, 233, 2, 0), "Col: 3  Ln: 2  Chr: 233(E9h)  Cnt: 2  Sel: 0");
    EXPECT_EQ(fw::CharacterAt("ABC", 1), 65);
    EXPECT_EQ(fw::CharacterAt("ABC", 4), 0);  // at the end of the line
    EXPECT_EQ(fw::CharacterAt("", 1), 0);
}

TEST(ObjectNameAtLine, NearestHeaderAboveDecides) {
    const std::vector<std::string> lines = {
        "",                                 // 0: above the first object
        "object Form1: TForm1",             // 1
        "  Left = 8",                       // 2
        "  inherited Panel2: TPanel",       // 3
        "    Caption = 'an object: here'",  // 4: "object" is not at the start
        "  end",                            // 5
        "  inherited X: TX object",         // 6: begins with inherited but holds object
        "end",                              // 7
        "  inline Frame1: TFrame1",         // 8
        "    Left = 1",                     // 9
    };
    struct Case {
        int Line;
        bool Found;
        const char* Name;
    } cases[] = {{0, false, ""},      {1, true, "Form1"},  {2, true, "Form1"},  {3, true, "Panel2"},
                 {4, true, "Panel2"}, {5, true, "Panel2"}, {6, true, "Panel2"}, {7, true, "Panel2"},
                 {8, true, "Frame1"}, {9, true, "Frame1"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Line);
        bool found = true;
        EXPECT_EQ(fw::ObjectNameAtLine(lines, c.Line, found), c.Name);
        EXPECT_EQ(found, c.Found);
    }
}

TEST(ObjectNameAtLine, AsksOnlyForTheLinesUpToTheHeader) {
    const std::vector<std::string> lines = {"object A: TA", "  object B: TB", "    Left = 1", "    Top = 2"};
    std::vector<int> asked;
    bool found = false;
    const std::string name = fw::ObjectNameAtLine(
        3,
        [&](int line) {
            asked.push_back(line);
            return std::string_view(lines[static_cast<std::size_t>(line)]);
        },
        found);
    EXPECT_TRUE(found);
    EXPECT_EQ(name, "B");
    EXPECT_EQ(asked, (std::vector<int>{3, 2, 1}));
}

TEST(FirstCodePoint, DecodesUtf8AndPassesStrayBytes) {
    const std::pair<std::string, int> cases[] = {
        {"", 0},
        {"A", 65},
        {"\xC3\xA9x", 0xE9},
        {"\xE2\x82\xAC", 0x20AC},
        {"\xF0\x9F\x98\x80", 0x1F600},
        {"\xE9", 0xE9},          // a lone Latin-1 byte
        {"\xE2\x82", 0xE2},      // cut short
        {"\xC0\x80", 0xC0},      // overlong
        {"\xED\xA0\x80", 0xED},  // a surrogate
    };
    for (const auto& [text, code] : cases) {
        SCOPED_TRACE(text);
        EXPECT_EQ(fw::FirstCodePoint(text), code);
    }
}

TEST(IdentifierAt, TakesTheRunAroundTheCaret) {
    EXPECT_EQ(fw::IdentifierAt("  Caption = 'x'", 4), "Caption");
    EXPECT_EQ(fw::IdentifierAt("  Font.Name = 'x'", 6), "");  // the dot is no identifier character
    EXPECT_EQ(fw::IdentifierAt("  Font.Name = 'x'", 7), "Name");
    EXPECT_EQ(fw::IdentifierAt("abc", 3), "");  // beyond the line
}

TEST(HexDataLines, ThirtyTwoBytesALineAndAClosingBreak) {
    EXPECT_EQ(fw::HexDataLines({}), "\r\n");
    std::vector<std::uint8_t> forty(40, 0xAB);
    forty[0] = 0x0A;
    std::string expected = "0A";
    for (int i = 1; i < 32; ++i)
        expected += "AB";
    expected += "\r\n";
    for (int i = 0; i < 8; ++i)
        expected += "AB";
    expected += "\r\n\r\n";
    EXPECT_EQ(fw::HexDataLines(forty), expected);
}

}  // namespace

// The decoded-string command finds the whole constant a line is part of.
TEST(DecodedStringAtLine, FindsTheWholeConstantAroundALine) {
    const std::vector<std::string> lines = {
        "object F: TForm",                 // 0
        "  Caption = #12510#12473#12479",  // 1
        "  Hint = ",                       // 2
        "    'first part ' +",             // 3
        "    'second'#13#10'third'",       // 4
        "  Left = 10",                     // 5
        "  Items.Strings = (",             // 6
        "    'one'",                       // 7
        "    #20013#25991)",               // 8
        "  Name = 'it''s'",                // 9
        "end",                             // 10
    };
    const auto lineAt = [&](int i) { return std::string_view(lines[static_cast<std::size_t>(i)]); };
    const int count = static_cast<int>(lines.size());
    const std::string whole = "'first part second'#13#10'third'";
    const struct {
        int Line;
        std::optional<std::string> Shown;
    } cases[] = {
        {0, std::nullopt},
        {1, "'\xE3\x83\x9E\xE3\x82\xB9\xE3\x82\xBF'"},
        {2, whole},
        {3, whole},
        {4, whole},
        {5, std::nullopt},
        {6, std::nullopt},
        {7, "'one'"},
        {8, "'\xE4\xB8\xAD\xE6\x96\x87'"},
        {9, "'it''s'"},
        {10, std::nullopt},
        {-1, std::nullopt},
        {11, std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(fw::DecodedStringAtLine(c.Line, count, lineAt), c.Shown) << c.Line;
}
