// The blocks of the pages: the completeness rows and table, the verdicts by
// day.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "base/text.h"
#include "model/day_plan.h"
#include "pages/page_blocks.h"

using namespace pq;

namespace {

TEST(Completeness, RowsOfTheWholeDaySeriesAgainstAFullDay)
{
    // What each statistic found, in run order: only the whole-day ones count.
    std::vector<SampleCounts> counts(DayPlan().size());
    for (size_t i = 0; i < counts.size(); ++i)
        counts[i].values = 1000 + static_cast<int>(i);
    const std::vector<CompletenessRow> rows = CompletenessRows(counts, 2);
    // du1m L1..L3, the single series, THD L1..L3, K0U, K2U, frequency, harmonics L1..L3.
    const long long expected[] = {2880, 2880, 2880, 2880, 57600, 57600, 57600, 57600, 57600, 8640,
                                  57600 * 39LL, 57600 * 39LL, 57600 * 39LL};
    const int present[] = {1006, 1007, 1008, 1011, 1012, 1013, 1014, 1015, 1016, 1017, 1018, 1019, 1020};
    ASSERT_EQ(rows.size(), 13u);
    for (size_t r = 0; r < rows.size(); ++r) {
        EXPECT_EQ(rows[r].expected, expected[r]) << r;
        EXPECT_EQ(rows[r].present, present[r]) << r;
    }
    EXPECT_NE(rows[9].series.find("&Delta;f"), std::string::npos);
}

TEST(Completeness, TableShowsPerCentsAndMarksShortRows)
{
    const std::string html = CompletenessTable({{"a", 1440, 1440}, {"b", 1439, 1440}, {"c", 0, 0}});
    EXPECT_NE(html.find("<tr><td class=\"lbl\">a</td><td>1440</td><td>1440</td><td>100,0</td></tr>"),
              std::string::npos)
        << html;
    EXPECT_NE(html.find("<tr class=\"short\"><td class=\"lbl\">b</td><td>1439</td><td>1440</td><td>99,9 !</td></tr>"),
              std::string::npos)
        << html;
    EXPECT_NE(html.find("<td>0</td><td>0</td><td>&mdash;</td>"), std::string::npos) << html;
}

TEST(VerdictsByDay, OneCellPerQuantityAndDay)
{
    ComplianceFlags good, bad, none;
    for (int q = 0; q < kQuantityCount; ++q) {
        good.SetMeasured(static_cast<Quantity>(q));
        bad.SetMeasured(static_cast<Quantity>(q));
    }
    bad.Clear(Quantity::FrequencyDeviation);
    const std::string html = VerdictsByDayTable({{"01.03", good}, {"02.03", bad}, {"03.03", none}});
    // Rows in verdict order; the frequency row fails on the second day only.
    const std::string frequency = Cp("Отклонение частоты &Delta;f");
    const size_t row = html.find(frequency);
    ASSERT_NE(row, std::string::npos);
    const std::string cells = html.substr(row, html.find("</tr>", row) - row);
    EXPECT_NE(cells.find("<td class=\"ok\">+</td><td class=\"fail\">" + Cp("НЕТ") + "</td><td class=\"nodata\">" +
                         Cp("н/д") + "</td>"),
              std::string::npos)
        << cells;
    int failing = 0;
    for (size_t at = html.find("class=\"fail\""); at != std::string::npos; at = html.find("class=\"fail\"", at + 1))
        ++failing;
    EXPECT_EQ(failing, 1);
    EXPECT_NE(html.find("<th>01.03</th><th>02.03</th><th>03.03</th>"), std::string::npos);
}

}  // namespace
