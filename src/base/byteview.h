#pragma once
// Bounds-checked little-endian reads over bytes someone else owns. Every offset and
// length taken from a PE file goes through a ByteView: a read that would reach outside
// the bytes throws EOutsideImage before touching memory, so a damaged or hostile file
// can end a step of the reader but never make it read what is not there.

#include <cstddef>
#include <cstdint>
#include <string>

#include "base/errors.h"
#include "base/stream.h"

namespace fw {

// Little-endian loads from memory the caller has already checked holds the bytes: the
// one set every reader of stored integers uses, the bounds-checked ByteView below and
// the readers that check a whole record once and then take its fields.
constexpr std::uint16_t LoadLe16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}
constexpr std::uint32_t LoadLe32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
constexpr std::uint64_t LoadLe64(const std::uint8_t* p) {
    return LoadLe32(p) | (std::uint64_t{LoadLe32(p + 4)} << 32);
}
// Big-endian, for the image headers that store their sizes so.
constexpr std::uint16_t LoadBe16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>((p[0] << 8) | p[1]);
}
constexpr std::uint32_t LoadBe32(const std::uint8_t* p) {
    return (static_cast<std::uint32_t>(p[0]) << 24) | (static_cast<std::uint32_t>(p[1]) << 16) |
           (static_cast<std::uint32_t>(p[2]) << 8) | static_cast<std::uint32_t>(p[3]);
}

// A reference in a PE file points outside the bytes it must lie in. The reader catches
// it at the end of the step that followed the reference.
class EOutsideImage : public fw::Exception {
public:
    using fw::Exception::Exception;
};

class ByteView {
public:
    ByteView() = default;
    explicit ByteView(ByteSpan bytes) : bytes_(bytes) {}

    std::size_t Size() const { return bytes_.size(); }
    const std::uint8_t* Data() const { return bytes_.data(); }
    ByteSpan Span() const { return bytes_; }

    // True when [offset, offset + length) lies inside the bytes; overflow-safe.
    bool Contains(std::uint64_t offset, std::uint64_t length) const {
        return offset <= bytes_.size() && length <= bytes_.size() - offset;
    }

    std::uint8_t U8(std::uint64_t offset) const { return *At(offset, 1); }
    std::uint16_t U16(std::uint64_t offset) const { return LoadLe16(At(offset, 2)); }
    std::uint32_t U32(std::uint64_t offset) const { return LoadLe32(At(offset, 4)); }
    std::uint64_t U64(std::uint64_t offset) const { return LoadLe64(At(offset, 8)); }

    // The bytes [offset, offset + length); throws EOutsideImage when they are not all there.
    ByteSpan Slice(std::uint64_t offset, std::uint64_t length) const {
        return ByteSpan(At(offset, length), static_cast<std::size_t>(length));
    }
    // The bytes from offset to the end; empty when offset lies at or past the end.
    ByteView From(std::uint64_t offset) const {
        if (offset >= bytes_.size()) return ByteView(ByteSpan(bytes_.data() + bytes_.size(), 0));
        return ByteView(bytes_.subspan(static_cast<std::size_t>(offset)));
    }

private:
    const std::uint8_t* At(std::uint64_t offset, std::uint64_t length) const {
        if (!Contains(offset, length)) {
            throw EOutsideImage("Reference outside the image: " + std::to_string(length) +
                                " bytes at offset " + std::to_string(offset) + " of " +
                                std::to_string(bytes_.size()));
        }
        return bytes_.data() + offset;
    }

    ByteSpan bytes_;
};

}  // namespace fw
