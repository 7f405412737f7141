#include "settings/date_parsing.h"

#include <cctype>
#include <cstdint>
#include <ctime>

#include <wx/log.h>
#include <wx/tokenzr.h>

#include "settings/header_values.h"
#include "base/text.h"

namespace pq {

long long DaysFromCivil(long long year, unsigned month, unsigned day)
{
    year -= month <= 2;
    const long long era = (year >= 0 ? year : year - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(year - era * 400);
    const unsigned doy = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<long long>(doe) - 719468;
}

namespace {

// The local clock reading of a broken-down time, counted in seconds as if it
// were UTC (so that two readings compare and subtract plainly).
long long ClockReading(const std::tm& tm)
{
    return DaysFromCivil(tm.tm_year + 1900LL, static_cast<unsigned>(tm.tm_mon + 1),
                         static_cast<unsigned>(tm.tm_mday)) *
               86400 +
           tm.tm_hour * 3600LL + tm.tm_min * 60LL + tm.tm_sec;
}

// The local clock reading at instant `t`; false when the C library cannot
// break it down.
bool ClockAt(std::time_t t, long long& reading)
{
    std::tm local{};
    if (!localtime_r(&t, &local))
        return false;
    reading = ClockReading(local);
    return true;
}

}  // namespace

wxDateTime ComposeDateTime(long day, long month, long year, long hours, long minutes,
                           long seconds)
{
    const auto h = static_cast<uint16_t>(hours);
    const auto m = static_cast<uint16_t>(minutes);
    const auto s = static_cast<uint16_t>(seconds);
    if (h >= 24 || m >= 60 || s >= 62)
        return wxDateTime();
    if (month < 1 || month > 12 || year < 1 || year > 9999)
        return wxDateTime();
    const auto mon = static_cast<wxDateTime::Month>(month - 1);
    if (day < 1 || day > wxDateTime::GetNumberOfDays(mon, static_cast<int>(year)))
        return wxDateTime();
    // The C library's local-time composition: it normalises seconds 60 and 61
    // into the next minute and decides daylight saving time by itself.
    std::tm tm{};
    tm.tm_year = static_cast<int>(year) - 1900;
    tm.tm_mon = static_cast<int>(month) - 1;
    tm.tm_mday = static_cast<int>(day);
    tm.tm_hour = h;
    tm.tm_min = m;
    tm.tm_sec = s;
    const long long wanted = ClockReading(tm);  // seconds 60 and 61 count on
    tm.tm_isdst = -1;
    std::time_t t = std::mktime(&tm);
    if (t == static_cast<std::time_t>(-1))
        return wxDateTime();
    long long reading;
    if (!ClockAt(t, reading))
        return wxDateTime();
    if (reading != wanted) {
        // The clock never shows `wanted` on that day: it jumps over it when the
        // zone moves its clocks forward (a daylight saving gap, or a change of
        // the zone's offset). The C library then answers with an instant either
        // before or after the gap, depending on the zone. The rule here, the
        // same in every zone: such a time is moved FORWARD to the first instant
        // that exists after it, the moment the clock jumps (27.03.2011 02:30
        // in Moscow and 13.03.2011 02:30 in New York both become 03:00 of that
        // day). Times the clock does show, including the repeated hour when it
        // is set back, keep the C library's answer.
        //
        // That instant is the first one whose clock reading is past `wanted`,
        // found by bisection: `wanted` taken as UTC, two days earlier the clock
        // is behind it and two days later ahead of it in any zone.
        long long before = wanted - 2 * 86400;  // clock reading <= wanted
        long long after = wanted + 2 * 86400;   // clock reading > wanted
        while (after - before > 1) {
            const long long middle = before + (after - before) / 2;
            if (!ClockAt(static_cast<std::time_t>(middle), reading))
                return wxDateTime();
            if (reading > wanted)
                after = middle;
            else
                before = middle;
        }
        t = static_cast<std::time_t>(after);
    }
    return wxDateTime(t);
}

namespace {

// Reads a run of at least one digit; saturates far beyond any valid field.
bool ReadDigits(const std::string& text, size_t& pos, long& value)
{
    const size_t start = pos;
    value = 0;
    while (pos < text.size() && std::isdigit(static_cast<unsigned char>(text[pos]))) {
        if (value < 100000000)
            value = value * 10 + (text[pos] - '0');
        ++pos;
    }
    return pos > start;
}

bool Expect(const std::string& text, size_t& pos, char c)
{
    if (pos >= text.size() || text[pos] != c)
        return false;
    ++pos;
    return true;
}

bool InRange(long v, long lo, long hi) { return v >= lo && v <= hi; }

}  // namespace

bool ParseBeginDateTime(const std::string& text, wxDateTime& result)
{
    size_t pos = 0;
    long day, month, year, hours, minutes, seconds;
    if (!ReadDigits(text, pos, day) || !InRange(day, 1, 31) || !Expect(text, pos, '.'))
        return false;
    if (!ReadDigits(text, pos, month) || !InRange(month, 1, 12) || !Expect(text, pos, '.'))
        return false;
    if (!ReadDigits(text, pos, year))
        return false;
    while (pos < text.size() && std::isspace(static_cast<unsigned char>(text[pos])))
        ++pos;
    if (!ReadDigits(text, pos, hours) || !InRange(hours, 0, 23) || !Expect(text, pos, ':'))
        return false;
    if (!ReadDigits(text, pos, minutes) || !InRange(minutes, 0, 59) || !Expect(text, pos, ':'))
        return false;
    if (!ReadDigits(text, pos, seconds) || !InRange(seconds, 0, 61))
        return false;
    const wxDateTime composed = ComposeDateTime(day, month, year, hours, minutes, seconds);
    if (!composed.IsValid())
        return false;
    result = composed;
    return true;
}

bool ParseTimeOfDay(std::string text, wxDateTime& instant)
{
    // Empty pieces between colons and before a leading colon are kept; a
    // trailing colon adds none; an empty text gives none.
    wxStringTokenizer tokens(WxFromCodePage(text), ":", wxTOKEN_RET_EMPTY);
    std::string pieces[3];
    size_t count = 0;
    while (tokens.HasMoreTokens() && count < 3)
        pieces[count++] = CodePageFromWx(tokens.GetNextToken());

    if (count < 2 || pieces[0].empty() || pieces[1].empty() || !instant.IsValid()) {
        wxLogError("Wrong date");
        return false;
    }
    const long seconds = (count == 3 && !pieces[2].empty()) ? WholeNumber(pieces[2]) : 0;
    const long minutes = WholeNumber(pieces[1]);
    const long hours = WholeNumber(pieces[0]);
    const wxDateTime::Tm tm = instant.GetTm();
    const wxDateTime composed = ComposeDateTime(tm.mday, tm.mon + 1, tm.year, hours, minutes, seconds);
    if (!composed.IsValid()) {
        wxLogError("Wrong date");
        return false;
    }
    instant = composed;
    return true;
}

}  // namespace pq
