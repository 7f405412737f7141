#include "base/file_read.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "base/text.h"

namespace pq {

FileRead ReadRegularFile(const std::string& path, long long maxBytes, std::string& bytes, std::string& why)
{
    bytes.clear();
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        why = SystemErrorText(errno);
        return FileRead::Failed;
    }
    const auto fail = [fd, &why](FileRead result, const std::string& reason) {
        why = reason;
        ::close(fd);
        return result;
    };
    const std::string tooLarge = "it is larger than " + std::to_string(maxBytes >> 20) + " MiB";
    struct stat st;
    if (::fstat(fd, &st) != 0)
        return fail(FileRead::Failed, SystemErrorText(errno));
    if (!S_ISREG(st.st_mode))
        return fail(FileRead::NotRegular, "it is not a regular file");
    if (st.st_size > maxBytes)
        return fail(FileRead::TooLarge, tooLarge);
    bytes.reserve(static_cast<size_t>(st.st_size));
    char buf[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return fail(FileRead::Failed, SystemErrorText(errno));
        if (n == 0)
            break;
        bytes.append(buf, static_cast<size_t>(n));
        // A file that grows while it is read is held to the same limit.
        if (static_cast<long long>(bytes.size()) > maxBytes)
            return fail(FileRead::TooLarge, tooLarge);
    }
    ::close(fd);
    return FileRead::Read;
}

}  // namespace pq
