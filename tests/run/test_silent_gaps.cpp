// What a page claims must not hide a gap: a day without values is named and
// its charts say "нет данных"; a series with more values than a day holds
// stands out and is named; a header text that CP1251 cannot write is named.
#include <algorithm>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <sqlite3.h>

#include "support.h"

using namespace pqrun;

namespace {

const std::string kNoData = Cp1251("нет данных");

// The <svg> elements of a page, in page order.
std::vector<std::string> Charts(const std::string& page)
{
    std::vector<std::string> charts;
    for (size_t at = page.find("<svg"); at != std::string::npos; at = page.find("<svg", at + 1))
        charts.push_back(page.substr(at, page.find("</svg>", at) - at));
    return charts;
}

// Lines of the log that start with `prefix`.
std::vector<std::string> LinesStartingWith(const Outcome& r, const std::string& prefix)
{
    std::vector<std::string> lines;
    for (const std::string& line : r.LogLines())
        if (line.rfind(prefix, 0) == 0)
            lines.push_back(line);
    return lines;
}

std::vector<std::string> RecordedWarnings(const std::string& resultDocument)
{
    return nlohmann::json::parse(ReadFile(resultDocument)).at("warnings").get<std::vector<std::string>>();
}

// Values of `table` on March `day` within the limits, every minute (harmonics every five).
void Fill(MeasurementDb& db, const std::string& table, int day)
{
    if (table.rfind("harm_u_", 0) == 0)
        db.Series(table, day, 300, 288, [](int i, int c) { return ((i + c) % 10) / 100.0; });
    else
        db.Series(table, day, 60, 1440, [](int i, int c) { return ((i * 7 + c * 3) % 300 - 150) / 1000.0; });
}

TEST(SilentGaps, ADayWithoutValuesIsNamedAndEveryChartWithoutDataSaysSo)
{
    const std::vector<std::string> all = ParameterTables();
    const struct {
        std::vector<std::string> tables;  // what the day holds
        // Charts with the note: voltage, frequency, distortion, unbalance, spectrum L1, L2, L3.
        std::vector<bool> noData;
    } days[] = {
        {all, {false, false, false, false, false, false, false}},
        {{}, {true, true, true, true, true, true, true}},
        {{"du1m"}, {false, true, true, true, true, true, true}},
        {{"u0unbalance3s", "harm_u_L2_3s"}, {true, true, true, false, true, false, true}},
    };
    const Workspace w(MarkedDayTemplate(180) + "<!--pq:charts-->", MarkedTitleTemplate(60));
    {
        MeasurementDb db(w.db + ".new");
        for (int d = 0; d < 4; ++d)
            for (const std::string& table : days[d].tables)
                Fill(db, table, d + 1);
    }
    std::rename((w.db + ".new").c_str(), w.db.c_str());
    const Outcome r = RunProgram(w.At({w.Write(w.settings(4))}));
    ASSERT_EQ(r.out, "ok!\n") << r.Log();

    // Only the day without any value is named.
    EXPECT_EQ(LinesStartingWith(r, "Warning: Day "),
              std::vector<std::string>{"Warning: Day 2 (02.03.2011) has no value in any measured series: its page "
                                       "shows 0,00 and its charts are empty."})
        << r.Log();
    for (int d = 0; d < 4; ++d) {
        SCOPED_TRACE("day " + std::to_string(d + 1));
        const std::vector<std::string> charts = Charts(ReadFile(w.out + "day_" + std::to_string(d + 1) + ".htm"));
        ASSERT_EQ(charts.size(), days[d].noData.size());
        for (size_t c = 0; c < charts.size(); ++c)
            EXPECT_EQ(charts[c].find(kNoData) != std::string::npos, days[d].noData[c]) << "chart " << c;
    }
}

TEST(SilentGaps, SeriesWithMoreValuesThanADayStandOutAndAreNamed)
{
    const Workspace w(MarkedDayTemplate(180) + "<!--pq:completeness-->",
                      MarkedTitleTemplate(60) + "<!--pq:completeness-->");
    WriteTwoDays(w);
    // The first 100 minutes of day 1's voltage deviation stored twice, at the same time stamps.
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(w.db.c_str(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db,
                           "INSERT INTO Base(Base_id, DateTimeMQV) SELECT Base_id + 1000000, DateTimeMQV FROM Base "
                           "WHERE DateTimeMQV < '2011-03-01 01:40:00' AND Base_id IN (SELECT Base_id FROM du1m);"
                           "INSERT INTO du1m SELECT Base_id + 1000000, L1, L2, L3 FROM du1m "
                           "WHERE Base_id + 1000000 IN (SELECT Base_id FROM Base);",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close(db);
    const Outcome r = RunProgram(w.At({w.Write(w.settings(2).Set("Export", "json"))}));
    ASSERT_EQ(r.out, "ok!\n") << r.Log();

    const std::string warning =
        "Warning: Day 1 (01.03.2011) has more values than a full day holds in du1m.L1 (1540 of 1440), "
        "du1m.L2 (1540 of 1440), du1m.L3 (1540 of 1440): values at repeated time stamps all count.";
    EXPECT_EQ(LinesStartingWith(r, "Warning: Day "), std::vector<std::string>{warning}) << r.Log();
    const std::vector<std::string> recorded = RecordedWarnings(w.out + "report.json");
    EXPECT_NE(std::find(recorded.begin(), recorded.end(), warning), recorded.end());

    const struct {
        const char* page;
        const char* series;
        std::vector<std::string> cells;  // present, expected, per cent
        const char* row;                 // the row's opening tag
    } rows[] = {
        {"day_1.htm", "&delta;U, фаза A (L1)", {"1540", "1440", "106,9 !"}, "<tr class=\"short over\">"},
        {"day_1.htm", "&delta;U, фаза C (L3)", {"1540", "1440", "106,9 !"}, "<tr class=\"short over\">"},
        {"day_1.htm", "&Delta;f", {"1440", "4320", "33,3 !"}, "<tr class=\"short\">"},
        {"day_2.htm", "&delta;U, фаза A (L1)", {"1380", "1440", "95,8 !"}, "<tr class=\"short\">"},
        {"day_2.htm", "K<sub>U</sub>, фаза A (L1)", {"1440", "28800", "5,0 !"}, "<tr class=\"short\">"},
        {"Page0.htm", "&delta;U, фаза B (L2)", {"2920", "2880", "101,4 !"}, "<tr class=\"short over\">"},
        {"Page0.htm", "&delta;U, однофазный ряд", {"2880", "2880", "100,0"}, "<tr>"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.page) + " " + row.series);
        const std::string page = ReadFile(w.out + row.page);
        const std::vector<std::string> cells = RowCells(page, Cp1251(row.series));
        ASSERT_EQ(cells.size(), 4u);
        EXPECT_EQ(std::vector<std::string>(cells.begin() + 1, cells.end()), row.cells);
        EXPECT_NE(page.find(row.row + std::string("<td class=\"lbl\">") + Cp1251(row.series)), std::string::npos);
    }
}

TEST(SilentGaps, AHeaderTextOutsideCp1251IsNamedAndStillCountsAsMissing)
{
    const struct {
        const char* element;
        const char* value;
        const char* character;  // the one named; null: CP1251 has them all
    } texts[] = {
        {"Header2", "Площадь 25 м²", "U+00B2"},
        {"Main1", "U ≤ 5 %", "U+2264"},
        {"Page1_7_0", "R = 5 Ω", "U+03A9"},
        {"att_Header_1", "変電所 № 5", "U+5909"},
        {"Header3", "«ТП-1» № 5, ±0,2 °С", nullptr},
    };
    const Workspace w(MarkedDayTemplate(180), MarkedTitleTemplate(60));
    Settings settings = w.settings(1).Set("Export", "json");
    for (const auto& t : texts)
        settings.Set(t.element, t.value);
    const Outcome r = RunProgram(w.At({w.Write(settings)}));
    ASSERT_EQ(r.out, "ok!\n") << r.Log();

    std::vector<std::string> expected;
    for (const auto& t : texts)
        if (t.character)
            expected.push_back(std::string("Warning: The value of ") + t.element + " holds " + t.character +
                               ", a character that CP1251 lacks; it counts as missing.");
    EXPECT_EQ(LinesStartingWith(r, "Warning: The value of "), expected) << r.Log();
    const std::vector<std::string> recorded = RecordedWarnings(w.out + "report.json");
    for (const std::string& line : expected)
        EXPECT_NE(std::find(recorded.begin(), recorded.end(), line), recorded.end()) << line;
    // As before: the text is left out, and one that CP1251 can write is kept.
    const std::map<int, std::string> title = MarkedValues(ReadFile(w.out + "Page0.htm"));
    EXPECT_EQ(title.at(2), "");
    EXPECT_EQ(title.at(3), Cp1251("«ТП-1» № 5, ±0,2 °С"));
    EXPECT_EQ(MarkedValues(ReadFile(w.out + "day_1.htm")).at(2), "");
}

}  // namespace
