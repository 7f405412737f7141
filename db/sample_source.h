#pragma once
// The statistics' source over the measurement database: every count, ordered
// read and extreme as the SQL text of db/queries.h, each statistic inside
// its own exclusive transaction (db/transaction.h).
#include <memory>
#include <string>

#include <wx/wxsqlite3.h>

#include "db/queries.h"
#include "stats/sample_source.h"

namespace pq {

class DatabaseSource : public SampleSource {
public:
    explicit DatabaseSource(wxSQLite3Database& db) : db_(db) {}
    std::unique_ptr<StatisticHold> Hold() override;
    int Count(const SampleColumn& column, const SampleWindow& window) override;
    std::unique_ptr<OrderedValues> Ordered(const SampleColumn& column, const SampleWindow& window,
                                           bool byNumber) override;
    StoredExtreme Extreme(const SampleColumn& column, const SampleWindow& window, ExtremeKind kind) override;
    int StoredAsTextCount(const SampleColumn& column, const SampleWindow& window) override;

private:
    wxSQLite3Database& db_;
};

// The query window of a sample's window: the whole day, the day within the
// max-load periods, or the day outside them.
Window QueryWindow(const SampleWindow& window);

// Runs a query that yields one row and returns the bytes of its column 0's
// text as SQLite writes it (`fallback` when it yields no row; a NULL reads as
// the empty text).
std::string SingleText(wxSQLite3Database& db, const std::string& sql, const std::string& fallback);

// Makes NumberFunctionName known to the connection: the number of a value as
// ReadValue reads it (NULL stays NULL), for ordering values stored as text
// among numbers.
void RegisterNumberFunction(wxSQLite3Database& db);

}  // namespace pq
