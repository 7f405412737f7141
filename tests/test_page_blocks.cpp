// The blocks the templates ask for with marker comments: where they go, that
// a template without markers gets nothing, the completeness rows and the
// verdicts by day; and the time stamps the charts read.
#include <gtest/gtest.h>

#include "db/series.h"
#include "fixtures.h"
#include "pages/page_assembly.h"
#include "pages/page_blocks.h"
#include "pages/page_layout.h"
#include "base/text.h"
#include "tests/text_builders.h"

using namespace pq;

namespace {

TEST(MarkerBlocks, GoWhereTheTemplateAsksAndNowhereElse)
{
    TextList values = NewValueTable();
    values[1] = "<!--pq:charts-->";  // a value that looks like a marker stays a value
    int asked = 0;
    const MarkerBlocks blocks = [&asked](const std::string& marker) {
        ++asked;
        return "[" + marker.substr(7, marker.size() - 10) + "]";
    };
    const struct {
        const char* name;
        std::string page;
        std::string expected;
        int asked;
    } cases[] = {
        {"no marker", "<p>##|##</p>", "<p>A0|" + values[1] + "</p>", 0},
        {"one marker", "<p>##</p><!--pq:charts--><p>##</p>", "<p>A0</p>[charts]<p>" + values[1] + "</p>", 1},
        {"a marker twice: the first gets the block", "<!--pq:completeness-->##<!--pq:completeness-->",
         "[completeness]A0<!--pq:completeness-->", 1},
        {"in an attribute value, left alone", "<p title=\"<!--pq:charts-->\">x</p>",
         "<p title=\"<!--pq:charts-->\">x</p>", 0},
        {"a quoted > does not end the tag", "<p title='a > <!--pq:charts-->'><!--pq:charts-->",
         "<p title='a > <!--pq:charts-->'>[charts]", 1},
        {"a tag across a placeholder", "<td title=\"##<!--pq:charts-->\">##<!--pq:charts-->",
         "<td title=\"A0<!--pq:charts-->\">" + values[1] + "[charts]", 1},
        {"inside another comment, left alone", "<!-- old: <!--pq:charts--> --><!--pq:charts-->",
         "<!-- old: <!--pq:charts--> -->[charts]", 1},
        {"after a document type and a lone <", "<!DOCTYPE html><p>1 < 2</p><!--pq:charts-->",
         "<!DOCTYPE html><p>1 < 2</p>[charts]", 1},
        {"every marker", "<!--pq:verdicts-by-day--><!--pq:charts--><!--pq:completeness-->",
         "[verdicts-by-day][charts][completeness]", 3},
        {"an unknown marker stays", "<!--pq:other-->", "<!--pq:other-->", 0},
    };
    for (const auto& c : cases) {
        asked = 0;
        EXPECT_EQ(AssembleTitlePage(c.page, values, blocks), c.expected) << c.name;
        EXPECT_EQ(asked, c.asked) << c.name;
        EXPECT_EQ(AssembleTitlePage(c.page, values), AssembleTitlePage(c.page, values, nullptr)) << c.name;
    }
}

TEST(MarkerBlocks, DayPageWithoutMarkersIsTheSameWithOrWithoutBlocks)
{
    // A day template with its period row and three harmonic rows.
    const std::string day = MarkedDayTemplate(177);
    const TextList values = NewValueTable();
    bool asked = false;
    const MarkerBlocks blocks = [&asked](const std::string&) {
        asked = true;
        return std::string("block");
    };
    const std::array<TextList, 3> harmonics{TextList(234, "h"), TextList(234, "h"), TextList(234, "h")};
    const std::string plain = AssembleDayPage(day, values, {}, {}, harmonics);
    EXPECT_EQ(AssembleDayPage(day, values, {}, {}, harmonics, blocks), plain);
    EXPECT_FALSE(asked);
    EXPECT_EQ(AssembleDayPage(day + "<!--pq:charts--></html>", values, {}, {}, harmonics, blocks),
              plain + "block</html>");
    EXPECT_TRUE(asked);

    // A marker in a harmonic row's cells repeats with the rows as it is; the
    // page's own marker after them still gets the block.
    std::string inRow = day;
    inRow.insert(inRow.find("</td><td>##", inRow.find("Friday</td><td>##") + 17), "<!--pq:charts-->");
    const std::string page = AssembleDayPage(inRow + "<!--pq:charts--></html>", values, {}, {}, harmonics, blocks);
    EXPECT_EQ(page.substr(page.size() - 12), "block</html>");
    int repeated = 0;
    for (size_t at = page.find("<!--pq:charts-->"); at != std::string::npos; at = page.find("<!--pq:charts-->", at + 1))
        ++repeated;
    EXPECT_EQ(repeated, 38);
}

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

TEST(SeriesStamps, SecondsAfterTheDayStartByTheClock)
{
    const wxDateTime from = At(1, 8);  // 1 March 2011, 08:00
    const struct {
        const char* stamp;
        long seconds;
    } cases[] = {
        {"2011-03-01 08:00:00", 0},     {"2011-03-01 08:00:03", 3},   {"2011-03-01 23:59:59", 57599},
        {"2011-03-02 00:00:00", 57600}, {"2011-03-02 07:59:57", 86397}, {"2011-03-01 07:59:59", -1},
        {"2011-3-01 08:00:00", -1},     {"garbage", -1},              {"", -1},
    };
    for (const auto& c : cases) {
        const long s = SecondsAfter(from, c.stamp);
        EXPECT_EQ(s < 0 ? -1 : s, c.seconds) << c.stamp;
    }
    EXPECT_EQ(SecondsAfter(At(31, 0), "2011-04-01 00:00:00"), 86400);  // across a month
}

}  // namespace
