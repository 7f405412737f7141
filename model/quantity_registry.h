#pragma once
// The registry of what the report judges: one row per quantity, with its
// keys and names wherever it appears and the measured series that measure
// it (where each is stored, how often it is sampled, how it is named). The
// statistics, the pages, the result document, the workbook and the fleet's
// roll-up all take their names, keys and rates from here; the limits are the
// standard's (standard/standard.h).
#include <optional>
#include <string>
#include <vector>

#include "model/quantity.h"

namespace pq {

// The logger's value columns: "L%d" of a zero-based phase index + 1, "H%d" of
// a harmonic order, or the fixed name Value.
std::string PhaseColumn(int phaseIndex);
std::string HarmonicColumn(int order);
extern const char* const ValueColumn;

const int kHighestOrder = 40;  // highest harmonic order evaluated

// How many values a series holds in a full day, and in one minute.
struct SeriesRate {
    int perDay;
    int perMinute;
};
constexpr SeriesRate kOneMinuteSeries{1440, 1};
constexpr SeriesRate kThreeSecondSeries{28800, 20};
constexpr SeriesRate kTwentySecondSeries{4320, 3};

// Fewer values than this in a whole day are noted as incomplete input.
inline double MinimumDayCount(SeriesRate rate, double tolerance)
{
    return rate.perDay - rate.perMinute * tolerance;
}

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
    std::string unit;        // "%" or "Hz"
    std::string unitText;    // the unit as the pages write it (UTF-8)
    std::string label;       // HTML (UTF-8) of the pages
    std::string plainLabel;  // the same without markup (UTF-8)
    std::string rateText;    // the sampling interval as the pages write it (UTF-8)
    std::string rowLabel;    // a single series' row in the workbook's day tables (UTF-8)

    // One column per harmonic order.
    bool Harmonic() const { return quantity == Quantity::HarmonicCoefficients; }
    // The values a full day holds over all its columns of one statistic: a
    // harmonic table's statistic reads every order, any other one column.
    long long ValuesPerDay() const;
};

// One quantity: its keys and names, and the series that measure it.
struct QuantityRow {
    Quantity quantity;
    const char* key;        // in report.json and fleet.json: "voltage_deviation", ...
    const char* pageLabel;  // the title page's verdicts by day (HTML, UTF-8)
    const char* name;       // the full name as the workbook writes it (UTF-8)
    const char* symbol;     // its symbol as the roll-up's column head (HTML, UTF-8)
    const char* brief;      // a short name for the roll-up's legend (UTF-8)
    std::vector<MeasuredSeries> series;
};

// The six quantities, in Quantity order.
const std::vector<QuantityRow>& QuantityRegistry();
const QuantityRow& RowOf(Quantity q);
inline const char* QuantityKey(Quantity q) { return RowOf(q).key; }

// Every measured series of the registry, each once.
const std::vector<MeasuredSeries>& MeasuredSeriesTable();

// The row of `table`; throws std::out_of_range when the report reads no such table.
const MeasuredSeries& SeriesOf(const std::string& table);

}  // namespace pq
