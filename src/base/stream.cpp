#include "stream.h"

#include <stdio.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <utility>

#include "errors.h"

namespace fw {

namespace {

std::string SystemReason() {
    return std::strerror(errno);
}

}  // namespace

void Stream::ReadExact(void* buffer, std::size_t n) {
    // Streams may deliver less than asked for before their end; keep reading.
    auto* p = static_cast<std::uint8_t*>(buffer);
    while (n > 0) {
        const std::size_t got = Read(p, n);
        if (got == 0) throw EReadError("Stream read error");
        p += got;
        n -= got;
    }
}

Bytes Stream::ReadToEnd(std::size_t reserveExtra) {
    Bytes out;
    const std::int64_t remaining = Remaining();
    out.reserve(static_cast<std::size_t>(std::max<std::int64_t>(remaining, 0)) + reserveExtra);
    if (const ByteSpan view = ContiguousRemainder(); !view.empty()) {
        out.assign(view.begin(), view.end());
        Seek(Size());
        return out;
    }
    std::uint8_t block[65536];
    for (;;) {
        const std::size_t got = Read(block, sizeof block);
        if (got == 0) break;
        out.insert(out.end(), block, block + got);
    }
    return out;
}

// MemoryStream

std::size_t MemoryStream::Read(void* buffer, std::size_t n) {
    const std::size_t available = position_ < data_.size() ? data_.size() - position_ : 0;
    if (n > available) n = available;
    if (n > 0) std::memcpy(buffer, data_.data() + position_, n);
    position_ += n;
    return n;
}

void MemoryStream::Write(const void* buffer, std::size_t n) {
    if (n == 0) return;
    const auto* bytes = static_cast<const std::uint8_t*>(buffer);
    if (position_ == data_.size()) {
        data_.insert(data_.end(), bytes, bytes + n);
    } else {
        if (position_ + n > data_.size()) data_.resize(position_ + n);
        std::memcpy(data_.data() + position_, bytes, n);
    }
    position_ += n;
}

void MemoryStream::Seek(std::int64_t position) {
    if (position < 0 || position > Size()) throw EStreamError("Stream seek error");
    position_ = static_cast<std::size_t>(position);
}

ByteSpan MemoryStream::ContiguousRemainder() const {
    return ByteSpan(data_).subspan(position_);
}

Bytes MemoryStream::Take() {
    Bytes out = std::move(data_);
    data_.clear();
    position_ = 0;
    return out;
}

// ByteViewStream

std::size_t ByteViewStream::Read(void* buffer, std::size_t n) {
    const std::size_t available = bytes_.size() - position_;
    if (n > available) n = available;
    if (n > 0) std::memcpy(buffer, bytes_.data() + position_, n);
    position_ += n;
    return n;
}

void ByteViewStream::Write(const void*, std::size_t) {
    throw EStreamError("Stream write error: the stream is read-only");
}

void ByteViewStream::Seek(std::int64_t position) {
    if (position < 0 || position > Size()) throw EStreamError("Stream seek error");
    position_ = static_cast<std::size_t>(position);
}

// FileStream

FileStream::FileStream(const std::string& path, Mode mode) : path_(path) {
    file_ = std::fopen(path.c_str(), mode == Mode::Read ? "rb" : "wb");
    if (!file_) throw EStreamError("Cannot open file " + path + ": " + SystemReason());
}

FileStream::~FileStream() {
    if (file_) std::fclose(file_);
}

std::size_t FileStream::Read(void* buffer, std::size_t n) {
    if (!file_) return 0;
    const std::size_t got = std::fread(buffer, 1, n, file_);
    // A failing disk must not look like the end of the file.
    if (got < n && std::ferror(file_))
        throw EStreamError("Cannot read file " + path_ + ": " + SystemReason());
    return got;
}

void FileStream::Write(const void* buffer, std::size_t n) {
    if (!file_ || std::fwrite(buffer, 1, n, file_) != n)
        throw EStreamError("Stream write error: " + path_ + ": " + SystemReason());
}

std::int64_t FileStream::Position() const {
    return file_ ? ftello(file_) : 0;
}

void FileStream::Seek(std::int64_t position) {
    if (!file_ || position < 0 || position > Size() || fseeko(file_, position, SEEK_SET) != 0)
        throw EStreamError("Stream seek error");
}

std::int64_t FileStream::Size() const {
    if (!file_) return 0;
    std::fflush(file_);
    struct stat st {};
    if (fstat(fileno(file_), &st) != 0) return 0;
    return st.st_size;
}

void FileStream::Close() {
    if (!file_) return;
    const bool ok = std::fflush(file_) == 0;
    const bool closed = std::fclose(file_) == 0;
    file_ = nullptr;
    if (!ok || !closed) throw EStreamError("Stream write error: " + path_ + ": " + SystemReason());
}

// Whole files

Bytes ReadFileBytes(const std::string& path) {
    FileStream file(path, FileStream::Mode::Read);
    struct stat st {};
    if (stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode))
        throw EStreamError("Cannot open file " + path + ": Is a directory");
    Bytes out;
    std::uint8_t block[65536];
    for (;;) {
        const std::size_t n = file.Read(block, sizeof block);
        out.insert(out.end(), block, block + n);
        if (n < sizeof block) break;
    }
    return out;
}

}  // namespace fw
