#include "stats/week_values.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "model/period.h"
#include "settings/date_parsing.h"

namespace pq {

namespace {

const long kIntervalSeconds = kIntervalMinutes * 60L;
const long kIntervalsPerDay = 86400 / kIntervalSeconds;

// Clock seconds from `from` to `to`: the difference of their calendar dates
// and clock times, as the rows' time stamps are compared.
long ClockSeconds(const wxDateTime& from, const wxDateTime& to)
{
    const wxDateTime::Tm a = from.GetTm(), b = to.GetTm();
    const long long days = DaysFromCivil(b.year, static_cast<unsigned>(b.mon + 1), b.mday) -
                           DaysFromCivil(a.year, static_cast<unsigned>(a.mon + 1), a.mday);
    return static_cast<long>(days * 86400 + (b.hour * 3600L + b.min * 60L + b.sec) -
                             (a.hour * 3600L + a.min * 60L + a.sec));
}

// The phase of column `c` of a series: its column's place in a phase series,
// its table's place among the harmonic tables; -1 for a single series.
int PhaseOf(const QuantityRow& row, size_t seriesIndex, size_t column)
{
    const MeasuredSeries& s = row.series[seriesIndex];
    if (s.Harmonic())
        return static_cast<int>(seriesIndex);
    return s.columns.size() == 3 ? static_cast<int>(column) : -1;
}

// The aggregation of an interval's values: the rms of the values, and for the
// voltage deviation the deviation of the interval's rms voltage.
long double Aggregated(Quantity q, long double x) { return q == Quantity::VoltageDeviation ? 1 + x / 100 : x; }

double TenMinuteValue(Quantity q, const long double sumOfSquares, int count)
{
    const long double rms = std::sqrt(sumOfSquares / count);
    return static_cast<double>(q == Quantity::VoltageDeviation ? 100 * (rms - 1) : rms);
}

}  // namespace

WeekValues::WeekValues(const wxDateTime& begin, int days, const Standard& standard, int voltageClass)
    : begin_(begin), days_(std::max(days, 0))
{
    for (int k = 0; k < days_; ++k)
        dayOffsets_.push_back(ClockSeconds(begin, DayStart(begin, k)));
    for (const QuantityRow& row : QuantityRegistry()) {
        for (size_t i = 0; i < row.series.size(); ++i) {
            const MeasuredSeries& s = row.series[i];
            tables_.emplace_back(s.table, s.columns);
            for (size_t c = 0; c < s.columns.size(); ++c) {
                Aggregate a;
                a.series.series = &s;
                a.series.column = s.columns[c];
                a.series.phase = PhaseOf(row, i, c);
                a.series.order = s.Harmonic() ? std::atoi(s.columns[c].c_str() + 1) : 0;
                const std::optional<SeriesLimits> limits = standard.Limits(s, voltageClass, a.series.order);
                if (!limits)
                    continue;
                a.limits = *limits;
                a.shareJudged = standard.ShareJudged(s);
                if (a.shareJudged)
                    a.series.limit95 = limits->normal;
                a.series.limit100 = limits->maximum;
                a.eachValue = s.quantity == Quantity::FrequencyDeviation;
                if (a.eachValue) {
                    a.series.expected = static_cast<long long>(s.rate.perDay) * days_;
                } else {
                    a.series.expected = kIntervalsPerDay * days_;
                    a.minimumCount = s.rate.perMinute * kIntervalMinutes / 2;
                    a.intervals.resize(static_cast<size_t>(a.series.expected));
                }
                aggregates_.push_back(std::move(a));
            }
        }
    }
}

void WeekValues::Aggregate::Take(long clockSeconds, double value)
{
    if (!std::isfinite(value))
        return;
    if (eachValue) {
        minimum = values == 0 ? value : std::min(minimum, value);
        maximum = values == 0 ? value : std::max(maximum, value);
        ++values;
        beyond95 += std::fabs(value) > limits.normal;
        beyond100 += std::fabs(value) > limits.maximum;
        return;
    }
    if (clockSeconds < 0)
        return;
    const size_t at = static_cast<size_t>(clockSeconds / kIntervalSeconds);
    if (at >= intervals.size())
        return;
    const long double x = Aggregated(series.quantity(), value);
    intervals[at].count += 1;
    intervals[at].sumOfSquares += x * x;
}

bool WeekValues::Wants(const std::string& table, int day) const
{
    if (day < 0 || day >= days_ || taken_.count({table, day}))
        return false;
    for (const auto& t : tables_)
        if (t.first == table)
            return true;
    return false;
}

std::optional<RowSink> WeekValues::SinkFor(const std::string& table, const std::vector<std::string>& columns, int day)
{
    if (!Wants(table, day))
        return std::nullopt;
    // Each column of the read to its aggregate; a read that lacks a column
    // the evaluation takes is no read of the table's day for it.
    std::vector<Aggregate*> targets(columns.size(), nullptr);
    size_t wanted = 0, found = 0;
    for (Aggregate& a : aggregates_) {
        if (a.series.table() != table)
            continue;
        ++wanted;
        const auto column = std::find(columns.begin(), columns.end(), a.series.column);
        if (column == columns.end())
            continue;
        targets[static_cast<size_t>(column - columns.begin())] = &a;
        ++found;
    }
    if (found < wanted)
        return std::nullopt;
    taken_.insert({table, day});
    const long offset = dayOffsets_[static_cast<size_t>(day)];
    return RowSink([targets, offset](long seconds, const std::vector<double>& values) {
        for (size_t c = 0; c < values.size() && c < targets.size(); ++c)
            if (targets[c])
                targets[c]->Take(offset + seconds, values[c]);
    });
}

WeekEvaluation WeekValues::Evaluate() const
{
    WeekEvaluation week;
    week.begin = begin_;
    week.end = Period{begin_, days_}.NamedEnd();
    week.days = days_;
    week.completeWeek = days_ == 7;
    std::array<bool, kQuantityCount> failing{}, measured{};
    for (const Aggregate& a : aggregates_) {
        WeekSeries s = a.series;
        std::vector<double> values;
        if (a.eachValue) {
            s.count = a.values;
            s.beyond95 = a.beyond95;
            s.beyond100 = a.beyond100;
            if (a.values > 0) {
                s.minimum = a.minimum;
                s.maximum = a.maximum;
            }
        } else {
            for (const Interval& i : a.intervals)
                if (i.count > 0 && i.count >= a.minimumCount)
                    values.push_back(TenMinuteValue(s.quantity(), i.sumOfSquares, i.count));
            s.count = static_cast<long long>(values.size());
            const bool twoSided = s.series->twoSided;
            for (const double v : values) {
                const double x = twoSided ? std::fabs(v) : v;
                s.beyond95 += a.shareJudged && x > a.limits.normal;
                s.beyond100 += x > a.limits.maximum;
            }
            if (!values.empty()) {
                std::sort(values.begin(), values.end());
                s.minimum = values.front();
                s.maximum = values.back();
                // Position ceil(0.95 N), 1-based, in whole numbers.
                if (!twoSided)
                    s.value95 = values[static_cast<size_t>((95 * s.count + 99) / 100 - 1)];
            }
        }
        if (s.count > 0 && a.shareJudged)
            s.share95 = s.beyond95 * 100.0 / s.count;
        // share_95 <= 5 % in whole numbers: beyond95 * 100 / N <= 5.
        const bool complies = (!a.shareJudged || s.beyond95 * 20 <= s.count) && s.beyond100 == 0;
        s.verdict = s.count == 0 ? Verdict::NoData : complies ? Verdict::Complies : Verdict::DoesNotComply;
        const size_t q = static_cast<size_t>(s.quantity());
        measured[q] = measured[q] || s.count > 0;
        failing[q] = failing[q] || s.verdict == Verdict::DoesNotComply;
        if (!week.completeWeek)
            s.verdict = Verdict::NotEvaluated;
        week.series.push_back(std::move(s));
    }
    for (size_t q = 0; q < week.verdicts.size(); ++q)
        week.verdicts[q] = !week.completeWeek ? Verdict::NotEvaluated
                           : failing[q]       ? Verdict::DoesNotComply
                           : measured[q]      ? Verdict::Complies
                                              : Verdict::NoData;
    return week;
}

}  // namespace pq
