// Golden pairs: small forms kept both as text and as binary (data/golden*.dfm, the
// binary halves encoded by data/make_golden.py straight from the byte layout), each
// checked in both directions.

#include <gtest/gtest.h>

#include <string>

#include "codec/conversion.h"
#include "codec_test_util.h"

using namespace fwtest;

namespace {

struct Golden {
    const char* file;
    const char* resourceName;  // the root's class name, upper-cased
};

class GoldenPair : public testing::TestWithParam<Golden> {
protected:
    static fw::Bytes Load(const std::string& file) {
        return fw::ReadFileBytes(std::string(FW_TEST_DATA_DIR) + "/" + file);
    }
    fw::Bytes Text() const { return Load(std::string(GetParam().file) + ".txt.dfm"); }
    fw::Bytes Binary() const { return Load(std::string(GetParam().file) + ".bin.dfm"); }
};

}  // namespace

TEST_P(GoldenPair, TextConvertsToTheBinary) {
    const fw::Bytes text = Text();
    const std::string textString(text.begin(), text.end());
    EXPECT_EQ(Hex(ToBinary(textString)), Hex(Binary()));
}

TEST_P(GoldenPair, BinaryConvertsToTheText) {
    const fw::Bytes text = Text();
    EXPECT_EQ(Escaped(ToText(Binary())), Escaped(std::string(text.begin(), text.end())));
}

TEST_P(GoldenPair, ResourceFormsMatchToo) {
    const fw::Bytes text = Text();
    const fw::Bytes binary = Binary();

    fw::MemoryStream textIn(text);
    fw::MemoryStream wrapped;
    fw::TextToResourceForm(textIn, wrapped);
    EXPECT_EQ(Hex(wrapped.Data()), Hex(Bin("FF 0A 00") + Raw(GetParam().resourceName) + Bin("00 30 10") +
                                       Le32(static_cast<std::uint32_t>(binary.size())) + binary));

    wrapped.Seek(0);
    fw::MemoryStream textOut;
    fw::ResourceFormToText(wrapped, textOut);
    EXPECT_TRUE(textOut.Data() == text);
}

// Every encoding converts to every other, and to itself unchanged.
TEST_P(GoldenPair, ConvertFormLinksAllEncodings) {
    const fw::Bytes text = Text();
    const fw::Bytes binary = Binary();
    const fw::Bytes resource = Bin("FF 0A 00") + Raw(GetParam().resourceName) + Bin("00 30 10") +
                               Le32(static_cast<std::uint32_t>(binary.size())) + binary;
    struct Form {
        fw::FormEncoding encoding;
        const fw::Bytes* bytes;
    };
    const Form forms[] = {{fw::FormEncoding::Text, &text},
                          {fw::FormEncoding::Binary, &binary},
                          {fw::FormEncoding::Resource, &resource}};
    for (const Form& from : forms) {
        for (const Form& to : forms) {
            SCOPED_TRACE(testing::Message() << fw::FormEncodingName(from.encoding) << " to "
                                            << fw::FormEncodingName(to.encoding));
            fw::Bytes converted;
            EXPECT_EQ(
                MessageOf<fw::Exception>([&] { converted = fw::ConvertForm(*from.bytes, to.encoding); }),
                "<no exception>");
            EXPECT_TRUE(converted == *to.bytes) << Escaped(std::string(converted.begin(), converted.end()));
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Forms, GoldenPair,
                         testing::Values(Golden{"golden1", "TFORM1"}, Golden{"golden2", "TMAINFORM"},
                                         Golden{"golden3", "TDATAFORM"}),
                         [](const testing::TestParamInfo<Golden>& info) {
                             return std::string(info.param.file);
                         });
