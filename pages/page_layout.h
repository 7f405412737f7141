#pragma once
// Where every value of the two pages stands: the entries each daily
// statistic's record fills on the day page, the fixed entries of both pages,
// and the value tables made from the evaluated report.
#include <array>
#include <string>
#include <vector>

#include "base/text.h"
#include "model/day_plan.h"
#include "model/evaluated_report.h"
#include "settings/header_values.h"

namespace pq {

const int kValueTableSize = 1000;

// A value table of kValueTableSize entries "A0" .. "A999".
TextList NewValueTable();

// ---- day page ---------------------------------------------------------------

// Slot s of a statistic's record goes to entry base + pattern[s].
using SlotPattern = std::vector<int>;

struct DayEntries {
    int base;
    const SlotPattern* pattern;
};

// Where the record of a daily statistic goes on the day page.
DayEntries DayEntriesOf(const DayStatistic& statistic);

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

// The record as the day page shows it: "%04.2f" of every slot, 0,00 for a
// slot without a value.
TextList RecordTexts(const StatisticResult& result);

// The day value table of an evaluated day: the texts of every statistic's
// record at its entries, the header texts and the day's dates.
TextList DayValues(const ReportHeaderValues& header, const EvaluatedDay& day);

// The texts of the day's harmonic records of L1, L2 and L3, whose orders 3..40
// fill the numbered rows.
std::array<TextList, 3> HarmonicRecordTexts(const EvaluatedDay& day);

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

// The title value table of the evaluated report.
TextList TitleValues(const ReportHeaderValues& header, const EvaluatedReport& report);

}  // namespace pq
