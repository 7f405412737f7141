#pragma once
// Every measured series the report evaluates: where it is stored, how often
// it is sampled, what it measures, how it is named and the limits it is
// judged against. The statistics, the charts, the completeness block and the
// result document all read their limits and rates from here.
#include <optional>
#include <string>
#include <vector>

#include "stats/day_context.h"
#include "model/quantity.h"

// A normal and a maximum limit: upper limits of a one-sided series; a
// two-sided series lies within -normal..+normal and -maximum..+maximum.
struct SeriesLimits {
    double normal, maximum;
};

struct MeasuredSeries {
    std::string table;
    std::vector<std::string> columns;  // the evaluated value columns
    SeriesRate rate;
    Quantity quantity;
    bool twoSided;
    std::string unit;      // "%" or "Hz"
    std::string unitText;  // the unit as the pages write it (UTF-8)
    std::string label;     // HTML (UTF-8) of the pages
    std::string plainLabel;  // the same without markup (UTF-8)
    std::string rateText;    // the sampling interval as the pages write it (UTF-8)
    // The limits for a voltage class and, in a harmonic table, an order;
    // nothing for an order that is not judged.
    std::optional<SeriesLimits> (*limits)(int voltageClass, int order);

    // One column per harmonic order.
    bool Harmonic() const { return quantity == Quantity::HarmonicCoefficients; }
    // The values a full day holds over all its columns of one statistic: a
    // harmonic table's statistic reads every order, any other one column.
    long long ValuesPerDay() const;
};

// du1m, u1unbalance1m, uthd3s, u0unbalance3s, u2unbalance3s, ac20sdfreq and
// the three harmonic tables of L1, L2, L3.
const std::vector<MeasuredSeries>& MeasuredSeriesTable();

// The row of `table`; throws std::out_of_range when the report reads no such table.
const MeasuredSeries& SeriesOf(const std::string& table);
