// FormReader: which tags each operation takes, the values it returns, how it fails on
// short, damaged and hostile input, and where it leaves the input stream.

#include "codec/formreader.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <functional>
#include <limits>
#include <map>
#include <memory>
#include <string>

#include "codec_test_util.h"

using namespace fwtest;
using fw::FormReader;

namespace {

// One value of each tag, complete with its payload.
struct TagSample {
    std::uint8_t tag;
    fw::Bytes value;
};

const std::vector<TagSample>& Samples() {
    static const std::vector<TagSample> samples = {
        {fw::TagNull, Bin("00")},
        {fw::TagList, Bin("01 02 FB 00")},
        {fw::TagInt8, Bin("02 FB")},
        {fw::TagInt16, Bin("03 FB FF")},
        {fw::TagInt32, Bin("04 FB FF FF FF")},
        {fw::TagExtended, Bin("05 00 00 00 00 00 00 00 C0 FF 3F")},
        {fw::TagShortString, Bin("06 02 'hi'")},
        {fw::TagIdent, Bin("07 02 'hi'")},
        {fw::TagFalse, Bin("08")},
        {fw::TagTrue, Bin("09")},
        {fw::TagBinary, Bin("0A 02 00 00 00 AB CD")},
        {fw::TagSet, Bin("0B 01 'a' 02 'bc' 00")},
        {fw::TagLongString, Bin("0C 02 00 00 00 'hi'")},
        {fw::TagNil, Bin("0D")},
        {fw::TagCollection, Bin("0E 01 s'W' 02 01 00 00")},
        {fw::TagSingle, Bin("0F 00 00 C0 3F")},
        {fw::TagCurrency, Bin("10 98 3A 00 00 00 00 00 00")},
        {fw::TagDate, Bin("11 00 00 00 00 00 00 F8 3F")},
        {fw::TagWideString, Bin("12 02 00 00 00 68 00 69 00")},
        {fw::TagInt64, Bin("13 FB FF FF FF FF FF FF FF")},
        {fw::TagUtf8String, Bin("14 02 00 00 00 'hi'")},
        {fw::TagDouble, Bin("15 00 00 00 00 00 00 F8 3F")},
    };
    return samples;
}

std::string Num(long double v) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.10Lg", v);
    return buf;
}

// An operation of the reader, with its result shown as text, and the results it should
// give for the tags it takes; every other tag must be refused.
struct TakeOperation {
    const char* name;
    std::function<std::string(FormReader&)> take;
    std::map<std::uint8_t, std::string> accepted;
};

std::vector<TakeOperation> TakeOperations() {
    const std::map<std::uint8_t, std::string> integers = {
        {fw::TagInt8, "-5"}, {fw::TagInt16, "-5"}, {fw::TagInt32, "-5"}};
    auto with = [](std::map<std::uint8_t, std::string> m, std::map<std::uint8_t, std::string> more) {
        m.insert(more.begin(), more.end());
        return m;
    };
    auto integers64 = with(integers, {{fw::TagInt64, "-5"}});
    const std::map<std::uint8_t, std::string> strings = {{fw::TagShortString, "hi"},
                                                         {fw::TagLongString, "hi"},
                                                         {fw::TagWideString, "hi"},
                                                         {fw::TagUtf8String, "hi"}};
    return {
        {"TakeInt32", [](FormReader& r) { return std::to_string(r.TakeInt32()); }, integers},
        {"TakeInt64", [](FormReader& r) { return std::to_string(r.TakeInt64()); }, integers64},
        {"TakeExtended", [](FormReader& r) { return Num(r.TakeExtended()); },
         with(integers64, {{fw::TagExtended, "1.5"}, {fw::TagDouble, "1.5"}})},
        {"TakeSingle", [](FormReader& r) { return Num(r.TakeSingle()); },
         with(integers64, {{fw::TagSingle, "1.5"}})},
        // An integer is an amount; the result is scaled by 10000.
        {"TakeCurrency",
         [](FormReader& r) { return std::to_string(r.TakeCurrency()); },
         {{fw::TagInt8, "-50000"},
          {fw::TagInt16, "-50000"},
          {fw::TagInt32, "-50000"},
          {fw::TagInt64, "-50000"},
          {fw::TagCurrency, "15000"}}},
        {"TakeDateTime", [](FormReader& r) { return Num(r.TakeDateTime()); },
         with(integers64, {{fw::TagDate, "1.5"}})},
        {"TakeString8", [](FormReader& r) { return r.TakeString8(); }, strings},
        {"TakeStringW", [](FormReader& r) { return Escaped(r.TakeStringW()); }, strings},
        {"TakeIdentifier",
         [](FormReader& r) { return r.TakeIdentifier(); },
         {{fw::TagIdent, "hi"},
          {fw::TagFalse, "False"},
          {fw::TagTrue, "True"},
          {fw::TagNil, "nil"},
          {fw::TagNull, "Null"}}},
        {"TakeBinary", [](FormReader& r) { return Hex(r.TakeBinary()); }, {{fw::TagBinary, "AB CD"}}},
    };
}

}  // namespace

TEST(FormReader, TakesExactlyTheTagsEachOperationAccepts) {
    for (const TakeOperation& op : TakeOperations()) {
        for (const TagSample& sample : Samples()) {
            SCOPED_TRACE(testing::Message() << op.name << " on tag " << int(sample.tag));
            fw::MemoryStream in(sample.value + Bin("07 03 'end'"));
            FormReader reader(in);
            auto expected = op.accepted.find(sample.tag);
            if (expected != op.accepted.end()) {
                EXPECT_EQ(MessageOf<fw::Exception>([&] { EXPECT_EQ(op.take(reader), expected->second); }),
                          "<no exception>");
                // The whole value was taken, nothing more.
                EXPECT_EQ(reader.Consumed(), static_cast<std::int64_t>(sample.value.size()));
            } else {
                EXPECT_EQ(MessageOf<fw::EReadError>([&] { op.take(reader); }), "Invalid property value");
            }
        }
    }
}

TEST(FormReader, TakeBooleanTakesOnlyTheTagByte) {
    for (const TagSample& sample : Samples()) {
        SCOPED_TRACE(int(sample.tag));
        fw::MemoryStream in(sample.value);
        FormReader reader(in);
        EXPECT_EQ(reader.TakeBoolean(), sample.tag == fw::TagTrue);
        EXPECT_EQ(reader.Consumed(), 1);
    }
}

// Identifiers are judged by the low seven bits of the tag; the other operations compare
// the whole byte, so 128 plus a tag is refused there.
TEST(FormReader, JudgesIdentifierTagsByTheirLowSevenBits) {
    struct Case {
        const char* bytes;
        std::string identifier;
    };
    const Case cases[] = {
        {"87 02 'hi'", "hi"}, {"88", "False"}, {"89", "True"}, {"8D", "nil"}, {"80", "Null"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bytes);
        fw::MemoryStream in(Bin(c.bytes));
        FormReader reader(in);
        EXPECT_EQ(reader.TakeIdentifier(), c.identifier);
    }

    fw::MemoryStream ints(Bin("82 05"));
    FormReader intReader(ints);
    EXPECT_EQ(MessageOf<fw::EReadError>([&] { intReader.TakeInt32(); }), "Invalid property value");

    fw::MemoryStream strings(Bin("86 01 'x'"));
    FormReader stringReader(strings);
    EXPECT_EQ(MessageOf<fw::EReadError>([&] { stringReader.TakeString8(); }), "Invalid property value");
}

TEST(FormReader, ReadsIntegersSignedAndLittleEndian) {
    struct Case {
        const char* bytes;
        std::int64_t value;
    };
    const Case cases[] = {
        {"02 7F", 127},
        {"02 80", -128},
        {"03 FF 7F", 32767},
        {"03 00 80", -32768},
        {"03 2C 01", 300},
        {"04 00 00 00 80", -2147483648LL},
        {"04 78 56 34 12", 0x12345678},
        {"13 FF FF FF FF FF FF FF 7F", std::numeric_limits<std::int64_t>::max()},
        {"13 00 00 00 00 00 00 00 80", std::numeric_limits<std::int64_t>::min()},
        {"13 FF FF FF FF 00 00 00 00", 4294967295LL},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bytes);
        fw::MemoryStream in(Bin(c.bytes));
        FormReader reader(in);
        EXPECT_EQ(reader.TakeInt64(), c.value);
    }
}

TEST(FormReader, TakeInt32RefusesAnInt64Value) {
    fw::MemoryStream in(Bin("13 05 00 00 00 00 00 00 00"));
    FormReader reader(in);
    EXPECT_EQ(MessageOf<fw::EReadError>([&] { reader.TakeInt32(); }), "Invalid property value");
}

TEST(FormReader, ChecksTheSignature) {
    struct Case {
        const char* bytes;
        const char* message;
    };
    const Case cases[] = {
        {"'TPF0'", "<no exception>"},
        {"'TPF0' 06", "<no exception>"},
        {"'TPF1'", "Invalid stream format"},
        {"'tpf0'", "Invalid stream format"},
        {"FF 0A 00 'T'", "Invalid stream format"},
        {"'TPF'", "Stream read error"},
        {"", "Stream read error"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bytes);
        fw::MemoryStream in(Bin(c.bytes));
        FormReader reader(in);
        EXPECT_EQ(MessageOf<fw::EReadError>([&] { reader.CheckSignature(); }), c.message);
    }
}

TEST(FormReader, RequireTagSkipsTheWholeWrongValueBeforeFailing) {
    struct Case {
        const char* bytes;
        std::uint8_t required;
        std::int64_t consumed;
    };
    const Case cases[] = {
        {"06 03 'abc' 07", fw::TagNull, 5},
        {"01 02 05 01 00 00 07", fw::TagNull, 6},
        {"0B 01 'a' 00 07", fw::TagList, 4},
        {"09 07", fw::TagNull, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bytes);
        fw::MemoryStream in(Bin(c.bytes));
        FormReader reader(in);
        EXPECT_EQ(MessageOf<fw::EReadError>([&] { reader.RequireTag(c.required); }),
                  "Invalid property value");
        EXPECT_EQ(reader.Consumed(), c.consumed);
        EXPECT_EQ(reader.PeekTag(), 0x07);
    }

    fw::MemoryStream good(Bin("01 00"));
    FormReader reader(good);
    reader.RequireTag(fw::TagList);
    EXPECT_EQ(reader.Consumed(), 1);
}

TEST(FormReader, TakesAnOptionalPrefix) {
    struct Case {
        const char* bytes;
        int flags;
        std::int32_t position;  // checked only with FlagChildPosition
        std::int64_t consumed;
    };
    const Case cases[] = {
        {"06 'TForm1'", 0, 0, 0},
        // High four bits not all set: a class name length, not a prefix.
        {"EF", 0, 0, 0},
        {"F0", 0, 0, 1},
        {"F1", 1, 0, 1},
        {"F3 02 02", 3, 2, 3},
        {"F2 03 2C 01", 2, 300, 4},
        {"F2 04 70 11 01 00", 2, 70000, 6},
        {"F2 02 FF", 2, -1, 3},
        {"F5", 5, 0, 1},
        // Bit 8 is passed on as found.
        {"F8", 8, 0, 1},
        {"FA 02 07", 10, 7, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bytes);
        fw::MemoryStream in(Bin(c.bytes));
        FormReader reader(in);
        fw::ObjectPrefix prefix = reader.TakePrefix();
        EXPECT_EQ(prefix.Flags, c.flags);
        if (c.flags & fw::FlagChildPosition) EXPECT_EQ(prefix.Position, c.position);
        EXPECT_EQ(reader.Consumed(), c.consumed);
    }

    fw::MemoryStream wide(Bin("F2 13 01 00 00 00 00 00 00 00"));
    FormReader reader(wide);
    EXPECT_EQ(MessageOf<fw::EReadError>([&] { reader.TakePrefix(); }), "Invalid property value");
}

TEST(FormReader, DecodesStringPayloads) {
    struct Case {
        const char* label;
        const char* bytes;
        std::u16string wide;
        std::string eightBit;  // through the default code page
    };
    const Case cases[] = {
        {"UTF-8 e acute", "14 02 00 00 00 C3 A9", u"\u00E9", "\xE9"},
        {"UTF-8 euro", "14 03 00 00 00 E2 82 AC", u"\u20AC", "\x80"},
        // Each half of a surrogate pair comes as its own three-byte sequence.
        {"UTF-8 surrogates", "14 06 00 00 00 ED A0 BD ED B8 80", u"\U0001F600", "??"},
        // A lead byte without its continuation spoils the whole value, not just itself.
        {"UTF-8 C3 alone", "14 01 00 00 00 C3", u"", ""},
        {"UTF-8 a, C3", "14 02 00 00 00 61 C3", u"", ""},
        {"UTF-8 cut three-byte", "14 02 00 00 00 E2 82", u"", ""},
        {"UTF-8 bad continuation", "14 03 00 00 00 C3 41 42", u"", ""},
        // A four-byte sequence is read as a three-byte one and the rest then cut off.
        {"UTF-8 four-byte", "14 04 00 00 00 F0 9F 98 80", u"", ""},
        {"empty UTF-8", "14 00 00 00 00", u"", ""},
        {"wide e acute", "12 01 00 00 00 E9 00", u"\u00E9", "\xE9"},
        {"wide euro", "12 01 00 00 00 AC 20", u"\u20AC", "\x80"},
        {"short, code page byte", "06 02 80 E9", u"\u20AC\u00E9", "\x80\xE9"},
        {"long, code page byte", "0C 01 00 00 00 E9", u"\u00E9", "\xE9"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        {
            fw::MemoryStream in(Bin(c.bytes));
            FormReader reader(in);
            EXPECT_EQ(Escaped(reader.TakeStringW()), Escaped(c.wide));
            EXPECT_EQ(reader.Consumed(), static_cast<std::int64_t>(Bin(c.bytes).size()));
        }
        {
            fw::MemoryStream in(Bin(c.bytes));
            FormReader reader(in);
            EXPECT_EQ(Escaped(reader.TakeString8()), Escaped(c.eightBit));
        }
    }
}

TEST(FormReader, SkipOneValueSkipsWholeValues) {
    struct Case {
        const char* label;
        fw::Bytes value;
    };
    const Case cases[] = {
        {"nested lists", Bin("01 01 02 05 00 06 01 'x' 01 00 00")},
        {"set", Bin("0B 01 'a' 02 'bc' 00")},
        {"empty set", Bin("0B 00")},
        {"collection with an indexed item and a nested list",
         Bin("0E 01 s'A' 01 02 01 00 00 03 2C 01 01 s'B' 0B 00 s'C' 0E 00 00 00")},
        {"empty collection", Bin("0E 00")},
        {"binary", Bin("0A 03 00 00 00 00 00 00")},
        {"binary with a negative count has no data", Bin("0A FF FF FF FF")},
        {"long string", Bin("0C 03 00 00 00 'abc'")},
        {"wide string counts code units", Bin("12 02 00 00 00 61 00 62 00")},
        {"UTF-8 string", Bin("14 02 00 00 00 C3 A9")},
        {"extended", Bin("05 00 00 00 00 00 00 00 80 FF 3F")},
        {"int64", Bin("13 00 00 00 00 00 00 00 00")},
        {"identifier", Bin("07 03 'abc'")},
        {"null", Bin("00")},
        {"true", Bin("09")},
        // Bytes that are no tag are skipped alone.
        {"byte 22", Bin("16")},
        {"byte 255", Bin("FF")},
        // 128 plus a tag acts as the tag.
        {"byte 134 as a short string", Bin("86 02 'hi'")},
        {"byte 129 as a list", Bin("81 02 05 00")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        fw::MemoryStream in(c.value + Bin("07 03 'end'"));
        FormReader reader(in);
        reader.SkipOneValue();
        EXPECT_EQ(reader.Consumed(), static_cast<std::int64_t>(c.value.size()));
        EXPECT_EQ(reader.TakeIdentifier(), "end");
    }
}

// Every cut inside a value must end in "Stream read error", both for the operation
// that takes the value and for SkipOneValue.
TEST(FormReader, RejectsTruncatedValues) {
    auto operations = TakeOperations();
    for (const TagSample& sample : Samples()) {
        for (std::size_t cut = 1; cut < sample.value.size(); ++cut) {
            fw::Bytes truncated(sample.value.begin(),
                                sample.value.begin() + static_cast<std::ptrdiff_t>(cut));
            SCOPED_TRACE(Hex(truncated));
            {
                fw::MemoryStream in(truncated);
                FormReader reader(in);
                EXPECT_EQ(MessageOf<fw::EReadError>([&] { reader.SkipOneValue(); }), "Stream read error");
            }
            for (const TakeOperation& op : operations) {
                if (!op.accepted.count(sample.tag)) continue;
                SCOPED_TRACE(op.name);
                fw::MemoryStream in(truncated);
                FormReader reader(in);
                EXPECT_EQ(MessageOf<fw::EReadError>([&] { op.take(reader); }), "Stream read error");
            }
        }
    }
}

TEST(FormReader, RejectsTruncatedPrimitives) {
    struct Case {
        const char* label;
        const char* bytes;
        std::function<void(FormReader&)> take;
    };
    const Case cases[] = {
        {"tag at the end", "", [](FormReader& r) { r.TakeTag(); }},
        {"name", "05 'abc'", [](FormReader& r) { r.TakeName(); }},
        {"name length", "", [](FormReader& r) { r.TakeName(); }},
        {"prefix without position", "F2", [](FormReader& r) { r.TakePrefix(); }},
        {"prefix with short position", "F2 03 01", [](FormReader& r) { r.TakePrefix(); }},
        {"raw bytes", "01 02 03",
         [](FormReader& r) {
             std::string out;
             r.TakeBytes(5, out);
         }},
        {"count", "01 02", [](FormReader& r) { r.TakeCount(); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        fw::MemoryStream in(Bin(c.bytes));
        FormReader reader(in);
        EXPECT_EQ(MessageOf<fw::EReadError>([&] { c.take(reader); }), "Stream read error");
    }
}

// A length field far beyond the data must fail on the length check, before anything
// is allocated or read for it; negative lengths must fail too.
TEST(FormReader, RejectsLengthsBeyondTheInput) {
    struct Case {
        const char* label;
        const char* bytes;
        std::function<void(FormReader&)> take;
        const char* message;  // nullptr: any read error
    };
    auto string8 = [](FormReader& r) { r.TakeString8(); };
    auto stringW = [](FormReader& r) { r.TakeStringW(); };
    auto binary = [](FormReader& r) { r.TakeBinary(); };
    auto skip = [](FormReader& r) { r.SkipOneValue(); };
    const Case cases[] = {
        {"long string 0x7FFFFFFF", "0C FF FF FF 7F", string8, "Stream read error"},
        {"long string 0x7FFFFFFF, skipped", "0C FF FF FF 7F", skip, "Stream read error"},
        {"long string just one byte too long", "0C 65 00 00 00", string8, "Stream read error"},
        {"wide string 0x7FFFFFFF", "12 FF FF FF 7F", stringW, "Stream read error"},
        {"wide string 0x7FFFFFFF, skipped", "12 FF FF FF 7F", skip, "Stream read error"},
        // Twice this count no longer fits in 32 bits.
        {"wide string 0x40000000", "12 00 00 00 40", stringW, "Stream read error"},
        {"wide string 0x40000000, skipped", "12 00 00 00 40", skip, "Stream read error"},
        {"wide string of -2147483647", "12 01 00 00 80", stringW, nullptr},
        {"UTF-8 string 0x7FFFFFFF", "14 FF FF FF 7F", stringW, "Stream read error"},
        {"UTF-8 string 0x7FFFFFFF, as 8-bit", "14 FF FF FF 7F", string8, "Stream read error"},
        {"binary 0x7FFFFFFF", "0A FF FF FF 7F", binary, "Stream read error"},
        {"binary 0x7FFFFFFF, skipped", "0A FF FF FF 7F", skip, "Stream read error"},
        {"long string of -1", "0C FF FF FF FF", string8, nullptr},
        {"long string of -2147483648", "0C 00 00 00 80", string8, nullptr},
        {"long string of -1, skipped", "0C FF FF FF FF", skip, nullptr},
        {"wide string of -1", "12 FF FF FF FF", stringW, nullptr},
        {"wide string of -1, skipped", "12 FF FF FF FF", skip, nullptr},
        {"UTF-8 string of -2", "14 FE FF FF FF", stringW, nullptr},
        {"UTF-8 string of -2, skipped", "14 FE FF FF FF", skip, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        fw::MemoryStream in(Bin(c.bytes) + Repeat(0x41, 95));
        FormReader reader(in);
        std::string message = MessageOf<fw::EReadError>([&] { c.take(reader); });
        if (c.message) {
            EXPECT_EQ(message, c.message);
        } else {
            EXPECT_EQ(message.find('<'), std::string::npos) << message;
        }
    }
}

TEST(FormReader, TakeBinaryReadsNothingForCountsBelowOne) {
    for (const char* bytes : {"0A 00 00 00 00 07", "0A FF FF FF FF 07", "0A 00 00 00 80 07"}) {
        SCOPED_TRACE(bytes);
        fw::MemoryStream in(Bin(bytes));
        FormReader reader(in);
        EXPECT_TRUE(reader.TakeBinary().empty());
        EXPECT_EQ(reader.Consumed(), 5);
    }
}

// A crafted value nested far deeper than any real form must end in an error, not in
// a stack overflow; moderate nesting must still be read.
TEST(FormReader, SkipOneValueBoundsNesting) {
    const std::size_t deep = 100000;
    fw::Bytes lists = Repeat(fw::TagList, deep) + Repeat(fw::TagNull, deep);
    fw::Bytes collections;
    const fw::Bytes open = Bin("0E 01 s'P'"), close = Bin("00 00");
    for (std::size_t i = 0; i < deep; ++i)
        Append(collections, open);
    Append(collections, Bin("0E 00"));
    for (std::size_t i = 0; i < deep; ++i)
        Append(collections, close);

    for (const fw::Bytes* value : {&lists, &collections}) {
        fw::MemoryStream in(*value);
        FormReader reader(in);
        EXPECT_THROW(reader.SkipOneValue(), fw::EReadError);
    }

    fw::Bytes moderate = Repeat(fw::TagList, 100) + Repeat(fw::TagNull, 100) + Bin("09");
    fw::MemoryStream in(moderate);
    FormReader reader(in);
    reader.SkipOneValue();
    EXPECT_TRUE(reader.TakeBoolean());
}

// The reader fetches input in blocks; values that straddle block boundaries must read
// the same from memory and from a stream that only offers block reads, and releasing
// the reader must leave the stream right after the last byte taken.
TEST(FormReader, GivesBackWhatItDidNotConsume) {
    fw::Bytes longText(6000, 0);
    for (std::size_t i = 0; i < longText.size(); ++i)
        longText[i] = static_cast<std::uint8_t>('a' + i % 26);

    fw::Bytes data = Bin("'junk'");
    for (int i = 0; i < 1000; ++i)
        Append(data, Bin("06 05 'hello'"));
    data = data + Bin("0C") + Le32(6000) + longText + Bin("02 07");
    const std::int64_t valuesEnd = static_cast<std::int64_t>(data.size());
    data = data + Repeat(0x55, 5000);

    auto check = [&](fw::Stream& in) {
        in.Seek(4);
        {
            FormReader reader(in);
            for (int i = 0; i < 1000; ++i)
                ASSERT_EQ(reader.TakeString8(), "hello") << i;
            EXPECT_EQ(reader.TakeString8(), std::string(longText.begin(), longText.end()));
            EXPECT_EQ(reader.TakeInt32(), 7);
            EXPECT_EQ(reader.Consumed(), valuesEnd - 4);
        }
        EXPECT_EQ(in.Position(), valuesEnd);

        // A reader that takes only a little also gives back the rest of its block.
        in.Seek(4);
        {
            FormReader reader(in);
            EXPECT_EQ(reader.TakeString8(), "hello");
        }
        EXPECT_EQ(in.Position(), 11);
    };
    {
        SCOPED_TRACE("memory");
        fw::MemoryStream in(data);
        check(in);
    }
    {
        SCOPED_TRACE("block reads");
        BlockOnlyStream in(data);
        check(in);
    }
}
