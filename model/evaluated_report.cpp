#include "model/evaluated_report.h"

namespace pq {

std::vector<SampleCounts> EvaluatedDay::Counts() const
{
    std::vector<SampleCounts> counts;
    counts.reserve(statistics.size());
    for (const StatisticResult& s : statistics)
        counts.push_back(s.counts);
    return counts;
}

std::vector<SampleCounts> EvaluatedReport::PeriodCounts() const
{
    std::vector<SampleCounts> counts;
    for (const EvaluatedDay& day : days) {
        counts.resize(day.statistics.size());
        for (size_t i = 0; i < day.statistics.size(); ++i)
            counts[i] += day.statistics[i].counts;
    }
    return counts;
}

}  // namespace pq
