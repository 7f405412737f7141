// The blocks the shipped templates ask for: the day charts, the completeness
// of the data, and the verdicts by day on the title page; one block per
// marker and page, and markers inside tags left alone.

#include <gtest/gtest.h>

#include "support.h"

using namespace pqrun;

namespace {

int Occurrences(const std::string& text, const std::string& what)
{
    int n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++n;
    return n;
}

// The <svg> elements of a page, in page order.
std::vector<std::string> Charts(const std::string& page)
{
    std::vector<std::string> charts;
    for (size_t at = page.find("<svg"); at != std::string::npos; at = page.find("<svg", at + 1))
        charts.push_back(page.substr(at, page.find("</svg>", at) - at));
    return charts;
}

TEST(ReportBlocks, VerdictsByDayShowTheFailingDayAndCompletenessCountsTheValues)
{
    const Workspace w(MarkedDayTemplate(180) + "<!--pq:charts--><!--pq:completeness-->",
                      MarkedTitleTemplate(60) + "<!--pq:verdicts-by-day--><!--pq:completeness-->");
    WriteTwoDays(w);
    const Outcome r = RunProgram(w.At({w.Write(w.settings(2))}));
    ASSERT_EQ(r.out, "ok!\n") << r.Log();
    EXPECT_FALSE(r.LineStartingWith("Warning")) << r.Log();
    const std::string title = ReadFile(w.out + "Page0.htm");

    const std::string yes = "+", no = Cp1251("НЕТ");
    const struct {
        const char* quantity;
        std::vector<std::string> cells;
    } verdicts[] = {
        {"Отклонение напряжения", {yes, yes}},
        {"Отклонение частоты", {yes, no}},  // fails on day 2 only
        {"Коэффициент искажения", {yes, yes}},
        {"Коэффициенты гармонических", {yes, yes}},
        {"Коэффициент несимметрии по обратной", {yes, yes}},
        {"Коэффициент несимметрии по нулевой", {yes, yes}},
    };
    for (const auto& v : verdicts) {
        std::vector<std::string> cells = RowCells(title, Cp1251(v.quantity));
        ASSERT_EQ(cells.size(), 3u) << v.quantity;
        cells.erase(cells.begin());
        EXPECT_EQ(cells, v.cells) << v.quantity;
    }
    EXPECT_NE(title.find("<th>01.03</th><th>02.03</th>"), std::string::npos);
    EXPECT_EQ(Occurrences(title, "class=\"fail\""), 1);

    // Completeness: the day pages count their own values, the title the period's.
    const struct {
        const char* page;
        const char* series;
        std::vector<std::string> cells;  // present, expected, per cent
    } completeness[] = {
        {"day_1.htm", "&delta;U, фаза A (L1)", {"1440", "1440", "100,0"}},
        {"day_2.htm", "&delta;U, фаза A (L1)", {"1380", "1440", "95,8 !"}},
        {"day_2.htm", "&Delta;f", {"1440", "4320", "33,3 !"}},
        {"Page0.htm", "&delta;U, фаза C (L3)", {"2820", "2880", "97,9 !"}},
        {"Page0.htm", "K<sub>U</sub>, фаза B (L2)", {"2880", "57600", "5,0 !"}},
        {"Page0.htm", "K<sub>U(n)</sub>, n = 2&hellip;40, фаза A (L1)", {"22464", "2246400", "1,0 !"}},
    };
    for (const auto& c : completeness) {
        const std::vector<std::string> cells = RowCells(ReadFile(w.out + c.page), Cp1251(c.series));
        ASSERT_EQ(cells.size(), 4u) << c.page << " " << c.series;
        EXPECT_EQ(std::vector<std::string>(cells.begin() + 1, cells.end()), c.cells) << c.page << " " << c.series;
    }

    // Four day charts and a spectrum per phase, as inline SVG.
    const std::string day = ReadFile(w.out + "day_2.htm");
    EXPECT_EQ(Occurrences(day, "<svg"), 7);
    EXPECT_EQ(Occurrences(day, "<script"), 0);
}

TEST(ReportBlocks, TemplatesWithoutMarkersGiveThePagesOfBefore)
{
    // The same run with and without the markers: the pages differ only by the blocks.
    const std::string dayTemplate = MarkedDayTemplate(180), titleTemplate = MarkedTitleTemplate(60);
    const Workspace plain(dayTemplate, titleTemplate);
    const Workspace marked(dayTemplate + "<!--pq:charts-->", "<!--pq:verdicts-by-day-->" + titleTemplate);
    for (const Workspace* w : {&plain, &marked})
        WriteTwoDays(*w);
    const Outcome a = RunProgram(plain.At({plain.Write(plain.settings(2))}));
    const Outcome b = RunProgram(marked.At({marked.Write(marked.settings(2))}));
    ASSERT_EQ(a.out, "ok!\n") << a.Log();
    ASSERT_EQ(b.out, "ok!\n") << b.Log();
    EXPECT_EQ(Occurrences(ReadFile(plain.out + "day_1.htm"), "<svg"), 0);

    const std::string day = ReadFile(plain.out + "day_1.htm"), markedDay = ReadFile(marked.out + "day_1.htm");
    const std::string end = "|</html>";
    ASSERT_EQ(day.substr(day.size() - end.size()), end);
    EXPECT_EQ(markedDay.substr(0, day.size() - end.size()), day.substr(0, day.size() - end.size()));
    const std::string title = ReadFile(plain.out + "Page0.htm"), markedTitle = ReadFile(marked.out + "Page0.htm");
    EXPECT_EQ(markedTitle.substr(markedTitle.size() - title.size()), title);
    // The log is the same line for line but for the paths.
    EXPECT_EQ(a.LogLines().size(), b.LogLines().size());
}

TEST(Markers, EachBlockOncePerPageAndMarkersInsideTagsLeftAlone)
{
    const std::string charts = "<!--pq:charts-->", completeness = "<!--pq:completeness-->";
    std::string manyCharts;
    for (int i = 0; i < 1000; ++i)
        manyCharts += charts;
    const std::string inAttribute = "<p title=\"a > b " + charts + "\">x</p>";
    const std::string inTag = "<img alt='<!--pq:verdicts-by-day-->'>";
    const Workspace w(MarkedDayTemplate(180) + inAttribute + manyCharts,
                      MarkedTitleTemplate(60) + inTag + completeness + "<p>" + completeness + completeness + "</p>");
    WriteTwoDays(w);
    const Outcome r = RunProgram(w.At({w.Write(w.settings(2))}));
    ASSERT_EQ(r.out, "ok!\n") << r.Log();

    // One warning per template, not per page.
    std::vector<std::string> warnings;
    for (const std::string& line : r.LogLines())
        if (line.rfind("Warning: The template ", 0) == 0)
            warnings.push_back(line);
    EXPECT_EQ(warnings,
              (std::vector<std::string>{
                  "Warning: The template " + w.dir / "bin/tbl1.htm" + " holds " + charts +
                      " 1000 times: its block takes the place of the first, the others stay as they are.",
                  "Warning: The template " + w.dir / "bin/Title.htm" + " holds " + completeness +
                      " 3 times: its block takes the place of the first, the others stay as they are."}))
        << r.Log();
    for (const char* name : {"day_1.htm", "day_2.htm"}) {
        SCOPED_TRACE(name);
        const std::string day = ReadFile(w.out + name);
        EXPECT_EQ(Charts(day).size(), 7u);
        EXPECT_NE(day.find(inAttribute), std::string::npos);
        EXPECT_EQ(Occurrences(day, charts), 1000);  // the one in the attribute and 999 comments
        // The block stands where the first marker outside the tag stood.
        EXPECT_EQ(day.find("<div class=\"chart\">"), day.find(inAttribute) + inAttribute.size());
    }
    const std::string title = ReadFile(w.out + "Page0.htm");
    EXPECT_NE(title.find(inTag), std::string::npos);
    EXPECT_EQ(Occurrences(title, "class=\"data byday\""), 0);
    EXPECT_EQ(Occurrences(title, "class=\"data completeness\""), 1);
    EXPECT_NE(title.find("<p>" + completeness + completeness + "</p>"), std::string::npos);
}

}  // namespace
