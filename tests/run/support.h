#pragma once
// Running the real program as a process: its output, scratch directories,
// measurement databases made with the SQLite C API, settings documents, and
// the values on pages made from the marked templates (tests/text_builders.h).
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <sys/types.h>

#include "tests/text_builders.h"

struct sqlite3;

namespace pqrun {

// The program of this build (its templates lie beside it).
const std::string& BuildProgram();

// How one run of a program is started.
struct Launch {
    std::string program = BuildProgram();
    std::vector<std::string> args;
    std::string cwd;                 // empty: the test's own
    bool unprivileged = false;       // as root: run as nobody, so permissions count
    long long fileSizeLimit = -1;    // RLIMIT_FSIZE in bytes; -1: none
    int stderrFd = -1;               // >= 0: standard error goes there, not to a file Outcome reads
    // Instead of capturing standard output: a file opened for writing there
    // (such as /dev/full), or "" for a closed standard output.
    std::optional<std::string> standardOutput;
};

struct Outcome {
    int status = -1;   // exit status; -1 after a signal
    int signal = 0;    // the signal that ended it; 0 when it exited
    std::string out;   // standard output as written
    std::string err;   // standard error as written

    // Standard error without the "HH:MM:SS: " stamps.
    std::string Log() const;
    // Log() cut at its line ends (an empty line where a message ended in "\n").
    std::vector<std::string> LogLines() const;
    bool Ok() const { return out == "ok!\n"; }
    // Whether some log line equals `line` / starts with `prefix`.
    bool HasLine(const std::string& line) const;
    std::optional<std::string> LineStartingWith(const std::string& prefix) const;
};

// A program run in the background until Wait().
class Child {
public:
    explicit Child(const Launch& launch);
    ~Child();
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;
    Outcome Wait();

protected:
    // `beforeExec` runs in the new process just before the program starts.
    Child(const Launch& launch, const std::function<void()>& beforeExec);
    pid_t pid_ = -1;
    std::string outPath_, errPath_;
};

Outcome RunProgram(const Launch& launch);
// The build's program with these arguments.
Outcome RunProgram(const std::vector<std::string>& args);

std::string StripStamps(const std::string& err);

// A fresh directory under /tmp, removed with everything in it at the end.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& path() const { return path_; }
    // path() + "/" + name
    std::string operator/(const std::string& name) const { return path_ + "/" + name; }
    // Creates the subdirectory `name` (mode 0777 when `open`) and returns its path.
    std::string Subdir(const std::string& name, bool open = false) const;

private:
    std::string path_;
};

std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::string& bytes);
bool Exists(const std::string& path);
// Names in a directory, sorted; empty when it cannot be read.
std::vector<std::string> ListDir(const std::string& path);

// UTF-8 text in another encoding (an iconv name), and in CP1251.
std::string FromUtf8(const std::string& utf8, const char* encoding);
std::string Cp1251(const std::string& utf8);

// "%Y-%m-%d %H:%M:%S" of the wall-clock time `seconds` after 00:00 of
// March `day`, 2011 (plain calendar arithmetic, no time zone).
std::string Stamp(int day, long seconds);

// A number as the report writes it under its locale: printf `format` with a
// decimal comma.
std::string Number(const char* format, double value);

// A measurement database file in the logger's schema.
class MeasurementDb {
public:
    // Creates `path` with every table of the schema except those in `omit`.
    explicit MeasurementDb(const std::string& path, const std::vector<std::string>& omit = {});
    ~MeasurementDb();
    MeasurementDb(const MeasurementDb&) = delete;
    MeasurementDb& operator=(const MeasurementDb&) = delete;

    void Exec(const std::string& sql);
    // Value of sample i in column c (the table's columns in schema order); empty: NULL.
    using Cell = std::function<std::optional<double>(int i, int c)>;
    // `count` samples every `stepSeconds` from 00:00 of March `day`, 2011; the
    // tables share one Base row per instant, as the logger writes them.
    void Series(const std::string& table, int day, int stepSeconds, int count, const Cell& cell);
    void Close();

private:
    sqlite3* db_ = nullptr;
    std::map<std::string, long long> instants_;  // Base_id by time stamp
};

// The value columns of a parameter table.
std::vector<std::string> ColumnsOf(const std::string& table);
// All parameter tables of the schema.
const std::vector<std::string>& ParameterTables();

// A settings document.
class Settings {
public:
    // A report of `days` days from 01.03.2011 00:00:00 over `db`, pages under
    // `userDir` (a bare prefix), max-load 8:00 - 20:00 on every day.
    Settings(const std::string& db, const std::string& userDir, int days);
    Settings& Set(const std::string& name, const std::string& value);
    Settings& Remove(const std::string& name);
    Settings& UserDir(std::optional<std::string> dir);
    Settings& Root(const std::string& name);
    std::string Xml() const;
    // Writes Xml() to `path` and returns `path`.
    std::string Write(const std::string& path) const;

private:
    std::string root_ = "mqv-analyser-settings";
    std::vector<std::pair<std::string, std::string>> values_;
    std::optional<std::string> userDir_;
};

// Copies (hard-links where possible) the program into `dir` and writes the
// two templates beside it; returns the program's path.
std::string InstallProgram(const std::string& dir, const std::string& dayTemplate,
                           const std::string& titleTemplate);

// The values of the "|k=" marks on a page made from MarkedDayTemplate or
// MarkedTitleTemplate (up to the next '|' or '<').
std::map<int, std::string> MarkedValues(const std::string& page);

// The harmonic rows of a page made from MarkedDayTemplate: row number and
// its six cells, in page order.
struct HarmonicRow {
    int number;
    std::vector<std::string> cells;
};
std::vector<HarmonicRow> HarmonicRows(const std::string& page);

// A scratch report: a database in the logger's schema (no rows), an output
// directory and the program installed beside two small templates.
struct Workspace {
    explicit Workspace(const std::string& dayTemplate = "day page",
                       const std::string& titleTemplate = "title page");
    TempDir dir;
    std::string db;       // dir/m.db
    std::string out;      // dir/out/, the user directory (writable by anyone)
    std::string program;  // dir/bin/pqreport
    // Settings for `days` days over `db` with pages under `out`.
    Settings settings(int days) const { return Settings(db, out, days); }
    // Writes `s` to dir/<name> and returns that path.
    std::string Write(const Settings& s, const std::string& name = "settings.xml") const;
    Launch At(std::vector<std::string> args) const;
};

// The cells' texts, markup removed, of the table row whose first cell (of
// class "lbl") starts with `label`; empty when there is none.
std::vector<std::string> RowCells(const std::string& page, const std::string& label);

// Runs the SQL statements on the database file; throws with SQLite's
// message when one fails.
void ExecSql(const std::string& db, const std::string& sql);

// Writes w.db anew: two days (1 and 2 March 2011) of every series within its
// limits, except the frequency of day 2, which leaves its maximum limit for
// an hour; the first hour of day 2's voltage deviation is missing.
void WriteTwoDays(const Workspace& w);

// An environment variable set for the programs started while it lives (they
// inherit the test's environment); the earlier value, or none, comes back after.
class ScopedEnv {
public:
    ScopedEnv(const std::string& name, const std::string& value);
    ~ScopedEnv();
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    std::string name_;
    std::optional<std::string> previous_;
};

}  // namespace pqrun

// ---- watching running processes ---------------------------------------------
// For tests that must know what another process is doing right now (waiting on
// a lock, holding one, having reached a log line) instead of sleeping for a
// guessed time.
#include <chrono>

namespace pqrun {

// How long the watching helpers wait by default: far beyond any healthy step,
// and well inside the program's busy time-out of 60 s.
constexpr std::chrono::milliseconds kWatchTimeout{20000};

// Asks `done` every few milliseconds until it answers true or `timeout` has
// passed; returns its last answer.
bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout = kWatchTimeout);

// Whether process `pid` is blocked in a sleep or a lock-wait system call.
// SQLite's busy handler sleeps between its attempts at a lock, so a program
// seen asleep at a place where it takes a lock waits for that lock.
bool ProcessAsleep(pid_t pid);

// SQLite's locks on a database file in rollback-journal mode: fcntl locks on
// the file's lock bytes (the pending byte at 1 GiB, the reserved byte, the
// shared range). Exclusive is the write lock on the shared range, so an
// Exclusive holder also counts as holding Shared.
enum class DbLock { Shared, Reserved, Pending, Exclusive };

// A process holding `lock` on the database file `path`: its pid (this
// process's own locks included), 0 when none does. The file is examined from
// a forked process, so this process's SQLite connections keep their locks.
// With several holders, one of them.
pid_t DbLockHolder(const std::string& path, DbLock lock);

// A program run in the background, as Child, whose log can be read and whose
// state can be watched while it runs.
class WatchedChild : public Child {
public:
    using Child::Child;

    pid_t Pid() const { return pid_; }
    // Whether it has ended (it is collected by Wait() all the same).
    bool Ended() const;
    // The complete lines of its log so far, stamps removed, cut as
    // Outcome::LogLines() cuts them.
    std::vector<std::string> LogLinesSoFar() const;
    // Waits until its log has the line `line`; false when it ended without
    // it or the time passed first.
    bool WaitForLine(const std::string& line, std::chrono::milliseconds timeout = kWatchTimeout) const;
    // Waits until it is seen blocked right after logging `line`: `line` is its
    // last log line both before and after it is seen asleep (ProcessAsleep).
    // False as soon as it logs a line after `line` or ends, or when the time
    // passes first.
    bool WaitUntilBlockedAfter(const std::string& line,
                               std::chrono::milliseconds timeout = kWatchTimeout) const;
};

// A watched program each of whose fsync calls waits until the test lets it go
// on (a seccomp user notification), so that a test can act while a file the
// program writes is complete and not yet renamed into place. The program's
// pages are the only files it syncs. Throws when the system does not offer
// such notifications (Linux 5.5 and later do).
class SyncGatedChild : public WatchedChild {
public:
    explicit SyncGatedChild(const Launch& launch);
    ~SyncGatedChild();

    // Waits until the program is held in an fsync and returns the path of the
    // file it syncs; nullopt when it ended or the time passed first.
    std::optional<std::string> HeldSync(std::chrono::milliseconds timeout = kWatchTimeout);
    // Lets the held fsync go on.
    void Release();

private:
    SyncGatedChild(const Launch& launch, std::pair<int, int> channel);
    int listener_ = -1;
    std::optional<unsigned long long> held_;
};

}  // namespace pqrun
