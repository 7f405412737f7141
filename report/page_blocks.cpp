#include "report/page_blocks.h"

#include "settings/text.h"
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
