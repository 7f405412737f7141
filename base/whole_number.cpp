#include "base/whole_number.h"

#include <cstdint>
#include <cstdlib>

namespace pq {

int32_t WholeNumber(const std::string& text)
{
    const long long n = std::strtoll(text.c_str(), nullptr, 10);
    if (n > INT32_MAX)
        return INT32_MAX;
    if (n < INT32_MIN)
        return INT32_MIN;
    return static_cast<int32_t>(n);
}

}  // namespace pq
