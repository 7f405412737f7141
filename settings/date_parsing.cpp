#include "settings/date_parsing.h"

#include <cctype>
#include <cstdint>
#include <ctime>

#include <wx/log.h>
#include <wx/tokenzr.h>

#include "settings/header_values.h"
#include "settings/text.h"

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
    tm.tm_isdst = -1;
    const std::time_t t = std::mktime(&tm);
    if (t == static_cast<std::time_t>(-1))
        return wxDateTime();
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
