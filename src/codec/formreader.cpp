#include "formreader.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "base/byteview.h"
#include "base/errors.h"

namespace fw {

namespace {

constexpr std::size_t BlockSize = 4096;

[[noreturn]] void ReadFailure() {
    throw EReadError("Stream read error");
}

}  // namespace

FormReader::FormReader(Stream& input, const CodePage& codePage) : input_(input), codePage_(codePage) {
    start_ = input.Position();
    windowStart_ = start_;
    contiguous_ = input.IsContiguous();
    if (contiguous_) {
        const ByteSpan all = input.ContiguousRemainder();
        window_ = cur_ = all.data();
        end_ = all.data() + all.size();
    } else {
        block_.resize(BlockSize);
        window_ = cur_ = end_ = block_.data();
    }
}

FormReader::~FormReader() {
    try {
        input_.Seek(windowStart_ + (cur_ - window_));
    } catch (...) {
        // The position cannot be wrong; a failing seek leaves the stream where it is.
    }
}

std::int64_t FormReader::Consumed() const {
    return windowStart_ + (cur_ - window_) - start_;
}

void FormReader::Refill(std::size_t needed) {
    if (contiguous_) ReadFailure();
    const auto leftover = static_cast<std::size_t>(end_ - cur_);
    const auto consumed = static_cast<std::size_t>(cur_ - window_);
    const std::size_t offset = static_cast<std::size_t>(cur_ - block_.data());
    if (block_.size() < std::max(BlockSize, needed)) block_.resize(std::max(BlockSize, needed));
    std::memmove(block_.data(), block_.data() + offset, leftover);
    std::size_t got = 0;
    while (leftover + got < block_.size()) {
        const std::size_t n = input_.Read(block_.data() + leftover + got, block_.size() - leftover - got);
        if (n == 0) break;
        got += n;
    }
    windowStart_ += static_cast<std::int64_t>(consumed);
    window_ = cur_ = block_.data();
    end_ = block_.data() + leftover + got;
    if (leftover + got < needed) ReadFailure();
}

const std::uint8_t* FormReader::Need(std::size_t n) {
    if (static_cast<std::size_t>(end_ - cur_) < n) Refill(n);
    const std::uint8_t* p = cur_;
    cur_ += n;
    return p;
}

void FormReader::CheckAvailable(std::int64_t n) {
    if (n < 0) ReadFailure();
    std::int64_t available = end_ - cur_;
    if (!contiguous_) available += input_.Size() - input_.Position();
    if (n > available) ReadFailure();
}

template <typename T>
T FormReader::TakeLittleEndian() {
    T value;
    std::memcpy(&value, Need(sizeof(T)), sizeof(T));
    static_assert(std::endian::native == std::endian::little, "form streams are little-endian");
    return value;
}

void FormReader::TakeBytes(std::size_t n, void* out) {
    CheckAvailable(static_cast<std::int64_t>(n));
    auto* dest = static_cast<std::uint8_t*>(out);
    const std::size_t inWindow = std::min(n, static_cast<std::size_t>(end_ - cur_));
    if (inWindow > 0) std::memcpy(dest, cur_, inWindow);
    cur_ += inWindow;
    if (inWindow < n) {
        // Large payloads bypass the block buffer and go straight to their destination.
        const std::size_t rest = n - inWindow;
        windowStart_ += end_ - window_;
        input_.ReadExact(dest + inWindow, rest);
        windowStart_ += static_cast<std::int64_t>(rest);
        window_ = cur_ = end_ = block_.data();
    }
}

void FormReader::TakeBytes(std::size_t n, std::string& out) {
    CheckAvailable(static_cast<std::int64_t>(n));
    const std::size_t old = out.size();
    out.resize(old + n);
    TakeBytes(n, out.data() + old);
}

ByteSpan FormReader::TakeView(std::size_t n) {
    CheckAvailable(static_cast<std::int64_t>(n));
    if (static_cast<std::size_t>(end_ - cur_) >= n) {
        const std::uint8_t* p = cur_;
        cur_ += n;
        return {p, n};
    }
    scratch_.resize(n);
    TakeBytes(n, scratch_.data());
    return {scratch_.data(), n};
}

void FormReader::SkipBytes(std::int64_t n) {
    CheckAvailable(n);
    while (n > 0) {
        if (cur_ == end_) Refill(1);
        const std::int64_t step = std::min<std::int64_t>(n, end_ - cur_);
        cur_ += step;
        n -= step;
    }
}

void FormReader::Invalid(std::uint8_t) {
    throw EReadError("Invalid property value");
}

void FormReader::CheckSignature() {
    const std::uint8_t* p = Need(4);
    if (std::memcmp(p, FormSignature.data(), 4) != 0) throw EReadError("Invalid stream format");
}

std::uint8_t FormReader::PeekTag() {
    if (cur_ == end_) Refill(1);
    return *cur_;
}

std::uint8_t FormReader::TakeTag() {
    return *Need(1);
}

bool FormReader::AtListEnd() {
    return PeekTag() == TagNull;
}

void FormReader::RequireTag(std::uint8_t tag) {
    if (TakeTag() == tag) return;
    --cur_;  // the byte just taken is still in the window
    SkipOneValue();
    throw EReadError("Invalid property value");
}

ObjectPrefix FormReader::TakePrefix() {
    ObjectPrefix prefix;
    const std::uint8_t b = PeekTag();
    if ((b & 0xF0) != 0xF0) return prefix;
    ++cur_;
    prefix.Flags = b & 0x0F;
    if (prefix.Flags & FlagChildPosition) prefix.Position = TakeInt32();
    return prefix;
}

std::string FormReader::TakeName() {
    const std::size_t n = TakeTag();
    std::string name;
    TakeBytes(n, name);
    return name;
}

std::int64_t FormReader::TakeInt64Tagged(std::uint8_t tag) {
    switch (tag) {
        case TagInt8:
            return TakeLittleEndian<std::int8_t>();
        case TagInt16:
            return TakeLittleEndian<std::int16_t>();
        case TagInt32:
            return TakeLittleEndian<std::int32_t>();
        case TagInt64:
            return TakeLittleEndian<std::int64_t>();
        default:
            Invalid(tag);
    }
}

std::int32_t FormReader::TakeInt32() {
    const std::uint8_t tag = TakeTag();
    if (tag == TagInt64) Invalid(tag);
    return static_cast<std::int32_t>(TakeInt64Tagged(tag));
}

std::int64_t FormReader::TakeInt64() {
    return TakeInt64Tagged(TakeTag());
}

long double FormReader::TakeExtended() {
    const std::uint8_t tag = TakeTag();
    if (tag == TagExtended) {
        Extended80 x;
        std::memcpy(x.Bytes.data(), Need(10), 10);
        return x.ToLongDouble();
    }
    if (tag == TagDouble) return static_cast<long double>(TakeLittleEndian<double>());
    return static_cast<long double>(TakeInt64Tagged(tag));
}

float FormReader::TakeSingle() {
    const std::uint8_t tag = TakeTag();
    if (tag == TagSingle) return TakeLittleEndian<float>();
    return static_cast<float>(TakeInt64Tagged(tag));
}

std::int64_t FormReader::TakeCurrency() {
    const std::uint8_t tag = TakeTag();
    if (tag == TagCurrency) return TakeLittleEndian<std::int64_t>();
    // Wraps like the 64-bit arithmetic of the format's writers instead of overflowing.
    return static_cast<std::int64_t>(static_cast<std::uint64_t>(TakeInt64Tagged(tag)) * 10000u);
}

double FormReader::TakeDateTime() {
    const std::uint8_t tag = TakeTag();
    if (tag == TagDate) return TakeLittleEndian<double>();
    return static_cast<double>(TakeInt64Tagged(tag));
}

std::int32_t FormReader::TakeCount() {
    return TakeLittleEndian<std::int32_t>();
}

std::string FormReader::TakeString8() {
    const std::uint8_t tag = PeekTag();
    std::string text;
    switch (tag) {
        case TagShortString:
            ++cur_;
            TakeBytes(TakeTag(), text);
            return text;
        case TagLongString: {
            ++cur_;
            const std::int32_t n = TakeCount();
            if (n < 0) ReadFailure();
            TakeBytes(static_cast<std::size_t>(n), text);
            return text;
        }
        case TagWideString:
        case TagUtf8String:
            return codePage_.Encode(TakeStringW());
        default:
            ++cur_;
            Invalid(tag);
    }
}

std::u16string FormReader::TakeStringW() {
    const std::uint8_t tag = TakeTag();
    switch (tag) {
        case TagWideString: {
            const std::int32_t n = TakeCount();
            if (n < 0) ReadFailure();
            const ByteSpan bytes = TakeView(2 * static_cast<std::size_t>(n));
            std::u16string text(static_cast<std::size_t>(n), u'\0');
            for (std::size_t i = 0; i < text.size(); ++i)
                text[i] = static_cast<char16_t>(LoadLe16(bytes.data() + 2 * i));
            return text;
        }
        case TagUtf8String: {
            const std::int32_t n = TakeCount();
            if (n < 0) ReadFailure();
            const ByteSpan bytes = TakeView(static_cast<std::size_t>(n));
            return Utf16FromUtf8({reinterpret_cast<const char*>(bytes.data()), bytes.size()});
        }
        case TagShortString: {
            const ByteSpan bytes = TakeView(TakeTag());
            return codePage_.Decode({reinterpret_cast<const char*>(bytes.data()), bytes.size()});
        }
        case TagLongString: {
            const std::int32_t n = TakeCount();
            if (n < 0) ReadFailure();
            const ByteSpan bytes = TakeView(static_cast<std::size_t>(n));
            return codePage_.Decode({reinterpret_cast<const char*>(bytes.data()), bytes.size()});
        }
        default:
            Invalid(tag);
    }
}

std::string FormReader::TakeIdentifier() {
    const std::uint8_t tag = TakeTag();
    switch (tag & 0x7F) {
        case TagIdent:
            return TakeName();
        case TagFalse:
            return "False";
        case TagTrue:
            return "True";
        case TagNil:
            return "nil";
        case TagNull:
            return "Null";
        default:
            Invalid(tag);
    }
}

bool FormReader::TakeBoolean() {
    return TakeTag() == TagTrue;
}

ByteSpan FormReader::TakeBinaryPayload() {
    const std::int32_t n = TakeCount();
    if (n <= 0) return {};
    return TakeView(static_cast<std::size_t>(n));
}

std::vector<std::uint8_t> FormReader::TakeBinary() {
    const std::uint8_t tag = TakeTag();
    if (tag != TagBinary) Invalid(tag);
    const ByteSpan data = TakeBinaryPayload();
    return {data.begin(), data.end()};
}

void FormReader::SkipOneValue() {
    SkipValue(0);
}

void FormReader::SkipValue(int depth) {
    if (depth > MaxNestingDepth) throw EReadError("Invalid property value: values nested too deeply");
    const std::uint8_t tag = TakeTag() & 0x7F;
    switch (tag) {
        case TagList:
            while (PeekTag() != TagNull)
                SkipValue(depth + 1);
            ++cur_;
            break;
        case TagInt8:
            SkipBytes(1);
            break;
        case TagInt16:
            SkipBytes(2);
            break;
        case TagInt32:
        case TagSingle:
            SkipBytes(4);
            break;
        case TagExtended:
            SkipBytes(10);
            break;
        case TagCurrency:
        case TagDate:
        case TagInt64:
        case TagDouble:
            SkipBytes(8);
            break;
        case TagShortString:
        case TagIdent:
            SkipBytes(TakeTag());
            break;
        case TagBinary: {
            const std::int32_t n = TakeCount();
            if (n > 0) SkipBytes(n);
            break;
        }
        case TagSet:
            for (std::uint8_t n = TakeTag(); n != 0; n = TakeTag())
                SkipBytes(n);
            break;
        case TagLongString:
        case TagUtf8String:
            SkipBytes(TakeCount());
            break;
        case TagWideString:
            SkipBytes(2 * static_cast<std::int64_t>(TakeCount()));
            break;
        case TagCollection:
            while (PeekTag() != TagNull) {
                const std::uint8_t index = PeekTag();
                if (index == TagInt8 || index == TagInt16 || index == TagInt32) SkipValue(depth + 1);
                TakeTag();  // the item's list tag
                while (PeekTag() != TagNull) {
                    SkipBytes(TakeTag());  // property name
                    SkipValue(depth + 1);
                }
                ++cur_;
            }
            ++cur_;
            break;
        default:
            // Null, False, True, nil and bytes that are no tag carry no payload.
            break;
    }
}

}  // namespace fw
