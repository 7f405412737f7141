#pragma once
// The charts of a day page: voltage deviation, frequency deviation, total
// harmonic distortion and unbalance over the day, read from the database
// with one time-ordered read per table, and the harmonic spectrum of each
// phase from the day's harmonic records.
#include <string>

#include "model/evaluated_report.h"
#include "model/time_series.h"

namespace pq {

// The block of HTML with the charts of an evaluated day, each kept whole on a
// printed page, with the limits the day's statistics judged by; the series
// over the day are read through `read`. With `symbols` the axes and legends
// name the quantities by the headings' symbols (δU, Δf, K_U, K2U, K0U), as a
// protocol's sheet does.
std::string DayChartsBlock(const SeriesReader& read, const EvaluatedDay& day, bool symbols = false);

}  // namespace pq
