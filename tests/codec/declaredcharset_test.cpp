#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "codec/conversion.h"
#include "codec/declaredcharset.h"

namespace {

fw::Bytes BytesOf(std::string_view text) {
    return fw::Bytes(text.begin(), text.end());
}

struct DeclaredCase {
    const char* Name;
    const char* Form;
    int CodePage;
    int Votes;
    bool Conflicting;
};

const DeclaredCase DeclaredCases[] = {
    {"none", "object F: TForm\n  Caption = 'x'\nend\n", 0, 0, false},
    {"name", "object F: TForm\n  Font.Charset = SHIFTJIS_CHARSET\nend\n", 932, 1, false},
    {"number", "object F: TForm\n  Font.Charset = 134\nend\n", 936, 1, false},
    {"name in any letter case", "object F: TForm\n  font.charset = hangeul_charset\nend\n", 949, 1, false},
    {"plain Charset property", "object F: TForm\n  Charset = RUSSIAN_CHARSET\nend\n", 1251, 1, false},
    {"default and ANSI say nothing",
     "object F: TForm\n  Font.Charset = DEFAULT_CHARSET\n  object L: TLabel\n    Font.Charset = "
     "ANSI_CHARSET\n"
     "  end\n  object M: TLabel\n    Font.Charset = 0\n  end\n  object N: TLabel\n    Font.Charset = "
     "GREEK_CHARSET\n"
     "  end\nend\n",
     1253, 1, false},
    {"most frequent wins",
     "object F: TForm\n  Font.Charset = CHINESEBIG5_CHARSET\n  object A: TLabel\n    Font.Charset = "
     "GB2312_CHARSET\n"
     "  end\n  object B: TLabel\n    TitleFont.Charset = GB2312_CHARSET\n  end\nend\n",
     936, 2, true},
    {"tie goes to the first seen",
     "object F: TForm\n  Font.Charset = THAI_CHARSET\n  object A: TLabel\n    Font.Charset = 238\n  "
     "end\nend\n",
     874, 1, true},
    {"inside a string it is no declaration",
     "object F: TForm\n  Caption = 'Font.Charset = SHIFTJIS_CHARSET'\n  object M: TMemo\n    Lines.Strings = "
     "(\n"
     "      'Charset = 128')\n  end\nend\n",
     0, 0, false},
    {"an object named Charset is no declaration", "object Charset: TLabel\n  Tag = 128\nend\n", 0, 0, false},
    {"unknown and out-of-range numbers",
     "object F: TForm\n  Font.Charset = 4294967424\n  B.Charset = 2\nend\n", 0, 0, false},
};

TEST(DeclaredCodePage, TextBinaryAndResourceFormsAgree) {
    for (const DeclaredCase& c : DeclaredCases) {
        SCOPED_TRACE(c.Name);
        const fw::Bytes text = BytesOf(c.Form);
        const fw::Bytes binary = fw::ConvertForm(text, fw::FormEncoding::Binary);
        const fw::Bytes resource = fw::ConvertForm(text, fw::FormEncoding::Resource);
        for (const fw::Bytes* form : {&text, &binary, &resource}) {
            const fw::DeclaredCodePage declared = fw::DeclaredCodePageOf(*form);
            EXPECT_EQ(declared.CodePage, c.CodePage);
            EXPECT_EQ(declared.Votes, c.Votes);
            EXPECT_EQ(declared.Conflicting, c.Conflicting);
        }
    }
}

TEST(DeclaredCodePage, DamagedFormsGiveWhatWasReadAndNeverThrow) {
    const std::string form =
        "object F: TForm\n  Font.Charset = HEBREW_CHARSET\n  object A: TLabel\n    Caption = 'abc'\n  "
        "end\nend\n";
    const fw::Bytes text = BytesOf(form);
    fw::Bytes binary = fw::ConvertForm(text, fw::FormEncoding::Binary);
    binary.resize(binary.size() - 8);
    EXPECT_EQ(fw::DeclaredCodePageOf(binary).CodePage, 1255);

    // A string without its closing quote.
    EXPECT_EQ(fw::DeclaredCodePageOf(BytesOf(form.substr(0, form.find("'abc'") + 2))).CodePage, 1255);

    EXPECT_EQ(fw::DeclaredCodePageOf(BytesOf("object F: TForm\n  Font.Charset = 99999999999999999999\nend\n"))
                  .CodePage,
              0);
    EXPECT_EQ(fw::DeclaredCodePageOf({}).CodePage, 0);
    EXPECT_EQ(fw::DeclaredCodePageOf(BytesOf("TPF0")).CodePage, 0);
    EXPECT_EQ(fw::DeclaredCodePageOf(fw::Bytes{0xFF, 0x0A, 0x00}).CodePage, 0);
}

TEST(DeclaredCodePage, CharsetNumbersAndSourceNames) {
    const std::pair<std::int64_t, int> cases[] = {
        {0, 0},      {1, 0},      {2, 0},      {128, 932},  {129, 949},  {130, 0},       {134, 936},
        {136, 950},  {161, 1253}, {162, 1254}, {163, 1258}, {177, 1255}, {178, 1256},    {186, 1257},
        {204, 1251}, {222, 874},  {238, 1250}, {255, 0},    {-128, 0},   {128 + 256, 0},
    };
    for (const auto& [charset, page] : cases)
        EXPECT_EQ(fw::CodePageOfCharset(charset), page) << charset;
    EXPECT_EQ(fw::CodePageSourceName(fw::CodePageSource::Option), "option");
    EXPECT_EQ(fw::CodePageSourceName(fw::CodePageSource::Declared), "declared");
    EXPECT_EQ(fw::CodePageSourceName(fw::CodePageSource::Default), "default");
}

}  // namespace

namespace {

TEST(DeclaredCodePage, FirstByteOutsideCodePage) {
    constexpr std::size_t None = std::string_view::npos;
    const struct {
        int Page;
        std::string_view Text;
        std::size_t Expected;
    } cases[] = {
        {1252, "plain 'ascii'", None},
        {1252, "'caf\xE9'", None},
        {1252, "'a\x81'", 2},               // undefined in 1252
        {1253, "'\xE1\xE2'", None},         // Greek alpha, beta
        {1251, "'\xC0\x98'", 2},            // 98 is undefined in 1251
        {932, "'\x93\xfa\x96\x7b'", None},  // Shift-JIS "Japan", trail byte 7B
        {932, "'\xB1'", None},              // half-width katakana
        {932, "'ab\x93'", 3},               // lead byte cut off by the quote
        {932, "'\x85\x40'", 1},             // an undefined pair
        {936, "'\xD6\xD0\xCE\xC4'", None},  // GBK "Chinese"
        {936, "'\xFF'", 1},                 // FF stands for nothing in 936
        {949, "'\xC7\xD1'", None},
        {950, "'\xA4\xA4'", None},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.Page) + " " + std::string(c.Text));
        EXPECT_EQ(fw::FirstByteOutsideCodePage(c.Text, *fw::CodePage::Find(c.Page)), c.Expected);
    }
}

}  // namespace
