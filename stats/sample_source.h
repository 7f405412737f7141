#pragma once
// Where the statistics take their values from: the values of one column in
// one window, in ascending order, pass after pass. The run's source is the
// measurement database (db/sample_source.h); the statistics know no SQL.
#include <memory>
#include <string>

#include <wx/datetime.h>

#include "model/day_plan.h"
#include "model/period.h"

namespace pq {

// A value read as a number: a text that is no finite number ("abc", "nan",
// "inf", the bytes of most BLOBs) counts as 0.
struct ValueReading {
    double value;
    bool finite;  // the value is a finite number
};

// The instants [from, to) of a day, and within them the max-load periods
// (MaxLoad), the rest (MinLoad) or all of them (WholeDay).
struct SampleWindow {
    LoadRegime regime = LoadRegime::WholeDay;
    wxDateTime from, to;
    DateTimeList begins, ends;  // the max-load periods, in parallel
};

// A column of a measured table.
struct SampleColumn {
    std::string table;
    std::string column;
};

// A column's non-NULL values in the window, in the source's ascending order,
// read pass by pass.
class OrderedValues {
public:
    virtual ~OrderedValues() = default;
    // Starts a pass at the first value.
    virtual void Rewind() = 0;
    // Goes on to the next value; false after the last one.
    virtual bool Next() = 0;
    // The value the pass stands on; once Next() has returned false, still
    // the last one.
    virtual ValueReading Value() = 0;
    // The values of the last pass that the source stored as text, and those
    // stored as an infinity: the source orders both otherwise than by the
    // number they count as.
    virtual int StoredAsText() const = 0;
    virtual int Infinities() const = 0;
};

// An extreme as the source keeps it: whether the window held a value, its
// reading, and whether it was stored as text or as an infinity.
struct StoredExtreme {
    bool found = false;
    ValueReading reading{0.0, false};
    bool storedAsText = false;
    bool infinity = false;
};

enum class ExtremeKind { Minimum, Maximum, SmallestByNumber, LargestByNumber };

// Keeps the source still for one statistic, so that its passes see the same
// values; let go by Commit() or when it ends.
class StatisticHold {
public:
    virtual ~StatisticHold() = default;
    virtual void Commit() = 0;
};

class SampleSource {
public:
    virtual ~SampleSource() = default;
    virtual std::unique_ptr<StatisticHold> Hold() = 0;
    virtual int Count(const SampleColumn& column, const SampleWindow& window) = 0;
    // The values in the source's order, or (byNumber) in the order of the
    // numbers they count as.
    virtual std::unique_ptr<OrderedValues> Ordered(const SampleColumn& column, const SampleWindow& window,
                                                   bool byNumber) = 0;
    virtual StoredExtreme Extreme(const SampleColumn& column, const SampleWindow& window, ExtremeKind kind) = 0;
    // How many values of the window are stored as text (or BLOB).
    virtual int StoredAsTextCount(const SampleColumn& column, const SampleWindow& window) = 0;
};

}  // namespace pq
