// The value series of the sample database: the daily load curve, the levels
// of each voltage class, and the generator that steps every series on its own
// grid and writes the kept samples, day by day in time order.
#include <array>
#include <memory>

#include "tools/sample_db_internal.h"

namespace sampledb {

long long KeptPerDay(long long samplesPerDay, double density)
{
    return static_cast<long long>(std::floor(samplesPerDay * density + 1e-9));
}

bool KeepSample(long long indexOfDay, double density)
{
    return KeptPerDay(indexOfDay + 1, density) > KeptPerDay(indexOfDay, density);
}

namespace internal {

namespace {

const double kPi = 3.14159265358979323846;

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

// A short excursion of the frequency: start sample, length, peak.
struct Excursion {
    int start, length;
    double peak;
};

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
            const MissingMinutes missing(o_, day);
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

                const bool dropped = missing.Drops(t);
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
                        ThdFault(levels_, faultRng, t, thdValues);
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
        const double common = commonWander_.Step(rng);
        const double level = levels_.voltage * (3.0 - 6.2 * load);
        double sum = 0;
        for (int p = 0; p < 3; ++p) {
            double v = level + levels_.voltage * offsets[p] + common + phaseWander_[p].Step(rng) +
                       0.15 * rng.Gauss();
            v = std::max(-4.85, std::min(4.85, v));
            if (sagDay)
                v = SagDayVoltage(rng, t, p, common, v);
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

}  // namespace

long long WriteSeries(sqlite3* db, const Options& options, const std::vector<Table*>& tables)
{
    Generator generator(options);
    generator.Run(db, tables);
    return generator.BaseRows();
}

}  // namespace internal

}  // namespace sampledb
