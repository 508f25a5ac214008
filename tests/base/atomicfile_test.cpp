// Saving under faults. A save that is killed part way, that runs out of room, that may
// not create files in its folder, or whose target is a symbolic link must leave the
// target holding either its complete old bytes or the complete new ones, must leave
// no temporary file behind (a killed process cannot remove its own: that one file is
// allowed, and must itself be complete), and must keep the backup rule: once a
// backup is made, it holds the old bytes; before that, an older backup is untouched.
//
// Faults that would otherwise hit the whole test program run in a forked child: the
// kill, the file-size limit, the private mount of a small file system and the drop to
// an unprivileged user all end with it.

#include <fcntl.h>
#include <grp.h>
#include <sched.h>
#include <sys/file.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "base/atomicfile.h"
#include "base/errors.h"
#include "base/stream.h"

namespace {

namespace fs = std::filesystem;

const std::string kOldText = "object Form1: TForm1\n  Caption = 'Old'\nend\n";
const std::string kOlderBackup = "object Form1: TForm1\n  Caption = 'Older'\nend\n";

// New text of about `lines` lines, large enough to cross a small size limit.
std::string NewText(int lines) {
    std::string text = "object Form1: TForm1\n  Caption = 'New'\n";
    for (int i = 0; i < lines; ++i)
        text += "  object Label" + std::to_string(i) + ": TLabel\n    Left = 8\n  end\n";
    return text + "end\n";
}

fw::ByteSpan AsBytes(const std::string& text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

void WriteText(const fs::path& path, const std::string& text, mode_t mode = 0644) {
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out << text;
        if (!out) throw std::runtime_error("cannot write " + path.string());
    }
    if (::chmod(path.c_str(), mode) != 0) throw std::runtime_error("cannot chmod " + path.string());
}

std::string ReadText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

// Sets a file's modification time to `age` before now.
void SetAge(const fs::path& path, std::chrono::seconds age) {
    timespec times[2] = {};
    ::clock_gettime(CLOCK_REALTIME, &times[0]);
    times[0].tv_sec -= static_cast<time_t>(age.count());
    times[1] = times[0];
    if (::utimensat(AT_FDCWD, path.c_str(), times, 0) != 0)
        throw std::runtime_error("cannot date " + path.string());
}

// A folder's contents, one entry per name: a file's bytes, "-> TARGET" for a symbolic
// link, "<folder>" for a folder. Comparing two of these shows every change at once.
using Listing = std::map<std::string, std::string>;

Listing List(const fs::path& dir) {
    Listing listing;
    for (const auto& entry : fs::directory_iterator(dir)) {
        const std::string name = entry.path().filename().string();
        if (entry.is_symlink())
            listing[name] = "-> " + fs::read_symlink(entry.path()).string();
        else if (entry.is_directory())
            listing[name] = "<folder>";
        else
            listing[name] = ReadText(entry.path());
    }
    return listing;
}

std::string Describe(const Listing& listing) {
    std::string out;
    for (const auto& [name, content] : listing) {
        std::string head = content.substr(0, 40);
        for (char& c : head)
            if (c == '\n') c = '|';
        out += "  " + name + " (" + std::to_string(content.size()) + " bytes): " + head + "\n";
    }
    return out.empty() ? "  (empty)\n" : out;
}

// Empty when the two listings agree; otherwise both, for the failure message.
std::string Compare(const Listing& expected, const Listing& actual) {
    if (expected == actual) return {};
    return "expected:\n" + Describe(expected) + "actual:\n" + Describe(actual);
}

// Removes the temporary files of saves of `targetName` from the listing and returns them.
Listing TakeTemporaries(Listing& listing, const std::string& targetName) {
    const std::string prefix = "." + targetName + ".tmp";
    Listing taken;
    for (auto it = listing.begin(); it != listing.end();) {
        if (it->first.rfind(prefix, 0) == 0) {
            taken.insert(*it);
            it = listing.erase(it);
        } else {
            ++it;
        }
    }
    return taken;
}

// A fresh folder under the system's temporary folder, open to every user so that a
// child that drops its privileges can still reach what is inside; removed afterwards,
// whatever permissions a test left on it.
class TempFolder {
public:
    TempFolder() {
        std::string pattern = (fs::temp_directory_path() / "fw-savefaults-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) throw std::runtime_error("cannot make a temporary folder");
        path_ = pattern;
        fs::permissions(path_, fs::perms(0755));
    }
    ~TempFolder() {
        std::error_code ignored;
        for (auto it = fs::recursive_directory_iterator(path_, ignored);
             it != fs::recursive_directory_iterator(); it.increment(ignored))
            if (it->is_directory(ignored) && !it->is_symlink(ignored))
                fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ignored);
        fs::remove_all(path_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    fs::path Make(const std::string& name, mode_t mode = 0755) const {
        const fs::path dir = path_ / name;
        fs::create_directories(dir);
        fs::permissions(dir, fs::perms(mode));
        return dir;
    }

private:
    fs::path path_;
};

// How a save attempt ended: "saved", or "failed: " and the error's message.
std::string TrySave(const fs::path& path, const std::string& text, const fs::path& backup = {}) {
    try {
        fw::WriteFileAtomically(path.string(), AsBytes(text), backup.string());
        return "saved";
    } catch (const fw::EStreamError& e) {
        return std::string("failed: ") + e.what();
    }
}

struct ChildResult {
    bool killedBySignal = false;
    int signal = 0;
    std::string report;  // what the child's body returned
};

// Runs body in a forked child and returns what it reported, or how it was killed.
ChildResult RunInChild(const std::function<std::string()>& body) {
    int fds[2];
    if (::pipe(fds) != 0) throw std::runtime_error("pipe failed");
    const pid_t pid = ::fork();
    if (pid < 0) throw std::runtime_error("fork failed");
    if (pid == 0) {
        ::close(fds[0]);
        std::string report;
        try {
            report = body();
        } catch (const std::exception& e) {
            report = std::string("exception: ") + e.what();
        }
        const char* p = report.data();
        std::size_t left = report.size();
        while (left > 0) {
            const ssize_t n = ::write(fds[1], p, left);
            if (n <= 0) break;
            p += n;
            left -= static_cast<std::size_t>(n);
        }
        ::_exit(0);
    }
    ::close(fds[1]);
    ChildResult result;
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(fds[0], buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        result.report.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fds[0]);
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (WIFSIGNALED(status)) {
        result.killedBySignal = true;
        result.signal = WTERMSIG(status);
    }
    return result;
}

// The step at which KillAtStep kills the process; set in the child before the save.
fw::SaveStep killStep = fw::SaveStep::TemporaryWritten;

void KillAtStep(fw::SaveStep step) {
    if (step == killStep) ::kill(::getpid(), SIGKILL);
}

// ---------------------------------------------------------------------------------

struct KillCase {
    const char* name;
    fw::SaveStep step;
    bool backup;
    bool throughLink;  // the save names a link in another folder that points to the form
};

TEST(SaveFaults, KilledBetweenTemporaryFileAndRenameLeavesTheOldFormWhole) {
    const KillCase cases[] = {
        {"temporary written, no backup", fw::SaveStep::TemporaryWritten, false, false},
        {"temporary written, backup asked", fw::SaveStep::TemporaryWritten, true, false},
        {"backup kept, rename next", fw::SaveStep::AboutToRename, true, false},
        {"backup kept, rename next, through a link", fw::SaveStep::AboutToRename, true, true},
    };
    const std::string newText = NewText(20);
    for (const KillCase& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder root;
        const fs::path forms = root.Make("forms");
        const fs::path links = root.Make("links");
        WriteText(forms / "Form1.dfm", kOldText, 0640);
        fs::path saveAs = forms / "Form1.dfm";
        if (c.throughLink) {
            fs::create_symlink("../forms/Form1.dfm", links / "Form1.dfm");
            saveAs = links / "Form1.dfm";
        }
        // The backup goes beside the name the save was given, as the editor does.
        const fs::path backup = c.backup ? saveAs.parent_path() / "Form1.~dfm" : fs::path();
        if (c.backup) WriteText(backup, kOlderBackup);
        const Listing formsBefore = List(forms);
        const Listing linksBefore = List(links);

        const ChildResult child = RunInChild([&] {
            killStep = c.step;
            fw::SetSaveStepHookForTests(KillAtStep);
            return TrySave(saveAs, newText, backup);
        });
        ASSERT_TRUE(child.killedBySignal) << "the save was not interrupted: " << child.report;
        ASSERT_EQ(child.signal, SIGKILL);

        // The form is untouched; the backup is the older one until the step that keeps
        // the old bytes under its name.
        Listing formsExpected = formsBefore;
        Listing linksExpected = linksBefore;
        if (c.backup && c.step == fw::SaveStep::AboutToRename)
            (c.throughLink ? linksExpected : formsExpected)["Form1.~dfm"] = kOldText;
        Listing formsAfter = List(forms);
        const Listing leftOver = TakeTemporaries(formsAfter, "Form1.dfm");
        EXPECT_EQ(Compare(formsExpected, formsAfter), "");
        EXPECT_EQ(Compare(linksExpected, List(links)), "");
        // The killed process's own temporary file stays, beside the real file, complete.
        ASSERT_EQ(leftOver.size(), 1u) << Describe(leftOver);
        EXPECT_EQ(leftOver.begin()->second, newText);

        // The next save goes through as usual and adds no temporary file of its own. It
        // runs in a process older than the killed save's temporary file, so it cannot
        // tell that file from one a running save is about to lock, and leaves it.
        EXPECT_EQ(TrySave(saveAs, newText, backup), "saved");
        Listing formsFinal = List(forms);
        EXPECT_EQ(TakeTemporaries(formsFinal, "Form1.dfm"), leftOver);
        EXPECT_EQ(formsFinal["Form1.dfm"], newText);
        if (c.backup) {
            EXPECT_EQ(ReadText(backup), kOldText);
        }
        if (c.throughLink) {
            EXPECT_TRUE(fs::is_symlink(saveAs));
        }
        EXPECT_EQ(fs::status(forms / "Form1.dfm").permissions(), fs::perms(0640));

        // A save in a process started after the kill removes it. The temporary is
        // dated a little back so that the start time's clock ticks cannot blur the order.
        SetAge(forms / leftOver.begin()->first, std::chrono::seconds(2));
        const ChildResult later = RunInChild([&] { return TrySave(saveAs, newText, backup); });
        EXPECT_EQ(later.report, "saved");
        formsFinal = List(forms);
        EXPECT_EQ(TakeTemporaries(formsFinal, "Form1.dfm"), Listing{});
    }
}

TEST(SaveFaults, WriteErrorFromAFileSizeLimitLeavesTheFolderAsItWas) {
    // A limit on the size of files the process may write makes write() fail with
    // EFBIG part way through the temporary file, as a full disk would with ENOSPC,
    // without needing a small file system.
    struct Case {
        const char* name;
        bool backup;
        bool throughLink;
    };
    const Case cases[] = {
        {"plain", false, false},
        {"backup asked, through a link", true, true},
    };
    const std::string newText = NewText(400);
    ASSERT_GT(newText.size(), 3 * 4096u);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder root;
        const fs::path forms = root.Make("forms");
        WriteText(forms / "Form1.dfm", kOldText);
        fs::path saveAs = forms / "Form1.dfm";
        if (c.throughLink) {
            fs::create_symlink("Form1.dfm", forms / "Link.dfm");
            saveAs = forms / "Link.dfm";
        }
        const fs::path backup = c.backup ? forms / "Form1.~dfm" : fs::path();
        if (c.backup) WriteText(backup, kOlderBackup);
        const Listing before = List(forms);

        const ChildResult child = RunInChild([&] {
            std::signal(SIGXFSZ, SIG_IGN);
            rlimit limit{};
            if (::getrlimit(RLIMIT_FSIZE, &limit) != 0) return std::string("exception: getrlimit");
            limit.rlim_cur = 4096;
            if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) return std::string("exception: setrlimit");
            return TrySave(saveAs, newText, backup);
        });
        ASSERT_FALSE(child.killedBySignal) << "signal " << child.signal;
        EXPECT_EQ(child.report.rfind("failed: Cannot write file " + saveAs.string() + ": ", 0), 0u)
            << child.report;
        EXPECT_NE(child.report.find(std::strerror(EFBIG)), std::string::npos) << child.report;
        EXPECT_EQ(Compare(before, List(forms)), "");
    }
}

TEST(SaveFaults, FullFileSystemLeavesTheFolderAsItWas) {
    // A real full disk: a small tmpfs mounted in a private mount namespace of a child,
    // filled up before the save. The child checks the folder itself, since the mount
    // goes away with it. Needs the right to mount (root, or a permitting container).
    TempFolder root;
    const fs::path mountPoint = root.Make("small");
    const std::string newText = NewText(50);

    const ChildResult child = RunInChild([&]() -> std::string {
        if (::unshare(CLONE_NEWNS) != 0)
            return std::string("skip: cannot unshare mounts: ") + std::strerror(errno);
        if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
            return std::string("skip: cannot make mounts private: ") + std::strerror(errno);
        if (::mount("fw-savefaults", mountPoint.c_str(), "tmpfs", 0, "size=64k") != 0)
            return std::string("skip: cannot mount a tmpfs: ") + std::strerror(errno);

        const fs::path form = mountPoint / "Form1.dfm";
        const fs::path backup = mountPoint / "Form1.~dfm";
        WriteText(form, kOldText);
        WriteText(backup, kOlderBackup);
        {
            // Fill what is left.
            const int fd = ::open((mountPoint / "filler").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            if (fd < 0) return std::string("exception: cannot create the filler");
            const std::string block(4096, 'x');
            while (::write(fd, block.data(), block.size()) > 0) {
            }
            const int fillError = errno;
            ::close(fd);
            if (fillError != ENOSPC)
                return std::string("exception: filling ended with ") + std::strerror(fillError);
        }
        const Listing before = List(mountPoint);

        std::string report;
        const std::string outcome = TrySave(form, newText, backup);
        if (outcome.find(std::strerror(ENOSPC)) == std::string::npos || outcome.rfind("failed: ", 0) != 0)
            report += "the save on a full disk ended: " + outcome + "\n";
        report += Compare(before, List(mountPoint));

        // With room again, the same save succeeds and keeps the backup.
        fs::remove(mountPoint / "filler");
        const std::string retried = TrySave(form, newText, backup);
        if (retried != "saved") report += "the save with room again ended: " + retried + "\n";
        Listing expected = before;
        expected.erase("filler");
        expected["Form1.dfm"] = newText;
        expected["Form1.~dfm"] = kOldText;
        report += Compare(expected, List(mountPoint));
        return report;
    });
    ASSERT_FALSE(child.killedBySignal) << "signal " << child.signal;
    if (child.report.rfind("skip: ", 0) == 0) GTEST_SKIP() << child.report.substr(6);
    EXPECT_EQ(child.report, "");
}

TEST(SaveFaults, FolderWithoutWritePermission) {
    // A folder of mode 0555 refuses new files to everyone but root. As root the child
    // first becomes the unprivileged user 65534, so that the folder's permissions
    // apply to it as they would to any user.
    TempFolder root;
    const fs::path locked = root.Make("locked");
    const fs::path open = root.Make("open", 0777);
    WriteText(locked / "Form1.dfm", kOldText);
    WriteText(locked / "Form1.~dfm", kOlderBackup);
    WriteText(open / "Form2.dfm", kOldText, 0666);
    fs::create_symlink("../open/Form2.dfm", locked / "Form2.dfm");
    fs::permissions(locked, fs::perms(0555));
    const Listing lockedBefore = List(locked);
    const std::string newText = NewText(5);

    const ChildResult child = RunInChild([&]() -> std::string {
        if (::geteuid() == 0) {
            const gid_t none = 65534;
            if (::setgroups(0, nullptr) != 0 || ::setgid(none) != 0 || ::setuid(none) != 0)
                return std::string("skip: cannot drop to an unprivileged user: ") + std::strerror(errno);
        }
        if (::access((locked / "Form1.dfm").c_str(), R_OK) != 0)
            return "skip: the temporary folder cannot be reached by an unprivileged user";
        // Both outcomes, one a line.
        return TrySave(locked / "Form1.dfm", newText, locked / "Form1.~dfm") + "\n" +
               TrySave(locked / "Form2.dfm", newText);
    });
    ASSERT_FALSE(child.killedBySignal) << "signal " << child.signal;
    if (child.report.rfind("skip: ", 0) == 0) GTEST_SKIP() << child.report.substr(6);

    const std::size_t newline = child.report.find('\n');
    ASSERT_NE(newline, std::string::npos) << child.report;
    const std::string lockedOutcome = child.report.substr(0, newline);
    const std::string linkOutcome = child.report.substr(newline + 1);
    EXPECT_EQ(lockedOutcome,
              "failed: Cannot create file " + (locked / "Form1.dfm").string() + ": " + std::strerror(EACCES));
    // The folder is as it was, the older backup included.
    EXPECT_EQ(Compare(lockedBefore, List(locked)), "");
    // A link in the locked folder to a form in an open one is saved through: the
    // temporary file goes beside the real file, where it may be created.
    EXPECT_EQ(linkOutcome, "saved");
    Listing openAfter = List(open);
    EXPECT_EQ(TakeTemporaries(openAfter, "Form2.dfm"), Listing{});
    EXPECT_EQ(Compare(Listing{{"Form2.dfm", newText}}, openAfter), "");
    EXPECT_EQ(fs::status(open / "Form2.dfm").permissions(), fs::perms(0666));
}

TEST(SaveFaults, SymbolicLinkTargetsAreWrittenThrough) {
    struct Case {
        const char* name;
        const char* linkDir;                // where the link (and so the backup) lives
        std::vector<std::string> chain;     // links from the saved name to the form, in order
        std::vector<std::string> contents;  // what each link holds
    };
    const Case cases[] = {
        {"relative link in the same folder", "forms", {"Link.dfm"}, {"Form1.dfm"}},
        {"link in another folder", "links", {"Form1.dfm"}, {"../forms/Form1.dfm"}},
        {"chain of two links", "links", {"Outer.dfm", "Inner.dfm"}, {"Inner.dfm", "../forms/Form1.dfm"}},
    };
    const std::string newText = NewText(3);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder root;
        const fs::path forms = root.Make("forms");
        const fs::path linkDir = root.Make(c.linkDir);
        WriteText(forms / "Form1.dfm", kOldText, 0640);
        for (std::size_t i = 0; i < c.chain.size(); ++i)
            fs::create_symlink(c.contents[i], linkDir / c.chain[i]);
        const fs::path saveAs = linkDir / c.chain.front();
        const fs::path backup = linkDir / "Form1.~dfm";

        ASSERT_EQ(TrySave(saveAs, newText, backup), "saved");
        for (std::size_t i = 0; i < c.chain.size(); ++i) {
            ASSERT_TRUE(fs::is_symlink(linkDir / c.chain[i])) << c.chain[i];
            EXPECT_EQ(fs::read_symlink(linkDir / c.chain[i]).string(), c.contents[i]);
        }
        EXPECT_EQ(ReadText(forms / "Form1.dfm"), newText);
        EXPECT_EQ(fs::status(forms / "Form1.dfm").permissions(), fs::perms(0640));
        EXPECT_EQ(ReadText(backup), kOldText);
        EXPECT_FALSE(fs::is_symlink(backup));
        for (const fs::path& dir : {forms, linkDir}) {
            Listing listing = List(dir);
            EXPECT_EQ(TakeTemporaries(listing, "Form1.dfm"), Listing{}) << dir;
        }
    }
}

TEST(SaveFaults, StaleTemporariesOfTheTargetAreRemovedAndNoOthers) {
    // Left beside the target before the save. Only temporaries of this target (or of its
    // backup) that are older than the saving process and that no running save holds
    // locked are a killed save's leftovers.
    struct Entry {
        const char* name;
        bool old;     // written an hour ago, long before this test process started
        bool locked;  // a save in progress holds it
        bool removed;
    };
    const Entry entries[] = {
        {".Form1.dfm.tmp123456", true, false, true},
        {".Form1.dfm.tmp42", true, false, true},  // unpadded digits, as older versions named them
        {".Form1.~dfm.tmp000001", true, false, true},
        {".Form1.dfm.tmp654321", true, true, false},
        {".Form1.dfm.tmp777777", false, false, false},
        {".Form1.dfm.tmpnotes", true, false, false},
        {".Form1.dfm.tmp1234567", true, false, false},
        {".Form10.dfm.tmp123456", true, false, false},
        {"Form1.dfm.tmp123456", true, false, false},
    };
    TempFolder root;
    const fs::path forms = root.Make("forms");
    WriteText(forms / "Form1.dfm", kOldText);
    std::vector<int> locks;
    for (const Entry& e : entries) {
        WriteText(forms / e.name, "left over");
        if (e.old) SetAge(forms / e.name, std::chrono::hours(1));
        if (e.locked) {
            const int fd = ::open((forms / e.name).c_str(), O_RDONLY | O_CLOEXEC);
            ASSERT_GE(fd, 0);
            ASSERT_EQ(::flock(fd, LOCK_EX), 0);
            locks.push_back(fd);
        }
    }

    EXPECT_EQ(TrySave(forms / "Form1.dfm", NewText(2), forms / "Form1.~dfm"), "saved");
    for (const int fd : locks)
        ::close(fd);

    const Listing after = List(forms);
    for (const Entry& e : entries)
        EXPECT_EQ(after.count(e.name), e.removed ? 0u : 1u) << e.name;
    EXPECT_EQ(after.at("Form1.dfm"), NewText(2));
    EXPECT_EQ(after.at("Form1.~dfm"), kOldText);
}

TEST(SaveFaults, NamesUpToTheFileNameLimitAreSavedAndCleanedUpAfter) {
    // A name of up to 255 bytes is legal, but "." + name + ".tmpNNNNNN" is not for
    // names longer than 244 bytes: those get a shorter temporary name, the same stem
    // for every save of the target, so a later save still finds a killed one's leftover.
    const std::string twoByte = "\xC3\xA9";  // a letter of two UTF-8 bytes
    const struct {
        const char* name;
        std::string fileName;
    } cases[] = {
        {"244 bytes", std::string(240, 'a') + ".dfm"},
        {"245 bytes", std::string(241, 'a') + ".dfm"},
        {"250 bytes", std::string(246, 'b') + ".dfm"},
        {"255 bytes", std::string(251, 'c') + ".dfm"},
        {"255 bytes of two-byte letters, cut between letters",
         [&] {
             std::string name;
             while (name.size() + twoByte.size() <= 251)
                 name += twoByte;
             return name + std::string(251 - name.size(), 'd') + ".dfm";
         }()},
    };
    const std::string newText = NewText(3);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_LE(c.fileName.size(), 255u);
        TempFolder root;
        const fs::path forms = root.Make("forms");
        const fs::path target = forms / c.fileName;
        WriteText(target, kOldText);

        // A save killed with its temporary complete leaves one hidden file, whose name
        // the file system took.
        const ChildResult killed = RunInChild([&] {
            killStep = fw::SaveStep::TemporaryWritten;
            fw::SetSaveStepHookForTests(KillAtStep);
            return TrySave(target, newText);
        });
        ASSERT_TRUE(killed.killedBySignal) << killed.report;
        Listing listing = List(forms);
        ASSERT_EQ(listing.size(), 2u) << Describe(listing);
        listing.erase(c.fileName);
        const std::string leftOver = listing.begin()->first;
        EXPECT_EQ(leftOver[0], '.');
        EXPECT_LE(leftOver.size(), 255u);
        SetAge(forms / leftOver, std::chrono::seconds(2));

        // A later save goes through and takes the leftover away.
        const ChildResult later = RunInChild([&] { return TrySave(target, newText); });
        EXPECT_EQ(later.report, "saved");
        EXPECT_EQ(Compare(Listing{{c.fileName, newText}}, List(forms)), "");
    }
}

TEST(SaveFaults, LockedFileBacksUpTheBytesItRead) {
    // The backup of a read-modify-write holds what was read, even when a writer that
    // ignores the lock changed the file after the read.
    const struct {
        const char* name;
        const char* changedTo;  // nullptr: left alone
    } cases[] = {
        {"file left alone", nullptr},
        {"file changed in place after the read", "written in place by another program\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder root;
        const fs::path forms = root.Make("forms");
        WriteText(forms / "Form1.dfm", kOldText, 0640);
        WriteText(forms / "Form1.~dfm", kOlderBackup);
        {
            fw::LockedFile file((forms / "Form1.dfm").string());
            EXPECT_EQ(std::string(file.Content().begin(), file.Content().end()), kOldText);
            if (c.changedTo) {
                std::ofstream out(forms / "Form1.dfm", std::ios::binary | std::ios::trunc);
                out << c.changedTo;
            }
            file.Replace(AsBytes(NewText(2)), (forms / "Form1.~dfm").string());
        }
        EXPECT_EQ(Compare(Listing{{"Form1.dfm", NewText(2)}, {"Form1.~dfm", kOldText}}, List(forms)), "");
        EXPECT_EQ(fs::status(forms / "Form1.dfm").permissions(), fs::perms(0640));
    }
}

// Waits until the kernel lists a process as waiting for a lock on the file with this
// inode (a "->" line of /proc/locks), for at most five seconds.
void WaitForBlockedLock(ino_t inode) {
    const std::string mark = ":" + std::to_string(inode) + " ";
    for (int attempt = 0; attempt < 500; ++attempt) {
        std::ifstream locks("/proc/locks");
        for (std::string line; std::getline(locks, line);)
            if (line.find("->") != std::string::npos && line.find(mark) != std::string::npos) return;
        ::usleep(10000);
    }
}

TEST(SaveFaults, WritersOfOneFileTakeTurns) {
    // While one process holds a file between reading and replacing it, a second one
    // that wants the same file waits, and then reads the first one's result rather than
    // the bytes the first one read. Without the lock both would read the old bytes,
    // and whichever renamed last would throw the other's work away.
    TempFolder root;
    const fs::path forms = root.Make("forms");
    const fs::path form = forms / "Form1.dfm";
    const fs::path backup = forms / "Form1.~dfm";
    WriteText(form, kOldText);
    const std::string first = NewText(1);
    const std::string second = NewText(2);

    // The child is forked before the lock is taken: a forked child shares its parent's
    // open files, and with them the lock.
    int go[2];
    int report[2];
    ASSERT_EQ(::pipe(go), 0);
    ASSERT_EQ(::pipe(report), 0);
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        ::close(go[1]);
        ::close(report[0]);
        char signal = 0;
        std::string read;
        if (::read(go[0], &signal, 1) == 1) {
            try {
                fw::LockedFile file(form.string());
                read = std::string(file.Content().begin(), file.Content().end());
                file.Replace(AsBytes(second), backup.string());
            } catch (const std::exception& e) {
                read = std::string("exception: ") + e.what();
            }
        }
        [[maybe_unused]] const ssize_t written = ::write(report[1], read.data(), read.size());
        ::_exit(0);
    }
    ::close(go[0]);
    ::close(report[1]);

    auto held = std::make_unique<fw::LockedFile>(form.string());
    struct stat st {};
    ASSERT_EQ(::stat(form.c_str(), &st), 0);
    ASSERT_EQ(::write(go[1], "g", 1), 1);
    ::close(go[1]);
    WaitForBlockedLock(st.st_ino);
    held->Replace(AsBytes(first), backup.string());
    held.reset();
    std::string childRead;
    char buffer[4096];
    for (ssize_t n; (n = ::read(report[0], buffer, sizeof buffer)) > 0;)
        childRead.append(buffer, static_cast<std::size_t>(n));
    ::close(report[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);

    EXPECT_EQ(childRead, first);
    EXPECT_EQ(Compare(Listing{{"Form1.dfm", second}, {"Form1.~dfm", first}}, List(forms)), "");
}

}  // namespace
