// Reading the values of the ReportData elements into the header record.
#include <optional>
#include <string>

#include <gtest/gtest.h>
#include <wx/xml/xml.h>

#include "base/text.h"
#include "settings/header_values.h"
#include "settings/settings_document.h"
#include "tests/units/fixtures.h"

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

TEST(ReadReportData, BeginDateTimeTheClockSkipsMovesForward)
{
    ASSERT_TRUE(ZoneInstalled(kMoscow)) << "the time zone data (tzdata) lacks " << kMoscow;
    const LocalZone zone(kMoscow);
    const wxDateTime t = Read("<ReportData><dt_begin Value='27.03.2011 02:30:00'/></ReportData>").dt_begin;
    EXPECT_EQ(Stamp(t), "2011-03-27 03:00:00");
    EXPECT_EQ(t.GetTicks(), 1301180400);
}

}  // namespace
