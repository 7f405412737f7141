#pragma once
// The skeleton of every evaluation of an ordered sample: the one- and the
// two-sided evaluation differ only in what they take from the ordered values
// and how they test each value against their limits.
#include <memory>

#include "model/notes.h"
#include "model/statistic_result.h"
#include "stats/sample_source.h"

namespace pq {

// One warning naming table.column and how many of its values are no finite
// numbers; nothing when there are none.
void WarnNotFinite(Notes& notes, const SampleColumn& column, int notFinite);

// One warning naming table.column and how many of its values in the window
// are stored as text (or BLOB); nothing when there are none.
void WarnStoredAsText(Notes& notes, const SampleColumn& column, int storedAsText);

// The steps, in this order:
//  1. the count N, and the note of an incomplete window when N is below
//     `minimumCount`;
//  2. extract(values, N) over the values in the source's order; when that
//     order was not the numbers' (values stored as text, which the source
//     orders after every number, or infinities, which count as 0), reset()
//     and extract() again over the values in the order of their numbers;
//  3. test(value) for every value, in one more pass over the ordering the
//     extraction kept (a value that is no finite number tests as 0);
//  4. the warnings of values stored as text and of values not finite.
template <class Extract, class Reset, class Test>
SampleCounts PassSample(SampleSource& source, const SampleColumn& column, const SampleWindow& window,
                        double minimumCount, Notes& notes, Extract extract, Reset reset, Test test)
{
    const int N = source.Count(column, window);
    if (minimumCount > N)
        notes.Incomplete();

    const std::unique_ptr<OrderedValues> values = source.Ordered(column, window, false);
    extract(*values, N);
    // The extraction read every value, so its pass tells whether the order
    // was that of the numbers as read.
    const int storedAsText = values->StoredAsText();
    std::unique_ptr<OrderedValues> byNumber;
    if (storedAsText > 0 || values->Infinities() > 0) {
        byNumber = source.Ordered(column, window, true);
        reset();
        extract(*byNumber, N);
    }

    OrderedValues& kept = byNumber ? *byNumber : *values;
    int notFinite = 0;
    kept.Rewind();
    while (kept.Next()) {
        const ValueReading reading = kept.Value();
        notFinite += !reading.finite;
        test(reading.value);
    }
    WarnStoredAsText(notes, column, storedAsText);
    WarnNotFinite(notes, column, notFinite);
    return {N, notFinite};
}

}  // namespace pq
