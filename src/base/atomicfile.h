#pragma once
// Saving a file so that it is either complete or untouched, and reading then replacing
// a file as one locked step. Every writer of the user's files goes through here, so the
// backup rule, the locking and the error messages are the same everywhere.

#include <cstdint>
#include <string>

#include "stream.h"

namespace fw {

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
