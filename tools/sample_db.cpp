#include "tools/sample_db.h"

#include <sqlite3.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

namespace sampledb {

namespace {

const int kSecondsPerDay = 86400;
const int kHighestStoredOrder = 50;
const double kNullRate = 0.002;  // share of value cells left NULL with --null-values
const double kPi = 3.14159265358979323846;

// ---- Calendar arithmetic on wall-clock time (no daylight-saving shifts) ----

long long DaysFromCivil(long long y, unsigned m, unsigned d)
{
    y -= m <= 2;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<long long>(doe) - 719468;
}

void CivilFromDays(long long z, int& y, int& m, int& d)
{
    z += 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    y = static_cast<int>(yoe + era * 400 + (m <= 2));
}

bool IsLeap(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int DaysInMonth(int y, int m)
{
    static const int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && IsLeap(y) ? 29 : days[m - 1];
}

// "YYYY-MM-DD HH:MM:SS" to seconds since 1970-01-01 00:00:00 of the same clock.
bool ParseStamp(const std::string& text, long long& seconds)
{
    int y, mo, d, h, mi, s;
    char tail;
    if (text.size() != 19 || text[4] != '-' || text[7] != '-' || text[10] != ' ' || text[13] != ':' ||
        text[16] != ':')
        return false;
    if (std::sscanf(text.c_str(), "%4d-%2d-%2d %2d:%2d:%2d%c", &y, &mo, &d, &h, &mi, &s, &tail) != 6)
        return false;
    if (y < 1970 || y > 9999 || mo < 1 || mo > 12 || d < 1 || d > DaysInMonth(y, mo) || h > 23 ||
        mi > 59 || s > 59 || h < 0 || mi < 0 || s < 0)
        return false;
    seconds = DaysFromCivil(y, mo, d) * kSecondsPerDay + h * 3600 + mi * 60 + s;
    return true;
}

void FormatStamp(long long seconds, char* out)
{
    int y, m, d;
    CivilFromDays(seconds / kSecondsPerDay, y, m, d);
    const int sod = static_cast<int>(seconds % kSecondsPerDay);
    std::snprintf(out, 32, "%04d-%02d-%02d %02d:%02d:%02d", y, m, d, sod / 3600, sod / 60 % 60, sod % 60);
}

// ---- Random numbers: xoshiro256** seeded through splitmix64 ----

uint64_t SplitMix(uint64_t& x)
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

// Noise of mean 0 and deviation 1, within +-3.5, that depends only on `key`:
// the sum of four 16-bit uniforms of its hash.
double HashNoise(uint64_t key)
{
    const uint64_t h = SplitMix(key);
    const double sum = static_cast<double>((h & 0xffff) + ((h >> 16) & 0xffff) + ((h >> 32) & 0xffff) + (h >> 48));
    return (sum / 65535.0 - 2.0) * 1.7320508075688772;
}

// A first-order autoregressive wander around 0 with stationary deviation sigma.
struct Wander {
    double phi, sigma, value = 0;
    double Step(Rng& rng)
    {
        value = phi * value + sigma * std::sqrt(1 - phi * phi) * rng.Gauss();
        return value;
    }
};

// Random streams, one per series group, reseeded for every day so that a
// fault or a NULL on one day does not change the values of another.
enum Stream : uint64_t { kVoltage = 1, kFrequency, kUnbalance, kHarmonic, kNulls, kFaults };

double Round(double v, double scale) { return std::round(v * scale) / scale; }

double Sigmoid(double x) { return 1.0 / (1.0 + std::exp(-x)); }

// Load of the clock hour h, 0 at night to 1 inside the max-load period.
double Load(double h, double begin, double end)
{
    const double k = 1 / 0.4;
    if (begin <= end)
        return Sigmoid((h - begin) * k) - Sigmoid((h - end) * k);
    // A period over midnight.
    return 1 - (Sigmoid((h - end) * k) - Sigmoid((h - begin) * k));
}

// Typical harmonic voltage coefficient of a 0.38 kV feeder, percent.
double TypicalHarmonic(int n)
{
    static const double low[26] = {0,    0,    0.12, 1.0,  0.08, 3.0,  0.05, 2.2,  0.05,
                                   0.3,  0.04, 1.0,  0.04, 0.7,  0.03, 0.12, 0.03, 0.45,
                                   0.03, 0.35, 0.03, 0.06, 0.025, 0.25, 0.025, 0.2};
    if (n <= 25)
        return low[n];
    if (n % 2 == 0)
        return 0.025;
    if (n % 3 == 0)
        return 0.04;
    return 0.15 * 25.0 / n;
}

struct ClassLevels {
    double voltage, unbalance, harmonic;  // scale of typical levels
    double thdNormal, thdMaximum;         // limits of total harmonic distortion
};

const ClassLevels& Levels(int voltageClass)
{
    static const ClassLevels levels[4] = {
        {1.0, 1.0, 1.0, 8.0, 12.0},
        {0.8, 0.8, 0.55, 5.0, 8.0},
        {0.7, 0.65, 0.45, 4.0, 6.0},
        {0.6, 0.5, 0.2, 2.0, 3.0},
    };
    return levels[voltageClass];
}

// ---- Writing ----

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

// One parameter table: Base_id and REAL value columns, filled through one
// prepared statement.
class Table {
public:
    Table(std::string name, std::vector<std::string> columns)
        : name_(std::move(name)), columns_(std::move(columns))
    {
    }
    ~Table() { sqlite3_finalize(insert_); }

    void Create(sqlite3* db)
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

    // Writes one row; with `nulls`, each value is NULL at kNullRate.
    void Insert(long long baseId, const double* values, Rng* nulls)
    {
        sqlite3_bind_int64(insert_, 1, baseId);
        for (size_t i = 0; i < columns_.size(); ++i) {
            if (nulls && nulls->Uniform() < kNullRate)
                sqlite3_bind_null(insert_, static_cast<int>(i) + 2);
            else
                sqlite3_bind_double(insert_, static_cast<int>(i) + 2, values[i]);
        }
        Check(db_, sqlite3_step(insert_), name_.c_str());
        sqlite3_reset(insert_);
        ++rows_;
    }

    const std::string& Name() const { return name_; }
    long long Rows() const { return rows_; }

private:
    std::string name_;
    std::vector<std::string> columns_;
    sqlite3* db_ = nullptr;
    sqlite3_stmt* insert_ = nullptr;
    long long rows_ = 0;
};

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

// A short excursion of the frequency: start sample, length, peak.
struct Excursion {
    int start, length;
    double peak;
};

// Offsets from the day's start of the fault periods, in seconds.
const int kUndervoltageFrom = 10 * 3600, kUndervoltageTo = 12 * 3600 + 10 * 60;
const int kSagFrom = 14 * 3600 + 20 * 60, kSagTo = 14 * 3600 + 28 * 60;
const int kThdFrom = 17 * 3600, kThdTo = 20 * 3600;
const int kThdBursts[3] = {17 * 3600 + 30 * 60, 18 * 3600 + 30 * 60, 19 * 3600 + 30 * 60};
const int kMissingFromMinute = 10 * 60;

bool In(int t, int from, int to) { return t >= from && t < to; }

// Generates and writes the series, day by day, in time order.
class Generator {
public:
    explicit Generator(const Options& o) : o_(o), levels_(Levels(o.voltageClass))
    {
        ParseStamp(o.start, start_);
    }

    void Run(sqlite3* db, const std::vector<Table*>& tables)
    {
        sqlite3_stmt* base = nullptr;
        Check(db, sqlite3_prepare_v2(db, "INSERT INTO Base VALUES(?,?)", -1, &base, nullptr), "Base");
        std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt*)> baseGuard(base, sqlite3_finalize);
        Table& du = *tables[0];
        Table& u1 = *tables[1];
        Table& thd = *tables[2];
        Table& k0 = *tables[3];
        Table& k2 = *tables[4];
        Table& freq = *tables[5];
        Table* harm[3] = {tables[6], tables[7], tables[8]};

        const double b = o_.maxLoadBegin / 60.0, e = o_.maxLoadEnd / 60.0;
        for (int day = 0; day < o_.days; ++day) {
            Rng voltageRng(o_.seed, kVoltage, day), freqRng(o_.seed, kFrequency, day),
                unbalanceRng(o_.seed, kUnbalance, day), harmonicRng(o_.seed, kHarmonic, day),
                nullRng(o_.seed, kNulls, day), faultRng(o_.seed, kFaults, day);
            Rng* nulls = o_.nullValues ? &nullRng : nullptr;
            const bool sagDay = o_.sagDay == day + 1, thdDay = o_.thdDay == day + 1;
            const bool missingDay = o_.missingMinutes > 0 && o_.missingDay == day + 1;
            const int missingFrom = std::min(kMissingFromMinute, 1440 - o_.missingMinutes);
            const std::vector<Excursion> excursions = PlanExcursions(freqRng);
            const uint64_t harmonicKey = harmonicRng.Next();

            double duValues[3] = {0, 0, 0}, u1Value = 0;
            for (int t = 0; t < kSecondsPerDay; ++t) {
                const bool is3 = t % 3 == 0, is20 = t % 20 == 0, is60 = t % 60 == 0;
                if (!is3 && !is20)
                    continue;
                const long long clock = start_ + static_cast<long long>(day) * kSecondsPerDay + t;
                const double hour = static_cast<double>(clock % kSecondsPerDay) / 3600.0;
                const double load = Load(hour, b, e);

                const bool dropped = missingDay && In(t / 60, missingFrom, missingFrom + o_.missingMinutes);
                const bool keep60 = is60 && !dropped && KeepSample(t / 60, o_.density);
                const bool keep3 = is3 && !dropped && KeepSample(t / 3, o_.density);
                const bool keep20 = is20 && !dropped && KeepSample(t / 20, o_.density);

                // Every series advances on its own grid whatever is kept, so
                // that the density and the faults change no other value.
                if (is60)
                    VoltageMinute(voltageRng, load, sagDay, t, duValues, u1Value);
                double f = 0;
                if (is20)
                    f = FrequencySample(freqRng, excursions, t / 20);
                double k0Value = 0, k2Value = 0, thdValues[3] = {0, 0, 0};
                double harmonics[3][kHighestStoredOrder - 1];
                if (is3) {
                    UnbalanceSample(unbalanceRng, load, k0Value, k2Value);
                    HarmonicSample(harmonicRng, harmonicKey + static_cast<uint64_t>(t) * 256, keep3, hour,
                                   load, harmonics, thdValues);
                    if (thdDay)
                        ThdFault(faultRng, t, thdValues);
                }
                if (!keep60 && !keep3 && !keep20)
                    continue;

                const long long id = ++baseRows_;
                char stamp[32];
                FormatStamp(clock, stamp);
                sqlite3_bind_int64(base, 1, id);
                sqlite3_bind_text(base, 2, stamp, 19, SQLITE_TRANSIENT);
                Check(db, sqlite3_step(base), "Base");
                sqlite3_reset(base);

                if (keep60) {
                    du.Insert(id, duValues, nulls);
                    u1.Insert(id, &u1Value, nulls);
                }
                if (keep3) {
                    thd.Insert(id, thdValues, nulls);
                    k0.Insert(id, &k0Value, nulls);
                    k2.Insert(id, &k2Value, nulls);
                    for (int p = 0; p < 3; ++p)
                        harm[p]->Insert(id, harmonics[p], nulls);
                }
                if (keep20)
                    freq.Insert(id, &f, nulls);
            }
        }
    }

    long long BaseRows() const { return baseRows_; }

private:
    // Voltage deviation: high at night, low in the max-load hours, a slow
    // common wander, a small wander and offset per phase, and noise.
    void VoltageMinute(Rng& rng, double load, bool sagDay, int t, double* du, double& u1)
    {
        static const double offsets[3] = {0.3, -0.2, 0.0};
        static const double sagDepth[3] = {-15.0, -19.0, -13.0};
        const double common = commonWander_.Step(rng);
        const double level = levels_.voltage * (3.0 - 6.2 * load);
        double sum = 0;
        for (int p = 0; p < 3; ++p) {
            double v = level + levels_.voltage * offsets[p] + common + phaseWander_[p].Step(rng) +
                       0.15 * rng.Gauss();
            v = std::max(-4.85, std::min(4.85, v));
            if (sagDay && In(t, kUndervoltageFrom, kUndervoltageTo))
                v = std::min(-5.2, -6.6 + 0.5 * common + 0.3 * rng.Gauss());
            if (sagDay && In(t, kSagFrom, kSagTo))
                v = std::min(-11.0, sagDepth[p] + 0.5 * rng.Gauss());
            du[p] = Round(v, 100);
            sum += v;
        }
        u1 = Round(sum / 3 + 0.05 * rng.Gauss(), 100);
    }

    // A few excursions of 1 to 3 minutes a day, each under 0.15 Hz at its peak.
    static std::vector<Excursion> PlanExcursions(Rng& rng)
    {
        std::vector<Excursion> list;
        const int count = 2 + static_cast<int>(rng.Uniform() * 3);
        for (int i = 0; i < count; ++i) {
            const int length = 3 + static_cast<int>(rng.Uniform() * 7);
            const int start = static_cast<int>(rng.Uniform() * (4320 - length));
            const double peak = (rng.Uniform() < 0.5 ? -1 : 1) * (0.08 + 0.06 * rng.Uniform());
            list.push_back({start, length, peak});
        }
        return list;
    }

    double FrequencySample(Rng& rng, const std::vector<Excursion>& excursions, int index)
    {
        double f = frequencyWander_.Step(rng) + 0.01 * rng.Gauss();
        for (const Excursion& x : excursions) {
            if (index >= x.start && index < x.start + x.length)
                f += x.peak * std::sin(kPi * (index - x.start + 0.5) / x.length);
        }
        return Round(std::max(-0.19, std::min(0.19, f)), 1000);
    }

    // Unbalance grows with the load; the zero sequence sits a little higher.
    void UnbalanceSample(Rng& rng, double load, double& k0, double& k2)
    {
        const double s = levels_.unbalance;
        k2 = s * (0.45 + 0.55 * load) + k2Wander_.Step(rng) + 0.04 * rng.Gauss();
        k0 = s * (0.65 + 0.6 * load) + k0Wander_.Step(rng) + 0.05 * rng.Gauss();
        k2 = Round(std::max(0.05, std::min(1.8, k2)), 100);
        k0 = Round(std::max(0.05, std::min(1.9, k0)), 100);
    }

    // Harmonic levels of each phase: the typical levels shaped by the
    // evening peak of non-linear loads, a slow wander per phase and noise
    // per order. The total distortion is computed from the stored orders.
    // The wanders step at every instant; the levels, whose noise is a hash
    // of `key`, the instant and the order, only for kept instants.
    void HarmonicSample(Rng& rng, uint64_t key, bool kept, double hour, double load,
                        double (*harmonics)[kHighestStoredOrder - 1], double* thd)
    {
        static const double phaseFactor[3] = {0.96, 1.0, 1.06};
        double drift[3];
        for (int p = 0; p < 3; ++p)
            drift[p] = std::max(-0.15, std::min(0.15, harmonicWander_[p].Step(rng)));
        if (!kept)
            return;
        const double evening = std::exp(-0.5 * std::pow((hour - 20.5) / 2.0, 2));
        const double shape = 0.85 + 0.25 * evening + 0.1 * load;
        for (int p = 0; p < 3; ++p) {
            const double scale = levels_.harmonic * shape * phaseFactor[p] * (1 + drift[p]);
            double squares = 0;
            for (int n = 2; n <= kHighestStoredOrder; ++n) {
                const double noise = HashNoise(key + static_cast<uint64_t>(p * 64 + n));
                const double v = Round(TypicalHarmonic(n) * scale * (1 + 0.06 * noise), 1000);
                harmonics[p][n - 2] = v;
                squares += v * v;
            }
            thd[p] = Round(std::sqrt(squares), 100);
        }
    }

    // Three hours above the normal limit of the class, with three one-minute
    // bursts above its maximum limit.
    void ThdFault(Rng& rng, int t, double* thd)
    {
        if (!In(t, kThdFrom, kThdTo))
            return;
        bool burst = false;
        for (int from : kThdBursts)
            burst |= In(t, from, from + 60);
        for (int p = 0; p < 3; ++p) {
            const double v = burst ? levels_.thdMaximum * (1.03 + 0.1 * rng.Uniform())
                                   : levels_.thdNormal * (1.05 + 0.25 * rng.Uniform());
            thd[p] = Round(v, 100);
        }
    }

    const Options& o_;
    const ClassLevels& levels_;
    long long start_ = 0;
    long long baseRows_ = 0;
    Wander commonWander_{0.97, 0.4};
    std::array<Wander, 3> phaseWander_{Wander{0.95, 0.16}, Wander{0.95, 0.16}, Wander{0.95, 0.16}};
    Wander frequencyWander_{0.95, 0.04};
    Wander k2Wander_{0.998, 0.1}, k0Wander_{0.998, 0.12};
    std::array<Wander, 3> harmonicWander_{Wander{0.995, 0.06}, Wander{0.995, 0.06}, Wander{0.995, 0.06}};
};

bool ParseInt(const std::string& text, long long lo, long long hi, long long& value)
{
    if (text.empty())
        return false;
    char* end = nullptr;
    errno = 0;
    const long long v = std::strtoll(text.c_str(), &end, 10);
    if (errno || *end || v < lo || v > hi)
        return false;
    value = v;
    return true;
}

// "H:MM" to minutes of the day; "24:00" is the end of the day.
bool ParseClock(const std::string& text, int& minutes)
{
    int h, m;
    char tail;
    if (std::sscanf(text.c_str(), "%d:%d%c", &h, &m, &tail) != 2 || h < 0 || m < 0 || m > 59 ||
        h * 60 + m > 1440)
        return false;
    minutes = h * 60 + m;
    return true;
}

}  // namespace

std::string UsageText()
{
    return R"(Usage: make_sample_db [options] OUTPUT.db

Writes a measurement database in the logger's schema (Base and the parameter
tables du1m, u1unbalance1m, uthd3s, u0unbalance3s, u2unbalance3s, ac20sdfreq,
harm_u_L1_3s, harm_u_L2_3s, harm_u_L3_3s) filled with realistic series.

Options:
  -o, --output PATH      the database to write (or give it as the argument)
  -f, --force            replace PATH when it exists (otherwise refused)
  --start "Y-M-D h:m:s"  local wall-clock start of day 1, on a whole minute
                         (default "2011-03-01 00:00:00"); day k covers the 24
                         hours from start + (k-1) days
  --days N               number of days, 1..7 (default 7)
  --class C              voltage class 0..3: 0 = 0.38 kV, 1 = 6-20 kV,
                         2 = 35 kV, 3 = 110-330 kV (default 0); scales the
                         typical voltage, unbalance and harmonic levels
  --seed N               random seed (default 1); equal options and seed
                         give equal contents
  --density D            0 < D <= 1 (default 1.0): share of each series'
                         samples kept, evenly spread. Sample j (0-based) of a
                         series' minutes, 3-second or 20-second instants of a
                         day is kept when floor((j+1)*D) > floor(j*D): a day keeps
                         floor(N*D) of its N samples, e.g. D = 0.05 keeps every
                         20th. Base gets a row only for an instant at which some
                         table keeps a sample. Kept values do not depend on D.
  --max-load H:MM-H:MM   max-load hours of the clock day, when the voltage is
                         lower and unbalance higher (default 8:00-20:00)

Faults (a day N is 1-based; other days comply with the limits of the class):
  --sag-day N            voltage sag on day N: du1m and u1unbalance1m at -11 %
                         or lower from 14:20 to 14:28, and below -5 % from
                         10:00 to 12:10 (more than 5 % of the day's minutes)
  --thd-day N            uthd3s above the normal limit of the class from 17:00
                         to 20:00 (12.5 % of the day), and above the maximum
                         limit in three one-minute bursts (limits 8/12 % class
                         0, 5/8 class 1, 4/6 class 2, 2/3 class 3); the
                         harmonic tables keep their normal levels
  --missing-minutes N    drop N minutes (0..1440) of all tables, Base included,
                         from 10:00 of the day on (earlier when N > 840)
  --missing-day D        the day of --missing-minutes (default 1)
  --null-values          leave 0.2 % of the value cells NULL, at random
  -h, --help             show this text

Times of day above count from the day's start. The time taken and the rows
written per table are printed on stderr.
)";
}

long long KeptPerDay(long long samplesPerDay, double density)
{
    return static_cast<long long>(std::floor(samplesPerDay * density + 1e-9));
}

bool KeepSample(long long indexOfDay, double density)
{
    return KeptPerDay(indexOfDay + 1, density) > KeptPerDay(indexOfDay, density);
}

std::string ParseOptions(const std::vector<std::string>& args, Options& o, bool* help)
{
    *help = false;
    bool dayOfMissingGiven = false;
    for (size_t i = 0; i < args.size(); ++i) {
        std::string name = args[i], value;
        bool hasValue = false;
        const size_t eq = name.find('=');
        if (name.rfind("--", 0) == 0 && eq != std::string::npos) {
            value = name.substr(eq + 1);
            name = name.substr(0, eq);
            hasValue = true;
        }
        auto next = [&](std::string& out) {
            if (hasValue) {
                out = value;
                return true;
            }
            if (i + 1 >= args.size())
                return false;
            out = args[++i];
            return true;
        };
        auto number = [&](long long lo, long long hi, long long& out) -> std::string {
            std::string text;
            if (!next(text))
                return name + " needs a value";
            if (!ParseInt(text, lo, hi, out))
                return name + " takes a whole number " + std::to_string(lo) + ".." + std::to_string(hi) +
                       ", not '" + text + "'";
            return "";
        };
        long long n = 0;
        std::string error;
        if (name == "-h" || name == "--help") {
            *help = true;
            return "";
        } else if (name == "-f" || name == "--force") {
            o.force = true;
        } else if (name == "--null-values") {
            o.nullValues = true;
        } else if (name == "-o" || name == "--output") {
            if (!next(o.output))
                return name + " needs a value";
        } else if (name == "--start") {
            long long unused;
            if (!next(o.start) || !ParseStamp(o.start, unused) || unused % 60 != 0)
                return "--start takes \"YYYY-MM-DD HH:MM:00\" (a whole minute), not '" + o.start + "'";
        } else if (name == "--days") {
            if ((error = number(1, 7, n)).empty())
                o.days = static_cast<int>(n);
        } else if (name == "--class") {
            if ((error = number(0, 3, n)).empty())
                o.voltageClass = static_cast<int>(n);
        } else if (name == "--seed") {
            if ((error = number(0, INT64_MAX, n)).empty())
                o.seed = static_cast<uint64_t>(n);
        } else if (name == "--density") {
            std::string text;
            char* end = nullptr;
            if (!next(text))
                return "--density needs a value";
            const double d = std::strtod(text.c_str(), &end);
            if (text.empty() || *end || !(d > 0 && d <= 1))
                return "--density takes a number in (0, 1], not '" + text + "'";
            o.density = d;
        } else if (name == "--max-load") {
            std::string text;
            if (!next(text))
                return "--max-load needs a value";
            const size_t dash = text.find('-');
            if (dash == std::string::npos || !ParseClock(text.substr(0, dash), o.maxLoadBegin) ||
                !ParseClock(text.substr(dash + 1), o.maxLoadEnd) || o.maxLoadBegin == o.maxLoadEnd)
                return "--max-load takes H:MM-H:MM, not '" + text + "'";
        } else if (name == "--sag-day") {
            if ((error = number(1, 7, n)).empty())
                o.sagDay = static_cast<int>(n);
        } else if (name == "--thd-day") {
            if ((error = number(1, 7, n)).empty())
                o.thdDay = static_cast<int>(n);
        } else if (name == "--missing-minutes") {
            if ((error = number(0, 1440, n)).empty())
                o.missingMinutes = static_cast<int>(n);
        } else if (name == "--missing-day") {
            if ((error = number(1, 7, n)).empty()) {
                o.missingDay = static_cast<int>(n);
                dayOfMissingGiven = true;
            }
        } else if (!name.empty() && name[0] == '-') {
            return "unknown option " + name;
        } else if (o.output.empty()) {
            o.output = name;
        } else {
            return "more than one output path: " + o.output + ", " + name;
        }
        if (!error.empty())
            return error;
    }
    if (o.output.empty())
        return "no output path";
    for (const auto& [day, what] : {std::pair{o.sagDay, "--sag-day"}, {o.thdDay, "--thd-day"},
                                    {dayOfMissingGiven ? o.missingDay : 0, "--missing-day"}}) {
        if (day > o.days)
            return std::string(what) + " " + std::to_string(day) + " is after the last day " +
                   std::to_string(o.days);
    }
    return "";
}

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
        Generator generator(o);
        generator.Run(raw, tables);
        Exec(raw, "CREATE INDEX Base_DateTimeMQV ON Base(DateTimeMQV)");
        Exec(raw, "COMMIT");

        counts.emplace_back("Base", generator.BaseRows());
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
