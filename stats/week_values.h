#pragma once
// The evaluation of a period's 10-minute values by a standard of such values
// (GOST 32144-2013). The rows of every measured table stream in, a day at a
// time and in time order, and are aggregated as they come: an interval keeps
// its count and sum of squares, the frequency its counters, so that memory
// does not grow with the rows.
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include <wx/datetime.h>

#include "model/week_evaluation.h"
#include "standard/standard.h"

namespace pq {

// One read's rows for the evaluation: seconds after the day's start by the
// clock of the row's time stamp, and the values of the read's columns (NaN
// where a value is missing or no finite number).
using RowSink = std::function<void(long seconds, const std::vector<double>& values)>;

class WeekValues {
public:
    // The period of `days` days from `begin`: intervals [begin + 10 i min,
    // begin + 10 (i + 1) min) of the clock, 144 a day.
    WeekValues(const wxDateTime& begin, int days, const Standard& standard, int voltageClass);

    // The tables the evaluation reads, each with its columns, in the
    // registry's order.
    const std::vector<std::pair<std::string, std::vector<std::string>>>& Tables() const { return tables_; }

    // Where the rows of a read of `table`'s `columns` over day k (0-based) go;
    // nothing when the evaluation does not read that table or has taken its
    // day already. Columns the evaluation does not take are passed over.
    std::optional<RowSink> SinkFor(const std::string& table, const std::vector<std::string>& columns, int day);

    // Whether the day of `table` is still to be read.
    bool Wants(const std::string& table, int day) const;

    // The figures and verdicts of what has been taken.
    WeekEvaluation Evaluate() const;

private:
    struct Interval {
        int count = 0;
        long double sumOfSquares = 0;
    };
    // One series' aggregate: its intervals, or the frequency's counters.
    struct Aggregate {
        WeekSeries series;
        SeriesLimits limits{0, 0};
        bool shareJudged = true;
        bool eachValue = false;  // every value counts (the 20-second frequency), no intervals
        int minimumCount = 0;    // the values an interval must hold to count
        std::vector<Interval> intervals;
        // The frequency's counters.
        long long values = 0, beyond95 = 0, beyond100 = 0;
        double minimum = 0, maximum = 0;

        void Take(long clockSeconds, double value);
    };

    wxDateTime begin_;
    int days_;
    std::vector<long> dayOffsets_;  // clock seconds from the period's begin to each day's start
    std::vector<Aggregate> aggregates_;
    std::vector<std::pair<std::string, std::vector<std::string>>> tables_;
    std::set<std::pair<std::string, int>> taken_;
};

}  // namespace pq
