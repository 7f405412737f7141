#pragma once
// The week page, week.htm: the evaluation of the observation week by
// GOST 32144-2013, from the template Week.htm. Texts are CP1251 HTML.
#include <string>

#include "base/text.h"
#include "model/week_evaluation.h"
#include "settings/header_values.h"

namespace pq {

// Entries of the week page's value table, in the order the shipped template
// shows them.
namespace week_entry {
const int kObject = 0;        // 0..3: att_Header_0 .. att_Header_3
const int kBegin = 4;         // the period's first instant, "%d.%m.%Y %H:%M"
const int kEnd = 5;           // its end
const int kDays = 6;          // its days
const int kVoltageClass = 7;  // the standard's column of the voltage class: "0,4 кВ", ...
const int kMaker = 8;
}  // namespace week_entry

// The week page's value table.
TextList WeekPageValues(const ReportHeaderValues& header, const WeekEvaluation& week);

// The blocks of the week page's markers: the six verdicts with the limits
// for the voltage class, the table of every series but the harmonic
// coefficients, the table of harmonic orders 2..40 with the three phases side
// by side, and the note on the values judged. A quantity or series that does
// not comply stands out in grey print too.
std::string WeekVerdictsBlock(const WeekEvaluation& week, int voltageClass);
std::string WeekSeriesBlock(const WeekEvaluation& week);
std::string WeekHarmonicsBlock(const WeekEvaluation& week);
std::string WeekNoteBlock(const WeekEvaluation& week);

// A limit with the fewest decimals (one or two) that write it exactly: "0,2", "8,0", "1,05".
std::string LimitText(double limit);

}  // namespace pq
