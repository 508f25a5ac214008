// The double-byte code pages: their characters, how undefined bytes are kept, and
// that any byte sequence survives decoding and encoding.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <random>
#include <string>

#include "base/codepage.h"

namespace {

constexpr int DoubleBytePages[] = {932, 936, 949, 950};

const fw::CodePage& Page(int number) {
    const fw::CodePage* page = fw::CodePage::Find(number);
    EXPECT_NE(page, nullptr) << number;
    return page != nullptr ? *page : fw::CodePage::Default();
}

std::string Hex(std::string_view bytes) {
    std::string out;
    char two[4];
    for (char c : bytes) {
        std::snprintf(two, sizeof two, "%02X ", static_cast<unsigned>(static_cast<unsigned char>(c)));
        out += two;
    }
    return out;
}

TEST(DoubleByteCodePage, IsSupportedBesideTheSingleBytePages) {
    const std::vector<int> supported = fw::CodePage::Supported();
    for (int number : DoubleBytePages) {
        EXPECT_NE(std::find(supported.begin(), supported.end(), number), supported.end()) << number;
        EXPECT_TRUE(Page(number).IsDoubleByte());
    }
    EXPECT_FALSE(fw::CodePage::Default().IsDoubleByte());
    EXPECT_FALSE(fw::CodePage::Default().IsLeadByte(0x81));
}

// Known characters at the edges of the lead and trail ranges, trail bytes that are
// ASCII punctuation or letters, single bytes, and what undefined bytes turn into.
TEST(DoubleByteCodePage, DecodesGoldenSequences) {
    constexpr char16_t P = fw::CodePage::PrivateByteBase;
    struct Case {
        int Page;
        std::string Bytes;
        std::u16string Text;
    };
    const Case cases[] = {
        {932, "\x81\x40", u"\u3000"},  // first lead, first trail
        {932, "\x82\xA0", u"\u3042"},  // hiragana a
        {932, "\x83\x5C", u"\u30BD"},  // trail byte is a backslash
        {932, "\x95\x5C", u"\u8868"},
        {932, "\x83\x7B", u"\u30DC"},        // trail byte is "{"
        {932, "\xFC\x4B", u"\u9ED1"},        // last lead
        {932, "\xA1\xDF", u"\uFF61\uFF9F"},  // half-width katakana stand alone
        {932, "\x80\xA0\xFD\xFF", u"\u0080\uF8F0\uF8F1\uF8F3"},
        {932, "\x85\x40", std::u16string{char16_t(P + 0x85), u'@'}},       // undefined row
        {932, "\xED\x40", std::u16string{char16_t(P + 0xED), u'@'}},       // duplicate of FA5C
        {932, "\xFA\x5C\x87\x54\x81\xCA", u"\u7E8A\u2160\uFFE2"},          // the pairs Windows writes
        {932, "\xFA\x4A", std::u16string{char16_t(P + 0xFA), u'J'}},       // duplicate of 8754
        {932, "\x82\xFD", std::u16string{char16_t(P + 0x82), u'\uF8F1'}},  // FD is no trail
        {932, "A\x82", std::u16string{u'A', char16_t(P + 0x82)}},          // lead byte at the end
        {932, "\x82'", std::u16string{char16_t(P + 0x82), u'\''}},         // a quote is never a trail
        {936, "\x81\x40", u"\u4E02"},
        {936, "\x81\x7E\x81\x80", u"\u4E8A\u4E90"},  // around the gap at 7F
        {936, "\xA1\xA1\xB0\xA1", u"\u3000\u554A"},
        {936, "\xFE\x4F", u"\uFA29"},
        {936, "\xFE\xA0", std::u16string{char16_t(P + 0xFE), char16_t(P + 0xA0)}},
        {936, "\x80\xFF", std::u16string{char16_t(P + 0x80), char16_t(P + 0xFF)}},
        {936, "\x81\x7F", std::u16string{char16_t(P + 0x81), u'\x7F'}},  // 7F is no trail
        {949, "\x81\x41", u"\uAC02"},
        {949, "\xB0\xA1\xC6\x52", u"\uAC00\uD7A3"},
        {949, "\xC8\xFE", u"\uD79D"},
        {949, "\x81\x40", std::u16string{char16_t(P + 0x81), u'@'}},  // 40 is no trail here
        {949, "\xFE\xFE", std::u16string{char16_t(P + 0xFE), char16_t(P + 0xFE)}},
        {950, "\xA1\x40\xA4\x40", u"\u3000\u4E00"},
        {950, "\xA4\x5C", u"\u4E48"},  // trail byte is a backslash
        {950, "\xF9\xFE", u"\u2593"},
        {950, "\x81\x40", std::u16string{char16_t(P + 0x81), u'@'}},                // lead without any pair
        {950, "\xA4\x80", std::u16string{char16_t(P + 0xA4), char16_t(P + 0x80)}},  // 80 is no trail
    };
    for (const Case& c : cases) {
        const fw::CodePage& page = Page(c.Page);
        EXPECT_EQ(page.Decode(c.Bytes), c.Text) << c.Page << ": " << Hex(c.Bytes);
        std::size_t missing = 0;
        EXPECT_EQ(page.Encode(c.Text, &missing), c.Bytes) << c.Page << ": " << Hex(c.Bytes);
        EXPECT_EQ(missing, std::u16string::npos);
    }
}

// Every lead byte with every following byte, alone, at the end and before another
// lead byte, decodes to text that encodes to the same bytes.
TEST(DoubleByteCodePage, EveryPairSurvivesDecodingAndEncoding) {
    for (int number : DoubleBytePages) {
        const fw::CodePage& page = Page(number);
        int failures = 0;
        for (int lead = 0x80; lead < 0x100 && failures < 5; ++lead) {
            for (int trail = 0; trail < 0x100; ++trail) {
                const std::string bytes{static_cast<char>(lead), static_cast<char>(trail),
                                        static_cast<char>(lead)};
                for (std::size_t n = 1; n <= bytes.size(); ++n) {
                    const std::string_view part(bytes.data(), n);
                    if (page.Encode(page.Decode(part)) != part) {
                        ADD_FAILURE() << number << ": " << Hex(part);
                        ++failures;
                    }
                }
            }
        }
    }
}

TEST(DoubleByteCodePage, RandomBytesSurviveDecodingAndEncoding) {
    std::mt19937 random(18);
    for (int number : DoubleBytePages) {
        const fw::CodePage& page = Page(number);
        for (int round = 0; round < 200; ++round) {
            std::string bytes(1 + random() % 64, '\0');
            for (char& b : bytes)
                b = static_cast<char>(random() % 3 == 0 ? random() % 0x80 : 0x80 + random() % 0x80);
            ASSERT_EQ(page.Encode(page.Decode(bytes)), bytes) << number << ": " << Hex(bytes);
        }
    }
}

// Characters a page lacks become "?" and the first of them is reported, so callers
// can refuse to write them; characters of two bytes are not single bytes.
TEST(DoubleByteCodePage, ReportsCharactersItLacks) {
    struct Case {
        int Page;
        std::u16string Text;
        std::string Bytes;
        std::size_t Missing;
    };
    const Case cases[] = {
        {932, u"a\u00E9\u20AC", "a??", 1},
        {932, u"\u00A7\u3042", "\x81\x98\x82\xA0", std::u16string::npos},
        {936, u"\u00E9\u20AC", "\xA8\xA6?", 1},
        {949, u"\u20AC\u00A5", "\xA2\xE6?", 1},
        {950, u"\u00A5\u4E00", "?\xA4\x40", 0},  // a one-way fallback is no mapping
        {1252, u"\u4E00x", "?x", 0},
    };
    for (const Case& c : cases) {
        const fw::CodePage& page = Page(c.Page);
        std::size_t missing = 0;
        EXPECT_EQ(page.Encode(c.Text, &missing), c.Bytes) << c.Page;
        EXPECT_EQ(missing, c.Missing) << c.Page;
    }
    const fw::CodePage& japanese = Page(932);
    EXPECT_EQ(japanese.ToCode(u'\u3042'), 0x82A0);
    EXPECT_EQ(japanese.ToByte(u'\u3042'), -1);
    EXPECT_EQ(japanese.ToByte(u'\uFF61'), 0xA1);
    EXPECT_EQ(japanese.ToByte(fw::CodePage::PrivateByteBase + 0x82), 0x82);
    EXPECT_EQ(japanese.ToUnit(0x82), fw::CodePage::PrivateByteBase + 0x82);
    // The single-byte pages keep the private units as characters they lack.
    EXPECT_EQ(fw::CodePage::Default().ToCode(fw::CodePage::PrivateByteBase + 0x82), -1);
}

TEST(DoubleByteCodePage, CharLengthPairsALeadWithItsTrail) {
    const fw::CodePage& japanese = Page(932);
    EXPECT_EQ(japanese.CharLength("\x83\x5C", 0), 2u);
    EXPECT_EQ(japanese.CharLength("\x83\x5C", 1), 1u);
    EXPECT_EQ(japanese.CharLength("\x83", 0), 1u);      // at the end
    EXPECT_EQ(japanese.CharLength("\x83'", 0), 1u);     // before a quote
    EXPECT_EQ(japanese.CharLength("\xA1\x5C", 0), 1u);  // katakana is no lead
    EXPECT_EQ(fw::CodePage::Default().CharLength("\x83\x5C", 0), 1u);
}

}  // namespace
