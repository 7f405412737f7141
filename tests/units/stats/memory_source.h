#pragma once
// The statistics' source held in memory, for testing the evaluations without
// a database: the values of each column with their time stamps, taken into a
// window and ordered as the database source's SQL takes and orders them
// (db/queries.cpp, db/sample_source.cpp).
//
// A window compares the time stamps as the SQL does, as "%Y-%m-%d %H:%M:%S"
// texts: [from, to) on the day; for MaxLoad intersected with the union of the
// max-load periods [begin, end); for MinLoad [from, the first begin), the
// gaps [end i-1, begin i) and [the last end, to). Without periods, both are
// the whole day.
//
// The values come in SQLite's order: the numbers ascending (an infinity at
// its end), then the values stored as text after every number, ordered by
// their bytes. By number they come in the order of the number each counts
// as: a finite number itself, an infinity 0, a text as ReadValue reads it.
// Values that tie come in the order they were put.
//
// A number reads as itself: the database source reads the text SQLite writes
// of it, to 15 significant digits, which the tests' values survive.
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <wx/datetime.h>

#include "stats/sample_source.h"

namespace pq {

class MemorySource : public SampleSource {
public:
    // One value of table.column at the instant. A NaN is stored as no value,
    // as SQLite stores a NaN as NULL; an infinity stays a number.
    void Put(const std::string& table, const std::string& column, const wxDateTime& at, double value);
    // A value stored as text: one SQLite does not take for a number in a
    // REAL column ("0,5", "nan", "abc", "").
    void PutText(const std::string& table, const std::string& column, const wxDateTime& at,
                 const std::string& text);
    // values[i] at start + i * stepSeconds.
    void PutSeries(const std::string& table, const std::string& column, const wxDateTime& start, int stepSeconds,
                   const std::vector<double>& values);
    // The numbers, then the texts, one a minute from `start`.
    void PutMinutes(const std::string& table, const std::string& column, const wxDateTime& start,
                    const std::vector<double>& numbers, const std::vector<std::string>& texts = {});

    // How often a statistic took hold of the source, and how often it let go by Commit().
    int Holds() const { return holds_; }
    int Commits() const { return commits_; }

    std::unique_ptr<StatisticHold> Hold() override;
    int Count(const SampleColumn& column, const SampleWindow& window) override;
    std::unique_ptr<OrderedValues> Ordered(const SampleColumn& column, const SampleWindow& window,
                                           bool byNumber) override;
    StoredExtreme Extreme(const SampleColumn& column, const SampleWindow& window, ExtremeKind kind) override;
    int StoredAsTextCount(const SampleColumn& column, const SampleWindow& window) override;

    // One stored value.
    struct Stored {
        std::string stamp;  // the time stamp, as Base.DateTimeMQV holds it
        bool text = false;
        double number = 0;  // a value stored as a number
        std::string bytes;  // a value stored as text
    };

private:
    // The column's values in the window, in the order they were put.
    std::vector<Stored> InWindow(const SampleColumn& column, const SampleWindow& window) const;

    std::map<std::pair<std::string, std::string>, std::vector<Stored>> values_;
    int holds_ = 0;
    int commits_ = 0;
};

// A stored value read as the statistics read it, and the number it is
// ordered by when the values are taken by number.
ValueReading ReadingOf(const MemorySource::Stored& value);
double NumberOf(const MemorySource::Stored& value);

}  // namespace pq
