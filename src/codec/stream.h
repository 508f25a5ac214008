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

// What WriteFileAtomically may do with what is already at the target path.
struct WriteOptions {
    // When not empty and the target exists, the replaced content is kept under this name.
    std::string BackupPath;
    // False: nothing already at the path (file, link, anything) is ever replaced; the
    // write fails with "File exists", checked atomically with the final rename.
    bool ReplaceExisting = true;
    // True: a symbolic link at the path is written through to the file it names and
    // stays a link (the editor's rule for the user's own document). False: the link is
    // never followed; the new file takes the link's own place.
    bool FollowLink = true;
};

// Writes a file so that it is complete or untouched: the data goes to a temporary
// file beside the target, is flushed to disk and renamed over the target, keeping
// the target's permissions. Concurrent writers of one existing target (in this process
// or others) are serialised by an exclusive advisory lock (flock) on it. Temporary
// files of the same target left by a killed save (older than this process and no
// longer locked by their writer) are removed on the way. Throws EStreamError on
// failure, leaving the target as it was.
void WriteFileAtomically(const std::string& path, ByteSpan data, const WriteOptions& options);
// The same with only a backup path (empty for none): an existing target is replaced
// and a symbolic link is written through.
void WriteFileAtomically(const std::string& path, ByteSpan data, const std::string& backupPath = {});

// A file read and then replaced as one step. The constructor opens the file (through a
// symbolic link), waits for the same exclusive lock WriteFileAtomically takes, and
// reads the file whole; when another writer replaced the file while this one waited,
// the new file is locked and read instead. So two runs that convert one file at once
// take turns, and each sees what the other wrote. The lock is held until destruction.
class LockedFile {
public:
    // Throws EStreamError "Cannot open file <path>: <reason>".
    explicit LockedFile(const std::string& path);
    ~LockedFile();
    LockedFile(const LockedFile&) = delete;
    LockedFile& operator=(const LockedFile&) = delete;

    // The bytes read under the lock.
    const Bytes& Content() const { return content_; }
    // Replaces the file with data as WriteFileAtomically does, with the lock still held.
    // A backup, when backupPath is not empty, holds exactly Content().
    void Replace(ByteSpan data, const std::string& backupPath);

private:
    std::string path_;
    int fd_ = -1;
    Bytes content_;
    std::int64_t readSeconds_ = 0;  // the file's modification time when it was read
    std::int64_t readNanoseconds_ = 0;
};

// The points of WriteFileAtomically at which a test may interrupt a save.
enum class SaveStep {
    TemporaryWritten,  // the temporary file is complete and flushed; nothing else has changed
    AboutToRename,     // the backup, when asked for, is kept; replacing the target comes next
};
// For tests only: sets a function that WriteFileAtomically calls at each SaveStep, so
// that a test can kill or stop the process there. Null (the default) calls nothing.
void SetSaveStepHookForTests(void (*hook)(SaveStep));

}  // namespace fw
