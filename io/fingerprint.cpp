#include "io/fingerprint.h"

#include <cerrno>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include <openssl/evp.h>

#include "base/text.h"

namespace pq {

namespace {

struct DigestContextFree {
    void operator()(EVP_MD_CTX* context) const { EVP_MD_CTX_free(context); }
};
using DigestContext = std::unique_ptr<EVP_MD_CTX, DigestContextFree>;

std::string Hex(const unsigned char* digest, unsigned int length)
{
    static const char digits[] = "0123456789abcdef";
    std::string hex;
    for (unsigned int i = 0; i < length; ++i) {
        hex += digits[digest[i] >> 4];
        hex += digits[digest[i] & 0xf];
    }
    return hex;
}

// A SHA-256 context; nothing when the library cannot make one.
DigestContext NewSha256()
{
    DigestContext context(EVP_MD_CTX_new());
    if (context && EVP_DigestInit_ex(context.get(), EVP_sha256(), nullptr) != 1)
        context.reset();
    return context;
}

std::string Finish(EVP_MD_CTX* context)
{
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    if (EVP_DigestFinal_ex(context, digest, &length) != 1)
        return std::string();
    return Hex(digest, length);
}

}  // namespace

std::string Sha256Hex(const std::string& bytes)
{
    DigestContext context = NewSha256();
    if (!context || EVP_DigestUpdate(context.get(), bytes.data(), bytes.size()) != 1)
        return std::string();
    return Finish(context.get());
}

bool Fingerprint(const std::string& path, FileFingerprint& fingerprint, std::string& why)
{
    fingerprint = FileFingerprint();
    fingerprint.path = path;
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        why = SystemErrorText(errno);
        return false;
    }
    const auto fail = [fd, &why](const std::string& reason) {
        why = reason;
        ::close(fd);
        return false;
    };
    struct stat st;
    if (::fstat(fd, &st) != 0)
        return fail(SystemErrorText(errno));
    if (!S_ISREG(st.st_mode))
        return fail("it is not a regular file");
    DigestContext context = NewSha256();
    if (!context)
        return fail("SHA-256 is not available");
    std::vector<unsigned char> buf(1 << 20);
    for (;;) {
        const ssize_t n = ::read(fd, buf.data(), buf.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return fail(SystemErrorText(errno));
        if (n == 0)
            break;
        if (EVP_DigestUpdate(context.get(), buf.data(), static_cast<size_t>(n)) != 1)
            return fail("SHA-256 failed");
        fingerprint.bytes += n;
    }
    ::close(fd);
    fingerprint.sha256 = Finish(context.get());
    if (fingerprint.sha256.empty()) {
        why = "SHA-256 failed";
        return false;
    }
    return true;
}

}  // namespace pq
