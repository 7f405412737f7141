// Day evaluation: the day window, the max-load period, the flags and the
// summary. Where every statistic's values land: pages/test_page_layout.cpp.
#include <random>

#include <gtest/gtest.h>

#include "base/text.h"
#include "pages/fixed_texts.h"
#include "pages/page_layout.h"
#include "run/day_evaluation.h"
#include "settings/run_settings.h"
#include "tests/units/fixtures.h"
#include "tests/units/stats/memory_source.h"

using namespace pq;

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

    RunSettings Run(int days = 7) { return RunOf(header, days); }
    EvaluatedDay Evaluate(const RunSettings& run, int k)
    {
        return EvaluateDay(run, k, db.source(), Gost13109(), db.notes());
    }

    FixtureDb db;
    ReportHeaderValues header;
};

TEST_F(DayEvaluation, DayStartsAtTheClockTimeOfTheBegin)
{
    header.dt_begin = At(1, 8);
    header.dt_max_load_begin[1] = "22:00";
    header.dt_max_load_end[1] = "6:00";  // ends before it begins: passed on as it is
    const RunSettings run = Run();
    LogCapture log;
    const EvaluatedDay day = Evaluate(run, 1);
    const TextList values = DayValues(header, day);
    EXPECT_EQ(TextList(values.begin() + 5, values.begin() + 9),
              (TextList{"02.03.2011", "08:00", "03.03.2011", "08:00"}));
    EXPECT_EQ(day.number, 2);
    EXPECT_EQ(day.begins, DateTimeList{At(2, 22)});
    EXPECT_EQ(day.ends, DateTimeList{At(2, 6)});
    EXPECT_EQ(log.lines.front(), "02.03.2011 08:00 - 03.03.2011 08:00");
}

TEST_F(DayEvaluation, FlagsCarryOverDaysAndBecomeVerdicts)
{
    FillDay(1, 0.0);
    FillDay(2, 20.0);  // voltage, THD and zero-sequence unbalance fail on day 2
    // Negative-sequence unbalance has values on day 2 only, the frequency none at all.
    db->ExecuteUpdate("DELETE FROM u2unbalance3s WHERE Base_id IN"
                      " (SELECT Base_id FROM Base WHERE DateTimeMQV < '2011-03-02')");
    db->ExecuteUpdate("DELETE FROM ac20sdfreq");
    const RunSettings run = Run(3);
    LogCapture log;
    EvaluatedReport report;
    // Evaluates day k and merges its flags as the run does.
    const auto evaluate = [&](int k) { report.AddDay(Evaluate(run, k)); };
    evaluate(0);
    const ComplianceFlags& flags = report.flags;
    EXPECT_EQ(report.days.back().flags, flags);
    ComplianceFlags expected;  // none failing; measured all but those two
    for (Quantity q : {Quantity::VoltageDeviation, Quantity::HarmonicDistortion, Quantity::HarmonicCoefficients,
                       Quantity::ZeroSequenceUnbalance})
        expected.SetMeasured(q);
    EXPECT_EQ(flags, expected);
    evaluate(1);
    expected.SetMeasured(Quantity::NegativeSequenceUnbalance);
    expected.Clear(Quantity::VoltageDeviation);
    expected.Clear(Quantity::HarmonicDistortion);
    expected.Clear(Quantity::ZeroSequenceUnbalance);
    EXPECT_EQ(flags, expected);
    // A day without any values changes neither flag.
    evaluate(2);
    EXPECT_EQ(flags, expected);
    EXPECT_EQ(report.days.back().flags, ComplianceFlags());

    report.periodEnd = run.GetPeriod().NamedEnd();
    report.summary = SummariseRun(run, db.source(), db.notes());
    const TextList title = TitleValues(header, report);
    const std::string yes = CompliesWord(), no = DoesNotComplyWord(), none = NoDataWord();
    EXPECT_EQ(TextList(title.begin() + 48, title.begin() + 54), (TextList{no, none, no, yes, yes, no}));
    EXPECT_EQ(title[46], "");  // no Page1_8 text in these settings
    EXPECT_EQ(title[42], "50,00");  // no frequency values: no deviation
    EXPECT_EQ(title[44].size(), 6u);  // "201,30" and the like
}

TEST_F(DayEvaluation, ZeroDaysGiveNoDataVerdictsAndNoDeviation)
{
    const RunSettings run = Run(0);
    EvaluatedReport report;
    report.periodEnd = run.GetPeriod().NamedEnd();
    report.summary = SummariseRun(run, db.source(), db.notes());
    const TextList title = TitleValues(header, report);
    EXPECT_EQ(TextList(title.begin() + 42, title.begin() + 46), (TextList{"50,00", "50,00", "220,00", "220,00"}));
    EXPECT_EQ(TextList(title.begin() + 48, title.begin() + 54), TextList(6, NoDataWord()));
    EXPECT_EQ(NoDataWord(), CodePageFromUtf8("нет данных"));
}

TEST_F(DayEvaluation, DatabaseErrorsLeaveTheEvaluation)
{
    db->ExecuteUpdate("DROP TABLE uthd3s");
    const RunSettings run = Run();
    LogCapture log;
    try {
        Evaluate(run, 0);
        FAIL() << "no exception";
    } catch (const wxSQLite3Exception& e) {
        EXPECT_EQ(e.GetErrorCode(), 1);
        EXPECT_NE(e.GetMessage().Find("no such table: uthd3s"), wxNOT_FOUND);
    }
    EXPECT_TRUE(db->GetAutoCommit());  // the statistic's transaction was rolled back
}

// Each statistic keeps the source still for its passes and lets go of it when
// it is done: the 21 statistics of a day, and the period's two extremes,
// which only read and so never commit.
TEST_F(DayEvaluation, EveryStatisticHoldsTheSourceOnce)
{
    MemorySource source;
    source.PutSeries("du1m", "L1", At(1), 60, std::vector<double>(1440, 0.5));
    const RunSettings run = Run(1);
    const EvaluatedDay day = EvaluateDay(run, 0, source, Gost13109(), db.notes());
    EXPECT_EQ(day.statistics.size(), 21u);
    EXPECT_EQ(source.Holds(), 21);
    EXPECT_EQ(source.Commits(), 21);
    SummariseRun(run, source, db.notes());
    EXPECT_EQ(source.Holds(), 23);
    EXPECT_EQ(source.Commits(), 21);
}

}  // namespace
