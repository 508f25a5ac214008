// Fuzzes the double-byte code pages (932, 936, 949, 950) through the codec's text side.
// The first input byte picks the page, the rest is form text in it. Nothing may crash,
// hang or trip a sanitizer, and:
//  - decoding the bytes and encoding the result gives the same bytes back;
//  - in 8-bit text no token starts on the trail byte of a character, the characters
//    counted from the start of the text (a quote, "#", a digit, a blank or a line break
//    is never a trail byte, so every token of well-formed text starts on a character);
//  - no highlighting token of a line starts on a trail byte;
//  - when the text converts to binary, the stream survives round trips through text in
//    the same page (see CheckWrittenStream and CheckStableAfterFirstPass).

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/codepage.h"
#include "base/errors.h"
#include "codec/formhighlighter.h"
#include "codec/formtokenizer.h"
#include "roundtrip.h"

namespace {

constexpr int Pages[] = {932, 936, 949, 950};

// For each byte of the text, whether it is the trail byte of a two-byte character.
std::vector<bool> TrailBytes(std::string_view text, const fw::CodePage& codePage) {
    std::vector<bool> trail(text.size() + 1, false);
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t n = codePage.CharLength(text, i);
        if (n == 2) trail[i + 1] = true;
        i += n;
    }
    return trail;
}

void CheckTokens(std::string_view text, const fw::CodePage& codePage) {
    if (text.size() >= 3 && text.substr(0, 3) == "\xEF\xBB\xBF") return;  // UTF-8 text
    const std::vector<bool> trail = TrailBytes(text, codePage);
    fw::ByteViewStream input(fw::ByteSpan(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
    try {
        fw::FormTokenizer parser(input, codePage);
        for (std::size_t guard = 0; parser.Kind() != fw::TokEnd; ++guard) {
            if (guard > text.size()) fwfuzz::Fail("the tokenizer does not advance", text);
            const auto at = static_cast<std::size_t>(parser.TokenPosition());
            if (at >= text.size() || trail[at]) fwfuzz::Fail("a token starts on a trail byte", text);
            parser.Advance();
        }
    } catch (const fw::Exception&) {
        // Text that is no form may be rejected anywhere.
    }
}

void CheckHighlighting(std::string_view text, const fw::CodePage& codePage) {
    fw::HighlightRange range = fw::HighlightRange::Normal;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        end = end == std::string_view::npos ? text.size() : end + 1;
        const std::string_view line = text.substr(start, end - start);
        const std::vector<bool> trail = TrailBytes(line, codePage);
        std::size_t covered = 0;
        for (const fw::HighlightToken& token : fw::HighlightLine(line, range, codePage)) {
            if (token.Start != covered) fwfuzz::Fail("the highlighting tokens do not cover the line", line);
            if (trail[token.Start]) fwfuzz::Fail("a highlighting token starts on a trail byte", line);
            covered += token.Length;
        }
        if (covered != line.size())
            fwfuzz::Fail("the highlighting tokens do not end at the line's end", line);
        start = end;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const fw::CodePage& codePage = *fw::CodePage::Find(Pages[data[0] % 4]);
    const fw::ByteSpan bytes(data + 1, size - 1);
    const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());

    if (codePage.Encode(codePage.Decode(text)) != text)
        fwfuzz::Fail("decoding and encoding changed the bytes", text);
    CheckTokens(text, codePage);
    CheckHighlighting(text, codePage);

    const auto binary = fwfuzz::TryTextToBinary(bytes, codePage);
    if (!binary) return 0;
    if (!fwfuzz::HasUnfaithfulConstructs(text, codePage)) fwfuzz::CheckWrittenStream(*binary, codePage);
    fwfuzz::CheckStableAfterFirstPass(*binary, codePage);
    return 0;
}
