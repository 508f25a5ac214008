#include "formwriter.h"

#include <algorithm>
#include <cstring>

#include "base/asciitext.h"

namespace fw {

namespace {

constexpr std::size_t BufferSize = 4096;

}  // namespace

FormWriter::FormWriter(Stream& output, const CodePage& codePage)
    : output_(output), codePage_(codePage), buffer_(BufferSize) {}

FormWriter::~FormWriter() {
    try {
        Flush();
    } catch (...) {
        // A destructor must not throw; callers that care call Flush() themselves.
    }
}

void FormWriter::Flush() {
    if (used_ == 0) return;
    const std::size_t n = used_;
    used_ = 0;
    output_.Write(buffer_.data(), n);
}

void FormWriter::PutRaw(const void* data, std::size_t n) {
    if (n == 0) return;
    if (n <= BufferSize - used_) {
        std::memcpy(buffer_.data() + used_, data, n);
        used_ += n;
        return;
    }
    Flush();
    if (n >= BufferSize) {
        output_.Write(data, n);
    } else {
        std::memcpy(buffer_.data(), data, n);
        used_ = n;
    }
}

void FormWriter::PutBytes(const void* data, std::size_t n) {
    PutRaw(data, n);
}

void FormWriter::PutSignature() {
    PutRaw(FormSignature.data(), FormSignature.size());
}

void FormWriter::PutTag(std::uint8_t tag) {
    if (used_ == BufferSize) Flush();
    buffer_[used_++] = tag;
}

void FormWriter::PutPrefix(std::uint8_t flags, std::int32_t position) {
    if (flags == 0) return;
    PutTag(static_cast<std::uint8_t>(0xF0 | flags));
    if (flags & FlagChildPosition) PutInt32(position);
}

void FormWriter::PutName(std::string_view name) {
    if (name.size() > 255) name = name.substr(0, 255);
    PutTag(static_cast<std::uint8_t>(name.size()));
    PutRaw(name.data(), name.size());
}

void FormWriter::PutInt32(std::int32_t value) {
    if (value >= -128 && value <= 127) {
        const auto v = static_cast<std::int8_t>(value);
        PutTag(TagInt8);
        PutRaw(&v, 1);
    } else if (value >= -32768 && value <= 32767) {
        const auto v = static_cast<std::int16_t>(value);
        PutTag(TagInt16);
        PutRaw(&v, 2);
    } else {
        PutTag(TagInt32);
        PutRaw(&value, 4);
    }
}

void FormWriter::PutInt64(std::int64_t value) {
    if (value >= INT32_MIN && value <= INT32_MAX) {
        PutInt32(static_cast<std::int32_t>(value));
    } else {
        PutTag(TagInt64);
        PutRaw(&value, 8);
    }
}

void FormWriter::PutExtended(const Extended80& value) {
    PutTag(TagExtended);
    PutRaw(value.Bytes.data(), 10);
}

void FormWriter::PutSingle(float value) {
    PutTag(TagSingle);
    PutRaw(&value, 4);
}

void FormWriter::PutCurrency(std::int64_t raw) {
    PutTag(TagCurrency);
    PutRaw(&raw, 8);
}

void FormWriter::PutDateTime(double value) {
    PutTag(TagDate);
    PutRaw(&value, 8);
}

void FormWriter::PutBoolean(bool value) {
    PutTag(value ? TagTrue : TagFalse);
}

void FormWriter::PutIdentifier(std::string_view identifier) {
    if (EqualsIgnoringCase(identifier, "False")) {
        PutTag(TagFalse);
    } else if (EqualsIgnoringCase(identifier, "True")) {
        PutTag(TagTrue);
    } else if (EqualsIgnoringCase(identifier, "Null")) {
        PutTag(TagNull);
    } else if (EqualsIgnoringCase(identifier, "nil")) {
        PutTag(TagNil);
    } else {
        PutTag(TagIdent);
        PutName(identifier);
    }
}

void FormWriter::PutString(std::u16string_view text) {
    // Plain ASCII, by far the most common text, is its own 8-bit and UTF-8 form.
    if (!text.empty() && std::all_of(text.begin(), text.end(), [](char16_t c) { return c < 0x80; })) {
        const auto n = static_cast<std::int32_t>(text.size());
        if (n <= 255) {
            PutTag(TagShortString);
            PutTag(static_cast<std::uint8_t>(n));
        } else {
            PutTag(TagLongString);
            PutRaw(&n, 4);
        }
        for (char16_t c : text)
            PutTag(static_cast<std::uint8_t>(c));
        return;
    }
    const std::string utf8 = Utf8FromUtf16(text);
    if (utf8.size() < 2 * text.size()) {
        // With a single-byte code page the 8-bit form equals the UTF-8 form exactly when
        // every character is below 128, that is when the UTF-8 form is as long as the text.
        bool ascii = utf8.size() == text.size();
        if (ascii) {
            for (char16_t c : text)
                if (codePage_.ToByte(c) != c) ascii = false;
        }
        if (ascii) {
            if (utf8.size() <= 255) {
                PutTag(TagShortString);
                PutTag(static_cast<std::uint8_t>(utf8.size()));
            } else {
                const auto n = static_cast<std::int32_t>(utf8.size());
                PutTag(TagLongString);
                PutRaw(&n, 4);
            }
        } else {
            const auto n = static_cast<std::int32_t>(utf8.size());
            PutTag(TagUtf8String);
            PutRaw(&n, 4);
        }
        PutRaw(utf8.data(), utf8.size());
        return;
    }
    const auto n = static_cast<std::int32_t>(text.size());
    PutTag(TagWideString);
    PutRaw(&n, 4);
    for (char16_t c : text) {
        const std::uint8_t pair[2] = {static_cast<std::uint8_t>(c & 0xFF), static_cast<std::uint8_t>(c >> 8)};
        PutRaw(pair, 2);
    }
}

void FormWriter::PutBinary(const void* data, std::size_t n) {
    PutTag(TagBinary);
    const auto count = static_cast<std::int32_t>(n);
    PutRaw(&count, 4);
    PutRaw(data, n);
}

}  // namespace fw
