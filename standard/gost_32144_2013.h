#pragma once
// GOST 32144-2013: the week's limits of the supply in force since 2014, for
// 95 % and for 100 % of the week's values.
#include <optional>

#include "standard/standard.h"

namespace pq {

// The standard: frequency deviation 0,2 Hz for 95 % and 0,4 Hz for 100 % of
// the values; voltage deviation 10 % for 100 % (no 95 % test); distortion
// and harmonic coefficients by voltage class (below), 1,5 times the 95 %
// limit for 100 %; unbalance 2 % and 4 %.
const Standard& Gost32144();

// The network of a voltage class as the standard names its columns: "0,4 кВ",
// "6–25 кВ", "35 кВ", "110–220 кВ" (UTF-8; any other index the last).
const char* Gost32144ClassName(int voltageClass);

// The 95 % limit of harmonic order n (2..40) for the voltage class (0: 0,4 kV,
// 1: 6-25 kV, 2: 35 kV, 3: 110-220 kV; any other index takes column 3).
// No value outside 2..40.
std::optional<double> WeekHarmonicLimit(int voltageClass, int order);

}  // namespace pq
