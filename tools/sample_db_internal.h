#pragma once
// Private parts of the sample database maker, shared by its source files and
// by nothing else:
//   sample_db.cpp           the database file, its schema and its transaction
//   sample_db_table.cpp     SQLite helpers and the parameter table writer
//   sample_db_series.cpp    the load curve, the class levels and the series
//   sample_db_faults.cpp    sag day, THD day, missing minutes and NULLs
//   sample_db_calendar.cpp  wall-clock stamps
//   sample_db_options.cpp   the command line and its usage text
#include <sqlite3.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "tools/sample_db.h"

namespace sampledb::internal {

const int kSecondsPerDay = 86400;
const int kHighestStoredOrder = 50;

// ---- Calendar arithmetic on wall-clock time (no daylight-saving shifts) ----

// "YYYY-MM-DD HH:MM:SS" to seconds since 1970-01-01 00:00:00 of the same clock.
bool ParseStamp(const std::string& text, long long& seconds);

// Seconds since 1970-01-01 00:00:00 to "YYYY-MM-DD HH:MM:SS" in `out`, which
// holds at least 32 characters.
void FormatStamp(long long seconds, char* out);

// ---- Random numbers: xoshiro256** seeded through splitmix64 ----

inline uint64_t SplitMix(uint64_t& x)
{
    uint64_t z = (x += 0x9e3779b97f4a7c15ULL);
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
    return z ^ (z >> 31);
}

class Rng {
public:
    Rng(uint64_t seed, uint64_t stream, uint64_t day)
    {
        uint64_t x = seed ^ (stream * 0x632be59bd9b4e019ULL) ^ (day * 0x85ebca77c2b2ae63ULL);
        for (uint64_t& word : s_)
            word = SplitMix(x);
    }

    uint64_t Next()
    {
        const uint64_t result = Rotl(s_[1] * 5, 7) * 9;
        const uint64_t t = s_[1] << 17;
        s_[2] ^= s_[0];
        s_[3] ^= s_[1];
        s_[1] ^= s_[2];
        s_[0] ^= s_[3];
        s_[2] ^= t;
        s_[3] = Rotl(s_[3], 45);
        return result;
    }

    // Uniform in [0, 1).
    double Uniform() { return static_cast<double>(Next() >> 11) * (1.0 / 9007199254740992.0); }

    // Standard normal, cut at +-3 so that every level stays bounded.
    double Gauss()
    {
        if (hasSpare_) {
            hasSpare_ = false;
            return spare_;
        }
        double u, v, q;
        do {
            u = 2.0 * Uniform() - 1.0;
            v = 2.0 * Uniform() - 1.0;
            q = u * u + v * v;
        } while (q >= 1.0 || q == 0.0);
        const double f = std::sqrt(-2.0 * std::log(q) / q);
        spare_ = Clamp(v * f);
        hasSpare_ = true;
        return Clamp(u * f);
    }

private:
    static uint64_t Rotl(uint64_t x, int k) { return (x << k) | (x >> (64 - k)); }
    static double Clamp(double g) { return std::max(-3.0, std::min(3.0, g)); }
    uint64_t s_[4];
    double spare_ = 0;
    bool hasSpare_ = false;
};

// Random streams, one per series group, reseeded for every day so that a
// fault or a NULL on one day does not change the values of another.
enum Stream : uint64_t { kVoltage = 1, kFrequency, kUnbalance, kHarmonic, kNulls, kFaults };

inline double Round(double v, double scale) { return std::round(v * scale) / scale; }

inline bool In(int t, int from, int to) { return t >= from && t < to; }

// Typical levels and the THD limits of a voltage class.
struct ClassLevels {
    double voltage, unbalance, harmonic;  // scale of typical levels
    double thdNormal, thdMaximum;         // limits of total harmonic distortion
};

// ---- Writing (sample_db_table.cpp) ----

// Throws std::runtime_error naming `what` unless rc is OK, DONE or ROW.
void Check(sqlite3* db, int rc, const char* what);

// Runs SQL without results; throws std::runtime_error on failure.
void Exec(sqlite3* db, const std::string& sql);

// One parameter table: Base_id and REAL value columns, filled through one
// prepared statement. It owns the statement, so it is neither copied nor
// moved: the tables live where they are made and are handed round by pointer.
class Table {
public:
    Table(std::string name, std::vector<std::string> columns);
    ~Table();
    Table(const Table&) = delete;
    Table& operator=(const Table&) = delete;

    // Creates the table in `db` and prepares its insert statement.
    void Create(sqlite3* db);

    // Writes one row; with `nulls`, each value is NULL at kNullRate.
    void Insert(long long baseId, const double* values, Rng* nulls);

    const std::string& Name() const { return name_; }
    long long Rows() const { return rows_; }

private:
    std::string name_;
    std::vector<std::string> columns_;
    sqlite3* db_ = nullptr;
    sqlite3_stmt* insert_ = nullptr;
    long long rows_ = 0;
};

// ---- Series (sample_db_series.cpp) ----

// Generates the series of all days in time order and writes them to Base and
// to `tables`, which are du1m, u1unbalance1m, uthd3s, u0unbalance3s,
// u2unbalance3s, ac20sdfreq and harm_u_L1_3s..harm_u_L3_3s in that order, all
// created. Returns the number of Base rows written.
long long WriteSeries(sqlite3* db, const Options& options, const std::vector<Table*>& tables);

// ---- Faults (sample_db_faults.cpp) ----

const double kNullRate = 0.002;  // share of value cells left NULL with --null-values

// Whether a value cell is left NULL: never without `nulls`, else at kNullRate
// (drawing one uniform of `nulls`).
inline bool LeaveNull(Rng* nulls) { return nulls && nulls->Uniform() < kNullRate; }

// The minutes that --missing-minutes drops from every table on one day.
class MissingMinutes {
public:
    MissingMinutes(const Options& options, int day);  // day 0-based

    // Whether the instant `t` seconds from the day's start is dropped.
    bool Drops(int t) const { return on_ && In(t / 60, from_, from_ + count_); }

private:
    bool on_;
    int from_, count_;
};

// The voltage deviation `v` of phase `phase` at `t` seconds from the start of
// a sag day: below -5 % from 10:00 to 12:10, at -11 % or lower from 14:20 to
// 14:28, and `v` otherwise. `common` is the minute's common wander. Draws from
// `rng` only inside those periods.
double SagDayVoltage(Rng& rng, int t, int phase, double common, double v);

// On a THD day, replaces the three phases' `thd` at `t` seconds from the day's
// start: three hours above the normal limit of the class, with three
// one-minute bursts above its maximum limit.
void ThdFault(const ClassLevels& levels, Rng& rng, int t, double* thd);

}  // namespace sampledb::internal
