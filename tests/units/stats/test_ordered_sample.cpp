// The two-sided evaluation of an ordered sample: the 95 % positions, and the
// evaluation over a source in memory.
#include <limits>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "model/notes.h"
#include "standard/gost_13109_97.h"
#include "stats/ordered_sample.h"
#include "tests/units/stats/memory_source.h"

using namespace pq;

namespace {

TEST(Window95Positions, WorkedExamples)
{
    const struct {
        int N, A, B, P1, P2;
    } rows[] = {
        {1440, 0, 0, 36, 1404},   {1439, 0, 0, 35, 1402},   {100, 0, 0, 2, 97},
        {40, 0, 0, 1, 39},        {39, 0, 0, 0, 37},        {1, 0, 0, 0, 0},
        {1440, 10, 20, 41, 1409}, {1440, 3, 0, 34, 1402},   {1440, 0, 3, 37, 1405},
        {1440, 72, 0, 0, 1368},   {1440, 0, 72, 72, 1440},  {1440, 100, 0, 72, 1440},
        {1440, 0, 100, 1, 1368},  {1440, 50, 50, 36, 1404}, {1440, 1440, 0, 36, 1404},
        {1440, 20, 10, 31, 1399},
    };
    for (const auto& r : rows) {
        const Positions p = Window95Positions(r.N, r.A, r.B, Gost13109().Rule());
        EXPECT_EQ(p.P1, r.P1) << r.N << " " << r.A << " " << r.B;
        EXPECT_EQ(p.P2, r.P2) << r.N << " " << r.A << " " << r.B;
    }
}

// k * 0.25 for k = from..to: exact, so that every comparison with a limit is.
std::vector<double> Quarters(int from, int to)
{
    std::vector<double> v;
    for (int k = from; k <= to; ++k)
        v.push_back(k * 0.25);
    return v;
}

std::vector<double> Join(std::vector<double> a, const std::vector<double>& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

const double kInfinity = std::numeric_limits<double>::infinity();

const char kTextWarning[] =
    "Warning: du1m.L1: 2 values are stored as text; the values are taken in the order of their numbers.";

// Limits -5/+5 and -10/+10, 95 % of the time; 40 values are a complete
// window. The expected values are worked out by hand in each case's comment:
// s<i> is the i-th value in the order of the numbers.
TEST(TwoSidedEvaluation, SharesLimitsAndTheValuesTheyPick)
{
    using V = std::vector<Number>;
    const Number none;
    const struct {
        const char* name;
        std::vector<double> numbers;
        std::vector<std::string> texts;
        V values;  // lower 95 %, upper 95 %, smallest, largest, shares below -5, above +5, below -10, above +10
        int notFinite;
        bool complies;
        std::vector<std::string> notes;
    } cases[] = {
        // -4.75..4.5, 6, 7: 2 of 40 above +5 are 5 %, no more than allowed.
        // The window moves up over them: s2 and s40.
        {"exactly 5 % above +5", Join(Quarters(-19, 18), {6.0, 7.0}), {},
         V{-4.5, 7.0, -4.75, 7.0, 0.0, 5.0, 0.0, 0.0}, 0, true, {}},
        // -4.5..4.5, 6, 7, 8: 3 of 40 are 7.5 %; the window is s1..s38.
        {"one value more", Join(Quarters(-18, 18), {6.0, 7.0, 8.0}), {},
         V{-4.5, 6.0, -4.5, 8.0, 0.0, 7.5, 0.0, 0.0}, 0, false, {}},
        // -10, -5, 36 zeros, 5, 10: only -10 and 10 lie beyond the normal
        // limits (2 of 40, 5 %), none beyond the maximum ones. One below and
        // one above: the window is s1..s39.
        {"values on the limits", Join({-10.0, -5.0, 5.0, 10.0}, std::vector<double>(36, 0.0)), {},
         V{-10.0, 5.0, -10.0, 10.0, 2.5, 2.5, 0.0, 0.0}, 0, true, {}},
        // 39 zeros and 10.25: within 5 % beyond +5, but beyond +10.
        {"one value above +10", Join(std::vector<double>(39, 0.0), {10.25}), {},
         V{0.0, 0.0, 0.0, 10.25, 0.0, 2.5, 0.0, 2.5}, 0, false, {}},
        // -10.25 and 39 zeros: the lower position 0 reads s1.
        {"one value below -10", Join({-10.25}, std::vector<double>(39, 0.0)), {},
         V{-10.25, 0.0, -10.25, 0.0, 2.5, 0.0, 2.5, 0.0}, 0, false, {}},
        {"an empty window", {}, {}, V(8, none), 0, true, {"Input is incomplete!"}},
        // -4.75..4.75, 39 values: positions 0 (read as s1) and 37.
        {"39 values are fewer than 40", Quarters(-19, 19), {}, V{-4.75, 4.25, -4.75, 4.75, 0.0, 0.0, 0.0, 0.0}, 0,
         true, {"Input is incomplete!"}},
        // -4.5..4.75 and the texts "-6,5" and "0,125", which SQLite orders
        // after every number: by number -6.5 is s1 and the only value below -5
        // (2.5 %), 0.125 lies between 0 and 0.25, 4.75 is s40; the window is
        // s1..s38 (4.25).
        {"values stored as text", Quarters(-18, 19), {"-6,5", "0,125"},
         V{-6.5, 4.25, -6.5, 4.75, 2.5, 0.0, 0.0, 0.0}, 0, true, {kTextWarning}},
        // -4.75..4.5, an infinity and "nan": both count as 0, s20..s22; the
        // window is s1..s39 (4.25). The infinity lies beyond no limit.
        {"an infinity and a text that is no number", Join(Quarters(-19, 18), {kInfinity}), {"nan"},
         V{-4.75, 4.25, -4.75, 4.5, 0.0, 0.0, 0.0, 0.0}, 2, true,
         {"Warning: du1m.L1: 1 value is stored as text; the values are taken in the order of their numbers.",
          "Warning: du1m.L1: 2 values are not finite numbers and count as 0."}},
        // -4.75..4.75 and an infinity, which SQLite orders last among the
        // numbers: by number it is a 0 in the middle, and 4.75 the largest.
        {"an infinity alone", Join(Quarters(-19, 19), {kInfinity}), {},
         V{-4.75, 4.5, -4.75, 4.75, 0.0, 0.0, 0.0, 0.0}, 1, true,
         {"Warning: du1m.L1: 1 value is not a finite number and counts as 0."}},
    };
    const wxDateTime day(1, wxDateTime::Mar, 2011);
    const SampleWindow window{LoadRegime::WholeDay, day, day + wxDateSpan::Day(), {}, {}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        MemorySource source;
        source.PutMinutes("du1m", "L1", day, c.numbers, c.texts);
        Notes notes;
        const TwoSidedValues v = TwoSidedEvaluation(source, {"du1m", "L1"}, window, 40.0,
                                                    Symmetric(SeriesLimits{5.0, 10.0}), Gost13109().Rule(), notes);
        EXPECT_EQ(v.Slots(), c.values);
        EXPECT_EQ(v.counts.values, static_cast<int>(c.numbers.size() + c.texts.size()));
        EXPECT_EQ(v.counts.notFinite, c.notFinite);
        EXPECT_EQ(v.complies, c.complies);
        EXPECT_EQ(notes.Lines(), c.notes);
        // The evaluation runs inside its statistic's hold; it takes none itself.
        EXPECT_EQ(source.Holds(), 0);
    }
}

}  // namespace
