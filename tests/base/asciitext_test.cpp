// ASCII case folding as names compare: only 'a'..'z' and 'A'..'Z' fold; the bytes of
// UTF-8 and of the 8-bit code pages, and the punctuation around the letters, stay.

#include "base/asciitext.h"

#include <gtest/gtest.h>

#include <string_view>
#include <unordered_set>

namespace {

TEST(AsciiText, FoldsOnlyAsciiLetters) {
    struct Case {
        std::string_view Text, Upper, Lower;
    };
    const Case cases[] = {
        {"TForm1", "TFORM1", "tform1"},
        {"a_z@[`{", "A_Z@[`{", "a_z@[`{"},  // the neighbours of the letter ranges stay
        {"\xC3\xA4\xC3\x84", "\xC3\xA4\xC3\x84", "\xC3\xA4\xC3\x84"},  // UTF-8 a and A umlaut
        {"\xE4\xC4\xFF", "\xE4\xC4\xFF", "\xE4\xC4\xFF"},              // 8-bit letters
        {"", "", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(fw::AsciiUpper(c.Text), c.Upper) << c.Text;
        EXPECT_EQ(fw::AsciiLower(c.Text), c.Lower) << c.Text;
    }
    EXPECT_EQ(fw::AsciiUpper(std::uint8_t{'t'}), std::uint8_t{'T'});
    EXPECT_EQ(fw::AsciiLower(std::uint8_t{0xC4}), std::uint8_t{0xC4});
}

TEST(AsciiText, ComparesIgnoringCase) {
    struct Case {
        std::string_view A, B;
        bool Equal;
    };
    const Case cases[] = {
        {"TButton", "tbutton", true},
        {"CODE", "code", true},
        {"Font.Name", "FONT.NAME", true},
        {"\xE4", "\xC4", false},
        {"TButton", "TButton1", false},
        {"", "", true},
        {"@", "`", false},  // 0x40 and 0x60 differ by the case bit but are no letters
    };
    for (const Case& c : cases) {
        EXPECT_EQ(fw::EqualsIgnoringCase(c.A, c.B), c.Equal) << c.A << " / " << c.B;
        if (c.Equal) EXPECT_EQ(fw::HashIgnoringCase(c.A), fw::HashIgnoringCase(c.B)) << c.A;
        EXPECT_FALSE(fw::LessIgnoringCase(c.A, c.B) && fw::LessIgnoringCase(c.B, c.A));
    }
    EXPECT_TRUE(fw::StartsWithIgnoringCase("clWindowText", "CLWINDOW"));
    EXPECT_FALSE(fw::StartsWithIgnoringCase("cl", "clWindow"));
}

TEST(AsciiText, OrdersByUpperCasedBytes) {
    // '_' (0x5F) lies between the upper and the lower letters: folded to upper case it
    // sorts after every letter, whatever case the letters were written in.
    EXPECT_TRUE(fw::LessIgnoringCase("Align", "align_"));
    EXPECT_TRUE(fw::LessIgnoringCase("zeta", "_x"));
    EXPECT_TRUE(fw::LessIgnoringCase("ZETA", "_x"));
    EXPECT_FALSE(fw::LessIgnoringCase("Color", "COLOR"));

    const std::unordered_set<std::string, fw::IgnoringCaseHash, fw::IgnoringCaseEqual> names{"TForm",
                                                                                             "TButton"};
    EXPECT_TRUE(names.contains(std::string_view("tform")));
    EXPECT_FALSE(names.contains(std::string_view("TLabel")));
}

}  // namespace
