#include "stream.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <limits>
#include <random>

#include "errors.h"

namespace fw {

namespace {

std::string SystemReason() { return std::strerror(errno); }

void (*saveStepHook)(SaveStep) = nullptr;

void ReachSaveStep(SaveStep step) {
    if (saveStepHook) saveStepHook(step);
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
    if (got < n && std::ferror(file_)) throw EStreamError("Cannot read file " + path_ + ": " + SystemReason());
    return got;
}

void FileStream::Write(const void* buffer, std::size_t n) {
    if (!file_ || std::fwrite(buffer, 1, n, file_) != n)
        throw EStreamError("Stream write error: " + path_ + ": " + SystemReason());
}

std::int64_t FileStream::Position() const { return file_ ? ftello(file_) : 0; }

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

void SetSaveStepHookForTests(void (*hook)(SaveStep)) { saveStepHook = hook; }

void WriteFileAtomically(const std::string& path, ByteSpan data, const std::string& backupPath) {
    namespace fs = std::filesystem;
    // Through a symbolic link the file it points to is written, and the link stays.
    std::string resolvedPath = path;
    if (char* real = ::realpath(path.c_str(), nullptr)) {
        resolvedPath = real;
        std::free(real);
    }
    const fs::path target(resolvedPath);
    const fs::path dir = target.has_parent_path() ? target.parent_path() : fs::path(".");

    // A unique temporary name beside the target, so the final rename stays on one file system.
    std::random_device rd;
    std::string tempPath;
    int fd = -1;
    for (int attempt = 0; attempt < 16 && fd < 0; ++attempt) {
        std::string leaf = ".";
        leaf += target.filename().string();
        leaf += ".tmp";
        leaf += std::to_string(rd() % 1000000);
        tempPath = (dir / leaf).string();
        fd = ::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST) break;
    }
    if (fd < 0) throw EStreamError("Cannot create file " + path + ": " + SystemReason());

    auto fail = [&](const std::string& what) {
        const std::string reason = SystemReason();
        if (fd >= 0) ::close(fd);
        ::unlink(tempPath.c_str());
        throw EStreamError(what + path + ": " + reason);
    };

    const std::uint8_t* p = data.data();
    std::size_t left = data.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, left);
        if (n < 0) {
            if (errno == EINTR) continue;
            fail("Cannot write file ");
        }
        p += n;
        left -= static_cast<std::size_t>(n);
    }

    // Keep the permissions of the file being replaced; a new file gets the usual
    // permissions of the user's umask.
    struct stat st {};
    if (::stat(resolvedPath.c_str(), &st) == 0) {
        if (::fchmod(fd, st.st_mode & 07777) != 0) fail("Cannot write file ");
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        if (::fchmod(fd, 0666 & ~mask) != 0) fail("Cannot write file ");
    }
    if (::fsync(fd) != 0) fail("Cannot write file ");
    if (::close(fd) != 0) {
        fd = -1;
        fail("Cannot write file ");
    }
    fd = -1;
    ReachSaveStep(SaveStep::TemporaryWritten);

    if (!backupPath.empty() && ::access(resolvedPath.c_str(), F_OK) == 0) {
        // The backup is a hard link to the old content when possible, so that the target
        // name never disappears; a copy otherwise.
        ::unlink(backupPath.c_str());
        if (::link(resolvedPath.c_str(), backupPath.c_str()) != 0) {
            std::error_code ec;
            fs::copy_file(resolvedPath, backupPath, fs::copy_options::overwrite_existing, ec);
            if (ec) {
                errno = ec.value();
                fail("Cannot write backup of ");
            }
        }
    }
    ReachSaveStep(SaveStep::AboutToRename);
    if (::rename(tempPath.c_str(), resolvedPath.c_str()) != 0) fail("Cannot write file ");
    // Make the rename itself durable.
    const int dirFd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
}

}  // namespace fw
