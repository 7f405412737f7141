#include "stats/ordered_sample.h"

#include "base/number_text.h"
#include "stats/sample_passes.h"

namespace pq {

// The window holds 95 % of the sample. Centred when no value lies outside the
// normal limits; otherwise shifted towards the side with more values outside,
// so that those are the ones the window leaves out. Positions are truncated,
// never rounded, and may fall outside 1..N: the reader clamps them.
Positions Window95Positions(int N, int A, int B, const TimeShareRule& rule)
{
    const double inside = rule.inside, outside = rule.outside, half = rule.outside / 2;
    const int S = A + B;
    const auto centred = [N, inside, half] {
        const int p1 = static_cast<int>(half * N);
        return Positions{p1, static_cast<int>(N * inside + p1)};
    };
    if (A == 0 && B == 0)
        return centred();
    int p1;
    if (outside * N >= S) {
        if (A == 0)
            p1 = static_cast<int>((outside * N + B) * 0.5);
        else if (B == 0)
            p1 = static_cast<int>((outside * N - A) * 0.5);
        else
            p1 = static_cast<int>(half * N + (B - A) * 0.5);
        return {p1, static_cast<int>(N * inside + p1)};
    }
    if (S == N)
        return centred();
    if (A == 0)
        return {1, static_cast<int>(N * inside)};
    if (B == 0)
        p1 = static_cast<int>(outside * N);
    else
        p1 = static_cast<int>(outside * N * A / S);
    return {p1, static_cast<int>(N * inside + p1)};
}

int ClampedPosition(int position, int N)
{
    if (N < 1)
        return position;
    return position < 1 ? 1 : (position > N ? N : position);
}

std::vector<Number> TwoSidedValues::Slots() const
{
    return {lower95,          upper95,          smallest,      largest,
            shareBelowNormal, shareAboveNormal, shareBelowMax, shareAboveMax};
}

TwoSidedValues TwoSidedEvaluation(SampleSource& source, const SampleColumn& column, const SampleWindow& window,
                                  double minimumCount, const TwoSidedLimits& limits, const TimeShareRule& rule,
                                  Notes& notes)
{
    TwoSidedValues result;
    // The 95 % values and the extremes from one ordering of the sample.
    const auto extract = [&](OrderedValues& values, int N) {
        // Pre-scan: A values below the lower normal limit, B above the upper one.
        int A = 0, B = 0, i = 0;
        values.Rewind();
        while (values.Next()) {
            ++i;
            const double v = values.Value().value;
            if (v < limits.lowerNormal)
                A = i;
            if (v > limits.upperNormal) {
                B = N - i + 1;
                break;
            }
        }

        const Positions p = Window95Positions(N, A, B, rule);
        const int p1 = ClampedPosition(p.P1, N);
        const int p2 = ClampedPosition(p.P2, N);

        // Extraction: the two 95 % values and the extremes.
        i = 0;
        values.Rewind();
        while (values.Next()) {
            ++i;
            if (i == 1)
                result.smallest = values.Value().value;
            if (i == p1)
                result.lower95 = values.Value().value;
            if (i == p2)
                result.upper95 = values.Value().value;
        }
        if (i > 0)
            result.largest = values.Value().value;
    };
    const auto reset = [&result] { result.lower95 = result.upper95 = result.smallest = result.largest = {}; };
    // Limit counts, each test strict and independent.
    int belowMax = 0, belowNormal = 0, aboveNormal = 0, aboveMax = 0;
    const auto test = [&](double v) {
        belowMax += v < limits.lowerMax;
        belowNormal += v < limits.lowerNormal;
        aboveNormal += v > limits.upperNormal;
        aboveMax += v > limits.upperMax;
    };
    result.counts = PassSample(source, column, window, minimumCount, notes, extract, reset, test);

    // An empty window has no shares, and its share test passes (every
    // count is 0).
    const int N = result.counts.values;
    if (N > 0) {
        result.shareBelowNormal = Share(belowNormal, N);
        result.shareAboveNormal = Share(aboveNormal, N);
        result.shareBelowMax = Share(belowMax, N);
        result.shareAboveMax = Share(aboveMax, N);
    }
    const bool shareFails = N > 0 && static_cast<double>(belowNormal + aboveNormal) / N > rule.outside;
    result.complies = !(shareFails || belowMax > 0 || aboveMax > 0);
    return result;
}

}  // namespace pq
