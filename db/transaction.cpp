#include "db/transaction.h"

#include <sys/stat.h>

#include <wx/log.h>

#include "base/text.h"

// After the wrapper's header, whose names SQLite's macros would replace.
#include <sqlite3.h>

void MeasurementDatabase::OpenExisting(const wxString& path, int busyTimeoutMs)
{
    path_ = path;
    // A write-ahead log found beside the database holds another program's
    // writes: it must not be checkpointed into the file when this connection
    // closes. Without one, closing as usual removes the empty log and the
    // shared-memory file that reading made.
    struct stat st;
    const bool logFound = ::stat((FileSystemPath(path) + "-wal").c_str(), &st) == 0;
    // Without the create flag: a path that names no file must not make one.
    Open(path, wxEmptyString, WXSQLITE_OPEN_READWRITE);
    if (logFound)
        sqlite3_db_config(static_cast<sqlite3*>(GetDatabaseHandle()), SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1,
                          nullptr);
    SetBusyTimeout(busyTimeoutMs);
}

void MeasurementDatabase::RefuseLock()
{
    if (lockRefused_)
        return;
    lockRefused_ = true;
    wxLogWarning("The database %s is in use by another program: the statistics read it without their lock.",
                 path_);
}

StatisticTransaction::StatisticTransaction(wxSQLite3Database& db) : db_(db)
{
    MeasurementDatabase* run = dynamic_cast<MeasurementDatabase*>(&db);
    if (run && run->LockRefused())
        return;
    try {
        db_.ExecuteUpdate("begin exclusive transaction");
        active_ = true;
    } catch (const wxSQLite3Exception& e) {
        if (run && (e.GetErrorCode() & 0xff) == SQLITE_BUSY)
            run->RefuseLock();
    }
}

StatisticTransaction::~StatisticTransaction()
{
    if (active_)
        Rollback();
}

void StatisticTransaction::Commit()
{
    if (!active_)
        return;
    try {
        db_.ExecuteUpdate("commit transaction");
        active_ = false;
    } catch (const wxSQLite3Exception&) {
        Rollback();
    }
}

void StatisticTransaction::Rollback()
{
    active_ = false;
    try {
        db_.ExecuteUpdate("rollback transaction");
    } catch (const wxSQLite3Exception&) {
    }
}

const char* const kScanSettings[2] = {"PRAGMA cache_size=-32768", "PRAGMA temp_store=MEMORY"};

void TuneForScans(wxSQLite3Database& db)
{
    for (const char* setting : kScanSettings)
        db.ExecuteUpdate(setting);
}

namespace {

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

ValueStream::ValueStream(wxSQLite3Database& db, const std::string& sql)
    : statement_(db.PrepareStatement(sql.c_str()))
{
}

const std::string& ValueStream::RowText(wxSQLite3ResultSet& rows)
{
    ColumnText(rows, text_);
    return text_;
}
