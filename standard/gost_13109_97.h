#pragma once
// GOST 13109-97: the day's limits and tables that the day pages judge by.
#include <optional>

#include "standard/standard.h"

namespace pq {

// The standard: voltage deviation -5/+5 % normal, -10/+10 % maximum;
// frequency deviation +-0.2 and +-0.4 Hz; unbalance 2 and 4 %; distortion
// and harmonic coefficients by voltage class (below); 95 % of the time.
const Standard& Gost13109();

// The network of a voltage class as the standard names its columns: "0,38 кВ",
// "6–20 кВ", "35 кВ", "110–330 кВ" (UTF-8; any other index the last).
const char* Gost13109ClassName(int voltageClass);

// Limits of total harmonic distortion by voltage class (0: 0.38 kV, 1: 6-20 kV,
// 2: 35 kV, 3: 110-330 kV); any other class index takes the class 3 limits.
SeriesLimits ThdLimits(int voltageClass);

// Normal limit of harmonic order n (2..50) for the voltage class; any class
// index but 0, 1 and 2 takes the class 3 column. No value outside 2..50. The
// maximum limit is 1.5 times the normal one.
std::optional<double> HarmonicLimit(int voltageClass, int order);

}  // namespace pq
