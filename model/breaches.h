#pragma once
// What a day's statistics found beyond their limits: the 95 % values and
// extremes beyond their normal or maximum limits, and the shares of time that
// fail their tests, which decide a day's verdict.
#include <cstddef>
#include <vector>

#include "model/evaluated_report.h"

namespace pq {

struct Breach {
    enum class Figure {
        Value95,       // a 95 % value beyond the normal limit
        Extreme,       // a smallest or largest value beyond the maximum limit
        ShareNormal,   // T1: the share beyond the normal limits above the allowed share
        ShareMaximum,  // T2: a share beyond the maximum limit above 0
    };
    size_t statistic = 0;  // in DayPlan() order
    int order = 0;         // the harmonic order; 0 for any other statistic
    size_t slot = 0;       // in the statistic's record
    Figure figure = Figure::Value95;
    double value = 0;      // the slot's value (a two-sided T1: both sides' shares together)
    double allowed = 0;    // the limit, or the allowed share in per cent

    bool DecidesVerdict() const { return figure == Figure::ShareNormal || figure == Figure::ShareMaximum; }
};

// Every breach of the day's statistics, in DayPlan() order, a record's slots
// in turn. `allowedShare` is the share of values beyond the normal limits that
// a day may have, in per cent (5 for 95 % of the time). A two-sided T1 that
// fails counts once for each side that holds values beyond its limit.
std::vector<Breach> DayBreaches(const EvaluatedDay& day, double allowedShare);

}  // namespace pq
