#pragma once
// A synthetic measurement database in the logger's schema: a week (or less)
// of voltage deviation, unbalance, distortion, harmonic and frequency series
// with a daily load curve, and optional faults on chosen days.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace sampledb {

struct Options {
    std::string output;
    bool force = false;                        // replace an existing output file
    std::string start = "2011-03-01 00:00:00"; // local wall-clock time, whole minute
    int days = 7;                              // 1..7
    int voltageClass = 0;                      // 0: 0.38 kV, 1: 6-20 kV, 2: 35 kV, 3: 110-330 kV
    uint64_t seed = 1;
    double density = 1.0;                      // (0, 1]: share of each series' samples kept
    int maxLoadBegin = 8 * 60;                 // minutes of the clock day
    int maxLoadEnd = 20 * 60;
    int sagDay = 0;                            // 1-based day of each fault; 0: none
    int thdDay = 0;
    int missingMinutes = 0;                    // minutes dropped from all tables on missingDay
    int missingDay = 1;
    bool nullValues = false;                   // scatter NULLs over the value columns
};

// Parses the arguments after the program name into `options`. Returns the
// error text, empty on success. Sets *help when --help was given.
std::string ParseOptions(const std::vector<std::string>& args, Options& options, bool* help);

std::string UsageText();

// How many of a series' `samplesPerDay` samples a density keeps per day: the
// sample with index j of the day is kept when floor((j+1) D) > floor(j D),
// which spreads the kept ones evenly and keeps floor(samplesPerDay D) of them.
long long KeptPerDay(long long samplesPerDay, double density);
bool KeepSample(long long indexOfDay, double density);

// Rows written per table, Base first.
using RowCounts = std::vector<std::pair<std::string, long long>>;

// Writes the database to options.output (through a temporary file beside it,
// renamed over it at the end). Throws std::runtime_error on failure.
RowCounts WriteSampleDatabase(const Options& options);

}  // namespace sampledb
