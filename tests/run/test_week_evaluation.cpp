// The week's evaluation by GOST 32144-2013 in runs of the real program: a
// small week whose 10-minute values are worked out by hand below, checked on
// week.htm, in report.json (against its schema too) and on the workbook's
// sheet «ГОСТ 32144»; a 6-day period computed and not evaluated; the runs
// refused before the database; and a run without Evaluate, which neither
// needs Week.htm nor writes anything of the evaluation.
#include <cstdio>
#include <map>
#include <memory>
#include <optional>
#include <regex>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "support.h"

using namespace pqrun;
using Json = nlohmann::json;

namespace {

// ---- the week's database ----------------------------------------------------------------

// Values written as the logger writes them: one Base row per instant, shared
// by the tables; a value is a number, a text, or NULL.
class LoggedValues {
public:
    // values[i] into table.column at March `day`, `from` + i * step seconds.
    void Put(const std::string& table, const std::string& column, int day, long from, int step,
             const std::vector<std::optional<double>>& values)
    {
        for (size_t i = 0; i < values.size(); ++i) {
            char literal[32] = "NULL";
            if (values[i])
                std::snprintf(literal, sizeof literal, "%.17g", *values[i]);
            rows_[Stamp(day, from + static_cast<long>(i) * step)][table][column] = literal;
        }
    }
    void PutText(const std::string& table, const std::string& column, int day, long at, const std::string& text)
    {
        rows_[Stamp(day, at)][table][column] = "'" + text + "'";
    }
    void Write(const std::string& db) const
    {
        std::string sql = "BEGIN;";
        long long id = 0;
        for (const auto& [stamp, tables] : rows_) {
            const std::string base = std::to_string(++id);
            sql += "INSERT INTO Base(Base_id, DateTimeMQV) VALUES(" + base + ", '" + stamp + "');";
            for (const auto& [table, columns] : tables) {
                std::string names = "Base_id", values = base;
                for (const auto& [column, literal] : columns) {
                    names += ", " + column;
                    values += ", " + literal;
                }
                sql += "INSERT INTO " + table + "(" + names + ") VALUES(" + values + ");";
            }
        }
        ExecSql(db, sql + "COMMIT;");
    }

private:
    std::map<std::string, std::map<std::string, std::map<std::string, std::string>>> rows_;
};

std::vector<std::optional<double>> Same(size_t n, std::optional<double> v)
{
    return std::vector<std::optional<double>>(n, v);
}
std::vector<std::optional<double>> Alternating(size_t n, double a, double b)
{
    std::vector<std::optional<double>> v;
    for (size_t i = 0; i < n; ++i)
        v.push_back(i % 2 ? b : a);
    return v;
}

// The week from 01.03.2011 00:00, voltage class 0 (0,4 kV). Intervals are
// [00:00, 00:10), [00:10, 00:20), ... of each day; only the ones named here
// hold values, every other interval is not counted.
void WriteWeek(const std::string& db)
{
    LoggedValues v;
    // δU, one-minute values. Interval 0 (01.03 00:00..00:09), ten values:
    //  L1 +19, -21, ... : (1,19² + 0,79²) / 2 = 1,0201 = 1,01², so +1,00 %
    //     (the mean deviation would be -1 %);
    //  L2 10 %: at the 100 % limit, inside it;
    //  L3 -10,01 %: just over it.
    v.Put("du1m", "L1", 1, 0, 60, Alternating(10, 19, -21));
    v.Put("du1m", "L2", 1, 0, 60, Same(10, 10.0));
    v.Put("du1m", "L3", 1, 0, 60, Same(10, -10.01));
    // Interval 1 (00:10..00:13): four values of L1 at -50 % are fewer than
    // half of ten, and 00:10:00 is interval 1's, not interval 0's.
    v.Put("du1m", "L1", 1, 600, 60, Same(4, -50.0));
    // The week's last interval (07.03 23:55..23:59): five values of L1 at -2 %.
    v.Put("du1m", "L1", 7, 86100, 60, Same(5, -2.0));
    // The single-phase series: five values at 3 % in interval 2.
    v.Put("u1unbalance1m", "Value", 1, 1200, 60, Same(5, 3.0));

    // Δf, 20-second values, each counting: 40 values from 01.03 00:00, one
    // more NULL. 0,2 at the 95 % limit; -0,4 at the 100 % limit, beyond the
    // 95 % one; 0,3 beyond it: 2 of 40 beyond 0,2 are exactly 5 %.
    std::vector<std::optional<double>> frequency{0.2, -0.4, 0.3, -0.1};
    frequency.resize(40, 0.05);
    frequency.push_back(std::nullopt);
    v.Put("ac20sdfreq", "Value", 1, 0, 20, frequency);
    v.PutText("ac20sdfreq", "Value", 1, 80, "0.05");  // the fifth value, stored as text

    // KU, 3-second values, interval 0 of 01.03 (100 values, half of 200):
    //  L1 1, 7, ... : (1 + 49) / 2 = 25, so 5,00 (the mean would be 4);
    //  L2 8 %: at the 95 % limit;
    //  L3 99 values at 20 %, the hundredth NULL: not counted.
    v.Put("uthd3s", "L1", 1, 0, 3, Alternating(100, 1, 7));
    v.Put("uthd3s", "L2", 1, 0, 3, Same(100, 8.0));
    std::vector<std::optional<double>> l3 = Same(99, 20.0);
    l3.push_back(std::nullopt);
    v.Put("uthd3s", "L3", 1, 0, 3, l3);

    // KU(n), 3-second values in interval 0 of 01.03:
    //  L1 order 3 at 4 %: within 5,0 (its half, 2,5, would fail it);
    //  L1 order 9 at 1,5 %: at its limit 1,5 (not 0,75);
    //  L3 order 5 at 1, 9, ... : sqrt((1 + 81) / 2) = sqrt(41) = 6,403 beyond
    //     6,0 (the mean, 5, is within it) and within 9,0; one value of one,
    //     100 %: the order fails.
    v.Put("harm_u_L1_3s", "H3", 1, 0, 3, Same(100, 4.0));
    v.Put("harm_u_L1_3s", "H9", 1, 0, 3, Same(100, 1.5));
    v.Put("harm_u_L3_3s", "H5", 1, 0, 3, Alternating(100, 1, 9));

    // K2U on 03.03, 20 intervals of 100 values each from 00:00: one at
    // 0,125 % (a tie: the page writes 0,12, and so must the workbook), nine
    // at 1 %, eight at 1,5 %, one at 2 % (the 95 % limit), one at 3 %.
    // Ascending, the 19th (ceil(0,95 × 20)) is 2,00; one of 20 beyond 2 %: 5 %.
    const double k2[20] = {0.125, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1.5, 1.5, 1.5, 1.5, 1.5, 1.5, 1.5, 1.5, 2, 3};
    for (int i = 0; i < 20; ++i)
        v.Put("u2unbalance3s", "Value", 3, i * 600L, 3, Same(100, k2[i]));
    // K0U: 99 values on 02.03 00:00 are fewer than half: no value at all.
    v.Put("u0unbalance3s", "Value", 2, 0, 3, Same(99, 1.0));
    v.Write(db);
}

// ---- what the evaluation gives, worked out above ------------------------------------------

// One series' figures. std::nullopt: no value (N = 0, or not taken).
struct Figures {
    const char* table;
    const char* column;
    long long count;
    std::optional<double> minimum, maximum, value95, share95;
    long long beyond95, beyond100;
    const char* verdict;  // for a complete week
};

const double kSqrt41 = 6.4031242374328485;

// The series with values, in the report's order; every other series (all
// harmonic orders but these three) has none. The 6-day period lacks the last
// interval of L1.
std::vector<Figures> SeriesWithValues(int days)
{
    const Figures l1 = days == 7 ? Figures{"du1m", "L1", 2, -2.0, 1.0, {}, {}, 0, 0, "complies"}
                                 : Figures{"du1m", "L1", 1, 1.0, 1.0, {}, {}, 0, 0, "complies"};
    return {
        l1,
        {"du1m", "L2", 1, 10.0, 10.0, {}, {}, 0, 0, "complies"},
        {"du1m", "L3", 1, -10.01, -10.01, {}, {}, 0, 1, "does_not_comply"},
        {"u1unbalance1m", "Value", 1, 3.0, 3.0, {}, {}, 0, 0, "complies"},
        {"ac20sdfreq", "Value", 40, -0.4, 0.3, {}, 5.0, 2, 0, "complies"},
        {"uthd3s", "L1", 1, 5.0, 5.0, 5.0, 0.0, 0, 0, "complies"},
        {"uthd3s", "L2", 1, 8.0, 8.0, 8.0, 0.0, 0, 0, "complies"},
        {"harm_u_L1_3s", "H3", 1, 4.0, 4.0, 4.0, 0.0, 0, 0, "complies"},
        {"harm_u_L1_3s", "H9", 1, 1.5, 1.5, 1.5, 0.0, 0, 0, "complies"},
        {"harm_u_L3_3s", "H5", 1, kSqrt41, kSqrt41, kSqrt41, 100.0, 1, 0, "does_not_comply"},
        {"u2unbalance3s", "Value", 20, 0.125, 3.0, 2.0, 5.0, 1, 0, "complies"},
    };
}

// The six verdicts of the complete week, in the registry's order.
const std::vector<std::pair<std::string, std::string>> kVerdicts{
    {"voltage_deviation", "does_not_comply"}, {"frequency_deviation", "complies"},
    {"distortion", "complies"},               {"harmonics", "does_not_comply"},
    {"unbalance_negative", "complies"},       {"unbalance_zero", "no_data"}};

// Harmonic orders 2..40 at 0,4 kV: the 95 % limit and the 100 % one (1,5
// times it, as a decimal).
const std::pair<double, double> kHarmonicLimits[39] = {
    {2.0, 3.0},  {5.0, 7.5},  {1.0, 1.5},  {6.0, 9.0},  {0.5, 0.75}, {5.0, 7.5},  {0.5, 0.75}, {1.5, 2.25},
    {0.5, 0.75}, {3.5, 5.25}, {0.2, 0.3},  {3.0, 4.5},  {0.2, 0.3},  {0.3, 0.45}, {0.2, 0.3},  {2.0, 3.0},
    {0.2, 0.3},  {1.5, 2.25}, {0.2, 0.3},  {0.2, 0.3},  {0.2, 0.3},  {1.5, 2.25}, {0.2, 0.3},  {1.5, 2.25},
    {0.2, 0.3},  {0.2, 0.3},  {0.2, 0.3},  {1.5, 2.25}, {0.2, 0.3},  {1.5, 2.25}, {0.2, 0.3},  {0.2, 0.3},
    {0.2, 0.3},  {1.5, 2.25}, {0.2, 0.3},  {1.5, 2.25}, {0.2, 0.3},  {0.2, 0.3},  {0.2, 0.3}};

// One series of the report as the three files name and judge it.
struct Series {
    std::string quantity, table, column;
    std::optional<std::string> phase;  // "L1".."L3"
    std::optional<int> order;
    std::optional<double> limit95;
    double limit100;
    bool twoSided;
    const char* pageLabel;   // the week page's label, markup removed (UTF-8)
    const char* sheetLabel;  // the workbook's
};

// Every series in the report's order: the registry's quantities, a phase
// series by its phases, a harmonic table by its orders.
std::vector<Series> AllSeries()
{
    std::vector<Series> all{
        {"voltage_deviation", "du1m", "L1", "L1", {}, {}, 10, true, "&delta;U, фаза A (L1) 1 мин", "δU, фаза A (L1), 1 мин"},
        {"voltage_deviation", "du1m", "L2", "L2", {}, {}, 10, true, "&delta;U, фаза B (L2) 1 мин", "δU, фаза B (L2), 1 мин"},
        {"voltage_deviation", "du1m", "L3", "L3", {}, {}, 10, true, "&delta;U, фаза C (L3) 1 мин", "δU, фаза C (L3), 1 мин"},
        {"voltage_deviation", "u1unbalance1m", "Value", {}, {}, {}, 10, true, "&delta;U, однофазный ряд 1 мин",
         "δU, однофазный ряд, 1 мин"},
        {"frequency_deviation", "ac20sdfreq", "Value", {}, {}, 0.2, 0.4, true, "&Delta;f 20 с", "Δf, 20 с"},
        {"distortion", "uthd3s", "L1", "L1", {}, 8.0, 12.0, false, "KU, фаза A (L1) 3 с", "KU, фаза A (L1), 3 с"},
        {"distortion", "uthd3s", "L2", "L2", {}, 8.0, 12.0, false, "KU, фаза B (L2) 3 с", "KU, фаза B (L2), 3 с"},
        {"distortion", "uthd3s", "L3", "L3", {}, 8.0, 12.0, false, "KU, фаза C (L3) 3 с", "KU, фаза C (L3), 3 с"},
    };
    for (int phase = 1; phase <= 3; ++phase)
        for (int n = 2; n <= 40; ++n)
            all.push_back({"harmonics", "harm_u_L" + std::to_string(phase) + "_3s", "H" + std::to_string(n),
                           "L" + std::to_string(phase), n, kHarmonicLimits[n - 2].first,
                           kHarmonicLimits[n - 2].second, false, nullptr, nullptr});
    all.push_back({"unbalance_negative", "u2unbalance3s", "Value", {}, {}, 2.0, 4.0, false, "K2U 3 с", "K2U, 3 с"});
    all.push_back({"unbalance_zero", "u0unbalance3s", "Value", {}, {}, 2.0, 4.0, false, "K0U 3 с", "K0U, 3 с"});
    return all;
}

// The figures of a series: those worked out above, or none.
Figures FiguresOf(const Series& s, int days)
{
    for (const Figures& f : SeriesWithValues(days))
        if (s.table == f.table && s.column == f.column)
            return f;
    return {s.table.c_str(), s.column.c_str(), 0, {}, {}, {}, {}, 0, 0, "no_data"};
}

// The verdict a series or quantity is given in a period of `days` days.
std::string Judged(const std::string& verdict, int days) { return days == 7 ? verdict : "not_evaluated"; }

// ---- running and reading --------------------------------------------------------------------

// A template the build put beside the program.
std::string Shipped(const std::string& name)
{
    const std::string& program = BuildProgram();
    return ReadFile(program.substr(0, program.rfind('/') + 1) + name);
}

// A workspace whose program has the shipped templates beside it, Week.htm among them.
struct ShippedWorkspace : Workspace {
    ShippedWorkspace() : Workspace(Shipped("tbl1.htm"), Shipped("Title.htm"))
    {
        WriteFile(dir / "bin/Week.htm", Shipped("Week.htm"));
    }
};

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

// The validator's output and exit status for report.json against its schema.
std::string SchemaCheck(const std::string& document)
{
    return CommandOutput("/usr/bin/python3 '" PQ_SOURCE_DIR "/tests/run/validate_json.py' '" PQ_SOURCE_DIR
                         "/docs/report-result.schema.json' '" +
                         document + "' 2>&1; echo \"exit $?\"");
}

// The rows of the week page's table of class `table`: whether a row (or a
// cell) is marked as failing, and the cells' texts without markup.
struct PageRow {
    bool fail;
    std::vector<std::string> cells;
    std::vector<bool> failCells;
};
std::vector<PageRow> TableRows(const std::string& page, const std::string& table)
{
    const size_t at = page.find("<table class=\"grid " + table + "\">");
    if (at == std::string::npos)
        return {};
    const size_t body = page.find("<tbody>", at);
    const std::string text = page.substr(body, page.find("</table>", at) - body);
    static const std::regex row(R"(<tr([^>]*)>(.*?)</tr>)"), cell(R"(<td([^>]*)>(.*?)</td>)"), tag("<[^>]*>");
    std::vector<PageRow> rows;
    for (auto r = std::sregex_iterator(text.begin(), text.end(), row); r != std::sregex_iterator(); ++r) {
        PageRow p{(*r)[1].str().find("fail") != std::string::npos, {}, {}};
        const std::string cells = (*r)[2];
        for (auto c = std::sregex_iterator(cells.begin(), cells.end(), cell); c != std::sregex_iterator(); ++c) {
            p.cells.push_back(std::regex_replace((*c)[2].str(), tag, ""));
            p.failCells.push_back((*c)[1].str().find("fail") != std::string::npos);
        }
        rows.push_back(p);
    }
    return rows;
}

// A value as the week page writes it: "%04.2f" with a decimal comma, a dash for none.
std::string PageValue(const std::optional<double>& v) { return v ? Number("%04.2f", *v) : "&mdash;"; }

// A limit as the page writes it: one decimal where that is exact, else two.
std::string PageLimit(double limit)
{
    const std::string one = Number("%.1f", limit);
    return Number("%.2f", limit) == one + "0" ? one : Number("%.2f", limit);
}

std::string PageMark(const std::string& verdict)
{
    if (verdict == "complies")
        return "+";
    return Cp1251(verdict == "does_not_comply" ? "НЕТ" : verdict == "no_data" ? "н/д" : "н/о");
}

std::string VerdictText(const std::string& verdict)
{
    if (verdict == "complies")
        return "соответствует";
    if (verdict == "does_not_comply")
        return "не соответствует";
    return verdict == "no_data" ? "нет данных" : "не оценено: интервал наблюдения менее недели";
}

// ---- the workbook through LibreOffice, as tests/run/test_workbook.cpp reads it ----------

struct Cell {
    std::string text;
    bool quoted = false;  // a text cell; a number is not quoted
};
using Rows = std::vector<std::vector<Cell>>;

Rows ParseCsv(const std::string& csv)
{
    Rows rows;
    std::vector<Cell> row;
    Cell cell;
    bool inQuotes = false;
    for (size_t i = 0; i < csv.size(); ++i) {
        const char c = csv[i];
        if (inQuotes) {
            if (c != '"')
                cell.text += c;
            else if (i + 1 < csv.size() && csv[i + 1] == '"')
                cell.text += csv[++i];
            else
                inQuotes = false;
        } else if (c == '"') {
            inQuotes = cell.quoted = true;
        } else if (c == ';' || c == '\n') {
            row.push_back(cell);
            cell = Cell();
            if (c == '\n') {
                rows.push_back(row);
                row.clear();
            }
        } else if (c != '\r') {
            cell.text += c;
        }
    }
    if (!row.empty() || !cell.text.empty() || cell.quoted) {
        row.push_back(cell);
        rows.push_back(row);
    }
    return rows;
}

// Every sheet by name as LibreOffice Calc under a Russian locale displays it.
std::map<std::string, Rows> SheetsAsShown(const std::string& xlsx, const TempDir& dir)
{
    const std::string profile = dir.Subdir("libreoffice-profile");
    dir.Subdir("libreoffice-profile/user");
    WriteFile(profile + "/user/registrymodifications.xcu",
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
              "<oor:items xmlns:oor=\"http://openoffice.org/2001/registry\" "
              "xmlns:xs=\"http://www.w3.org/2001/XMLSchema\" xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\">\n"
              "<item oor:path=\"/org.openoffice.Setup/L10N\"><prop oor:name=\"ooSetupSystemLocale\" "
              "oor:op=\"fuse\"><value>ru-RU</value></prop></item>\n</oor:items>\n");
    const std::string out = dir.Subdir("csv");
    Launch launch;
    launch.program = "/usr/bin/env";
    launch.args = {"LC_ALL=C.UTF-8",
                   "/usr/bin/soffice",
                   "-env:UserInstallation=file://" + profile,
                   "--headless",
                   "--convert-to",
                   "csv:Text - txt - csv (StarCalc):59,34,76,1,,0,true,true,true,false,false,-1",
                   "--outdir",
                   out,
                   xlsx};
    const Outcome r = RunProgram(launch);
    EXPECT_EQ(r.status, 0) << r.out << r.err;
    const std::string stem = "report-";
    std::map<std::string, Rows> sheets;
    for (const std::string& name : ListDir(out))
        if (name.rfind(stem, 0) == 0 && name.size() > stem.size() + 4)
            sheets[name.substr(stem.size(), name.size() - stem.size() - 4)] = ParseCsv(ReadFile(out + "/" + name));
    return sheets;
}

size_t FindRow(const Rows& rows, const std::string& text, size_t from = 0)
{
    for (size_t i = from; i < rows.size(); ++i)
        if (!rows[i].empty() && rows[i][0].text == text)
            return i;
    return rows.size();
}

Cell At(const Rows& rows, size_t row, size_t col)
{
    return row < rows.size() && col < rows[row].size() ? rows[row][col] : Cell();
}

// The workbook's sheet names in their order.
std::string SheetOrder(const std::string& xlsx)
{
    return CommandOutput("/usr/bin/python3 -c \"import re, sys, zipfile; "
                         "print(', '.join(re.findall(r'<sheet name=\\\"([^\\\"]*)\\\"', "
                         "zipfile.ZipFile(sys.argv[1]).read('xl/workbook.xml').decode())))\" '" +
                         xlsx + "'");
}

// A value as the sheet shows it: two decimals and a decimal comma, an empty cell for none.
std::string SheetValue(const std::optional<double>& v) { return v ? Number("%.2f", *v) : ""; }

std::string SheetMark(const std::string& verdict)
{
    if (verdict == "complies")
        return "+";
    return verdict == "does_not_comply" ? "НЕТ" : verdict == "no_data" ? "н/д" : "н/о";
}

// ---- the checks of one run --------------------------------------------------------------------

// report.json's section against the figures worked out above.
void ExpectDocument(const Json& doc, int days)
{
    EXPECT_EQ(doc.at("format_version"), 2);
    ASSERT_TRUE(doc.contains("gost_32144_2013"));
    const Json& week = doc.at("gost_32144_2013");
    std::vector<std::string> keys;
    for (const auto& item : week.items())
        keys.push_back(item.key());
    EXPECT_EQ(keys, (std::vector<std::string>{"interval_minutes", "observation", "series", "standard", "verdicts"}));
    EXPECT_EQ(week.at("standard"), "ГОСТ 32144-2013");
    EXPECT_EQ(week.at("interval_minutes"), 10);
    EXPECT_EQ(week.at("observation"),
              Json({{"begin", "2011-03-01T00:00:00"},
                    {"end", days == 7 ? "2011-03-08T00:00:00" : "2011-03-07T00:00:00"},
                    {"days", days},
                    {"complete_week", days == 7}}));
    Json verdicts = Json::object();
    for (const auto& [quantity, verdict] : kVerdicts)
        verdicts[quantity] = Judged(verdict, days);
    EXPECT_EQ(week.at("verdicts"), verdicts);

    const std::vector<Series> all = AllSeries();
    const Json& series = week.at("series");
    ASSERT_EQ(series.size(), all.size());
    const auto number = [](const std::optional<double>& v) { return v ? Json(*v) : Json(nullptr); };
    for (size_t i = 0; i < all.size(); ++i) {
        const Series& s = all[i];
        const Figures f = FiguresOf(s, days);
        SCOPED_TRACE(s.table + "." + s.column);
        const Json& e = series.at(i);
        EXPECT_EQ(e.size(), 16u);
        EXPECT_EQ(e.at("quantity"), s.quantity);
        EXPECT_EQ(e.at("table"), s.table);
        EXPECT_EQ(e.at("column"), s.column);
        EXPECT_EQ(e.at("phase"), s.phase ? Json(*s.phase) : Json(nullptr));
        EXPECT_EQ(e.at("order"), s.order ? Json(*s.order) : Json(nullptr));
        EXPECT_EQ(e.at("count"), f.count);
        EXPECT_EQ(e.at("expected"), s.quantity == "frequency_deviation" ? 4320 * days : 144 * days);
        EXPECT_EQ(e.at("limit_95"), number(s.limit95));
        EXPECT_EQ(e.at("limit_100"), s.limit100);
        EXPECT_EQ(e.at("beyond_95"), s.limit95 ? Json(f.beyond95) : Json(nullptr));
        EXPECT_EQ(e.at("beyond_100"), f.beyond100);
        EXPECT_EQ(e.at("share_95"), number(f.share95));
        EXPECT_EQ(e.at("value_95"), number(f.value95));
        // The aggregated values to the last bits where they are exact: the
        // rms of equal values; +1 % and sqrt(41) up to rounding.
        for (const auto& [key, value] : {std::pair{"min", f.minimum}, std::pair{"max", f.maximum}}) {
            if (!value || (*value != 1.0 && *value != kSqrt41)) {
                EXPECT_EQ(e.at(key), number(value)) << key;
            } else {
                ASSERT_TRUE(e.at(key).is_number()) << key;
                EXPECT_DOUBLE_EQ(e.at(key).get<double>(), *value) << key;
            }
        }
        EXPECT_EQ(e.at("verdict"), Judged(f.verdict, days));
    }
}

// week.htm's verdicts, series and harmonic orders.
void ExpectWeekPage(const std::string& page, int days)
{
    EXPECT_NE(page.find(Cp1251("Оценка качества электрической энергии по ГОСТ 32144-2013")), std::string::npos);
    EXPECT_NE(page.find("01.03.2011 00:00"), std::string::npos);
    EXPECT_NE(page.find(days == 7 ? "08.03.2011 00:00" : "07.03.2011 00:00"), std::string::npos);
    EXPECT_NE(page.find(Cp1251("0,4 кВ")), std::string::npos);
    // The note says the frequency's values are the logger's 20-second ones.
    EXPECT_NE(page.find(Cp1251("Отклонение частоты оценено по 20-секундным значениям")), std::string::npos);
    EXPECT_EQ(page.find(Cp1251("Интервал наблюдения менее недели")) != std::string::npos, days != 7);

    // The six verdicts with their clauses and limits.
    const struct {
        const char* label;
        const char* clause;
        const char* normal;
        const char* maximum;
    } rows[] = {
        {"Отклонение напряжения", "4.2.2", "&mdash;", "&plusmn;10,0 %"},
        {"Отклонение частоты", "4.2.1", "&plusmn;0,2 Гц", "&plusmn;0,4 Гц"},
        {"Коэффициент искажения синусоидальности", "4.2.4", "8,0 %", "12,0 %"},
        {"Коэффициенты гармонических составляющих", "4.2.4", "по табл. 2 ГОСТ 32144-2013",
         "1,5 &times; значения за 95 % времени"},
        {"Коэффициент несимметрии по обратной последовательности", "4.2.5", "2,0 %", "4,0 %"},
        {"Коэффициент несимметрии по нулевой последовательности", "4.2.5", "2,0 %", "4,0 %"},
    };
    const std::vector<PageRow> verdicts = TableRows(page, "week-verdicts");
    ASSERT_EQ(verdicts.size(), 6u);
    for (size_t q = 0; q < 6; ++q) {
        SCOPED_TRACE(kVerdicts[q].first);
        const std::string verdict = Judged(kVerdicts[q].second, days);
        ASSERT_EQ(verdicts[q].cells.size(), 6u);
        EXPECT_EQ(verdicts[q].cells[0], std::to_string(q + 1));
        EXPECT_EQ(verdicts[q].cells[1].rfind(Cp1251(rows[q].label), 0), 0u) << verdicts[q].cells[1];
        EXPECT_EQ(verdicts[q].cells[2], rows[q].clause);
        EXPECT_EQ(verdicts[q].cells[3], Cp1251(rows[q].normal));
        EXPECT_EQ(verdicts[q].cells[4], Cp1251(rows[q].maximum));
        EXPECT_EQ(verdicts[q].cells[5], Cp1251(VerdictText(verdict)));
        EXPECT_EQ(verdicts[q].fail, verdict == "does_not_comply");
    }

    // Every series but the harmonic orders, in the report's order.
    const std::vector<PageRow> seriesRows = TableRows(page, "week-series");
    std::vector<Series> plain;
    for (const Series& s : AllSeries())
        if (!s.order)
            plain.push_back(s);
    ASSERT_EQ(seriesRows.size(), plain.size());
    for (size_t i = 0; i < plain.size(); ++i) {
        const Series& s = plain[i];
        const Figures f = FiguresOf(s, days);
        SCOPED_TRACE(s.table + "." + s.column);
        const std::string unit = s.quantity == "frequency_deviation" ? Cp1251(" Гц") : " %";
        const std::string sign = s.twoSided ? "&plusmn;" : "";
        const std::string verdict = Judged(f.verdict, days);
        const std::vector<std::string> expected{
            Cp1251(s.pageLabel),
            std::to_string(f.count) + " / " + std::to_string(s.quantity == "frequency_deviation" ? 4320 * days
                                                                                                 : 144 * days),
            PageValue(f.minimum),
            PageValue(f.maximum),
            PageValue(f.value95),
            s.limit95 ? sign + PageLimit(*s.limit95) + unit : "&mdash;",
            PageValue(f.share95),
            sign + PageLimit(s.limit100) + unit,
            f.count ? std::to_string(f.beyond100) : "&mdash;",
            PageMark(verdict)};
        EXPECT_EQ(seriesRows[i].cells, expected);
        EXPECT_EQ(seriesRows[i].fail, verdict == "does_not_comply");
    }

    // Orders 2..40, the three phases side by side: the 95 % value, the
    // share, the limit and the mark.
    const std::vector<PageRow> orders = TableRows(page, "week-harmonics");
    std::vector<PageRow> body;
    for (const PageRow& r : orders)
        if (!r.cells.empty())
            body.push_back(r);
    ASSERT_EQ(body.size(), 39u);
    for (int n = 2; n <= 40; ++n) {
        SCOPED_TRACE("order " + std::to_string(n));
        const PageRow& row = body[static_cast<size_t>(n - 2)];
        std::vector<std::string> expected{std::to_string(n)};
        std::vector<bool> failing{false};
        for (int phase = 1; phase <= 3; ++phase) {
            Series s{};
            s.table = "harm_u_L" + std::to_string(phase) + "_3s";
            s.column = "H" + std::to_string(n);
            const Figures f = FiguresOf(s, days);
            const std::string verdict = Judged(f.verdict, days);
            expected.insert(expected.end(), {PageValue(f.value95), PageValue(f.share95),
                                             PageLimit(kHarmonicLimits[n - 2].first), PageMark(verdict)});
            const bool fail = verdict == "does_not_comply";
            failing.insert(failing.end(), {fail, fail, false, fail});
        }
        EXPECT_EQ(row.cells, expected);
        EXPECT_EQ(row.failCells, failing);
    }
}

// The workbook's sheet «ГОСТ 32144» as LibreOffice shows it.
void ExpectWorkbook(const std::string& xlsx, const TempDir& dir, int days)
{
    std::string order = "Итоги, ГОСТ 32144";
    for (int d = 1; d <= days; ++d)
        order += ", Сутки " + std::to_string(d);
    EXPECT_EQ(SheetOrder(xlsx), order + ", Данные\n");
    const std::map<std::string, Rows> sheets = SheetsAsShown(xlsx, dir);
    ASSERT_TRUE(sheets.count("ГОСТ 32144"));
    const Rows& sheet = sheets.at("ГОСТ 32144");
    EXPECT_EQ(At(sheet, 0, 0).text, "Оценка качества электрической энергии по ГОСТ 32144-2013");
    const size_t period = FindRow(sheet, "Интервал наблюдения");
    EXPECT_EQ(At(sheet, period, 1).text,
              std::string("с 01.03.2011 00:00 до ") + (days == 7 ? "08" : "07") + ".03.2011 00:00");
    EXPECT_EQ(At(sheet, FindRow(sheet, "Число суток"), 1).text, std::to_string(days));
    EXPECT_EQ(At(sheet, FindRow(sheet, "Класс напряжения сети"), 1).text, "0,4 кВ");
    EXPECT_EQ(FindRow(sheet, "Интервал наблюдения менее недели: соответствие не оценивается") < sheet.size(),
              days != 7);

    const char* const names[6] = {"Установившееся отклонение напряжения δUу", "Отклонение частоты Δf",
                                  "Коэффициент искажения синусоидальности кривой напряжения KU",
                                  "Коэффициент n-ой гармонической составляющей напряжения KU(n)",
                                  "Коэффициент несимметрии напряжений по обратной последовательности K2U",
                                  "Коэффициент несимметрии напряжений по нулевой последовательности K0U"};
    const size_t verdicts = FindRow(sheet, "1. Оценка соответствия");
    ASSERT_LT(verdicts, sheet.size());
    for (size_t q = 0; q < 6; ++q) {
        EXPECT_EQ(At(sheet, verdicts + 2 + q, 0).text, names[q]);
        EXPECT_EQ(At(sheet, verdicts + 2 + q, 1).text, VerdictText(Judged(kVerdicts[q].second, days))) << names[q];
    }

    const size_t seriesAt = FindRow(sheet, "2. Ряды измерений (10-минутные значения; частота: 20-секундные)");
    ASSERT_LT(seriesAt, sheet.size());
    size_t row = seriesAt + 2;
    for (const Series& s : AllSeries()) {
        if (s.order)
            continue;
        const Figures f = FiguresOf(s, days);
        SCOPED_TRACE(s.table + "." + s.column);
        std::vector<std::string> cells;
        for (size_t c = 0; c < 11; ++c)
            cells.push_back(At(sheet, row, c).text);
        EXPECT_EQ(cells, (std::vector<std::string>{
                             s.sheetLabel, std::to_string(f.count),
                             std::to_string(s.quantity == "frequency_deviation" ? 4320 * days : 144 * days),
                             SheetValue(f.minimum), SheetValue(f.maximum), SheetValue(f.value95),
                             SheetValue(s.limit95), SheetValue(f.share95), SheetValue(s.limit100),
                             std::to_string(f.beyond100), SheetMark(Judged(f.verdict, days))}));
        for (size_t c = 1; c < 10; ++c)
            EXPECT_FALSE(At(sheet, row, c).quoted) << "column " << c << ": a text, not a number";
        ++row;
    }

    const size_t harmonics = FindRow(sheet, "3. Коэффициенты гармонических составляющих напряжения KU(n), %");
    ASSERT_LT(harmonics, sheet.size());
    for (int n = 2; n <= 40; ++n) {
        SCOPED_TRACE("order " + std::to_string(n));
        const size_t at = harmonics + 2 + static_cast<size_t>(n - 2);
        std::vector<std::string> expected{std::to_string(n)};
        for (int phase = 1; phase <= 3; ++phase) {
            Series s{};
            s.table = "harm_u_L" + std::to_string(phase) + "_3s";
            s.column = "H" + std::to_string(n);
            const Figures f = FiguresOf(s, days);
            expected.insert(expected.end(), {SheetValue(f.value95), SheetValue(f.share95),
                                             SheetValue(kHarmonicLimits[n - 2].first),
                                             SheetMark(Judged(f.verdict, days))});
        }
        std::vector<std::string> cells;
        for (size_t c = 0; c < 13; ++c)
            cells.push_back(At(sheet, at, c).text);
        EXPECT_EQ(cells, expected);
    }
}

// ---- tests ------------------------------------------------------------------------------------

TEST(WeekEvaluation, TheWeeksFiguresOnThePageInTheDocumentAndInTheWorkbook)
{
    const ShippedWorkspace w;
    WriteWeek(w.db);
    // An earlier week page, and the temporary file of one that an ended run left.
    WriteFile(w.out + "week.htm", "an earlier week page");
    WriteFile(w.out + "week.htm.Ab12Cd", "left");
    const Outcome r = RunProgram(
        w.At({w.Write(w.settings(7).Set("Evaluate", "32144-2013").Set("Export", "json xlsx"))}));
    ASSERT_EQ(r.out, "ok!\n") << r.Log();
    EXPECT_TRUE(r.HasLine("Removed " + w.out + "week.htm.Ab12Cd, the temporary file of a page that an ended run left."))
        << r.Log();
    EXPECT_EQ(ListDir(w.out), (std::vector<std::string>{"Page0.htm", "day_1.htm", "day_2.htm", "day_3.htm",
                                                        "day_4.htm", "day_5.htm", "day_6.htm", "day_7.htm",
                                                        "report.json", "report.xlsx", "week.htm"}));
    EXPECT_EQ(SchemaCheck(w.out + "report.json"), "exit 0\n");
    const Json doc = Json::parse(ReadFile(w.out + "report.json"));
    ExpectDocument(doc, 7);
    const std::string weekTemplate = w.dir / "bin/Week.htm";
    EXPECT_EQ(doc.at("inputs").at("week_template"),
              Json({{"path", weekTemplate},
                    {"bytes", ReadFile(weekTemplate).size()},
                    {"sha256", CommandOutput("sha256sum '" + weekTemplate + "'").substr(0, 64)}}));
    ExpectWeekPage(ReadFile(w.out + "week.htm"), 7);
    ExpectWorkbook(w.out + "report.xlsx", w.dir, 7);
}

TEST(WeekEvaluation, ASixDayPeriodHasEveryFigureAndNoVerdict)
{
    const ShippedWorkspace w;
    WriteWeek(w.db);
    const Outcome r = RunProgram(
        w.At({w.Write(w.settings(6).Set("Evaluate", "32144-2013").Set("Export", "json xlsx"))}));
    ASSERT_EQ(r.out, "ok!\n") << r.Log();
    EXPECT_EQ(SchemaCheck(w.out + "report.json"), "exit 0\n");
    ExpectDocument(Json::parse(ReadFile(w.out + "report.json")), 6);
    ExpectWeekPage(ReadFile(w.out + "week.htm"), 6);
    ExpectWorkbook(w.out + "report.xlsx", w.dir, 6);
}

// The rows the day charts read feed the evaluation as the reads of its own
// do: a day template with charts and one without give the same figures.
TEST(WeekEvaluation, TheChartsRowsAndTheEvaluationsOwnReadsGiveTheSameFigures)
{
    std::vector<Json> sections;
    for (const char* blocks : {"<!--pq:charts-->", ""}) {
        SCOPED_TRACE(*blocks ? "with charts" : "without charts");
        const Workspace w(MarkedDayTemplate(180) + blocks, MarkedTitleTemplate(60));
        WriteFile(w.dir / "bin/Week.htm", Shipped("Week.htm"));
        WriteWeek(w.db);
        const Outcome r =
            RunProgram(w.At({w.Write(w.settings(7).Set("Evaluate", "32144-2013").Set("Export", "json"))}));
        ASSERT_EQ(r.out, "ok!\n") << r.Log();
        sections.push_back(Json::parse(ReadFile(w.out + "report.json")).at("gost_32144_2013"));
        ExpectDocument(Json::parse(ReadFile(w.out + "report.json")), 7);
    }
    EXPECT_EQ(sections[0], sections[1]);
}

// Without Evaluate the run writes what it wrote before: no week.htm,
// report.json of format version 1 without the section or the week template,
// a workbook without the sheet; a Week.htm beside the program is neither read
// nor named in the provenance. With Evaluate the day pages are the same, byte
// for byte, and report.json only gains the evaluation.
TEST(WeekEvaluation, WithoutEvaluateNothingOfItIsReadOrWritten)
{
    const Workspace w(MarkedDayTemplate(180) + "<!--pq:charts--><!--pq:completeness-->",
                      MarkedTitleTemplate(60) + "<!--pq:verdicts-by-day--><!--pq:completeness--><!--pq:provenance-->");
    WriteWeek(w.db);
    const std::string plain = w.Write(w.settings(7).Set("Export", "json xlsx"));
    const std::vector<std::string> pages{"Page0.htm", "day_1.htm", "day_2.htm", "day_3.htm",
                                         "day_4.htm", "day_5.htm", "day_6.htm", "day_7.htm"};
    // Each page and report.json of a run.
    const auto run = [&](const std::string& settings) {
        const Outcome r = RunProgram(w.At({settings}));
        EXPECT_EQ(r.out, "ok!\n") << r.Log();
        std::map<std::string, std::string> files;
        for (const std::string& page : pages)
            files[page] = ReadFile(w.out + page);
        files["report.json"] = ReadFile(w.out + "report.json");
        return files;
    };

    const std::map<std::string, std::string> before = run(plain);
    std::vector<std::string> names = pages;
    names.insert(names.end(), {"report.json", "report.xlsx"});
    EXPECT_EQ(ListDir(w.out), names);
    EXPECT_EQ(SchemaCheck(w.out + "report.json"), "exit 0\n");
    Json document = Json::parse(before.at("report.json"));
    EXPECT_EQ(document.at("format_version"), 2);
    EXPECT_FALSE(document.contains("gost_32144_2013"));
    EXPECT_FALSE(document.at("inputs").contains("week_template"));
    EXPECT_EQ(SheetOrder(w.out + "report.xlsx"),
              "Итоги, Сутки 1, Сутки 2, Сутки 3, Сутки 4, Сутки 5, Сутки 6, Сутки 7, Данные\n");

    // A week template beside the program changes nothing.
    WriteFile(w.dir / "bin/Week.htm", Shipped("Week.htm"));
    EXPECT_TRUE(run(plain) == before);
    EXPECT_EQ(ListDir(w.out), names);

    const std::map<std::string, std::string> evaluated =
        run(w.Write(w.settings(7).Set("Export", "json xlsx").Set("Evaluate", "32144-2013"), "evaluated.xml"));
    for (const std::string& page : pages) {
        if (page != "Page0.htm") {  // its provenance names the week template
            EXPECT_TRUE(evaluated.at(page) == before.at(page)) << page << " differs";
        }
    }
    Json added = Json::parse(evaluated.at("report.json"));
    EXPECT_EQ(added.at("format_version"), 2);
    added.erase("gost_32144_2013");
    added.at("inputs").erase("week_template");
    // The settings documents differ by their Evaluate.
    for (Json* d : {&document, &added}) {
        d->at("inputs").erase("settings");
        d->at("settings_texts").erase("Evaluate");
    }
    EXPECT_EQ(added, document);
}

// An unknown Evaluate word and a Week.htm that cannot be read refuse the run
// before the database is opened (here there is none: the database's error
// would come first otherwise): one error line naming it, exit status 1,
// nothing written. A run without Evaluate does not read Week.htm at all.
TEST(WeekEvaluation, RefusedBeforeTheDatabase)
{
    const struct {
        const char* name;
        const char* evaluate;
        const char* week;      // Week.htm beside the program: "file", "none" or "directory"
        const char* settings;  // where the settings document is, under the workspace
        const char* line;      // the error line, or its start (BIN/, OUT/: the program's and the pages' folders)
        bool settingsProblem;
    } cases[] = {
        {"an unknown word", "x", "file", "settings.xml",
         "Error: Evaluate names \"x\", which is no standard the report evaluates (known: 32144-2013).", true},
        {"a known word and an unknown one", "32144-2013, 13109-97", "file", "settings.xml",
         "Error: Evaluate names \"13109-97\", which is no standard the report evaluates (known: 32144-2013).", true},
        {"the word with another year", "32144-2014", "none", "settings.xml",
         "Error: Evaluate names \"32144-2014\", which is no standard the report evaluates (known: 32144-2013).",
         true},
        {"no Week.htm", "32144-2013", "none", "settings.xml",
         "Error: Cannot read the template BIN/Week.htm: No such file or directory", false},
        {"a directory for Week.htm", "32144-2013", "directory", "settings.xml",
         "Error: Cannot read the template BIN/Week.htm: ", false},
        {"week.htm over the settings", "32144-2013", "file", "out/week.htm",
         "Error: The page OUT/week.htm would overwrite the settings document OUT/week.htm: no page is written.",
         false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Workspace w;
        if (std::string(c.week) == "file")
            WriteFile(w.dir / "bin/Week.htm", Shipped("Week.htm"));
        else if (std::string(c.week) == "directory")
            w.dir.Subdir("bin/Week.htm");
        const std::string db = w.dir / "absent.db";
        const std::string settings =
            w.Write(w.settings(7).Set("DB", db).Set("Evaluate", c.evaluate), c.settings);
        const std::string settingsText = ReadFile(settings);
        const Outcome r = RunProgram(w.At({settings}));
        EXPECT_EQ(r.status, 1) << r.Log();
        EXPECT_EQ(r.out, "");
        std::string line = c.line;
        for (const auto& [mark, dir] : {std::pair{"BIN/", w.dir / "bin/"}, std::pair{"OUT/", w.out}})
            for (size_t at = line.find(mark); at != std::string::npos; at = line.find(mark))
                line.replace(at, 4, dir);
        const std::optional<std::string> error = r.LineStartingWith("Error: ");
        ASSERT_TRUE(error) << r.Log();
        EXPECT_EQ(error->rfind(line, 0), 0u) << *error;
        if (line.back() != ' ') {
            EXPECT_EQ(*error, line);
        }
        EXPECT_EQ(r.HasLine("Ini file problem!"), c.settingsProblem) << r.Log();
        EXPECT_FALSE(r.LineStartingWith("InitDB")) << r.Log();
        // Nothing written: the pages' folder holds at most the settings put there, as they were.
        const bool settingsInOut = std::string(c.settings).rfind("out/", 0) == 0;
        EXPECT_EQ(ListDir(w.out), settingsInOut ? std::vector<std::string>{"week.htm"} : std::vector<std::string>{});
        EXPECT_EQ(ReadFile(settings), settingsText);
        EXPECT_FALSE(Exists(db));
    }
    // Without Evaluate neither a missing Week.htm nor a directory in its
    // place matters: the run goes on to the database (which is not there).
    for (const bool directory : {false, true}) {
        const Workspace w;
        if (directory)
            w.dir.Subdir("bin/Week.htm");
        const Outcome r = RunProgram(w.At({w.Write(w.settings(7).Set("DB", w.dir / "absent.db"))}));
        EXPECT_TRUE(r.LineStartingWith("InitDB")) << r.Log();
        EXPECT_FALSE(r.LineStartingWith("Error: Cannot read the template")) << r.Log();
    }
}

}  // namespace
