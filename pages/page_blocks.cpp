#include "pages/page_blocks.h"

#include <algorithm>

#include "base/number_text.h"
#include "base/text.h"
#include "html/escape.h"
#include "model/completeness.h"
#include "model/quantity_registry.h"

namespace pq {

namespace {

std::string Percent(long long present, long long expected)
{
    if (expected <= 0)
        return "&mdash;";
    return FormatNumber("%.1f", present * 100.0 / static_cast<double>(expected));
}

}  // namespace

std::string VerdictCell(Verdict v)
{
    const char* cls = v == Verdict::Complies ? "ok" : v == Verdict::DoesNotComply ? "fail" : "nodata";
    return std::string("<td class=\"") + cls + "\">" + Cp(VerdictMark(v)) + "</td>";
}

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
            html += VerdictCell(q < verdicts.size() && d < verdicts[q].size() ? verdicts[q][d] : Verdict::NoData);
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

std::vector<CompletenessRow> CompletenessRows(const std::vector<SampleCounts>& counts, int days, bool quantityOrder)
{
    std::vector<SeriesCompleteness> series = Completeness(counts, days);
    if (quantityOrder)
        std::stable_sort(series.begin(), series.end(), [](const SeriesCompleteness& a, const SeriesCompleteness& b) {
            return a.statistic->quantity() < b.statistic->quantity();
        });
    std::vector<CompletenessRow> rows;
    for (const SeriesCompleteness& s : series)
        rows.push_back({SeriesLabel(*s.statistic), s.present, s.expected});
    return rows;
}

std::string VerdictsByDayTable(const std::vector<DayVerdicts>& days)
{
    std::vector<std::string> quantities, labels;
    std::vector<std::vector<Verdict>> verdicts(kQuantityCount);
    for (const QuantityRow& row : QuantityRegistry())
        quantities.push_back(Cp(row.pageLabel));
    for (const DayVerdicts& d : days) {
        labels.push_back(d.label);
        for (int q = 0; q < kQuantityCount; ++q) {
            const Quantity quantity = static_cast<Quantity>(q);
            verdicts[q].push_back(d.flags.VerdictFor(quantity));
        }
    }
    return VerdictsByDayTable(quantities, labels, verdicts);
}

namespace {

std::string ProvenanceRow(const std::string& what, const FileFingerprint& file, bool namesOnly)
{
    std::string path = file.path;
    if (namesOnly)
        path = path.substr(path.rfind('/') + 1);
    return "<tr><td class=\"lbl\">" + what + "<br><span class=\"path\">" + HtmlText(PathFromBytes(path.c_str())) +
           "</span></td><td>" + std::to_string(file.bytes) + "</td><td class=\"hash\">" + file.sha256 + "</td></tr>\n";
}

}  // namespace

std::string ProvenanceBlock(const Provenance& p, bool namesOnly)
{
    std::string html = "<table class=\"data provenance\">\n<thead><tr><th class=\"lbl\">" + Cp("Исходный файл") +
                       "</th><th>" + Cp("Размер, байт") + "</th><th>SHA-256</th></tr></thead>\n<tbody>\n";
    html += ProvenanceRow(Cp("База данных измерений"), p.database, namesOnly);
    if (p.wal)
        html += ProvenanceRow(Cp("Журнал упреждающей записи базы данных"), *p.wal, namesOnly);
    html += ProvenanceRow(Cp("Документ настроек"), p.settings, namesOnly);
    html += ProvenanceRow(Cp("Шаблон суточной страницы"), p.dayTemplate, namesOnly);
    html += ProvenanceRow(Cp("Шаблон титульной страницы"), p.titleTemplate, namesOnly);
    if (p.weekTemplate)
        html += ProvenanceRow(Cp("Шаблон недельной страницы"), *p.weekTemplate, namesOnly);
    html += "</tbody>\n</table>\n<p class=\"note\">" + Cp("Отчёт составлен программой pqreport версии ") +
            HtmlText(p.programVersion) +
            Cp(". Повторный расчёт этой версией программы по тем же исходным файлам даёт те же страницы, "
               "байт в байт.") +
            "</p>\n";
    return html;
}

}  // namespace pq
