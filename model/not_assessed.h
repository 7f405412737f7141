#pragma once
// The indicators of quality that the logger's database does not hold, so
// that a report judges none of them.
#include <vector>

namespace pq {

struct Indicator {
    const char* key;   // for programs: "flicker", ...
    const char* name;  // its Russian name (UTF-8)
};

// Flicker, voltage dips, swells, interruptions and impulses.
const std::vector<Indicator>& NotAssessedIndicators();

}  // namespace pq
