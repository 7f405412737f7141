// The workbook report.xlsx: a real spreadsheet program (LibreOffice Calc,
// headless) opens it; the day sheets show the pages' numbers as numeric
// cells; «Данные» holds report.json's values row by row; «Итоги» shows the
// title page's verdicts, extremes and blocks; a workbook that cannot be
// written, or a run ended by a signal while writing it, leaves no workbook
// of this run and no temporary file.
#include <algorithm>
#include <poll.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <sqlite3.h>

#include "support.h"

using namespace pqrun;
using Json = nlohmann::ordered_json;  // report.json in its own order

namespace {

// ---- reading the workbook through LibreOffice ------------------------------------

// One cell as LibreOffice writes it to CSV: the text it displays, and
// whether it is a text cell (every text cell is quoted; a number is not).
struct Cell {
    std::string text;
    bool quoted = false;
};
using Rows = std::vector<std::vector<Cell>>;

// CSV with ';' between fields and '"' around texts ("" inside one).
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

// LibreOffice's own setting of its locale: Russian, as an engineer's
// spreadsheet there is set, so that it displays numbers with a decimal comma
// whatever the environment's locale (the C locale would show a point).
const char* const kRussianProfile =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<oor:items xmlns:oor=\"http://openoffice.org/2001/registry\" xmlns:xs=\"http://www.w3.org/2001/XMLSchema\" "
    "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\">\n"
    "<item oor:path=\"/org.openoffice.Setup/L10N\"><prop oor:name=\"ooSetupSystemLocale\" oor:op=\"fuse\">"
    "<value>ru-RU</value></prop></item>\n"
    "</oor:items>\n";

// The CSV export: ';' between fields, '"' around texts, UTF-8, every text
// cell quoted, cell contents as shown (the number format applied), every
// sheet to its own file.
const char* const kCsvFilter = "csv:Text - txt - csv (StarCalc):59,34,76,1,,0,true,true,true,false,false,-1";

// Every sheet of the workbook by name, as LibreOffice Calc under a Russian
// locale displays it. One conversion, with a profile of its own, so that
// tests running at the same time do not share one.
std::map<std::string, Rows> SheetsAsShown(const std::string& xlsx, const TempDir& dir)
{
    const std::string profile = dir.Subdir("libreoffice-profile");
    dir.Subdir("libreoffice-profile/user");
    WriteFile(profile + "/user/registrymodifications.xcu", kRussianProfile);
    const std::string out = dir.Subdir("csv");
    Launch launch;
    // File names carry the sheet names, which LibreOffice writes as UTF-8
    // only under a UTF-8 locale; the caller's environment may have none.
    launch.program = "/usr/bin/env";
    launch.args = {"LC_ALL=C.UTF-8", "/usr/bin/soffice", "-env:UserInstallation=file://" + profile,
                   "--headless", "--convert-to", kCsvFilter, "--outdir", out, xlsx};
    const Outcome r = RunProgram(launch);
    EXPECT_EQ(r.status, 0) << r.out << r.err;
    // report.xlsx gives report-<sheet>.csv.
    const std::string stem = xlsx.substr(xlsx.rfind('/') + 1, xlsx.size() - xlsx.rfind('/') - 6) + "-";
    std::map<std::string, Rows> sheets;
    for (const std::string& name : ListDir(out))
        if (name.rfind(stem, 0) == 0 && name.size() > stem.size() + 4)
            sheets[name.substr(stem.size(), name.size() - stem.size() - 4)] = ParseCsv(ReadFile(out + "/" + name));
    EXPECT_FALSE(sheets.empty()) << r.out << r.err;
    return sheets;
}

// The first row at or after `from` whose first cell reads `text`; rows.size() when none does.
size_t FindRow(const Rows& rows, const std::string& text, size_t from = 0)
{
    for (size_t i = from; i < rows.size(); ++i)
        if (!rows[i].empty() && rows[i][0].text == text)
            return i;
    return rows.size();
}

// Cell `col` of row `row`; an empty cell where the row is shorter.
Cell At(const Rows& rows, size_t row, size_t col)
{
    return row < rows.size() && col < rows[row].size() ? rows[row][col] : Cell();
}

std::string Trimmed(const std::string& s)
{
    const size_t first = s.find_first_not_of(' ');
    return first == std::string::npos ? std::string() : s.substr(first);
}

// ---- what the pages show, written here from their meaning ---------------------------

const char* const kDayBlocks = "<!--pq:completeness-->";
const char* const kTitleBlocks = "<!--pq:verdicts-by-day--><!--pq:completeness--><!--pq:provenance-->";

// A day page's statistic as a day sheet shows it, in run order: the
// section it stands under, its row's label, the page entries its cells
// hold from column B on, and the limits that follow them on the sheet (the
// page names those in the table's heading).
struct DayRow {
    const char* section;
    const char* label;
    int base;     // the first page entry
    int entries;  // page entries, one per cell
    const char* normal;
    const char* maximum;
};
const char* const kVoltage = "1. Установившееся отклонение напряжения δUу, %";
const char* const kMaxLoad = "1.1. Режим наибольших нагрузок";
const char* const kMinLoad = "1.2. Режим наименьших нагрузок";
const char* const kWholeDay = "1.3. За сутки (оба режима)";
const char* const kDistortion = "2. Коэффициент искажения синусоидальности кривой напряжения KU, %";
const char* const kUnbalance = "3. Несимметрия напряжений, %";
const char* const kFrequency = "4. Отклонение частоты Δf, Гц";
const DayRow kDayRows[] = {
    {kMaxLoad, "Фаза A (L1)", 11, 8, "5,00", "10,00"},
    {kMaxLoad, "Фаза B (L2)", 19, 8, "5,00", "10,00"},
    {kMaxLoad, "Фаза C (L3)", 27, 8, "5,00", "10,00"},
    {kMinLoad, "Фаза A (L1)", 43, 8, "5,00", "10,00"},
    {kMinLoad, "Фаза B (L2)", 51, 8, "5,00", "10,00"},
    {kMinLoad, "Фаза C (L3)", 59, 8, "5,00", "10,00"},
    {kWholeDay, "Фаза A (L1)", 75, 8, "5,00", "10,00"},
    {kWholeDay, "Фаза B (L2)", 83, 8, "5,00", "10,00"},
    {kWholeDay, "Фаза C (L3)", 91, 8, "5,00", "10,00"},
    {kMaxLoad, "U1 (прямая последовательность)", 35, 8, "5,00", "10,00"},
    {kMinLoad, "U1 (прямая последовательность)", 67, 8, "5,00", "10,00"},
    {kWholeDay, "U1 (прямая последовательность)", 99, 8, "5,00", "10,00"},
    {kDistortion, "Фаза A (L1)", 107, 6, nullptr, nullptr},
    {kDistortion, "Фаза B (L2)", 113, 6, nullptr, nullptr},
    {kDistortion, "Фаза C (L3)", 119, 6, nullptr, nullptr},
    {kUnbalance, "K0U — по нулевой последовательности", 125, 4, "2,00", "4,00"},
    {kUnbalance, "K2U — по обратной последовательности", 129, 4, "2,00", "4,00"},
    {kFrequency, "Частота", 133, 8, "0,20", "0,40"},
};
// The harmonic tables: order 2 at entries base.., the others in the numbered rows.
const struct {
    const char* section;
    int base;
} kHarmonicTables[] = {{"5.1. Фаза A (L1)", 141}, {"5.2. Фаза B (L2)", 153}, {"5.3. Фаза C (L3)", 165}};

// ---- what report.json's words read as in «Данные» --------------------------------

const std::map<std::string, std::string> kQuantityNames{
    {"voltage_deviation", "Установившееся отклонение напряжения δUу"},
    {"frequency_deviation", "Отклонение частоты Δf"},
    {"distortion", "Коэффициент искажения синусоидальности кривой напряжения KU"},
    {"harmonics", "Коэффициент n-ой гармонической составляющей напряжения KU(n)"},
    {"unbalance_negative", "Коэффициент несимметрии напряжений по обратной последовательности K2U"},
    {"unbalance_zero", "Коэффициент несимметрии напряжений по нулевой последовательности K0U"},
};
const std::map<std::string, std::string> kRegimeNames{
    {"max_load", "наибольших нагрузок"}, {"min_load", "наименьших нагрузок"}, {"day", "сутки (оба режима)"}};
const std::map<std::string, std::string> kVerdictNames{
    {"complies", "соответствует"}, {"does_not_comply", "не соответствует"}, {"no_data", "нет данных"}};
const std::map<std::string, std::string> kValueNames{
    {"lower_95", "нижнее значение, 95 %"},
    {"upper_95", "верхнее значение, 95 %"},
    {"value_95", "значение, 95 %"},
    {"min", "наименьшее значение"},
    {"max", "наибольшее значение"},
    {"share_below_normal", "T1: доля ниже нормально допустимого"},
    {"share_above_normal", "T1: доля выше нормально допустимого"},
    {"share_below_max", "T2: доля ниже предельно допустимого"},
    {"share_above_max", "T2: доля выше предельно допустимого"},
};
// The keys of a statistic (or an order) that are not values.
bool IsValueKey(const std::string& key) { return kValueNames.count(key) > 0; }

// A number as «Данные» displays it: two to six decimals, decimal comma.
std::string DataText(double value)
{
    std::string text = Number("%.6f", value);
    const size_t comma = text.find(',');
    while (text.size() > comma + 3 && text.back() == '0')
        text.pop_back();
    return text;
}

// The limit a value of report.json is judged against: the normal bound for
// a 95 % value, the maximum for an extreme, the lower one for a lower value;
// none for a share.
std::optional<double> LimitOf(const std::string& key, const Json& limits)
{
    const Json& normal = limits.at("normal");
    const Json& maximum = limits.at("max");
    const bool twoSided = normal.is_array();
    if (key == "lower_95")
        return normal.at(0).get<double>();
    if (key == "upper_95")
        return normal.at(1).get<double>();
    if (key == "value_95")
        return normal.get<double>();
    if (key == "min")
        return maximum.at(0).get<double>();
    if (key == "max")
        return (twoSided ? maximum.at(1) : maximum).get<double>();
    return std::nullopt;
}

// ---- running -------------------------------------------------------------------------

// Runs `sql` on the database file.
void Execute(const std::string& db, const std::string& sql)
{
    sqlite3* handle = nullptr;
    ASSERT_EQ(sqlite3_open(db.c_str(), &handle), SQLITE_OK);
    char* error = nullptr;
    EXPECT_EQ(sqlite3_exec(handle, sql.c_str(), nullptr, nullptr, &error), SQLITE_OK) << (error ? error : "");
    sqlite3_free(error);
    sqlite3_close(handle);
}

std::string Sha256Sum(const std::string& path)
{
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(::popen(("sha256sum '" + path + "'").c_str(), "r"), ::pclose);
    char buf[65] = {};
    return pipe && std::fread(buf, 1, 64, pipe.get()) == 64 ? std::string(buf) : std::string();
}

// Every number a day sheet shows equals the page's entry; a value the day
// did not have is an empty cell where the page shows 0,00.
void ExpectDaySheet(const Rows& sheet, const std::string& page, const Json& day)
{
    const std::map<int, std::string> marks = MarkedValues(page);
    const std::vector<HarmonicRow> harmonicRows = HarmonicRows(page);
    ASSERT_EQ(harmonicRows.size(), 3u * 38);
    const Json& statistics = day.at("statistics");
    const size_t voltage = FindRow(sheet, kVoltage);
    ASSERT_LT(voltage, sheet.size());
    // A cell is a number that reads as the page's text, or empty where the
    // statistic found no value and the page shows 0,00.
    int empty = 0;
    const auto expectCell = [&](const Cell& cell, const std::string& pageText, bool found, const std::string& what) {
        EXPECT_FALSE(cell.quoted) << what << ": a text, not a number";
        if (cell.text.empty()) {
            ++empty;
            EXPECT_FALSE(found) << what;
            EXPECT_EQ(pageText, "0,00") << what;
        } else {
            EXPECT_EQ(cell.text, pageText) << what;
        }
    };
    bool dayHasValues = false;
    for (size_t s = 0; s < std::size(kDayRows); ++s) {
        const DayRow& d = kDayRows[s];
        SCOPED_TRACE(std::string(d.section) + " / " + d.label);
        const size_t row = FindRow(sheet, d.label, FindRow(sheet, d.section, voltage));
        ASSERT_LT(row, sheet.size());
        const bool found = statistics.at(s).at("count").get<int>() > 0;
        dayHasValues |= found;
        for (int k = 0; k < d.entries; ++k)
            expectCell(At(sheet, row, 1 + k), marks.at(d.base + k), found, "entry " + std::to_string(d.base + k));
        if (d.normal) {
            EXPECT_EQ(At(sheet, row, 1 + d.entries).text, d.normal);
            EXPECT_EQ(At(sheet, row, 2 + d.entries).text, d.maximum);
        }
    }
    for (int phase = 0; phase < 3; ++phase) {
        SCOPED_TRACE(kHarmonicTables[phase].section);
        const size_t table = FindRow(sheet, kHarmonicTables[phase].section, voltage);
        ASSERT_LT(table, sheet.size());
        const bool found = statistics.at(18 + phase).at("count").get<int>() > 0;
        for (int n = 2; n <= 40; ++n) {
            const size_t row = FindRow(sheet, std::to_string(n), table);
            ASSERT_LT(row, sheet.size()) << "order " << n;
            EXPECT_FALSE(At(sheet, row, 0).quoted);
            for (int k = 0; k < 6; ++k) {
                const std::string pageText = n == 2 ? marks.at(kHarmonicTables[phase].base + k)
                                                    : harmonicRows.at(38 * phase + (n - 3)).cells.at(k);
                expectCell(At(sheet, row, 1 + k), pageText, found,
                           "order " + std::to_string(n) + " cell " + std::to_string(k));
            }
        }
    }
    // A day without values has empty cells (its limits are there all the same).
    EXPECT_EQ(empty > 0, !dayHasValues) << empty << " empty cells";
}

// The place of a series' quantity in the protocol's order (δU, Δf, KU,
// KU(n), K2U, K0U), by its table.
int QuantityRank(const std::string& series)
{
    const std::string table = series.substr(0, series.find('.'));
    const std::vector<std::string> order{"du1m", "u1unbalance1m", "ac20sdfreq", "uthd3s", "harm_u_L",
                                         "u2unbalance3s", "u0unbalance3s"};
    const int ranks[] = {0, 0, 1, 2, 3, 4, 5};
    for (size_t i = 0; i < order.size(); ++i)
        if (table.rfind(order[i], 0) == 0)
            return ranks[i];
    return 6;
}

// A completeness table: present, expected and their per cent as the page
// shows it, series by series as report.json lists them, in the quantities'
// order.
void ExpectCompleteness(const Rows& sheet, const std::string& section, const Json& listed)
{
    Json completeness = listed;
    std::stable_sort(completeness.begin(), completeness.end(), [](const Json& a, const Json& b) {
        return QuantityRank(a.at("series")) < QuantityRank(b.at("series"));
    });
    const size_t at = FindRow(sheet, section);
    ASSERT_LT(at, sheet.size()) << section;
    ASSERT_EQ(At(sheet, at + 1, 0).text, "Ряд измерений");
    for (size_t i = 0; i < completeness.size(); ++i) {
        const Json& c = completeness.at(i);
        const long long present = c.at("present"), expected = c.at("expected");
        SCOPED_TRACE(section + " " + c.at("series").get<std::string>());
        EXPECT_EQ(At(sheet, at + 2 + i, 1).text, std::to_string(present));
        EXPECT_EQ(At(sheet, at + 2 + i, 2).text, std::to_string(expected));
        EXPECT_EQ(At(sheet, at + 2 + i, 3).text, Number("%.1f", present * 100.0 / expected));
    }
    EXPECT_EQ(At(sheet, at + 2 + completeness.size(), 0).text, "");
}

// «Данные» holds report.json's values one row each, in the document's order.
void ExpectDataSheet(const Rows& sheet, const Json& doc)
{
    ASSERT_FALSE(sheet.empty());
    std::vector<std::string> headings;
    for (const Cell& c : sheet[0])
        headings.push_back(c.text);
    EXPECT_EQ(headings, (std::vector<std::string>{"День", "Показатель", "Ряд измерений", "Фаза", "Режим", "n",
                                                  "Характеристика", "Значение", "Единица", "Предел", "Заключение"}));
    size_t row = 1;
    int nulls = 0;
    const auto expectRow = [&](int day, const Json& statistic, const Json& values, const std::string& order) {
        for (const auto& [key, value] : values.items()) {
            if (!IsValueKey(key))
                continue;
            SCOPED_TRACE("row " + std::to_string(row + 1) + ": day " + std::to_string(day) + " " +
                         statistic.at("table").get<std::string>() + " " + statistic.at("regime").get<std::string>() +
                         " " + order + " " + key);
            ASSERT_LT(row, sheet.size());
            const std::vector<Cell>& r = sheet[row++];
            ASSERT_EQ(r.size(), 11u);
            EXPECT_EQ(r[0].text, std::to_string(day));
            EXPECT_EQ(r[1].text, kQuantityNames.at(statistic.at("quantity")));
            EXPECT_EQ(r[2].text, statistic.at("table").get<std::string>());
            EXPECT_EQ(r[3].text, statistic.at("phase").is_null() ? "" : statistic.at("phase").get<std::string>());
            EXPECT_EQ(r[4].text, kRegimeNames.at(statistic.at("regime")));
            EXPECT_EQ(r[5].text, order);
            EXPECT_EQ(r[6].text, kValueNames.at(key));
            EXPECT_FALSE(r[7].quoted) << "a text, not a number";
            EXPECT_EQ(r[7].text, value.is_null() ? "" : DataText(value.get<double>()));
            nulls += value.is_null();
            const bool share = key.rfind("share_", 0) == 0;
            EXPECT_EQ(r[8].text, share ? "%" : statistic.at("unit") == "Hz" ? "Гц" : "%");
            const std::optional<double> limit = LimitOf(key, values.at("limits"));
            EXPECT_EQ(r[9].text, limit ? DataText(*limit) : "");
            EXPECT_EQ(r[10].text, kVerdictNames.at(statistic.at("verdict")));
        }
    };
    for (const Json& day : doc.at("days")) {
        for (const Json& statistic : day.at("statistics")) {
            if (!statistic.contains("orders")) {
                expectRow(day.at("day"), statistic, statistic, "");
                continue;
            }
            for (const Json& order : statistic.at("orders"))
                expectRow(day.at("day"), statistic, order, std::to_string(order.at("order").get<int>()));
        }
    }
    EXPECT_EQ(row, sheet.size()) << "rows beyond report.json's values";
    EXPECT_GT(nulls, 0) << "the fixture has no day without values";
}

// «Итоги» shows what the title page shows.
void ExpectSummarySheet(const Rows& sheet, const std::string& titlePage, const Json& doc, const std::string& db)
{
    const std::map<int, std::string> title = MarkedValues(titlePage);
    // The six verdicts, in the title page's order.
    const size_t verdicts = FindRow(sheet, "1. Оценка соответствия нормам ГОСТ 13109-97");
    ASSERT_LT(verdicts + 8, sheet.size());
    for (int q = 0; q < 6; ++q)
        EXPECT_EQ(Cp1251(At(sheet, verdicts + 2 + q, 1).text), title.at(48 + q)) << At(sheet, verdicts + 2 + q, 0).text;
    // The extremes, as numbers.
    const size_t frequency = FindRow(sheet, "Частота f, Гц");
    const size_t voltage = FindRow(sheet, "Фазное напряжение Uф, В");
    const std::string extremes[4] = {At(sheet, frequency, 1).text, At(sheet, frequency, 2).text,
                                     At(sheet, voltage, 1).text, At(sheet, voltage, 2).text};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(extremes[i], Trimmed(title.at(42 + i))) << "title entry " << 42 + i;
    EXPECT_FALSE(At(sheet, frequency, 1).quoted || At(sheet, voltage, 2).quoted);
    // The verdicts by day, word for word as the title page's block.
    const size_t byDay = FindRow(sheet, "3. Соответствие нормам по суткам");
    ASSERT_LT(byDay + 8, sheet.size());
    EXPECT_EQ(At(sheet, byDay + 1, 1).text + " " + At(sheet, byDay + 1, 3).text, "01.03 03.03");
    const char* const byDayLabels[6] = {"Отклонение напряжения", "Отклонение частоты", "Коэффициент искажения",
                                        "Коэффициенты гармонических", "Коэффициент несимметрии по обратной",
                                        "Коэффициент несимметрии по нулевой"};
    const size_t days = doc.at("days").size();
    for (int q = 0; q < 6; ++q) {
        const std::vector<std::string> cells = RowCells(titlePage, Cp1251(byDayLabels[q]));
        ASSERT_EQ(cells.size(), days + 1) << byDayLabels[q];
        for (size_t d = 0; d < days; ++d)
            EXPECT_EQ(Cp1251(At(sheet, byDay + 2 + q, 1 + d).text), cells[1 + d]) << byDayLabels[q] << " day " << d + 1;
    }
    ExpectCompleteness(sheet, "4. Полнота данных измерений за период испытаний", doc.at("summary").at("completeness"));
    // What the report was computed from.
    const size_t database = FindRow(sheet, "База данных измерений");
    EXPECT_EQ(At(sheet, database, 1).text, db);
    EXPECT_EQ(At(sheet, database + 1, 1).text, std::to_string(ReadFile(db).size()));
    EXPECT_EQ(At(sheet, database + 2, 1).text, Sha256Sum(db));
    EXPECT_EQ(At(sheet, FindRow(sheet, "Программа"), 1).text, "pqreport " PQREPORT_VERSION);
}

// ---- tests -------------------------------------------------------------------------

TEST(Workbook, LibreOfficeShowsThePagesNumbersAndTheDocumentsValues)
{
    const Workspace w(MarkedDayTemplate(180) + kDayBlocks, MarkedTitleTemplate(60) + kTitleBlocks);
    WriteTwoDays(w);
    // Day 1's largest frequency deviation on a tie: 0.175 is a little less in
    // binary, so the page writes 0,17 (and the title page 50,17), where a
    // spreadsheet rounding that number itself would show 0,18.
    Execute(w.db, "UPDATE ac20sdfreq SET Value = 0.175 WHERE Base_id = "
                  "(SELECT Base_id FROM Base WHERE DateTimeMQV = '2011-03-01 12:00:00')");
    // Three days: day 2 fails the frequency, day 3 has no values at all.
    const Outcome r = RunProgram(w.At({w.Write(w.settings(3).Set("Export", "json xlsx"))}));
    ASSERT_EQ(r.out, "ok!\n") << r.Log();
    const Json doc = Json::parse(ReadFile(w.out + "report.json"));
    ASSERT_EQ(doc.at("days").at(1).at("verdicts").at("frequency_deviation"), "does_not_comply");
    ASSERT_EQ(doc.at("days").at(0).at("statistics").at(17).at("max"), 0.175);

    const std::map<std::string, Rows> sheets = SheetsAsShown(w.out + "report.xlsx", w.dir);
    std::vector<std::string> names;
    for (const auto& s : sheets)
        names.push_back(s.first);
    EXPECT_EQ(names, (std::vector<std::string>{"Данные", "Итоги", "Сутки 1", "Сутки 2", "Сутки 3"}));
    for (int d = 1; d <= 3; ++d) {
        SCOPED_TRACE("Сутки " + std::to_string(d));
        const std::string name = "Сутки " + std::to_string(d);
        ASSERT_TRUE(sheets.count(name));
        const Rows& sheet = sheets.at(name);
        const Json& day = doc.at("days").at(d - 1);
        ExpectDaySheet(sheet, ReadFile(w.out + "day_" + std::to_string(d) + ".htm"), day);
        ExpectCompleteness(sheet, "6. Полнота данных измерений за сутки", day.at("completeness"));
    }
    ASSERT_TRUE(sheets.count("Данные"));
    ExpectDataSheet(sheets.at("Данные"), doc);
    ASSERT_TRUE(sheets.count("Итоги"));
    ExpectSummarySheet(sheets.at("Итоги"), ReadFile(w.out + "Page0.htm"), doc, w.db);
}

// The names in a user directory besides whole pages, report.xlsx and the settings.
std::vector<std::string> Leftovers(const std::string& dir)
{
    std::vector<std::string> others;
    for (const std::string& name : ListDir(dir)) {
        const bool page = name == "Page0.htm" || (name.rfind("day_", 0) == 0 && name.find('.') == name.size() - 4);
        if (!page && name != "report.xlsx" && name != "report.json" && name != "settings.xml")
            others.push_back(name);
    }
    return others;
}

TEST(Workbook, NotWrittenIsAnErrorNamingItAndNoOk)
{
    const struct {
        const char* name;
        std::function<void(const std::string& out)> prepare;
        long long fileSizeLimit;  // -1: none
        bool earlier;             // an earlier report.xlsx is there
        const char* why;          // what the error line says after the file's name
    } cases[] = {
        {"a directory in its place", [](const std::string& out) { ::mkdir((out + "report.xlsx").c_str(), 0755); }, -1,
         false, "Is a directory"},
        // The library's temporary files are cut short, which it does not
        // notice: the file read back is no whole workbook.
        {"a file size limit above the pages but below the workbook's parts",
         [](const std::string& out) { WriteFile(out + "report.xlsx", "an earlier workbook"); }, 16 * 1024, true,
         "was not written whole"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Workspace w(MarkedDayTemplate(180), MarkedTitleTemplate(60));
        WriteTwoDays(w);
        c.prepare(w.out);
        Launch launch = w.At({w.Write(w.settings(2).Set("Export", "xlsx"))});
        launch.fileSizeLimit = c.fileSizeLimit;
        const Outcome r = RunProgram(launch);
        EXPECT_EQ(r.status, 1) << r.Log();
        EXPECT_EQ(r.out, "");
        const std::string prefix = "Error: Cannot write the workbook " + w.out + "report.xlsx: ";
        const std::optional<std::string> line = r.LineStartingWith(prefix);
        ASSERT_TRUE(line) << r.Log();
        EXPECT_NE(line->find(c.why), std::string::npos) << *line;
        // The pages are written; an earlier workbook stays, and nothing else is left.
        EXPECT_TRUE(Exists(w.out + "Page0.htm"));
        if (c.earlier) {
            EXPECT_EQ(ReadFile(w.out + "report.xlsx"), "an earlier workbook");
        }
        EXPECT_EQ(Leftovers(w.out), std::vector<std::string>{});
    }
}

// Waits for a file whose name starts with `prefix` to be made in the watched
// directory; false when `ended` says the process is gone or the time passes.
bool WaitForCreated(int watch, const std::string& prefix, const std::function<bool()>& ended)
{
    const auto deadline = std::chrono::steady_clock::now() + kWatchTimeout;
    alignas(inotify_event) char buf[4096];
    while (std::chrono::steady_clock::now() < deadline && !ended()) {
        pollfd p{watch, POLLIN, 0};
        if (::poll(&p, 1, 20) <= 0)
            continue;
        const ssize_t n = ::read(watch, buf, sizeof buf);
        for (ssize_t at = 0; at < n;) {
            const inotify_event* e = reinterpret_cast<const inotify_event*>(buf + at);
            if (e->len > 0 && std::string(e->name).rfind(prefix, 0) == 0)
                return true;
            at += static_cast<ssize_t>(sizeof(inotify_event) + e->len);
        }
    }
    return false;
}

// Whether the directory holds a file whose name starts with `prefix`.
bool HasFileStartingWith(const std::string& dir, const std::string& prefix)
{
    for (const std::string& name : ListDir(dir))
        if (name.rfind(prefix, 0) == 0)
            return true;
    return false;
}

TEST(Workbook, ASignalWhileItIsWrittenKeepsTheEarlierOneAndLeavesNoTemporaryFile)
{
    const Workspace w(MarkedDayTemplate(180), MarkedTitleTemplate(60));
    WriteTwoDays(w);
    // Both files: report.json is written before the workbook, and takes its
    // place only with it.
    const std::string settings = w.Write(w.settings(2).Set("Export", "json xlsx"));
    const Outcome whole = RunProgram(w.At({settings}));
    ASSERT_EQ(whole.out, "ok!\n") << whole.Log();
    const std::string complete = ReadFile(w.out + "report.xlsx");
    const std::string completeDocument = ReadFile(w.out + "report.json");
    const std::string earlier = "an earlier workbook";
    const std::string earlierDocument = "an earlier result document";

    for (int signal : {SIGTERM, SIGINT, SIGHUP}) {
        // The run is stopped as soon as the workbook's temporary file is made,
        // or some milliseconds later, and then sent the signal: while that
        // file is there, the workbook is not yet in place, and the signal must
        // end the run without it.
        int endedWhileWriting = 0;
        for (int delayMs : {0, 2, 5, 10, 20, 40}) {
            SCOPED_TRACE("signal " + std::to_string(signal) + " " + std::to_string(delayMs) + " ms after the start");
            WriteFile(w.out + "report.xlsx", earlier);
            WriteFile(w.out + "report.json", earlierDocument);
            const int watch = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
            ASSERT_GE(watch, 0);
            ASSERT_GE(::inotify_add_watch(watch, w.out.c_str(), IN_CREATE), 0);
            WatchedChild child(w.At({settings}));
            const bool started = WaitForCreated(watch, "report.xlsx.", [&] { return child.Ended(); });
            ::close(watch);
            bool writing = false;
            if (started) {
                std::this_thread::sleep_for(std::chrono::milliseconds(delayMs));  // a point in the writing
                ::kill(child.Pid(), SIGSTOP);
                writing = HasFileStartingWith(w.out, "report.xlsx.");
                ::kill(child.Pid(), signal);
                ::kill(child.Pid(), SIGCONT);
            }
            const Outcome r = child.Wait();
            const std::string now = ReadFile(w.out + "report.xlsx");
            const std::string nowDocument = ReadFile(w.out + "report.json");
            if (writing && now != complete) {
                ++endedWhileWriting;
                EXPECT_EQ(r.status, -1) << r.Log();
                EXPECT_EQ(r.out, "");
                EXPECT_TRUE(now == earlier) << "report.xlsx was replaced by a run that did not end well";
                EXPECT_TRUE(nowDocument == earlierDocument)
                    << "report.json was replaced by a run that did not end well";
            } else if (writing) {
                // Stopped while the two took their places: the signal waited
                // for both, and the run ended before "ok!".
                EXPECT_EQ(r.status, -1) << r.Log();
                EXPECT_EQ(r.out, "");
                EXPECT_TRUE(nowDocument == completeDocument) << "report.json does not belong to report.xlsx";
            } else {
                // Stopped after the workbook was in place: the new one, whole.
                EXPECT_TRUE(now == complete) << "report.xlsx is not whole";
                EXPECT_TRUE(nowDocument == completeDocument) << "report.json is not whole";
            }
            EXPECT_EQ(Leftovers(w.out), std::vector<std::string>{});
        }
        EXPECT_GT(endedWhileWriting, 0) << "no run of signal " << signal << " was ended while writing the workbook";
    }
}

}  // namespace
