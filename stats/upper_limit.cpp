#include "stats/upper_limit.h"

#include <memory>

#include <wx/log.h>

#include "db/transaction.h"
#include "db/value_text.h"
#include "stats/number_text.h"

SampleCounts UpperLimitEvaluation(wxSQLite3Database& db, const std::string& table, const std::string& column,
                                  const Window& window, double minimumCount, const UpperLimits& limits,
                                  std::vector<Number>& slots, size_t base, bool reportLimits, bool& complies)
{
    const double normalLimit = limits.normal;
    const double maximumLimit = limits.maximum;
    const int N = CountValues(db, BuildQuery(QueryShape::Count, table, column, window));
    if (minimumCount > N)
        wxLogMessage("Input is incomplete!\n");

    const int P = ClampedPosition(static_cast<int>(0.95 * N), N);
    // The 95 % value and the largest value from one ordering of the sample.
    const auto positions = [&](ValueStream& values) {
        std::string last;
        int i = 0;
        values.Pass([&](const std::string& text) {
            ++i;
            if (i == P)
                slots[base] = ValueFromText(text);
            last = text;
            return true;
        });
        if (i > 0)
            slots[base + 1] = ValueFromText(last);
    };
    ValueStream values(db, BuildQuery(QueryShape::Ordered, table, column, window));
    positions(values);
    // The pass read every row: it tells whether values stored as text (ordered
    // after the numbers) or infinities (which count as 0) were met.
    const int storedAsText = values.StoredAsText();
    std::unique_ptr<ValueStream> byNumber;
    if (storedAsText > 0 || values.Infinities() > 0) {
        byNumber = StreamByNumber(db, table, column, window);
        slots[base] = slots[base + 1] = std::nullopt;
        positions(*byNumber);
    }

    int aboveNormal = 0, aboveMax = 0, notFinite = 0;
    (byNumber ? *byNumber : values).Pass([&](const std::string& text) {
        const ValueReading reading = ReadValue(text);
        const double v = reading.value;
        notFinite += !reading.finite;
        aboveNormal += v > normalLimit;
        aboveMax += v > maximumLimit;
        return true;
    });
    WarnStoredAsText(table, column, storedAsText);
    WarnNotFinite(table, column, notFinite);

    // An empty window has no shares, and its share test passes.
    if (N > 0) {
        slots[base + 2] = Share(aboveNormal, N);
        slots[base + 3] = Share(aboveMax, N);
    }
    if (reportLimits) {
        slots[base + 4] = SixDecimals(normalLimit);
        slots[base + 5] = SixDecimals(maximumLimit);
    }

    const bool shareFails = N > 0 && static_cast<double>(aboveNormal) / N > 0.05;
    if (shareFails || aboveMax > 0)
        complies = false;
    return {N, notFinite};
}
