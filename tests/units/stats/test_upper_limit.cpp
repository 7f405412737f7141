// The one-sided evaluation against an upper normal and maximum limit, over a
// source in memory.
#include <limits>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "model/notes.h"
#include "standard/gost_13109_97.h"
#include "stats/upper_limit.h"
#include "tests/units/stats/memory_source.h"

using namespace pq;

namespace {

// k * 0.125 for k = from..to: exact.
std::vector<double> Eighths(int from, int to)
{
    std::vector<double> v;
    for (int k = from; k <= to; ++k)
        v.push_back(k * 0.125);
    return v;
}

std::vector<double> Join(std::vector<double> a, const std::vector<double>& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// Limits 8 and 12, 95 % of the time; 40 values are a complete window, and
// its 95 % value is s38, the 38th value in the order of the numbers.
TEST(UpperLimitEvaluation, SharesLimitsAndThe95PerCentValue)
{
    using V = std::vector<Number>;
    const Number none;
    const double infinity = std::numeric_limits<double>::infinity();
    const struct {
        const char* name;
        std::vector<double> numbers;
        std::vector<std::string> texts;
        V values;  // 95 % value, largest, shares above 8 and above 12
        int notFinite;
        bool complies;
        std::vector<std::string> notes;
    } cases[] = {
        // 0.125..4.75, 9, 10: 2 of 40 above 8 are 5 %, no more than allowed.
        {"exactly 5 % above 8", Join(Eighths(1, 38), {9.0, 10.0}), {}, V{4.75, 10.0, 5.0, 0.0}, 0, true, {}},
        // 0.125..4.625, 9, 10, 11: 3 of 40 are 7.5 %; s38 is 9.
        {"one value more", Join(Eighths(1, 37), {9.0, 10.0, 11.0}), {}, V{9.0, 11.0, 7.5, 0.0}, 0, false, {}},
        // 8 lies on the normal limit, 12 on the maximum one: only 12 lies
        // above 8, nothing above 12.
        {"values on the limits", Join(std::vector<double>(38, 1.0), {8.0, 12.0}), {}, V{1.0, 12.0, 2.5, 0.0}, 0,
         true, {}},
        {"one value above 12", Join(std::vector<double>(39, 1.0), {12.5}), {}, V{1.0, 12.5, 2.5, 2.5}, 0, false,
         {}},
        {"an empty window", {}, {}, V(4, none), 0, true, {"Input is incomplete!"}},
        // 0.125..4.875, 39 values: the 95 % value is s37 (37.05 truncated).
        {"39 values are fewer than 40", Eighths(1, 39), {}, V{4.625, 4.875, 0.0, 0.0}, 0, true,
         {"Input is incomplete!"}},
        // 37 times 1, 2 and the texts "0,25" and "0,5", which SQLite orders
        // after every number: by number they are s1 and s2, s38 is 1 and the
        // largest is 2 (in SQLite's order s38 would be 2 and the last 0.5).
        {"values stored as text", Join(std::vector<double>(37, 1.0), {2.0}), {"0,25", "0,5"},
         V{1.0, 2.0, 0.0, 0.0}, 0, true,
         {"Warning: uthd3s.L1: 2 values are stored as text; the values are taken in the order of their numbers."}},
        // 38 times 1, an infinity and "abc": both count as 0, s1 and s2; the
        // infinity lies above no limit.
        {"an infinity and a text that is no number", Join(std::vector<double>(38, 1.0), {infinity}), {"abc"},
         V{1.0, 1.0, 0.0, 0.0}, 2, true,
         {"Warning: uthd3s.L1: 1 value is stored as text; the values are taken in the order of their numbers.",
          "Warning: uthd3s.L1: 2 values are not finite numbers and count as 0."}},
    };
    const wxDateTime day(1, wxDateTime::Mar, 2011);
    const SampleWindow window{LoadRegime::WholeDay, day, day + wxDateSpan::Day(), {}, {}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        MemorySource source;
        source.PutMinutes("uthd3s", "L1", day, c.numbers, c.texts);
        Notes notes;
        const UpperLimitValues v = UpperLimitEvaluation(source, {"uthd3s", "L1"}, window, 40.0, SeriesLimits{8.0, 12.0},
                                                        Gost13109().Rule(), notes);
        EXPECT_EQ((V{v.value95, v.largest, v.shareAboveNormal, v.shareAboveMax}), c.values);
        EXPECT_EQ(v.counts.values, static_cast<int>(c.numbers.size() + c.texts.size()));
        EXPECT_EQ(v.counts.notFinite, c.notFinite);
        EXPECT_EQ(v.complies, c.complies);
        EXPECT_EQ(notes.Lines(), c.notes);
        EXPECT_EQ(source.Holds(), 0);
    }
}

}  // namespace
