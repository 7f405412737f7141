#pragma once
// The evaluation of an observation week by a standard of 10-minute values
// (GOST 32144-2013): every series' counted values, the figures taken from
// them and the verdicts.
#include <array>
#include <string>
#include <vector>

#include <wx/datetime.h>

#include "model/quantity_registry.h"
#include "model/statistic_result.h"

namespace pq {

// One judged series: a column of a measured table, for a harmonic table one
// phase and order.
struct WeekSeries {
    const MeasuredSeries* series = nullptr;
    std::string column;  // "L1".."L3", "Value" or "H2".."H40"
    int phase = -1;      // 0..2 for a phase column or harmonic table, -1 for a single series
    int order = 0;       // the harmonic order, 0 for any other series

    long long count = 0;     // the counted values N: 10-minute values, or every 20-second frequency value
    long long expected = 0;  // what a complete period holds
    Number limit95;          // none where only the 100 % limit is judged
    double limit100 = 0;
    long long beyond95 = 0;  // values beyond limit95 (|x| for the frequency); 0 without it
    long long beyond100 = 0; // values beyond limit100 (|x| for the frequency and the voltage)
    Number share95;          // beyond95 * 100 / N; none for N = 0 or without limit95
    Number minimum, maximum;
    Number value95;          // the value at position ceil(0.95 N) of the ascending values, one-sided series only
    Verdict verdict = Verdict::NoData;

    Quantity quantity() const { return series->quantity; }
    const std::string& table() const { return series->table; }
};

struct WeekEvaluation {
    wxDateTime begin, end;  // the observation interval: the report's period
    int days = 0;
    bool completeWeek = false;  // a period of exactly 7 days: only then are verdicts given
    std::vector<WeekSeries> series;               // in the registry's order, harmonics by phase, then order
    std::array<Verdict, kQuantityCount> verdicts;  // in Quantity order

    Verdict VerdictFor(Quantity q) const { return verdicts[static_cast<size_t>(q)]; }
};

// The minutes of one interval.
const int kIntervalMinutes = 10;

}  // namespace pq
