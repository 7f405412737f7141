#include "stats/ordered_sample.h"

#include <memory>

#include <wx/log.h>

#include "db/transaction.h"
#include "db/value_text.h"
#include "stats/number_text.h"

// The window holds 95 % of the sample. Centred when no value lies outside the
// normal limits; otherwise shifted towards the side with more values outside,
// so that those are the ones the window leaves out. Positions are truncated,
// never rounded, and may fall outside 1..N: the reader clamps them.
Positions Window95Positions(int N, int A, int B)
{
    const int S = A + B;
    const auto centred = [N] {
        const int p1 = static_cast<int>(0.025 * N);
        return Positions{p1, static_cast<int>(N * 0.95 + p1)};
    };
    if (A == 0 && B == 0)
        return centred();
    int p1;
    if (0.05 * N >= S) {
        if (A == 0)
            p1 = static_cast<int>((0.05 * N + B) * 0.5);
        else if (B == 0)
            p1 = static_cast<int>((0.05 * N - A) * 0.5);
        else
            p1 = static_cast<int>(0.025 * N + (B - A) * 0.5);
        return {p1, static_cast<int>(N * 0.95 + p1)};
    }
    if (S == N)
        return centred();
    if (A == 0)
        return {1, static_cast<int>(N * 0.95)};
    if (B == 0)
        p1 = static_cast<int>(0.05 * N);
    else
        p1 = static_cast<int>(0.05 * N * A / S);
    return {p1, static_cast<int>(N * 0.95 + p1)};
}

int CountValues(wxSQLite3Database& db, const std::string& sql)
{
    return static_cast<int>(CountFromText(SingleText(db, sql, "0")));
}

int ClampedPosition(int position, int N)
{
    if (N < 1)
        return position;
    return position < 1 ? 1 : (position > N ? N : position);
}

void WarnNotFinite(const std::string& table, const std::string& column, int notFinite)
{
    if (notFinite == 1)
        wxLogWarning("%s.%s: 1 value is not a finite number and counts as 0.", table, column);
    else if (notFinite > 1)
        wxLogWarning("%s.%s: %d values are not finite numbers and count as 0.", table, column, notFinite);
}

void WarnStoredAsText(const std::string& table, const std::string& column, int storedAsText)
{
    if (storedAsText == 1)
        wxLogWarning("%s.%s: 1 value is stored as text; the values are taken in the order of their numbers.", table,
                     column);
    else if (storedAsText > 1)
        wxLogWarning("%s.%s: %d values are stored as text; the values are taken in the order of their numbers.",
                     table, column, storedAsText);
}

std::unique_ptr<ValueStream> StreamByNumber(wxSQLite3Database& db, const std::string& table,
                                            const std::string& column, const Window& window)
{
    RegisterNumberFunction(db);
    return std::make_unique<ValueStream>(db, BuildQuery(QueryShape::OrderedByNumber, table, column, window));
}

SampleCounts TwoSidedEvaluation(wxSQLite3Database& db, const std::string& table, const std::string& column,
                                const Window& window, double minimumCount, const TwoSidedLimits& limits,
                                std::vector<Number>& slots, bool& complies)
{
    const int N = CountValues(db, BuildQuery(QueryShape::Count, table, column, window));
    if (minimumCount > N)
        wxLogMessage("Input is incomplete!\n");

    // The 95 % values and the extremes from one ordering of the sample.
    const auto positionsAndExtremes = [&](ValueStream& values) {
        // Pre-scan: A values below the lower normal limit, B above the upper one.
        int A = 0, B = 0, i = 0;
        values.Pass([&](const std::string& text) {
            ++i;
            const double v = ValueFromText(text);
            if (v < limits.lowerNormal)
                A = i;
            if (v > limits.upperNormal) {
                B = N - i + 1;
                return false;
            }
            return true;
        });

        const Positions p = Window95Positions(N, A, B);
        const int p1 = ClampedPosition(p.P1, N);
        const int p2 = ClampedPosition(p.P2, N);

        // Extraction: the two 95 % values and the extremes.
        std::string last;
        i = 0;
        values.Pass([&](const std::string& text) {
            ++i;
            if (i == 1)
                slots[2] = ValueFromText(text);
            if (i == p1)
                slots[0] = ValueFromText(text);
            if (i == p2)
                slots[1] = ValueFromText(text);
            last = text;
            return true;
        });
        if (i > 0)
            slots[3] = ValueFromText(last);
    };

    ValueStream values(db, BuildQuery(QueryShape::Ordered, table, column, window));
    positionsAndExtremes(values);
    // SQLite orders values stored as text after every number, and an infinity
    // (which counts as 0) at an end: the extraction read every row, so it
    // tells whether the order was that of the numbers as read.
    const int storedAsText = values.StoredAsText();
    std::unique_ptr<ValueStream> byNumber;
    if (storedAsText > 0 || values.Infinities() > 0) {
        byNumber = StreamByNumber(db, table, column, window);
        slots.assign(slots.size(), std::nullopt);
        positionsAndExtremes(*byNumber);
    }

    // Limit counts, each test strict and independent, and the values that
    // are no finite numbers.
    int belowMax = 0, belowNormal = 0, aboveNormal = 0, aboveMax = 0, notFinite = 0;
    (byNumber ? *byNumber : values).Pass([&](const std::string& text) {
        const ValueReading reading = ReadValue(text);
        const double v = reading.value;
        notFinite += !reading.finite;
        belowMax += v < limits.lowerMax;
        belowNormal += v < limits.lowerNormal;
        aboveNormal += v > limits.upperNormal;
        aboveMax += v > limits.upperMax;
        return true;
    });
    WarnStoredAsText(table, column, storedAsText);
    WarnNotFinite(table, column, notFinite);

    // An empty window has no shares, and its share test passes (every
    // count is 0).
    if (N > 0) {
        slots[4] = Share(belowNormal, N);
        slots[5] = Share(aboveNormal, N);
        slots[6] = Share(belowMax, N);
        slots[7] = Share(aboveMax, N);
    }

    const bool shareFails = N > 0 && static_cast<double>(belowNormal + aboveNormal) / N > 0.05;
    if (shareFails || belowMax > 0 || aboveMax > 0)
        complies = false;
    return {N, notFinite};
}
