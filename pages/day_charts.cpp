#include "pages/day_charts.h"

#include <cmath>

#include "base/number_text.h"
#include "base/text.h"
#include "html/escape.h"
#include "html/svg_chart.h"
#include "model/day_plan.h"
#include "model/statistic_values.h"

namespace pq {

namespace {

const char* const kPhaseNames[3] = {"L1 (фаза A)", "L2 (фаза B)", "L3 (фаза C)"};

// Seconds of the clock day of a sample `seconds` after the day's start: the
// charts run from 00:00 to 24:00 whatever hour the report day begins at.
double ClockSeconds(const wxDateTime& dayStart, long seconds)
{
    const wxDateTime::Tm t = dayStart.GetTm();
    const long clock = t.hour * 3600L + t.min * 60L + t.sec + seconds;
    return static_cast<double>(((clock % 86400) + 86400) % 86400);
}

std::vector<TimeRange> MaxLoadRanges(const EvaluatedDay& day)
{
    std::vector<TimeRange> ranges;
    for (size_t i = 0; i < day.begins.size() && i < day.ends.size(); ++i) {
        const wxDateTime::Tm b = day.begins[i].GetTm(), e = day.ends[i].GetTm();
        ranges.push_back({b.hour * 3600.0 + b.min * 60.0 + b.sec, e.hour * 3600.0 + e.min * 60.0 + e.sec});
    }
    return ranges;
}

// The day's rows of the columns, streamed into one envelope per column.
std::vector<MinuteEnvelope> Envelopes(const SeriesReader& read, const EvaluatedDay& day, const std::string& table,
                                      const std::vector<std::string>& columns)
{
    std::vector<MinuteEnvelope> envelopes(columns.size());
    read(table, columns, day.start, day.end, [&](long seconds, const std::vector<double>& values) {
        const double clock = ClockSeconds(day.start, seconds);
        for (size_t c = 0; c < values.size(); ++c)
            envelopes[c].Add(clock, values[c]);
    });
    return envelopes;
}

// The day's one-minute values of the columns as lines.
std::vector<std::vector<TimedValue>> Lines(const SeriesReader& read, const EvaluatedDay& day,
                                           const std::string& table, const std::vector<std::string>& columns)
{
    std::vector<std::vector<TimedValue>> lines(columns.size());
    read(table, columns, day.start, day.end, [&](long seconds, const std::vector<double>& values) {
        const double clock = ClockSeconds(day.start, seconds);
        for (size_t c = 0; c < values.size(); ++c)
            lines[c].push_back({clock, values[c]});
    });
    return lines;
}

std::string Limit(double v) { return TickText(v, std::fabs(v - std::round(v)) > 1e-9 ? 1 : 0); }

// The statistic of the day that evaluated `table` (the first, for a table
// evaluated in several regimes or phases: all judge by the same limits), or
// null.
const StatisticResult* ResultOf(const EvaluatedDay& day, const std::string& table, int phase = -1)
{
    const std::vector<DayStatistic>& plan = DayPlan();
    for (size_t i = 0; i < plan.size() && i < day.statistics.size(); ++i)
        if (plan[i].table() == table && (phase < 0 || plan[i].phase == phase))
            return &day.statistics[i];
    return nullptr;
}

// The limits the day's statistic of `table` judged by; none when the day has
// no such statistic.
std::optional<JudgedLimits> DayLimits(const EvaluatedDay& day, const std::string& table)
{
    const StatisticResult* result = ResultOf(day, table);
    return result ? result->LimitsFor() : std::nullopt;
}

std::string UnitText(const std::string& table) { return " " + Cp(SeriesOf(table).unitText.c_str()); }

// The lines of a two-sided series' limits.
std::vector<LimitLine> SymmetricLimits(const EvaluatedDay& day, const std::string& table)
{
    const std::optional<JudgedLimits> limits = DayLimits(day, table);
    if (!limits)
        return {};
    const double normal = limits->normal, maximum = limits->maximum;
    const std::string u = UnitText(table);
    return {{normal, "+" + Limit(normal) + u, LimitKind::Normal},
            {-normal, Limit(-normal) + u, LimitKind::Normal},
            {maximum, "+" + Limit(maximum) + u, LimitKind::Maximum},
            {-maximum, Limit(-maximum) + u, LimitKind::Maximum}};
}

// The lines of a one-sided series' upper limits.
std::vector<LimitLine> UpperLimitLines(const EvaluatedDay& day, const std::string& table)
{
    const std::optional<JudgedLimits> limits = DayLimits(day, table);
    if (!limits)
        return {};
    const std::string u = UnitText(table);
    return {{limits->normal, Limit(limits->normal) + u, LimitKind::Normal},
            {limits->maximum, Limit(limits->maximum) + u, LimitKind::Maximum}};
}

// SVG text content of a text of the sources.
std::string Text(const char* utf8) { return EscapeHtml(Cp(utf8)); }

// A symbol with its subscript ("K", "U"), then `rest`, as SVG text content.
std::string Subscripted(const char* symbol, const char* subscript, const char* rest)
{
    return Text(symbol) + "<tspan dy=\"2.5\" font-size=\"8.5\">" + Text(subscript) + "</tspan><tspan dy=\"-2.5\">" +
           Text(rest) + "</tspan>";
}

// The texts that name the quantities: the headings' symbols (δU, Δf, K_U,
// K2U, K0U) on a protocol's sheet, the plain letters of the earlier charts
// otherwise.
struct ChartLabels {
    std::string voltageAxis, frequencyAxis, frequencySeries, distortionAxis, negativeSeries, zeroSeries, spectrumAxis;
};

ChartLabels LabelsOf(bool symbols)
{
    if (!symbols)
        return {Text("Отклонение напряжения dU, %"),       Text("Отклонение частоты df, Гц"),
                Text("df (20 с, мин./макс. за минуту)"),   Text("Коэффициент искажения KU, %"),
                Text("K2U (обратная последовательность)"), Text("K0U (нулевая последовательность)"),
                Text("KU(n), %")};
    return {Text("Отклонение напряжения ") + "&#948;" + Text("U, %"),
            Text("Отклонение частоты ") + "&#916;" + Text("f, Гц"),
            "&#916;" + Text("f (20 с, мин./макс. за минуту)"),
            Subscripted("Коэффициент искажения K", "U", ", %"),
            Subscripted("K", "2U", " (обратная последовательность)"),
            Subscripted("K", "0U", " (нулевая последовательность)"),
            Subscripted("K", "U(n)", ", %")};
}

DayChart Chart(const EvaluatedDay& day, const char* title, const std::string& yLabel)
{
    DayChart chart;
    chart.title = Cp(title);
    chart.yLabel = yLabel;
    chart.xLabel = Text("Время суток, ч:мин");
    chart.shaded = MaxLoadRanges(day);
    chart.shadedLabel = Text("Период наибольших нагрузок");
    chart.noDataText = Text("нет данных");
    return chart;
}

// A chart with its caption (HTML, CP1251), kept whole on a printed page.
std::string Figure(const std::string& caption, const std::string& svg)
{
    return "<div class=\"chart\"><p class=\"caption\">" + caption + "</p>\n" + svg + "</div>\n";
}

std::string VoltageChart(const SeriesReader& read, const EvaluatedDay& day, const ChartLabels& labels)
{
    DayChart chart = Chart(day, "Отклонение напряжения за сутки", labels.voltageAxis);
    const std::vector<std::vector<TimedValue>> lines = Lines(read, day, "du1m", {"L1", "L2", "L3"});
    for (int p = 0; p < 3; ++p)
        chart.series.push_back({Text(kPhaseNames[p]), lines[p], 60, {}});
    chart.limits = SymmetricLimits(day, "du1m");
    return Figure(Cp("Отклонение напряжения &delta;U (1-минутные значения)"), DayChartSvg(chart));
}

std::string FrequencyChart(const SeriesReader& read, const EvaluatedDay& day, const ChartLabels& labels)
{
    DayChart chart = Chart(day, "Отклонение частоты за сутки", labels.frequencyAxis);
    const std::vector<MinuteEnvelope> e = Envelopes(read, day, "ac20sdfreq", {"Value"});
    chart.series.push_back({labels.frequencySeries, {}, 20, e[0].Filled()});
    chart.limits = SymmetricLimits(day, "ac20sdfreq");
    return Figure(Cp("Отклонение частоты &Delta;f (20-секундные значения: наименьшее и наибольшее за минуту)"),
                  DayChartSvg(chart));
}

std::string DistortionChart(const SeriesReader& read, const EvaluatedDay& day, const ChartLabels& labels)
{
    DayChart chart = Chart(day, "Коэффициент искажения синусоидальности кривой напряжения за сутки",
                           labels.distortionAxis);
    const std::vector<MinuteEnvelope> e = Envelopes(read, day, "uthd3s", {"L1", "L2", "L3"});
    for (int p = 0; p < 3; ++p)
        chart.series.push_back({Text(kPhaseNames[p]), {}, 3, e[p].Filled()});
    chart.limits = UpperLimitLines(day, "uthd3s");
    chart.includeZero = true;
    return Figure(Cp("Коэффициент искажения синусоидальности кривой напряжения K<sub>U</sub> "
                     "(3-секундные значения: наименьшее и наибольшее за минуту)"),
                  DayChartSvg(chart));
}

std::string UnbalanceChart(const SeriesReader& read, const EvaluatedDay& day, const ChartLabels& labels)
{
    DayChart chart = Chart(day, "Коэффициенты несимметрии напряжений за сутки", Text("Коэффициент несимметрии, %"));
    const std::vector<MinuteEnvelope> k2 = Envelopes(read, day, "u2unbalance3s", {"Value"});
    const std::vector<MinuteEnvelope> k0 = Envelopes(read, day, "u0unbalance3s", {"Value"});
    chart.series.push_back({labels.negativeSeries, {}, 3, k2[0].Filled()});
    chart.series.push_back({labels.zeroSeries, {}, 3, k0[0].Filled()});
    chart.limits = UpperLimitLines(day, "u2unbalance3s");
    chart.includeZero = true;
    return Figure(Cp("Коэффициенты несимметрии напряжений K<sub>2U</sub> и K<sub>0U</sub> "
                     "(3-секундные значения: наименьшее и наибольшее за минуту)"),
                  DayChartSvg(chart));
}

std::string SpectrumCharts(const EvaluatedDay& day, const ChartLabels& labels)
{
    std::string html;
    for (int p = 0; p < 3; ++p) {
        SpectrumChart chart;
        chart.title = Cp("Коэффициенты гармонических составляющих напряжения, ") + Cp(kPhaseNames[p]);
        chart.yLabel = labels.spectrumAxis;
        chart.xLabel = Text("Порядок гармонической составляющей n");
        chart.p95Label = Text("95 %");
        chart.maximumLabel = Text("наибольшее");
        chart.limitLabel = Text("нормально допустимое");
        chart.noDataText = Text("нет данных");
        const StatisticResult* record = ResultOf(day, "harm_u_L" + std::to_string(p + 1) + "_3s", p);
        for (int n = 2; n <= kHighestOrder; ++n) {
            HarmonicBars bars;
            bars.order = n;
            // The bars show the values as the page's table shows them; none
            // for a day without a value, whose table shows 0,00 throughout.
            const size_t at = kSlotsPerOrder * static_cast<size_t>(n - 2);
            if (record && record->FoundValues() && at + 1 < record->slots.size()) {
                bars.p95 = AsShown(record->slots[at].value_or(0.0));
                bars.maximum = AsShown(record->slots[at + 1].value_or(0.0));
            }
            const std::optional<JudgedLimits> limits = record ? record->LimitsFor(n) : std::nullopt;
            if (limits)
                bars.limit = limits->normal;
            chart.orders.push_back(bars);
        }
        html += Figure(Cp("Коэффициенты гармонических составляющих напряжения K<sub>U(n)</sub>, ") +
                           Cp(kPhaseNames[p]),
                       SpectrumChartSvg(chart));
    }
    return html;
}

}  // namespace

std::string DayChartsBlock(const SeriesReader& read, const EvaluatedDay& day, bool symbols)
{
    const ChartLabels labels = LabelsOf(symbols);
    std::string html = VoltageChart(read, day, labels);
    html += FrequencyChart(read, day, labels);
    html += DistortionChart(read, day, labels);
    html += UnbalanceChart(read, day, labels);
    html += SpectrumCharts(day, labels);
    return html;
}

}  // namespace pq
