#include "settings/settings_document.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <string>

#include <wx/log.h>
#include <wx/mstream.h>
#include <wx/strconv.h>
#include <wx/xml/xml.h>

#include "base/file_read.h"
#include "base/text.h"

namespace pq {

namespace {

using namespace settings_limits;

// The document as the XML reader's tokenizer sees it: bytes, or 16-bit units
// of UTF-16. Expat decides this from the first bytes alone (a byte order
// mark, or "<" next to a zero byte); so does this.
class Units {
public:
    explicit Units(const std::string& bytes)
        : p_(reinterpret_cast<const unsigned char*>(bytes.data())), n_(bytes.size())
    {
        if (n_ >= 3 && p_[0] == 0xEF && p_[1] == 0xBB && p_[2] == 0xBF) {
            Skip(3);
        } else if (n_ >= 2 && ((p_[0] == 0xFE && p_[1] == 0xFF) || (p_[0] == 0xFF && p_[1] == 0xFE))) {
            wide_ = true;
            bigEndian_ = p_[0] == 0xFE;
            Skip(2);
        } else if (n_ >= 2 && ((p_[0] == 0x00 && p_[1] == 0x3C) || (p_[0] == 0x3C && p_[1] == 0x00))) {
            wide_ = true;
            bigEndian_ = p_[0] == 0x00;
        }
        if (wide_)
            n_ /= 2;
    }

    bool wide() const { return wide_; }
    size_t size() const { return n_; }
    uint32_t operator[](size_t i) const
    {
        if (!wide_)
            return p_[i];
        const unsigned char a = p_[2 * i], b = p_[2 * i + 1];
        return bigEndian_ ? (a << 8 | b) : (b << 8 | a);
    }
    // Whether the units from `at` are the ASCII characters of `text`.
    bool At(size_t at, const char* text) const
    {
        for (size_t k = 0; text[k]; ++k)
            if (at + k >= n_ || (*this)[at + k] != static_cast<unsigned char>(text[k]))
                return false;
        return true;
    }
    // Where `text` next starts at or after `from`; size() when nowhere.
    size_t Find(const char* text, size_t from) const
    {
        for (size_t i = from; i < n_; ++i)
            if (At(i, text))
                return i;
        return n_;
    }

private:
    void Skip(size_t count)
    {
        p_ += count;
        n_ -= count;
    }

    const unsigned char* p_;
    size_t n_;
    bool wide_ = false;
    bool bigEndian_ = false;
};

bool IsWhite(uint32_t c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

bool IsAsciiLetter(uint32_t c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// The encoding named in the XML declaration at the start of the document
// (what stands between the quotes, up to 64 characters, with '?' for any but
// printable ASCII); nothing without a declaration or without an encoding in it.
std::optional<std::string> DeclaredEncoding(const Units& u)
{
    if (!u.At(0, "<?xml") || u.size() < 6 || !IsWhite(u[5]))
        return std::nullopt;
    const size_t end = u.Find("?>", 5);
    size_t i = 5;
    while (i < end && !u.At(i, "encoding"))
        ++i;
    if (i >= end)
        return std::nullopt;
    i += 8;
    while (i < end && IsWhite(u[i]))
        ++i;
    if (i >= end || u[i] != '=')
        return std::nullopt;  // not well-formed: the XML reader refuses it
    ++i;
    while (i < end && IsWhite(u[i]))
        ++i;
    if (i >= end || (u[i] != '"' && u[i] != '\''))
        return std::nullopt;
    const uint32_t quote = u[i++];
    std::string name;
    for (; i < end && u[i] != quote && name.size() < 64; ++i)
        name += u[i] >= 0x20 && u[i] < 0x7F ? static_cast<char>(u[i]) : '?';  // printable in the log
    return name;
}

// An encoding name as the XML grammar writes one: [A-Za-z] ([A-Za-z0-9._] | '-')*.
bool IsEncodingName(const std::string& name)
{
    if (name.empty() || !IsAsciiLetter(static_cast<unsigned char>(name[0])))
        return false;
    for (const char c : name)
        if (!IsAsciiLetter(static_cast<unsigned char>(c)) && !(c >= '0' && c <= '9') && c != '.' &&
            c != '_' && c != '-')
            return false;
    return true;
}

bool SameAsciiLetters(const std::string& a, const char* b)
{
    size_t k = 0;
    for (; k < a.size() && b[k]; ++k) {
        char x = a[k], y = b[k];
        if (x >= 'a' && x <= 'z')
            x = static_cast<char>(x - 'a' + 'A');
        if (x != y)
            return false;
    }
    return k == a.size() && !b[k];
}

// Why the declared encoding cannot be read, or nothing when it can. Expat
// reads its own encodings itself; for any other name wxXmlDocument builds a
// table of one character for each byte with wxCSConv, and fills it with
// whatever the conversion leaves when the name is unknown or a byte is no
// character on its own. So such a name is accepted only when the library
// converts it and every byte value that the document holds alone gives one
// character.
std::optional<std::string> EncodingRefusal(const Units& u, const std::string& bytes)
{
    const std::optional<std::string> name = DeclaredEncoding(u);
    if (!name)
        return std::nullopt;
    for (const char* own : {"UTF-8", "UTF-16", "UTF-16BE", "UTF-16LE", "ISO-8859-1", "US-ASCII"})
        if (SameAsciiLetters(*name, own))
            return std::nullopt;
    const std::string refusal =
        "The settings document declares the encoding \"" + *name + "\", which cannot be converted";
    if (!IsEncodingName(*name))
        return refusal + " (it is not an encoding name).";
    if (u.wide())
        return refusal + " (the document is written in UTF-16).";
    const wxCSConv conv(wxString::FromAscii(name->c_str()));
    if (!conv.IsOk())
        return refusal + ".";
    // Each byte value is tried once, in the order the document first holds them.
    enum { kUntried, kCharacter, kNoCharacter };
    unsigned char tried[256] = {};
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (b == 0 || tried[b] == kCharacter)
            continue;
        if (tried[b] == kUntried) {
            wchar_t out[4];
            tried[b] = conv.ToWChar(out, 4, &c, 1) == 1 ? kCharacter : kNoCharacter;
        }
        if (tried[b] == kNoCharacter) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "0x%02X", static_cast<unsigned>(b));
            return refusal + " (the XML reader reads it a byte at a time, and the byte " + hex +
                   " alone is no character in it).";
        }
    }
    return std::nullopt;
}

// The markup limits, in one pass over the units.
std::optional<std::string> StructureRefusal(const Units& u)
{
    const size_t n = u.size();
    const size_t unitBytes = u.wide() ? 2 : 1;
    int depth = 0;
    size_t elements = 0;
    size_t text = 0;         // bytes
    size_t runStart = 0;     // where the current run of character data began
    bool runIsText = false;  // whether it holds more than white space
    const auto tooMuchText = [&]() -> std::optional<std::string> {
        if (text <= kMaxText)
            return std::nullopt;
        return "The settings document has more than " + std::to_string(kMaxText) +
               " bytes of text between its tags.";
    };
    const auto tooLong = [&](size_t from, size_t to) -> std::optional<std::string> {
        if ((to - from) * unitBytes <= kMaxMarkup)
            return std::nullopt;
        return "The settings document has a tag, comment or processing instruction longer than " +
               std::to_string(kMaxMarkup) + " bytes.";
    };
    size_t i = 0;
    while (i < n) {
        const uint32_t c = u[i];
        if (c != '<') {
            runIsText = runIsText || !IsWhite(c);
            ++i;
            continue;
        }
        // Character data counts once it is more than white space: the XML
        // reader drops a piece of white space that does not follow text.
        if (runIsText)
            text += (i - runStart) * unitBytes;
        if (auto refusal = tooMuchText())
            return refusal;

        const size_t start = i;
        bool markup = true;  // a piece that expat takes as one token
        if (u.At(i, "<!--")) {
            const size_t end = u.Find("-->", i + 4);
            i = end < n ? end + 3 : n;
        } else if (u.At(i, "<![CDATA[")) {
            // Expat hands the content on as it goes: only its size counts.
            markup = false;
            const size_t end = u.Find("]]>", i + 9);
            text += (end - (i + 9)) * unitBytes;
            if (auto refusal = tooMuchText())
                return refusal;
            i = end < n ? end + 3 : n;
        } else if (u.At(i, "<!DOCTYPE")) {
            return std::string("The settings document has a document type declaration (<!DOCTYPE>); "
                               "settings documents have none.");
        } else if (u.At(i, "<?")) {
            const size_t end = u.Find("?>", i + 2);
            i = end < n ? end + 2 : n;
        } else {
            // A tag: an end tag, a start tag or an empty-element tag, up to the
            // first '>' outside a quoted attribute value. (Any other "<!" is
            // not well-formed; it is passed over the same way and the XML
            // reader refuses it.)
            const bool endTag = u.At(i, "</");
            size_t attributes = 0;
            uint32_t quote = 0;
            uint32_t last = 0;  // the last unit outside quotes before '>'
            ++i;
            for (; i < n; ++i) {
                const uint32_t t = u[i];
                if (quote) {
                    if (t == quote)
                        quote = 0;
                    continue;
                }
                if (t == '>')
                    break;
                if (t == '"' || t == '\'')
                    quote = t;
                else if (t == '=')
                    ++attributes;
                last = t;
            }
            i = i < n ? i + 1 : n;
            if (endTag) {
                if (depth > 0)
                    --depth;
            } else {
                if (++elements > kMaxElements)
                    return "The settings document has more than " + std::to_string(kMaxElements) +
                           " elements.";
                if (++depth > kMaxDepth)
                    return "The settings document nests elements deeper than " +
                           std::to_string(kMaxDepth) + " levels.";
                if (attributes > kMaxAttributes)
                    return "The settings document has an element with more than " +
                           std::to_string(kMaxAttributes) + " attributes.";
                if (last == '/')
                    --depth;  // an empty-element tag
            }
        }
        if (markup)
            if (auto refusal = tooLong(start, i))
                return refusal;
        runStart = i;
        runIsText = false;
    }
    if (runIsText)
        text += (n - runStart) * unitBytes;
    return tooMuchText();
}

std::string SizeRefusal()
{
    return "The settings document is larger than 1 MiB (" + std::to_string(kMaxBytes) + " bytes).";
}


}  // namespace

std::optional<std::string> SettingsDocumentRefusal(const std::string& bytes)
{
    if (bytes.size() > kMaxBytes)
        return SizeRefusal();
    const Units units(bytes);
    if (auto refusal = EncodingRefusal(units, bytes))
        return refusal;
    return StructureRefusal(units);
}

bool ParseSettingsDocument(const std::string& bytes, wxXmlDocument& doc)
{
    if (const std::optional<std::string> refusal = SettingsDocumentRefusal(bytes)) {
        wxLogError("%s", wxString::FromUTF8(refusal->c_str()));
        return false;
    }
    wxMemoryInputStream stream(bytes.data(), bytes.size());
    return doc.Load(stream, "UTF-8");
}

bool LoadSettingsDocument(const wxString& path, wxXmlDocument& doc)
{
    std::string bytes, why;
    switch (ReadRegularFile(FileSystemPath(path), kMaxBytes, bytes, why)) {
    case FileRead::Read:
        return ParseSettingsDocument(bytes, doc);
    case FileRead::TooLarge:
        wxLogError("%s", wxString::FromUTF8(SizeRefusal().c_str()));
        return false;
    case FileRead::NotRegular:
    case FileRead::Failed:
        break;
    }
    return false;
}

std::optional<ReportSettings> ReadSettings(const wxXmlDocument& doc, Notes& notes)
{
    const wxXmlNode* root = doc.GetRoot();
    if (!root || root->GetName() != "mqv-analyser-settings")
        return std::nullopt;
    ReportSettings settings;
    for (const wxXmlNode* child = root->GetChildren(); child; child = child->GetNext()) {
        if (child->GetType() != wxXML_ELEMENT_NODE)
            continue;
        if (child->GetName() == "ReportData")
            ReadReportData(child, settings.header, notes);
        else if (child->GetName() == "UserDirectory")
            settings.userDirectory = child->GetAttribute("Dir", ".");
    }
    return settings;
}

}  // namespace pq
