// The result document report.json and the provenance block: what the settings
// ask for, that every number agrees with the pages, the schema, the refusals,
// and that runs on the same inputs write the same bytes.
#include <algorithm>
#include <cstdio>
#include <iterator>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <sqlite3.h>
#include <unistd.h>

#include "support.h"

using namespace pqrun;
using Json = nlohmann::json;

namespace {

// ---- what the pages show where, written here from the pages' meaning ----------

// The day page's statistics in run order: what each evaluates and the first
// entry of its block.
struct Placed {
    const char* quantity;
    const char* table;
    const char* column;  // nullptr: a harmonic table
    const char* regime;
    int base;
};
const Placed kStatistics[] = {
    {"voltage_deviation", "du1m", "L1", "max_load", 11},
    {"voltage_deviation", "du1m", "L2", "max_load", 19},
    {"voltage_deviation", "du1m", "L3", "max_load", 27},
    {"voltage_deviation", "du1m", "L1", "min_load", 43},
    {"voltage_deviation", "du1m", "L2", "min_load", 51},
    {"voltage_deviation", "du1m", "L3", "min_load", 59},
    {"voltage_deviation", "du1m", "L1", "day", 75},
    {"voltage_deviation", "du1m", "L2", "day", 83},
    {"voltage_deviation", "du1m", "L3", "day", 91},
    {"voltage_deviation", "u1unbalance1m", "Value", "max_load", 35},
    {"voltage_deviation", "u1unbalance1m", "Value", "min_load", 67},
    {"voltage_deviation", "u1unbalance1m", "Value", "day", 99},
    {"distortion", "uthd3s", "L1", "day", 107},
    {"distortion", "uthd3s", "L2", "day", 113},
    {"distortion", "uthd3s", "L3", "day", 119},
    {"unbalance_zero", "u0unbalance3s", "Value", "day", 125},
    {"unbalance_negative", "u2unbalance3s", "Value", "day", 129},
    {"frequency_deviation", "ac20sdfreq", "Value", "day", 133},
    {"harmonics", "harm_u_L1_3s", nullptr, "day", 141},
    {"harmonics", "harm_u_L2_3s", nullptr, "day", 153},
    {"harmonics", "harm_u_L3_3s", nullptr, "day", 165},
};

// Where each value of a block stands, from its first entry: each bound is
// followed by its share, and a one-sided row reads 95 % value, normal limit,
// share above it, largest value, maximum limit, share above it.
using Offsets = std::map<std::string, int>;
const Offsets kTwoSided{{"lower_95", 0}, {"share_below_normal", 1}, {"upper_95", 2}, {"share_above_normal", 3},
                        {"min", 4},      {"share_below_max", 5},    {"max", 6},      {"share_above_max", 7}};
const Offsets kDistortion{{"value_95", 0},           {"limits.normal", 1}, {"share_above_normal", 2},
                          {"max", 3},                {"limits.max", 4},    {"share_above_max", 5}};
const Offsets kUnbalance{{"value_95", 0}, {"share_above_normal", 1}, {"max", 2}, {"share_above_max", 3}};
// A harmonic row: order 2 in the static row, the others in the numbered rows.
const Offsets kHarmonicRow{{"value_95", 0},           {"max", 1},       {"share_above_normal", 2},
                           {"share_above_max", 3},    {"limits.normal", 4}, {"limits.max", 5}};

const Offsets& OffsetsOf(const std::string& quantity)
{
    if (quantity == "voltage_deviation" || quantity == "frequency_deviation")
        return kTwoSided;
    return quantity == "distortion" ? kDistortion : kUnbalance;
}

// The value of `key` ("max", "limits.normal") in a statistic or an order.
Json At(const Json& object, const std::string& key)
{
    const size_t dot = key.find('.');
    return dot == std::string::npos ? object.at(key) : object.at(key.substr(0, dot)).at(key.substr(dot + 1));
}

// A number of the document as the page writes it: "%04.2f" with a decimal
// comma; null is what the page shows as 0,00.
std::string Shown(const Json& value, const char* format = "%04.2f")
{
    return Number(format, value.is_null() ? 0.0 : value.get<double>());
}

const char* const kQuantities[] = {"voltage_deviation",  "frequency_deviation", "distortion",
                                   "harmonics",          "unbalance_negative",  "unbalance_zero"};

std::string VerdictWord(const std::string& verdict)
{
    if (verdict == "complies")
        return Cp1251("соответствует");
    return Cp1251(verdict == "does_not_comply" ? "не соответствует" : "нет данных");
}

// The verdicts-by-day block's row label and cell of each quantity and verdict.
const std::map<std::string, std::string> kByDayLabels{
    {"voltage_deviation", "Отклонение напряжения"},     {"frequency_deviation", "Отклонение частоты"},
    {"distortion", "Коэффициент искажения"},            {"harmonics", "Коэффициенты гармонических"},
    {"unbalance_negative", "Коэффициент несимметрии по обратной"},
    {"unbalance_zero", "Коэффициент несимметрии по нулевой"}};
std::string ByDayCell(const std::string& verdict)
{
    if (verdict == "complies")
        return "+";
    return Cp1251(verdict == "does_not_comply" ? "НЕТ" : "н/д");
}

// The completeness block's label of each series.
const std::map<std::string, std::string> kSeriesLabels{
    {"du1m.L1", "&delta;U, фаза A (L1)"},
    {"du1m.L2", "&delta;U, фаза B (L2)"},
    {"du1m.L3", "&delta;U, фаза C (L3)"},
    {"u1unbalance1m.Value", "&delta;U, однофазный ряд"},
    {"uthd3s.L1", "K<sub>U</sub>, фаза A (L1)"},
    {"uthd3s.L2", "K<sub>U</sub>, фаза B (L2)"},
    {"uthd3s.L3", "K<sub>U</sub>, фаза C (L3)"},
    {"u0unbalance3s.Value", "K<sub>0U</sub>"},
    {"u2unbalance3s.Value", "K<sub>2U</sub>"},
    {"ac20sdfreq.Value", "&Delta;f"},
    {"harm_u_L1_3s", "K<sub>U(n)</sub>, n = 2&hellip;40, фаза A (L1)"},
    {"harm_u_L2_3s", "K<sub>U(n)</sub>, n = 2&hellip;40, фаза B (L2)"},
    {"harm_u_L3_3s", "K<sub>U(n)</sub>, n = 2&hellip;40, фаза C (L3)"},
};

// Every completeness row of the document equals the page's block.
void ExpectCompleteness(const Json& rows, const std::string& page, const std::string& where)
{
    ASSERT_EQ(rows.size(), kSeriesLabels.size()) << where;
    for (const Json& row : rows) {
        const std::string series = row.at("series");
        const std::vector<std::string> cells = RowCells(page, Cp1251(kSeriesLabels.at(series)));
        ASSERT_EQ(cells.size(), 4u) << where << " " << series;
        EXPECT_EQ(cells[1], std::to_string(row.at("present").get<long long>())) << where << " " << series;
        EXPECT_EQ(cells[2], std::to_string(row.at("expected").get<long long>())) << where << " " << series;
    }
}

// ---- running -----------------------------------------------------------------

const char* const kDayBlocks = "<!--pq:completeness-->";
const char* const kTitleBlocks = "<!--pq:verdicts-by-day--><!--pq:completeness--><!--pq:provenance-->";

Json ReadJson(const std::string& path) { return Json::parse(ReadFile(path)); }

// What a command prints on standard output.
std::string CommandOutput(const std::string& command)
{
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(::popen(command.c_str(), "r"), ::pclose);
    std::string out;
    char buf[4096];
    size_t n;
    while (pipe && (n = std::fread(buf, 1, sizeof buf, pipe.get())) > 0)
        out.append(buf, n);
    return out;
}

std::string Sha256Sum(const std::string& path)
{
    return CommandOutput("sha256sum '" + path + "'").substr(0, 64);
}

// The log lines the document must list as its warnings, in order.
std::vector<std::string> WarningLines(const Outcome& r)
{
    std::vector<std::string> lines;
    for (const std::string& line : r.LogLines())
        if (line.rfind("Warning: ", 0) == 0 || line == "Input is incomplete!")
            lines.push_back(line);
    return lines;
}

// ---- tests -------------------------------------------------------------------

TEST(ResultDocument, EveryValueVerdictAndCountEqualsThePages)
{
    const Workspace w(MarkedDayTemplate(180) + kDayBlocks, MarkedTitleTemplate(60) + kTitleBlocks);
    WriteTwoDays(w);
    // One value of day 1 that is no number: a warning, and a value that counts as 0.
    ExecSql(w.db, "UPDATE u2unbalance3s SET Value = 'nan' WHERE Base_id = "
                  "(SELECT Base_id FROM Base WHERE DateTimeMQV = '2011-03-01 10:00:00')");
    // Three days: the third has no values at all.
    const Outcome r = RunProgram(w.At({w.Write(w.settings(3).Set("Export", "json"))}));
    ASSERT_EQ(r.out, "ok!\n") << r.Log();
    const Json doc = ReadJson(w.out + "report.json");

    // The schema, with a real validator.
    const std::string validation = CommandOutput("/usr/bin/python3 '" PQ_SOURCE_DIR "/tests/run/validate_json.py' '" PQ_SOURCE_DIR
                                                 "/docs/report-result.schema.json' '" +
                                                 w.out + "report.json' 2>&1; echo \"exit $?\"");
    EXPECT_EQ(validation, "exit 0\n");

    ASSERT_EQ(doc.at("days").size(), 3u);
    int compared = 0;
    for (int d = 0; d < 3; ++d) {
        const Json& day = doc.at("days").at(d);
        SCOPED_TRACE("day " + std::to_string(d + 1));
        EXPECT_EQ(day.at("day"), d + 1);
        const std::string page = ReadFile(w.out + "day_" + std::to_string(d + 1) + ".htm");
        const std::map<int, std::string> marks = MarkedValues(page);
        const std::vector<HarmonicRow> rows = HarmonicRows(page);
        ASSERT_EQ(rows.size(), 3u * 38);
        const Json& statistics = day.at("statistics");
        ASSERT_EQ(statistics.size(), std::size(kStatistics));
        for (size_t s = 0; s < statistics.size(); ++s) {
            const Json& j = statistics[s];
            const Placed& p = kStatistics[s];
            SCOPED_TRACE(std::string(p.table) + " " + (p.column ? p.column : "") + " " + p.regime);
            EXPECT_EQ(j.at("quantity"), p.quantity);
            EXPECT_EQ(j.at("table"), p.table);
            EXPECT_EQ(j.at("column"), p.column ? Json(p.column) : Json(nullptr));
            EXPECT_EQ(j.at("regime"), p.regime);
            if (!p.column) {
                const Json& orders = j.at("orders");
                ASSERT_EQ(orders.size(), 39u);
                const int phase = (p.base - 141) / 12;
                for (int n = 2; n <= 40; ++n) {
                    const Json& order = orders.at(n - 2);
                    ASSERT_EQ(order.at("order"), n);
                    for (const auto& [key, offset] : kHarmonicRow) {
                        const std::string page_text = n == 2 ? marks.at(p.base + offset)
                                                             : rows.at(38 * phase + (n - 3)).cells.at(offset);
                        EXPECT_EQ(Shown(At(order, key)), page_text) << "order " << n << " " << key;
                        ++compared;
                    }
                    if (n > 2) {
                        EXPECT_EQ(rows.at(38 * phase + (n - 3)).number, n);
                    }
                }
                continue;
            }
            for (const auto& [key, offset] : OffsetsOf(p.quantity)) {
                EXPECT_EQ(Shown(At(j, key)), marks.at(p.base + offset)) << key;
                ++compared;
            }
        }

        // The day's verdicts are the words of the verdicts by day.
        const std::string title = ReadFile(w.out + "Page0.htm");
        for (const char* q : kQuantities) {
            const std::vector<std::string> cells = RowCells(title, Cp1251(kByDayLabels.at(q)));
            ASSERT_EQ(cells.size(), 4u) << q;
            EXPECT_EQ(cells.at(d + 1), ByDayCell(day.at("verdicts").at(q))) << q;
        }
        ExpectCompleteness(day.at("completeness"), page, "day page");
    }
    EXPECT_EQ(compared, 3 * (9 * 8 + 3 * 8 + 3 * 6 + 2 * 4 + 8 + 3 * 39 * 6));

    // The day without values: nothing but nulls, and no data.
    for (const Json& s : doc.at("days").at(2).at("statistics")) {
        EXPECT_EQ(s.at("verdict"), "no_data");
        EXPECT_EQ(s.at("count"), 0);
        const Json values = s.contains("orders") ? s.at("orders").at(5) : s;
        EXPECT_TRUE(values.at("max").is_null()) << s.at("table");
        EXPECT_TRUE(values.at("share_above_max").is_null()) << s.at("table");
    }
    // Day 2 fails the frequency; the value that is no number counts on day 1.
    EXPECT_EQ(doc.at("days").at(1).at("verdicts").at("frequency_deviation"), "does_not_comply");
    EXPECT_EQ(doc.at("days").at(0).at("statistics").at(16).at("not_finite"), 1);

    // The title page: extremes, verdicts and the period's completeness.
    const std::string titlePage = ReadFile(w.out + "Page0.htm");
    const std::map<int, std::string> title = MarkedValues(titlePage);
    const Json& summary = doc.at("summary");
    EXPECT_EQ(Shown(summary.at("frequency").at("min")), title.at(42));
    EXPECT_EQ(Shown(summary.at("frequency").at("max")), title.at(43));
    EXPECT_EQ(Shown(summary.at("voltage").at("min"), "%6.2f"), title.at(44));
    EXPECT_EQ(Shown(summary.at("voltage").at("max"), "%6.2f"), title.at(45));
    for (int q = 0; q < 6; ++q)
        EXPECT_EQ(VerdictWord(summary.at("verdicts").at(kQuantities[q])), title.at(48 + q)) << kQuantities[q];
    EXPECT_EQ(summary.at("verdicts").at("frequency_deviation"), "does_not_comply");
    ExpectCompleteness(summary.at("completeness"), titlePage, "title page");

    // The warnings are the log's, in its order.
    const std::vector<std::string> warnings = WarningLines(r);
    EXPECT_EQ(doc.at("warnings").get<std::vector<std::string>>(), warnings);
    EXPECT_EQ(warnings.at(0).rfind("Input is incomplete!", 0), 0u);
    EXPECT_EQ(std::count(warnings.begin(), warnings.end(),
                         "Warning: u2unbalance3s.Value: 1 value is not a finite number and counts as 0."),
              1);

    // The period and the settings' texts.
    EXPECT_EQ(doc.at("period"), Json({{"begin", "2011-03-01T00:00:00"}, {"end", "2011-03-04T00:00:00"}, {"days", 3}}));
    EXPECT_EQ(doc.at("settings_texts").at("Export"), "json");
    EXPECT_EQ(doc.at("settings_texts").at("n_Dayes"), "3");
    EXPECT_EQ(doc.at("voltage_class"), 0);
}

TEST(ResultDocument, ProvenanceNamesTheInputsWithTheirSha256)
{
    const Workspace w(MarkedDayTemplate(180), MarkedTitleTemplate(60) + kTitleBlocks);
    WriteTwoDays(w);
    const std::string settings = w.Write(w.settings(1).Set("Export", "json"));
    const Outcome r = RunProgram(w.At({settings}));
    ASSERT_EQ(r.out, "ok!\n") << r.Log();
    const Json inputs = ReadJson(w.out + "report.json").at("inputs");
    const std::string title = ReadFile(w.out + "Page0.htm");
    const struct {
        const char* key;
        std::string path;
    } files[] = {
        {"settings", settings},
        {"database", w.db},
        {"day_template", w.dir / "bin/tbl1.htm"},
        {"title_template", w.dir / "bin/Title.htm"},
    };
    for (const auto& f : files) {
        const std::string sha = Sha256Sum(f.path);
        ASSERT_EQ(sha.size(), 64u) << f.path;
        EXPECT_EQ(inputs.at(f.key).at("sha256"), sha) << f.key;
        EXPECT_EQ(inputs.at(f.key).at("path"), f.path) << f.key;
        EXPECT_EQ(inputs.at(f.key).at("bytes"), ReadFile(f.path).size()) << f.key;
        // The title page's block shows the same.
        EXPECT_NE(title.find("<td class=\"hash\">" + sha + "</td>"), std::string::npos) << f.key;
    }
    EXPECT_TRUE(inputs.at("wal").is_null());
    EXPECT_NE(title.find(Cp1251("версии " PQREPORT_VERSION)), std::string::npos);
    EXPECT_NE(title.find(Cp1251("байт в байт")), std::string::npos);
}

TEST(ResultDocument, AnEmptyDatabaseGivesNullsAndNoData)
{
    const Workspace w(MarkedDayTemplate(180), MarkedTitleTemplate(60));
    const Outcome r = RunProgram(w.At({w.Write(w.settings(1).Set("Export", "json"))}));
    ASSERT_EQ(r.out, "ok!\n") << r.Log();
    const Json doc = ReadJson(w.out + "report.json");
    const Json& summary = doc.at("summary");
    for (const char* e : {"frequency", "voltage"})
        EXPECT_EQ(summary.at(e), Json({{"min", nullptr}, {"max", nullptr}})) << e;
    for (const char* q : kQuantities)
        EXPECT_EQ(summary.at("verdicts").at(q), "no_data") << q;
    // The title page shows a deviation of 0 where the document holds null.
    const std::map<int, std::string> title = MarkedValues(ReadFile(w.out + "Page0.htm"));
    EXPECT_EQ(title.at(42) + " " + title.at(45), "50,00 220,00");
    // Limits are there all the same.
    const Json& thd = doc.at("days").at(0).at("statistics").at(12);
    EXPECT_EQ(thd.at("limits"), Json({{"normal", 8.0}, {"max", 12.0}}));
    EXPECT_TRUE(thd.at("value_95").is_null());
}

TEST(ResultDocument, RefusedBeforeAnythingIsWritten)
{
    // report.json and report.xlsx alike: refused over any input of the run.
    const struct {
        const char* name;
        std::string exportWords;
        std::string settingsName;  // where the settings document is written, under the workspace
        std::string databaseName;  // where the database is moved, under the workspace
        bool linkToTemplate;       // out/report.xlsx a symbolic link to the day template
        bool settingsProblem;      // refused as settings that cannot be used
        std::string line;          // the refusal's log line
    } cases[] = {
        {"an unknown export word", "json, xml", "settings.xml", "m.db", false, true,
         "Error: Export names \"xml\", which is no export format (known: json, xlsx, pdf)."},
        {"a word in capitals", "JSON", "settings.xml", "m.db", false, true,
         "Error: Export names \"JSON\", which is no export format (known: json, xlsx, pdf)."},
        {"report.json over the settings", "json", "out/report.json", "m.db", false, false,
         "Error: The result document OUT/report.json would overwrite the settings document OUT/report.json: no page is written."},
        {"report.json over the database", "json", "settings.xml", "out/report.json", false, false,
         "Error: The result document OUT/report.json would overwrite the database OUT/report.json: no page is written."},
        {"report.xlsx over the settings", "json xlsx", "out/report.xlsx", "m.db", false, false,
         "Error: The workbook OUT/report.xlsx would overwrite the settings document OUT/report.xlsx: no page is written."},
        {"report.xlsx over the database", "xlsx", "settings.xml", "out/report.xlsx", false, false,
         "Error: The workbook OUT/report.xlsx would overwrite the database OUT/report.xlsx: no page is written."},
        {"report.xlsx a link to a template", "xlsx", "settings.xml", "m.db", true, false,
         "Error: The workbook OUT/report.xlsx would overwrite the template BIN/tbl1.htm: no page is written."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Workspace w;
        const std::string db = w.dir / c.databaseName;
        std::rename(w.db.c_str(), db.c_str());
        const std::string before = ReadFile(db);
        const std::string dayTemplate = w.dir / "bin/tbl1.htm";
        const std::string templateBefore = ReadFile(dayTemplate);
        if (c.linkToTemplate) {
            ASSERT_EQ(::symlink(dayTemplate.c_str(), (w.out + "report.xlsx").c_str()), 0);
        }
        const std::string settings =
            Settings(db, w.out, 2).Set("Export", c.exportWords).Write(w.dir / c.settingsName);
        const Outcome r = RunProgram(w.At({settings}));
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.out, "");
        std::string line = c.line;
        for (size_t at = line.find("OUT/"); at != std::string::npos; at = line.find("OUT/"))
            line.replace(at, 4, w.out);
        for (size_t at = line.find("BIN/"); at != std::string::npos; at = line.find("BIN/"))
            line.replace(at, 4, w.dir / "bin/");
        EXPECT_TRUE(r.HasLine(line)) << r.Log();
        // The unknown word is refused as a settings problem, before the database is opened.
        EXPECT_EQ(r.HasLine("Ini file problem!"), c.settingsProblem) << r.Log();
        EXPECT_FALSE(r.LineStartingWith("InitDB")) << r.Log();
        // Nothing is written: the user directory holds only the input put there.
        std::vector<std::string> left;
        for (const std::string& input : {c.settingsName, c.databaseName})
            if (input.rfind("out/", 0) == 0)
                left.push_back(input.substr(4));
        if (c.linkToTemplate)
            left.push_back("report.xlsx");
        EXPECT_EQ(ListDir(w.out), left);
        EXPECT_EQ(ReadFile(db), before);
        EXPECT_EQ(ReadFile(dayTemplate), templateBefore);
    }
}

TEST(ResultDocument, AFailedRunWritesNoneAndKeepsAnEarlierOne)
{
    const Workspace w(MarkedDayTemplate(180), MarkedTitleTemplate(60));
    WriteTwoDays(w);
    const std::string settings = w.Write(w.settings(2).Set("Export", "json"));
    ASSERT_EQ(RunProgram(w.At({settings})).out, "ok!\n");
    const std::string earlier = ReadFile(w.out + "report.json");
    // The second day cannot be evaluated.
    ExecSql(w.db, "DROP TABLE ac20sdfreq");
    const Outcome r = RunProgram(w.At({settings}));
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(ReadFile(w.out + "report.json"), earlier);
    for (const std::string& name : ListDir(w.out))
        EXPECT_EQ(name.find(".json."), std::string::npos) << name;  // no temporary left
}

TEST(ResultDocument, WithoutExportThePagesAndFilesAreThoseOfBefore)
{
    // The same report with no Export, an empty one, json and xlsx: the same
    // pages; only json adds report.json, only xlsx report.xlsx.
    const struct {
        const char* name;
        std::optional<std::string> exportWords;
        std::vector<std::string> files;
    } cases[] = {
        {"no Export", std::nullopt, {"Page0.htm", "day_1.htm", "day_2.htm"}},
        {"an empty Export", std::string(" , "), {"Page0.htm", "day_1.htm", "day_2.htm"}},
        {"json", std::string("json"), {"Page0.htm", "day_1.htm", "day_2.htm", "report.json"}},
        {"xlsx", std::string("xlsx"), {"Page0.htm", "day_1.htm", "day_2.htm", "report.xlsx"}},
        {"json and xlsx", std::string("xlsx json"),
         {"Page0.htm", "day_1.htm", "day_2.htm", "report.json", "report.xlsx"}},
    };
    std::map<std::string, std::string> firstPages;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Workspace w(MarkedDayTemplate(180) + "<!--pq:charts-->", MarkedTitleTemplate(60));
        WriteTwoDays(w);
        Settings s = w.settings(2);
        if (c.exportWords)
            s.Set("Export", *c.exportWords);
        const Outcome r = RunProgram(w.At({w.Write(s)}));
        ASSERT_EQ(r.out, "ok!\n") << r.Log();
        EXPECT_EQ(ListDir(w.out), c.files);
        for (const char* page : {"Page0.htm", "day_1.htm", "day_2.htm"}) {
            std::string text = ReadFile(w.out + page);
            if (firstPages.count(page) == 0) {
                firstPages[page] = text;
            } else {
                EXPECT_EQ(text, firstPages[page]) << page;
            }
        }
    }
}

TEST(ResultDocument, TheSameInputsGiveTheSameBytes)
{
    // The shipped templates, with every block and the provenance.
    const std::string day = ReadFile(PQ_SOURCE_DIR "/templates/tbl1.htm");
    const std::string title = ReadFile(PQ_SOURCE_DIR "/templates/Title.htm");
    const Workspace w(day, title);
    WriteTwoDays(w);
    const std::string settings = w.Write(w.settings(2).Set("Export", "json xlsx"));
    std::map<std::string, std::string> first;
    for (int run = 0; run < 2; ++run) {
        const Outcome r = RunProgram(w.At({settings}));
        ASSERT_EQ(r.out, "ok!\n") << r.Log();
        for (const std::string& name : ListDir(w.out)) {
            const std::string bytes = ReadFile(w.out + name);
            if (run == 0) {
                first[name] = bytes;
            } else {
                EXPECT_TRUE(bytes == first[name]) << name << " differs between two runs";
            }
        }
    }
    EXPECT_EQ(first.size(), 5u);
    EXPECT_NE(first["Page0.htm"].find("<td class=\"hash\">" + Sha256Sum(w.db) + "</td>"), std::string::npos);
}

}  // namespace
