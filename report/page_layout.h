#pragma once
// Where every value of the two pages stands: the day page's statistics in the
// order they run, with the entries they fill, the fixed entries of both pages,
// and the compliance flags whose verdicts the title page shows.
#include <array>
#include <string>
#include <vector>

#include "settings/header_values.h"
#include "settings/text.h"
#include "stats/extremes.h"
#include "stats/statistic_result.h"
#include "stats/voltage_deviation.h"

const int kValueTableSize = 1000;

// A value table of kValueTableSize entries "A0" .. "A999".
TextList NewValueTable();

// The quantities judged over the period, in the order of their verdicts on
// the title page.
enum class Quantity {
    VoltageDeviation,
    FrequencyDeviation,
    HarmonicDistortion,
    HarmonicCoefficients,
    NegativeSequenceUnbalance,
    ZeroSequenceUnbalance,
};
const int kQuantityCount = 6;

// Two flags per quantity over a run. Complies: true at the start; a statistic
// that finds a day not complying clears it, and nothing sets it again.
// Measured: false at the start; set once a statistic finds a single value.
class ComplianceFlags {
public:
    ComplianceFlags()
    {
        complies_.fill(true);
        measured_.fill(false);
    }
    void Clear(Quantity q) { complies_[static_cast<size_t>(q)] = false; }
    bool operator[](Quantity q) const { return complies_[static_cast<size_t>(q)]; }
    bool Measured(Quantity q) const { return measured_[static_cast<size_t>(q)]; }
    void SetMeasured(Quantity q) { measured_[static_cast<size_t>(q)] = true; }
    // Takes in one statistic's verdict and whether it found values.
    void Add(Quantity q, const StatisticResult& result)
    {
        if (!result.complies)
            Clear(q);
        if (result.FoundValues())
            SetMeasured(q);
    }
    bool operator==(const ComplianceFlags& other) const
    {
        return complies_ == other.complies_ && measured_ == other.measured_;
    }

private:
    std::array<bool, kQuantityCount> complies_;
    std::array<bool, kQuantityCount> measured_;
};

// ---- day page ---------------------------------------------------------------

// Slot s of a statistic's record goes to entry base + pattern[s].
using SlotPattern = std::vector<int>;

enum class StatisticKind { VoltageDeviation, HarmonicDistortion, Unbalance, FrequencyDeviation, Harmonics };

// One daily statistic: what it evaluates, the flag it may clear and where its
// record goes on the day page.
struct DayStatistic {
    StatisticKind kind;
    LoadRegime regime;  // voltage deviation only
    std::string table;
    std::string column;  // a phase column "L1".."L3" or ValueColumn; the harmonic tables hold H2..H40
    int phase;           // the phase of a three-phase series or harmonic table; -1 for single series
    Quantity quantity;
    int base;
    const SlotPattern* pattern;
};

// The 21 daily statistics, in the order they run.
const std::vector<DayStatistic>& DayStatistics();

// The harmonic statistics of L1, L2 and L3, in that order.
std::vector<const DayStatistic*> HarmonicStatistics();

// Day page entries that no statistic fills.
namespace day_entry {
const int kMaker = 0;
const int kObject = 1;      // 1..4: att_Header_0 .. att_Header_3
const int kStartDate = 5;   // the day's first instant "%d.%m.%Y", "%H:%M"
const int kStartTime = 6;
const int kEndDate = 7;     // the day's end
const int kEndTime = 8;
const int kPeriodText = 9;  // the first max-load period "%H:%M - %H:%M"
const int kPeriodRow = 10;  // the row repeated for further periods
}  // namespace day_entry

// ---- title page -------------------------------------------------------------

namespace title_entry {
const int kMaker = 0;
const int kHeader = 1;         // 1..4
const int kLeftHeader = 5;     // 5, 7, .. 13
const int kRightHeader = 6;    // 6, 8, .. 12
const int kApprove = 14;       // 14..16
const int kMain = 17;          // 17..20
const int kFooter = 21;        // 21, 22
const int kPage1_1 = 23;       // 23, 24
const int kPage1_2 = 25;
const int kPage1_3 = 26;       // 26..28
const int kPeriodStart = 29;   // "%d-%m-%Y"
const int kPeriodEnd = 30;     // the day after the last day
const int kPage1_5 = 31;
const int kPage1_6 = 32;       // 32..35
const int kPage1_7 = 36;       // 36..41
const int kFrequencyMin = 42;
const int kFrequencyMax = 43;
const int kVoltageMin = 44;
const int kVoltageMax = 45;
const int kPage1_8 = 46;       // and again at 47
const int kVerdicts = 48;      // 48..53, one per quantity in Quantity order: NoDataWord
                               // when not measured, else CompliesWord or DoesNotComplyWord
}  // namespace title_entry

// What the run computes for the title page after the last day.
struct PeriodSummary {
    Extremes frequency, voltage;
    ComplianceFlags flags;
};

// The title value table.
TextList TitleValues(const ReportHeaderValues& header, const wxDateTime& periodEnd,
                     const PeriodSummary& summary);
