#include "stats/number_text.h"

#include <cstdio>

#include "db/value_text.h"

std::string FormatNumber(const char* format, double value)
{
    char buf[512];
    std::snprintf(buf, sizeof buf, format, value);
    return buf;
}

void FinalFormatting(TextList& record)
{
    for (std::string& slot : record)
        slot = FormatNumber("%04.2f", ValueFromText(slot));
}
