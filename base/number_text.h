#pragma once
// Numbers as the report writes and rounds them.
#include <string>

namespace pq {

// A number under the process locale ("%f", "%04.2f", "%6.2f").
std::string FormatNumber(const char* format, double value);

// A share in per cent, count * 100 / N, as the pages have always rounded it:
// first to six decimals (it was written with "%f"), then, when shown, to two.
double Share(long long count, long long N);

// A number kept to six decimals, as a limit written with "%f" is.
double SixDecimals(double value);

// The value a page shows for `value`: rounded to two decimals as "%04.2f"
// rounds it (or to `decimals` as "%.<decimals>f" does).
double AsShown(double value, int decimals = 2);

}  // namespace pq
