#include "stats/upper_limit.h"

#include "base/number_text.h"
#include "stats/ordered_sample.h"
#include "stats/sample_passes.h"

namespace pq {

UpperLimitValues UpperLimitEvaluation(SampleSource& source, const SampleColumn& column, const SampleWindow& window,
                                      double minimumCount, const SeriesLimits& limits, const TimeShareRule& rule,
                                      Notes& notes)
{
    UpperLimitValues result;
    // The 95 % value and the largest value from one ordering of the sample.
    const auto extract = [&](OrderedValues& values, int N) {
        const int P = ClampedPosition(static_cast<int>(rule.inside * N), N);
        int i = 0;
        values.Rewind();
        while (values.Next()) {
            ++i;
            if (i == P)
                result.value95 = values.Value().value;
        }
        if (i > 0)
            result.largest = values.Value().value;
    };
    const auto reset = [&result] { result.value95 = result.largest = {}; };
    int aboveNormal = 0, aboveMax = 0;
    const auto test = [&](double v) {
        aboveNormal += v > limits.normal;
        aboveMax += v > limits.maximum;
    };
    result.counts = PassSample(source, column, window, minimumCount, notes, extract, reset, test);

    // An empty window has no shares, and its share test passes.
    const int N = result.counts.values;
    if (N > 0) {
        result.shareAboveNormal = Share(aboveNormal, N);
        result.shareAboveMax = Share(aboveMax, N);
    }
    const bool shareFails = N > 0 && static_cast<double>(aboveNormal) / N > rule.outside;
    result.complies = !(shareFails || aboveMax > 0);
    return result;
}

}  // namespace pq
