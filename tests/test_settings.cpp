// Reading the settings document's values, the checks before it is parsed,
// and the date and time parsers.
#include <cstdlib>
#include <ctime>
#include <functional>
#include <optional>

#include <sys/stat.h>

#include <gtest/gtest.h>
#include <wx/xml/xml.h>

#include "fixtures.h"
#include "settings/date_parsing.h"
#include "settings/header_values.h"
#include "settings/settings_document.h"
#include "tests/text_builders.h"
#include "base/text.h"

using namespace pq;

namespace {

// The settings of a document with these children of its root.
ReportSettings Settings(const std::string& children)
{
    const std::string text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?><mqv-analyser-settings>" +
                             children + "</mqv-analyser-settings>";
    wxXmlDocument doc;
    EXPECT_TRUE(ParseSettingsDocument(text, doc));
    Notes notes;
    const std::optional<ReportSettings> settings = ReadSettings(doc, notes);
    EXPECT_TRUE(settings.has_value());
    return settings.value_or(ReportSettings());
}

// The values of every ReportData element of such a document.
ReportHeaderValues Read(const std::string& children) { return Settings(children).header; }

std::string Stamp(const wxDateTime& t)
{
    return t.IsValid() ? t.Format("%Y-%m-%d %H:%M:%S").ToStdString() : "unset";
}

TEST(WholeNumber, FollowsTheDecimalConversionRules)
{
    const struct {
        const char* text;
        int32_t value;
    } cases[] = {{"2", 2}, {" 2", 2}, {"2x", 2}, {"x2", 0}, {"", 0}, {"-7", -7}, {"+3", 3},
                 {"0x10", 0}, {"99999999999", INT32_MAX}, {"-99999999999", INT32_MIN}};
    for (const auto& c : cases)
        EXPECT_EQ(WholeNumber(c.text), c.value) << c.text;
}

TEST(CodePage, ConvertsCyrillicAndRefusesWhatCp1251Lacks)
{
    EXPECT_EQ(Cp("Т Вирс"), "\xD2 \xC2\xE8\xF0\xF1");
    EXPECT_EQ(Cp("№ ±"), "\xB9 \xB1");
    EXPECT_EQ(Cp("a≤b"), "");   // U+2264 is not in CP1251
    EXPECT_EQ(Cp("\xC3\x28"), "");  // not UTF-8
}

TEST(ReadReportData, StoresNonEmptyValuesByExactName)
{
    const ReportHeaderValues r = Read(
        "<ReportData><Header1 Value='first'/><header1 Value='lower case'/><Header1 Value=''/>"
        "<Header1/><Header4 Value='Заголовок'/><Page1_7_5 Value='last'/>"
        "<dt_max_load_begin_6 Value='8:00'/><DB Value='m.db'/><Unknown Value='x'/></ReportData>");
    EXPECT_EQ(r.Header[0], "first");
    EXPECT_EQ(r.Header[3], Cp("Заголовок"));
    EXPECT_EQ(r.Page1_7[5], "last");
    EXPECT_EQ(r.dt_max_load_begin[6], "8:00");
    EXPECT_EQ(r.DB, "m.db");
    // A path keeps characters that page texts cannot hold.
    EXPECT_EQ(Read("<ReportData><DB Value='/d/café.db'/></ReportData>").DB, wxString::FromUTF8("/d/café.db"));

    EXPECT_EQ(Read("<ReportData><Header1 Value='a'/><Header1 Value='b'/></ReportData>").Header[0], "b");
    // A text outside CP1251 reads as empty, so the earlier text stays.
    EXPECT_EQ(Read("<ReportData><Header1 Value='a'/><Header1 Value='x≤y'/></ReportData>").Header[0], "a");
}

TEST(ReadReportData, TwoElementsReadIntoOneRecord)
{
    const ReportHeaderValues r = Read("<ReportData><Header1 Value='one'/><n_Dayes Value='3'/></ReportData>"
                                       "<ReportData><Header2 Value='two'/></ReportData>");
    EXPECT_EQ(r.Header[0], "one");
    EXPECT_EQ(r.Header[1], "two");
    EXPECT_EQ(r.n_Dayes, "3");
}

TEST(ReadReportData, CurrentPageIsAlwaysStoredAndUnomOnlyWhenGiven)
{
    EXPECT_EQ(Read("<ReportData><CurrentPage Value='5'/><CurrentPage/></ReportData>").CurrentPage, 0);
    EXPECT_EQ(Read("<ReportData><CurrentPage Value='5'/><CurrentPage Value=''/></ReportData>").CurrentPage, 0);
    const struct {
        const char* value;
        int32_t expected;
    } unoms[] = {{" 2", 2}, {"2x", 2}, {"x2", 0}, {"3", 3}};
    for (const auto& u : unoms)
        EXPECT_EQ(Read(std::string("<ReportData><Unom Value='") + u.value + "'/></ReportData>").Unom,
                  u.expected)
            << u.value;
    EXPECT_EQ(Read("<ReportData><Unom Value='2'/><Unom Value=''/></ReportData>").Unom, 2);
}

TEST(ReadReportData, BeginDateTime)
{
    const struct {
        const char* text;
        const char* expected;
    } cases[] = {
        {"01.03.2011 00:00:00", "2011-03-01 00:00:00"},
        {"1.3.2011 0:0:0", "2011-03-01 00:00:00"},
        {"29.02.2012 00:00:00", "2012-02-29 00:00:00"},
        {"29.02.2011 00:00:00", "unset"},
        {"31.04.2011 00:00:00", "unset"},
        {"01.03.2011 24:00:00", "unset"},
        {"01.03.2011 23:60:00", "unset"},
        {" 01.03.2011 00:00:00", "unset"},
        {"01.03.2011", "unset"},
        {"01.03.201100:00:00", "unset"},  // no blank: the year runs into the hours
        {"01.03.2011\t 08:30:15 trailing", "2011-03-01 08:30:15"},
        {"01-03-2011 00:00:00", "unset"},
        {"00.03.2011 00:00:00", "unset"},
        {"01.13.2011 00:00:00", "unset"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Stamp(Read(std::string("<ReportData><dt_begin Value='") + c.text + "'/></ReportData>")
                            .dt_begin),
                  c.expected)
            << c.text;
    // A refused value keeps the earlier one.
    EXPECT_EQ(Stamp(Read("<ReportData><dt_begin Value='02.03.2011 00:00:00'/>"
                         "<dt_begin Value='30.02.2011 00:00:00'/></ReportData>").dt_begin),
              "2011-03-02 00:00:00");
}

TEST(ParseTimeOfDay, ComposesOntoTheInstantsDate)
{
    const struct {
        const char* text;
        bool ok;
        const char* expected;
    } cases[] = {
        {"8:30", true, "2011-03-05 08:30:00"},
        {"08:30:00", true, "2011-03-05 08:30:00"},
        {"8:30:15:99", true, "2011-03-05 08:30:15"},
        {"ab:cd", true, "2011-03-05 00:00:00"},
        {"23:59:61", true, "2011-03-06 00:00:01"},
        {"", false, ""},
        {"8", false, ""},
        {"8:", false, ""},
        {":30", false, ""},
        {"8::15", false, ""},
        // Numbers out of range are wrong times, not unset instants.
        {"24:00", false, ""},
        {"8:60", false, ""},
        {"8:00:62", false, ""},
        {"-1:00", false, ""},
    };
    for (const auto& c : cases) {
        LogCapture log;
        wxDateTime instant = At(5, 17, 45, 12);
        EXPECT_EQ(ParseTimeOfDay(c.text, instant), c.ok) << c.text;
        EXPECT_EQ(Stamp(instant), c.ok ? c.expected : "2011-03-05 17:45:12") << c.text;
        EXPECT_EQ(log.Has("Wrong date"), !c.ok) << c.text;
    }
}

// ---- the checks before the XML reader -----------------------------------------

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

// ---- times the local clock skips -------------------------------------------------

// TZ for as long as it lives; the earlier value (or none) comes back after.
class LocalZone {
public:
    explicit LocalZone(const std::string& tz)
    {
        if (const char* old = std::getenv("TZ"))
            previous_ = old;
        ::setenv("TZ", tz.c_str(), 1);
        ::tzset();
    }
    ~LocalZone()
    {
        if (previous_)
            ::setenv("TZ", previous_->c_str(), 1);
        else
            ::unsetenv("TZ");
        ::tzset();
    }
    LocalZone(const LocalZone&) = delete;
    LocalZone& operator=(const LocalZone&) = delete;

private:
    std::optional<std::string> previous_;
};

// Whether the system's time zone data has `zone` (a POSIX rule needs none).
bool ZoneInstalled(const std::string& zone)
{
    if (zone.find(',') != std::string::npos || zone == "UTC")
        return true;
    const char* dir = std::getenv("TZDIR");
    struct stat st;
    return ::stat(((dir ? std::string(dir) : std::string("/usr/share/zoneinfo")) + "/" + zone).c_str(),
                  &st) == 0;
}

std::string LocalStamp(std::time_t t)
{
    std::tm tm{};
    localtime_r(&t, &tm);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &tm);
    return text;
}

const char kMoscow[] = "Europe/Moscow";
const char kNewYork[] = "America/New_York";
const char kNewYorkRule[] = "EST5EDT,M3.2.0,M11.1.0";  // New York's rule since 2007, without tzdata

TEST(ComposeDateTime, TimesTheClockSkipsMoveForwardToTheJump)
{
    const struct {
        const char* zone;
        long day, month, year, hours, minutes, seconds;
        std::time_t expected;
        const char* local;
    } cases[] = {
        // Moscow 27.03.2011: 02:00 MSK (+3) became 03:00 MSK (+4); the C
        // library gave 01:30 for 02:30, an hour backwards.
        {kMoscow, 27, 3, 2011, 2, 30, 0, 1301180400, "2011-03-27 03:00:00"},
        {kMoscow, 27, 3, 2011, 2, 0, 0, 1301180400, "2011-03-27 03:00:00"},
        {kMoscow, 27, 3, 2011, 2, 59, 59, 1301180400, "2011-03-27 03:00:00"},
        {kMoscow, 27, 3, 2011, 1, 59, 60, 1301180400, "2011-03-27 03:00:00"},  // 02:00:00
        {kMoscow, 28, 3, 2010, 2, 30, 0, 1269730800, "2010-03-28 03:00:00"},   // summer time
        // New York 13.03.2011: 02:00 EST became 03:00 EDT; 02:30 gave 03:30.
        {kNewYork, 13, 3, 2011, 2, 30, 0, 1299999600, "2011-03-13 03:00:00"},
        {kNewYorkRule, 13, 3, 2011, 2, 30, 0, 1299999600, "2011-03-13 03:00:00"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.zone) + " " + std::to_string(c.day) + "." + std::to_string(c.month) + "." +
                     std::to_string(c.year) + " " + std::to_string(c.hours) + ":" +
                     std::to_string(c.minutes) + ":" + std::to_string(c.seconds));
        ASSERT_TRUE(ZoneInstalled(c.zone)) << "the time zone data (tzdata) lacks " << c.zone;
        const LocalZone zone(c.zone);
        const wxDateTime t = ComposeDateTime(c.day, c.month, c.year, c.hours, c.minutes, c.seconds);
        ASSERT_TRUE(t.IsValid());
        EXPECT_EQ(t.GetTicks(), c.expected);
        EXPECT_EQ(LocalStamp(t.GetTicks()), c.local);
        EXPECT_EQ(Stamp(t), c.local);
    }
}

// Every minute of the days the clocks change: where the clock shows the time,
// the C library's instant as before; where it skips it, the jump.
TEST(ComposeDateTime, EveryOtherTimeKeepsTheCLibrarysInstant)
{
    const struct {
        const char* zone;
        long day, month, year;
        int skippedMinutes;
    } days[] = {
        {kMoscow, 27, 3, 2011, 60},      {kMoscow, 30, 10, 2011, 0},  // no change that autumn
        {kMoscow, 28, 3, 2010, 60},      {kMoscow, 31, 10, 2010, 0},  // 02:00..03:00 twice
        {kMoscow, 26, 10, 2014, 0},                                   // 01:00..02:00 twice
        {kNewYork, 13, 3, 2011, 60},     {kNewYork, 6, 11, 2011, 0},  // 01:00..02:00 twice
        {kNewYorkRule, 13, 3, 2011, 60}, {kNewYorkRule, 6, 11, 2011, 0},
        {"UTC", 27, 3, 2011, 0},         {"Asia/Tokyo", 27, 3, 2011, 0},
    };
    for (const auto& d : days) {
        SCOPED_TRACE(std::string(d.zone) + " " + std::to_string(d.day) + "." + std::to_string(d.month) + "." +
                     std::to_string(d.year));
        ASSERT_TRUE(ZoneInstalled(d.zone)) << "the time zone data (tzdata) lacks " << d.zone;
        const LocalZone zone(d.zone);
        int skipped = 0;
        for (int minute = 0; minute < 24 * 60; ++minute) {
            std::tm tm{};
            tm.tm_year = static_cast<int>(d.year) - 1900;
            tm.tm_mon = static_cast<int>(d.month) - 1;
            tm.tm_mday = static_cast<int>(d.day);
            tm.tm_hour = minute / 60;
            tm.tm_min = minute % 60;
            tm.tm_isdst = -1;
            std::tm asked = tm;
            const std::time_t c = std::mktime(&tm);
            const bool shown =
                tm.tm_mday == asked.tm_mday && tm.tm_hour == asked.tm_hour && tm.tm_min == asked.tm_min;
            const wxDateTime t = ComposeDateTime(d.day, d.month, d.year, minute / 60, minute % 60, 0);
            ASSERT_TRUE(t.IsValid()) << minute;
            if (shown) {
                EXPECT_EQ(t.GetTicks(), c) << minute;
                continue;
            }
            ++skipped;
            // The jump: the second before it reads earlier than asked, the
            // instant itself later.
            char asked_text[8];
            std::snprintf(asked_text, sizeof asked_text, "%02d:%02d", asked.tm_hour, asked.tm_min);
            const std::string day = LocalStamp(t.GetTicks()).substr(0, 11);
            EXPECT_LT(LocalStamp(t.GetTicks() - 1), day + asked_text) << minute;
            EXPECT_GT(LocalStamp(t.GetTicks()), day + asked_text) << minute;
            EXPECT_GT(t.GetTicks(), c - 86400) << minute;
        }
        EXPECT_EQ(skipped, d.skippedMinutes);
    }
}

TEST(ParseTimeOfDay, TimesTheClockSkipsMoveForwardToTheJump)
{
    const struct {
        const char* zone;
        long day;
        const char* text;
        std::time_t expected;
    } cases[] = {
        {kMoscow, 27, "2:30", 1301180400},         {kMoscow, 27, "02:00:00", 1301180400},
        {kMoscow, 27, "1:59", 1301180340},         {kMoscow, 27, "3:00", 1301180400},
        {kNewYork, 13, "2:30", 1299999600},        {kNewYork, 13, "3:30", 1299999600 + 1800},
        {kNewYorkRule, 13, "2:59:59", 1299999600},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.zone) + " " + c.text);
        ASSERT_TRUE(ZoneInstalled(c.zone)) << "the time zone data (tzdata) lacks " << c.zone;
        const LocalZone zone(c.zone);
        wxDateTime instant = ComposeDateTime(c.day, 3, 2011, 0, 0, 0);
        LogCapture log;
        ASSERT_TRUE(ParseTimeOfDay(c.text, instant));
        EXPECT_EQ(instant.GetTicks(), c.expected);
        EXPECT_TRUE(log.lines.empty());
    }
}

TEST(ReadReportData, BeginDateTimeTheClockSkipsMovesForward)
{
    ASSERT_TRUE(ZoneInstalled(kMoscow)) << "the time zone data (tzdata) lacks " << kMoscow;
    const LocalZone zone(kMoscow);
    const wxDateTime t = Read("<ReportData><dt_begin Value='27.03.2011 02:30:00'/></ReportData>").dt_begin;
    EXPECT_EQ(Stamp(t), "2011-03-27 03:00:00");
    EXPECT_EQ(t.GetTicks(), 1301180400);
}

}  // namespace
