// Fuzzes the resource-wrapped side of the codec on arbitrary bytes: the resource header
// is checked and skipped on its own, then the whole input is converted with
// ResourceFormToText, reading from memory and through a file-like stream. Either may
// reject the input with an fw::Exception; none may crash, hang or trip a sanitizer, and
// the two must agree:
//  - the conversion accepts no input whose header SkipResourceHeader rejects;
//  - after the header, the conversion reads the same as BinaryFormToText on the rest;
//  - memory and file-like reads give the same result.

#include <cstddef>
#include <cstdint>
#include <string>

#include "base/errors.h"
#include "codec/conversion.h"
#include "codec/formformat.h"
#include "roundtrip.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fw::ByteSpan input(data, size);

    std::size_t headerEnd = 0;
    bool headerRead = false;
    try {
        fw::ByteViewStream stream(input);
        fw::SkipResourceHeader(stream);
        headerEnd = static_cast<std::size_t>(stream.Position());
        headerRead = true;
        if (headerEnd > size) fwfuzz::Fail("SkipResourceHeader stands past the end of the input");
    } catch (const fw::Exception&) {
    }

    const fwfuzz::TextOutcome fromMemory = fwfuzz::ConvertBinaryToText(input, true);
    const fwfuzz::TextOutcome fromFile = fwfuzz::ConvertBinaryToText(input, true, true);
    if (fromMemory != fromFile) {
        fwfuzz::Fail("a resource form reads differently from memory (" +
                     (fromMemory.Text ? std::string("accepted") : fromMemory.Error) + ") and from a file (" +
                     (fromFile.Text ? std::string("accepted") : fromFile.Error) + ")");
    }
    if (!headerRead) {
        if (fromMemory.Text) fwfuzz::Fail("a resource form is converted although its header is rejected");
        return 0;
    }

    const fwfuzz::TextOutcome bare = fwfuzz::ConvertBinaryToText(input.subspan(headerEnd), false);
    if (bare.Text != fromMemory.Text || (bare.Text && bare.Consumed + headerEnd != fromMemory.Consumed)) {
        fwfuzz::Fail("the stream behind a resource header reads differently without the header",
                     bare.Text ? fwfuzz::AsText(*bare.Text) : std::string_view("(rejected)"),
                     fromMemory.Text ? fwfuzz::AsText(*fromMemory.Text) : std::string_view("(rejected)"));
    }
    return 0;
}
