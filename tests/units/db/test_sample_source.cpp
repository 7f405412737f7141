// The database source reading what SQLite stores: values that are no finite
// numbers, stored as text, as a BLOB or as a REAL infinity, each read as 0 and
// warned of once per statistic; and a database of numbers, warned of never.
// Its windows and orders are those of the source in memory that the
// evaluations are tested over.
#include <algorithm>
#include <cstdio>
#include <limits>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "stats/extremes.h"
#include "stats/harmonics.h"
#include "stats/unbalance_frequency.h"
#include "tests/units/fixtures.h"
#include "tests/units/stats/memory_source.h"

using namespace pq;

namespace {

TEST(NotFinite, OneSidedStatisticsCountThemAs0)
{
    for (const auto& c : kNotFinite) {
        SCOPED_TRACE(c.literal);
        FixtureDb f;
        f.PutSeries("uthd3s", "L3", At(1), 3, Repeat(28800, 1.5));
        f.PutSeries("u0unbalance3s", "Value", At(1), 3, Repeat(28800, 1.5));
        SetLiteral(f, "uthd3s", "L3", At(1, 12), At(1, 12, 0, 6), c.literal);          // 2 values
        SetLiteral(f, "u0unbalance3s", "Value", At(1, 12), At(1, 12, 0, 3), c.literal);  // 1 value
        LogCapture log;
        const StatisticResult thd = ThdStatistic(TestDay(f), SeriesOf("uthd3s"), 2);
        const StatisticResult u0 = UnbalanceStatistic(TestDay(f), SeriesOf("u0unbalance3s"));
        EXPECT_EQ(RecordTexts(thd), (TextList{"1,50", "1,50", "0,00", "0,00", "8,00", "12,00"}));
        EXPECT_EQ(RecordTexts(u0), (TextList{"1,50", "1,50", "0,00", "0,00"}));
        EXPECT_TRUE(thd.complies);
        EXPECT_TRUE(u0.complies);
        EXPECT_EQ(thd.counts.values, 28800);
        EXPECT_EQ(thd.counts.notFinite, 2);
        EXPECT_EQ(u0.counts.notFinite, 1);
        std::vector<std::string> lines{"Uthd uthd3s L3"};
        if (c.storedAsText)
            lines.push_back(StoredAsText("uthd3s.L3", 2));
        lines.push_back("uthd3s.L3: 2 values are not finite numbers and count as 0.");
        lines.push_back("Kx, single u0unbalance3s");
        if (c.storedAsText)
            lines.push_back(StoredAsText("u0unbalance3s.Value", 1));
        lines.push_back("u0unbalance3s.Value: 1 value is not a finite number and counts as 0.");
        EXPECT_EQ(log.lines, lines);
    }
}

TEST(NotFinite, FrequencyDeviationCountsThemAs0)
{
    for (const auto& c : kNotFinite) {
        SCOPED_TRACE(c.literal);
        FixtureDb f;
        f.PutSeries("ac20sdfreq", "Value", At(1), 20, Repeat(4320, 0.1));
        SetLiteral(f, "ac20sdfreq", "Value", At(1, 12), At(1, 12, 1), c.literal);  // 3 values
        LogCapture log;
        const StatisticResult r = FrequencyDeviationStatistic(TestDay(f), SeriesOf("ac20sdfreq"));
        EXPECT_EQ(RecordTexts(r), (TextList{"0,10", "0,10", "0,00", "0,10", "0,00", "0,00", "0,00", "0,00"}));
        EXPECT_TRUE(r.complies);
        EXPECT_EQ(r.counts.values, 4320);
        EXPECT_EQ(r.counts.notFinite, 3);
        std::vector<std::string> lines{"AC, single ac20sdfreq"};
        if (c.storedAsText)
            lines.push_back(StoredAsText("ac20sdfreq.Value", 3));
        lines.push_back("ac20sdfreq.Value: 3 values are not finite numbers and count as 0.");
        EXPECT_EQ(log.lines, lines);
    }
}

TEST(NotFinite, ADatabaseOfNumbersLogsNoWarning)
{
    FixtureDb f;
    f.PutSeries("uthd3s", "L1", At(1), 3, Ramp(0.0, 0.001, 28800));
    f.PutSeries("harm_u_L3_3s", "H7", At(1), 3, Ramp(0.0, 0.0001, 28800));
    f.PutSeries("ac20sdfreq", "Value", At(1), 20, Ramp(-0.3, 0.0001, 4320));
    LogCapture log;
    ThdStatistic(TestDay(f), SeriesOf("uthd3s"), 0);
    HarmonicStatistic(TestDay(f), SeriesOf("harm_u_L3_3s"), 40);
    FrequencyDeviationStatistic(TestDay(f), SeriesOf("ac20sdfreq"));
    FrequencyMinMax(f.source(), f.notes(), "ac20sdfreq", At(1), At(2));
    VoltageMinMax(f.source(), f.notes(), "du1m", At(1), At(2));
    EXPECT_EQ(Lines(log), (std::vector<std::string>{"Uthd uthd3s L1", "HarmL harm_u_L3_3s", "AC, single ac20sdfreq",
                                                    "Fr, min max ac20sdfreq", "U min max du1m"}));
}

// Everything a source gives of one column in one window, as text: the count,
// both orders pass by pass with what each pass counted, and the extremes.
std::vector<std::string> View(SampleSource& source, const SampleColumn& column, const SampleWindow& window)
{
    const auto reading = [](const ValueReading& r) {
        char text[64];
        std::snprintf(text, sizeof text, "%.17g%s", r.value, r.finite ? "" : " (not finite)");
        std::string shown = text;
        std::replace(shown.begin(), shown.end(), ',', '.');  // whatever the locale
        return shown;
    };
    std::vector<std::string> view{"count " + std::to_string(source.Count(column, window)),
                                  "stored as text " + std::to_string(source.StoredAsTextCount(column, window))};
    for (const bool byNumber : {false, true}) {
        const std::unique_ptr<OrderedValues> values = source.Ordered(column, window, byNumber);
        for (int pass = 0; pass < 2; ++pass) {
            std::string line = byNumber ? "by number:" : "in order:";
            values->Rewind();
            while (values->Next())
                line += " " + reading(values->Value());
            view.push_back(line + "; " + std::to_string(values->StoredAsText()) + " as text, " +
                           std::to_string(values->Infinities()) + " infinite");
        }
    }
    for (const ExtremeKind kind :
         {ExtremeKind::Minimum, ExtremeKind::Maximum, ExtremeKind::SmallestByNumber, ExtremeKind::LargestByNumber}) {
        const StoredExtreme e = source.Extreme(column, window, kind);
        view.push_back(std::string(e.found ? "found " : "none ") + reading(e.reading) +
                       (e.storedAsText ? " as text" : "") + (e.infinity ? " infinite" : ""));
    }
    return view;
}

TEST(DatabaseSource, TakesTheWindowsAndOrdersOfTheSourceInMemory)
{
    const double infinity = std::numeric_limits<double>::infinity();
    // Numbers, infinities and texts SQLite keeps as text, on the bounds of the
    // day and of three max-load periods (the last one past midnight), and on
    // the days before and after. No two values tie by number unless they
    // read alike, so that both orders are one.
    const struct {
        wxDateTime at;
        double number;
        const char* text;  // stored as text instead of the number
    } values[] = {
        {At(1) - wxTimeSpan::Second(), 9.5, nullptr},  {At(1), -3.5, nullptr},
        {At(1, 7, 59, 59), 2.25, nullptr},              {At(1, 8), -infinity, nullptr},
        {At(1, 9), 0, "0,5"},                           {At(1, 9, 30), 1.125, nullptr},
        {At(1, 10), 0, "abc"},                          {At(1, 12), 7.75, nullptr},
        {At(1, 17, 59, 59), 0, "-1,5"},                 {At(1, 18), 4.5, nullptr},
        {At(1, 19, 59, 59), 0, "10 kV"},                {At(1, 20), infinity, nullptr},
        {At(1, 22, 59, 59), -2.75, nullptr},            {At(1, 23), 0, "-0,25"},
        {At(1, 23, 59, 59), 3.0625, nullptr},           {At(2), 0, "nan"},
        {At(2, 0, 30), -6.5, nullptr},
    };
    FixtureDb db;
    MemorySource memory;
    for (const auto& v : values) {
        if (v.text) {
            db.PutText("du1m", "L1", v.at, v.text);
            memory.PutText("du1m", "L1", v.at, v.text);
        } else {
            db.Put("du1m", "L1", v.at, v.number);
            memory.Put("du1m", "L1", v.at, v.number);
        }
    }
    const DateTimeList begins{At(1, 8), At(1, 18), At(1, 23)}, ends{At(1, 10), At(1, 20), At(2, 1)};
    const struct {
        const char* name;
        SampleWindow window;
        int count;
    } windows[] = {
        {"whole day", {LoadRegime::WholeDay, At(1), At(2), begins, ends}, 14},
        // 08:00, 09:00, 09:30, 18:00, 19:59:59, 23:00, 23:59:59.
        {"max-load", {LoadRegime::MaxLoad, At(1), At(2), begins, ends}, 7},
        // 00:00, 07:59:59, 10:00, 12:00, 17:59:59, 20:00, 22:59:59.
        {"min-load", {LoadRegime::MinLoad, At(1), At(2), begins, ends}, 7},
        {"max-load without periods", {LoadRegime::MaxLoad, At(1), At(2), {}, {}}, 14},
        {"min-load without periods", {LoadRegime::MinLoad, At(1), At(2), {}, {}}, 14},
        {"a period", {LoadRegime::WholeDay, At(1), At(3), {}, {}}, 16},
        {"an empty day", {LoadRegime::WholeDay, At(5), At(6), {}, {}}, 0},
    };
    for (const auto& w : windows) {
        SCOPED_TRACE(w.name);
        const std::vector<std::string> view = View(db.source(), {"du1m", "L1"}, w.window);
        EXPECT_EQ(view, View(memory, {"du1m", "L1"}, w.window));
        EXPECT_EQ(view.front(), "count " + std::to_string(w.count));
    }
    // SQLite's own order of the whole day (an infinity at each end of the
    // numbers, the texts by their bytes), and the order by number.
    const std::vector<std::string> day = View(memory, {"du1m", "L1"}, windows[0].window);
    EXPECT_EQ(day[2], "in order: 0 (not finite) -3.5 -2.75 1.125 2.25 3.0625 4.5 7.75 0 (not finite) -0.25 -1.5 "
                      "0.5 10 0 (not finite); 5 as text, 2 infinite");
    EXPECT_EQ(day[4], "by number: -3.5 -2.75 -1.5 -0.25 0 (not finite) 0 (not finite) 0 (not finite) 0.5 1.125 "
                      "2.25 3.0625 4.5 7.75 10; 5 as text, 2 infinite");
}

// An empty text is a value like any other text: SQLite orders it after
// every number, and it reads as 0, no finite number.
TEST(DatabaseSource, AnEmptyTextIsAValue)
{
    FixtureDb db;
    MemorySource memory;
    for (SampleSource* source : {static_cast<SampleSource*>(&db.source()), static_cast<SampleSource*>(&memory)}) {
        SCOPED_TRACE(source == &memory ? "in memory" : "database");
        if (source == &memory) {
            memory.Put("du1m", "L2", At(1, 1), -1.5);
            memory.Put("du1m", "L2", At(1, 2), -0.75);
            memory.PutText("du1m", "L2", At(1, 3), "");
        } else {
            db.Put("du1m", "L2", At(1, 1), -1.5);
            db.Put("du1m", "L2", At(1, 2), -0.75);
            db.PutText("du1m", "L2", At(1, 3), "");
        }
        const SampleWindow day{LoadRegime::WholeDay, At(1), At(2), {}, {}};
        EXPECT_EQ(View(*source, {"du1m", "L2"}, day),
                  (std::vector<std::string>{"count 3", "stored as text 1",
                                            "in order: -1.5 -0.75 0 (not finite); 1 as text, 0 infinite",
                                            "in order: -1.5 -0.75 0 (not finite); 1 as text, 0 infinite",
                                            "by number: -1.5 -0.75 0 (not finite); 1 as text, 0 infinite",
                                            "by number: -1.5 -0.75 0 (not finite); 1 as text, 0 infinite",
                                            "found -1.5", "found 0 (not finite) as text", "found -1.5",
                                            "found 0 (not finite) as text"}));
    }
}

}  // namespace
