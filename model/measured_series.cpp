#include "model/measured_series.h"

#include <stdexcept>

#include "db/queries.h"
#include "stats/harmonics.h"

long long MeasuredSeries::ValuesPerDay() const
{
    return static_cast<long long>(rate.perDay) * (Harmonic() ? static_cast<long long>(columns.size()) : 1);
}

namespace {

std::optional<SeriesLimits> VoltageLimits(int, int) { return SeriesLimits{5.0, 10.0}; }
std::optional<SeriesLimits> FrequencyLimits(int, int) { return SeriesLimits{0.2, 0.4}; }
std::optional<SeriesLimits> UnbalanceLimits(int, int) { return SeriesLimits{2.0, 4.0}; }

std::optional<SeriesLimits> DistortionLimits(int voltageClass, int)
{
    const UpperLimits limits = ThdLimits(voltageClass);
    return SeriesLimits{limits.normal, limits.maximum};
}

// The maximum permissible coefficient is 1.5 times the normal one.
std::optional<SeriesLimits> HarmonicLimits(int voltageClass, int order)
{
    const std::optional<double> normal = HarmonicLimit(voltageClass, order);
    if (!normal)
        return std::nullopt;
    return SeriesLimits{*normal, 1.5 * *normal};
}

std::vector<std::string> PhaseColumns() { return {PhaseColumn(0), PhaseColumn(1), PhaseColumn(2)}; }

std::vector<std::string> HarmonicColumns()
{
    std::vector<std::string> columns;
    for (int n = 2; n <= kHighestOrder; ++n)
        columns.push_back(HarmonicColumn(n));
    return columns;
}

std::vector<MeasuredSeries> BuildTable()
{
    using Q = Quantity;
    const char* const minute = "1 мин";
    const char* const threeSeconds = "3 с";
    std::vector<MeasuredSeries> t{
        {"du1m", PhaseColumns(), kOneMinuteSeries, Q::VoltageDeviation, true, "%", "%", "&delta;U", "δU", minute,
         VoltageLimits},
        {"u1unbalance1m", {ValueColumn}, kOneMinuteSeries, Q::VoltageDeviation, true, "%", "%",
         "&delta;U, однофазный ряд", "δU, однофазный ряд", minute, VoltageLimits},
        {"uthd3s", PhaseColumns(), kThreeSecondSeries, Q::HarmonicDistortion, false, "%", "%", "K<sub>U</sub>",
         "KU", threeSeconds, DistortionLimits},
        {"u0unbalance3s", {ValueColumn}, kThreeSecondSeries, Q::ZeroSequenceUnbalance, false, "%", "%",
         "K<sub>0U</sub>", "K0U", threeSeconds, UnbalanceLimits},
        {"u2unbalance3s", {ValueColumn}, kThreeSecondSeries, Q::NegativeSequenceUnbalance, false, "%", "%",
         "K<sub>2U</sub>", "K2U", threeSeconds, UnbalanceLimits},
        {"ac20sdfreq", {ValueColumn}, kTwentySecondSeries, Q::FrequencyDeviation, true, "Hz", "Гц", "&Delta;f", "Δf",
         "20 с", FrequencyLimits},
    };
    for (int phase = 0; phase < 3; ++phase)
        t.push_back({"harm_u_L" + std::to_string(phase + 1) + "_3s", HarmonicColumns(), kThreeSecondSeries,
                     Q::HarmonicCoefficients, false, "%", "%", "K<sub>U(n)</sub>, n = 2&hellip;40",
                     "KU(n), n = 2…40", threeSeconds, HarmonicLimits});
    return t;
}

}  // namespace

const std::vector<MeasuredSeries>& MeasuredSeriesTable()
{
    static const std::vector<MeasuredSeries> table = BuildTable();
    return table;
}

const MeasuredSeries& SeriesOf(const std::string& table)
{
    for (const MeasuredSeries& s : MeasuredSeriesTable())
        if (s.table == table)
            return s;
    throw std::out_of_range("no measured series in table " + table);
}
