// Joining the templates and the values into pages: the blocks the templates
// ask for with marker comments go where they ask and nowhere else, and a
// template without markers gets nothing; placeholders beyond the value table.
#include <array>
#include <string>

#include <gtest/gtest.h>

#include "pages/page_assembly.h"
#include "pages/page_layout.h"
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

// A template with `count` placeholders, each marked with its number.
std::string MarkedTemplate(int count)
{
    std::string text;
    for (int k = 0; k < count; ++k)
        text += "[" + std::to_string(k) + "=##]";
    return text;
}

TEST(TitlePage, PlaceholdersBeyondTheValueTableAreEmpty)
{
    TextList values(1000);
    for (size_t k = 0; k < values.size(); ++k)
        values[k] = "v" + std::to_string(k);
    const std::string page = AssembleTitlePage(MarkedTemplate(1002), values);
    EXPECT_NE(page.find("[999=v999][1000=][1001=]"), std::string::npos);
    EXPECT_EQ(AssembleTitlePage("no placeholder", values), "no placeholder");
    EXPECT_EQ(AssembleTitlePage("", values), "");
}

}  // namespace
