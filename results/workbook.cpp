#include "results/workbook.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

#include <expat.h>
#include <nlohmann/json.hpp>
#include <wx/log.h>
#include <wx/wfstream.h>
#include <wx/zipstrm.h>
#include <xlsxwriter.h>

#include "base/number_text.h"
#include "base/text.h"
#include "io/atomic_file.h"
#include "model/completeness.h"
#include "model/day_plan.h"
#include "model/period.h"
#include "model/quantity_registry.h"
#include "model/statistic_values.h"
#include "standard/gost_13109_97.h"
#include "standard/gost_32144_2013.h"

namespace pq {

namespace {

// ---- texts --------------------------------------------------------------------

// Text for the library, which takes UTF-8 only: bytes that are not UTF-8 (a
// path made under another locale) become U+FFFD, as in report.json.
std::string Utf8(const std::string& bytes)
{
    using Json = nlohmann::json;
    return Json::parse(Json(bytes).dump(-1, ' ', false, Json::error_handler_t::replace)).get<std::string>();
}

// A text of the settings (CP1251) in UTF-8.
std::string FromCodePage(const std::string& text) { return std::string(WxFromCodePage(text).ToUTF8().data()); }

const char* QuantityName(Quantity q) { return RowOf(q).name; }

const char* const kPhaseRows[3] = {"Фаза A (L1)", "Фаза B (L2)", "Фаза C (L3)"};

const char* RegimeText(LoadRegime r)
{
    switch (r) {
    case LoadRegime::MaxLoad:
        return "наибольших нагрузок";
    case LoadRegime::MinLoad:
        return "наименьших нагрузок";
    case LoadRegime::WholeDay:
        break;
    }
    return "сутки (оба режима)";
}

// A value's name in «Данные», by its name in report.json.
std::string ValueText(const std::string& name)
{
    static const std::vector<std::pair<const char*, const char*>> names{
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
    for (const auto& n : names)
        if (name == n.first)
            return n.second;
    return name;
}

bool IsShare(const std::string& name) { return name.rfind("share_", 0) == 0; }

// The limit a value is judged against, in the quantity's unit: the normal
// limit for a 95 % value, the maximum one for an extreme, negative for a
// lower bound. Nothing for a share, which is a per cent of the values.
Number LimitFor(const std::string& name, const std::optional<JudgedLimits>& limits)
{
    if (!limits)
        return std::nullopt;
    if (name == "lower_95")
        return -limits->normal;
    if (name == "upper_95" || name == "value_95")
        return limits->normal;
    if (name == "min")
        return -limits->maximum;
    if (name == "max")
        return limits->maximum;
    return std::nullopt;
}

std::string VoltageClassText(int voltageClass) { return Gost13109ClassName(voltageClass); }

std::string DateTimeText(const wxDateTime& t) { return DayDate(t) + " " + DayClock(t); }

// A value as the page shows it: rounded to two decimals as the page rounds it.
Number Shown(const Number& n) { return n ? Number(AsShown(*n)) : Number(); }

// ---- the library ----------------------------------------------------------------

// The C locale for this thread while it lives: the library writes numbers
// with printf, which under the report's locale would write a decimal comma
// into the file (2,5 where the file format wants 2.5).
class CNumbers {
public:
    CNumbers() : previous_(uselocale(CLocale())) {}
    ~CNumbers() { uselocale(previous_); }
    CNumbers(const CNumbers&) = delete;
    CNumbers& operator=(const CNumbers&) = delete;

private:
    locale_t previous_;
};

// The workbook being written, and the first error any call of the library gave.
class Book {
public:
    Book(const std::string& path, const std::string& temporaryDir) : temporaryDir_(temporaryDir)
    {
        lxw_workbook_options options{};
        options.constant_memory = LXW_TRUE;
        options.tmpdir = &temporaryDir_[0];
        workbook_ = workbook_new_opt(path.c_str(), &options);
        if (!workbook_)
            Fail("the workbook cannot be created");
    }
    ~Book() { Close(); }
    Book(const Book&) = delete;
    Book& operator=(const Book&) = delete;

    bool Ok() const { return error_.empty(); }
    const std::string& Error() const { return error_; }
    void Check(lxw_error e)
    {
        if (e != LXW_NO_ERROR)
            Fail(lxw_strerror(e));
    }
    void Fail(const std::string& why)
    {
        if (error_.empty())
            error_ = why;
    }

    // A sheet; nothing after an error.
    lxw_worksheet* AddSheet(const std::string& name)
    {
        if (!Ok())
            return nullptr;
        lxw_worksheet* sheet = nullptr;
        {
            // In constant-memory mode the sheet's rows go to a temporary file
            // that the library names, opens and removes at once.
            const HeldSignals held;
            sheet = workbook_add_worksheet(workbook_, name.c_str());
        }
        if (!sheet)
            Fail("the sheet " + name + " cannot be added");
        return sheet;
    }

    // A cell format set up by `setUp`; nothing after an error.
    lxw_format* Format(const std::function<void(lxw_format*)>& setUp)
    {
        if (!Ok())
            return nullptr;
        lxw_format* format = workbook_add_format(workbook_);
        if (!format) {
            Fail("a cell format cannot be added");
            return nullptr;
        }
        setUp(format);
        return format;
    }

    void SetCreated(time_t created)
    {
        if (!Ok())
            return;
        lxw_doc_properties properties{};
        properties.created = created;
        Check(workbook_set_properties(workbook_, &properties));
    }

    // Writes the file and frees the workbook; false when anything failed.
    bool Close()
    {
        lxw_workbook* workbook = workbook_;
        workbook_ = nullptr;
        if (!workbook)
            return false;  // never made: the error is recorded
        lxw_error closed;
        {
            // Each part of the file goes through a temporary file the library
            // names, opens and removes at once.
            const HeldSignals held;
            closed = workbook_close(workbook);
        }
        Check(closed);
        return Ok();
    }

private:
    std::string temporaryDir_;
    lxw_workbook* workbook_ = nullptr;
    std::string error_;
};

// The cell formats of every sheet.
struct Formats {
    lxw_format *title, *heading, *key, *info, *middle;
    lxw_format *header, *label, *regime, *value, *data, *count, *percent;
    lxw_format *complies, *fails, *noData;                // verdicts, shaded as on the title page
    lxw_format *shortLabel, *shortCount, *shortPercent;  // a completeness row below 100 %
};

Formats MakeFormats(Book& book)
{
    const auto bordered = [](lxw_format* f) {
        format_set_border(f, LXW_BORDER_THIN);
        format_set_align(f, LXW_ALIGN_VERTICAL_CENTER);
    };
    const auto centered = [bordered](lxw_format* f) {
        bordered(f);
        format_set_align(f, LXW_ALIGN_CENTER);
    };
    Formats f{};
    f.title = book.Format([](lxw_format* x) {
        format_set_bold(x);
        format_set_font_size(x, 12);
    });
    f.heading = book.Format([](lxw_format* x) { format_set_bold(x); });
    f.key = book.Format([](lxw_format* x) { format_set_font_color(x, 0x333333); });
    f.info = book.Format([](lxw_format* x) {
        format_set_bold(x);
        format_set_align(x, LXW_ALIGN_LEFT);
    });
    f.middle = book.Format([](lxw_format* x) { format_set_align(x, LXW_ALIGN_CENTER); });
    f.header = book.Format([centered](lxw_format* x) {
        centered(x);
        format_set_text_wrap(x);
        format_set_font_size(x, 9);
        format_set_bg_color(x, 0xE9EDF2);
    });
    f.label = book.Format([bordered](lxw_format* x) { bordered(x); });
    f.regime = book.Format([bordered](lxw_format* x) {
        bordered(x);
        format_set_bold(x);
        format_set_italic(x);
        format_set_bg_color(x, 0xF7F8FA);
    });
    f.value = book.Format([centered](lxw_format* x) {
        centered(x);
        format_set_num_format(x, "0.00");
    });
    f.data = book.Format([](lxw_format* x) { format_set_num_format(x, "0.00####"); });
    f.count = book.Format([centered](lxw_format* x) {
        centered(x);
        format_set_num_format(x, "0");
    });
    f.percent = book.Format([centered](lxw_format* x) {
        centered(x);
        format_set_num_format(x, "0.0");
    });
    f.complies = book.Format([centered](lxw_format* x) { centered(x); });
    f.fails = book.Format([centered](lxw_format* x) {
        centered(x);
        format_set_bold(x);
        format_set_font_color(x, LXW_COLOR_WHITE);
        format_set_bg_color(x, 0x404040);
    });
    f.noData = book.Format([centered](lxw_format* x) {
        centered(x);
        format_set_italic(x);
        format_set_font_color(x, 0x333333);
        format_set_bg_color(x, 0xECECEC);
    });
    f.shortLabel = book.Format([bordered](lxw_format* x) {
        bordered(x);
        format_set_bold(x);
        format_set_bg_color(x, 0xD0D0D0);
    });
    f.shortCount = book.Format([centered](lxw_format* x) {
        centered(x);
        format_set_num_format(x, "0");
        format_set_bold(x);
        format_set_bg_color(x, 0xD0D0D0);
    });
    f.shortPercent = book.Format([centered](lxw_format* x) {
        centered(x);
        format_set_num_format(x, "0.0");
        format_set_bold(x);
        format_set_bg_color(x, 0xD0D0D0);
    });
    return f;
}

// A sheet written row by row, top to bottom, as constant-memory mode needs.
class Sheet {
public:
    Sheet(Book& book, const std::string& name) : book_(book), sheet_(book.AddSheet(name)) {}

    // The row being written; Next() goes on to the one below (or further).
    lxw_row_t Row() const { return row_; }
    void Next(lxw_row_t rows = 1) { row_ += rows; }

    void Text(lxw_col_t col, const std::string& utf8, lxw_format* format)
    {
        if (sheet_ && book_.Ok())
            book_.Check(worksheet_write_string(sheet_, row_, col, utf8.c_str(), format));
    }
    // An empty cell (with its format) for a value the statistic did not find.
    void Value(lxw_col_t col, const Number& value, lxw_format* format)
    {
        if (!sheet_ || !book_.Ok())
            return;
        if (value && std::isfinite(*value))
            book_.Check(worksheet_write_number(sheet_, row_, col, *value, format));
        else
            book_.Check(worksheet_write_blank(sheet_, row_, col, format));
    }
    // A heading row of wrapped texts from column `first`, taller than a plain row.
    void Headings(const std::vector<std::string>& texts, lxw_format* format, lxw_col_t first = 0)
    {
        if (sheet_ && book_.Ok())
            book_.Check(worksheet_set_row(sheet_, row_, 40, nullptr));
        for (size_t i = 0; i < texts.size(); ++i)
            Text(first + static_cast<lxw_col_t>(i), texts[i], format);
        Next();
    }

    void Width(lxw_col_t first, lxw_col_t last, double width)
    {
        if (sheet_ && book_.Ok())
            book_.Check(worksheet_set_column(sheet_, first, last, width, nullptr));
    }
    // Frozen rows above and columns left of the first scrolling cell; A4
    // pages, as wide as one page; the sheet's name and page number below.
    void PageSetUp(lxw_row_t frozenRows, lxw_col_t frozenCols, bool landscape)
    {
        if (!sheet_ || !book_.Ok())
            return;
        worksheet_freeze_panes(sheet_, frozenRows, frozenCols);
        worksheet_set_paper(sheet_, 9);  // A4
        if (landscape)
            worksheet_set_landscape(sheet_);
        worksheet_fit_to_pages(sheet_, 1, 0);
        worksheet_set_margins(sheet_, 0.6, 0.4, 0.5, 0.6);
        book_.Check(worksheet_set_footer(sheet_, "&L&A&Rстр. &P из &N"));
    }
    lxw_worksheet* Handle() { return book_.Ok() ? sheet_ : nullptr; }

private:
    Book& book_;
    lxw_worksheet* sheet_;
    lxw_row_t row_ = 0;
};

// ---- «Итоги» ----------------------------------------------------------------------

// The verdict's cell format and word as the verdicts by day show it.
lxw_format* VerdictFormat(const Formats& f, Verdict v)
{
    return v == Verdict::Complies ? f.complies : v == Verdict::DoesNotComply ? f.fails : f.noData;
}


std::string CompletenessLabel(const DayStatistic& s)
{
    std::string label = s.series->plainLabel;
    if (s.phase >= 0)
        label += std::string(", ") + (s.phase == 0 ? "фаза A (L1)" : s.phase == 1 ? "фаза B (L2)" : "фаза C (L3)");
    return label + ", " + s.series->rateText;
}

void CompletenessRows(Sheet& sheet, const Formats& f, const std::vector<SampleCounts>& counts, int days)
{
    sheet.Headings({"Ряд измерений", "Получено значений", "Ожидалось значений", "Полнота, %"}, f.header);
    // In the quantities' order, as the protocol lists them everywhere.
    std::vector<SeriesCompleteness> series = Completeness(counts, days);
    std::stable_sort(series.begin(), series.end(), [](const SeriesCompleteness& a, const SeriesCompleteness& b) {
        return a.statistic->quantity() < b.statistic->quantity();
    });
    for (const SeriesCompleteness& s : series) {
        const bool incomplete = s.present < s.expected;
        sheet.Text(0, CompletenessLabel(*s.statistic), incomplete ? f.shortLabel : f.label);
        sheet.Value(1, static_cast<double>(s.present), incomplete ? f.shortCount : f.count);
        sheet.Value(2, static_cast<double>(s.expected), incomplete ? f.shortCount : f.count);
        const Number percent = s.expected > 0 ? Number(AsShown(s.present * 100.0 / s.expected, 1)) : Number();
        sheet.Value(3, percent, incomplete ? f.shortPercent : f.percent);
        sheet.Next();
    }
}

void InputRows(Sheet& sheet, const Formats& f, const char* what, const FileFingerprint& file)
{
    sheet.Text(0, what, f.heading);
    sheet.Text(1, Utf8(file.path), f.info);
    sheet.Next();
    sheet.Text(0, "размер, байт", f.key);
    sheet.Value(1, static_cast<double>(file.bytes), f.info);
    sheet.Next();
    sheet.Text(0, "SHA-256", f.key);
    sheet.Text(1, file.sha256, f.info);
    sheet.Next();
}

void WriteSummary(Book& book, const Formats& f, const ReportHeaderValues& header, const EvaluatedReport& report,
                  const Provenance& provenance)
{
    Sheet sheet(book, "Итоги");
    sheet.Width(0, 0, 72);
    sheet.Width(1, 1, 20);
    sheet.Width(2, 8, 11);
    sheet.PageSetUp(1, 0, false);

    sheet.Text(0, "Протокол испытаний электрической энергии по показателям качества (ГОСТ 13109-97): итоги",
               f.title);
    sheet.Next(2);
    const char* const subjects[4] = {"Объект испытаний", "Точка контроля", "Средство измерений",
                                     "Испытания провёл"};
    for (int i = 0; i < 4; ++i) {
        sheet.Text(0, subjects[i], f.key);
        sheet.Text(1, FromCodePage(header.att_Header[i]), f.info);
        sheet.Next();
    }
    sheet.Text(0, "Период испытаний", f.key);
    sheet.Text(1, "с " + DateTimeText(report.periodStart) + " до " + DateTimeText(report.periodEnd), f.info);
    sheet.Next();
    sheet.Text(0, "Число суток", f.key);
    sheet.Value(1, static_cast<double>(report.dayCount), f.info);
    sheet.Next();
    sheet.Text(0, "Класс напряжения сети", f.key);
    sheet.Text(1, VoltageClassText(header.Unom), f.info);
    sheet.Next(2);

    sheet.Text(0, "1. Оценка соответствия нормам ГОСТ 13109-97", f.heading);
    sheet.Next();
    sheet.Headings({"Показатель качества электрической энергии", "Заключение"}, f.header);
    for (const QuantityRow& row : QuantityRegistry()) {
        const Verdict v = report.flags.VerdictFor(row.quantity);
        sheet.Text(0, row.name, f.label);
        sheet.Text(1, VerdictText(v), VerdictFormat(f, v));
        sheet.Next();
    }
    sheet.Next();

    sheet.Text(0, "2. Результаты измерений за период испытаний", f.heading);
    sheet.Next();
    sheet.Headings({"Измеренная величина", "Наименьшее значение", "Наибольшее значение"}, f.header);
    const struct {
        const char* name;
        const Extremes& extremes;
    } ranges[] = {{"Частота f, Гц", report.summary.frequency}, {"Фазное напряжение Uф, В", report.summary.voltage}};
    for (const auto& r : ranges) {
        sheet.Text(0, r.name, f.label);
        const auto found = [](const Extreme& e) { return e.found ? Number(AsShown(e.value)) : Number(); };
        sheet.Value(1, found(r.extremes.minimum), f.value);
        sheet.Value(2, found(r.extremes.maximum), f.value);
        sheet.Next();
    }
    sheet.Next();

    sheet.Text(0, "3. Соответствие нормам по суткам", f.heading);
    sheet.Next();
    std::vector<std::string> days{"Показатель качества электрической энергии"};
    for (const EvaluatedDay& day : report.days)
        days.push_back(day.start.Format("%d.%m").ToStdString());
    sheet.Headings(days, f.header);
    for (const QuantityRow& row : QuantityRegistry()) {
        sheet.Text(0, row.name, f.label);
        for (size_t d = 0; d < report.days.size(); ++d) {
            const Verdict v = report.days[d].flags.VerdictFor(row.quantity);
            sheet.Text(static_cast<lxw_col_t>(d + 1), VerdictMark(v), VerdictFormat(f, v));
        }
        sheet.Next();
    }
    sheet.Text(0, "+ — соответствует; НЕТ — не соответствует; н/д — нет данных.", f.key);
    sheet.Next(2);

    sheet.Text(0, "4. Полнота данных измерений за период испытаний", f.heading);
    sheet.Next();
    CompletenessRows(sheet, f, report.PeriodCounts(), report.dayCount);
    sheet.Next();

    sheet.Text(0, "5. Исходные данные отчёта", f.heading);
    sheet.Next();
    sheet.Text(0, "Программа", f.key);
    sheet.Text(1, "pqreport " + Utf8(provenance.programVersion), f.info);
    sheet.Next();
    InputRows(sheet, f, "База данных измерений", provenance.database);
    if (provenance.wal)
        InputRows(sheet, f, "Журнал упреждающей записи базы данных", *provenance.wal);
    InputRows(sheet, f, "Документ настроек", provenance.settings);
    InputRows(sheet, f, "Шаблон суточной страницы", provenance.dayTemplate);
    InputRows(sheet, f, "Шаблон титульной страницы", provenance.titleTemplate);
    if (provenance.weekTemplate)
        InputRows(sheet, f, "Шаблон недельной страницы", *provenance.weekTemplate);
}

// ---- «ГОСТ 32144» -----------------------------------------------------------------

const char* const kPhaseNames[3] = {"фаза A (L1)", "фаза B (L2)", "фаза C (L3)"};


std::string WeekSeriesLabel(const WeekSeries& s)
{
    std::string label = s.series->plainLabel;
    if (s.phase >= 0)
        label += std::string(", ") + kPhaseNames[s.phase];
    return label + ", " + s.series->rateText;
}

void WriteWeek(Book& book, const Formats& f, const ReportHeaderValues& header, const WeekEvaluation& week)
{
    Sheet sheet(book, "ГОСТ 32144");
    sheet.Width(0, 0, 44);
    sheet.Width(1, 12, 12.5);
    sheet.PageSetUp(1, 1, true);

    sheet.Text(0, "Оценка качества электрической энергии по ГОСТ 32144-2013", f.title);
    sheet.Next(2);
    sheet.Text(0, "Интервал наблюдения", f.key);
    sheet.Text(1, "с " + DateTimeText(week.begin) + " до " + DateTimeText(week.end), f.info);
    sheet.Next();
    sheet.Text(0, "Число суток", f.key);
    sheet.Value(1, static_cast<double>(week.days), f.info);
    sheet.Next();
    sheet.Text(0, "Класс напряжения сети", f.key);
    sheet.Text(1, Gost32144ClassName(header.Unom), f.info);
    sheet.Next();
    if (!week.completeWeek) {
        sheet.Text(0, "Интервал наблюдения менее недели: соответствие не оценивается", f.heading);
        sheet.Next();
    }
    sheet.Next();

    sheet.Text(0, "1. Оценка соответствия", f.heading);
    sheet.Next();
    sheet.Headings({"Показатель качества электрической энергии", "Заключение"}, f.header);
    for (const QuantityRow& row : QuantityRegistry()) {
        const Verdict v = week.VerdictFor(row.quantity);
        sheet.Text(0, row.name, f.label);
        sheet.Text(1, VerdictText(v), VerdictFormat(f, v));
        sheet.Next();
    }
    sheet.Next();

    // Values as the week page shows them: rounded to two decimals as the page rounds them.
    sheet.Text(0, "2. Ряды измерений (10-минутные значения; частота: 20-секундные)", f.heading);
    sheet.Next();
    sheet.Headings({"Ряд измерений", "Учтено значений", "Ожидалось", "Наименьшее", "Наибольшее", "Значение 95 %",
                    "Предел 95 %", "Доля за пределом 95 %, %", "Предел 100 %", "За пределом 100 %", "Итог"},
                   f.header);
    for (const WeekSeries& s : week.series) {
        if (s.series->Harmonic())
            continue;
        sheet.Text(0, WeekSeriesLabel(s), f.label);
        sheet.Value(1, static_cast<double>(s.count), f.count);
        sheet.Value(2, static_cast<double>(s.expected), f.count);
        sheet.Value(3, Shown(s.minimum), f.value);
        sheet.Value(4, Shown(s.maximum), f.value);
        sheet.Value(5, Shown(s.value95), f.value);
        sheet.Value(6, s.limit95, f.value);
        sheet.Value(7, Shown(s.share95), f.value);
        sheet.Value(8, s.limit100, f.value);
        sheet.Value(9, static_cast<double>(s.beyond100), f.count);
        sheet.Text(10, VerdictMark(s.verdict), VerdictFormat(f, s.verdict));
        sheet.Next();
    }
    sheet.Next();

    sheet.Text(0, "3. Коэффициенты гармонических составляющих напряжения KU(n), %", f.heading);
    sheet.Next();
    std::vector<std::string> headings{"n"};
    for (const char* phase : kPhaseNames)
        for (const char* what : {"95 %", "доля, %", "предел", "итог"})
            headings.push_back(std::string(phase) + ": " + what);
    sheet.Headings(headings, f.header);
    for (int n = 2; n <= kHighestOrder; ++n) {
        sheet.Value(0, static_cast<double>(n), f.count);
        for (const WeekSeries& s : week.series) {
            if (!s.series->Harmonic() || s.order != n || s.phase < 0 || s.phase > 2)
                continue;
            const lxw_col_t at = static_cast<lxw_col_t>(1 + 4 * s.phase);
            sheet.Value(at, Shown(s.value95), f.value);
            sheet.Value(at + 1, Shown(s.share95), f.value);
            sheet.Value(at + 2, s.limit95, f.value);
            sheet.Text(at + 3, VerdictMark(s.verdict), VerdictFormat(f, s.verdict));
        }
        sheet.Next();
    }
    sheet.Next();
    sheet.Text(0, "+ — соответствует; НЕТ — не соответствует; н/д — нет данных; н/о — не оценено.", f.key);
}

// ---- «Сутки N» --------------------------------------------------------------------

// The record's slots in the order of the day page's columns, by the kind of
// statistic: two-sided (lower 95 %, its share, upper 95 %, its share, the
// smallest, its share, the largest, its share), distortion (95 %, normal
// limit, its share, the largest, maximum limit, its share) and unbalance
// (95 %, its share, the largest, its share).
const std::vector<size_t> kTwoSidedColumns{0, 4, 1, 5, 2, 6, 3, 7};
const std::vector<size_t> kDistortionColumns{0, 4, 2, 1, 5, 3};
const std::vector<size_t> kUnbalanceColumns{0, 2, 1, 3};

std::vector<Number> PageOrder(const DayStatistic& s, const StatisticResult& r)
{
    const std::vector<size_t>& columns = s.series->twoSided                          ? kTwoSidedColumns
                                         : s.kind == StatisticKind::HarmonicDistortion ? kDistortionColumns
                                                                                       : kUnbalanceColumns;
    std::vector<Number> entries;
    for (const size_t slot : columns)
        entries.push_back(slot < r.slots.size() ? r.slots[slot] : Number());
    return entries;
}

std::string StatisticRowLabel(const DayStatistic& s)
{
    return s.phase >= 0 ? kPhaseRows[s.phase] : s.series->rowLabel;
}

// A row of the day page's table: the label, the record in page order and,
// for a table whose limits the page names in its heading, the limits.
void StatisticRow(Sheet& sheet, const Formats& f, const DayStatistic& s, const StatisticResult& r, bool withLimits)
{
    sheet.Text(0, StatisticRowLabel(s), f.label);
    std::vector<Number> values = PageOrder(s, r);
    if (withLimits) {
        const std::optional<JudgedLimits> limits = LimitsOf(r);
        values.push_back(limits ? Number(limits->normal) : Number());
        values.push_back(limits ? Number(limits->maximum) : Number());
    }
    for (size_t i = 0; i < values.size(); ++i)
        sheet.Value(static_cast<lxw_col_t>(i + 1), Shown(values[i]), f.value);
    sheet.Next();
}

std::vector<std::string> TwoSidedHeadings(const char* first, const std::string& unit)
{
    return {first,
            "Нижнее значение (95 %), " + unit,
            "T1, %: ниже нормально допустимого",
            "Верхнее значение (95 %), " + unit,
            "T1, %: выше нормально допустимого",
            "Наименьшее значение, " + unit,
            "T2, %: ниже предельно допустимого",
            "Наибольшее значение, " + unit,
            "T2, %: выше предельно допустимого",
            "Нормально допустимое значение, ±" + unit,
            "Предельно допустимое значение, ±" + unit};
}

void WriteDay(Book& book, const Formats& f, const EvaluatedDay& day)
{
    Sheet sheet(book, "Сутки " + std::to_string(day.number));
    sheet.Width(0, 0, 36);
    sheet.Width(1, 10, 12.5);
    sheet.PageSetUp(3, 1, false);

    sheet.Text(0, "Протокол испытаний электрической энергии по ГОСТ 13109-97. Суточные показатели, сутки " +
                      std::to_string(day.number),
               f.title);
    sheet.Next();
    sheet.Text(0, "Интервал измерений", f.key);
    sheet.Text(1, "с " + DateTimeText(day.start) + " до " + DateTimeText(day.end), f.info);
    sheet.Next();
    std::string periods;
    for (size_t i = 0; i < day.begins.size() && i < day.ends.size(); ++i)
        periods += (periods.empty() ? "" : "; ") + DayClock(day.begins[i]) + " - " + DayClock(day.ends[i]);
    sheet.Text(0, "Часы наибольших нагрузок", f.key);
    sheet.Text(1, periods, f.info);
    sheet.Next(2);

    const std::vector<DayStatistic>& statistics = DayPlan();
    const auto each = [&](const std::function<bool(const DayStatistic&)>& which,
                          const std::function<void(const DayStatistic&, const StatisticResult&)>& write) {
        for (size_t i = 0; i < statistics.size() && i < day.statistics.size(); ++i)
            if (which(statistics[i]))
                write(statistics[i], day.statistics[i]);
    };
    const auto row = [&](bool withLimits) {
        return [&, withLimits](const DayStatistic& s, const StatisticResult& r) {
            StatisticRow(sheet, f, s, r, withLimits);
        };
    };

    sheet.Text(0, "1. Установившееся отклонение напряжения δUу, %", f.heading);
    sheet.Next();
    sheet.Headings(TwoSidedHeadings("Напряжение", "%"), f.header);
    const char* const regimes[3] = {"1.1. Режим наибольших нагрузок", "1.2. Режим наименьших нагрузок",
                                    "1.3. За сутки (оба режима)"};
    const LoadRegime regimeOrder[3] = {LoadRegime::MaxLoad, LoadRegime::MinLoad, LoadRegime::WholeDay};
    for (int r = 0; r < 3; ++r) {
        sheet.Text(0, regimes[r], f.regime);
        for (lxw_col_t c = 1; c <= 10; ++c)
            sheet.Value(c, std::nullopt, f.regime);
        sheet.Next();
        each([&](const DayStatistic& s) { return s.kind == StatisticKind::VoltageDeviation && s.regime == regimeOrder[r]; },
             row(true));
    }
    sheet.Next();

    sheet.Text(0, "2. Коэффициент искажения синусоидальности кривой напряжения KU, %", f.heading);
    sheet.Next();
    sheet.Headings({"Напряжение", "KU, % (95 %)", "Нормально допустимое значение, %",
                    "T1, %: выше нормально допустимого", "KU, % наибольшее", "Предельно допустимое значение, %",
                    "T2, %: выше предельно допустимого"},
                   f.header);
    each([](const DayStatistic& s) { return s.kind == StatisticKind::HarmonicDistortion; }, row(false));
    sheet.Next();

    sheet.Text(0, "3. Несимметрия напряжений, %", f.heading);
    sheet.Next();
    sheet.Headings({"Показатель", "Значение (95 %), %", "T1, %: выше нормально допустимого",
                    "Наибольшее значение, %", "T2, %: выше предельно допустимого",
                    "Нормально допустимое значение, %", "Предельно допустимое значение, %"},
                   f.header);
    // K2U before K0U, in the quantities' order.
    for (const Quantity q : {Quantity::NegativeSequenceUnbalance, Quantity::ZeroSequenceUnbalance})
        each([q](const DayStatistic& s) { return s.kind == StatisticKind::Unbalance && s.quantity() == q; },
             row(true));
    sheet.Next();

    sheet.Text(0, "4. Отклонение частоты Δf, Гц", f.heading);
    sheet.Next();
    sheet.Headings(TwoSidedHeadings("Показатель", "Гц"), f.header);
    each([](const DayStatistic& s) { return s.kind == StatisticKind::FrequencyDeviation; }, row(true));
    sheet.Next();

    sheet.Text(0, "5. Коэффициенты гармонических составляющих напряжения KU(n), %", f.heading);
    sheet.Next();
    each([](const DayStatistic& s) { return s.kind == StatisticKind::Harmonics; },
         [&](const DayStatistic& s, const StatisticResult& r) {
             sheet.Text(0, "5." + std::to_string(s.phase + 1) + ". " + kPhaseRows[s.phase], f.heading);
             sheet.Next();
             sheet.Headings({"n", "KU(n), % (95 %)", "KU(n), % наибольшее", "T1, %: выше нормально допустимого",
                             "T2, %: выше предельно допустимого", "Нормально допустимое значение, %",
                             "Предельно допустимое значение, %"},
                            f.header);
             // Six slots per order from 2, in record order, as the page's columns.
             for (int n = 2; n <= HighestOrderOf(r); ++n) {
                 sheet.Value(0, static_cast<double>(n), f.count);
                 for (size_t k = 0; k < kSlotsPerOrder; ++k) {
                     const size_t slot = kSlotsPerOrder * static_cast<size_t>(n - 2) + k;
                     sheet.Value(static_cast<lxw_col_t>(1 + k), Shown(slot < r.slots.size() ? r.slots[slot] : Number()),
                                 f.value);
                 }
                 sheet.Next();
             }
             sheet.Next();
         });

    sheet.Text(0, "6. Полнота данных измерений за сутки", f.heading);
    sheet.Next();
    CompletenessRows(sheet, f, day.Counts(), 1);
}

// ---- «Данные» ---------------------------------------------------------------------

void DataRows(Sheet& sheet, const Formats& f, int day, const DayStatistic& s, const StatisticResult& r, int order,
              const std::vector<NamedValue>& values, const std::optional<JudgedLimits>& limits)
{
    const std::optional<std::string> phase = PhaseKey(s);
    for (const NamedValue& v : values) {
        sheet.Value(0, static_cast<double>(day), f.middle);
        sheet.Text(1, QuantityName(s.quantity()), nullptr);
        sheet.Text(2, s.table(), nullptr);
        if (phase)
            sheet.Text(3, *phase, f.middle);
        sheet.Text(4, RegimeText(s.regime), nullptr);
        if (order > 0)
            sheet.Value(5, static_cast<double>(order), f.middle);
        sheet.Text(6, ValueText(v.name), nullptr);
        sheet.Value(7, v.value, f.data);
        sheet.Text(8, IsShare(v.name) ? "%" : s.series->unitText, nullptr);
        sheet.Value(9, LimitFor(v.name, limits), f.data);
        sheet.Text(10, VerdictText(r.GetVerdict()), nullptr);
        sheet.Next();
    }
}

void WriteData(Book& book, const Formats& f, const EvaluatedReport& report)
{
    Sheet sheet(book, "Данные");
    const double widths[] = {6, 64, 15, 6, 20, 5, 36, 12, 9, 10, 17};
    for (lxw_col_t c = 0; c < 11; ++c)
        sheet.Width(c, c, widths[c]);
    sheet.PageSetUp(1, 0, true);
    sheet.Headings({"День", "Показатель", "Ряд измерений", "Фаза", "Режим", "n", "Характеристика", "Значение",
                    "Единица", "Предел", "Заключение"},
                   f.header);
    const std::vector<DayStatistic>& statistics = DayPlan();
    for (const EvaluatedDay& day : report.days) {
        for (size_t i = 0; i < statistics.size() && i < day.statistics.size(); ++i) {
            const DayStatistic& s = statistics[i];
            const StatisticResult& r = day.statistics[i];
            if (!s.series->Harmonic()) {
                DataRows(sheet, f, day.number, s, r, 0, StatisticValues(s, r), LimitsOf(r));
                continue;
            }
            for (int n = 2; n <= HighestOrderOf(r); ++n) {
                const std::optional<JudgedLimits> limits = LimitsOf(r, n);
                if (limits)
                    DataRows(sheet, f, day.number, s, r, n, OrderValues(r, n), limits);
            }
        }
    }
    if (lxw_worksheet* handle = sheet.Handle()) {
        const lxw_row_t last = sheet.Row() > 1 ? sheet.Row() - 1 : 1;
        book.Check(worksheet_autofilter(handle, 0, 0, last, 10));
        book.Check(worksheet_repeat_rows(handle, 0, 0));
    }
}

// ---- reading it back ------------------------------------------------------------------

// One part of the file: true when its bytes are well-formed XML; else the
// parser's reason in `why`.
bool WellFormedPart(wxZipInputStream& zip, std::string& why)
{
    const std::unique_ptr<XML_ParserStruct, void (*)(XML_Parser)> parser(XML_ParserCreate(nullptr), XML_ParserFree);
    if (!parser) {
        why = "no memory to read it back";
        return false;
    }
    std::vector<char> buffer(1 << 16);
    for (;;) {
        const size_t n = zip.Read(buffer.data(), buffer.size()).LastRead();
        if (n == 0)
            break;
        if (XML_Parse(parser.get(), buffer.data(), static_cast<int>(n), 0) != XML_STATUS_OK)
            break;
    }
    // A part whose checksum fails is a read error of the zip stream.
    if (zip.GetLastError() == wxSTREAM_READ_ERROR) {
        why = "it does not read back whole";
        return false;
    }
    if (XML_GetErrorCode(parser.get()) == XML_ERROR_NONE && XML_Parse(parser.get(), nullptr, 0, 1) == XML_STATUS_OK)
        return true;
    why = XML_ErrorString(XML_GetErrorCode(parser.get()));
    return false;
}

// Reads the written file back: a zip of `sheets` sheets whose every part is
// whole and well-formed XML. libxlsxwriter does not check its writes to its
// own temporary files: a full file system or a file size limit leaves a part
// cut short in a file that it reports as written.
bool ReadsBackWhole(const std::string& path, int sheets, std::string& why)
{
    const wxLogNull quiet;  // the zip reader's own complaints; the reason is returned
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) {
        why = "it cannot be read back";
        return false;
    }
    wxFFileInputStream stream(file);  // closes the file
    wxZipInputStream zip(stream);
    int parts = 0, sheetParts = 0;
    for (std::unique_ptr<wxZipEntry> entry(zip.GetNextEntry()); entry; entry.reset(zip.GetNextEntry())) {
        const std::string name = entry->GetName(wxPATH_UNIX).ToStdString();
        ++parts;
        sheetParts += name.rfind("xl/worksheets/sheet", 0) == 0;
        std::string reason;
        if (!WellFormedPart(zip, reason)) {
            why = "its part " + name + " was not written whole (" + reason + ")";
            return false;
        }
    }
    if (parts == 0 || zip.GetLastError() == wxSTREAM_READ_ERROR) {
        why = "it does not read back as a zip file";
        return false;
    }
    if (sheetParts != sheets) {
        why = "it holds " + std::to_string(sheetParts) + " sheets instead of " + std::to_string(sheets);
        return false;
    }
    return true;
}

}  // namespace

bool WriteWorkbook(const std::string& path, const std::string& temporaryDir, const ReportHeaderValues& header,
                   const EvaluatedReport& report, const Provenance& provenance, std::string& why,
                   const std::optional<WeekEvaluation>& week)
{
    const CNumbers numbers;
    Book book(path, temporaryDir);
    // A fixed creation time, so that the same inputs give the same bytes: the
    // end of the period, the earliest the report could have been made.
    const time_t end = report.periodEnd.IsValid() ? report.periodEnd.GetTicks() : 1;
    book.SetCreated(end != 0 ? end : 1);
    const Formats formats = MakeFormats(book);
    WriteSummary(book, formats, header, report, provenance);
    if (week)
        WriteWeek(book, formats, header, *week);
    for (const EvaluatedDay& day : report.days)
        WriteDay(book, formats, day);
    WriteData(book, formats, report);
    if (!book.Close()) {
        why = book.Error();
        return false;
    }
    return ReadsBackWhole(path, 2 + (week ? 1 : 0) + static_cast<int>(report.days.size()), why);
}

}  // namespace pq
