#include "peimage/fileview.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <limits>
#include <new>

namespace fw::pe {

namespace {

// Closes a descriptor on every path out of Open.
class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int Get() const { return fd_; }

private:
    int fd_;
};

void SetReason(std::string* why, const std::string& reason) {
    if (why) *why = reason;
}

}  // namespace

std::unique_ptr<FileView> FileView::Open(const std::string& path, std::string* why) {
    // O_NONBLOCK keeps the open itself from waiting on a FIFO without a writer; the
    // type check below refuses such files before anything is read.
    const Descriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
    if (fd.Get() < 0) {
        SetReason(why, std::strerror(errno));
        return nullptr;
    }
    struct stat info {};
    if (::fstat(fd.Get(), &info) != 0) {
        SetReason(why, std::strerror(errno));
        return nullptr;
    }
    if (!S_ISREG(info.st_mode)) {
        SetReason(why, S_ISDIR(info.st_mode) ? std::strerror(EISDIR) : "Not a regular file");
        return nullptr;
    }
    if (info.st_size < 0 ||
        static_cast<std::uint64_t>(info.st_size) > std::numeric_limits<std::size_t>::max() / 2) {
        SetReason(why, std::strerror(EFBIG));
        return nullptr;
    }
    const auto length = static_cast<std::size_t>(info.st_size);

    std::unique_ptr<FileView> view(new FileView());
    if (length == 0) return view;  // an empty file maps to nothing and holds nothing

    void* mapping = ::mmap(nullptr, length, PROT_READ, MAP_PRIVATE, fd.Get(), 0);
    if (mapping != MAP_FAILED) {
        view->mapped_ = mapping;
        view->mappedLength_ = length;
        view->bytes_ = ByteSpan(static_cast<const std::uint8_t*>(mapping), length);
        return view;
    }

    // Some file systems cannot map files; read the file instead. Its size comes from the
    // file system, not from its content, and the read stops at the real end.
    try {
        view->copy_.resize(length);
    } catch (const std::bad_alloc&) {
        SetReason(why, std::strerror(ENOMEM));
        return nullptr;
    }
    std::size_t got = 0;
    while (got < length) {
        const ssize_t n = ::pread(fd.Get(), view->copy_.data() + got, length - got, static_cast<off_t>(got));
        if (n < 0) {
            if (errno == EINTR) continue;
            SetReason(why, std::strerror(errno));
            return nullptr;
        }
        if (n == 0) break;
        got += static_cast<std::size_t>(n);
    }
    view->copy_.resize(got);
    view->bytes_ = ByteSpan(view->copy_.data(), view->copy_.size());
    return view;
}

FileView::~FileView() {
    if (mapped_) ::munmap(mapped_, mappedLength_);
}

}  // namespace fw::pe
