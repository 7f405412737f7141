// The pages a run writes: templates joined with the values, the harmonic and
// max-load rows, the title page's dates and verdicts, texts in CP1251.

#include <gtest/gtest.h>

#include "support.h"

using namespace pqrun;

namespace {

const std::string kMaker = Cp1251("Т Вирс");
const std::string kComplies = Cp1251("соответствует");
const std::string kDoesNotComply = Cp1251("не соответствует");
const std::string kNoData = Cp1251("нет данных");

// Bytes that are no CP1251 text: the undefined 0x98, UTF-8 sequences, a NUL-free mix.
const std::string kForeignBytes = "\x98 \xC3\xA9 \xE2\x89\xA4 \xFF\x01";

TEST(Pages, TemplatesWithoutPlaceholdersAreWrittenUnchanged)
{
    const std::string day = "<html><tr a>Friday</tr> # #" + kForeignBytes + Cp1251("Ж") + "</html>\n";
    const std::string title = "<html>" + kForeignBytes + "#\n#</html>";
    const Workspace w(day, title);
    const Outcome r = RunProgram(w.At({w.Write(w.settings(2))}));
    EXPECT_EQ(r.out, "ok!\n") << r.Log();
    EXPECT_EQ(ListDir(w.out), (std::vector<std::string>{"Page0.htm", "day_1.htm", "day_2.htm"}));
    EXPECT_EQ(ReadFile(w.out + "day_1.htm"), day);
    EXPECT_EQ(ReadFile(w.out + "day_2.htm"), day);
    EXPECT_EQ(ReadFile(w.out + "Page0.htm"), title);
}

// Harmonic order n of phase p: 19 samples at Low and one at High, so the
// 95 % value is Low and the largest High.
double Low(int n, int p) { return p * 100 + n + 0.25; }
double High(int n, int p) { return Low(n, p) + 0.5; }

TEST(Pages, DayAndTitlePagesCarryTheirValues)
{
    const Workspace w(MarkedDayTemplate(180) + kForeignBytes, MarkedTitleTemplate(60) + kForeignBytes);
    {
        MeasurementDb db(w.db + ".new");
        const char* const tables[3] = {"harm_u_L1_3s", "harm_u_L2_3s", "harm_u_L3_3s"};
        for (int p = 0; p < 3; ++p)
            db.Series(tables[p], 1, 3, 20, [p](int i, int c) { return i == 7 ? High(c + 2, p) : Low(c + 2, p); });
    }
    std::rename((w.db + ".new").c_str(), w.db.c_str());

    Settings s = w.settings(1);
    s.Set("Header1", "Протокол испытаний").Set("Header2", "не ≤ CP1251").Set("Header3", "50% & <b>");
    s.Set("att_Header_0", "Объект").Set("att_Header_1", "B").Set("att_Header_3", "%s%d%%");
    const Outcome r = RunProgram(w.At({w.Write(s)}));
    ASSERT_EQ(r.out, "ok!\n") << r.Log();

    const std::string day = ReadFile(w.out + "day_1.htm");
    const std::map<int, std::string> v = MarkedValues(day);
    EXPECT_EQ(v.at(0), kMaker);
    EXPECT_EQ(v.at(1), Cp1251("Объект"));
    EXPECT_EQ(v.at(2), "B");
    EXPECT_EQ(v.at(3), "");
    EXPECT_EQ(v.at(4), "%s%d%%");
    EXPECT_EQ(v.at(5), "01.03.2011");
    EXPECT_EQ(v.at(6), "00:00");
    EXPECT_EQ(v.at(7), "02.03.2011");
    EXPECT_EQ(v.at(8), "00:00");
    EXPECT_EQ(v.at(9), "08:00 - 20:00");
    for (int k : {177, 178, 179})
        EXPECT_EQ(v.at(k), "A" + std::to_string(k));
    // One max-load period: the period sample row leaves no row behind.
    EXPECT_EQ(day.find("period"), std::string::npos);
    EXPECT_EQ(day.find("Friday"), std::string::npos);
    EXPECT_EQ(day.substr(day.size() - kForeignBytes.size()), kForeignBytes);

    // Order 2 stands in the table's static cells, orders 3..40 in the numbered rows.
    for (int p = 0; p < 3; ++p) {
        EXPECT_EQ(v.at(141 + 12 * p), Number("%04.2f", Low(2, p))) << "phase " << p;
        EXPECT_EQ(v.at(142 + 12 * p), Number("%04.2f", High(2, p))) << "phase " << p;
    }
    const std::vector<HarmonicRow> rows = HarmonicRows(day);
    ASSERT_EQ(rows.size(), 3u * 38);
    for (size_t j = 0; j < rows.size(); ++j) {
        const int p = static_cast<int>(j / 38);
        const int n = 3 + static_cast<int>(j % 38);
        SCOPED_TRACE("phase " + std::to_string(p) + " order " + std::to_string(n));
        EXPECT_EQ(rows[j].number, n);
        ASSERT_EQ(rows[j].cells.size(), 6u);
        EXPECT_EQ(rows[j].cells[0], Number("%04.2f", Low(n, p)));
        EXPECT_EQ(rows[j].cells[1], Number("%04.2f", High(n, p)));
    }

    const std::string titlePage = ReadFile(w.out + "Page0.htm");
    const std::map<int, std::string> t = MarkedValues(titlePage);
    EXPECT_EQ(t.at(0), kMaker);
    EXPECT_EQ(t.at(1), Cp1251("Протокол испытаний"));
    EXPECT_EQ(t.at(2), "");  // a text outside CP1251 reads as empty
    EXPECT_NE(titlePage.find("|3=50% & <b>|4="), std::string::npos);  // markup passes as it is
    EXPECT_EQ(t.at(29), "01-03-2011");
    EXPECT_EQ(t.at(30), "02-03-2011");
    for (int k = 54; k < 60; ++k)
        EXPECT_EQ(t.at(k), "A" + std::to_string(k));
    EXPECT_EQ(t.at(42), "50,00");  // no frequency or voltage values in the period
    EXPECT_EQ(t.at(43), "50,00");
    EXPECT_EQ(t.at(44), "220,00");
    EXPECT_EQ(t.at(45), "220,00");
    // Only the harmonic coefficients are measured (all beyond their limits).
    for (int f = 0; f < 6; ++f)
        EXPECT_EQ(t.at(48 + f), f == 3 ? kDoesNotComply : kNoData) << "verdict " << f;
    EXPECT_EQ(titlePage.substr(titlePage.size() - kForeignBytes.size()), kForeignBytes);
}

TEST(Pages, HarmonicRowWithoutItsMarkerAbortsBeforeAnyPage)
{
    for (const char* marker : {"Thursday", "FridayFriday"}) {
        SCOPED_TRACE(marker);
        const Workspace w(MarkedDayTemplate(180, marker), MarkedTitleTemplate(60));
        const Outcome r = RunProgram(w.At({w.Write(w.settings(5))}));
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.status, 1);
        const std::vector<std::string> lines = r.LogLines();
        ASSERT_GE(lines.size(), 2u) << r.Log();
        EXPECT_EQ(lines[lines.size() - 2], "Abort not correct DB version") << r.Log();
        EXPECT_EQ(lines.back().rfind("Error: The day template " + w.dir / "bin/tbl1.htm" + ": ", 0), 0u)
            << r.Log();
        EXPECT_TRUE(r.HasLine("Day number 1 of 5."));
        EXPECT_FALSE(r.HasLine("Day number 2 of 5."));
        EXPECT_TRUE(ListDir(w.out).empty());
    }
}

TEST(Pages, RunsWithoutDaysWriteTheTitlePageOnly)
{
    const struct {
        int days;
        const char* end;  // title placeholder 30
    } cases[] = {{0, "01-03-2011"}, {-2, "27-02-2011"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.days);
        const Workspace w(MarkedDayTemplate(180), MarkedTitleTemplate(60));
        const Outcome r = RunProgram(w.At({w.Write(w.settings(c.days))}));
        EXPECT_EQ(r.out, "ok!\n") << r.Log();
        EXPECT_FALSE(r.LineStartingWith("Day number"));
        ASSERT_EQ(ListDir(w.out), std::vector<std::string>{"Page0.htm"});
        const std::map<int, std::string> t = MarkedValues(ReadFile(w.out + "Page0.htm"));
        EXPECT_EQ(t.at(29), "01-03-2011");
        EXPECT_EQ(t.at(30), c.end);
        for (int f = 0; f < 6; ++f)
            EXPECT_EQ(t.at(48 + f), kNoData) << "verdict " << f;
    }
}

TEST(Pages, NDayesEndingThePeriodBeforeYearOneIsRefusedOtherwiseTheEndIsDated)
{
    // From 01.03.2011, -734196 days end the period on 01.01.0001 exactly.
    // One day more, or far more, would end it before the year 1: a settings
    // error naming the count (read as a 32-bit number), and no page.
    const struct {
        const char* nDayes;
        const char* end;  // title placeholder 30; null: the run is refused
        const char* error;
    } cases[] = {
        {"-734195", "02-01-0001", nullptr},
        {"-734196", "01-01-0001", nullptr},
        {"-734197", nullptr, "Error: n_Dayes is -734197: the period would end before the year 1."},
        {"-100000000", nullptr, "Error: n_Dayes is -100000000: the period would end before the year 1."},
        {"-99999999999", nullptr, "Error: n_Dayes is -2147483648: the period would end before the year 1."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.nDayes);
        const Workspace w(MarkedDayTemplate(180), MarkedTitleTemplate(60));
        const std::string settings = w.Write(w.settings(1).Set("n_Dayes", c.nDayes));
        const Outcome r = RunProgram(w.At({settings}));
        EXPECT_EQ(r.status, c.end ? 0 : 1);
        if (c.end) {
            EXPECT_EQ(r.out, "ok!\n") << r.Log();
            EXPECT_FALSE(r.LineStartingWith("Error")) << r.Log();
            EXPECT_FALSE(r.LineStartingWith("Day number")) << r.Log();
            ASSERT_EQ(ListDir(w.out), std::vector<std::string>{"Page0.htm"});
            const std::map<int, std::string> t = MarkedValues(ReadFile(w.out + "Page0.htm"));
            EXPECT_EQ(t.at(29), "01-03-2011");
            EXPECT_EQ(t.at(30), c.end);
        } else {
            EXPECT_EQ(r.out, "");
            EXPECT_EQ(r.LogLines(), (std::vector<std::string>{"Command line parsed successfully:",
                                                              "Input files: " + settings + " ", c.error,
                                                              "Ini file problem!", ""}));
            EXPECT_TRUE(ListDir(w.out).empty());
        }
    }
}

TEST(Pages, PagesGoUnderTheUserDirectoryPrefix)
{
    const Workspace w;
    const struct {
        const char* name;
        std::optional<std::string> userDir;  // empty: no UserDirectory element
        std::string pages;                   // where the pages go
        std::string prefix;                  // and their names' prefix
    } cases[] = {
        {"per-cent signs", w.dir.Subdir("out%d%s%%", true) + "/", w.dir / "out%d%s%%", ""},
        {"bare prefix", w.out + "report-", w.out, "report-"},
        {"no user directory", std::nullopt, w.dir / "bin", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Outcome r = RunProgram(w.At({w.Write(w.settings(1).UserDir(c.userDir))}));
        EXPECT_EQ(r.out, "ok!\n") << r.Log();
        EXPECT_TRUE(Exists(c.pages + "/" + c.prefix + "day_1.htm"));
        EXPECT_TRUE(Exists(c.pages + "/" + c.prefix + "Page0.htm"));
    }
}

TEST(Pages, UserDirectoryOutsideCp1251GetsThePages)
{
    // "é" has no CP1251 code; the pages must still go to that directory and
    // nowhere else.
    const Workspace w;
    const std::string dir = w.dir.Subdir("café", true) + "/";
    const std::string cwd = w.dir.Subdir("cwd", true);
    Launch launch = w.At({w.Write(w.settings(1).UserDir(dir))});
    launch.cwd = cwd;
    const Outcome r = RunProgram(launch);
    EXPECT_EQ(ListDir(dir), (std::vector<std::string>{"Page0.htm", "day_1.htm"})) << r.Log();
    EXPECT_TRUE(ListDir(cwd).empty()) << "pages written into the working directory instead";
}

}  // namespace
