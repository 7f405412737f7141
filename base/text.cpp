#include "base/text.h"

#include <cstring>

#include <wx/strconv.h>

namespace pq {

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

}  // namespace pq
