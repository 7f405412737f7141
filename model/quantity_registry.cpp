#include "model/quantity_registry.h"

#include <stdexcept>

namespace pq {

std::string PhaseColumn(int phaseIndex) { return "L" + std::to_string(phaseIndex + 1); }

std::string HarmonicColumn(int order) { return "H" + std::to_string(order); }

const char* const ValueColumn = "Value";

const char* VerdictKey(Verdict v)
{
    switch (v) {
    case Verdict::Complies:
        return "complies";
    case Verdict::DoesNotComply:
        return "does_not_comply";
    case Verdict::NotEvaluated:
        return "not_evaluated";
    case Verdict::NoData:
        break;
    }
    return "no_data";
}

const char* VerdictText(Verdict v)
{
    switch (v) {
    case Verdict::Complies:
        return "соответствует";
    case Verdict::DoesNotComply:
        return "не соответствует";
    case Verdict::NotEvaluated:
        return "не оценено: интервал наблюдения менее недели";
    case Verdict::NoData:
        break;
    }
    return "нет данных";
}

const char* VerdictMark(Verdict v)
{
    switch (v) {
    case Verdict::Complies:
        return "+";
    case Verdict::DoesNotComply:
        return "НЕТ";
    case Verdict::NotEvaluated:
        return "н/о";
    case Verdict::NoData:
        break;
    }
    return "н/д";
}

long long MeasuredSeries::ValuesPerDay() const
{
    return static_cast<long long>(rate.perDay) * (Harmonic() ? static_cast<long long>(columns.size()) : 1);
}

namespace {

std::vector<std::string> PhaseColumns() { return {PhaseColumn(0), PhaseColumn(1), PhaseColumn(2)}; }

std::vector<std::string> HarmonicColumns()
{
    std::vector<std::string> columns;
    for (int n = 2; n <= kHighestOrder; ++n)
        columns.push_back(HarmonicColumn(n));
    return columns;
}

std::vector<QuantityRow> BuildRegistry()
{
    using Q = Quantity;
    const char* const minute = "1 мин";
    const char* const threeSeconds = "3 с";
    std::vector<MeasuredSeries> harmonics;
    for (int phase = 0; phase < 3; ++phase)
        harmonics.push_back({"harm_u_L" + std::to_string(phase + 1) + "_3s", HarmonicColumns(), kThreeSecondSeries,
                             Q::HarmonicCoefficients, false, "%", "%", "K<sub>U(n)</sub>, n = 2&hellip;40",
                             "KU(n), n = 2…40", threeSeconds, ""});
    std::vector<QuantityRow> rows{
        {Q::VoltageDeviation, "voltage_deviation", "Отклонение напряжения &delta;U<sub>у</sub>",
         "Установившееся отклонение напряжения δUу", "&delta;U<sub>у</sub>", "отклонение напряжения",
         {{"du1m", PhaseColumns(), kOneMinuteSeries, Q::VoltageDeviation, true, "%", "%", "&delta;U", "δU", minute,
           ""},
          {"u1unbalance1m", {ValueColumn}, kOneMinuteSeries, Q::VoltageDeviation, true, "%", "%",
           "&delta;U, однофазный ряд", "δU, однофазный ряд", minute, "U1 (прямая последовательность)"}}},
        {Q::FrequencyDeviation, "frequency_deviation", "Отклонение частоты &Delta;f", "Отклонение частоты Δf",
         "&Delta;f", "отклонение частоты",
         {{"ac20sdfreq", {ValueColumn}, kTwentySecondSeries, Q::FrequencyDeviation, true, "Hz", "Гц", "&Delta;f",
           "Δf", "20 с", "Частота"}}},
        {Q::HarmonicDistortion, "distortion", "Коэффициент искажения синусоидальности K<sub>U</sub>",
         "Коэффициент искажения синусоидальности кривой напряжения KU", "K<sub>U</sub>",
         "коэффициент искажения синусоидальности",
         {{"uthd3s", PhaseColumns(), kThreeSecondSeries, Q::HarmonicDistortion, false, "%", "%", "K<sub>U</sub>",
           "KU", threeSeconds, ""}}},
        {Q::HarmonicCoefficients, "harmonics", "Коэффициенты гармонических составляющих K<sub>U(n)</sub>",
         "Коэффициент n-ой гармонической составляющей напряжения KU(n)", "K<sub>U(n)</sub>",
         "коэффициенты гармонических составляющих", harmonics},
        {Q::NegativeSequenceUnbalance, "unbalance_negative",
         "Коэффициент несимметрии по обратной последовательности K<sub>2U</sub>",
         "Коэффициент несимметрии напряжений по обратной последовательности K2U", "K<sub>2U</sub>",
         "коэффициент несимметрии по обратной последовательности",
         {{"u2unbalance3s", {ValueColumn}, kThreeSecondSeries, Q::NegativeSequenceUnbalance, false, "%", "%",
           "K<sub>2U</sub>", "K2U", threeSeconds, "K2U — по обратной последовательности"}}},
        {Q::ZeroSequenceUnbalance, "unbalance_zero",
         "Коэффициент несимметрии по нулевой последовательности K<sub>0U</sub>",
         "Коэффициент несимметрии напряжений по нулевой последовательности K0U", "K<sub>0U</sub>",
         "коэффициент несимметрии по нулевой последовательности",
         {{"u0unbalance3s", {ValueColumn}, kThreeSecondSeries, Q::ZeroSequenceUnbalance, false, "%", "%",
           "K<sub>0U</sub>", "K0U", threeSeconds, "K0U — по нулевой последовательности"}}},
    };
    // A row for every quantity, in Quantity order, each measured by its own series.
    if (rows.size() != static_cast<size_t>(kQuantityCount))
        throw std::logic_error("the quantity registry does not hold one row per quantity");
    for (size_t q = 0; q < rows.size(); ++q) {
        if (rows[q].quantity != static_cast<Quantity>(q))
            throw std::logic_error(std::string("the quantity registry's row ") + rows[q].key + " is out of order");
        for (const MeasuredSeries& s : rows[q].series)
            if (s.quantity != rows[q].quantity)
                throw std::logic_error("the series " + s.table + " measures another quantity than its row's");
    }
    return rows;
}

}  // namespace

const std::vector<QuantityRow>& QuantityRegistry()
{
    static const std::vector<QuantityRow> rows = BuildRegistry();
    return rows;
}

const QuantityRow& RowOf(Quantity q) { return QuantityRegistry().at(static_cast<size_t>(q)); }

const std::vector<MeasuredSeries>& MeasuredSeriesTable()
{
    static const std::vector<MeasuredSeries> table = [] {
        std::vector<MeasuredSeries> all;
        for (const QuantityRow& row : QuantityRegistry())
            all.insert(all.end(), row.series.begin(), row.series.end());
        return all;
    }();
    return table;
}

const MeasuredSeries& SeriesOf(const std::string& table)
{
    for (const MeasuredSeries& s : MeasuredSeriesTable())
        if (s.table == table)
            return s;
    throw std::out_of_range("no measured series in table " + table);
}

}  // namespace pq
