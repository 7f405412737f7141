#include "settings/text.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <wx/strconv.h>

namespace {
wxCSConv& Cp1251()
{
    static wxCSConv conv(wxFONTENCODING_CP1251);
    return conv;
}
}  // namespace

std::string CodePageFromWx(const wxString& text)
{
    if (text.empty())
        return std::string();
    size_t len = 0;
    const wxCharBuffer buf = text.mb_str(Cp1251());
    len = buf.length();
    if (!buf.data() || len == 0)
        return std::string();
    return std::string(buf.data(), len);
}

std::string CodePageFromUtf8(const std::string& utf8)
{
    if (utf8.empty())
        return std::string();
    const wxString wide = wxString::FromUTF8(utf8.data(), utf8.size());
    if (wide.empty())
        return std::string();
    return CodePageFromWx(wide);
}

wxString WxFromCodePage(const std::string& text)
{
    return wxString(text.data(), Cp1251(), text.size());
}

namespace {
wxMBConvUTF8& PathConv()
{
    static wxMBConvUTF8 conv(wxMBConvUTF8::MAP_INVALID_UTF8_TO_PUA);
    return conv;
}
}  // namespace

wxString PathFromBytes(const char* bytes)
{
    return wxString(bytes, PathConv());
}

std::string FileSystemPath(const wxString& path)
{
    const wxCharBuffer buf = path.mb_str(PathConv());
    return buf.data() ? std::string(buf.data(), buf.length()) : std::string();
}

locale_t CLocale()
{
    static const locale_t c_locale = newlocale(LC_ALL_MASK, "C", nullptr);
    return c_locale;
}

std::string SystemErrorText(int error)
{
    return strerror_l(error, CLocale());
}

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
