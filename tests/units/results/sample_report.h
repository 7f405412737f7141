#pragma once
// An evaluated report of one day built in memory, for the tests of the files
// written from it: every statistic of the day plan with its record and the
// limits GOST 13109-97 judges it by, and a few whose values matter.
#include <string>
#include <vector>

#include "model/evaluated_report.h"
#include "model/provenance.h"
#include "settings/header_values.h"

namespace pq {

// Indices into DayPlan() of the statistics SampleReport() sets apart.
namespace sample {
const size_t kMaxLoadL1 = 0;   // du1m L1 at max load: -2.5, 3.125, -4.75, 6.5; shares 0, 1.25, 0, 0
const size_t kMaxLoadL2 = 1;   // du1m L2 at max load: no value at all
const size_t kWholeDayL1 = 6;  // du1m L1 over the day: 1438 values, 2 of them no finite numbers
const size_t kThdL1 = 12;      // uthd3s L1: 2, 9.5; shares 5, 0; limits 8 and 12
const size_t kZeroSequence = 15;  // u0unbalance3s: no value at all
const size_t kFrequency = 17;  // ac20sdfreq: -0.25 .. 0.45, does not comply
const size_t kHarmonicsL1 = 18;   // harm_u_L1_3s: order 3 0.5, 1.25; every other order 0
}  // namespace sample

// 1 March 2011, max load 08:00 to 20:00, voltage class 2. Every statistic not
// set apart found a full day of zeros, or half a day for the max-load and
// min-load ones, and complies. The period's frequency ranges from 49.75 to
// 50.45 Hz; no voltage was found.
EvaluatedReport SampleReport();
ReportHeaderValues SampleHeader();
Provenance SampleProvenance();

}  // namespace pq
