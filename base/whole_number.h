#pragma once
#include <cstdint>
#include <string>

namespace pq {

// The decimal whole-number rule of the settings: optional white space, sign,
// digits; the rest ignored; no digits read as 0; clamped to 32 bits.
int32_t WholeNumber(const std::string& text);

}  // namespace pq
