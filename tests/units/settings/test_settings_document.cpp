// The checks of a settings document before the XML reader is given it, and
// the texts of every encoding it accepts.
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <wx/xml/xml.h>

#include "base/text.h"
#include "settings/settings_document.h"
#include "tests/text_builders.h"
#include "tests/units/fixtures.h"

using namespace pq;

namespace {

const char kUtf8Declaration[] = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>";

// A settings document: the declaration, then the root and one ReportData
// element around `inner`, with a Cyrillic value before it.
std::string Doc(const std::string& inner, const std::string& declaration = kUtf8Declaration)
{
    return declaration + "\n<mqv-analyser-settings>\n  <ReportData>\n    <Header1 Value=\"Протокол\"/>\n" +
           inner + "\n  </ReportData>\n</mqv-analyser-settings>\n";
}

// Elements `open` nested inside ReportData so that the deepest one stands at
// `levels` (the root is level 1, ReportData level 2).
std::string Nested(int levels, const std::string& open = "<a>", const std::string& close = "</a>")
{
    return Repeat(open, static_cast<size_t>(levels - 2)) + Repeat(close, static_cast<size_t>(levels - 2));
}

// `text` as UTF-16 code units, little or big endian, with or without a BOM.
std::string Utf16(const std::string& utf8, bool bigEndian, bool bom)
{
    const wxString text = wxString::FromUTF8(utf8.c_str());
    std::string out;
    const auto put = [&](unsigned unit) {
        const char hi = static_cast<char>(unit >> 8), lo = static_cast<char>(unit & 0xFF);
        out += bigEndian ? hi : lo;
        out += bigEndian ? lo : hi;
    };
    if (bom)
        put(0xFEFF);
    for (const wxUniChar c : text)
        put(static_cast<unsigned>(c.GetValue()));  // the texts here are all in the BMP
    return out;
}

std::string Refusal(const std::string& bytes)
{
    return SettingsDocumentRefusal(bytes).value_or("accepted");
}

const char kTooDeep[] = "The settings document nests elements deeper than 100 levels.";
const char kTooMuchText[] = "The settings document has more than 8192 bytes of text between its tags.";
const char kTooLong[] =
    "The settings document has a tag, comment or processing instruction longer than 65536 bytes.";

TEST(SettingsDocumentRefusal, AcceptsRealDocumentsAndEverythingWithinTheLimits)
{
    const struct {
        const char* name;
        std::string bytes;
    } cases[] = {
        {"as the program writes it", Doc("")},
        {"no declaration", Doc("", "")},
        {"declaration without encoding", Doc("", "<?xml version=\"1.0\"?>")},
        {"utf-8 in small letters, single quotes", Doc("", "<?xml version='1.0' encoding = 'utf-8' ?>")},
        {"ISO-8859-1", Doc("", "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>")},
        {"windows-1251 in CP1251", Cp(Doc("", "<?xml version=\"1.0\" encoding=\"windows-1251\"?>").c_str())},
        {"UTF-8 byte order mark", "\xEF\xBB\xBF" + Doc("")},
        {"UTF-16LE with a BOM", Utf16(Doc("", "<?xml version=\"1.0\" encoding=\"UTF-16\"?>"), false, true)},
        {"UTF-16BE with a BOM", Utf16(Doc("", "<?xml version=\"1.0\" encoding=\"UTF-16\"?>"), true, true)},
        {"UTF-16LE without BOM or declaration", Utf16(Doc("", ""), false, false)},
        {"100 levels", Doc(Nested(100))},
        {"100 levels, the last an empty-element tag", Doc(Nested(99) + "<b/>")},
        {"100 levels in UTF-16", Utf16(Doc(Nested(100), ""), false, true)},
        {"100 levels with '/' and '>' in attribute values",
         Doc(Nested(100, "<a v=\"/>\" w='>/' x=\"'/'\">"))},
        {"markup in comments, CDATA and processing instructions",
         Doc("<!-- " + Repeat("<a>", 200) + " -->" + "<![CDATA[" + Repeat("<a>", 200) + "]]>" + "<?pi " +
             Repeat("<a>", 200) + "?>" + Nested(100))},
        {"10000 elements", Doc(Repeat("<a/>", 10000 - 3))},
        {"100 attributes on one element", Doc([] {
             std::string e = "<a";
             for (int k = 0; k < 100; ++k)
                 e += " a" + std::to_string(k) + "=\"" + std::to_string(k) + "\"";
             return e + "/>";
         }())},
        {"8192 bytes of text", Doc("<t>" + Repeat("x\n", 4096) + "</t>")},
        {"8192 bytes in text and CDATA",
         Doc("<t>" + Repeat("x", 4096) + "<![CDATA[" + Repeat("y", 4096) + "]]></t>")},
        {"a comment of 65536 bytes", Doc("<!--" + std::string(65536 - 7, 'x') + "-->")},
        {"a tag of 65536 bytes", Doc("<a v=\"" + std::string(65536 - 9, 'x') + "\"/>")},
        {"a processing instruction of 65536 bytes in UTF-16",
         Utf16(Doc("<?p " + std::string(32768 - 6, 'x') + "?>", ""), false, true)},
        {"15 tags of 65536 bytes", Doc(Repeat("<a v=\"" + std::string(65536 - 9, 'x') + "\"/>", 15))},
        {"white space only, 1 MiB in all",
         [] {
             const std::string d = Doc("");
             return Doc(std::string(settings_limits::kMaxBytes - d.size(), '\n'));
         }()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Refusal(c.bytes), "accepted");
        EXPECT_LE(c.bytes.size(), settings_limits::kMaxBytes);
        // Well-formed, and read by the XML reader as it stands.
        wxXmlDocument doc;
        EXPECT_TRUE(ParseSettingsDocument(c.bytes, doc));
        Notes notes;
        EXPECT_TRUE(ReadSettings(doc, notes).has_value());
    }
}

TEST(SettingsDocumentRefusal, RefusesWhatTheXmlReaderCannotTakeSafely)
{
    const std::string bogus =
        "The settings document declares the encoding \"X-BOGUS\", which cannot be converted.";
    const struct {
        const char* name;
        std::string bytes;
        std::string refusal;
    } cases[] = {
        {"one byte more than 1 MiB",
         [] {
             const std::string d = Doc("");
             return Doc(std::string(settings_limits::kMaxBytes + 1 - d.size(), ' '));
         }(),
         "The settings document is larger than 1 MiB (1048576 bytes)."},
        {"101 levels", Doc(Nested(101)), kTooDeep},
        {"140,000 levels in under 1 MiB", Doc(Nested(140000)), kTooDeep},
        {"101 levels in UTF-16BE", Utf16(Doc(Nested(101), ""), true, true), kTooDeep},
        {"101 levels with '/>' in attribute values", Doc(Nested(101, "<a v=\"/>\">")), kTooDeep},
        {"101 levels after a comment", Doc("<!-- <a> -->" + Nested(101)), kTooDeep},
        {"101 levels of unclosed elements", Doc(Repeat("<a>", 99)), kTooDeep},
        {"unknown encoding", Doc("", "<?xml version=\"1.0\" encoding=\"X-BOGUS\"?>"), bogus},
        {"unknown encoding, single quotes", Doc("", "<?xml version='1.0' encoding='X-BOGUS'?>"), bogus},
        {"not an encoding name", Doc("", "<?xml version=\"1.0\" encoding=\"\"?>"),
         "The settings document declares the encoding \"\", which cannot be converted (it is not an "
         "encoding name)."},
        {"an encoding the reader cannot take a byte at a time",
         Doc("", "<?xml version=\"1.0\" encoding=\"utf8\"?>"),
         "The settings document declares the encoding \"utf8\", which cannot be converted (the XML reader "
         "reads it a byte at a time, and the byte 0xD0 alone is no character in it)."},
        {"a single-byte encoding in UTF-16",
         Utf16(Doc("", "<?xml version=\"1.0\" encoding=\"windows-1251\"?>"), false, true),
         "The settings document declares the encoding \"windows-1251\", which cannot be converted (the "
         "document is written in UTF-16)."},
        {"document type declaration", "<?xml version=\"1.0\"?><!DOCTYPE m [<!ENTITY e \"x\">]>" + Doc("", ""),
         "The settings document has a document type declaration (<!DOCTYPE>); settings documents have "
         "none."},
        {"10001 elements", Doc(Repeat("<a/>", 10001 - 3)),
         "The settings document has more than 10000 elements."},
        {"101 attributes on one element", Doc([] {
             std::string e = "<a";
             for (int k = 0; k < 101; ++k)
                 e += " a" + std::to_string(k) + "=''";
             return e + "/>";
         }()),
         "The settings document has an element with more than 100 attributes."},
        {"8193 bytes of text", Doc("<t>" + Repeat("x", 8193) + "</t>"), kTooMuchText},
        {"text in pieces", Doc("<t>" + Repeat("&amp;", 1700) + "</t>"), kTooMuchText},
        {"text spread over elements", Doc(Repeat("<t>" + Repeat("x\n", 100) + "</t>", 41)), kTooMuchText},
        {"white space after text", Doc("<t>x" + std::string(8192, '\n') + "</t>"), kTooMuchText},
        {"CDATA", Doc("<t><![CDATA[" + std::string(8193, ' ') + "]]></t>"), kTooMuchText},
        {"8193 bytes of text in UTF-16", Utf16(Doc("<t>" + std::string(4097, 'x') + "</t>", ""), true, true),
         kTooMuchText},
        {"a comment of 65537 bytes", Doc("<!--" + std::string(65537 - 7, 'x') + "-->"), kTooLong},
        {"a tag of 65537 bytes", Doc("<a v=\"" + std::string(65537 - 9, 'x') + "\"/>"), kTooLong},
        {"a tag of 65537 bytes of white space", Doc("<a" + std::string(65537 - 4, ' ') + "/>"), kTooLong},
        {"an end tag of 65537 bytes", Doc("<a></a" + std::string(65537 - 4, ' ') + ">"), kTooLong},
        {"a processing instruction of 65537 bytes in UTF-16",
         Utf16(Doc("<?p " + std::string(32769 - 6, 'x') + "?>", ""), false, true), kTooLong},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Refusal(c.bytes), c.refusal) << c.name;
}

TEST(ParseSettingsDocument, LogsTheRefusalAndLeavesTheDocumentAlone)
{
    LogCapture log;
    wxXmlDocument doc;
    EXPECT_FALSE(ParseSettingsDocument(Doc(Nested(140000)), doc));
    EXPECT_FALSE(doc.IsOk());
    EXPECT_EQ(log.lines, std::vector<std::string>{kTooDeep});
}

TEST(ParseSettingsDocument, ReadsTheTextsOfEveryAcceptedEncodingAlike)
{
    const std::string windows1251 = Cp(Doc("", "<?xml version=\"1.0\" encoding=\"windows-1251\"?>").c_str());
    for (const std::string& bytes :
         {Doc(""), Doc("", ""), windows1251,
          Utf16(Doc("", "<?xml version=\"1.0\" encoding=\"UTF-16\"?>"), true, true)}) {
        wxXmlDocument doc;
        ASSERT_TRUE(ParseSettingsDocument(bytes, doc));
        Notes notes;
        const std::optional<ReportSettings> settings = ReadSettings(doc, notes);
        ASSERT_TRUE(settings.has_value());
        EXPECT_EQ(settings->header.Header[0], Cp("Протокол"));
    }
}

}  // namespace
