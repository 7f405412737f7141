#include "db/value_text.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

#include "base/text.h"

namespace pq {

namespace {

ValueReading Reading(const char* digits)
{
    char* end = nullptr;
    const double value = strtod_l(digits, &end, CLocale());
    if (end == digits || !std::isfinite(value))
        return {0.0, false};
    return {value, true};
}

}  // namespace

ValueReading ReadValue(const char* text)
{
    char buf[64];
    const size_t len = std::strlen(text);
    if (len >= sizeof buf) {
        std::string copy(text);
        for (char& ch : copy)
            if (ch == ',')
                ch = '.';
        return Reading(copy.c_str());
    }
    for (size_t i = 0; i <= len; ++i)
        buf[i] = text[i] == ',' ? '.' : text[i];
    return Reading(buf);
}

long CountFromText(const std::string& text)
{
    return std::strtol(text.c_str(), nullptr, 10);
}

}  // namespace pq
