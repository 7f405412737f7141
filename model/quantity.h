#pragma once
// The quantities judged over a report period, their verdicts, and the flags
// that carry a verdict from statistic to day to period. What each quantity is
// called and which series measure it is in the registry (quantity_registry.h).
#include <array>
#include <cstddef>

namespace pq {

// In the order of their verdicts on the title page.
enum class Quantity {
    VoltageDeviation,
    FrequencyDeviation,
    HarmonicDistortion,
    HarmonicCoefficients,
    NegativeSequenceUnbalance,
    ZeroSequenceUnbalance,
};
const int kQuantityCount = 6;

// NotEvaluated: a standard that judges only a whole observation interval
// (a week) gives no verdict on a shorter one.
enum class Verdict { Complies, DoesNotComply, NoData, NotEvaluated };

// The one decision behind every verdict a page or a document shows: no data
// without a single measured value, else whether anything failed.
inline Verdict VerdictOf(bool measured, bool complies)
{
    if (!measured)
        return Verdict::NoData;
    return complies ? Verdict::Complies : Verdict::DoesNotComply;
}

// "complies", "does_not_comply", "no_data", "not_evaluated": the verdict's word for programs.
const char* VerdictKey(Verdict v);
// The verdict as the protocol writes it, in UTF-8: "соответствует", "не
// соответствует", "нет данных", "не оценено: интервал наблюдения менее
// недели"; and its mark in the tables of verdicts: "+", "НЕТ", "н/д", "н/о".
const char* VerdictText(Verdict v);
const char* VerdictMark(Verdict v);

// Two flags per quantity, over a day or a run. Complies: true at the start;
// a statistic that finds a day not complying clears it, and nothing sets it
// again. Measured: false at the start; set once a statistic finds a value.
class ComplianceFlags {
public:
    ComplianceFlags()
    {
        complies_.fill(true);
        measured_.fill(false);
    }
    void Clear(Quantity q) { complies_[Index(q)] = false; }
    bool operator[](Quantity q) const { return complies_[Index(q)]; }
    bool Measured(Quantity q) const { return measured_[Index(q)]; }
    void SetMeasured(Quantity q) { measured_[Index(q)] = true; }
    // Takes in one statistic's verdict and whether it found values.
    void Add(Quantity q, bool complies, bool measured)
    {
        if (!complies)
            Clear(q);
        if (measured)
            SetMeasured(q);
    }
    // Takes in the flags of a day (or of any part of the run).
    void Merge(const ComplianceFlags& part)
    {
        for (size_t q = 0; q < complies_.size(); ++q) {
            complies_[q] = complies_[q] && part.complies_[q];
            measured_[q] = measured_[q] || part.measured_[q];
        }
    }
    Verdict VerdictFor(Quantity q) const { return VerdictOf(Measured(q), (*this)[q]); }
    bool operator==(const ComplianceFlags& other) const
    {
        return complies_ == other.complies_ && measured_ == other.measured_;
    }

private:
    static size_t Index(Quantity q) { return static_cast<size_t>(q); }
    std::array<bool, kQuantityCount> complies_;
    std::array<bool, kQuantityCount> measured_;
};

}  // namespace pq
