// Fuzzes the text side of the codec: the input is taken for form text (8-bit, or UTF-8
// after a byte-order mark) and converted to a binary form stream. Any input may be
// rejected with an fw::Exception; none may crash, hang or trip a sanitizer.
//
// When the conversion succeeds:
//  - the resource variant must give the same stream behind a resource header, or
//    reject the root's class name as too long for the header;
//  - ConvertForm must give the same stream;
//  - the stream must survive round trips through text (see CheckWrittenStream),
//    unless the text holds one of the constructs the binary encoding cannot hold
//    faithfully (see HasUnfaithfulConstructs);
//  - whatever the text, text -> binary -> text -> binary must settle after the first
//    pass (see CheckStableAfterFirstPass).

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

#include "base/errors.h"
#include "codec/conversion.h"
#include "codec/formformat.h"
#include "roundtrip.h"

namespace {

// faithful: the text holds none of the constructs that make a written stream read
// differently; when it does, the resource variant may fail in other ways too.
void CheckResourceForm(fw::ByteSpan text, const fw::Bytes& binary, bool faithful) {
    fw::ByteViewStream input(text);
    fw::MemoryStream output;
    try {
        fw::TextToResourceForm(input, output);
    } catch (const fw::EParserError& error) {
        // Only the class name's length may fail here, and nothing may have been written.
        if (faithful &&
            std::string_view(error.what()).find("exceeds 64 character limit") == std::string_view::npos) {
            fwfuzz::Fail(std::string("the resource variant fails where the bare conversion passed: ") +
                         error.what());
        }
        if (output.Size() != 0) fwfuzz::Fail("the resource variant wrote output before failing");
        return;
    } catch (const fw::Exception& error) {
        if (!faithful) return;
        fwfuzz::Fail(std::string("the resource variant fails where the bare conversion passed: ") +
                     error.what());
    }
    if (!faithful) return;
    const fw::Bytes& wrapped = output.Data();
    if (wrapped.size() < binary.size() ||
        !std::equal(binary.begin(), binary.end(),
                    wrapped.end() - static_cast<std::ptrdiff_t>(binary.size()))) {
        fwfuzz::Fail("the resource variant does not end with the bare stream");
    }
    const auto wrappedText = fwfuzz::TryBinaryToText(wrapped, true);
    const auto bareText = fwfuzz::TryBinaryToText(binary, false);
    if (wrappedText != bareText) {
        fwfuzz::Fail("the resource form reads differently from the bare stream",
                     bareText ? fwfuzz::AsText(*bareText) : std::string_view("(rejected)"),
                     wrappedText ? fwfuzz::AsText(*wrappedText) : std::string_view("(rejected)"));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fw::ByteSpan text(data, size);
    const auto binary = fwfuzz::TryTextToBinary(text);
    if (!binary) return 0;

    const std::string_view asText(reinterpret_cast<const char*>(data), size);
    const bool faithful = !fwfuzz::HasUnfaithfulConstructs(asText);
    CheckResourceForm(text, *binary, faithful);
    if (fw::DetectEncoding(text) == fw::FormEncoding::Text) {
        try {
            if (fw::ConvertForm(text, fw::FormEncoding::Binary) != *binary) {
                fwfuzz::Fail("ConvertForm gives another stream than the text conversion");
            }
        } catch (const fw::Exception& error) {
            fwfuzz::Fail(std::string("ConvertForm rejects text that converts: ") + error.what());
        }
    }

    if (faithful) fwfuzz::CheckWrittenStream(*binary);
    fwfuzz::CheckStableAfterFirstPass(*binary);
    return 0;
}
