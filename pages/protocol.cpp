#include "pages/protocol.h"

#include <algorithm>
#include <map>
#include <functional>

#include "base/number_text.h"
#include "base/text.h"
#include "model/breaches.h"
#include "model/day_plan.h"
#include "model/not_assessed.h"
#include "model/period.h"
#include "model/quantity_registry.h"
#include "model/statistic_values.h"
#include "pages/fixed_texts.h"
#include "pages/page_blocks.h"
#include "pages/page_layout.h"
#include "standard/gost_32144_2013.h"

namespace pq {

namespace {

// A CSS string of CP1251 text: quotes and backslashes escaped, line ends as
// blanks.
std::string CssString(const std::string& text)
{
    std::string s = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\')
            s += '\\';
        s += (c == '\n' || c == '\r') ? ' ' : c;
    }
    return s + "\"";
}

std::string Joined(const std::string& a, const std::string& b)
{
    if (a.empty())
        return b;
    return b.empty() ? a : a + Cp(" · ") + b;
}

const char* const kPhaseLetters[3] = {"фаза A", "фаза B", "фаза C"};

const char* RegimeWords(LoadRegime r)
{
    switch (r) {
    case LoadRegime::MaxLoad:
        return "режим наибольших нагрузок";
    case LoadRegime::MinLoad:
        return "режим наименьших нагрузок";
    case LoadRegime::WholeDay:
        break;
    }
    return "сутки (оба режима)";
}

// The statistic as a failure line names it: the quantity's symbol, the
// regime of a voltage deviation, the phase or series, the harmonic order.
std::string StatisticName(const DayStatistic& s, int order)
{
    std::string name = Cp(RowOf(s.quantity()).symbol);
    if (s.kind == StatisticKind::VoltageDeviation)
        name += Cp(", ") + Cp(RegimeWords(s.regime));
    if (s.phase >= 0)
        name += Cp(", ") + Cp(kPhaseLetters[s.phase]);
    else if (s.quantity() == Quantity::VoltageDeviation)
        name += Cp(", прямая последовательность");
    if (order > 0)
        name += ", n = " + std::to_string(order);
    return name;
}

std::string Share(double share) { return FormatNumber("%04.2f", share) + " %"; }

std::string Allowed(double allowed)
{
    return FormatNumber(allowed == static_cast<long long>(allowed) ? "%.0f" : "%.2f", allowed) + " %";
}

// The cell of a record's slot on the shipped day page.
std::string CellSelector(const DayStatistic& s, const Breach& b)
{
    if (s.series->Harmonic()) {
        // Order 2's row, then the numbered rows 3..40, each with the record's
        // six slots of its order after the order's cell.
        const size_t column = b.slot - kSlotsPerOrder * static_cast<size_t>(b.order - 2);
        return "#harm" + std::to_string(s.phase + 1) + " > tbody > tr:nth-child(" + std::to_string(b.order - 1) +
               ") > td:nth-child(" + std::to_string(column + 2) + ")";
    }
    const DayEntries entries = DayEntriesOf(s);
    const int entry = entries.base + (*entries.pattern)[b.slot];
    return "#e" + std::to_string(entries.base) + " > td:nth-child(" + std::to_string(entry - entries.base + 2) + ")";
}

}  // namespace

std::string ProtocolIdentity(const ReportHeaderValues& header)
{
    const std::string object = !header.Main[2].empty() ? header.Main[2] : header.att_Header[0];
    return Joined(header.Main[0], object);
}

std::string TitlePart() { return Cp("Протокол испытаний"); }

std::string DayPart(int dayNumber, const wxDateTime& dayStart)
{
    return Cp("Приложение ") + std::to_string(dayNumber) + Cp(". Суточные показатели за ") + DayDate(dayStart);
}

std::string WeekPart(int dayCount)
{
    return Cp("Приложение ") + std::to_string(std::max(dayCount, 0) + 1) + Cp(". Оценка по ГОСТ 32144-2013");
}

std::string ScopeOf(const SheetStyle& style)
{
    return style.documentPart ? ".pq-part-" + std::to_string(*style.documentPart) + " " : std::string();
}

std::string PrintStyleBlock(const SheetStyle& style, const std::string& rules)
{
    std::string css = "<style type=\"text/css\">\n";
    if (style.documentPart) {
        // The document's margin boxes show these strings (see the protocol document).
        css += ".pq-part-" + std::to_string(*style.documentPart) + " { string-set: pq-identity " +
               CssString(style.identity) + ", pq-part " + CssString(style.part) + "; }\n";
    } else {
        css += "@page {\n  @top-left { content: " + CssString(style.identity) +
               "; font-size: 7.5pt; vertical-align: bottom; }\n  @top-right { content: " + CssString(style.part) +
               "; font-size: 7.5pt; vertical-align: bottom; }\n  @bottom-right { content: " + CssString(Cp("Лист ")) +
               " counter(page) " + CssString(Cp(" из ")) + " counter(pages); font-size: 8pt; }\n}\n";
    }
    return css + rules + "</style>\n";
}

std::string DayMarkRules(const EvaluatedDay& day, const Standard& standard, const std::string& scope)
{
    const std::vector<DayStatistic>& plan = DayPlan();
    std::string selectors, marks;
    for (const Breach& b : DayBreaches(day, standard.Rule().outside * 100)) {
        const std::string cell = scope + CellSelector(plan[b.statistic], b);
        selectors += (selectors.empty() ? "" : ",\n") + cell;
        marks += (marks.empty() ? "" : ",\n") + cell + "::after";
    }
    if (selectors.empty())
        return std::string();
    return selectors + " { font-weight: bold; outline: 1.2pt solid #000; outline-offset: -1.5pt; }\n" + marks +
           " { content: \"*\"; font-size: 75%; vertical-align: super; line-height: 0; }\n";
}

std::string TitleVerdictRules(const EvaluatedReport& report, const std::string& scope)
{
    std::string selectors;
    for (const QuantityRow& row : QuantityRegistry())
        if (report.flags.VerdictFor(row.quantity) == Verdict::DoesNotComply)
            selectors += (selectors.empty() ? "" : ", ") + scope + "#verdict-" + row.key;
    if (selectors.empty())
        return std::string();
    return selectors +
           " { color: #fff; background: #404040; -webkit-print-color-adjust: exact; print-color-adjust: exact; }\n";
}

std::string DayVerdictsBlock(const EvaluatedDay& day)
{
    return VerdictsByDayTable({{day.start.Format("%d.%m").ToStdString(), day.flags}}) +
           Cp("<p class=\"note\">Значения за пределами нормально или предельно допустимых и доли времени, при "
              "которых показатель не соответствует норме, выделены полужирным шрифтом, рамкой и знаком *.</p>\n");
}

std::string FailuresBlock(const EvaluatedReport& report, const Standard& standard)
{
    const std::vector<DayStatistic>& plan = DayPlan();
    std::string html;
    for (const QuantityRow& row : QuantityRegistry()) {
        if (report.flags.VerdictFor(row.quantity) != Verdict::DoesNotComply)
            continue;
        std::string lines;
        for (const EvaluatedDay& day : report.days) {
            // The worst breach of each figure that decides the verdict, and how many there were.
            std::map<Breach::Figure, std::pair<const Breach*, int>> worst;
            const std::vector<Breach> breaches = DayBreaches(day, standard.Rule().outside * 100);
            const Breach* previous = nullptr;
            for (const Breach& b : breaches) {
                const Breach* before = previous;
                previous = &b;
                if (!b.DecidesVerdict() || plan[b.statistic].quantity() != row.quantity)
                    continue;
                // A two-sided T1 is one failure of both sides together: its
                // second side follows its first.
                if (before && b.figure == Breach::Figure::ShareNormal && before->figure == b.figure &&
                    before->statistic == b.statistic && before->order == b.order)
                    continue;
                auto& w = worst[b.figure];
                ++w.second;
                if (!w.first || b.value > w.first->value)
                    w.first = &b;
            }
            for (const auto& figure : worst) {
                const Breach& b = *figure.second.first;
                const bool t1 = figure.first == Breach::Figure::ShareNormal;
                lines += "<li>" + DayDate(day.start) + ": " + StatisticName(plan[b.statistic], b.order) + ": T" +
                         (t1 ? "1" : "2") + " = " + Share(b.value) + Cp(" (допускается ") + Allowed(b.allowed) +
                         ")";
                if (figure.second.second > 1)
                    lines += Cp("; всего таких значений за сутки: ") + std::to_string(figure.second.second);
                lines += "</li>\n";
            }
        }
        html += "<p class=\"failure\"><b>" + Cp(row.pageLabel) + "</b>: " + DoesNotComplyWord() + "</p>\n<ul class=\"failures\">\n" +
                lines + "</ul>\n";
    }
    if (html.empty())
        html = Cp("<p class=\"failure\">Все показатели, по которым есть данные измерений, соответствуют нормам.</p>\n");
    return html;
}

namespace {

// The quantities of a verdict, as the conclusion names them.
std::string Names(const std::vector<const QuantityRow*>& rows)
{
    std::string names;
    for (const QuantityRow* row : rows)
        names += (names.empty() ? "" : "; ") + Cp(row->pageLabel);
    return names;
}

std::string Conclusion(const std::string& standardName, const std::function<Verdict(Quantity)>& verdictOf)
{
    std::vector<const QuantityRow*> failing, noData;
    for (const QuantityRow& row : QuantityRegistry()) {
        const Verdict v = verdictOf(row.quantity);
        if (v == Verdict::DoesNotComply)
            failing.push_back(&row);
        else if (v == Verdict::NoData)
            noData.push_back(&row);
    }
    std::string text = failing.empty()
                           ? Cp("соответствует требованиям ") + Cp(standardName.c_str()) +
                                 Cp(" по всем оценённым показателям")
                           : Cp("не соответствует требованиям ") + Cp(standardName.c_str()) + Cp(" по показателям: ") +
                                 Names(failing);
    if (noData.size() == QuantityRegistry().size())
        return Cp("не оценено по ") + Cp(standardName.c_str()) + Cp(": нет данных измерений");
    if (!noData.empty())
        text += Cp("; без данных измерений, не оценены: ") + Names(noData);
    return text;
}

}  // namespace

std::string ConclusionBlock(const EvaluatedReport& report, const Standard& standard,
                            const std::optional<WeekEvaluation>& week)
{
    std::string html = Cp("<p class=\"conclusion\"><b>Заключение.</b> Качество электрической энергии в точке "
                          "контроля ") +
                       Conclusion(standard.Name(), [&](Quantity q) { return report.flags.VerdictFor(q); }) + ".";
    if (week) {
        html += week->completeWeek
                    ? Cp(" По ГОСТ 32144-2013 за неделю наблюдения качество электрической энергии ") +
                          Conclusion(Gost32144().Name(), [&](Quantity q) { return week->VerdictFor(q); }) + "."
                    : Cp(" По ГОСТ 32144-2013 не оценено: интервал наблюдения менее недели.");
    }
    return html + "</p>\n";
}

std::string NotAssessedBlock()
{
    std::string html = Cp("<p class=\"not-assessed\">Не оценивались, так как база данных регистратора их не "
                          "содержит:</p>\n<ul class=\"not-assessed\">\n");
    for (const Indicator& i : NotAssessedIndicators())
        html += "<li>" + Cp(i.name) + "</li>\n";
    return html + "</ul>\n";
}

std::string AnnexesBlock(const EvaluatedReport& report, bool week)
{
    std::string html = Cp("<p class=\"annexes\">Приложения: ");
    const int days = static_cast<int>(report.days.size());
    if (days > 0) {
        const std::string numbers = days == 1 ? "1" : "1&ndash;" + std::to_string(days);
        html += numbers + " &mdash; " + Cp("суточные показатели качества электрической энергии за ") +
                DayDate(report.days.front().start) +
                (days > 1 ? "&ndash;" + DayDate(report.days.back().start) : std::string());
    }
    if (week)
        html += (days > 0 ? "; " : "") + std::to_string(days + 1) + " &mdash; " +
                Cp("оценка качества электрической энергии по ГОСТ 32144-2013");
    if (days == 0 && !week)
        html += Cp("нет");
    return html + ".</p>\n";
}

std::string ProtocolPeriod(const wxDateTime& begin, const wxDateTime& end, int days)
{
    return Cp("с ") + DayDate(begin) + " " + DayClock(begin) + Cp(" до ") + DayDate(end) + " " + DayClock(end) +
           " (" + std::to_string(days) + Cp(" сут.)");
}

}  // namespace pq
