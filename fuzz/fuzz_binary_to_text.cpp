// Fuzzes the binary side of the codec: the input is taken for a form file, classified
// by its first bytes, and converted from its resource-wrapped or bare binary encoding
// to text. Any input may be rejected with an fw::Exception; none may crash, hang,
// read out of bounds or allocate from a length the bytes do not back.
//
// When the conversion succeeds, the text is converted back to binary. Text made from
// arbitrary bytes need not convert back (names may hold any byte), nor give the same
// text again: 8-bit strings with bytes of 128 or more come back as character codes,
// identifiers such as "true" come back as "True", blanks in a name are dropped. So
// the property asked is the one of a normalised form: once a text has gone through
// the text conversion, the stream written from it must survive further round trips
// (see CheckWrittenStream).

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "base/errors.h"
#include "codec/conversion.h"
#include "codec/formformat.h"
#include "roundtrip.h"

namespace {

// Whole-buffer conversion through ConvertForm must agree with the stream functions.
// consumed is how many bytes of input the stream conversion read.
void CheckConvertForm(fw::ByteSpan input, fw::FormEncoding encoding, const fw::Bytes& text,
                      std::size_t consumed) {
    fw::Bytes converted;
    try {
        converted = fw::ConvertForm(input, fw::FormEncoding::Text);
    } catch (const fw::Exception& error) {
        fwfuzz::Fail(std::string("ConvertForm rejects a stream that converts to text: ") + error.what(),
                     fwfuzz::AsText(text));
    }
    if (converted != text) {
        fwfuzz::Fail("ConvertForm gives another text than the stream conversion", fwfuzz::AsText(text),
                     fwfuzz::AsText(converted));
    }

    // Between the two binary encodings only the resource header may change.
    const fw::FormEncoding other =
        encoding == fw::FormEncoding::Resource ? fw::FormEncoding::Binary : fw::FormEncoding::Resource;
    fw::Bytes rewrapped;
    try {
        rewrapped = fw::ConvertForm(input, other);
    } catch (const fw::Exception& error) {
        // The resource header holds the class name, which may be too long for it.
        if (other == fw::FormEncoding::Resource) return;
        fwfuzz::Fail(
            std::string("ConvertForm cannot take the resource header off a readable stream: ") + error.what(),
            fwfuzz::AsText(text));
    }
    if (other == fw::FormEncoding::Resource) {
        // A reader finds the end of the header's name at its first 0 byte, so a class
        // name holding one gives a header that cannot be read back.
        if (rewrapped.size() < consumed + 10) fwfuzz::Fail("the resource form is shorter than its stream");
        const std::size_t nameLength = rewrapped.size() - consumed - 10;
        if (std::memchr(rewrapped.data() + 3, 0, nameLength) != nullptr) return;
    }
    const auto rewrappedText = fwfuzz::TryBinaryToText(rewrapped, other == fw::FormEncoding::Resource);
    if (!rewrappedText || *rewrappedText != text) {
        fwfuzz::Fail("the stream reads differently after ConvertForm changed its wrapping",
                     fwfuzz::AsText(text),
                     rewrappedText ? fwfuzz::AsText(*rewrappedText) : std::string_view("(rejected)"));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fw::ByteSpan input(data, size);
    const fw::FormEncoding encoding = fw::DetectEncoding(input);
    if (encoding == fw::FormEncoding::Text) return 0;

    const bool resource = encoding == fw::FormEncoding::Resource;
    const fwfuzz::TextOutcome fromMemory = fwfuzz::ConvertBinaryToText(input, resource);
    // The reader scans memory in place and buffers other streams in blocks; both ways
    // must read the same.
    const fwfuzz::TextOutcome fromFile = fwfuzz::ConvertBinaryToText(input, resource, true);
    if (fromFile != fromMemory) {
        fwfuzz::Fail(
            "a stream reads differently from memory (" +
                (fromMemory.Text ? std::to_string(fromMemory.Consumed) + " bytes read" : fromMemory.Error) +
                ") and from a file (" +
                (fromFile.Text ? std::to_string(fromFile.Consumed) + " bytes read" : fromFile.Error) + ")",
            fromMemory.Text ? fwfuzz::AsText(*fromMemory.Text) : std::string_view(),
            fromFile.Text ? fwfuzz::AsText(*fromFile.Text) : std::string_view());
    }
    if (!fromMemory.Text) return 0;
    const fw::Bytes& text = *fromMemory.Text;
    CheckConvertForm(input, encoding, text, fromMemory.Consumed);

    const auto written = fwfuzz::TryTextToBinary(text);
    if (!written) return 0;
    if (fwfuzz::HasUnfaithfulConstructs(fwfuzz::AsText(text))) return 0;
    fwfuzz::CheckWrittenStream(*written);
    return 0;
}
