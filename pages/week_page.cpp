#include "pages/week_page.h"

#include <cmath>

#include "base/number_text.h"
#include "pages/fixed_texts.h"
#include "pages/page_blocks.h"
#include "pages/page_layout.h"
#include "standard/gost_32144_2013.h"

namespace pq {

namespace {

const char* const kPhases[3] = {"фаза A (L1)", "фаза B (L2)", "фаза C (L3)"};

// A quantity's clause of the standard.
const char* Clause(Quantity q)
{
    switch (q) {
    case Quantity::FrequencyDeviation:
        return "4.2.1";
    case Quantity::VoltageDeviation:
        return "4.2.2";
    case Quantity::HarmonicDistortion:
    case Quantity::HarmonicCoefficients:
        return "4.2.4";
    case Quantity::NegativeSequenceUnbalance:
    case Quantity::ZeroSequenceUnbalance:
        break;
    }
    return "4.2.5";
}

std::string Value(const Number& n) { return n ? FormatNumber("%04.2f", *n) : std::string("&mdash;"); }

const char* RowClass(Verdict v) { return v == Verdict::DoesNotComply ? " class=\"fail\"" : ""; }

std::string Legend()
{
    return "<p class=\"note\">+ &mdash; " + Cp("соответствует") + "; " + Cp("НЕТ") + " &mdash; " +
           Cp("не соответствует") + "; " + Cp("н/д") + " &mdash; " + Cp("нет данных") + "; " + Cp("н/о") +
           " &mdash; " + Cp("не оценено (интервал наблюдения менее недели)") + ".</p>\n";
}

// A limit as the table writes it, with its unit: "&plusmn;0,2 Гц", "8,0 %".
std::string LimitWithUnit(double limit, const MeasuredSeries& series)
{
    return (series.twoSided ? "&plusmn;" : "") + LimitText(limit) + " " + Cp(series.unitText.c_str());
}

std::string SeriesLabel(const WeekSeries& s)
{
    const std::string phase = s.phase >= 0 ? Cp(", ") + Cp(kPhases[s.phase]) : std::string();
    return Cp(s.series->label.c_str()) + phase + " <span class=\"hint\">" + Cp(s.series->rateText.c_str()) +
           "</span>";
}

}  // namespace

std::string LimitText(double limit)
{
    const bool tenths = std::fabs(limit * 10 - std::round(limit * 10)) < 1e-9;
    return FormatNumber(tenths ? "%.1f" : "%.2f", limit);
}

TextList WeekPageValues(const ReportHeaderValues& header, const WeekEvaluation& week)
{
    using namespace week_entry;
    TextList v = NewValueTable();
    v[kMaker] = MakerName();
    for (int i = 0; i < 4; ++i)
        v[kObject + i] = header.att_Header[i];
    v[kBegin] = week.begin.Format("%d.%m.%Y %H:%M").ToStdString();
    v[kEnd] = week.end.Format("%d.%m.%Y %H:%M").ToStdString();
    v[kDays] = std::to_string(week.days);
    v[kVoltageClass] = Cp(Gost32144ClassName(header.Unom));
    return v;
}

std::string WeekVerdictsBlock(const WeekEvaluation& week, int voltageClass)
{
    std::string html = "<table class=\"grid week-verdicts\">\n<thead><tr><th>" + Cp("№") + "</th><th>" +
                       Cp("Показатель качества электрической энергии") + "</th><th>" +
                       Cp("Пункт ГОСТ 32144-2013") + "</th><th>" + Cp("Допускается в течение 95 % времени") +
                       "</th><th>" + Cp("Допускается в течение 100 % времени") + "</th><th>" + Cp("Заключение") +
                       "</th></tr></thead>\n<tbody>\n";
    int number = 0;
    for (const QuantityRow& row : QuantityRegistry()) {
        const Verdict v = week.VerdictFor(row.quantity);
        const MeasuredSeries& series = row.series.front();
        std::string normal = "&mdash;", maximum;
        if (row.quantity == Quantity::HarmonicCoefficients) {
            normal = Cp("по табл. 2 ГОСТ 32144-2013");
            maximum = Cp("1,5 &times; значения за 95 % времени");
        } else if (const std::optional<SeriesLimits> limits = Gost32144().Limits(series, voltageClass)) {
            if (Gost32144().ShareJudged(series))
                normal = LimitWithUnit(limits->normal, series);
            maximum = LimitWithUnit(limits->maximum, series);
        }
        html += std::string("<tr") + RowClass(v) + "><td class=\"c\">" + std::to_string(++number) + "</td><td>" +
                Cp(row.pageLabel) + "</td><td class=\"c\">" + Clause(row.quantity) + "</td><td class=\"c\">" +
                normal + "</td><td class=\"c\">" + maximum + "</td><td class=\"verdict\">" + VerdictWord(v) +
                "</td></tr>\n";
    }
    return html + "</tbody>\n</table>\n";
}

std::string WeekSeriesBlock(const WeekEvaluation& week)
{
    std::string html =
        "<table class=\"grid week-series\">\n<thead><tr><th class=\"lbl\">" + Cp("Ряд измерений") + "</th><th>" +
        Cp("Учтено значений / ожидалось") + "</th><th>" + Cp("Наименьшее") + "</th><th>" + Cp("Наибольшее") +
        "</th><th>" + Cp("Значение 95 %") + "</th><th>" + Cp("Предел 95 %") + "</th><th>" +
        Cp("Доля за пределом 95 %, %") + "</th><th>" + Cp("Предел 100 %") + "</th><th>" +
        Cp("Значений за пределом 100 %") + "</th><th>" + Cp("Итог") + "</th></tr></thead>\n<tbody>\n";
    for (const WeekSeries& s : week.series) {
        if (s.series->Harmonic())
            continue;
        const bool counted = s.count > 0;
        html += std::string("<tr") + RowClass(s.verdict) + "><td class=\"lbl\">" + SeriesLabel(s) + "</td><td>" +
                std::to_string(s.count) + " / " + std::to_string(s.expected) + "</td><td>" + Value(s.minimum) +
                "</td><td>" + Value(s.maximum) + "</td><td>" + Value(s.value95) + "</td><td>" +
                (s.limit95 ? LimitWithUnit(*s.limit95, *s.series) : std::string("&mdash;")) + "</td><td>" +
                Value(s.share95) + "</td><td>" + LimitWithUnit(s.limit100, *s.series) + "</td><td>" +
                (counted ? std::to_string(s.beyond100) : std::string("&mdash;")) + "</td>" + VerdictCell(s.verdict) +
                "</tr>\n";
    }
    return html + "</tbody>\n</table>\n" + Legend();
}

std::string WeekHarmonicsBlock(const WeekEvaluation& week)
{
    // The orders' rows of the three phases.
    std::vector<std::array<const WeekSeries*, 3>> orders;
    for (const WeekSeries& s : week.series) {
        if (!s.series->Harmonic() || s.phase < 0 || s.phase > 2 || s.order < 2)
            continue;
        const size_t at = static_cast<size_t>(s.order - 2);
        if (orders.size() <= at)
            orders.resize(at + 1, {nullptr, nullptr, nullptr});
        orders[at][static_cast<size_t>(s.phase)] = &s;
    }
    std::string html = "<table class=\"grid week-harmonics\">\n<thead><tr><th rowspan=\"2\">n</th>";
    for (const char* phase : kPhases)
        html += "<th colspan=\"4\">" + Cp(phase) + "</th>";
    html += "</tr>\n<tr>";
    for (int p = 0; p < 3; ++p)
        html += "<th>" + Cp("95 %, %") + "</th><th>" + Cp("Доля, %") + "</th><th>" + Cp("Предел, %") +
                "</th><th>" + Cp("Итог") + "</th>";
    html += "</tr></thead>\n<tbody>\n";
    for (size_t i = 0; i < orders.size(); ++i) {
        html += "<tr><td class=\"c\">" + std::to_string(i + 2) + "</td>";
        for (const WeekSeries* s : orders[i]) {
            if (!s) {
                html += "<td></td><td></td><td></td><td></td>";
                continue;
            }
            const char* cell = s->verdict == Verdict::DoesNotComply ? "<td class=\"fail\">" : "<td>";
            html += cell + Value(s->value95) + "</td>" + cell + Value(s->share95) + "</td><td>" +
                    (s->limit95 ? LimitText(*s->limit95) : std::string("&mdash;")) + "</td>" + VerdictCell(s->verdict);
        }
        html += "</tr>\n";
    }
    return html + "</tbody>\n</table>\n" +
           Cp("<p class=\"note\">Доля &mdash; доля 10-минутных значений за пределом 95 % времени; предел за 100 % "
              "времени &mdash; 1,5 значения предела 95 %. Номера гармоник 3 и 9 не делятся пополам: "
              "пределы взяты из таблицы ГОСТ 32144-2013 как есть.</p>\n") +
           Legend();
}

std::string WeekNoteBlock(const WeekEvaluation& week)
{
    std::string html = Cp(
        "<p class=\"note\">Оцениваются 10-минутные значения: интервалы по 10 минут от начала периода наблюдения, "
        "по 144 в сутки, 1008 за неделю. Значение интервала &mdash; среднеквадратическое значение его "
        "3-секундных значений K<sub>U</sub>, K<sub>U(n)</sub>, K<sub>2U</sub>, K<sub>0U</sub>; для отклонения "
        "напряжения &mdash; отклонение среднеквадратического напряжения интервала по его 1-минутным значениям. "
        "Интервал ряда учитывается, если в нём не менее половины ожидаемых значений: не менее 5 одноминутных "
        "или 100 трёхсекундных; интервалы с меньшим числом значений не учитываются, что видно по числу "
        "учтённых значений.</p>\n"
        "<p class=\"note\">Отклонение частоты оценено по 20-секундным значениям регистратора, каждое из которых "
        "учитывается (за неделю 30240): 10-секундных значений, которые предусматривает стандарт, в базе данных "
        "нет.</p>\n"
        "<p class=\"note\">Значение, равное пределу, находится в его пределах. Значение 95 % &mdash; значение с "
        "номером &lceil;0,95&nbsp;N&rceil; в ряду учтённых значений по возрастанию. Ряд соответствует, когда "
        "доля значений за пределом 95 % не более 5 % и ни одно значение не выходит за предел 100 %.</p>\n");
    if (!week.completeWeek)
        html += Cp("<p class=\"note\"><b>Интервал наблюдения менее недели: показатели вычислены и приведены, "
                   "соответствие стандарту не оценивается.</b></p>\n");
    return html;
}

}  // namespace pq
