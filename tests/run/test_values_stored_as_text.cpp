// Values stored as text among numbers: SQLite orders every text after every
// number, and texts among themselves as texts. The report takes such a sample
// in the order of its numbers, so its pages equal those of the same values
// stored as numbers, with one warning per statistic that met texts.
#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support.h"

using namespace pqrun;

namespace {

// Every value column of the tables the report reads, as table.column.
std::vector<std::pair<std::string, std::string>> ValueColumns()
{
    std::vector<std::pair<std::string, std::string>> columns;
    for (const std::string& t : ParameterTables())
        for (const std::string& c : ColumnsOf(t))
            columns.emplace_back(t, c);
    return columns;
}

// The SQL that stores the values selected by `where` as text with a decimal comma.
std::string AsCommaText(const std::string& table, const std::string& column, const std::string& where)
{
    return "UPDATE " + table + " SET " + column + " = replace(CAST(" + column + " AS TEXT), '.', ',') WHERE " +
           column + " IS NOT NULL AND (" + where + ");";
}

// The log after the command line's confirmation, without the lines that
// name the values stored as text.
std::vector<std::string> LinesBut(const Outcome& r, const std::string& dropped, int& droppedCount)
{
    std::vector<std::string> kept;
    const std::vector<std::string> lines = r.LogLines();
    for (size_t i = 2; i < lines.size(); ++i) {
        if (lines[i].find(dropped) != std::string::npos)
            ++droppedCount;
        else
            kept.push_back(lines[i]);
    }
    return kept;
}

TEST(ValuesStoredAsText, GiveThePagesOfTheSameNumbers)
{
    const struct {
        const char* name;
        std::string sql;  // turns some of the fixture's numbers into comma texts
        int warnings;     // stored-as-text warnings of the statistics and the title's extremes
    } cases[] = {
        // The day's smallest voltage deviations and the frequency's extremes:
        // sorted as text they would land after every number.
        {"a few values",
         AsCommaText("du1m", "L1", "L1 < -3.4") + AsCommaText("ac20sdfreq", "Value", "Value <= -0.15 OR Value > 0.4"),
         // du1m.L1 in 3 regimes a day, the frequency once a day; the title's two extremes
         2 * (3 + 1) + 2},
        {"every value", "", -1},
    };
    std::string everything;
    for (const auto& [table, column] : ValueColumns())
        everything += AsCommaText(table, column, "1");

    const std::string dayTemplate = MarkedDayTemplate(180) + "<!--pq:charts--><!--pq:completeness-->";
    const std::string titleTemplate = MarkedTitleTemplate(60) + "<!--pq:verdicts-by-day--><!--pq:completeness-->";
    const Workspace numbers(dayTemplate, titleTemplate);
    WriteTwoDays(numbers);
    const Outcome expected = RunProgram(numbers.At({numbers.Write(numbers.settings(2))}));
    ASSERT_EQ(expected.out, "ok!\n") << expected.Log();
    // The fixture's extremes lie where the texts would be misplaced.
    const std::map<int, std::string> title = MarkedValues(ReadFile(numbers.out + "Page0.htm"));
    ASSERT_EQ(title.at(42) + " " + title.at(43), "49,85 50,45");

    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Workspace texts(dayTemplate, titleTemplate);
        WriteTwoDays(texts);
        ExecSql(texts.db, c.sql.empty() ? everything : c.sql);
        const Outcome r = RunProgram(texts.At({texts.Write(texts.settings(2))}));
        ASSERT_EQ(r.out, "ok!\n") << r.Log();
        for (const char* page : {"day_1.htm", "day_2.htm", "Page0.htm"})
            EXPECT_TRUE(ReadFile(texts.out + page) == ReadFile(numbers.out + page)) << page << " differs";
        int warnings = 0, none = 0;
        EXPECT_EQ(LinesBut(r, " stored as text; ", warnings), LinesBut(expected, " stored as text; ", none));
        if (c.warnings >= 0)
            EXPECT_EQ(warnings, c.warnings) << r.Log();
        else
            EXPECT_GT(warnings, 21 * 2) << r.Log();  // at least one for each statistic of each day
    }
}

}  // namespace
