// The faults that the options put on chosen days: a voltage sag, a THD
// excess and missing minutes. (The NULL cells are LeaveNull in the header.)
#include "tools/sample_db_internal.h"

namespace sampledb::internal {

namespace {

// Offsets from the day's start of the fault periods, in seconds.
const int kUndervoltageFrom = 10 * 3600, kUndervoltageTo = 12 * 3600 + 10 * 60;
const int kSagFrom = 14 * 3600 + 20 * 60, kSagTo = 14 * 3600 + 28 * 60;
const int kThdFrom = 17 * 3600, kThdTo = 20 * 3600;
const int kThdBursts[3] = {17 * 3600 + 30 * 60, 18 * 3600 + 30 * 60, 19 * 3600 + 30 * 60};
// Minute of the day from which --missing-minutes drops (earlier when the
// minutes would run past the day's end).
const int kMissingFromMinute = 10 * 60;

}  // namespace

MissingMinutes::MissingMinutes(const Options& options, int day)
    : on_(options.missingMinutes > 0 && options.missingDay == day + 1),
      from_(std::min(kMissingFromMinute, 1440 - options.missingMinutes)),
      count_(options.missingMinutes)
{
}

double SagDayVoltage(Rng& rng, int t, int phase, double common, double v)
{
    static const double sagDepth[3] = {-15.0, -19.0, -13.0};
    if (In(t, kUndervoltageFrom, kUndervoltageTo))
        v = std::min(-5.2, -6.6 + 0.5 * common + 0.3 * rng.Gauss());
    if (In(t, kSagFrom, kSagTo))
        v = std::min(-11.0, sagDepth[phase] + 0.5 * rng.Gauss());
    return v;
}

void ThdFault(const ClassLevels& levels, Rng& rng, int t, double* thd)
{
    if (!In(t, kThdFrom, kThdTo))
        return;
    bool burst = false;
    for (int from : kThdBursts)
        burst |= In(t, from, from + 60);
    for (int p = 0; p < 3; ++p) {
        const double v = burst ? levels.thdMaximum * (1.03 + 0.1 * rng.Uniform())
                               : levels.thdNormal * (1.05 + 0.25 * rng.Uniform());
        thd[p] = Round(v, 100);
    }
}

}  // namespace sampledb::internal
