#include "support.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <sstream>
#include <stdexcept>

#include <fcntl.h>
#include <grp.h>
#include <iconv.h>
#include <sqlite3.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace pqrun {

const std::string& BuildProgram()
{
    static const std::string path = PQREPORT;
    return path;
}

// ---- output -----------------------------------------------------------------

namespace {

bool IsStamp(const std::string& text, size_t at)
{
    if (text.size() < at + 10)
        return false;
    for (size_t i : {0, 1, 3, 4, 6, 7})
        if (!std::isdigit(static_cast<unsigned char>(text[at + i])))
            return false;
    return text[at + 2] == ':' && text[at + 5] == ':' && text[at + 8] == ':' && text[at + 9] == ' ';
}

}  // namespace

std::string StripStamps(const std::string& err)
{
    std::string log;
    size_t at = 0;
    while (at < err.size()) {
        size_t end = err.find('\n', at);
        end = end == std::string::npos ? err.size() : end + 1;
        const size_t from = IsStamp(err, at) ? at + 10 : at;
        log.append(err, from, end - from);
        at = end;
    }
    return log;
}

std::string Outcome::Log() const { return StripStamps(err); }

std::vector<std::string> Outcome::LogLines() const
{
    std::vector<std::string> lines;
    const std::string log = Log();
    size_t at = 0;
    while (at < log.size()) {
        const size_t end = log.find('\n', at);
        if (end == std::string::npos) {
            lines.push_back(log.substr(at));
            break;
        }
        lines.push_back(log.substr(at, end - at));
        at = end + 1;
    }
    return lines;
}

bool Outcome::HasLine(const std::string& line) const
{
    for (const std::string& l : LogLines())
        if (l == line)
            return true;
    return false;
}

std::optional<std::string> Outcome::LineStartingWith(const std::string& prefix) const
{
    for (const std::string& l : LogLines())
        if (l.compare(0, prefix.size(), prefix) == 0)
            return l;
    return std::nullopt;
}

// ---- processes --------------------------------------------------------------

namespace {

std::string ScratchFile(int& fd)
{
    char name[] = "/tmp/pqrun-output-XXXXXX";
    fd = ::mkstemp(name);
    if (fd < 0)
        throw std::runtime_error("mkstemp failed");
    return name;
}

// Starts `launch`, its standard output and error going to `outFd` and `errFd`;
// `beforeExec`, when given, runs in the new process just before the program.
pid_t StartProgram(const Launch& launch, int outFd, int errFd, const std::function<void()>& beforeExec)
{
    std::vector<std::string> words{launch.program};
    words.insert(words.end(), launch.args.begin(), launch.args.end());
    std::vector<char*> argv;
    for (std::string& w : words)
        argv.push_back(&w[0]);
    argv.push_back(nullptr);

    const pid_t pid = ::fork();
    if (pid < 0)
        throw std::runtime_error("fork failed");
    if (pid == 0) {
        if (!launch.cwd.empty() && ::chdir(launch.cwd.c_str()) != 0)
            ::_exit(126);
        ::dup2(outFd, 1);
        ::dup2(errFd, 2);
        if (launch.standardOutput) {
            ::close(1);
            if (!launch.standardOutput->empty()) {
                const int fd = ::open(launch.standardOutput->c_str(), O_WRONLY);
                if (fd < 0 || (fd != 1 && ::dup2(fd, 1) != 1))
                    ::_exit(124);
            }
        }
        if (launch.fileSizeLimit >= 0) {
            // A write beyond the limit then fails with EFBIG instead of a signal.
            ::signal(SIGXFSZ, SIG_IGN);
            const rlimit limit{static_cast<rlim_t>(launch.fileSizeLimit),
                               static_cast<rlim_t>(launch.fileSizeLimit)};
            ::setrlimit(RLIMIT_FSIZE, &limit);
        }
        if (launch.unprivileged && ::geteuid() == 0) {
            const gid_t nogroup = 65534;
            const uid_t nobody = 65534;
            if (::setgroups(0, nullptr) != 0 || ::setgid(nogroup) != 0 || ::setuid(nobody) != 0)
                ::_exit(125);
        }
        if (beforeExec)
            beforeExec();
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    return pid;
}

}  // namespace

Child::Child(const Launch& launch) : Child(launch, nullptr) {}

Child::Child(const Launch& launch, const std::function<void()>& beforeExec)
{
    int outFd, errFd = launch.stderrFd;
    outPath_ = ScratchFile(outFd);
    if (errFd < 0)
        errPath_ = ScratchFile(errFd);
    pid_ = StartProgram(launch, outFd, errFd, beforeExec);
    ::close(outFd);
    if (launch.stderrFd < 0)
        ::close(errFd);
}

Child::~Child()
{
    if (pid_ > 0) {
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
    }
    ::unlink(outPath_.c_str());
    if (!errPath_.empty())
        ::unlink(errPath_.c_str());
}

Outcome Child::Wait()
{
    Outcome result;
    int status = 0;
    while (::waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
    }
    pid_ = -1;
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
    result.out = ReadFile(outPath_);
    if (!errPath_.empty())
        result.err = ReadFile(errPath_);
    return result;
}

Outcome RunProgram(const Launch& launch)
{
    Child child(launch);
    return child.Wait();
}

Outcome RunProgram(const std::vector<std::string>& args)
{
    Launch launch;
    launch.args = args;
    return RunProgram(launch);
}

// ---- files ------------------------------------------------------------------

TempDir::TempDir()
{
    char name[] = "/tmp/pqrun-XXXXXX";
    if (!::mkdtemp(name))
        throw std::runtime_error("mkdtemp failed");
    path_ = name;
    // Readable by the unprivileged runs too.
    ::chmod(path_.c_str(), 0755);
}

TempDir::~TempDir()
{
    std::error_code ec;
    // Undo read-only modes that tests set, then remove everything.
    for (auto it = fs::recursive_directory_iterator(path_, ec); !ec && it != fs::recursive_directory_iterator();
         it.increment(ec)) {
        if (it->is_directory(ec))
            ::chmod(it->path().c_str(), 0755);
    }
    fs::remove_all(path_, ec);
}

std::string TempDir::Subdir(const std::string& name, bool open) const
{
    const std::string dir = *this / name;
    fs::create_directories(dir);
    if (open)
        ::chmod(dir.c_str(), 0777);
    return dir;
}

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFile(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write " + path);
}

bool Exists(const std::string& path)
{
    struct stat st;
    return ::lstat(path.c_str(), &st) == 0;
}

std::vector<std::string> ListDir(const std::string& path)
{
    std::vector<std::string> names;
    std::error_code ec;
    for (auto it = fs::directory_iterator(path, ec); !ec && it != fs::directory_iterator(); it.increment(ec))
        names.push_back(it->path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// ---- texts ------------------------------------------------------------------

std::string FromUtf8(const std::string& utf8, const char* encoding)
{
    iconv_t cd = ::iconv_open(encoding, "UTF-8");
    if (cd == reinterpret_cast<iconv_t>(-1))
        throw std::runtime_error(std::string("iconv cannot convert to ") + encoding);
    std::string in = utf8;
    std::string out(4 * in.size() + 4, '\0');
    char* src = &in[0];
    size_t srcLeft = in.size();
    char* dst = &out[0];
    size_t dstLeft = out.size();
    const size_t done = ::iconv(cd, &src, &srcLeft, &dst, &dstLeft);
    ::iconv_close(cd);
    if (done == static_cast<size_t>(-1))
        throw std::runtime_error(std::string("not ") + encoding + " text: " + utf8);
    out.resize(out.size() - dstLeft);
    return out;
}

std::string Cp1251(const std::string& utf8) { return FromUtf8(utf8, "CP1251"); }

std::string Stamp(int day, long seconds)
{
    std::tm tm{};
    tm.tm_year = 2011 - 1900;
    tm.tm_mon = 2;
    tm.tm_mday = day;
    const std::time_t t = ::timegm(&tm) + seconds;
    std::tm out{};
    ::gmtime_r(&t, &out);
    char buf[32];
    std::strftime(buf, sizeof buf, "%Y-%m-%d %H:%M:%S", &out);
    return buf;
}

std::string Number(const char* format, double value)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, format, value);
    std::string text = buf;
    for (char& c : text)
        if (c == '.')
            c = ',';
    return text;
}

// ---- databases --------------------------------------------------------------

const std::vector<std::string>& ParameterTables()
{
    static const std::vector<std::string> tables{
        "du1m",          "u1unbalance1m", "uthd3s",       "u0unbalance3s", "u2unbalance3s",
        "ac20sdfreq",    "harm_u_L1_3s",  "harm_u_L2_3s", "harm_u_L3_3s"};
    return tables;
}

std::vector<std::string> ColumnsOf(const std::string& table)
{
    if (table == "du1m" || table == "uthd3s")
        return {"L1", "L2", "L3"};
    if (table.compare(0, 7, "harm_u_") == 0) {
        std::vector<std::string> h;
        for (int n = 2; n <= 50; ++n)
            h.push_back("H" + std::to_string(n));
        return h;
    }
    return {"Value"};
}

MeasurementDb::MeasurementDb(const std::string& path, const std::vector<std::string>& omit)
{
    if (sqlite3_open(path.c_str(), &db_) != SQLITE_OK)
        throw std::runtime_error("cannot create " + path);
    Exec("CREATE TABLE Base(Base_id INTEGER PRIMARY KEY, DateTimeMQV TEXT)");
    Exec("CREATE INDEX Base_time ON Base(DateTimeMQV)");
    for (const std::string& t : ParameterTables()) {
        if (std::find(omit.begin(), omit.end(), t) != omit.end())
            continue;
        std::string sql = "CREATE TABLE " + t + "(Base_id INTEGER PRIMARY KEY";
        for (const std::string& c : ColumnsOf(t))
            sql += ", " + c + " REAL";
        Exec(sql + ")");
    }
}

MeasurementDb::~MeasurementDb() { Close(); }

void MeasurementDb::Close()
{
    if (db_)
        sqlite3_close(db_);
    db_ = nullptr;
}

void MeasurementDb::Exec(const std::string& sql)
{
    char* error = nullptr;
    if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
        const std::string text = error ? error : "?";
        sqlite3_free(error);
        throw std::runtime_error(sql + ": " + text);
    }
}

void MeasurementDb::Series(const std::string& table, int day, int stepSeconds, int count, const Cell& cell)
{
    const std::vector<std::string> columns = ColumnsOf(table);
    std::string sql = "INSERT INTO " + table + "(Base_id";
    for (const std::string& c : columns)
        sql += ", " + c;
    sql += ") VALUES(?";
    for (size_t i = 0; i < columns.size(); ++i)
        sql += ", ?";
    sql += ")";

    sqlite3_stmt* base = nullptr;
    sqlite3_stmt* row = nullptr;
    sqlite3_prepare_v2(db_, "INSERT INTO Base(DateTimeMQV) VALUES(?)", -1, &base, nullptr);
    sqlite3_prepare_v2(db_, sql.c_str(), -1, &row, nullptr);
    if (!base || !row)
        throw std::runtime_error("cannot prepare " + sql);
    Exec("BEGIN");
    for (int i = 0; i < count; ++i) {
        const std::string stamp = Stamp(day, static_cast<long>(i) * stepSeconds);
        auto instant = instants_.find(stamp);
        if (instant == instants_.end()) {
            sqlite3_reset(base);
            sqlite3_bind_text(base, 1, stamp.c_str(), -1, SQLITE_TRANSIENT);
            sqlite3_step(base);
            instant = instants_.emplace(stamp, sqlite3_last_insert_rowid(db_)).first;
        }
        sqlite3_reset(row);
        sqlite3_bind_int64(row, 1, instant->second);
        for (size_t c = 0; c < columns.size(); ++c) {
            const std::optional<double> v = cell(i, static_cast<int>(c));
            if (v)
                sqlite3_bind_double(row, static_cast<int>(c) + 2, *v);
            else
                sqlite3_bind_null(row, static_cast<int>(c) + 2);
        }
        if (sqlite3_step(row) != SQLITE_DONE)
            throw std::runtime_error("cannot insert into " + table);
    }
    Exec("COMMIT");
    sqlite3_finalize(base);
    sqlite3_finalize(row);
}

// ---- settings ---------------------------------------------------------------

namespace {

std::string Escaped(const std::string& text)
{
    std::string out;
    for (char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        default: out += c;
        }
    }
    return out;
}

}  // namespace

Settings::Settings(const std::string& db, const std::string& userDir, int days) : userDir_(userDir)
{
    Set("dt_begin", "01.03.2011 00:00:00");
    Set("n_Dayes", std::to_string(days));
    for (int d = 0; d < 7; ++d) {
        Set("dt_max_load_begin_" + std::to_string(d), "8:00");
        Set("dt_max_load_end_" + std::to_string(d), "20:00");
    }
    Set("Unom", "0");
    Set("DB", db);
}

Settings& Settings::Set(const std::string& name, const std::string& value)
{
    for (auto& nv : values_)
        if (nv.first == name) {
            nv.second = value;
            return *this;
        }
    values_.emplace_back(name, value);
    return *this;
}

Settings& Settings::Remove(const std::string& name)
{
    values_.erase(std::remove_if(values_.begin(), values_.end(),
                                 [&](const auto& nv) { return nv.first == name; }),
                  values_.end());
    return *this;
}

Settings& Settings::UserDir(std::optional<std::string> dir)
{
    userDir_ = std::move(dir);
    return *this;
}

Settings& Settings::Root(const std::string& name)
{
    root_ = name;
    return *this;
}

std::string Settings::Xml() const
{
    std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<" + root_ + ">\n  <ReportData>\n";
    for (const auto& nv : values_)
        xml += "    <" + nv.first + " Value=\"" + Escaped(nv.second) + "\"/>\n";
    xml += "  </ReportData>\n";
    if (userDir_)
        xml += "  <UserDirectory Dir=\"" + Escaped(*userDir_) + "\"/>\n";
    return xml + "</" + root_ + ">\n";
}

std::string Settings::Write(const std::string& path) const
{
    WriteFile(path, Xml());
    return path;
}

// ---- templates --------------------------------------------------------------

std::string InstallProgram(const std::string& dir, const std::string& dayTemplate,
                           const std::string& titleTemplate)
{
    fs::create_directories(dir);
    const std::string program = dir + "/pqreport";
    if (::link(BuildProgram().c_str(), program.c_str()) != 0)
        fs::copy_file(BuildProgram(), program, fs::copy_options::overwrite_existing);
    WriteFile(dir + "/tbl1.htm", dayTemplate);
    WriteFile(dir + "/Title.htm", titleTemplate);
    return program;
}

std::map<int, std::string> MarkedValues(const std::string& page)
{
    std::map<int, std::string> values;
    static const std::regex mark(R"(\|(\d+)=([^|<]*))");
    for (auto it = std::sregex_iterator(page.begin(), page.end(), mark); it != std::sregex_iterator(); ++it)
        values[std::stoi((*it)[1])] = (*it)[2];
    return values;
}

std::vector<HarmonicRow> HarmonicRows(const std::string& page)
{
    std::vector<HarmonicRow> rows;
    static const std::regex row(R"(<tr class="h"><td>([^<]*)</td>((?:<td>[^<]*</td>)*)</tr>)");
    static const std::regex cell(R"(<td>([^<]*)</td>)");
    for (auto it = std::sregex_iterator(page.begin(), page.end(), row); it != std::sregex_iterator(); ++it) {
        HarmonicRow r{std::atoi((*it)[1].str().c_str()), {}};
        const std::string cells = (*it)[2];
        for (auto c = std::sregex_iterator(cells.begin(), cells.end(), cell); c != std::sregex_iterator(); ++c)
            r.cells.push_back((*c)[1]);
        rows.push_back(r);
    }
    return rows;
}

// ---- workspace --------------------------------------------------------------

Workspace::Workspace(const std::string& dayTemplate, const std::string& titleTemplate)
    : db(dir / "m.db"), out(dir.Subdir("out", true) + "/"),
      program(InstallProgram(dir / "bin", dayTemplate, titleTemplate))
{
    MeasurementDb(db).Close();
}

std::string Workspace::Write(const Settings& s, const std::string& name) const
{
    return s.Write(dir / name);
}

Launch Workspace::At(std::vector<std::string> args) const
{
    Launch launch;
    launch.program = program;
    launch.args = std::move(args);
    return launch;
}

// ---- environment ------------------------------------------------------------

ScopedEnv::ScopedEnv(const std::string& name, const std::string& value) : name_(name)
{
    if (const char* old = std::getenv(name.c_str()))
        previous_ = old;
    ::setenv(name.c_str(), value.c_str(), 1);
}

ScopedEnv::~ScopedEnv()
{
    if (previous_)
        ::setenv(name_.c_str(), previous_->c_str(), 1);
    else
        ::unsetenv(name_.c_str());
}

}  // namespace pqrun

// ---- watching running processes ---------------------------------------------

#include <chrono>
#include <climits>
#include <cstddef>
#include <thread>

#include <linux/filter.h>
#include <linux/seccomp.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/syscall.h>

namespace pqrun {

bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout)
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!done()) {
        if (std::chrono::steady_clock::now() >= deadline)
            return done();
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

bool ProcessAsleep(pid_t pid)
{
    const std::string proc = "/proc/" + std::to_string(pid);
    // "<number> <arguments...>" while it is in a system call, "running" or
    // "-1 ..." otherwise.
    std::istringstream syscall(ReadFile(proc + "/syscall"));
    long number = -1;
    if (syscall >> number) {
        return number == SYS_clock_nanosleep
#ifdef SYS_nanosleep
               || number == SYS_nanosleep
#endif
#ifdef SYS_fcntl
               || number == SYS_fcntl
#endif
#ifdef SYS_fcntl64
               || number == SYS_fcntl64
#endif
            ;
    }
    // Without /proc/PID/syscall: the kernel function it waits in.
    const std::string wchan = ReadFile(proc + "/wchan");
    return wchan.find("nanosleep") != std::string::npos || wchan.find("lock") != std::string::npos;
}

pid_t DbLockHolder(const std::string& path, DbLock lock)
{
    const off_t pending = 0x40000000, reserved = pending + 1, sharedFirst = pending + 2, sharedSize = 510;
    struct flock probe {};
    probe.l_whence = SEEK_SET;
    // A read-lock probe meets write locks only; a write-lock probe meets any.
    const auto ask = [&probe](short type, off_t start, off_t length) {
        probe.l_type = type;
        probe.l_start = start;
        probe.l_len = length;
    };
    switch (lock) {
    case DbLock::Shared: ask(F_WRLCK, sharedFirst, sharedSize); break;
    case DbLock::Reserved: ask(F_RDLCK, reserved, 1); break;
    case DbLock::Pending: ask(F_RDLCK, pending, 1); break;
    case DbLock::Exclusive: ask(F_RDLCK, sharedFirst, sharedSize); break;
    }

    // Closing a descriptor of the file would drop every fcntl lock that this
    // process holds on it: ask from a forked process instead.
    int channel[2];
    if (::pipe(channel) != 0)
        throw std::runtime_error("pipe failed");
    const pid_t asker = ::fork();
    if (asker < 0)
        throw std::runtime_error("fork failed");
    if (asker == 0) {
        ::close(channel[0]);
        pid_t holder = -1;  // the question could not be asked
        const int fd = ::open(path.c_str(), O_RDONLY);
        if (fd >= 0 && ::fcntl(fd, F_GETLK, &probe) == 0)
            holder = probe.l_type == F_UNLCK ? 0 : probe.l_pid;
        const ssize_t written = ::write(channel[1], &holder, sizeof holder);
        ::_exit(written == sizeof holder ? 0 : 1);
    }
    ::close(channel[1]);
    pid_t holder = -1;
    ssize_t got;
    while ((got = ::read(channel[0], &holder, sizeof holder)) < 0 && errno == EINTR) {
    }
    ::close(channel[0]);
    while (::waitpid(asker, nullptr, 0) < 0 && errno == EINTR) {
    }
    if (got != sizeof holder || holder < 0)
        throw std::runtime_error("cannot examine the locks on " + path);
    return holder;
}

bool WatchedChild::Ended() const
{
    if (pid_ <= 0)
        return true;
    siginfo_t info{};
    return ::waitid(P_PID, static_cast<id_t>(pid_), &info, WEXITED | WNOHANG | WNOWAIT) == 0 && info.si_pid != 0;
}

std::vector<std::string> WatchedChild::LogLinesSoFar() const
{
    std::vector<std::string> lines;
    const std::string log = StripStamps(ReadFile(errPath_));
    size_t at = 0;
    for (size_t end; (end = log.find('\n', at)) != std::string::npos; at = end + 1)
        lines.push_back(log.substr(at, end - at));
    return lines;
}

bool WatchedChild::WaitForLine(const std::string& line, std::chrono::milliseconds timeout) const
{
    const auto logged = [&] {
        const std::vector<std::string> lines = LogLinesSoFar();
        return std::find(lines.begin(), lines.end(), line) != lines.end();
    };
    // Read once more after the end: the last lines may have come just before it.
    WaitUntil([&] { return logged() || Ended(); }, timeout);
    return logged();
}

bool WatchedChild::WaitUntilBlockedAfter(const std::string& line, std::chrono::milliseconds timeout) const
{
    const auto lastIsLine = [&](bool& movedOn) {
        const std::vector<std::string> lines = LogLinesSoFar();
        const auto at = std::find(lines.begin(), lines.end(), line);
        movedOn = at != lines.end() && at + 1 != lines.end();
        return at != lines.end() && at + 1 == lines.end();
    };
    bool blocked = false;
    WaitUntil(
        [&] {
            bool movedOn = false;
            if (!lastIsLine(movedOn))
                return movedOn || Ended();
            // `line` came before the sleep seen here, and nothing after it by
            // the time the sleep was seen.
            blocked = ProcessAsleep(pid_) && lastIsLine(movedOn);
            return blocked || movedOn;
        },
        timeout);
    return blocked;
}

namespace {

// In the started process: makes its fsync calls wait for a seccomp listener
// and sends the listener over `channel`, or the error number alone when there
// is none.
void GateSyncs(int channel)
{
    // The program makes native system calls only, so the number alone tells fsync.
    sock_filter code[] = {
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, nr)),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, SYS_fsync, 0, 1),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_USER_NOTIF),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW),
    };
    sock_fprog program{static_cast<unsigned short>(sizeof code / sizeof code[0]), code};
    int listener = -1;
    if (::prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) == 0)
        listener = static_cast<int>(
            ::syscall(SYS_seccomp, SECCOMP_SET_MODE_FILTER, SECCOMP_FILTER_FLAG_NEW_LISTENER, &program));
    int error = listener < 0 ? errno : 0;
    iovec data{&error, sizeof error};
    alignas(cmsghdr) char control[CMSG_SPACE(sizeof(int))] = {};
    msghdr message{};
    message.msg_iov = &data;
    message.msg_iovlen = 1;
    if (listener >= 0) {
        message.msg_control = control;
        message.msg_controllen = sizeof control;
        cmsghdr* rights = CMSG_FIRSTHDR(&message);
        rights->cmsg_level = SOL_SOCKET;
        rights->cmsg_type = SCM_RIGHTS;
        rights->cmsg_len = CMSG_LEN(sizeof(int));
        std::memcpy(CMSG_DATA(rights), &listener, sizeof listener);
    }
    const bool sent = ::sendmsg(channel, &message, 0) == static_cast<ssize_t>(sizeof error);
    if (listener >= 0)
        ::close(listener);
    ::close(channel);
    if (!sent || listener < 0)
        ::_exit(124);
}

// The listener that GateSyncs sent; throws when none came.
int ReceiveListener(int channel)
{
    int error = 0;
    iovec data{&error, sizeof error};
    alignas(cmsghdr) char control[CMSG_SPACE(sizeof(int))] = {};
    msghdr message{};
    message.msg_iov = &data;
    message.msg_iovlen = 1;
    message.msg_control = control;
    message.msg_controllen = sizeof control;
    ssize_t got;
    while ((got = ::recvmsg(channel, &message, MSG_CMSG_CLOEXEC)) < 0 && errno == EINTR) {
    }
    if (got != static_cast<ssize_t>(sizeof error))
        throw std::runtime_error("the started process sent no seccomp listener");
    if (error != 0)
        throw std::runtime_error(std::string("seccomp user notifications are not available: ") +
                                 std::strerror(error));
    const cmsghdr* rights = CMSG_FIRSTHDR(&message);
    if (!rights || rights->cmsg_level != SOL_SOCKET || rights->cmsg_type != SCM_RIGHTS)
        throw std::runtime_error("the started process sent no seccomp listener");
    int listener;
    std::memcpy(&listener, CMSG_DATA(rights), sizeof listener);
    return listener;
}

std::pair<int, int> NewChannel()
{
    int ends[2];
    if (::socketpair(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0, ends) != 0)
        throw std::runtime_error("socketpair failed");
    return {ends[0], ends[1]};
}

}  // namespace

SyncGatedChild::SyncGatedChild(const Launch& launch) : SyncGatedChild(launch, NewChannel()) {}

SyncGatedChild::SyncGatedChild(const Launch& launch, std::pair<int, int> channel)
    : WatchedChild(launch, [channel] { GateSyncs(channel.second); })
{
    ::close(channel.second);
    try {
        listener_ = ReceiveListener(channel.first);
    } catch (...) {
        ::close(channel.first);
        throw;
    }
    ::close(channel.first);
}

SyncGatedChild::~SyncGatedChild()
{
    // A sync still held fails once the listener is gone; the program is killed after.
    if (listener_ >= 0)
        ::close(listener_);
}

std::optional<std::string> SyncGatedChild::HeldSync(std::chrono::milliseconds timeout)
{
    if (held_)
        throw std::logic_error("an fsync is held already");
    const auto notified = [this] {
        pollfd p{listener_, POLLIN, 0};
        return ::poll(&p, 1, 0) == 1 && (p.revents & POLLIN) != 0;
    };
    WaitUntil([&] { return notified() || Ended(); }, timeout);
    if (!notified())
        return std::nullopt;
    seccomp_notif request{};  // the kernel wants it zeroed
    if (::ioctl(listener_, SECCOMP_IOCTL_NOTIF_RECV, &request) != 0)
        return std::nullopt;
    held_ = request.id;
    const std::string fd = "/proc/" + std::to_string(request.pid) + "/fd/" + std::to_string(request.data.args[0]);
    char path[PATH_MAX];
    const ssize_t n = ::readlink(fd.c_str(), path, sizeof path);
    return n < 0 ? std::string() : std::string(path, static_cast<size_t>(n));
}

void SyncGatedChild::Release()
{
    if (!held_)
        return;
    seccomp_notif_resp response{};
    response.id = *held_;
    response.flags = SECCOMP_USER_NOTIF_FLAG_CONTINUE;
    // Fails (ENOENT) only when the program has ended meanwhile.
    ::ioctl(listener_, SECCOMP_IOCTL_NOTIF_SEND, &response);
    held_.reset();
}

}  // namespace pqrun

namespace pqrun {

// Two days of every series within its limits, except the frequency of day 2,
// which leaves its maximum limit for an hour; the first hour of day 2's
// voltage deviation is missing.
// The cells of the table row whose first cell starts with `label`.
std::vector<std::string> RowCells(const std::string& page, const std::string& label)
{
    const size_t at = page.find("<td class=\"lbl\">" + label);
    if (at == std::string::npos)
        return {};
    const std::string row = page.substr(at, page.find("</tr>", at) - at);
    // Each cell's text with its markup removed.
    static const std::regex cell(R"(<td[^>]*>(.*?)</td>)"), tag("<[^>]*>");
    std::vector<std::string> cells;
    for (auto it = std::sregex_iterator(row.begin(), row.end(), cell); it != std::sregex_iterator(); ++it)
        cells.push_back(std::regex_replace((*it)[1].str(), tag, ""));
    return cells;
}

void ExecSql(const std::string& db, const std::string& sql)
{
    sqlite3* handle = nullptr;
    if (sqlite3_open(db.c_str(), &handle) != SQLITE_OK) {
        sqlite3_close(handle);
        throw std::runtime_error("cannot open " + db);
    }
    char* error = nullptr;
    const int rc = sqlite3_exec(handle, sql.c_str(), nullptr, nullptr, &error);
    const std::string why = error ? error : "";
    sqlite3_free(error);
    sqlite3_close(handle);
    if (rc != SQLITE_OK)
        throw std::runtime_error(db + ": " + sql + ": " + why);
}

void WriteTwoDays(const Workspace& w)
{
    {
        MeasurementDb db(w.db + ".new");
        for (int day : {1, 2}) {
            db.Series("du1m", day, 60, 1440, [day](int i, int c) -> std::optional<double> {
                if (day == 2 && i < 60)
                    return std::nullopt;
                return ((i * 37 + c * 11) % 701 - 350) / 100.0;
            });
            db.Series("u1unbalance1m", day, 60, 1440, [](int i, int) { return (i * 13 % 150) / 100.0; });
            db.Series("uthd3s", day, 60, 1440, [](int i, int c) { return ((i * 7 + c * 3) % 300) / 100.0; });
            db.Series("u0unbalance3s", day, 60, 1440, [](int i, int) { return (i * 3 % 150) / 100.0; });
            db.Series("u2unbalance3s", day, 60, 1440, [](int i, int) { return (i * 11 % 170) / 100.0; });
            db.Series("ac20sdfreq", day, 60, 1440, [day](int i, int) {
                return day == 2 && i >= 600 && i < 660 ? 0.45 : ((i * 17) % 31 - 15) / 100.0;
            });
            for (const char* t : {"harm_u_L1_3s", "harm_u_L2_3s", "harm_u_L3_3s"})
                db.Series(t, day, 300, 288, [](int i, int c) { return ((i + c) % 10) / 100.0; });
        }
    }
    std::rename((w.db + ".new").c_str(), w.db.c_str());
}

}  // namespace pqrun
