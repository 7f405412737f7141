#include "db/queries.h"

#include <algorithm>
#include <cstdio>

namespace pq {

namespace {

std::string Format(const char* format, const std::string& a, const std::string& b)
{
    char buf[256];
    std::snprintf(buf, sizeof buf, format, a.c_str(), b.c_str());
    return buf;
}

std::string Range(const char* lead, const wxDateTime& from, const wxDateTime& to)
{
    return lead + Format("(Base.DateTimeMQV>='%s' AND Base.DateTimeMQV<'%s') ", TimeStamp(from),
                         TimeStamp(to));
}

}  // namespace

std::string TimeStamp(const wxDateTime& instant)
{
    return instant.Format("%Y-%m-%d %H:%M:%S").ToStdString();
}

Window WholeDayWindow(const wxDateTime& dayStart, const wxDateTime& dayEnd)
{
    return {dayStart, dayEnd, std::string()};
}

Window MaxLoadWindow(const wxDateTime& dayStart, const wxDateTime& dayEnd, const DateTimeList& begins,
                     const DateTimeList& ends)
{
    Window w{dayStart, dayEnd, std::string()};
    const size_t n = std::min(begins.size(), ends.size());
    if (n == 0)
        return w;
    w.clause = " AND ( ";
    for (size_t i = 0; i < n; ++i)
        w.clause += Range(i == 0 ? "" : " OR ", begins[i], ends[i]);
    w.clause += " )";
    return w;
}

Window MinLoadWindow(const wxDateTime& dayStart, const wxDateTime& dayEnd, const DateTimeList& begins,
                     const DateTimeList& ends)
{
    const size_t n = std::min(begins.size(), ends.size());
    if (n == 0)
        return WholeDayWindow(dayStart, dayEnd);
    Window w{dayStart, begins[0], std::string()};
    for (size_t i = 1; i < n; ++i)
        w.clause += Range(" OR ", ends[i - 1], begins[i]);
    w.clause += Range(" OR ", ends[n - 1], dayEnd);
    return w;
}

const char* const NumberFunctionName = "pq_number";

std::string BuildQuery(QueryShape shape, const std::string& table, const std::string& column,
                       const Window& window)
{
    const std::string& t = table;
    const std::string& c = column;
    const std::string value = t + "." + c;
    const std::string byNumber = std::string(NumberFunctionName) + "(" + value + ")";
    // The ordered-value heads write their keywords in lower case.
    const bool ordered = shape == QueryShape::Ordered || shape == QueryShape::OrderedByNumber;
    std::string selected = value;
    if (shape == QueryShape::Count || shape == QueryShape::StoredAsTextCount)
        selected = "COUNT(" + selected + ")";
    else if (shape == QueryShape::Minimum)
        selected = "MIN(" + selected + ")";
    else if (shape == QueryShape::Maximum)
        selected = "MAX(" + selected + ")";
    std::string sql = "SELECT " + selected + (ordered ? " from" : " FROM") + " Base LEFT JOIN " + t +
                      (ordered ? " on " : " ON ") + t;
    sql += ".Base_id=Base.Base_id WHERE " + value + " is NOT NULL AND (";
    if (shape == QueryShape::StoredAsTextCount)
        sql += "typeof(" + value + ") IN ('text','blob')) AND (";
    sql += Format("(Base.DateTimeMQV>='%s' AND Base.DateTimeMQV<'%s')", TimeStamp(window.from),
                  TimeStamp(window.to));
    sql += window.clause;
    switch (shape) {
    case QueryShape::Ordered:
        return sql + ") ORDER BY " + value + " ASC" + ";";
    case QueryShape::OrderedByNumber:
        return sql + ") ORDER BY " + byNumber + " ASC;";
    case QueryShape::SmallestByNumber:
        return sql + ") ORDER BY " + byNumber + " ASC LIMIT 1;";
    case QueryShape::LargestByNumber:
        return sql + ") ORDER BY " + byNumber + " DESC LIMIT 1;";
    case QueryShape::Count:
    case QueryShape::Minimum:
    case QueryShape::Maximum:
    case QueryShape::StoredAsTextCount:
        break;
    }
    return sql + ");";
}

}  // namespace pq
