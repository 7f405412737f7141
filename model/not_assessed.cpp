#include "model/not_assessed.h"

namespace pq {

const std::vector<Indicator>& NotAssessedIndicators()
{
    static const std::vector<Indicator> indicators{
        {"flicker", "доза фликера"},
        {"dips", "провалы напряжения"},
        {"swells", "перенапряжения"},
        {"interruptions", "прерывания напряжения"},
        {"impulses", "импульсные напряжения"},
    };
    return indicators;
}

}  // namespace pq
