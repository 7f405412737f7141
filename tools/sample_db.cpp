// The sample database file: written through a temporary beside it, with the
// logger's schema, in one transaction. The series come from
// sample_db_series.cpp, the faults from sample_db_faults.cpp.
#include "tools/sample_db.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <stdexcept>
#include <sys/stat.h>

#include "tools/sample_db_internal.h"

namespace sampledb {

namespace {

using internal::Exec;
using internal::kHighestStoredOrder;
using internal::Table;

std::vector<std::string> Columns(const char* prefix, int first, int last)
{
    std::vector<std::string> c;
    for (int i = first; i <= last; ++i)
        c.push_back(prefix + std::to_string(i));
    return c;
}

struct DbCloser {
    void operator()(sqlite3* db) const { sqlite3_close(db); }
};

bool FileExists(const std::string& path)
{
    struct stat st;
    return ::stat(path.c_str(), &st) == 0;
}

}  // namespace

RowCounts WriteSampleDatabase(const Options& o)
{
    if (FileExists(o.output) && !o.force)
        throw std::runtime_error(o.output + " exists; --force replaces it");
    const std::string partial = o.output + ".part";
    std::remove(partial.c_str());

    RowCounts counts;
    try {
        sqlite3* raw = nullptr;
        const int rc =
            sqlite3_open_v2(partial.c_str(), &raw, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
        // Declared before the tables, so that their statements are finalised first.
        std::unique_ptr<sqlite3, DbCloser> db(raw);
        if (rc != SQLITE_OK)
            throw std::runtime_error(partial + ": " + (raw ? sqlite3_errmsg(raw) : "cannot open"));

        Table du("du1m", Columns("L", 1, 3)), u1("u1unbalance1m", {"Value"}),
            thd("uthd3s", Columns("L", 1, 3)), k0("u0unbalance3s", {"Value"}),
            k2("u2unbalance3s", {"Value"}), freq("ac20sdfreq", {"Value"}),
            h1("harm_u_L1_3s", Columns("H", 2, kHighestStoredOrder)),
            h2("harm_u_L2_3s", Columns("H", 2, kHighestStoredOrder)),
            h3("harm_u_L3_3s", Columns("H", 2, kHighestStoredOrder));
        const std::vector<Table*> tables{&du, &u1, &thd, &k0, &k2, &freq, &h1, &h2, &h3};

        Exec(raw, "PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF; PRAGMA cache_size=-131072");
        Exec(raw, "BEGIN");
        Exec(raw, "CREATE TABLE Base(Base_id INTEGER PRIMARY KEY, DateTimeMQV TEXT)");
        for (Table* t : tables)
            t->Create(raw);
        const long long baseRows = internal::WriteSeries(raw, o, tables);
        Exec(raw, "CREATE INDEX Base_DateTimeMQV ON Base(DateTimeMQV)");
        Exec(raw, "COMMIT");

        counts.emplace_back("Base", baseRows);
        for (const Table* t : tables)
            counts.emplace_back(t->Name(), t->Rows());
    } catch (...) {
        std::remove(partial.c_str());
        throw;
    }
    if (std::rename(partial.c_str(), o.output.c_str()) != 0) {
        const std::string why = std::strerror(errno);
        std::remove(partial.c_str());
        throw std::runtime_error("cannot rename " + partial + " to " + o.output + ": " + why);
    }
    return counts;
}

}  // namespace sampledb
