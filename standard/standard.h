#pragma once
// A standard the report judges the measurements against: its name, the
// settings word that asks for it, the limits it sets for each measured series
// by voltage class and harmonic order, and its time-share rule.
#include <optional>
#include <string>

#include "model/quantity_registry.h"

namespace pq {

// How much of the time the values must lie within the normal limits: the
// 95 % values bound `inside` of a sample, and a sample complies when no more
// than `outside` of its values lie beyond the normal limits (and none beyond
// the maximum ones). Both as the standard writes them: `outside` is not
// computed from `inside`, whose difference from 1 is no exact 0.05.
struct TimeShareRule {
    double inside;
    double outside;
};

// The column of a standard's tables for a voltage class: 0, 1 and 2 their
// own, any other index the last one, 3.
inline int ClassColumn(int voltageClass) { return (voltageClass >= 0 && voltageClass <= 2) ? voltageClass : 3; }

class Standard {
public:
    // The limits of a series for a voltage class and, in a harmonic table, an
    // order; nothing for an order that is not judged.
    using LimitTable = std::optional<SeriesLimits> (*)(const MeasuredSeries& series, int voltageClass, int order);
    // Whether the share of a series' values beyond its normal limit is
    // judged, or only its values beyond the maximum one.
    using ShareTest = bool (*)(const MeasuredSeries& series);

    Standard(std::string name, std::string key, std::string word, TimeShareRule rule, LimitTable limits,
             ShareTest shareJudged)
        : name_(std::move(name)),
          key_(std::move(key)),
          word_(std::move(word)),
          rule_(rule),
          limits_(limits),
          shareJudged_(shareJudged)
    {
    }

    // As the pages and documents name it (UTF-8): "ГОСТ 13109-97".
    const std::string& Name() const { return name_; }
    // Its key for programs: "gost_13109_97".
    const std::string& Key() const { return key_; }
    // The word of the settings' Evaluate list that asks for it; empty for the
    // standard the day pages always judge by.
    const std::string& Word() const { return word_; }
    const TimeShareRule& Rule() const { return rule_; }
    std::optional<SeriesLimits> Limits(const MeasuredSeries& series, int voltageClass, int order = 0) const
    {
        return limits_(series, voltageClass, order);
    }
    bool ShareJudged(const MeasuredSeries& series) const { return shareJudged_(series); }

private:
    std::string name_;
    std::string key_;
    std::string word_;
    TimeShareRule rule_;
    LimitTable limits_;
    ShareTest shareJudged_;
};

}  // namespace pq
