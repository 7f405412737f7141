#include "report/page_blocks.h"

#include "settings/text.h"
#include "stats/day_context.h"
#include "stats/harmonics.h"
#include "stats/number_text.h"

namespace {

std::string Cp(const char* utf8) { return CodePageFromUtf8(utf8); }

std::string Percent(long long present, long long expected)
{
    if (expected <= 0)
        return "&mdash;";
    return FormatNumber("%.1f", present * 100.0 / static_cast<double>(expected));
}

}  // namespace

std::string CompletenessTable(const std::vector<CompletenessRow>& rows)
{
    std::string html = "<table class=\"data completeness\">\n<thead><tr><th class=\"lbl\">" + Cp("Ряд измерений") +
                       "</th><th>" + Cp("Получено значений") + "</th><th>" + Cp("Ожидалось значений") +
                       "</th><th>" + Cp("Полнота, %") + "</th></tr></thead>\n<tbody>\n";
    for (const CompletenessRow& r : rows) {
        const bool incomplete = r.present < r.expected;
        html += incomplete ? "<tr class=\"short\">" : "<tr>";
        html += "<td class=\"lbl\">" + r.series + "</td><td>" + std::to_string(r.present) + "</td><td>" +
                std::to_string(r.expected) + "</td><td>" + Percent(r.present, r.expected) +
                (incomplete ? " !" : "") + "</td></tr>\n";
    }
    return html + "</tbody>\n</table>\n";
}

std::string VerdictsByDayTable(const std::vector<std::string>& quantities, const std::vector<std::string>& days,
                               const std::vector<std::vector<DayVerdict>>& verdicts)
{
    std::string html = "<table class=\"data byday\">\n<thead><tr><th class=\"lbl\">" +
                       Cp("Показатель качества") + "</th>";
    for (const std::string& d : days)
        html += "<th>" + d + "</th>";
    html += "</tr></thead>\n<tbody>\n";
    for (size_t q = 0; q < quantities.size(); ++q) {
        html += "<tr><td class=\"lbl\">" + quantities[q] + "</td>";
        for (size_t d = 0; d < days.size(); ++d) {
            const DayVerdict v = q < verdicts.size() && d < verdicts[q].size() ? verdicts[q][d] : DayVerdict::NoData;
            switch (v) {
            case DayVerdict::Complies:
                html += "<td class=\"ok\">+</td>";
                break;
            case DayVerdict::DoesNotComply:
                html += "<td class=\"fail\">" + Cp("НЕТ") + "</td>";
                break;
            case DayVerdict::NoData:
                html += "<td class=\"nodata\">" + Cp("н/д") + "</td>";
                break;
            }
        }
        html += "</tr>\n";
    }
    html += "</tbody>\n</table>\n<p class=\"note\">+ &mdash; " + Cp("соответствует") + "; " + Cp("НЕТ") +
            " &mdash; " + Cp("не соответствует") + "; " + Cp("н/д") + " &mdash; " + Cp("нет данных") + ".</p>\n";
    return html;
}

namespace {

const char* const kPhases[3] = {"фаза A (L1)", "фаза B (L2)", "фаза C (L3)"};

// The values a full day of the statistic's series holds.
long long ExpectedPerDay(const DayStatistic& s)
{
    switch (s.kind) {
    case StatisticKind::VoltageDeviation:
        return kOneMinuteSeries.perDay;
    case StatisticKind::FrequencyDeviation:
        return kTwentySecondSeries.perDay;
    case StatisticKind::Harmonics:
        return static_cast<long long>(kThreeSecondSeries.perDay) * (kHighestOrder - 1);  // orders 2..40
    case StatisticKind::HarmonicDistortion:
    case StatisticKind::Unbalance:
        break;
    }
    return kThreeSecondSeries.perDay;
}

std::string SeriesLabel(const DayStatistic& s)
{
    const std::string phase = s.phase >= 0 ? Cp(", ") + Cp(kPhases[s.phase]) : std::string();
    switch (s.kind) {
    case StatisticKind::VoltageDeviation:
        return (s.column == ValueColumn ? Cp("&delta;U, однофазный ряд") : "&delta;U" + phase) +
               " <span class=\"hint\">1 " + Cp("мин") + "</span>";
    case StatisticKind::HarmonicDistortion:
        return "K<sub>U</sub>" + phase + " <span class=\"hint\">3 " + Cp("с") + "</span>";
    case StatisticKind::Unbalance:
        return std::string(s.table == "u2unbalance3s" ? "K<sub>2U</sub>" : "K<sub>0U</sub>") +
               " <span class=\"hint\">3 " + Cp("с") + "</span>";
    case StatisticKind::FrequencyDeviation:
        return "&Delta;f <span class=\"hint\">20 " + Cp("с") + "</span>";
    case StatisticKind::Harmonics:
        break;
    }
    return "K<sub>U(n)</sub>, n = 2&hellip;40" + phase + " <span class=\"hint\">3 " + Cp("с") + "</span>";
}

}  // namespace

std::vector<CompletenessRow> CompletenessRows(const std::vector<SampleCounts>& counts, int days)
{
    std::vector<CompletenessRow> rows;
    const std::vector<DayStatistic>& statistics = DayStatistics();
    for (size_t i = 0; i < statistics.size() && i < counts.size(); ++i) {
        const DayStatistic& s = statistics[i];
        // The max-load and min-load statistics split the whole day's values.
        if (s.regime != LoadRegime::WholeDay)
            continue;
        // Values that are no finite numbers were not measured.
        rows.push_back({SeriesLabel(s), counts[i].values - counts[i].notFinite, ExpectedPerDay(s) * days});
    }
    return rows;
}

std::string VerdictsByDayTable(const std::vector<DayVerdicts>& days)
{
    static const char* const kQuantities[kQuantityCount] = {
        "Отклонение напряжения &delta;U<sub>у</sub>",
        "Отклонение частоты &Delta;f",
        "Коэффициент искажения синусоидальности K<sub>U</sub>",
        "Коэффициенты гармонических составляющих K<sub>U(n)</sub>",
        "Коэффициент несимметрии по обратной последовательности K<sub>2U</sub>",
        "Коэффициент несимметрии по нулевой последовательности K<sub>0U</sub>",
    };
    std::vector<std::string> quantities, labels;
    std::vector<std::vector<DayVerdict>> verdicts(kQuantityCount);
    for (int q = 0; q < kQuantityCount; ++q)
        quantities.push_back(Cp(kQuantities[q]));
    for (const DayVerdicts& d : days) {
        labels.push_back(d.label);
        for (int q = 0; q < kQuantityCount; ++q) {
            const Quantity quantity = static_cast<Quantity>(q);
            verdicts[q].push_back(!d.flags.Measured(quantity) ? DayVerdict::NoData
                                  : d.flags[quantity]          ? DayVerdict::Complies
                                                               : DayVerdict::DoesNotComply);
        }
    }
    return VerdictsByDayTable(quantities, labels, verdicts);
}
