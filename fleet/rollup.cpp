#include "fleet/rollup.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <optional>

#include <wx/filename.h>

#include "base/text.h"
#include "html/escape.h"
#include "model/period.h"
#include "model/quantity_registry.h"

namespace pq {

namespace {

using Json = nlohmann::ordered_json;

const int kFormatVersion = 2;  // 2: with each report's verdicts by GOST 32144-2013

const Json* Verdicts(const FleetRun& run)
{
    if (!run.result)
        return nullptr;
    const Json& summary = (*run.result)["summary"];
    const auto verdicts = summary.find("verdicts");
    return verdicts != summary.end() && verdicts->is_object() ? &*verdicts : nullptr;
}

// The verdicts of the report's evaluation by GOST 32144-2013; null when it has none.
const Json* WeekVerdicts(const FleetRun& run)
{
    if (!run.result)
        return nullptr;
    const auto week = run.result->find("gost_32144_2013");
    if (week == run.result->end() || !week->is_object())
        return nullptr;
    const auto verdicts = week->find("verdicts");
    return verdicts != week->end() && verdicts->is_object() ? &*verdicts : nullptr;
}

std::string KeyOf(const Json* verdicts, const char* key)
{
    if (!verdicts)
        return std::string();
    const auto v = verdicts->find(key);
    return v != verdicts->end() && v->is_string() ? v->get<std::string>() : std::string();
}

std::string VerdictOf(const FleetRun& run, const char* key) { return KeyOf(Verdicts(run), key); }

std::string LocalTime(const wxDateTime& t) { return t.Format("%Y-%m-%dT%H:%M:%S").ToStdString(); }

std::optional<wxDateTime> PeriodEnd(const FleetDocument& d)
{
    if (!d.begin.IsValid())
        return std::nullopt;
    return Period{d.begin, d.days}.NamedEnd();
}

// A link from `outDir` to `target` (both absolute), percent-encoded.
std::string Href(const std::string& target, const std::string& outDir)
{
    wxFileName name(PathFromBytes(target.c_str()));
    name.MakeRelativeTo(PathFromBytes(outDir.c_str()));
    const std::string path = FileSystemPath(name.GetFullPath(wxPATH_UNIX));
    std::string href;
    for (unsigned char c : path) {
        if (std::isalnum(c) || c == '/' || c == '.' || c == '-' || c == '_' || c == '~') {
            href += static_cast<char>(c);
        } else {
            char hex[4];
            std::snprintf(hex, sizeof hex, "%%%02X", c);
            href += hex;
        }
    }
    return href;
}

std::string PeriodCell(const FleetDocument& d)
{
    const std::optional<wxDateTime> end = PeriodEnd(d);
    if (!end)
        return "&mdash;";
    const bool midnight = d.begin.GetHour() == 0 && d.begin.GetMinute() == 0 && d.begin.GetSecond() == 0;
    const char* format = midnight ? "%d.%m.%Y" : "%d.%m.%Y %H:%M";
    std::string text = d.begin.Format(format).ToStdString();
    if (d.days > 1 || !midnight) {
        const wxDateTime last = midnight ? *end - wxDateSpan::Day() : *end;
        text += " &ndash; " + last.Format(format).ToStdString();
    }
    return text;
}

// The lowest completeness of the period's series, in per cent as the
// completeness block writes it ("!" when values are missing).
std::string LowestCompleteness(const FleetRun& run)
{
    if (!run.result)
        return "&mdash;";
    const Json& summary = (*run.result)["summary"];
    const auto rows = summary.find("completeness");
    if (rows == summary.end() || !rows->is_array())
        return "&mdash;";
    std::optional<double> lowest;
    bool missing = false;
    for (const Json& row : *rows) {
        const auto present = row.find("present"), expected = row.find("expected");
        if (present == row.end() || expected == row.end() || !present->is_number() || !expected->is_number())
            continue;
        const double p = present->get<double>(), e = expected->get<double>();
        if (e <= 0)
            continue;
        missing |= p < e;
        if (!lowest || p / e < *lowest)
            lowest = p / e;
    }
    if (!lowest)
        return "&mdash;";
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", *lowest * 100.0);
    std::string shown = text;
    std::replace(shown.begin(), shown.end(), '.', ',');
    return shown + (missing ? " !" : "");
}

std::string MarkCell(const std::string& verdict)
{
    if (verdict == "complies")
        return "<td class=\"ok\">+</td>";
    if (verdict == "does_not_comply")
        return "<td class=\"fail\">НЕТ</td>";
    if (verdict == "no_data")
        return "<td class=\"nodata\">н/д</td>";
    if (verdict == "not_evaluated")
        return "<td class=\"nodata\">н/о</td>";
    return "<td class=\"none\"></td>";
}

const char* const kStyle = R"(@page { size: A4 portrait; margin: 15mm 10mm 15mm 15mm; }
body { margin: 0; color: #000; font-family: "Times New Roman", "Liberation Serif", "DejaVu Serif", Times, serif;
       font-size: 10pt; line-height: 1.25; }
h1 { font-size: 14pt; margin: 0 0 2mm; }
p { margin: 0 0 2mm; }
p.counts { font-size: 11pt; }
table.fleet { width: 100%; border-collapse: collapse; font-size: 8.5pt; }
table.fleet th, table.fleet td { border: 0.75pt solid #000; padding: 0.6mm 1.2mm; vertical-align: middle; text-align: center; }
table.fleet thead { display: table-header-group; }
table.fleet th { font-weight: normal; background: #e9edf2; -webkit-print-color-adjust: exact; print-color-adjust: exact; }
table.fleet tbody { break-inside: avoid; page-break-inside: avoid; }
table.fleet tbody + tbody { border-top: 1.5pt solid #000; }
table.fleet tr { break-inside: avoid; page-break-inside: avoid; }
table.fleet td.site, table.fleet td.outcome { text-align: left; }
table.fleet td.site { width: 24%; }
table.fleet td.outcome { width: 22%; }
table.fleet td.period { white-space: nowrap; }
table.fleet td.outcome { word-break: break-word; }
table.fleet td.failed { font-weight: bold; }
table.fleet td.fail { font-weight: bold; color: #fff; background: #404040; -webkit-print-color-adjust: exact; print-color-adjust: exact; }
table.fleet td.nodata { font-style: italic; color: #333; background: #ececec; -webkit-print-color-adjust: exact; print-color-adjust: exact; }
table.fleet td.links { white-space: nowrap; text-align: left; }
.path { font-size: 7pt; color: #333; word-break: break-all; }
p.note { margin-top: 3mm; font-size: 8pt; color: #333; }
a { color: #000; }
)";

}  // namespace

FleetCounts CountRuns(const std::vector<FleetRun>& runs)
{
    FleetCounts counts;
    for (const FleetRun& run : runs) {
        ++counts.reports;
        if (!run.outcome.ok) {
            ++counts.failed;
            continue;
        }
        bool all = true, some = false;
        for (const QuantityRow& q : QuantityRegistry()) {
            const std::string v = VerdictOf(run, q.key);
            all &= v == "complies";
            some |= v == "does_not_comply";
        }
        counts.complying += all;
        counts.notComplying += some;
    }
    return counts;
}

std::string CountsLine(const FleetCounts& c)
{
    return "Reports: " + std::to_string(c.reports) + "; complying in all six quantities: " +
           std::to_string(c.complying) + "; not complying: " + std::to_string(c.notComplying) +
           "; failed runs: " + std::to_string(c.failed) + ".";
}

std::string FleetJson(const std::vector<FleetRun>& runs)
{
    Json list = Json::array();
    for (const FleetRun& run : runs) {
        const FleetDocument& d = run.document;
        Json site = Json::object();
        for (const auto& text : d.site)
            site[text.first] = text.second;
        Json period = nullptr;
        if (const std::optional<wxDateTime> end = PeriodEnd(d))
            period = {{"begin", LocalTime(d.begin)}, {"end", LocalTime(*end)}, {"days", d.days}};
        Json r;
        r["settings"] = d.path;
        r["log"] = "logs/" + run.logName + ".err";
        r["host"] = run.record ? Json(run.record->host) : Json(nullptr);
        r["exit_status"] = run.record && run.record->signal == 0 ? Json(run.record->exitStatus) : Json(nullptr);
        r["outcome"] = run.outcome.text;
        r["report"] = run.result ? Json(d.ReportJson()) : Json(nullptr);
        r["title_page"] = run.result ? Json(d.TitlePage()) : Json(nullptr);
        r["site"] = site;
        r["period"] = period;
        r["summary"] = run.result ? (*run.result)["summary"] : Json(nullptr);
        const Json* week = WeekVerdicts(run);
        r["gost_32144_2013"] = week ? Json{{"verdicts", *week}} : Json(nullptr);
        list.push_back(std::move(r));
    }
    Json doc;
    doc["format"] = "pqreport-fleet";
    doc["format_version"] = kFormatVersion;
    doc["runs"] = std::move(list);
    // Paths that are not UTF-8 keep their bytes' meaning as U+FFFD, not an exception.
    return doc.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
}

std::string RollupPage(const std::vector<FleetRun>& runs, const std::string& outDir)
{
    // Grouped by site, by period within a site, then in command-line order.
    std::vector<const FleetRun*> order;
    for (const FleetRun& run : runs)
        order.push_back(&run);
    std::stable_sort(order.begin(), order.end(), [](const FleetRun* a, const FleetRun* b) {
        const std::string sa = a->document.SiteName(), sb = b->document.SiteName();
        if (sa != sb)
            return sa < sb;
        const wxDateTime &ba = a->document.begin, &bb = b->document.begin;
        if (ba.IsValid() != bb.IsValid())
            return ba.IsValid();
        return ba.IsValid() && ba.IsEarlierThan(bb);
    });

    const FleetCounts c = CountRuns(runs);
    std::string html =
        "<!DOCTYPE html>\n<html lang=\"ru\">\n<head>\n<meta charset=\"utf-8\">\n"
        "<title>Сводка по объектам</title>\n<style>\n" +
        std::string(kStyle) + "</style>\n</head>\n<body>\n<h1>Сводка испытаний качества электрической энергии</h1>\n";
    html += "<p class=\"counts\">Отчётов: " + std::to_string(c.reports) +
            "; соответствуют по всем шести показателям: " + std::to_string(c.complying) +
            "; не соответствуют: " + std::to_string(c.notComplying) +
            "; прогонов с ошибкой: " + std::to_string(c.failed) + ".</p>\n";
    // The verdicts by GOST 32144-2013 have columns of their own when a report has them.
    bool weeks = false;
    for (const FleetRun& run : runs)
        weeks = weeks || WeekVerdicts(run);
    html += "<table class=\"fleet\">\n<thead><tr>";
    if (weeks) {
        const std::string six = std::to_string(QuantityRegistry().size());
        html += "<th rowspan=\"2\">Объект</th><th rowspan=\"2\">Период</th><th colspan=\"" + six +
                "\">ГОСТ 13109-97</th><th colspan=\"" + six +
                "\">ГОСТ 32144-2013</th><th rowspan=\"2\">Наименьшая полнота, %</th><th rowspan=\"2\">Итог "
                "прогона</th><th rowspan=\"2\">Файлы</th></tr>\n<tr>";
        for (int standard = 0; standard < 2; ++standard)
            for (const QuantityRow& q : QuantityRegistry())
                html += "<th>" + std::string(q.symbol) + "</th>";
        html += "</tr></thead>\n";
    } else {
        html += "<th>Объект</th><th>Период</th>";
        for (const QuantityRow& q : QuantityRegistry())
            html += "<th>" + std::string(q.symbol) + "</th>";
        html += "<th>Наименьшая полнота, %</th><th>Итог прогона</th><th>Файлы</th></tr></thead>\n";
    }

    // One table body per site, so that a site's rows stay together on paper.
    std::optional<std::string> group;
    for (const FleetRun* run : order) {
        const FleetDocument& d = run->document;
        const std::string site = d.SiteName();
        if (group != site)
            html += std::string(group ? "</tbody>\n" : "") + "<tbody>\n";
        group = site;
        html += "<tr><td class=\"site\">" + (site.empty() ? std::string("&mdash;") : EscapeHtml(site)) +
                "<br><span class=\"path\">" + EscapeHtml(d.path) + "</span></td>";
        html += "<td class=\"period\">" + PeriodCell(d) + "</td>";
        for (const QuantityRow& q : QuantityRegistry())
            html += MarkCell(VerdictOf(*run, q.key));
        if (weeks)
            for (const QuantityRow& q : QuantityRegistry())
                html += MarkCell(KeyOf(WeekVerdicts(*run), q.key));
        html += "<td>" + LowestCompleteness(*run) + "</td>";
        html += std::string("<td class=\"outcome") + (run->outcome.ok ? "" : " failed") + "\">" +
                EscapeHtml(run->outcome.text) + "</td>";
        html += "<td class=\"links\">";
        if (run->result)
            html += "<a href=\"" + Href(d.TitlePage(), outDir) + "\">титульный лист</a><br><a href=\"" +
                    Href(d.ReportJson(), outDir) + "\">report.json</a><br>";
        html += "<a href=\"" + Href(outDir + "/logs/" + run->logName + ".err", outDir) + "\">журнал</a></td></tr>\n";
    }
    if (group)
        html += "</tbody>\n";
    html += "</table>\n<p class=\"note\">+ &mdash; соответствует; НЕТ &mdash; не соответствует; н/д &mdash; "
            "нет данных";
    html += weeks ? "; н/о &mdash; не оценено (интервал наблюдения менее недели). " : ". ";
    for (const QuantityRow& q : QuantityRegistry())
        html += std::string(q.symbol) + " &mdash; " + q.brief + (&q == &QuantityRegistry().back() ? ". " : "; ");
    html += "Полнота &mdash; наименьшая за период доля полученных значений среди рядов измерений "
            "(&laquo;!&raquo; &mdash; часть значений отсутствует).</p>\n</body>\n</html>\n";
    return html;
}

}  // namespace pq
