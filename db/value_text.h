#pragma once
// Conversion of the texts that queries return.
#include <string>

#include "stats/sample_source.h"

namespace pq {

// A value text read as a number, whatever the process locale: "." and ","
// both separate the decimals, and text after the leading numeric part is
// ignored. A text is a finite number when that part converts to one; one
// without a numeric part ("abc", "", the bytes of most BLOBs) and one that
// reads as NaN or an infinity ("nan", "-inf", "Inf", "1e999") is not, and its
// value is 0.
ValueReading ReadValue(const char* text);
inline ValueReading ReadValue(const std::string& text) { return ReadValue(text.c_str()); }

// A count text, base 10; 0 when it does not convert.
long CountFromText(const std::string& text);

}  // namespace pq
