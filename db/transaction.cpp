#include "db/transaction.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <thread>
#include <sys/stat.h>
#include <unistd.h>

#include <wx/log.h>

#include "base/text.h"
#include "db/queries.h"
#include "db/value_text.h"

// After the wrapper's header, whose names SQLite's macros would replace.
#include <sqlite3.h>

namespace pq {

const std::chrono::milliseconds MeasurementDatabase::kGap{150};
const std::chrono::seconds MeasurementDatabase::kWriterGapEvery{1};
const std::chrono::seconds MeasurementDatabase::kQuietGapEvery{15};

namespace {

// A change of the database or its log this recent shows a program that writes it.
const std::chrono::seconds kRecentChange{10};
// How long a program seen writing counts as one that will write again.
const std::chrono::seconds kWriterRemembered{30};

// Whether the file changed within kRecentChange of now. A file that is not
// there did not, nor an empty one: the empty write-ahead log is the one that
// a reader (this run too) makes when it opens the database.
bool ChangedRecently(const std::string& path)
{
    struct stat st;
    if (::stat(path.c_str(), &st) != 0 || st.st_size == 0)
        return false;
    const auto changed = std::chrono::system_clock::time_point(
        std::chrono::duration_cast<std::chrono::system_clock::duration>(
            std::chrono::seconds(st.st_mtim.tv_sec) + std::chrono::nanoseconds(st.st_mtim.tv_nsec)));
    return std::chrono::system_clock::now() - changed < kRecentChange;
}

}  // namespace

namespace {

// Whether the file's header marks a database in write-ahead-log mode: its
// bytes 18 and 19 (the file format's read and write versions) are 2.
bool WriteAheadLogMode(const std::string& path)
{
    unsigned char header[20] = {};
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f)
        return false;
    const size_t n = std::fread(header, 1, sizeof header, f);
    std::fclose(f);
    return n == sizeof header && header[18] == 2 && header[19] == 2;
}

// Whether SQLite can use a shared-memory file beside the database: it is
// there, or its folder can be written to make it.
bool SharedMemoryPossible(const std::string& path)
{
    if (::access((path + "-shm").c_str(), F_OK) == 0)
        return true;
    const size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
    return ::access(folder.c_str(), W_OK) == 0;
}

// The path as an SQLite URI file name: the characters that a URI gives a
// meaning escaped.
wxString UriPath(const std::string& path)
{
    std::string uri = "file:";
    for (const char c : path) {
        if (c == '%' || c == '?' || c == '#') {
            char escaped[4];
            std::snprintf(escaped, sizeof escaped, "%%%02X", static_cast<unsigned char>(c));
            uri += escaped;
        } else {
            uri += c;
        }
    }
    return PathFromBytes(uri.c_str());
}

}  // namespace

void MeasurementDatabase::OpenExisting(const wxString& path, int busyTimeoutMs, Notes& notes)
{
    path_ = path;
    notes_ = &notes;
    lastGap_ = std::chrono::steady_clock::now();
    const std::string file = FileSystemPath(path);
    // A database in write-ahead-log mode needs a shared-memory file beside
    // it, which read-only media or a folder the run cannot write cannot
    // hold. Without a log to read, the file alone is the whole database: it
    // is read as immutable, which needs no such file.
    if (WriteAheadLogMode(file) && !SharedMemoryPossible(file)) {
        struct stat log;
        if (::stat((file + "-wal").c_str(), &log) == 0 && log.st_size > 0)
            throw wxSQLite3Exception(SQLITE_CANTOPEN,
                                     "its write-ahead log " + PathFromBytes((file + "-wal").c_str()) +
                                         " cannot be read without a shared-memory file, which cannot be made "
                                         "beside it");
        Open(UriPath(file) + "?immutable=1", wxEmptyString,
             WXSQLITE_OPEN_READONLY | WXSQLITE_OPEN_URI | WXSQLITE_OPEN_NOMUTEX);
        notes.Warning(wxString::Format("The database %s is in write-ahead-log mode where no shared-memory file "
                                       "can be made beside it: it is read as an immutable file.",
                                       path));
        SetBusyTimeout(busyTimeoutMs);
        return;
    }
    // A write-ahead log found beside the database holds another program's
    // writes: it must not be checkpointed into the file when this connection
    // closes. Without one, closing as usual removes the empty log and the
    // shared-memory file that reading made.
    struct stat st;
    const bool logFound = ::stat((FileSystemPath(path) + "-wal").c_str(), &st) == 0;
    // Without the create flag: a path that names no file must not make one.
    // The run uses its connection from one thread only: no connection mutex,
    // which every read of a column would otherwise lock and unlock.
    Open(path, wxEmptyString, WXSQLITE_OPEN_READWRITE | WXSQLITE_OPEN_NOMUTEX);
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
    const wxString warning = wxString::Format(
        "The database %s is in use by another program: the statistics read it without their lock.", path_);
    if (notes_)
        notes_->Warning(warning);
    else
        wxLogWarning("%s", warning);
}

std::optional<int> MeasurementDatabase::DataVersion()
{
    int version = 0;
    if (sqlite3_file_control(static_cast<sqlite3*>(GetDatabaseHandle()), "main", SQLITE_FCNTL_DATA_VERSION,
                             &version) != SQLITE_OK)
        return std::nullopt;
    return version;
}

void MeasurementDatabase::LockTaken()
{
    const std::optional<int> version = DataVersion();
    if (version && versionAtRelease_ && *version != *versionAtRelease_)
        writeSeen_ = std::chrono::steady_clock::now();
}

bool MeasurementDatabase::WriterSeen(std::chrono::steady_clock::time_point now)
{
    const std::string file = FileSystemPath(path_);
    if (ChangedRecently(file) || ChangedRecently(file + "-wal"))
        writeSeen_ = now;
    return writeSeen_ && now - *writeSeen_ < kWriterRemembered;
}

bool MeasurementDatabase::WriterSeen() { return WriterSeen(std::chrono::steady_clock::now()); }

void MeasurementDatabase::LetWritersIn()
{
    versionAtRelease_ = DataVersion();
    const auto now = std::chrono::steady_clock::now();
    const auto every = WriterSeen(now) ? std::chrono::steady_clock::duration(kWriterGapEvery)
                                       : std::chrono::steady_clock::duration(kQuietGapEvery);
    if (now - lastGap_ < every)
        return;
    std::this_thread::sleep_for(kGap);
    lastGap_ = std::chrono::steady_clock::now();
}

StatisticTransaction::StatisticTransaction(wxSQLite3Database& db) : db_(db)
{
    MeasurementDatabase* run = dynamic_cast<MeasurementDatabase*>(&db);
    if (run && run->LockRefused())
        return;
    try {
        db_.ExecuteUpdate("begin exclusive transaction");
        active_ = true;
        hold_.emplace();
        if (run)
            run->LockTaken();
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
        Released();
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
    Released();
}

// The lock is let go: the statistic's lines are written, and a program
// waiting to write may get in.
void StatisticTransaction::Released()
{
    hold_.reset();
    if (MeasurementDatabase* run = dynamic_cast<MeasurementDatabase*>(&db_))
        run->LetWritersIn();
}

const char* const kScanSettings[2] = {"PRAGMA cache_size=-32768", "PRAGMA temp_store=MEMORY"};

void TuneForScans(wxSQLite3Database& db)
{
    for (const char* setting : kScanSettings)
        db.ExecuteUpdate(setting);
}

}  // namespace pq
