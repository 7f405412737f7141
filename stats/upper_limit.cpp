#include "stats/upper_limit.h"

#include <wx/log.h>

#include "db/transaction.h"
#include "db/value_text.h"
#include "stats/number_text.h"
#include "stats/ordered_sample.h"

SampleCounts UpperLimitEvaluation(wxSQLite3Database& db, const std::string& table, const std::string& column,
                                  const Window& window, double minimumCount, const UpperLimits& limits,
                                  TextList& record, size_t base, bool reportLimits, bool& complies)
{
    const double normalLimit = limits.normal;
    const double maximumLimit = limits.maximum;
    std::string current;
    const int N = CountValues(db, BuildQuery(QueryShape::Count, table, column, window), &current);
    if (minimumCount > N)
        wxLogMessage("Input is incomplete!\n");

    const int P = ClampedPosition(static_cast<int>(0.95 * N), N);
    ValueStream values(db, BuildQuery(QueryShape::Ordered, table, column, window));

    int i = 0;
    values.Pass([&](const std::string& text) {
        ++i;
        current = text;
        if (i == P)
            record[base] = current;
        return true;
    });
    record[base + 1] = current;

    int aboveNormal = 0, aboveMax = 0, notFinite = 0;
    values.Pass([&](const std::string& text) {
        const ValueReading reading = ReadValue(text);
        const double v = reading.value;
        notFinite += !reading.finite;
        aboveNormal += v > normalLimit;
        aboveMax += v > maximumLimit;
        return true;
    });
    WarnNotFinite(table, column, notFinite);

    // An empty window keeps "0" in its share slots and passes the share test.
    if (N > 0) {
        record[base + 2] = FormatNumber("%f", aboveNormal * 100.0 / N);
        record[base + 3] = FormatNumber("%f", aboveMax * 100.0 / N);
    }
    if (reportLimits) {
        record[base + 4] = FormatNumber("%f", normalLimit);
        record[base + 5] = FormatNumber("%f", maximumLimit);
    }

    const bool shareFails = N > 0 && static_cast<double>(aboveNormal) / N > 0.05;
    if (shareFails || aboveMax > 0)
        complies = false;
    return {N, notFinite};
}
