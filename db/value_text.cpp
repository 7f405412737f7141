#include "db/value_text.h"

#include <cstdlib>
#include <cstring>

#include "settings/text.h"

double ValueFromText(const char* text)
{
    char buf[64];
    const size_t len = std::strlen(text);
    if (len >= sizeof buf) {
        std::string copy(text);
        for (char& ch : copy)
            if (ch == ',')
                ch = '.';
        return strtod_l(copy.c_str(), nullptr, CLocale());
    }
    for (size_t i = 0; i <= len; ++i)
        buf[i] = text[i] == ',' ? '.' : text[i];
    return strtod_l(buf, nullptr, CLocale());
}

long CountFromText(const std::string& text)
{
    return std::strtol(text.c_str(), nullptr, 10);
}
