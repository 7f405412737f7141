#pragma once
// Conversion of the texts that queries return.
#include <string>

// A value text read as a number, whatever the process locale: "." and ","
// both separate the decimals, and text after the leading numeric part is
// ignored. A text is a finite number when that part converts to one; one
// without a numeric part ("abc", "", the bytes of most BLOBs) and one that
// reads as NaN or an infinity ("nan", "-inf", "Inf", "1e999") is not, and its
// value is 0.
struct ValueReading {
    double value;
    bool finite;  // the text is a finite number
};
ValueReading ReadValue(const char* text);
inline ValueReading ReadValue(const std::string& text) { return ReadValue(text.c_str()); }

// The value of a value text as ReadValue gives it: 0 when it is no finite number.
inline double ValueFromText(const char* text) { return ReadValue(text).value; }
inline double ValueFromText(const std::string& text) { return ReadValue(text.c_str()).value; }

// A count text, base 10; 0 when it does not convert.
long CountFromText(const std::string& text);
