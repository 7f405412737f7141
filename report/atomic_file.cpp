#include "report/atomic_file.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

AtomicFile::AtomicFile(const std::string& path) : path_(path), temporary_(path + ".XXXXXX")
{
    fd_ = ::mkstemp(&temporary_[0]);
    if (fd_ < 0) {
        error_ = errno;
        temporary_.clear();
    }
}

AtomicFile::~AtomicFile()
{
    if (fd_ >= 0)
        ::close(fd_);
    if (!temporary_.empty())
        ::unlink(temporary_.c_str());
}

void AtomicFile::Fail()
{
    error_ = errno;
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
    ::unlink(temporary_.c_str());
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
    temporary_.clear();
    return true;
}
