#include "html/escape.h"

#include "base/text.h"

namespace pq {

namespace {

// The reference of a markup character, or null for any other byte.
const char* Reference(char c)
{
    switch (c) {
    case '&':
        return "&amp;";
    case '<':
        return "&lt;";
    case '>':
        return "&gt;";
    case '"':
        return "&quot;";
    default:
        return nullptr;
    }
}

}  // namespace

std::string EscapeHtml(const std::string& text)
{
    std::string s;
    s.reserve(text.size());
    for (const char c : text) {
        if (const char* reference = Reference(c))
            s += reference;
        else
            s += c;
    }
    return s;
}

std::string HtmlText(const wxString& text)
{
    std::string html;
    for (wxString::const_iterator it = text.begin(); it != text.end(); ++it) {
        const wxUniChar c = *it;
        const std::string byte = CodePageFromWx(wxString(c));
        if (byte.empty())
            html += "&#" + std::to_string(c.GetValue()) + ";";
        else
            html += EscapeHtml(byte);
    }
    return html;
}

}  // namespace pq
