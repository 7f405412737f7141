#include "model/completeness.h"

namespace pq {

std::string SeriesCompleteness::Series() const
{
    return statistic->series->Harmonic() ? statistic->table() : statistic->table() + "." + statistic->column;
}

std::vector<SeriesCompleteness> Completeness(const std::vector<SampleCounts>& counts, int days)
{
    std::vector<SeriesCompleteness> series;
    const std::vector<DayStatistic>& plan = DayPlan();
    for (size_t i = 0; i < plan.size() && i < counts.size(); ++i) {
        const DayStatistic& s = plan[i];
        // The max-load and min-load statistics split the whole day's values.
        if (s.regime != LoadRegime::WholeDay)
            continue;
        // Values that are no finite numbers were not measured.
        series.push_back({&s, counts[i].values - counts[i].notFinite, s.series->ValuesPerDay() * days});
    }
    return series;
}

std::vector<wxString> DayGapWarnings(const EvaluatedDay& day)
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
    std::vector<wxString> warnings;
    if (!anyValue)
        warnings.push_back(
            name + " has no value in any measured series: its page shows 0,00 and its charts are empty.");
    if (!over.empty())
        warnings.push_back(name + " has more values than a full day holds in " + over +
                           ": values at repeated time stamps all count.");
    return warnings;
}

}  // namespace pq
