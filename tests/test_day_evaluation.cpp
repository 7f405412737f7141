// Day evaluation: the day window, the max-load period, the placement of every
// statistic's slots in the day value table, the flags and the summary.
#include <random>

#include <gtest/gtest.h>

#include "fixtures.h"
#include "report/day_evaluation.h"
#include "report/fixed_texts.h"
#include "settings/header_values.h"
#include "settings/text.h"
#include "stats/harmonics.h"
#include "stats/unbalance_frequency.h"
#include "stats/voltage_deviation.h"

namespace {

class DayEvaluation : public testing::Test {
protected:
    void SetUp() override
    {
        ReportHeaderValues& h = header;
        h.dt_begin = At(1);
        h.att_Header = {"h0", "h1", CodePageFromUtf8("Объект"), "h3"};
        h.dt_max_load_begin.fill("8:00");
        h.dt_max_load_end.fill("20:00");
    }

    // Varied values, so that the slots of the statistics differ.
    void FillDay(int day, double spread)
    {
        std::mt19937 random(static_cast<unsigned>(day));
        std::uniform_real_distribution<double> u(0.0, 1.0);
        auto series = [&](int count, double lo, double width) {
            std::vector<double> v(static_cast<size_t>(count));
            for (double& x : v)
                x = lo + width * u(random);
            return v;
        };
        const wxDateTime start = At(day);
        for (int p = 0; p < 3; ++p) {
            const std::string L = "L" + std::to_string(p + 1);
            db.PutSeries("du1m", L, start, 60, series(1440, -4.0 + 0.3 * p, 8.0 + spread));
            db.PutSeries("uthd3s", L, start, 30, series(2880, 1.0 + 0.5 * p, 5.0 + spread));
            const std::string harm = "harm_u_L" + std::to_string(p + 1) + "_3s";
            db.PutSeries(harm, "H2", start, 30, series(2880, 0.1 + 0.2 * p, 1.0));
            db.PutSeries(harm, "H40", start, 30, series(2880, 0.01 * p, 0.1));
        }
        db.PutSeries("u1unbalance1m", "Value", start, 60, series(1440, -3.0, 6.0 + spread));
        db.PutSeries("u0unbalance3s", "Value", start, 30, series(2880, 0.2, 1.5 + spread));
        db.PutSeries("u2unbalance3s", "Value", start, 30, series(2880, 0.1, 1.5));
        db.PutSeries("ac20sdfreq", "Value", start, 20, series(4320, -0.15, 0.3));
    }

    FixtureDb db;
    ReportHeaderValues header;
};

TEST_F(DayEvaluation, PlacesEverySlotAndKeepsTheOtherEntries)
{
    FillDay(1, 0.0);
    ComplianceFlags flags;
    DayResult day;
    std::vector<std::string> lines;
    {
        LogCapture log;
        ASSERT_TRUE(EvaluateDay(header, 0, db.db(), flags, day));
        lines = log.lines;
    }

    const TextList& v = day.values;
    ASSERT_EQ(v.size(), 1000u);
    EXPECT_EQ(v[0], MakerName());
    EXPECT_EQ(TextList(v.begin() + 1, v.begin() + 5), (TextList{"h0", "h1", CodePageFromUtf8("Объект"), "h3"}));
    EXPECT_EQ(TextList(v.begin() + 5, v.begin() + 9), (TextList{"01.03.2011", "00:00", "02.03.2011", "00:00"}));
    for (int i : {9, 10, 147, 150, 152, 159, 164, 171, 176, 177, 500, 999})
        EXPECT_EQ(v[i], "A" + std::to_string(i));
    EXPECT_EQ(day.begins, DateTimeList{At(1, 8)});
    EXPECT_EQ(day.ends, DateTimeList{At(1, 20)});

    // The same statistics called directly, and where their slots belong.
    const std::vector<int> eight{0, 2, 4, 6, 1, 3, 5, 7}, six{0, 3, 2, 5, 1, 4}, four{0, 2, 1, 3},
        straight{0, 1, 2, 3, 4, 5};
    bool f = true;
    const DayContext c{db.db(), At(1), At(2), day.begins, day.ends, 5.0};
    const LoadRegime maxLoad = LoadRegime::MaxLoad, minLoad = LoadRegime::MinLoad, whole = LoadRegime::WholeDay;
    const struct {
        TextList record;
        int base;
        const std::vector<int>& pattern;
    } placements[] = {
        {VoltageDeviationStatistic(c, maxLoad, "du1m", "L1", f), 11, eight},
        {VoltageDeviationStatistic(c, maxLoad, "du1m", "L2", f), 19, eight},
        {VoltageDeviationStatistic(c, maxLoad, "du1m", "L3", f), 27, eight},
        {VoltageDeviationStatistic(c, maxLoad, "u1unbalance1m", ValueColumn, f), 35, eight},
        {VoltageDeviationStatistic(c, minLoad, "du1m", "L1", f), 43, eight},
        {VoltageDeviationStatistic(c, minLoad, "du1m", "L2", f), 51, eight},
        {VoltageDeviationStatistic(c, minLoad, "du1m", "L3", f), 59, eight},
        {VoltageDeviationStatistic(c, minLoad, "u1unbalance1m", ValueColumn, f), 67, eight},
        {VoltageDeviationStatistic(c, whole, "du1m", "L1", f), 75, eight},
        {VoltageDeviationStatistic(c, whole, "du1m", "L2", f), 83, eight},
        {VoltageDeviationStatistic(c, whole, "du1m", "L3", f), 91, eight},
        {VoltageDeviationStatistic(c, whole, "u1unbalance1m", ValueColumn, f), 99, eight},
        {ThdStatistic(c, "uthd3s", 0, 0, f), 107, six},
        {ThdStatistic(c, "uthd3s", 1, 0, f), 113, six},
        {ThdStatistic(c, "uthd3s", 2, 0, f), 119, six},
        {UnbalanceStatistic(c, "u0unbalance3s", f), 125, four},
        {UnbalanceStatistic(c, "u2unbalance3s", f), 129, four},
        {FrequencyDeviationStatistic(c, "ac20sdfreq", f), 133, eight},
        {day.harmonics[0], 141, straight},
        {day.harmonics[1], 153, straight},
        {day.harmonics[2], 165, straight},
    };
    for (const auto& p : placements)
        for (size_t slot = 0; slot < p.pattern.size(); ++slot)
            EXPECT_EQ(v[p.base + p.pattern[slot]], p.record[slot]) << "base " << p.base << " slot " << slot;
    for (int phase = 0; phase < 3; ++phase)
        EXPECT_EQ(day.harmonics[phase],
                  HarmonicStatistic(c, "harm_u_L" + std::to_string(phase + 1) + "_3s", 0, 40, f));

    // The identifying lines, in call order.
    std::vector<std::string> ids;
    for (const std::string& line : lines)
        if (line != "Input is incomplete!\n")
            ids.push_back(line);
    EXPECT_EQ(ids, (std::vector<std::string>{
                       "01.03.2011 00:00 - 02.03.2011 00:00", "Max power regim du1m L1",
                       "Max power regim du1m L2", "Max power regim du1m L3", "Min power regim du1m L1",
                       "Min power regim du1m L2", "Min power regim du1m L3", "Whole day regim du1m L1",
                       "Whole day regim du1m L2", "Whole day regim du1m L3",
                       "Max power regim, single u1unbalance1m", "Min power regim, single u1unbalance1m",
                       "Whole day regim, single u1unbalance1m", "Uthd uthd3s L1", "Uthd uthd3s L2",
                       "Uthd uthd3s L3", "Kx, single u0unbalance3s", "Kx, single u2unbalance3s",
                       "AC, single ac20sdfreq", "HarmL harm_u_L1_3s", "HarmL harm_u_L2_3s",
                       "HarmL harm_u_L3_3s"}));
}

TEST_F(DayEvaluation, DayStartsAtTheClockTimeOfTheBegin)
{
    header.dt_begin = At(1, 8);
    header.dt_max_load_begin[1] = "22:00";
    header.dt_max_load_end[1] = "6:00";  // ends before it begins: passed on as it is
    ComplianceFlags flags;
    DayResult day;
    LogCapture log;
    ASSERT_TRUE(EvaluateDay(header, 1, db.db(), flags, day));
    EXPECT_EQ(TextList(day.values.begin() + 5, day.values.begin() + 9),
              (TextList{"02.03.2011", "08:00", "03.03.2011", "08:00"}));
    EXPECT_EQ(day.begins, DateTimeList{At(2, 22)});
    EXPECT_EQ(day.ends, DateTimeList{At(2, 6)});
    EXPECT_EQ(log.lines.front(), "02.03.2011 08:00 - 03.03.2011 08:00");
}

TEST_F(DayEvaluation, WrongMaxLoadTimeStopsBeforeAnyStatistic)
{
    for (const char* bad : {"", "8", "25:00"}) {
        header.dt_max_load_end[0] = bad;
        ComplianceFlags flags;
        DayResult day;
        LogCapture log;
        EXPECT_FALSE(EvaluateDay(header, 0, db.db(), flags, day)) << bad;
        EXPECT_EQ(log.lines, (std::vector<std::string>{"01.03.2011 00:00 - 02.03.2011 00:00", "Wrong date",
                                                       "Wrong datetime in ini file!\n"}))
            << bad;
    }
}

TEST_F(DayEvaluation, FlagsCarryOverDaysAndBecomeVerdicts)
{
    FillDay(1, 0.0);
    FillDay(2, 20.0);  // voltage, THD and zero-sequence unbalance fail on day 2
    // Negative-sequence unbalance has values on day 2 only, the frequency none at all.
    db->ExecuteUpdate("DELETE FROM u2unbalance3s WHERE Base_id IN"
                      " (SELECT Base_id FROM Base WHERE DateTimeMQV < '2011-03-02')");
    db->ExecuteUpdate("DELETE FROM ac20sdfreq");
    ComplianceFlags flags;
    LogCapture log;
    DayResult day;
    ASSERT_TRUE(EvaluateDay(header, 0, db.db(), flags, day));
    ComplianceFlags expected;  // none failing; measured all but those two
    for (Quantity q : {Quantity::VoltageDeviation, Quantity::HarmonicDistortion, Quantity::HarmonicCoefficients,
                       Quantity::ZeroSequenceUnbalance})
        expected.SetMeasured(q);
    EXPECT_EQ(flags, expected);
    ASSERT_TRUE(EvaluateDay(header, 1, db.db(), flags, day));
    expected.SetMeasured(Quantity::NegativeSequenceUnbalance);
    expected[Quantity::VoltageDeviation] = false;
    expected[Quantity::HarmonicDistortion] = false;
    expected[Quantity::ZeroSequenceUnbalance] = false;
    EXPECT_EQ(flags, expected);
    // A day without any values changes neither flag.
    ASSERT_TRUE(EvaluateDay(header, 2, db.db(), flags, day));
    EXPECT_EQ(flags, expected);

    const TextList title = TitleValues(header, DayStart(header, 3), SummariseRun(header, 3, db.db(), flags));
    const std::string yes = CompliesWord(), no = DoesNotComplyWord(), none = NoDataWord();
    EXPECT_EQ(TextList(title.begin() + 48, title.begin() + 54), (TextList{no, none, no, yes, yes, no}));
    EXPECT_EQ(title[46], "");  // no Page1_8 text in these settings
    EXPECT_EQ(title[42], "50,00");  // no frequency values: no deviation
    EXPECT_EQ(title[44].size(), 6u);  // "201,30" and the like
}

TEST_F(DayEvaluation, ZeroDaysGiveNoDataVerdictsAndNoDeviation)
{
    ComplianceFlags flags;
    const TextList title = TitleValues(header, DayStart(header, 0), SummariseRun(header, 0, db.db(), flags));
    EXPECT_EQ(TextList(title.begin() + 42, title.begin() + 46), (TextList{"50,00", "50,00", "220,00", "220,00"}));
    EXPECT_EQ(TextList(title.begin() + 48, title.begin() + 54), TextList(6, NoDataWord()));
    EXPECT_EQ(NoDataWord(), CodePageFromUtf8("нет данных"));
}

TEST_F(DayEvaluation, DatabaseErrorsLeaveTheEvaluation)
{
    db->ExecuteUpdate("DROP TABLE uthd3s");
    ComplianceFlags flags;
    DayResult day;
    LogCapture log;
    try {
        EvaluateDay(header, 0, db.db(), flags, day);
        FAIL() << "no exception";
    } catch (const wxSQLite3Exception& e) {
        EXPECT_EQ(e.GetErrorCode(), 1);
        EXPECT_NE(e.GetMessage().Find("no such table: uthd3s"), wxNOT_FOUND);
    }
    EXPECT_TRUE(db->GetAutoCommit());  // the statistic's transaction was rolled back
}

}  // namespace
