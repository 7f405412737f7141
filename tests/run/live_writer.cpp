// A stand-in for a logger that writes its database while a report reads it:
//   live_writer DB INTERVAL_MS BUSY_TIMEOUT_MS
// writes one instant (a Base row and a du1m row, far after any report's
// period) every INTERVAL_MS, each in its own transaction, waiting at most
// BUSY_TIMEOUT_MS for the database, until SIGTERM or SIGINT. It prints a line
// per write on standard error, unbuffered: "ok <milliseconds>" or "refused
// <milliseconds> <SQLite's message>", the time from the start of the write
// to its end.
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include <sqlite3.h>

namespace {

volatile std::sig_atomic_t stopping = 0;

extern "C" void Stop(int) { stopping = 1; }

// Runs the statements of one write; false with SQLite's message on the first failure.
bool Write(sqlite3* db, int n, std::string& why)
{
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "2031-01-01 %02d:%02d:%02d", n / 3600 % 24, n / 60 % 60, n % 60);
    const std::string id = std::to_string(900000000 + n);
    const std::string statements[] = {
        "BEGIN IMMEDIATE",
        "INSERT INTO Base(Base_id, DateTimeMQV) VALUES(" + id + ", '" + stamp + "')",
        "INSERT INTO du1m(Base_id, L1, L2, L3) VALUES(" + id + ", 1.5, 1.5, 1.5)",
        "COMMIT",
    };
    for (const std::string& sql : statements) {
        char* error = nullptr;
        if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
            why = error ? error : "unknown error";
            sqlite3_free(error);
            sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
            return false;
        }
    }
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: live_writer DB INTERVAL_MS BUSY_TIMEOUT_MS\n");
        return 2;
    }
    std::signal(SIGTERM, Stop);
    std::signal(SIGINT, Stop);
    const auto interval = std::chrono::milliseconds(std::atoi(argv[2]));
    sqlite3* db = nullptr;
    if (sqlite3_open(argv[1], &db) != SQLITE_OK) {
        std::fprintf(stderr, "live_writer: cannot open %s\n", argv[1]);
        return 1;
    }
    sqlite3_busy_timeout(db, std::atoi(argv[3]));
    auto next = std::chrono::steady_clock::now();
    for (int n = 0; !stopping; ++n) {
        const auto start = std::chrono::steady_clock::now();
        std::string why;
        const bool ok = Write(db, n, why);
        const long long ms =
            std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
        if (ok)
            std::fprintf(stderr, "ok %lld\n", ms);
        else
            std::fprintf(stderr, "refused %lld %s\n", ms, why.c_str());
        next += interval;
        while (!stopping && std::chrono::steady_clock::now() < next)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    sqlite3_close(db);
    return 0;
}
