#include "standard/gost_13109_97.h"

#include <array>

namespace pq {

namespace {

using ClassRow = std::array<double, 4>;

// Normal limits by order (index) and class column; the formula rows hold
// 0.2 + c / n; orders 3 and 9 hold their base entries, halved on lookup.
const std::array<ClassRow, 51>& HarmonicTable()
{
    static const std::array<ClassRow, 51> table = [] {
        std::array<ClassRow, 51> t{};
        for (int n = 12; n <= 50; ++n)
            t[n] = {0.2, 0.2, 0.2, 0.2};
        t[2] = {2.0, 1.5, 1.0, 0.5};
        t[3] = {5.0, 3.0, 3.0, 1.5};
        t[4] = {1.0, 0.7, 0.5, 0.3};
        t[5] = {6.0, 4.0, 3.0, 1.5};
        t[6] = t[8] = t[10] = {0.5, 0.3, 0.3, 0.2};
        t[7] = {5.0, 3.0, 2.5, 1.0};
        t[9] = {1.5, 1.0, 1.0, 0.4};
        t[11] = {3.5, 2.0, 2.0, 1.0};
        t[13] = {3.0, 2.0, 1.5, 0.7};
        t[15] = {0.3, 0.3, 0.3, 0.2};
        t[17] = {2.0, 1.5, 1.0, 0.5};
        t[19] = t[23] = t[25] = {1.5, 1.0, 1.0, 0.4};
        for (int n : {29, 31, 35, 37, 41, 43, 47, 49})
            t[n] = {32.5 / n + 0.2, 20.0 / n + 0.2, 15.0 / n + 0.2, 10.0 / n + 0.2};
        return t;
    }();
    return table;
}

std::optional<SeriesLimits> Limits(const MeasuredSeries& series, int voltageClass, int order)
{
    switch (series.quantity) {
    case Quantity::VoltageDeviation:
        return SeriesLimits{5.0, 10.0};
    case Quantity::FrequencyDeviation:
        return SeriesLimits{0.2, 0.4};
    case Quantity::NegativeSequenceUnbalance:
    case Quantity::ZeroSequenceUnbalance:
        return SeriesLimits{2.0, 4.0};
    case Quantity::HarmonicDistortion:
        return ThdLimits(voltageClass);
    case Quantity::HarmonicCoefficients:
        break;
    }
    const std::optional<double> normal = HarmonicLimit(voltageClass, order);
    if (!normal)
        return std::nullopt;
    return SeriesLimits{*normal, 1.5 * *normal};
}

bool EveryShareJudged(const MeasuredSeries&) { return true; }

}  // namespace

const char* Gost13109ClassName(int voltageClass)
{
    static const char* const names[4] = {"0,38 кВ", "6–20 кВ", "35 кВ", "110–330 кВ"};
    return names[ClassColumn(voltageClass)];
}

SeriesLimits ThdLimits(int voltageClass)
{
    static const SeriesLimits limits[4] = {{8.0, 12.0}, {5.0, 8.0}, {4.0, 6.0}, {2.0, 3.0}};
    return limits[ClassColumn(voltageClass)];
}

std::optional<double> HarmonicLimit(int voltageClass, int order)
{
    if (order < 2 || order > 50)
        return std::nullopt;
    double limit = HarmonicTable()[order][ClassColumn(voltageClass)];
    if (order == 3 || order == 9)
        limit *= 0.5;
    return limit;
}

const Standard& Gost13109()
{
    static const Standard standard("ГОСТ 13109-97", "gost_13109_97", "", TimeShareRule{0.95, 0.05}, Limits,
                                   EveryShareJudged);
    return standard;
}

}  // namespace pq
