#include "atomicfile.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <limits>
#include <optional>
#include <random>
#include <string_view>

#include "errors.h"

namespace fw {

namespace {

std::string SystemReason() {
    return std::strerror(errno);
}

void (*saveStepHook)(SaveStep) = nullptr;

void ReachSaveStep(SaveStep step) {
    if (saveStepHook) saveStepHook(step);
}

}  // namespace

void SetSaveStepHookForTests(void (*hook)(SaveStep)) {
    saveStepHook = hook;
}

namespace {

namespace fs = std::filesystem;

// A descriptor closed on every way out of a scope.
class Descriptor {
public:
    explicit Descriptor(int fd = -1) : fd_(fd) {}
    ~Descriptor() { Reset(); }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;

    int Get() const { return fd_; }
    void Reset(int fd = -1) {
        if (fd_ >= 0) ::close(fd_);
        fd_ = fd;
    }

private:
    int fd_;
};

int FlockRetrying(int fd, int operation) {
    int rc;
    while ((rc = ::flock(fd, operation)) != 0 && errno == EINTR) {
    }
    return rc;
}

// Opens an existing file for reading and waits for an exclusive advisory lock on it.
// A writer that held the lock has usually renamed a new file over the path by the time
// the lock is granted, so the lock is taken again on whatever the path names then.
// Where the file system has no locks the file is returned unlocked. Returns -1 with
// errno set when the file cannot be opened. O_NONBLOCK keeps a FIFO from stalling the
// open; it does nothing to regular files.
int OpenLocked(const std::string& path) {
    for (;;) {
        const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
        if (fd < 0) return -1;
        struct stat held {};
        if (::fstat(fd, &held) != 0 || !S_ISREG(held.st_mode) || FlockRetrying(fd, LOCK_EX) != 0) return fd;
        struct stat named {};
        if (::stat(path.c_str(), &named) == 0 && named.st_dev == held.st_dev && named.st_ino == held.st_ino)
            return fd;
        ::close(fd);
    }
}

// Temporary files of a target are named "." + name + ".tmp" + up to six digits. A name
// too long to take that suffix within the file system's limit gets a shorter stem: its
// first bytes (cut at a UTF-8 character boundary), "~" and a hash of the whole name, so
// that every temporary of one target still shares one stem.
constexpr std::string_view TemporaryMark = ".tmp";
constexpr std::size_t TemporaryDigits = 6;

std::string TemporaryStem(const std::string& name, const fs::path& dir) {
    long limit = ::pathconf(dir.c_str(), _PC_NAME_MAX);
    if (limit <= 0) limit = 255;
    const auto nameMax = static_cast<std::size_t>(limit);
    const std::size_t suffix = TemporaryMark.size() + TemporaryDigits;
    if (1 + name.size() + suffix <= nameMax) return "." + name;

    std::uint64_t hash = 14695981039346656037ull;  // 64-bit FNV-1a
    for (const char c : name) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 1099511628211ull;
    }
    static constexpr char Hex[] = "0123456789abcdef";
    std::string tail = "~";
    for (int shift = 60; shift >= 0; shift -= 4)
        tail += Hex[(hash >> shift) & 0xF];
    const std::size_t fixed = 1 + tail.size() + suffix;
    std::size_t keep = nameMax > fixed ? std::min(name.size(), nameMax - fixed) : 0;
    while (keep > 0 && (static_cast<unsigned char>(name[keep]) & 0xC0) == 0x80)
        --keep;
    return "." + name.substr(0, keep) + tail;
}

bool IsTemporaryOf(std::string_view entry, std::string_view stem) {
    if (!entry.starts_with(stem)) return false;
    entry.remove_prefix(stem.size());
    if (!entry.starts_with(TemporaryMark)) return false;
    entry.remove_prefix(TemporaryMark.size());
    return !entry.empty() && entry.size() <= TemporaryDigits &&
           std::all_of(entry.begin(), entry.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::chrono::nanoseconds SinceEpoch(const timespec& t) {
    return std::chrono::seconds(t.tv_sec) + std::chrono::nanoseconds(t.tv_nsec);
}

// How long this process has been running: the boot-time clock now less the start time
// the kernel keeps in clock ticks. The tick cuts the start time down, so the age comes
// out slightly long, never short. Nothing when /proc cannot tell.
std::optional<std::chrono::nanoseconds> ProcessAge() {
    std::FILE* file = std::fopen("/proc/self/stat", "re");
    if (!file) return std::nullopt;
    char buffer[1024];
    const std::size_t got = std::fread(buffer, 1, sizeof buffer - 1, file);
    std::fclose(file);
    const std::string_view text(buffer, got);
    // The command name in parentheses may hold spaces; the fields after it are plain.
    // The start time is the 22nd field, the 20th after the name.
    const std::size_t close = text.rfind(')');
    if (close == std::string_view::npos) return std::nullopt;
    std::string_view rest = text.substr(close + 1);
    std::string_view field;
    for (int index = 0; index < 20; ++index) {
        const std::size_t begin = rest.find_first_not_of(' ');
        if (begin == std::string_view::npos) return std::nullopt;
        rest.remove_prefix(begin);
        const std::size_t end = std::min(rest.find(' '), rest.size());
        field = rest.substr(0, end);
        rest.remove_prefix(end);
    }
    unsigned long long ticks = 0;
    if (std::from_chars(field.data(), field.data() + field.size(), ticks).ec != std::errc())
        return std::nullopt;
    const long perSecond = ::sysconf(_SC_CLK_TCK);
    timespec boot{};
    if (perSecond <= 0 || ::clock_gettime(CLOCK_BOOTTIME, &boot) != 0) return std::nullopt;
    const auto started = std::chrono::nanoseconds(
        static_cast<std::int64_t>(ticks / static_cast<unsigned long long>(perSecond)) * 1000000000 +
        static_cast<std::int64_t>(ticks % static_cast<unsigned long long>(perSecond)) * 1000000000 /
            perSecond);
    return SinceEpoch(boot) - started;
}

// Removes the temporary files of one stem that a killed save left: last written before
// this process started, and not locked, so no running save can still be writing them
// (a save locks its temporary from creation until the rename).
void RemoveStaleTemporaries(const fs::path& dir, const std::string& stem) {
    const std::optional<std::chrono::nanoseconds> age = ProcessAge();
    if (!age) return;
    timespec now{};
    if (::clock_gettime(CLOCK_REALTIME, &now) != 0) return;
    std::error_code error;
    for (fs::directory_iterator it(dir.empty() ? fs::path(".") : dir, error), end; !error && it != end;
         it.increment(error)) {
        const std::string name = it->path().filename().string();
        if (!IsTemporaryOf(name, stem)) continue;
        const Descriptor fd(::open(it->path().c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK));
        struct stat st {};
        if (fd.Get() < 0 || ::fstat(fd.Get(), &st) != 0 || !S_ISREG(st.st_mode)) continue;
        if (SinceEpoch(now) - SinceEpoch(st.st_mtim) <= *age) continue;
        if (::flock(fd.Get(), LOCK_EX | LOCK_NB) != 0) continue;
        ::unlink(it->path().c_str());
    }
}

// Creates a new temporary file for the stem in dir, locked for as long as it is open.
// Returns its descriptor, or -1 with errno set.
int CreateTemporary(const fs::path& dir, const std::string& stem, std::string& tempPath) {
    std::random_device rd;
    for (int attempt = 0; attempt < 16; ++attempt) {
        std::string digits = std::to_string(rd() % 1000000);
        digits.insert(0, TemporaryDigits - digits.size(), '0');
        tempPath = (dir / (stem + std::string(TemporaryMark) + digits)).string();
        const int fd = ::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd >= 0) {
            FlockRetrying(fd, LOCK_EX);
            return fd;
        }
        if (errno != EEXIST) return -1;
    }
    return -1;
}

bool WriteAll(int fd, ByteSpan data) {
    const std::uint8_t* p = data.data();
    std::size_t left = data.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, left);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        p += n;
        left -= static_cast<std::size_t>(n);
    }
    return true;
}

fs::path FolderOf(const fs::path& file) {
    return file.has_parent_path() ? file.parent_path() : fs::path(".");
}

// The file a LockedFile holds, for the backup taken while replacing it.
struct HeldFile {
    int Fd;
    const Bytes& Content;
    std::int64_t Size;
    timespec Modified;
};

// Keeps the target's current content under backupPath, replacing an older backup in
// one step: the new backup is made under a temporary name and renamed over the old one.
// It is a hard link to the file being replaced where links are possible (to the very
// file a lock holds, when held is given), else a copy. A held file that changed since
// it was read (a writer that takes no lock) is backed up from the bytes read instead.
// Returns false with errno set on failure; nothing is left behind then.
bool KeepBackup(const std::string& target, const std::string& backupPath, const HeldFile* held) {
    const fs::path backup(backupPath);
    const fs::path dir = FolderOf(backup);
    const std::string stem = TemporaryStem(backup.filename().string(), dir);
    RemoveStaleTemporaries(dir, stem);

    bool linkable = true;
    if (held) {
        struct stat now {};
        linkable = ::fstat(held->Fd, &now) == 0 && now.st_size == held->Size &&
                   now.st_mtim.tv_sec == held->Modified.tv_sec &&
                   now.st_mtim.tv_nsec == held->Modified.tv_nsec;
    }
    std::string tempPath;
    if (linkable) {
        // A linked name is reserved by linking to it, so the random names are tried
        // here as CreateTemporary tries them.
        const std::string source = held ? "/proc/self/fd/" + std::to_string(held->Fd) : target;
        const int flags = held ? AT_SYMLINK_FOLLOW : 0;
        std::random_device rd;
        bool linked = false;
        for (int attempt = 0; attempt < 16 && !linked; ++attempt) {
            std::string digits = std::to_string(rd() % 1000000);
            digits.insert(0, TemporaryDigits - digits.size(), '0');
            tempPath = (dir / (stem + std::string(TemporaryMark) + digits)).string();
            linked = ::linkat(AT_FDCWD, source.c_str(), AT_FDCWD, tempPath.c_str(), flags) == 0;
            if (!linked && errno != EEXIST) break;
        }
        if (!linked) tempPath.clear();
    }
    if (tempPath.empty()) {
        // A copy: of the bytes read when a lock holds the file, else of the file itself.
        const Descriptor temp(CreateTemporary(dir, stem, tempPath));
        if (temp.Get() < 0) return false;
        bool copied = false;
        if (held) {
            copied = WriteAll(temp.Get(), held->Content);
        } else {
            std::error_code error;
            fs::copy_file(target, tempPath, fs::copy_options::overwrite_existing, error);
            copied = !error;
            if (error) errno = error.value();
        }
        if (!copied || ::fsync(temp.Get()) != 0) {
            const int saved = errno;
            ::unlink(tempPath.c_str());
            errno = saved;
            return false;
        }
    }
    if (::rename(tempPath.c_str(), backupPath.c_str()) != 0) {
        const int saved = errno;
        ::unlink(tempPath.c_str());
        errno = saved;
        return false;
    }
    return true;
}

// Moves the finished temporary file to the target. Without replace the target must not
// exist: RENAME_NOREPLACE checks that in the same step, and where the file system lacks
// it a hard link does (it fails on an existing name too).
bool MoveIntoPlace(const std::string& tempPath, const std::string& target, bool replace) {
    if (replace) return ::rename(tempPath.c_str(), target.c_str()) == 0;
    if (::renameat2(AT_FDCWD, tempPath.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) == 0) return true;
    if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP) return false;
    if (::link(tempPath.c_str(), target.c_str()) != 0) return false;
    ::unlink(tempPath.c_str());
    return true;
}

void ReplaceFile(const std::string& path, ByteSpan data, const WriteOptions& options, const HeldFile* held) {
    // Through a symbolic link the file it points to is written, and the link stays,
    // unless the link itself is to be replaced.
    std::string resolvedPath = path;
    if (options.FollowLink) {
        if (char* real = ::realpath(path.c_str(), nullptr)) {
            resolvedPath = real;
            std::free(real);
        }
    }
    const fs::path target(resolvedPath);
    const fs::path dir = FolderOf(target);

    struct stat existing {};
    const bool exists = ::lstat(resolvedPath.c_str(), &existing) == 0;
    if (exists && !options.ReplaceExisting) {
        errno = EEXIST;
        throw EStreamError("Cannot create file " + path + ": " + SystemReason());
    }
    // Writers of one existing file take turns; a LockedFile already holds the lock.
    Descriptor lock;
    if (exists && S_ISREG(existing.st_mode) && !held) lock.Reset(OpenLocked(resolvedPath));

    const std::string stem = TemporaryStem(target.filename().string(), dir);
    RemoveStaleTemporaries(dir, stem);

    std::string tempPath;
    Descriptor temp(CreateTemporary(dir, stem, tempPath));
    if (temp.Get() < 0) throw EStreamError("Cannot create file " + path + ": " + SystemReason());

    auto fail = [&](const std::string& what) {
        const std::string reason = SystemReason();
        ::unlink(tempPath.c_str());
        throw EStreamError(what + path + ": " + reason);
    };

    if (!WriteAll(temp.Get(), data)) fail("Cannot write file ");
    // Keep the permissions of the file being replaced; a new file, or one that takes a
    // link's place, gets the usual permissions of the user's umask.
    if (exists && S_ISREG(existing.st_mode)) {
        if (::fchmod(temp.Get(), existing.st_mode & 07777) != 0) fail("Cannot write file ");
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        if (::fchmod(temp.Get(), 0666 & ~mask) != 0) fail("Cannot write file ");
    }
    if (::fsync(temp.Get()) != 0) fail("Cannot write file ");
    ReachSaveStep(SaveStep::TemporaryWritten);

    if (!options.BackupPath.empty() && exists) {
        if (!KeepBackup(resolvedPath, options.BackupPath, held)) fail("Cannot write backup of ");
    }
    ReachSaveStep(SaveStep::AboutToRename);
    // The temporary stays open, and so locked, until it has its final name: a save that
    // starts meanwhile must not take it for one a killed save left.
    if (!MoveIntoPlace(tempPath, resolvedPath, options.ReplaceExisting)) fail("Cannot write file ");
    temp.Reset();
    // Make the rename itself durable.
    const Descriptor dirFd(::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dirFd.Get() >= 0) ::fsync(dirFd.Get());
}

}  // namespace

void WriteFileAtomically(const std::string& path, ByteSpan data, const WriteOptions& options) {
    ReplaceFile(path, data, options, nullptr);
}

void WriteFileAtomically(const std::string& path, ByteSpan data, const std::string& backupPath) {
    WriteOptions options;
    options.BackupPath = backupPath;
    ReplaceFile(path, data, options, nullptr);
}

// LockedFile

LockedFile::LockedFile(const std::string& path) : path_(path) {
    fd_ = OpenLocked(path);
    if (fd_ < 0) throw EStreamError("Cannot open file " + path + ": " + SystemReason());
    struct stat st {};
    if (::fstat(fd_, &st) != 0 || !S_ISREG(st.st_mode)) {
        const bool folder = S_ISDIR(st.st_mode);
        ::close(fd_);
        fd_ = -1;
        throw EStreamError("Cannot open file " + path + ": " +
                           (folder ? "Is a directory" : "Not a regular file"));
    }
    std::uint8_t block[65536];
    for (;;) {
        const ssize_t n = ::read(fd_, block, sizeof block);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            const std::string reason = SystemReason();
            ::close(fd_);
            fd_ = -1;
            throw EStreamError("Cannot read file " + path + ": " + reason);
        }
        if (n == 0) break;
        content_.insert(content_.end(), block, block + n);
    }
    // The time of the content read, so that the backup can tell whether a writer that
    // ignores the lock changed the file since.
    if (::fstat(fd_, &st) == 0) {
        readSeconds_ = st.st_mtim.tv_sec;
        readNanoseconds_ = st.st_mtim.tv_nsec;
    }
}

LockedFile::~LockedFile() {
    if (fd_ >= 0) ::close(fd_);
}

void LockedFile::Replace(ByteSpan data, const std::string& backupPath) {
    timespec modified{};
    modified.tv_sec = static_cast<time_t>(readSeconds_);
    modified.tv_nsec = static_cast<long>(readNanoseconds_);
    const HeldFile held{fd_, content_, static_cast<std::int64_t>(content_.size()), modified};
    WriteOptions options;
    options.BackupPath = backupPath;
    ReplaceFile(path_, data, options, &held);
}

}  // namespace fw
