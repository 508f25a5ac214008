#pragma once
// A small seekable byte-stream abstraction for the codec: memory, read-only views
// over bytes the caller owns, and files. Reads return what is there (short at the
// end); writes either write everything or throw EStreamError.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <span>
#include <string>
#include <vector>

namespace fw {

using Bytes = std::vector<std::uint8_t>;
using ByteSpan = std::span<const std::uint8_t>;

class Stream {
public:
    virtual ~Stream() = default;
    Stream() = default;
    Stream(const Stream&) = delete;
    Stream& operator=(const Stream&) = delete;

    // Reads up to n bytes into buffer; returns how many were read (0 at the end).
    virtual std::size_t Read(void* buffer, std::size_t n) = 0;
    // Writes all n bytes or throws EStreamError.
    virtual void Write(const void* buffer, std::size_t n) = 0;
    virtual std::int64_t Position() const = 0;
    // Moves to an absolute position in 0..Size(); throws EStreamError otherwise.
    virtual void Seek(std::int64_t position) = 0;
    virtual std::int64_t Size() const = 0;

    // The bytes from the current position to the end, when the stream holds them in
    // memory; an empty span otherwise. Lets readers scan memory without copying.
    virtual ByteSpan ContiguousRemainder() const { return {}; }
    virtual bool IsContiguous() const { return false; }
    // A hint that about n more bytes are going to be written; memory streams make room
    // for them at once instead of growing step by step.
    virtual void ExpectWrite(std::size_t n) { (void)n; }

    std::int64_t Remaining() const { return Size() - Position(); }
    // Reads exactly n bytes or throws EReadError "Stream read error".
    void ReadExact(void* buffer, std::size_t n);
    // Reads everything from the current position to the end; reserveExtra bytes of
    // capacity are kept free behind the data for the caller.
    Bytes ReadToEnd(std::size_t reserveExtra = 0);
};

// A growable in-memory stream.
class MemoryStream final : public Stream {
public:
    MemoryStream() = default;
    explicit MemoryStream(Bytes data) : data_(std::move(data)) {}

    std::size_t Read(void* buffer, std::size_t n) override;
    void Write(const void* buffer, std::size_t n) override;
    std::int64_t Position() const override { return static_cast<std::int64_t>(position_); }
    void Seek(std::int64_t position) override;
    std::int64_t Size() const override { return static_cast<std::int64_t>(data_.size()); }
    ByteSpan ContiguousRemainder() const override;
    bool IsContiguous() const override { return true; }
    void ExpectWrite(std::size_t n) override { data_.reserve(position_ + n); }

    const Bytes& Data() const { return data_; }
    // Hands the bytes over and leaves the stream empty.
    Bytes Take();
    void Reserve(std::size_t n) { data_.reserve(n); }

private:
    Bytes data_;
    std::size_t position_ = 0;
};

// A read-only stream over bytes owned by someone else; they must outlive it.
class ByteViewStream final : public Stream {
public:
    explicit ByteViewStream(ByteSpan bytes) : bytes_(bytes) {}

    std::size_t Read(void* buffer, std::size_t n) override;
    void Write(const void* buffer, std::size_t n) override;  // always throws
    std::int64_t Position() const override { return static_cast<std::int64_t>(position_); }
    void Seek(std::int64_t position) override;
    std::int64_t Size() const override { return static_cast<std::int64_t>(bytes_.size()); }
    ByteSpan ContiguousRemainder() const override { return bytes_.subspan(position_); }
    bool IsContiguous() const override { return true; }

private:
    ByteSpan bytes_;
    std::size_t position_ = 0;
};

// A file opened for reading or for writing (created or truncated).
class FileStream final : public Stream {
public:
    enum class Mode { Read, Create };
    // Throws EStreamError "Cannot open file <path>: <reason>".
    FileStream(const std::string& path, Mode mode);
    ~FileStream() override;

    std::size_t Read(void* buffer, std::size_t n) override;
    void Write(const void* buffer, std::size_t n) override;
    std::int64_t Position() const override;
    void Seek(std::int64_t position) override;
    std::int64_t Size() const override;
    // Flushes buffered output and closes; throws when the data could not be written.
    void Close();

private:
    std::FILE* file_ = nullptr;
    std::string path_;
};

// Reads a whole file; throws EStreamError with the reason.
Bytes ReadFileBytes(const std::string& path);

}  // namespace fw
