// The settings of a run checked before the database is opened: what refuses
// them, with which lines, and each day's max-load period on its date.
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "settings/run_settings.h"
#include "tests/units/fixtures.h"

using namespace pq;

namespace {

// Header values that make a run of `days` days from 1 March 2011 06:00, with
// max load 08:00 to 20:00 every day.
ReportHeaderValues Header(const std::string& days)
{
    ReportHeaderValues h;
    h.dt_begin = At(1, 6);
    h.n_Dayes = days;
    h.dt_max_load_begin.fill("8:00");
    h.dt_max_load_end.fill("20:00");
    return h;
}

std::optional<RunSettings> Check(const ReportHeaderValues& header)
{
    ReportSettings settings;
    settings.header = header;
    return CheckRunSettings("/data/settings.xml", settings);
}

TEST(CheckRunSettings, ValuesThatCannotMakeAReportRefuseTheSettings)
{
    const struct {
        const char* name;
        void (*change)(ReportHeaderValues&);
        std::string error;
    } cases[] = {
        {"8 days", [](ReportHeaderValues& h) { h.n_Dayes = "8"; },
         "n_Dayes is 8, but the settings describe at most 7 days."},
        {"no begin", [](ReportHeaderValues& h) { h.dt_begin = wxDateTime(); },
         "dt_begin is missing or is not a date and time of the form dd.mm.yyyy hh:mm:ss."},
        {"an end before the year 1", [](ReportHeaderValues& h) { h.n_Dayes = "-3000000"; },
         "n_Dayes is -3000000: the period would end before the year 1."},
        {"an unknown export word", [](ReportHeaderValues& h) { h.Export = "json, pdfa"; },
         "Export names \"pdfa\", which is no export format (known: json, xlsx, pdf)."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ReportHeaderValues header = Header("3");
        c.change(header);
        LogCapture log;
        EXPECT_FALSE(Check(header));
        EXPECT_EQ(log.lines, (std::vector<std::string>{c.error, "Ini file problem!\n"}));
        EXPECT_EQ(log.levels, (std::vector<wxLogLevel>{wxLOG_Error, wxLOG_Message}));
    }
}

TEST(CheckRunSettings, AMaxLoadTimeOfTheLastDayThatDoesNotParse)
{
    for (const bool atTheEnd : {false, true}) {
        SCOPED_TRACE(atTheEnd ? "the end" : "the begin");
        ReportHeaderValues header = Header("3");
        (atTheEnd ? header.dt_max_load_end : header.dt_max_load_begin)[2] = "25:00";
        LogCapture log;
        EXPECT_FALSE(Check(header));
        EXPECT_EQ(log.lines, (std::vector<std::string>{"Wrong date", "Wrong datetime in ini file!\n"}));
        EXPECT_EQ(log.levels, (std::vector<wxLogLevel>{wxLOG_Error, wxLOG_Message}));
    }
    // A day beyond the run's days is not read.
    ReportHeaderValues header = Header("3");
    header.dt_max_load_begin[3] = "25:00";
    LogCapture log;
    EXPECT_TRUE(Check(header));
    EXPECT_TRUE(log.lines.empty());
}

TEST(CheckRunSettings, EachDaysMaxLoadPeriodOnItsDate)
{
    ReportHeaderValues header = Header("3");
    header.Export = "xlsx";
    header.dt_max_load_begin[1] = "22:30";
    header.dt_max_load_end[1] = "23:45:30";
    // Before the day's clock time of 06:00, and ending before it begins:
    // both on the day's date as written.
    header.dt_max_load_begin[2] = "5:15";
    header.dt_max_load_end[2] = "1:00";
    LogCapture log;
    const std::optional<RunSettings> run = Check(header);
    ASSERT_TRUE(run);
    EXPECT_TRUE(log.lines.empty());
    EXPECT_EQ(run->file, "/data/settings.xml");
    EXPECT_EQ(run->days, 3);
    EXPECT_FALSE(run->exports.json);
    EXPECT_TRUE(run->exports.xlsx);
    ASSERT_EQ(run->maxLoad.size(), 3u);
    const struct {
        wxDateTime begin, end;
    } expected[] = {{At(1, 8), At(1, 20)}, {At(2, 22, 30), At(2, 23, 45, 30)}, {At(3, 5, 15), At(3, 1)}};
    for (size_t k = 0; k < 3; ++k) {
        EXPECT_EQ(Stamp(run->maxLoad[k].begin), Stamp(expected[k].begin)) << "day " << k + 1;
        EXPECT_EQ(Stamp(run->maxLoad[k].end), Stamp(expected[k].end)) << "day " << k + 1;
    }
    EXPECT_EQ(Stamp(run->GetPeriod().NamedEnd()), "2011-03-04 06:00:00");
}

TEST(CheckRunSettings, NoDaysGiveNoPeriods)
{
    for (const char* days : {"0", "", "none"}) {
        SCOPED_TRACE(days);
        ReportHeaderValues header = Header(days);
        header.dt_max_load_begin.fill("not a time");
        LogCapture log;
        const std::optional<RunSettings> run = Check(header);
        ASSERT_TRUE(run);
        EXPECT_EQ(run->days, 0);
        EXPECT_TRUE(run->maxLoad.empty());
        EXPECT_TRUE(log.lines.empty());
    }
    // Seven days are the most.
    LogCapture log;
    const std::optional<RunSettings> week = Check(Header("7"));
    ASSERT_TRUE(week);
    EXPECT_EQ(week->maxLoad.size(), 7u);
    EXPECT_EQ(Stamp(week->maxLoad[6].begin), "2011-03-07 08:00:00");
}

}  // namespace
