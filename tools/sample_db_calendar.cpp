// Wall-clock stamps of the sample database: civil dates to day numbers and
// back, without time zones or daylight-saving shifts.
#include <cstdio>

#include "tools/sample_db_internal.h"

namespace sampledb::internal {

namespace {

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

}  // namespace

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

}  // namespace sampledb::internal
