// Values that are no finite numbers, and quantities without measurements:
// the pages never show "nan" or "inf", each statistic that met such values
// warns once, and a quantity of which no statistic found a value gets
// "нет данных" on the title page.
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <limits>

#include <gtest/gtest.h>

#include "support.h"

using namespace pqrun;

namespace {

const std::string kComplies = Cp1251("соответствует");
const std::string kDoesNotComply = Cp1251("не соответствует");
const std::string kNoData = Cp1251("нет данных");

// Minute i of phase c: within +-3.5 %.
double Deviation(int i, int c) { return ((i * 37 + c * 11) % 701 - 350) / 100.0; }
double Frequency(int i) { return ((i * 17) % 31 - 15) / 100.0; }

// One-minute samples of day `day` in every table but those in `skip` (the
// harmonics every five minutes), all within their limits.
void FillDay(MeasurementDb& db, int day, const std::vector<std::string>& skip = {})
{
    const auto wanted = [&](const std::string& t) { return std::find(skip.begin(), skip.end(), t) == skip.end(); };
    if (wanted("du1m"))
        db.Series("du1m", day, 60, 1440, Deviation);
    if (wanted("u1unbalance1m"))
        db.Series("u1unbalance1m", day, 60, 1440, [](int i, int) { return (i * 13 % 150) / 100.0; });
    if (wanted("uthd3s"))
        db.Series("uthd3s", day, 60, 1440, [](int i, int c) { return ((i * 7 + c * 3) % 300) / 100.0; });
    if (wanted("u0unbalance3s"))
        db.Series("u0unbalance3s", day, 60, 1440, [](int i, int) { return (i * 3 % 150) / 100.0; });
    if (wanted("u2unbalance3s"))
        db.Series("u2unbalance3s", day, 60, 1440, [](int i, int) { return (i * 11 % 170) / 100.0; });
    if (wanted("ac20sdfreq"))
        db.Series("ac20sdfreq", day, 60, 1440, [](int i, int) { return Frequency(i); });
    for (const char* t : {"harm_u_L1_3s", "harm_u_L2_3s", "harm_u_L3_3s"})
        if (wanted(t))
            db.Series(t, day, 300, 288, [](int i, int c) { return ((i + c) % 10) / 100.0; });
}

// Stores the SQL literal as table.column's value at the instants of March 1,
// [from, to) in seconds after midnight, that have a row.
void SetLiteral(MeasurementDb& db, const std::string& table, const std::string& column, long from, long to,
                const std::string& literal)
{
    db.Exec("UPDATE " + table + " SET " + column + "=" + literal + " WHERE Base_id IN (SELECT Base_id FROM Base" +
            " WHERE DateTimeMQV>='" + Stamp(1, from) + "' AND DateTimeMQV<'" + Stamp(1, to) + "')");
}

// Writes the database under a temporary name and moves it over the workspace's.
template <class Make>
void MakeDatabase(const Workspace& w, Make make)
{
    {
        MeasurementDb db(w.db + ".new");
        make(db);
    }
    std::rename((w.db + ".new").c_str(), w.db.c_str());
}

std::string Lower(std::string text)
{
    for (char& ch : text)
        ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    return text;
}

// Whether a text shows "nan" or "inf", in any case.
bool ShowsNotFinite(const std::string& text)
{
    const std::string lower = Lower(text);
    return lower.find("nan") != std::string::npos || lower.find("inf") != std::string::npos;
}

// The marked values of a page that show "nan" or "inf".
std::vector<std::string> NotFiniteTexts(const std::string& page)
{
    std::vector<std::string> found;
    for (const auto& [k, v] : MarkedValues(page))
        if (ShowsNotFinite(v))
            found.push_back(std::to_string(k) + "=" + v);
    return found;
}

std::vector<std::string> Verdicts(const std::map<int, std::string>& title)
{
    std::vector<std::string> verdicts;
    for (int q = 0; q < 6; ++q)
        verdicts.push_back(title.at(48 + q));
    return verdicts;
}

// Each warning of the log with the line of the statistic before it (empty
// lines and incompleteness notes left out).
std::vector<std::pair<std::string, std::string>> Warnings(const Outcome& r)
{
    std::vector<std::pair<std::string, std::string>> warnings;
    std::string statistic;
    for (const std::string& line : r.LogLines()) {
        if (line.empty() || line == "Input is incomplete!")
            continue;
        if (line.rfind("Warning: ", 0) == 0)
            warnings.push_back({statistic, line});
        else
            statistic = line;
    }
    return warnings;
}

TEST(HonestValues, ValuesThatAreNoFiniteNumbersNeverReachThePages)
{
    // Three of them in du1m.L2 and in the frequency at 10:00 (max-load
    // hours), one in H5 of the L3 harmonics. SQLite keeps some as text or
    // BLOB, which it orders above every number, and some as a REAL infinity,
    // which it orders at an end; either way each counts as 0 and takes its
    // place among the values as 0.
    const struct {
        const char* literal;
        bool storedAsText;
    } cases[] = {{"'nan'", true},    {"'-inf'", true}, {"'Inf'", true},   {"1e999", false},
                 {"-1e999", false}, {"'abc'", true},  {"x'00ff'", true}, {"'1e999'", false}};
    // The pages of the same values with a 0 in their place.
    const Workspace zeros(MarkedDayTemplate(180), MarkedTitleTemplate(60));
    MakeDatabase(zeros, [&](MeasurementDb& db) {
        FillDay(db, 1);
        SetLiteral(db, "du1m", "L2", 36000, 36180, "0");
        SetLiteral(db, "ac20sdfreq", "Value", 36000, 36180, "0");
        SetLiteral(db, "harm_u_L3_3s", "H5", 36000, 36060, "0");
    });
    ASSERT_EQ(RunProgram(zeros.At({zeros.Write(zeros.settings(1))})).out, "ok!\n");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.literal);
        const Workspace w(MarkedDayTemplate(180), MarkedTitleTemplate(60));
        MakeDatabase(w, [&](MeasurementDb& db) {
            FillDay(db, 1);
            SetLiteral(db, "du1m", "L2", 36000, 36180, c.literal);
            SetLiteral(db, "ac20sdfreq", "Value", 36000, 36180, c.literal);
            SetLiteral(db, "harm_u_L3_3s", "H5", 36000, 36060, c.literal);
        });
        const Outcome r = RunProgram(w.At({w.Write(w.settings(1))}));
        ASSERT_EQ(r.out, "ok!\n") << r.Log();

        const std::string dayPage = ReadFile(w.out + "day_1.htm");
        const std::string titlePage = ReadFile(w.out + "Page0.htm");
        EXPECT_EQ(NotFiniteTexts(dayPage), std::vector<std::string>{});
        EXPECT_EQ(NotFiniteTexts(titlePage), std::vector<std::string>{});
        for (const HarmonicRow& row : HarmonicRows(dayPage))
            for (const std::string& cell : row.cells)
                EXPECT_FALSE(ShowsNotFinite(cell)) << "harmonic row " << row.number << ": " << cell;
        EXPECT_TRUE(dayPage == ReadFile(zeros.out + "day_1.htm")) << "the day page differs from that of zeros";
        EXPECT_TRUE(titlePage == ReadFile(zeros.out + "Page0.htm")) << "the title page differs from that of zeros";
        // An infinity no longer lies beyond the limits.
        EXPECT_EQ(Verdicts(MarkedValues(titlePage)), std::vector<std::string>(6, kComplies));

        const std::string three = ": 3 values are not finite numbers and count as 0.";
        const std::string one = ": 1 value is not a finite number and counts as 0.";
        const auto text = [](int n) {
            return std::string(n == 1 ? ": 1 value is" : ": 3 values are") +
                   " stored as text; the values are taken in the order of their numbers.";
        };
        const std::string extreme = ": 3 values of the period are stored as text; its smallest and largest values "
                                    "are taken by number.";
        std::vector<std::pair<std::string, std::string>> expected;
        const auto add = [&](const std::string& statistic, const std::string& column, const std::string& warning,
                             bool onlyForText) {
            if (!onlyForText || c.storedAsText)
                expected.emplace_back(statistic, "Warning: " + column + warning);
        };
        add("Max power regim du1m L2", "du1m.L2", text(3), true);
        add("Max power regim du1m L2", "du1m.L2", three, false);
        add("Whole day regim du1m L2", "du1m.L2", text(3), true);
        add("Whole day regim du1m L2", "du1m.L2", three, false);
        add("AC, single ac20sdfreq", "ac20sdfreq.Value", text(3), true);
        add("AC, single ac20sdfreq", "ac20sdfreq.Value", three, false);
        add("HarmL harm_u_L3_3s", "harm_u_L3_3s.H5", text(1), true);
        add("HarmL harm_u_L3_3s", "harm_u_L3_3s.H5", one, false);
        // As 0, they are no extreme of the period.
        add("Fr, min max ac20sdfreq", "ac20sdfreq.Value", extreme, true);
        add("U min max du1m", "du1m.L2", extreme, true);
        EXPECT_EQ(Warnings(r), expected) << r.Log();
    }
}

TEST(HonestValues, ADatabaseOfNumbersLogsNoWarning)
{
    const Workspace w(MarkedDayTemplate(180), MarkedTitleTemplate(60));
    MakeDatabase(w, [](MeasurementDb& db) {
        FillDay(db, 1);
        FillDay(db, 2);
    });
    const Outcome r = RunProgram(w.At({w.Write(w.settings(2))}));
    ASSERT_EQ(r.out, "ok!\n") << r.Log();
    EXPECT_EQ(Warnings(r), (std::vector<std::pair<std::string, std::string>>{})) << r.Log();
    EXPECT_EQ(Verdicts(MarkedValues(ReadFile(w.out + "Page0.htm"))), std::vector<std::string>(6, kComplies));
}

TEST(HonestValues, AQuantityWithoutValuesHasNoVerdict)
{
    const std::vector<std::string> harmonics{"harm_u_L1_3s", "harm_u_L2_3s", "harm_u_L3_3s"};
    const struct {
        const char* name;
        std::vector<std::string> empty;  // tables without rows
        int quantity;                    // the verdict that reads "нет данных"; -1: none
        int entry;                       // a largest value of the day page, 0,00 without values
    } cases[] = {
        {"voltage deviation", {"du1m", "u1unbalance1m"}, 0, 81},
        {"frequency deviation", {"ac20sdfreq"}, 1, 139},
        {"harmonic distortion", {"uthd3s"}, 2, 110},
        {"harmonic coefficients", harmonics, 3, 142},
        {"negative-sequence unbalance", {"u2unbalance3s"}, 4, 131},
        {"zero-sequence unbalance", {"u0unbalance3s"}, 5, 127},
        // One statistic with values is enough for the quantity.
        {"du1m only", {"du1m"}, -1, 81},
        {"two of the harmonic tables", {"harm_u_L1_3s", "harm_u_L2_3s"}, -1, 142},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Workspace w(MarkedDayTemplate(180), MarkedTitleTemplate(60));
        MakeDatabase(w, [&](MeasurementDb& db) { FillDay(db, 1, c.empty); });
        const Outcome r = RunProgram(w.At({w.Write(w.settings(1))}));
        ASSERT_EQ(r.out, "ok!\n") << r.Log();
        std::vector<std::string> expected(6, kComplies);
        if (c.quantity >= 0)
            expected[c.quantity] = kNoData;
        EXPECT_EQ(Verdicts(MarkedValues(ReadFile(w.out + "Page0.htm"))), expected);
        EXPECT_EQ(MarkedValues(ReadFile(w.out + "day_1.htm")).at(c.entry), "0,00");
        EXPECT_EQ(Warnings(r), (std::vector<std::pair<std::string, std::string>>{})) << r.Log();
    }
}

TEST(HonestValues, AQuantityMeasuredOnOneDayKeepsItsVerdict)
{
    // Day 1 without frequency values, day 2 with one beyond -0.4 Hz; the
    // harmonics on day 1 only; the negative-sequence unbalance on no day.
    const Workspace w(MarkedDayTemplate(180), MarkedTitleTemplate(60));
    MakeDatabase(w, [](MeasurementDb& db) {
        FillDay(db, 1, {"ac20sdfreq", "u2unbalance3s"});
        FillDay(db, 2, {"harm_u_L1_3s", "harm_u_L2_3s", "harm_u_L3_3s", "u2unbalance3s"});
        db.Exec("UPDATE ac20sdfreq SET Value=-0.45 WHERE Base_id IN (SELECT Base_id FROM Base"
                " WHERE DateTimeMQV='" + Stamp(2, 3600) + "')");
    });
    const Outcome r = RunProgram(w.At({w.Write(w.settings(2))}));
    ASSERT_EQ(r.out, "ok!\n") << r.Log();
    EXPECT_EQ(Verdicts(MarkedValues(ReadFile(w.out + "Page0.htm"))),
              (std::vector<std::string>{kComplies, kDoesNotComply, kComplies, kComplies, kNoData, kComplies}));
}

TEST(HonestValues, RunsWithoutDaysHaveNoVerdicts)
{
    for (int days : {0, -2}) {
        SCOPED_TRACE(days);
        const Workspace w(MarkedDayTemplate(180), MarkedTitleTemplate(60));
        MakeDatabase(w, [](MeasurementDb& db) { FillDay(db, 1); });
        const Outcome r = RunProgram(w.At({w.Write(w.settings(days))}));
        ASSERT_EQ(r.out, "ok!\n") << r.Log();
        EXPECT_EQ(Verdicts(MarkedValues(ReadFile(w.out + "Page0.htm"))), std::vector<std::string>(6, kNoData));
    }
}

}  // namespace
