#pragma once
// What a report evaluates for each day: the daily statistics in the order
// they run, each with the series, column and load regime it evaluates. The
// evaluated day holds their results in this order; where each goes on the
// day page is the page layout's business (pages/page_layout.h).
#include <optional>
#include <string>
#include <vector>

#include "model/quantity_registry.h"

namespace pq {

// The window of a statistic inside its day: the max-load periods, the rest
// of the day, or the whole day.
enum class LoadRegime { MaxLoad, MinLoad, WholeDay };

enum class StatisticKind { VoltageDeviation, HarmonicDistortion, Unbalance, FrequencyDeviation, Harmonics };

struct DayStatistic {
    StatisticKind kind;
    LoadRegime regime;
    const MeasuredSeries* series;
    std::string column;  // a phase column "L1".."L3" or ValueColumn; empty for a harmonic table (H2..H40)
    int phase;           // the phase of a three-phase series or harmonic table; -1 for single series

    const std::string& table() const { return series->table; }
    Quantity quantity() const { return series->quantity; }
};

// The 21 daily statistics, in the order they run.
const std::vector<DayStatistic>& DayPlan();

// Words for programs: "max_load", "min_load", "day".
const char* RegimeKey(LoadRegime r);
// "L1", "L2", "L3", or nothing for a single series.
std::optional<std::string> PhaseKey(const DayStatistic& statistic);

}  // namespace pq
