#pragma once
// What the form fuzzers hold the codec to, beyond "no crash, no sanitizer report":
// conversions wrapped so that a rejection (fw::Exception) is an ordinary result, and
// the round-trip check that every binary stream written by the text conversion must
// pass. A broken property prints what went wrong with the texts involved and aborts,
// so that libFuzzer keeps the input as a reproducer.

#include <optional>
#include <string>
#include <string_view>

#include "base/codepage.h"
#include "base/stream.h"

namespace fwfuzz {

// A read-only stream over bytes that, like a file, does not hand them out as one block,
// so that readers take their buffered path. Reads are complete up to the end, as a
// file's are.
class FileLikeStream final : public fw::Stream {
public:
    explicit FileLikeStream(fw::ByteSpan bytes) : bytes_(bytes) {}

    std::size_t Read(void* buffer, std::size_t n) override;
    void Write(const void* buffer, std::size_t n) override;  // always throws
    std::int64_t Position() const override { return static_cast<std::int64_t>(position_); }
    void Seek(std::int64_t position) override;
    std::int64_t Size() const override { return static_cast<std::int64_t>(bytes_.size()); }

private:
    fw::ByteSpan bytes_;
    std::size_t position_ = 0;
};

// The result of converting a binary form stream to text.
struct TextOutcome {
    std::optional<fw::Bytes> Text;  // nothing when the codec rejected the stream
    std::string Error;              // the rejection's message
    std::size_t Consumed = 0;       // input bytes read, on success
    bool operator==(const TextOutcome&) const = default;
};

// Binary form stream (resource-wrapped when resource is set) to text, read from memory
// or, when fileLike is set, through a FileLikeStream. The code page, here and below, is
// that of the 8-bit text.
TextOutcome ConvertBinaryToText(fw::ByteSpan binary, bool resource, bool fileLike = false,
                                const fw::CodePage& codePage = fw::CodePage::Default());

// As ConvertBinaryToText from memory, giving the text alone. consumed receives how
// many input bytes the conversion read.
std::optional<fw::Bytes> TryBinaryToText(fw::ByteSpan binary, bool resource, std::size_t* consumed = nullptr,
                                         const fw::CodePage& codePage = fw::CodePage::Default());

// Form text to a bare binary form stream, or nothing when the codec rejects it.
std::optional<fw::Bytes> TryTextToBinary(fw::ByteSpan text,
                                         const fw::CodePage& codePage = fw::CodePage::Default());

// Whether text holds something that makes the binary stream written from it unfaithful
// by design, so that no round trip can be asked of it:
//  - an identifier-like run of 200 bytes or more (in a double-byte code page a two-byte
//    character counts as the up to six bytes of UTF-8 it is written as): a class name of 240 bytes or more
//    has a length byte that readers take for an object prefix, and names are cut to
//    255 bytes;
//  - the word Null in any letter case: a Null element of a list is written as the byte
//    that ends the list.
bool HasUnfaithfulConstructs(std::string_view text, const fw::CodePage& codePage = fw::CodePage::Default());

// Checks a stream written by the text conversion:
//  1. it converts to text, and the conversion reads it to its very end;
//  2. that text converts back to binary, unless it holds a value that form text cannot
//     carry back (a negative infinity, an extended or currency value whose rounded
//     digits overflow, a name cut to 255 bytes right after a dot);
//  3. the second binary converts to text again, and that text equals the first text,
//     line by line, except where a date whose 15 digits round beyond the double range
//     turned into INF;
//  4. the second binary equals the written one byte for byte when the text holds no
//     float (floats keep 15 or 16 digits only, and infinities come back as
//     identifiers, so their payloads may change once).
// Aborts with a description when one of them fails.
void CheckWrittenStream(const fw::Bytes& written, const fw::CodePage& codePage = fw::CodePage::Default());

// Checks that the text conversion settles after one pass: with B2 the stream written
// from the text of `written`, converting B2 to text and back must give B2 again byte for
// byte, and the same text. Whatever the first pass changed (float digits, infinities,
// spelling of identifiers) must not change any further. Returns without a check when
// the first pass itself does not convert; aborts with a description when a later one
// fails or changes anything.
void CheckStableAfterFirstPass(const fw::Bytes& written,
                               const fw::CodePage& codePage = fw::CodePage::Default());

// Prints the message and the given texts (abridged) to stderr and aborts.
[[noreturn]] void Fail(std::string_view message, std::string_view firstText = {},
                       std::string_view secondText = {});

std::string_view AsText(const fw::Bytes& bytes);

}  // namespace fwfuzz
