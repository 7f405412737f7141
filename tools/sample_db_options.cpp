// The sample database maker's command line: its options and usage text.
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <utility>

#include "tools/sample_db_internal.h"

namespace sampledb {

namespace {

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
            if (!next(o.start) || !internal::ParseStamp(o.start, unused) || unused % 60 != 0)
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

}  // namespace sampledb
