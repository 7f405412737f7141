#include "model/day_plan.h"

namespace pq {

namespace {

std::vector<DayStatistic> BuildPlan()
{
    using K = StatisticKind;
    std::vector<DayStatistic> s;
    const LoadRegime regimes[3] = {LoadRegime::MaxLoad, LoadRegime::MinLoad, LoadRegime::WholeDay};
    const MeasuredSeries* voltage = &SeriesOf("du1m");
    const MeasuredSeries* single = &SeriesOf("u1unbalance1m");
    // Voltage deviation: per regime the three phases, then the single series
    // in each regime.
    for (const LoadRegime regime : regimes)
        for (int phase = 0; phase < 3; ++phase)
            s.push_back({K::VoltageDeviation, regime, voltage, PhaseColumn(phase), phase});
    for (const LoadRegime regime : regimes)
        s.push_back({K::VoltageDeviation, regime, single, ValueColumn, -1});
    for (int phase = 0; phase < 3; ++phase)
        s.push_back({K::HarmonicDistortion, LoadRegime::WholeDay, &SeriesOf("uthd3s"), PhaseColumn(phase), phase});
    s.push_back({K::Unbalance, LoadRegime::WholeDay, &SeriesOf("u0unbalance3s"), ValueColumn, -1});
    s.push_back({K::Unbalance, LoadRegime::WholeDay, &SeriesOf("u2unbalance3s"), ValueColumn, -1});
    s.push_back({K::FrequencyDeviation, LoadRegime::WholeDay, &SeriesOf("ac20sdfreq"), ValueColumn, -1});
    for (int phase = 0; phase < 3; ++phase)
        s.push_back({K::Harmonics, LoadRegime::WholeDay, &SeriesOf("harm_u_L" + std::to_string(phase + 1) + "_3s"),
                     std::string(), phase});
    return s;
}

}  // namespace

const std::vector<DayStatistic>& DayPlan()
{
    static const std::vector<DayStatistic> plan = BuildPlan();
    return plan;
}

const char* RegimeKey(LoadRegime r)
{
    switch (r) {
    case LoadRegime::MaxLoad:
        return "max_load";
    case LoadRegime::MinLoad:
        return "min_load";
    case LoadRegime::WholeDay:
        break;
    }
    return "day";
}

std::optional<std::string> PhaseKey(const DayStatistic& s)
{
    if (s.phase < 0)
        return std::nullopt;
    return PhaseColumn(s.phase);
}

}  // namespace pq
