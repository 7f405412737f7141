#include "db/sample_source.h"

#include <cmath>

#include "db/transaction.h"
#include "db/value_text.h"

namespace pq {

namespace {

// Whether column 0 of the current row is stored as text or BLOB. Asked
// before the text is read, which converts the value.
bool IsStoredAsText(wxSQLite3ResultSet& rows)
{
    const int type = rows.GetColumnType(0);
    return type == WXSQLITE_TEXT || type == WXSQLITE_BLOB;
}

// Whether the text of a value stored as a number is an infinity, which SQLite
// writes "Inf" or "-Inf" (a NaN is stored as NULL). The text of a finite
// number never holds an "I", so its first one or two bytes tell, without a
// comparison of strings for every row.
bool IsInfinity(const std::string& text)
{
    return !text.empty() && (text[0] == 'I' || (text[0] == '-' && text.size() > 1 && text[1] == 'I'));
}

// The bytes of column 0's text as SQLite writes it (a REAL with a point, a
// BLOB as it is), read without a wide string.
void ColumnText(wxSQLite3ResultSet& rows, std::string& text)
{
    int len = 0;
    const unsigned char* bytes = rows.GetBlob(0, len);
    if (bytes && len > 0)
        text.assign(reinterpret_cast<const char*>(bytes), static_cast<size_t>(len));
    else
        text.clear();
}

}  // namespace

std::string SingleText(wxSQLite3Database& db, const std::string& sql, const std::string& fallback)
{
    wxSQLite3ResultSet rows = db.ExecuteQuery(sql.c_str());
    if (!rows.NextRow())
        return fallback;
    std::string text;
    ColumnText(rows, text);
    return text;
}

namespace {

// NumberFunctionName: a finite number stays itself; text and BLOB bytes read
// as the statistics read them, up to a NUL.
class NumberOfValue : public wxSQLite3ScalarFunction {
public:
    void Execute(wxSQLite3FunctionContext& ctx) override
    {
        switch (ctx.GetArgType(0)) {
        case WXSQLITE_NULL:
            ctx.SetResultNull();
            return;
        case WXSQLITE_INTEGER:
        case WXSQLITE_FLOAT: {
            // An infinity counts as 0, as ReadValue reads it.
            const double v = ctx.GetDouble(0);
            ctx.SetResult(std::isfinite(v) ? v : 0.0);
            return;
        }
        default:
            break;
        }
        wxMemoryBuffer bytes;
        ctx.GetBlob(0, bytes);
        ctx.SetResult(ReadValue(std::string(static_cast<const char*>(bytes.GetData()), bytes.GetDataLen())).value);
    }
};

}  // namespace

void RegisterNumberFunction(wxSQLite3Database& db)
{
    static NumberOfValue function;
    db.CreateFunction(NumberFunctionName, 1, function, true);
}

namespace {

// An ordered value query, prepared once and read row by row on every pass.
class ValueStream : public OrderedValues {
public:
    ValueStream(wxSQLite3Database& db, const std::string& sql) : statement_(db.PrepareStatement(sql.c_str())) {}

    void Rewind() override
    {
        statement_.Reset();
        storedAsText_ = infinities_ = 0;
        rows_ = statement_.ExecuteQuery();
    }

    // The row's text holds the bytes of the value's text as SQLite writes it:
    // a REAL with a point ("Inf" and "-Inf" for the infinities), a TEXT as
    // stored, a BLOB's bytes as they are. After the last row it stays that
    // row's.
    bool Next() override
    {
        if (!rows_.NextRow())
            return false;
        const bool storedAsText = IsStoredAsText(rows_);
        ColumnText(rows_, text_);
        storedAsText_ += storedAsText;
        infinities_ += !storedAsText && IsInfinity(text_);
        return true;
    }

    ValueReading Value() override { return ReadValue(text_); }
    int StoredAsText() const override { return storedAsText_; }
    int Infinities() const override { return infinities_; }

private:
    wxSQLite3Statement statement_;
    wxSQLite3ResultSet rows_;
    std::string text_;  // the current row's text, reused across rows
    int storedAsText_ = 0;
    int infinities_ = 0;
};

class TransactionHold : public StatisticHold {
public:
    explicit TransactionHold(wxSQLite3Database& db) : transaction_(db) {}
    void Commit() override { transaction_.Commit(); }

private:
    StatisticTransaction transaction_;
};

// The first value of a query that yields one row: NULL, or no row, reads as
// not found.
StoredExtreme SingleValue(wxSQLite3Database& db, const std::string& sql)
{
    wxSQLite3ResultSet rows = db.ExecuteQuery(sql.c_str());
    StoredExtreme value;
    if (!rows.NextRow())
        return value;
    std::string text;
    value.storedAsText = IsStoredAsText(rows);
    // NULL: the window held no value. An empty text is a value.
    value.found = rows.GetColumnType(0) != WXSQLITE_NULL;
    ColumnText(rows, text);
    value.infinity = !value.storedAsText && IsInfinity(text);
    value.reading = ReadValue(text);
    return value;
}

int CountOf(wxSQLite3Database& db, const std::string& sql)
{
    return static_cast<int>(CountFromText(SingleText(db, sql, "0")));
}

}  // namespace

Window QueryWindow(const SampleWindow& w)
{
    switch (w.regime) {
    case LoadRegime::MaxLoad:
        return MaxLoadWindow(w.from, w.to, w.begins, w.ends);
    case LoadRegime::MinLoad:
        return MinLoadWindow(w.from, w.to, w.begins, w.ends);
    case LoadRegime::WholeDay:
        break;
    }
    return WholeDayWindow(w.from, w.to);
}

std::unique_ptr<StatisticHold> DatabaseSource::Hold() { return std::make_unique<TransactionHold>(db_); }

int DatabaseSource::Count(const SampleColumn& c, const SampleWindow& window)
{
    return CountOf(db_, BuildQuery(QueryShape::Count, c.table, c.column, QueryWindow(window)));
}

std::unique_ptr<OrderedValues> DatabaseSource::Ordered(const SampleColumn& c, const SampleWindow& window,
                                                       bool byNumber)
{
    if (byNumber)
        RegisterNumberFunction(db_);
    const QueryShape shape = byNumber ? QueryShape::OrderedByNumber : QueryShape::Ordered;
    return std::make_unique<ValueStream>(db_, BuildQuery(shape, c.table, c.column, QueryWindow(window)));
}

StoredExtreme DatabaseSource::Extreme(const SampleColumn& c, const SampleWindow& window, ExtremeKind kind)
{
    QueryShape shape = QueryShape::Minimum;
    switch (kind) {
    case ExtremeKind::Minimum:
        break;
    case ExtremeKind::Maximum:
        shape = QueryShape::Maximum;
        break;
    case ExtremeKind::SmallestByNumber:
        RegisterNumberFunction(db_);
        shape = QueryShape::SmallestByNumber;
        break;
    case ExtremeKind::LargestByNumber:
        RegisterNumberFunction(db_);
        shape = QueryShape::LargestByNumber;
        break;
    }
    return SingleValue(db_, BuildQuery(shape, c.table, c.column, QueryWindow(window)));
}

int DatabaseSource::StoredAsTextCount(const SampleColumn& c, const SampleWindow& window)
{
    return CountOf(db_, BuildQuery(QueryShape::StoredAsTextCount, c.table, c.column, QueryWindow(window)));
}

}  // namespace pq
