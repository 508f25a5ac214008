// Binary to text and back: what a round trip gives back, which is the input itself
// except for the re-encodings that text cannot tell apart.

#include <gtest/gtest.h>

#include <string>

#include "base/codepage.h"
#include "codec/conversion.h"
#include "codec_test_util.h"

using namespace fwtest;

namespace {

fw::Bytes FormWithP(const fw::Bytes& value) {
    return Bin("'TPF0' s'TForm1' s'Form1' s'P'") + value + Bin("00 00");
}

fw::Bytes RoundTrip(const fw::Bytes& binary, const fw::CodePage& codePage = fw::CodePage::Default()) {
    fw::MemoryStream in(binary);
    fw::MemoryStream text;
    fw::BinaryFormToText(in, text, codePage);
    text.Seek(0);
    fw::MemoryStream out;
    fw::TextToBinaryForm(text, out, codePage);
    return out.Data();
}

}  // namespace

TEST(RoundTrip, ReencodesOnlyWhatTextCannotTellApart) {
    struct Case {
        const char* label;
        fw::Bytes before;
        fw::Bytes after;
    };
    const fw::Bytes ext15 = Bin("05 00 00 00 00 00 00 00 C0 FF 3F");
    const Case cases[] = {
        // Kept as they are.
        {"int16", FormWithP(Bin("03 2C 01")), FormWithP(Bin("03 2C 01"))},
        {"extended", FormWithP(ext15), FormWithP(ext15)},
        {"single", FormWithP(Bin("0F CD CC CC 3D")), FormWithP(Bin("0F CD CC CC 3D"))},
        {"currency", FormWithP(Bin("10 98 3A 00 00 00 00 00 00")),
         FormWithP(Bin("10 98 3A 00 00 00 00 00 00"))},
        {"date", FormWithP(Bin("11 00 00 00 00 D0 E7 E2 40")), FormWithP(Bin("11 00 00 00 00 D0 E7 E2 40"))},
        {"UTF-8 string", FormWithP(Bin("14 05 00 00 00 'caf' C3 A9")),
         FormWithP(Bin("14 05 00 00 00 'caf' C3 A9"))},
        {"wide string", FormWithP(Bin("12 01 00 00 00 E9 00")), FormWithP(Bin("12 01 00 00 00 E9 00"))},
        {"prefix with position", Bin("'TPF0' F3 02 05 s'T' s'A' 00 00"),
         Bin("'TPF0' F3 02 05 s'T' s'A' 00 00")},
        {"set, list, collection, binary",
         FormWithP(Bin("01 0B 01 'a' 00 0E 02 03 01 00 00 0A 02 00 00 00 AB CD 00")),
         FormWithP(Bin("01 0B 01 'a' 00 0E 02 03 01 00 00 0A 02 00 00 00 AB CD 00"))},
        // Integers come back in the smallest tag.
        {"int32 holding 5", FormWithP(Bin("04 05 00 00 00")), FormWithP(Bin("02 05"))},
        {"int64 holding 5", FormWithP(Bin("13 05 00 00 00 00 00 00 00")), FormWithP(Bin("02 05"))},
        {"collection index as int32", FormWithP(Bin("0E 04 03 00 00 00 01 00 00")),
         FormWithP(Bin("0E 02 03 01 00 00"))},
        {"position as int32", Bin("'TPF0' F2 04 05 00 00 00 s'T' s'A' 00 00"),
         Bin("'TPF0' F2 02 05 s'T' s'A' 00 00")},
        // Every unsuffixed float comes back extended.
        {"double", FormWithP(Bin("15 00 00 00 00 00 00 F8 3F")), FormWithP(ext15)},
        // String tags are chosen afresh.
        {"short long string", FormWithP(Bin("0C 03 00 00 00 'abc'")), FormWithP(Bin("06 03 'abc'"))},
        {"empty short string", FormWithP(Bin("06 00")), FormWithP(Bin("12 00 00 00 00"))},
        {"empty long string", FormWithP(Bin("0C 00 00 00 00")), FormWithP(Bin("12 00 00 00 00"))},
        {"empty UTF-8 string", FormWithP(Bin("14 00 00 00 00")), FormWithP(Bin("12 00 00 00 00"))},
        {"ASCII in a wide string", FormWithP(Bin("12 02 00 00 00 61 00 62 00")),
         FormWithP(Bin("06 02 'ab'"))},
        {"8-bit e acute", FormWithP(Bin("06 04 'caf' E9")), FormWithP(Bin("14 05 00 00 00 'caf' C3 A9"))},
        {"8-bit euro sign", FormWithP(Bin("06 01 80")), FormWithP(Bin("12 01 00 00 00 AC 20"))},
        // Flag bit 8 has no text.
        {"flag bit 8", Bin("'TPF0' FA 02 07 s'T' s'A' 00 00"), Bin("'TPF0' F2 02 07 s'T' s'A' 00 00")},
        // Infinity and not-a-number come back as identifiers.
        {"infinity", FormWithP(Bin("05 00 00 00 00 00 00 00 80 FF 7F")), FormWithP(Bin("07 03 'INF'"))},
        {"not a number", FormWithP(Bin("05 00 00 00 00 00 00 00 C0 FF 7F")), FormWithP(Bin("07 03 'NAN'"))},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        fw::Bytes after;
        EXPECT_EQ(MessageOf<fw::Exception>([&] { after = RoundTrip(c.before); }), "<no exception>");
        EXPECT_EQ(Hex(after), Hex(c.after));
    }
}

TEST(RoundTrip, NegativeInfinityDoesNotComeBack) {
    EXPECT_EQ(
        MessageOf<fw::EConvertError>([] { RoundTrip(FormWithP(Bin("05 00 00 00 00 00 00 00 80 FF FF"))); }),
        "'-' is not a valid integer value");
}

// 8-bit strings are bytes of the chosen code page on both sides.
TEST(RoundTrip, UsesTheGivenCodePage) {
    const fw::CodePage* cyrillic = fw::CodePage::Find(1251);
    ASSERT_NE(cyrillic, nullptr);
    // C0 is U+0410 in code page 1251.
    EXPECT_EQ(Hex(RoundTrip(FormWithP(Bin("06 01 C0")), *cyrillic)),
              Hex(FormWithP(Bin("12 01 00 00 00 10 04"))));

    fw::MemoryStream in(FormWithP(Bin("14 02 00 00 00 D0 90")));
    fw::MemoryStream text;
    fw::BinaryFormToText(in, text, *cyrillic);
    EXPECT_EQ(std::string(text.Data().begin(), text.Data().end()),
              "object Form1: TForm1\r\n  P = #1040\r\nend\r\n");

    fw::MemoryStream source(Raw("object Form1: TForm1\r\n  P = 'ab\xC0'\r\nend\r\n"));
    fw::MemoryStream binary;
    fw::TextToBinaryForm(source, binary, *cyrillic);
    EXPECT_EQ(Hex(binary.Data()), Hex(FormWithP(Bin("14 04 00 00 00 61 62 D0 90"))));
}
