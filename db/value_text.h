#pragma once
// Conversion of the texts that queries return.
#include <string>

// A value text to double, whatever the process locale: "." and "," both
// separate the decimals. Text that does not convert gives its leading
// numeric part, or 0.
double ValueFromText(const char* text);
inline double ValueFromText(const std::string& text) { return ValueFromText(text.c_str()); }

// A count text, base 10; 0 when it does not convert.
long CountFromText(const std::string& text);
