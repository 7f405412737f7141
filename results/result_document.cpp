#include "results/result_document.h"

#include <nlohmann/json.hpp>

#include "base/text.h"
#include "model/completeness.h"
#include "model/day_plan.h"
#include "model/quantity_registry.h"
#include "model/not_assessed.h"
#include "model/statistic_values.h"
#include "standard/gost_32144_2013.h"

namespace pq {

using Json = nlohmann::ordered_json;

namespace {

// 2: every document names what it did not assess, and holds the week's
// evaluation by GOST 32144-2013 when the settings ask for it.
const int kFormatVersion = 2;

Json Value(const Number& n) { return n ? Json(*n) : Json(nullptr); }

std::string LocalTime(const wxDateTime& t) { return t.Format("%Y-%m-%dT%H:%M:%S").ToStdString(); }

Json File(const FileFingerprint& f) { return {{"path", f.path}, {"bytes", f.bytes}, {"sha256", f.sha256}}; }

Json Limits(const JudgedLimits& l)
{
    if (l.twoSided)
        return {{"normal", {-l.normal, l.normal}}, {"max", {-l.maximum, l.maximum}}};
    return {{"normal", l.normal}, {"max", l.maximum}};
}

void AddValues(Json& object, const std::vector<NamedValue>& values)
{
    for (const NamedValue& v : values)
        object[v.name] = Value(v.value);
}

Json Statistic(const DayStatistic& s, const StatisticResult& r)
{
    Json j;
    j["quantity"] = QuantityKey(s.quantity());
    j["table"] = s.table();
    j["column"] = s.series->Harmonic() ? Json(nullptr) : Json(s.column);
    const std::optional<std::string> phase = PhaseKey(s);
    j["phase"] = phase ? Json(*phase) : Json(nullptr);
    j["regime"] = RegimeKey(s.regime);
    j["unit"] = s.series->unit;
    j["count"] = r.counts.values;
    j["not_finite"] = r.counts.notFinite;
    j["verdict"] = VerdictKey(r.GetVerdict());
    if (s.series->Harmonic()) {
        Json orders = Json::array();
        for (int n = 2; n <= HighestOrderOf(r); ++n) {
            const std::optional<JudgedLimits> limits = LimitsOf(r, n);
            if (!limits)
                continue;
            Json order{{"order", n}};
            AddValues(order, OrderValues(r, n));
            order["limits"] = Limits(*limits);
            orders.push_back(order);
        }
        j["orders"] = orders;
    } else {
        AddValues(j, StatisticValues(s, r));
        j["limits"] = Limits(*LimitsOf(r));
    }
    return j;
}

Json Verdicts(const ComplianceFlags& flags)
{
    Json j = Json::object();
    for (const QuantityRow& row : QuantityRegistry())
        j[row.key] = VerdictKey(flags.VerdictFor(row.quantity));
    return j;
}

Json CompletenessOf(const std::vector<SampleCounts>& counts, int days)
{
    Json rows = Json::array();
    for (const SeriesCompleteness& s : Completeness(counts, days))
        rows.push_back({{"series", s.Series()}, {"present", s.present}, {"expected", s.expected}});
    return rows;
}

Json Day(const EvaluatedDay& day)
{
    Json periods = Json::array();
    for (size_t i = 0; i < day.begins.size() && i < day.ends.size(); ++i)
        periods.push_back({{"begin", LocalTime(day.begins[i])}, {"end", LocalTime(day.ends[i])}});
    Json statistics = Json::array();
    const std::vector<DayStatistic>& plan = DayPlan();
    for (size_t i = 0; i < plan.size() && i < day.statistics.size(); ++i)
        statistics.push_back(Statistic(plan[i], day.statistics[i]));
    return {{"day", day.number},
            {"begin", LocalTime(day.start)},
            {"end", LocalTime(day.end)},
            {"max_load_periods", periods},
            {"statistics", statistics},
            {"verdicts", Verdicts(day.flags)},
            {"completeness", CompletenessOf(day.Counts(), 1)}};
}

Json ExtremeValue(const Extreme& e) { return e.found ? Json(e.value) : Json(nullptr); }

Json WeekSeriesEntry(const WeekSeries& s)
{
    return {{"quantity", QuantityKey(s.quantity())},
            {"table", s.table()},
            {"column", s.column},
            {"phase", s.phase >= 0 ? Json(PhaseColumn(s.phase)) : Json(nullptr)},
            {"order", s.order > 0 ? Json(s.order) : Json(nullptr)},
            {"count", s.count},
            {"expected", s.expected},
            {"limit_95", Value(s.limit95)},
            {"limit_100", s.limit100},
            {"beyond_95", s.limit95 ? Json(s.beyond95) : Json(nullptr)},
            {"share_95", Value(s.share95)},
            {"beyond_100", s.beyond100},
            {"min", Value(s.minimum)},
            {"max", Value(s.maximum)},
            {"value_95", Value(s.value95)},
            {"verdict", VerdictKey(s.verdict)}};
}

Json WeekSection(const WeekEvaluation& week, const Standard& standard)
{
    Json verdicts = Json::object();
    for (const QuantityRow& row : QuantityRegistry())
        verdicts[row.key] = VerdictKey(week.VerdictFor(row.quantity));
    Json series = Json::array();
    for (const WeekSeries& s : week.series)
        series.push_back(WeekSeriesEntry(s));
    return {{"standard", standard.Name()},
            {"interval_minutes", kIntervalMinutes},
            {"observation",
             {{"begin", LocalTime(week.begin)},
              {"end", LocalTime(week.end)},
              {"days", week.days},
              {"complete_week", week.completeWeek}}},
            {"verdicts", verdicts},
            {"series", series}};
}

}  // namespace

std::string ResultDocument(const ReportHeaderValues& header, const EvaluatedReport& report, const Standard& standard,
                           const Provenance& provenance, const std::vector<std::string>& warnings,
                           const std::optional<WeekEvaluation>& week)
{
    Json doc;
    doc["format"] = "pqreport-result";
    doc["format_version"] = kFormatVersion;
    doc["program"] = {{"name", "pqreport"}, {"version", provenance.programVersion}};
    doc["standard"] = standard.Name();
    doc["inputs"] = {{"settings", File(provenance.settings)},
                     {"database", File(provenance.database)},
                     {"day_template", File(provenance.dayTemplate)},
                     {"title_template", File(provenance.titleTemplate)},
                     {"wal", provenance.wal ? File(*provenance.wal) : Json(nullptr)}};
    if (provenance.weekTemplate)
        doc["inputs"]["week_template"] = File(*provenance.weekTemplate);
    doc["voltage_class"] = header.Unom;
    doc["period"] = {{"begin", LocalTime(report.periodStart)},
                     {"end", LocalTime(report.periodEnd)},
                     {"days", report.dayCount}};
    Json texts = Json::object();
    for (const auto& t : header.texts)
        texts[t.first] = t.second;
    doc["settings_texts"] = texts;
    Json days = Json::array();
    for (const EvaluatedDay& day : report.days)
        days.push_back(Day(day));
    doc["days"] = days;
    const PeriodSummary& s = report.summary;
    doc["summary"] = {{"frequency", {{"min", ExtremeValue(s.frequency.minimum)}, {"max", ExtremeValue(s.frequency.maximum)}}},
                      {"voltage", {{"min", ExtremeValue(s.voltage.minimum)}, {"max", ExtremeValue(s.voltage.maximum)}}},
                      {"verdicts", Verdicts(report.flags)},
                      {"completeness", CompletenessOf(report.PeriodCounts(), report.dayCount)}};
    if (week)
        doc[Gost32144().Key()] = WeekSection(*week, Gost32144());
    Json notAssessed = Json::array();
    for (const Indicator& i : NotAssessedIndicators())
        notAssessed.push_back({{"key", i.key}, {"name", i.name}});
    doc["not_assessed"] = notAssessed;
    doc["warnings"] = warnings;
    // Paths hold the file system's bytes; any that are not UTF-8 are replaced.
    return doc.dump(1, ' ', false, Json::error_handler_t::replace) + "\n";
}

}  // namespace pq
