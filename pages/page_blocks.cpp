#include "pages/page_blocks.h"

#include <wx/log.h>

#include "base/text.h"
#include "stats/number_text.h"

namespace {

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
        // Above 100 %, values at repeated time stamps were counted: as doubtful as missing ones.
        const bool over = r.present > r.expected, off = over || r.present < r.expected;
        html += over ? "<tr class=\"short over\">" : off ? "<tr class=\"short\">" : "<tr>";
        html += "<td class=\"lbl\">" + r.series + "</td><td>" + std::to_string(r.present) + "</td><td>" +
                std::to_string(r.expected) + "</td><td>" + Percent(r.present, r.expected) + (off ? " !" : "") +
                "</td></tr>\n";
    }
    return html + "</tbody>\n</table>\n";
}

std::string VerdictsByDayTable(const std::vector<std::string>& quantities, const std::vector<std::string>& days,
                               const std::vector<std::vector<Verdict>>& verdicts)
{
    std::string html = "<table class=\"data byday\">\n<thead><tr><th class=\"lbl\">" +
                       Cp("Показатель качества") + "</th>";
    for (const std::string& d : days)
        html += "<th>" + d + "</th>";
    html += "</tr></thead>\n<tbody>\n";
    for (size_t q = 0; q < quantities.size(); ++q) {
        html += "<tr><td class=\"lbl\">" + quantities[q] + "</td>";
        for (size_t d = 0; d < days.size(); ++d) {
            const Verdict v = q < verdicts.size() && d < verdicts[q].size() ? verdicts[q][d] : Verdict::NoData;
            switch (v) {
            case Verdict::Complies:
                html += "<td class=\"ok\">+</td>";
                break;
            case Verdict::DoesNotComply:
                html += "<td class=\"fail\">" + Cp("НЕТ") + "</td>";
                break;
            case Verdict::NoData:
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

std::string SeriesLabel(const DayStatistic& s)
{
    const MeasuredSeries& series = *s.series;
    const std::string phase = s.phase >= 0 ? Cp(", ") + Cp(kPhases[s.phase]) : std::string();
    return Cp(series.label.c_str()) + phase + " <span class=\"hint\">" + Cp(series.rateText.c_str()) + "</span>";
}

}  // namespace

std::string SeriesCompleteness::Series() const
{
    return statistic->series->Harmonic() ? statistic->table() : statistic->table() + "." + statistic->column;
}

std::vector<SeriesCompleteness> Completeness(const std::vector<SampleCounts>& counts, int days)
{
    std::vector<SeriesCompleteness> series;
    const std::vector<DayStatistic>& statistics = DayStatistics();
    for (size_t i = 0; i < statistics.size() && i < counts.size(); ++i) {
        const DayStatistic& s = statistics[i];
        // The max-load and min-load statistics split the whole day's values.
        if (s.regime != LoadRegime::WholeDay)
            continue;
        // Values that are no finite numbers were not measured.
        series.push_back({&s, counts[i].values - counts[i].notFinite, s.series->ValuesPerDay() * days});
    }
    return series;
}

std::vector<CompletenessRow> CompletenessRows(const std::vector<SampleCounts>& counts, int days)
{
    std::vector<CompletenessRow> rows;
    for (const SeriesCompleteness& s : Completeness(counts, days))
        rows.push_back({SeriesLabel(*s.statistic), s.present, s.expected});
    return rows;
}

void WarnOfDayGaps(const EvaluatedDay& day)
{
    const wxString name = wxString::Format("Day %d (%s)", day.number, day.start.Format("%d.%m.%Y"));
    bool anyValue = false;
    wxString over;
    for (const SeriesCompleteness& s : Completeness(day.Counts(), 1)) {
        anyValue |= s.present > 0;
        if (s.present > s.expected)
            over += wxString::Format("%s%s (%lld of %lld)", over.empty() ? "" : ", ", s.Series(), s.present,
                                     s.expected);
    }
    if (!anyValue)
        wxLogWarning("%s has no value in any measured series: its page shows 0,00 and its charts are empty.", name);
    if (!over.empty())
        wxLogWarning("%s has more values than a full day holds in %s: values at repeated time stamps all count.",
                     name, over);
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
    std::vector<std::vector<Verdict>> verdicts(kQuantityCount);
    for (int q = 0; q < kQuantityCount; ++q)
        quantities.push_back(Cp(kQuantities[q]));
    for (const DayVerdicts& d : days) {
        labels.push_back(d.label);
        for (int q = 0; q < kQuantityCount; ++q) {
            const Quantity quantity = static_cast<Quantity>(q);
            verdicts[q].push_back(d.flags.VerdictFor(quantity));
        }
    }
    return VerdictsByDayTable(quantities, labels, verdicts);
}

std::string HtmlText(const wxString& text)
{
    std::string html;
    for (wxString::const_iterator it = text.begin(); it != text.end(); ++it) {
        const wxUniChar c = *it;
        switch (c.GetValue()) {
        case '&':
            html += "&amp;";
            continue;
        case '<':
            html += "&lt;";
            continue;
        case '>':
            html += "&gt;";
            continue;
        case '"':
            html += "&quot;";
            continue;
        }
        const std::string byte = CodePageFromWx(wxString(c));
        html += byte.empty() ? "&#" + std::to_string(c.GetValue()) + ";" : byte;
    }
    return html;
}

namespace {

std::string ProvenanceRow(const std::string& what, const FileFingerprint& file)
{
    return "<tr><td class=\"lbl\">" + what + "<br><span class=\"path\">" + HtmlText(PathFromBytes(file.path.c_str())) +
           "</span></td><td>" + std::to_string(file.bytes) + "</td><td class=\"hash\">" + file.sha256 + "</td></tr>\n";
}

}  // namespace

std::string ProvenanceBlock(const Provenance& p)
{
    std::string html = "<table class=\"data provenance\">\n<thead><tr><th class=\"lbl\">" + Cp("Исходный файл") +
                       "</th><th>" + Cp("Размер, байт") + "</th><th>SHA-256</th></tr></thead>\n<tbody>\n";
    html += ProvenanceRow(Cp("База данных измерений"), p.database);
    if (p.wal)
        html += ProvenanceRow(Cp("Журнал упреждающей записи базы данных"), *p.wal);
    html += ProvenanceRow(Cp("Документ настроек"), p.settings);
    html += ProvenanceRow(Cp("Шаблон суточной страницы"), p.dayTemplate);
    html += ProvenanceRow(Cp("Шаблон титульной страницы"), p.titleTemplate);
    html += "</tbody>\n</table>\n<p class=\"note\">" + Cp("Отчёт составлен программой pqreport версии ") +
            HtmlText(p.programVersion) +
            Cp(". Повторный расчёт этой версией программы по тем же исходным файлам даёт те же страницы, "
               "байт в байт.") +
            "</p>\n";
    return html;
}
