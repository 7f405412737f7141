#include "base/number_text.h"

#include <cstdio>
#include <cstdlib>

#include "base/text.h"

namespace pq {

namespace {

// printf "%.<decimals>f" and strtod in the C locale: the digits are those
// the process locale writes, with a point.
double Reformatted(double value, int decimals)
{
    char buf[512];
    std::snprintf(buf, sizeof buf, "%.*f", decimals, value);
    return strtod_l(buf, nullptr, CLocale());
}

}  // namespace

std::string FormatNumber(const char* format, double value)
{
    char buf[512];
    std::snprintf(buf, sizeof buf, format, value);
    return buf;
}

double Share(long long count, long long N) { return SixDecimals(count * 100.0 / N); }

double SixDecimals(double value)
{
    locale_t previous = uselocale(CLocale());
    const double kept = Reformatted(value, 6);
    uselocale(previous);
    return kept;
}

double AsShown(double value, int decimals)
{
    locale_t previous = uselocale(CLocale());
    const double shown = Reformatted(value, decimals);
    uselocale(previous);
    return shown;
}

}  // namespace pq
