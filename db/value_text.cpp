#include "db/value_text.h"

#include <cstdlib>
#include <cstring>
#include <locale.h>

double ValueFromText(const char* text)
{
    static const locale_t c_locale = newlocale(LC_ALL_MASK, "C", nullptr);
    char buf[64];
    const size_t len = std::strlen(text);
    if (len >= sizeof buf) {
        std::string copy(text);
        for (char& ch : copy)
            if (ch == ',')
                ch = '.';
        return strtod_l(copy.c_str(), nullptr, c_locale);
    }
    for (size_t i = 0; i <= len; ++i)
        buf[i] = text[i] == ',' ? '.' : text[i];
    return strtod_l(buf, nullptr, c_locale);
}

long CountFromText(const std::string& text)
{
    return std::strtol(text.c_str(), nullptr, 10);
}
