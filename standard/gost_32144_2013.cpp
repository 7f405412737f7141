#include "standard/gost_32144_2013.h"

#include <array>

#include "base/number_text.h"

namespace pq {

namespace {

using ClassRow = std::array<double, 4>;

// The 95 % limits by order (index) and class column. Orders 3 and 9 are not
// halved here: that rule is the day pages' standard's.
const std::array<ClassRow, 41>& HarmonicTable()
{
    static const std::array<ClassRow, 41> table = [] {
        std::array<ClassRow, 41> t{};
        for (int n = 12; n <= 40; n += 2)
            t[n] = {0.2, 0.2, 0.2, 0.2};
        t[2] = {2.0, 1.5, 1.0, 0.5};
        t[4] = {1.0, 0.7, 0.5, 0.3};
        t[6] = t[8] = t[10] = {0.5, 0.3, 0.3, 0.2};
        t[3] = {5.0, 3.0, 3.0, 1.5};
        t[9] = {1.5, 1.0, 1.0, 0.4};
        t[15] = {0.3, 0.3, 0.3, 0.2};
        for (int n : {21, 27, 33, 39})
            t[n] = {0.2, 0.2, 0.2, 0.2};
        t[5] = {6.0, 4.0, 3.0, 1.5};
        t[7] = {5.0, 3.0, 2.5, 1.0};
        t[11] = {3.5, 2.0, 2.0, 1.0};
        t[13] = {3.0, 2.0, 1.5, 0.7};
        t[17] = {2.0, 1.5, 1.0, 0.5};
        for (int n : {19, 23, 25, 29, 31, 35, 37})
            t[n] = {1.5, 1.0, 1.0, 0.4};
        return t;
    }();
    return table;
}

// The 100 % limit is 1,5 times the 95 % one, as the decimal the table means
// (1,5 x 0,7 is 1,05, not the binary product just below it).
SeriesLimits WithHundredPercent(double limit) { return {limit, SixDecimals(1.5 * limit)}; }

std::optional<SeriesLimits> Limits(const MeasuredSeries& series, int voltageClass, int order)
{
    static const SeriesLimits distortion[4] = {{8.0, 12.0}, {5.0, 8.0}, {4.0, 6.0}, {2.0, 3.0}};
    switch (series.quantity) {
    case Quantity::VoltageDeviation:
        return SeriesLimits{10.0, 10.0};  // the 100 % limit only: no share is judged
    case Quantity::FrequencyDeviation:
        return SeriesLimits{0.2, 0.4};
    case Quantity::NegativeSequenceUnbalance:
    case Quantity::ZeroSequenceUnbalance:
        return SeriesLimits{2.0, 4.0};
    case Quantity::HarmonicDistortion:
        return distortion[ClassColumn(voltageClass)];
    case Quantity::HarmonicCoefficients:
        break;
    }
    const std::optional<double> limit = WeekHarmonicLimit(voltageClass, order);
    if (!limit)
        return std::nullopt;
    return WithHundredPercent(*limit);
}

// Voltage deviation is judged for 100 % of the values only.
bool ShareJudged(const MeasuredSeries& series) { return series.quantity != Quantity::VoltageDeviation; }

}  // namespace

const char* Gost32144ClassName(int voltageClass)
{
    static const char* const names[4] = {"0,4 кВ", "6–25 кВ", "35 кВ", "110–220 кВ"};
    return names[ClassColumn(voltageClass)];
}

std::optional<double> WeekHarmonicLimit(int voltageClass, int order)
{
    if (order < 2 || order > 40)
        return std::nullopt;
    return HarmonicTable()[order][ClassColumn(voltageClass)];
}

const Standard& Gost32144()
{
    static const Standard standard("ГОСТ 32144-2013", "gost_32144_2013", "32144-2013", TimeShareRule{0.95, 0.05},
                                   Limits, ShareJudged);
    return standard;
}

}  // namespace pq
