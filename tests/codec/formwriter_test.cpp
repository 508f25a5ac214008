// FormWriter: the bytes each primitive writes, the tag it chooses for integers and
// strings, and the buffering of large output.

#include "codec/formwriter.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <limits>
#include <string>

#include "codec_test_util.h"

using namespace fwtest;
using fw::FormWriter;

namespace {

// Runs the writes on a fresh writer over a memory stream and returns what reached the
// stream once the writer was released.
fw::Bytes Written(const std::function<void(FormWriter&)>& writes) {
    fw::MemoryStream out;
    {
        FormWriter writer(out);
        writes(writer);
    }
    return out.Data();
}

}  // namespace

TEST(FormWriter, PicksTheSmallestIntegerTag) {
    struct Case {
        std::int64_t value;
        const char* bytes;
    };
    const Case cases[] = {
        {0, "02 00"},
        {127, "02 7F"},
        {-128, "02 80"},
        {128, "03 80 00"},
        {-129, "03 7F FF"},
        {32767, "03 FF 7F"},
        {-32768, "03 00 80"},
        {32768, "04 00 80 00 00"},
        {-32769, "04 FF 7F FF FF"},
        {2147483647, "04 FF FF FF 7F"},
        {-2147483648LL, "04 00 00 00 80"},
        {2147483648LL, "13 00 00 00 80 00 00 00 00"},
        {-2147483649LL, "13 FF FF FF 7F FF FF FF FF"},
        {4294967295LL, "13 FF FF FF FF 00 00 00 00"},
        {std::numeric_limits<std::int64_t>::max(), "13 FF FF FF FF FF FF FF 7F"},
        {std::numeric_limits<std::int64_t>::min(), "13 00 00 00 00 00 00 00 80"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(Hex(Written([&](FormWriter& w) { w.PutInt64(c.value); })), Hex(Bin(c.bytes)));
        if (c.value >= std::numeric_limits<std::int32_t>::min() &&
            c.value <= std::numeric_limits<std::int32_t>::max()) {
            auto v32 = static_cast<std::int32_t>(c.value);
            EXPECT_EQ(Hex(Written([&](FormWriter& w) { w.PutInt32(v32); })), Hex(Bin(c.bytes)));
        }
    }
}

TEST(FormWriter, PicksTheStringTagByContent) {
    struct Case {
        const char* label;
        std::u16string text;
        const char* bytes;
    };
    const Case cases[] = {
        {"ASCII", u"abc", "06 03 61 62 63"},
        {"control characters are still ASCII", u"\r\n\x7F", "06 03 0D 0A 7F"},
        // The empty text is never an empty short string.
        {"empty", u"", "12 00 00 00 00"},
        // Its UTF-8 form has 2 bytes, not fewer than twice one code unit.
        {"e acute alone", u"\u00E9", "12 01 00 00 00 E9 00"},
        {"caf + e acute", u"caf\u00E9", "14 05 00 00 00 63 61 66 C3 A9"},
        {"a + e acute", u"a\u00E9", "14 03 00 00 00 61 C3 A9"},
        {"euro alone", u"\u20AC", "12 01 00 00 00 AC 20"},
        // UTF-8 of 4 bytes against 2 code units: not fewer, so wide.
        {"a + euro", u"a\u20AC", "12 02 00 00 00 61 00 AC 20"},
        {"ab + euro", u"ab\u20AC", "14 05 00 00 00 61 62 E2 82 AC"},
        {"U+0080", u"\u0080", "12 01 00 00 00 80 00"},
        // Each half of a surrogate pair is encoded on its own as three bytes.
        {"emoji alone", u"\U0001F600", "12 02 00 00 00 3D D8 00 DE"},
        {"abc + emoji", u"abc\U0001F600", "14 09 00 00 00 61 62 63 ED A0 BD ED B8 80"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(Hex(Written([&](FormWriter& w) { w.PutString(c.text); })), Hex(Bin(c.bytes)));
    }
}

TEST(FormWriter, SwitchesToLongStringAbove255Bytes) {
    std::u16string text255(255, u'x');
    EXPECT_EQ(Hex(Written([&](FormWriter& w) { w.PutString(text255); })),
              Hex(Bin("06 FF") + Repeat('x', 255)));

    std::u16string text256(256, u'x');
    EXPECT_EQ(Hex(Written([&](FormWriter& w) { w.PutString(text256); })),
              Hex(Bin("0C 00 01 00 00") + Repeat('x', 256)));
}

TEST(FormWriter, WritesReservedIdentifiersAsBareTags) {
    struct Case {
        const char* identifier;
        const char* bytes;
    };
    const Case cases[] = {
        {"False", "08"},
        {"FALSE", "08"},
        {"false", "08"},
        {"True", "09"},
        {"TRUE", "09"},
        {"tRuE", "09"},
        {"nil", "0D"},
        {"NIL", "0D"},
        {"Nil", "0D"},
        {"Null", "00"},
        {"null", "00"},
        {"NULL", "00"},
        {"alClient", "07 08 'alClient'"},
        {"Nil2", "07 04 'Nil2'"},
        {"Truex", "07 05 'Truex'"},
        {"Form1.Button1", "07 0D 'Form1.Button1'"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.identifier);
        EXPECT_EQ(Hex(Written([&](FormWriter& w) { w.PutIdentifier(c.identifier); })), Hex(Bin(c.bytes)));
    }
}

TEST(FormWriter, CutsNamesTo255Bytes) {
    std::string name300;
    for (int i = 0; i < 300; ++i)
        name300 += static_cast<char>('a' + i % 26);
    fw::Bytes first255(name300.begin(), name300.begin() + 255);

    EXPECT_EQ(Hex(Written([&](FormWriter& w) { w.PutName(name300); })), Hex(Bin("FF") + first255));
    EXPECT_EQ(Hex(Written([&](FormWriter& w) { w.PutIdentifier(name300); })), Hex(Bin("07 FF") + first255));
    EXPECT_EQ(Hex(Written([](FormWriter& w) { w.PutName(""); })), "00");
}

TEST(FormWriter, WritesAPrefixOnlyForFlags) {
    struct Case {
        std::uint8_t flags;
        std::int32_t position;
        const char* bytes;
    };
    const Case cases[] = {
        {0, 0, ""},
        {0, 7, ""},
        {fw::FlagInherited, 0, "F1"},
        {fw::FlagChildPosition, 3, "F2 02 03"},
        {fw::FlagInherited | fw::FlagChildPosition, 2, "F3 02 02"},
        {fw::FlagChildPosition, 300, "F2 03 2C 01"},
        {fw::FlagChildPosition, 70000, "F2 04 70 11 01 00"},
        {fw::FlagInline, 0, "F4"},
        // The position is written only together with its flag.
        {fw::FlagInline | fw::FlagInherited, 9, "F5"},
        {fw::FlagInline | fw::FlagChildPosition, 0, "F6 02 00"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "flags " << int(c.flags) << " position " << c.position);
        EXPECT_EQ(Hex(Written([&](FormWriter& w) { w.PutPrefix(c.flags, c.position); })), Hex(Bin(c.bytes)));
    }
}

TEST(FormWriter, WritesFixedPayloadsLittleEndian) {
    struct Case {
        const char* label;
        std::function<void(FormWriter&)> write;
        const char* bytes;
    };
    const unsigned char three[] = {0x0A, 0x0B, 0x0C};
    const Case cases[] = {
        {"signature", [](FormWriter& w) { w.PutSignature(); }, "54 50 46 30"},
        {"tag", [](FormWriter& w) { w.PutTag(fw::TagList); }, "01"},
        {"true", [](FormWriter& w) { w.PutBoolean(true); }, "09"},
        {"false", [](FormWriter& w) { w.PutBoolean(false); }, "08"},
        {"extended 1.5", [](FormWriter& w) { w.PutExtended(1.5L); }, "05 00 00 00 00 00 00 00 C0 FF 3F"},
        {"extended -2", [](FormWriter& w) { w.PutExtended(-2.0L); }, "05 00 00 00 00 00 00 00 80 00 C0"},
        {"single 1.5", [](FormWriter& w) { w.PutSingle(1.5f); }, "0F 00 00 C0 3F"},
        {"currency 15000", [](FormWriter& w) { w.PutCurrency(15000); }, "10 98 3A 00 00 00 00 00 00"},
        {"currency -1", [](FormWriter& w) { w.PutCurrency(-1); }, "10 FF FF FF FF FF FF FF FF"},
        {"date 1.5", [](FormWriter& w) { w.PutDateTime(1.5); }, "11 00 00 00 00 00 00 F8 3F"},
        {"binary", [&](FormWriter& w) { w.PutBinary(three, 3); }, "0A 03 00 00 00 0A 0B 0C"},
        {"empty binary", [&](FormWriter& w) { w.PutBinary(three, 0); }, "0A 00 00 00 00"},
        {"raw bytes", [&](FormWriter& w) { w.PutBytes(three, 3); }, "0A 0B 0C"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(Hex(Written(c.write)), Hex(Bin(c.bytes)));
    }
}

// Output larger than the writer's buffer, in pieces that straddle its boundaries, must
// arrive whole and in order.
TEST(FormWriter, DeliversOutputLargerThanItsBuffer) {
    fw::Bytes blob(10000);
    for (std::size_t i = 0; i < blob.size(); ++i)
        blob[i] = static_cast<std::uint8_t>(i * 7 + 3);

    fw::Bytes expected;
    fw::Bytes written = Written([&](FormWriter& w) {
        for (int i = 0; i < 1500; ++i)
            w.PutInt32(i);  // 2 or 3 bytes each
        w.PutBinary(blob.data(), blob.size());
        w.PutString(std::u16string(3000, u'q'));
    });
    for (int i = 0; i < 1500; ++i) {
        Append(expected, i < 128 ? Bin("02") + fw::Bytes{static_cast<std::uint8_t>(i)}
                                 : Bin("03") + fw::Bytes{static_cast<std::uint8_t>(i),
                                                         static_cast<std::uint8_t>(i >> 8)});
    }
    expected = expected + Bin("0A") + Le32(10000) + blob + Bin("0C") + Le32(3000) + Repeat('q', 3000);
    ASSERT_EQ(written.size(), expected.size());
    EXPECT_TRUE(written == expected);
}

TEST(FormWriter, FlushMakesOutputVisibleBeforeRelease) {
    fw::MemoryStream out;
    FormWriter writer(out);
    writer.PutSignature();
    writer.PutInt32(5);
    writer.Flush();
    EXPECT_EQ(Hex(out.Data()), Hex(Bin("'TPF0' 02 05")));
}
