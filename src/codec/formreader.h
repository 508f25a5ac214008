#pragma once
// FormReader: reads the primitives of a binary form stream. Every read checks that the
// bytes are there; a short input raises EReadError "Stream read error", a tag the
// operation does not take raises EReadError "Invalid property value". When destroyed,
// the reader moves the input back to just after the last byte it consumed.

#include <cstdint>
#include <string>
#include <vector>

#include "base/codepage.h"
#include "base/stream.h"
#include "extended.h"
#include "formformat.h"

namespace fw {

struct ObjectPrefix {
    std::uint8_t Flags = 0;     // ObjectFlags, plus bit 8 as found
    std::int32_t Position = 0;  // valid when Flags has FlagChildPosition
};

class FormReader {
public:
    explicit FormReader(Stream& input, const CodePage& codePage = CodePage::Default());
    ~FormReader();
    FormReader(const FormReader&) = delete;
    FormReader& operator=(const FormReader&) = delete;

    void CheckSignature();
    std::uint8_t PeekTag();
    std::uint8_t TakeTag();
    bool AtListEnd();
    void RequireTag(std::uint8_t tag);
    ObjectPrefix TakePrefix();
    std::string TakeName();
    std::int32_t TakeInt32();
    std::int64_t TakeInt64();
    long double TakeExtended();
    float TakeSingle();
    std::int64_t TakeCurrency();
    double TakeDateTime();
    std::string TakeString8();
    std::u16string TakeStringW();
    std::string TakeIdentifier();
    bool TakeBoolean();
    // Appends n raw bytes to out.
    void TakeBytes(std::size_t n, std::string& out);
    void TakeBytes(std::size_t n, void* out);
    // n raw bytes as a view that stays valid until the next call on the reader.
    ByteSpan TakeView(std::size_t n);
    // Takes a TagBinary value and returns its payload (empty for a count of 0 or less).
    std::vector<std::uint8_t> TakeBinary();
    // The payload of a TagBinary value whose tag was already taken, as TakeView.
    ByteSpan TakeBinaryPayload();
    void SkipOneValue();

    // Takes the 4-byte little-endian count of a TagBinary or long string.
    std::int32_t TakeCount();
    // Bytes consumed since the reader was created.
    std::int64_t Consumed() const;
    const CodePage& Codepage() const { return codePage_; }

private:
    void Refill(std::size_t needed);
    const std::uint8_t* Need(std::size_t n);
    void CheckAvailable(std::int64_t n);
    void SkipBytes(std::int64_t n);
    void SkipValue(int depth);
    std::int64_t TakeInt64Tagged(std::uint8_t tag);
    template <typename T>
    T TakeLittleEndian();
    [[noreturn]] void Invalid(std::uint8_t tag);

    Stream& input_;
    const CodePage& codePage_;
    std::int64_t start_ = 0;        // stream position when the reader was created
    std::int64_t windowStart_ = 0;  // stream position of window_[0]
    std::vector<std::uint8_t> block_;
    std::vector<std::uint8_t> scratch_;
    const std::uint8_t* window_ = nullptr;
    const std::uint8_t* cur_ = nullptr;
    const std::uint8_t* end_ = nullptr;
    bool contiguous_ = false;
};

// Nesting deeper than this (objects in objects, lists in lists, collections) is taken
// for a damaged or hostile stream, so that no input can exhaust the call stack.
inline constexpr int MaxNestingDepth = 1000;

}  // namespace fw
