// The checks on a stream's first bytes: skipping the resource header, and telling the
// encodings apart.

#include "codec/formformat.h"

#include <gtest/gtest.h>

#include "codec_test_util.h"

using namespace fwtest;

TEST(SkipResourceHeader, StopsRightAfterTheHeader) {
    struct Case {
        const char* label;
        fw::Bytes bytes;
        std::int64_t start;
        std::int64_t end;
    };
    const Case cases[] = {
        {"six-byte name", Bin("FF 0A 00 'TFORM1' 00 30 10 13 00 00 00 'TPF0'"), 0, 16},
        {"after other bytes", Bin("'xyz' FF 0A 00 'TFORM1' 00 30 10 13 00 00 00 'TPF0'"), 3, 19},
        // Memory flags and size are not checked.
        {"odd flags and size", Bin("FF 0A 00 'AB' 00 00 00 FF FF FF FF 'TPF0'"), 0, 12},
        {"empty name", Bin("FF 0A 00 00 30 10 04 00 00 00 'TPF0'"), 0, 10},
        // The name is looked for in the first 79 bytes only: at most 76 bytes of it.
        {"unterminated long name", Bin("FF 0A 00") + Repeat('A', 120) + Repeat(0, 20), 0, 86},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        fw::MemoryStream in(c.bytes);
        in.Seek(c.start);
        fw::SkipResourceHeader(in);
        EXPECT_EQ(in.Position(), c.end);
    }
}

TEST(SkipResourceHeader, RejectsOtherHeaders) {
    for (const char* bytes : {"'TPF0' 06 'TForm1'", "FE 0A 00 'A' 00 30 10 00 00 00 00", "FF 0B 00 'A' 00",
                              "FF 0A 01 'A' 00", "FF", ""}) {
        SCOPED_TRACE(bytes);
        fw::MemoryStream in(Bin(bytes));
        EXPECT_EQ(MessageOf<fw::EInvalidImage>([&] { fw::SkipResourceHeader(in); }), "Invalid stream format");
    }
}

TEST(DetectStreamFormat, ClassifiesByTheFirstBytes) {
    using fw::StreamFormat;
    struct Case {
        const char* label;
        fw::Bytes bytes;
        StreamFormat format;
    };
    const Case cases[] = {
        {"signature", Bin("'TPF0' 06"), StreamFormat::Binary},
        {"resource header", Bin("FF 0A 00 'T'"), StreamFormat::Binary},
        {"FF alone", Bin("FF"), StreamFormat::Binary},
        {"object", Raw("object Form1: TForm1"), StreamFormat::Text},
        {"OBJECT", Raw("OBJECT"), StreamFormat::Text},
        {"inherited", Raw("inherited"), StreamFormat::Text},
        {"Inline", Raw("Inline"), StreamFormat::Text},
        {"space", Raw(" object"), StreamFormat::Text},
        {"tab", Raw("\tobject"), StreamFormat::Text},
        {"vertical tab", Raw("\vobject"), StreamFormat::Text},
        {"carriage return", Raw("\r\nobject"), StreamFormat::Text},
        {"byte-order mark", Raw("\xEF\xBB\xBFobject"), StreamFormat::Text},
        {"line feed first", Raw("\nobject"), StreamFormat::Unknown},
        {"other signature", Raw("TPF1"), StreamFormat::Unknown},
        {"lower-case signature", Raw("tpf0"), StreamFormat::Unknown},
        {"three signature bytes", Raw("TPF"), StreamFormat::Unknown},
        {"other letter", Raw("begin"), StreamFormat::Unknown},
        {"empty", fw::Bytes{}, StreamFormat::Unknown},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        fw::MemoryStream in(Bin("'ab'") + c.bytes);
        in.Seek(2);
        EXPECT_EQ(fw::DetectStreamFormat(in), c.format);
        EXPECT_EQ(in.Position(), 2);  // nothing consumed
    }
}

TEST(DetectEncoding, ClassifiesWholeFiles) {
    using fw::FormEncoding;
    struct Case {
        const char* label;
        fw::Bytes bytes;
        FormEncoding encoding;
    };
    const Case cases[] = {
        {"resource header", Bin("FF 0A 00 'TFORM1' 00"), FormEncoding::Resource},
        {"signature", Raw("TPF0"), FormEncoding::Binary},
        {"signature in any case", Raw("tPf0"), FormEncoding::Binary},
        {"three letters suffice", Raw("TPF"), FormEncoding::Binary},
        {"text", Raw("object Form1: TForm1"), FormEncoding::Text},
        {"FF then other bytes", Bin("FF 0A 01"), FormEncoding::Text},
        {"short", Raw("TP"), FormEncoding::Text},
        {"empty", fw::Bytes{}, FormEncoding::Text},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(fw::DetectEncoding(c.bytes), c.encoding);
    }
}
