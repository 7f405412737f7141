#include "io/atomic_file.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pq {

namespace {

// The temporary files being written, for the signal handler: a page at a
// time, or the files that take their places together at the end of a run.
// The handler reads a slot's name only while the slot is pending, and the
// name is written only while it is not (and with the signals held).
const int kSlots = 6;
char pendingNames[kSlots][4096];
volatile std::sig_atomic_t pending[kSlots] = {};
// The private folders the files of the slots may stand in: removed once
// their files are.
const int kFolderSlots = 2;
char pendingFolders[kFolderSlots][4096];
volatile std::sig_atomic_t pendingFolder[kFolderSlots] = {};

// The slot that now holds `name`; -1 when there is none (the file is then
// not removed on a signal).
int Register(const std::string& name)
{
    if (name.size() >= sizeof pendingNames[0])
        return -1;  // such a path cannot be opened anyway
    for (int slot = 0; slot < kSlots; ++slot) {
        if (pending[slot])
            continue;
        std::memcpy(pendingNames[slot], name.c_str(), name.size() + 1);
        pending[slot] = 1;
        return slot;
    }
    return -1;
}

void Unregister(int& slot)
{
    if (slot >= 0)
        pending[slot] = 0;
    slot = -1;
}

// The signals that end a run and remove the temporary file being written.
sigset_t Interrupts()
{
    sigset_t interrupts;
    sigemptyset(&interrupts);
    sigaddset(&interrupts, SIGTERM);
    sigaddset(&interrupts, SIGINT);
    sigaddset(&interrupts, SIGHUP);
    return interrupts;
}

int RegisterFolder(const std::string& name)
{
    if (name.size() >= sizeof pendingFolders[0])
        return -1;
    for (int slot = 0; slot < kFolderSlots; ++slot) {
        if (pendingFolder[slot])
            continue;
        std::memcpy(pendingFolders[slot], name.c_str(), name.size() + 1);
        pendingFolder[slot] = 1;
        return slot;
    }
    return -1;
}

void UnregisterFolder(int& slot)
{
    if (slot >= 0)
        pendingFolder[slot] = 0;
    slot = -1;
}

extern "C" void RemovePendingAndEnd(int signal)
{
    for (int slot = 0; slot < kSlots; ++slot)
        if (pending[slot])
            ::unlink(pendingNames[slot]);
    for (int slot = 0; slot < kFolderSlots; ++slot)
        if (pendingFolder[slot])
            ::rmdir(pendingFolders[slot]);
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

}  // namespace

void AtomicFile::RemoveTemporaryOnSignals()
{
    for (int signal : {SIGTERM, SIGINT, SIGHUP}) {
        // A signal the caller chose to ignore (nohup, a background job) stays ignored.
        struct sigaction current {};
        if (::sigaction(signal, nullptr, &current) == 0 && current.sa_handler == SIG_IGN)
            continue;
        struct sigaction action {};
        action.sa_handler = RemovePendingAndEnd;
        action.sa_mask = Interrupts();
        ::sigaction(signal, &action, nullptr);
    }
}

AtomicFile::AtomicFile(const std::string& path) : path_(path), temporary_(path + ".XXXXXX")
{
    // Held while the file is made and registered, so that no signal falls
    // between the two and leaves it behind.
    const HeldSignals held;
    fd_ = ::mkstemp(&temporary_[0]);
    if (fd_ < 0) {
        error_ = errno;
        temporary_.clear();
    } else {
        slot_ = Register(temporary_);
    }
}

AtomicFile::~AtomicFile()
{
    if (fd_ >= 0)
        ::close(fd_);
    if (!temporary_.empty()) {
        ::unlink(temporary_.c_str());
        Unregister(slot_);
    }
}

void AtomicFile::Fail()
{
    error_ = errno;
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
    ::unlink(temporary_.c_str());
    Unregister(slot_);
    temporary_.clear();
}

bool AtomicFile::Write(const std::string& bytes)
{
    if (fd_ < 0)
        return false;
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd_, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            Fail();
            return false;
        }
        done += static_cast<size_t>(n);
    }
    return true;
}

bool AtomicFile::Commit()
{
    if (fd_ < 0)
        return false;
    // mkstemp makes the file private; a page gets the permissions of any new file.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    if (::fchmod(fd_, 0666 & ~mask) != 0 || ::fsync(fd_) != 0) {
        Fail();
        return false;
    }
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0 || ::rename(temporary_.c_str(), path_.c_str()) != 0) {
        Fail();
        return false;
    }
    // Renamed: the name now is the page's, which a signal must not remove.
    Unregister(slot_);
    temporary_.clear();
    return true;
}

TemporaryFolder::TemporaryFolder(const std::string& near) : path_(near + ".XXXXXX")
{
    const HeldSignals held;
    if (!::mkdtemp(&path_[0])) {
        error_ = errno;
        path_.clear();
        return;
    }
    slot_ = RegisterFolder(path_);
}

TemporaryFolder::~TemporaryFolder()
{
    const HeldSignals held;
    for (int slot : fileSlots_) {
        ::unlink(pendingNames[slot]);
        Unregister(slot);
    }
    if (!path_.empty())
        ::rmdir(path_.c_str());
    UnregisterFolder(slot_);
}

bool TemporaryFolder::Write(const std::string& name, const std::string& bytes)
{
    if (path_.empty())
        return false;
    const std::string file = path_ + "/" + name;
    const HeldSignals held;
    const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0) {
        error_ = errno;
        return false;
    }
    int slot = Register(file);
    if (slot >= 0)
        fileSlots_.push_back(slot);
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            error_ = errno;
            ::close(fd);
            return false;
        }
        done += static_cast<size_t>(n);
    }
    if (::close(fd) != 0) {
        error_ = errno;
        return false;
    }
    return true;
}

HeldSignals::HeldSignals()
{
    const sigset_t interrupts = Interrupts();
    ::sigprocmask(SIG_BLOCK, &interrupts, &previous_);
}

HeldSignals::~HeldSignals() { ::sigprocmask(SIG_SETMASK, &previous_, nullptr); }

}  // namespace pq
