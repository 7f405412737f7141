// How complete a day's or a period's measurements are, and the warnings a
// day's counts call for.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "model/completeness.h"
#include "model/day_plan.h"

using namespace pq;

namespace {

std::vector<std::string> Utf8(const std::vector<wxString>& texts)
{
    std::vector<std::string> out;
    for (const wxString& t : texts)
        out.push_back(t.utf8_string());
    return out;
}

// The whole-day statistics in plan order, with a full day of each.
const struct {
    size_t statistic;  // in DayPlan()
    const char* series;
    long long perDay;
} kWholeDay[] = {
    {6, "du1m.L1", 1440},           {7, "du1m.L2", 1440},           {8, "du1m.L3", 1440},
    {11, "u1unbalance1m.Value", 1440}, {12, "uthd3s.L1", 28800},    {13, "uthd3s.L2", 28800},
    {14, "uthd3s.L3", 28800},       {15, "u0unbalance3s.Value", 28800}, {16, "u2unbalance3s.Value", 28800},
    {17, "ac20sdfreq.Value", 4320}, {18, "harm_u_L1_3s", 28800 * 39LL}, {19, "harm_u_L2_3s", 28800 * 39LL},
    {20, "harm_u_L3_3s", 28800 * 39LL},
};

TEST(SeriesCompleteness, TheWholeDayStatisticsPresentAndExpected)
{
    // 100 + i values at statistic i, 3 of them no finite numbers.
    std::vector<SampleCounts> counts(DayPlan().size());
    for (size_t i = 0; i < counts.size(); ++i)
        counts[i] = {100 + static_cast<int>(i), 3};
    const std::vector<SeriesCompleteness> rows = Completeness(counts, 3);
    ASSERT_EQ(rows.size(), std::size(kWholeDay));
    for (size_t r = 0; r < rows.size(); ++r) {
        SCOPED_TRACE(kWholeDay[r].series);
        EXPECT_EQ(rows[r].statistic, &DayPlan()[kWholeDay[r].statistic]);
        EXPECT_EQ(rows[r].Series(), kWholeDay[r].series);
        EXPECT_EQ(rows[r].present, static_cast<long long>(97 + kWholeDay[r].statistic));
        EXPECT_EQ(rows[r].expected, 3 * kWholeDay[r].perDay);
    }
    // Counts of fewer statistics than the plan's give the rows they reach.
    EXPECT_EQ(Completeness(std::vector<SampleCounts>(12), 1).size(), 4u);
    EXPECT_TRUE(Completeness({}, 1).empty());
}

// A day of the plan's statistics, each with the same counts, number 2 on
// 2 March 2011.
EvaluatedDay DayOf(SampleCounts counts)
{
    EvaluatedDay day;
    day.number = 2;
    day.start = wxDateTime(2, wxDateTime::Mar, 2011);
    day.end = wxDateTime(3, wxDateTime::Mar, 2011);
    day.statistics.resize(DayPlan().size());
    for (StatisticResult& s : day.statistics)
        s.counts = counts;
    return day;
}

TEST(DayGapWarnings, ADayWithoutAValue)
{
    const std::string none =
        "Day 2 (02.03.2011) has no value in any measured series: its page shows 0,00 and its charts are empty.";
    EXPECT_EQ(Utf8(DayGapWarnings(DayOf({0, 0}))), std::vector<std::string>{none});
    // Values that are no finite numbers are no values.
    EXPECT_EQ(Utf8(DayGapWarnings(DayOf({40, 40}))), std::vector<std::string>{none});
    // Values at max load only are not counted apart from the whole day's.
    EvaluatedDay maxLoadOnly = DayOf({0, 0});
    maxLoadOnly.statistics[0].counts = {720, 0};
    EXPECT_EQ(Utf8(DayGapWarnings(maxLoadOnly)), std::vector<std::string>{none});
    // One value of one series is enough.
    EvaluatedDay one = DayOf({0, 0});
    one.statistics[17].counts = {1, 0};
    EXPECT_TRUE(DayGapWarnings(one).empty());
}

TEST(DayGapWarnings, SeriesWithMoreValuesThanAFullDay)
{
    EvaluatedDay day = DayOf({1440, 0});
    for (const auto& w : kWholeDay)
        day.statistics[w.statistic].counts = {static_cast<int>(w.perDay), 0};
    EXPECT_TRUE(DayGapWarnings(day).empty());  // full, not over
    day.statistics[6].counts = {1441, 0};
    day.statistics[19].counts = {28800 * 39 + 5, 0};
    day.statistics[0].counts = {5000, 0};  // max load: not a whole day's count
    EXPECT_EQ(Utf8(DayGapWarnings(day)),
              std::vector<std::string>{"Day 2 (02.03.2011) has more values than a full day holds in du1m.L1 (1441 of "
                                       "1440), harm_u_L2_3s (1123205 of 1123200): values at repeated time stamps all "
                                       "count."});
    // Values that are no finite numbers do not count as over.
    day.statistics[6].counts = {1441, 1};
    day.statistics[19].counts = {28800 * 39, 0};
    EXPECT_TRUE(DayGapWarnings(day).empty());
}

}  // namespace
