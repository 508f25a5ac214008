// Form text cut into lines, and the tokenizer counting the same lines, so that a line an
// error names is the line a reader of the text sees.

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "base/errors.h"
#include "base/stream.h"
#include "codec/conversion.h"
#include "codec/textlines.h"

namespace {

TEST(TextLines, EveryBreakEndsALineAndNoneIsAddedAtTheEnd) {
    const struct {
        const char* Text;
        std::vector<std::string_view> Lines;
    } cases[] = {
        {"a\r\nb\nc\rd", {"a", "b", "c", "d"}},
        {"a\r\n\r\n", {"a", ""}},
        {"a\n\rb", {"a", "", "b"}},
        {"\n\r", {"", ""}},  // LF then CR are two breaks
        {"\r", {""}},
        {"", {}},
        {"only", {"only"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(fw::TextLines(c.Text), c.Lines) << c.Text;
        EXPECT_EQ(fw::CopyTextLines(c.Text), std::vector<std::string>(c.Lines.begin(), c.Lines.end()));
        EXPECT_EQ(fw::FirstTextLine(c.Text), c.Lines.empty() ? std::string_view() : c.Lines.front());
    }
}

// The text the tokenizer reads has a line feed wherever a line ends, so its line
// numbers are the lines above, whichever breaks the text uses.
TEST(TextLines, SyntaxErrorsNameTheSameLineWhateverTheBreaks) {
    for (const std::string_view br : {"\r\n", "\n", "\r"}) {
        const std::string text = "object Form1: TForm1" + std::string(br) + "  Caption = 'x'" +
                                 std::string(br) + "  Left 8" + std::string(br) + "end" + std::string(br);
        std::string storage;
        const std::string_view read = fw::WithLineFeeds(text, storage);
        EXPECT_EQ(fw::TextLines(read), fw::TextLines(text));
        EXPECT_EQ(read.data() == text.data(), br != "\r") << "a copy only where it is needed";
        fw::ByteViewStream input(
            fw::ByteSpan(reinterpret_cast<const std::uint8_t*>(read.data()), read.size()));
        fw::MemoryStream output;
        try {
            fw::TextToBinaryForm(input, output);
            ADD_FAILURE() << "no error";
        } catch (const fw::EParserError& error) {
            EXPECT_EQ(error.Line(), 3) << error.what();
            EXPECT_EQ(fw::TextLines(text)[2], "  Left 8");
        }
    }
}

}  // namespace

// A lone CR anywhere, also where the search goes on from one block of the text to the
// next or as the last byte, is found; CR LF pairs split across blocks are no lone CRs.
TEST(TextLines, FindsALoneCarriageReturnAnywhere) {
    for (const std::size_t at : {std::size_t{0}, std::size_t{4094}, std::size_t{4095}, std::size_t{4096},
                                 std::size_t{9000}, std::size_t{9999}}) {
        SCOPED_TRACE(at);
        std::string text(10000, 'x');
        text[at] = '\r';
        std::string storage;
        EXPECT_EQ(fw::WithLineFeeds(text, storage)[at], '\n');
        if (at + 1 < text.size()) {
            text[at + 1] = '\n';
            EXPECT_EQ(fw::WithLineFeeds(text, storage).data(), text.data());
        }
    }
}
