// SQLite helpers and the writer of one parameter table.
#include <stdexcept>
#include <utility>

#include "tools/sample_db_internal.h"

namespace sampledb::internal {

void Check(sqlite3* db, int rc, const char* what)
{
    if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW)
        throw std::runtime_error(std::string(what) + ": " + sqlite3_errmsg(db));
}

void Exec(sqlite3* db, const std::string& sql)
{
    char* error = nullptr;
    if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
        const std::string text = error ? error : "unknown error";
        sqlite3_free(error);
        throw std::runtime_error(sql.substr(0, 60) + ": " + text);
    }
}

Table::Table(std::string name, std::vector<std::string> columns)
    : name_(std::move(name)), columns_(std::move(columns))
{
}

Table::~Table() { sqlite3_finalize(insert_); }

void Table::Create(sqlite3* db)
{
    db_ = db;
    std::string create = "CREATE TABLE " + name_ + "(Base_id INTEGER PRIMARY KEY REFERENCES Base(Base_id)";
    std::string insert = "INSERT INTO " + name_ + " VALUES(?";
    for (const std::string& c : columns_) {
        create += ", " + c + " REAL";
        insert += ",?";
    }
    Exec(db, create + ")");
    Check(db, sqlite3_prepare_v2(db, (insert + ")").c_str(), -1, &insert_, nullptr), name_.c_str());
}

void Table::Insert(long long baseId, const double* values, Rng* nulls)
{
    sqlite3_bind_int64(insert_, 1, baseId);
    for (size_t i = 0; i < columns_.size(); ++i) {
        if (LeaveNull(nulls))
            sqlite3_bind_null(insert_, static_cast<int>(i) + 2);
        else
            sqlite3_bind_double(insert_, static_cast<int>(i) + 2, values[i]);
    }
    Check(db_, sqlite3_step(insert_), name_.c_str());
    sqlite3_reset(insert_);
    ++rows_;
}

}  // namespace sampledb::internal
