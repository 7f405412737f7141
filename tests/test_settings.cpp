// Reading the settings document's values, and the date and time parsers.
#include <gtest/gtest.h>
#include <wx/mstream.h>
#include <wx/xml/xml.h>

#include "fixtures.h"
#include "settings/date_parsing.h"
#include "settings/header_values.h"
#include "settings/settings_document.h"
#include "settings/text.h"

namespace {

// The settings of a document with these children of its root.
ReportSettings Settings(const std::string& children)
{
    const std::string text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?><mqv-analyser-settings>" +
                             children + "</mqv-analyser-settings>";
    wxMemoryInputStream stream(text.data(), text.size());
    wxXmlDocument doc;
    EXPECT_TRUE(doc.Load(stream, "UTF-8"));
    const std::optional<ReportSettings> settings = ReadSettings(doc);
    EXPECT_TRUE(settings.has_value());
    return settings.value_or(ReportSettings());
}

// The values of every ReportData element of such a document.
ReportHeaderValues Read(const std::string& children) { return Settings(children).header; }

std::string Cp(const char* utf8) { return CodePageFromUtf8(utf8); }

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

}  // namespace
