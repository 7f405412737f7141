#pragma once
// The fleet's roll-up: OUTDIR/fleet.json (described by
// docs/fleet.schema.json) and the printable page OUTDIR/index.htm.
#include <string>
#include <vector>

#include "fleet/runs.h"

namespace pq {

struct FleetCounts {
    int reports = 0;       // one per settings document
    int complying = 0;     // ended with "ok!", all six quantities comply
    int notComplying = 0;  // ended with "ok!", some quantity does not comply
    int failed = 0;        // did not end with "ok!"
};
FleetCounts CountRuns(const std::vector<FleetRun>& runs);

// The counts as one line for the console, as the page's line says them in Russian.
std::string CountsLine(const FleetCounts& counts);

// fleet.json: one JSON object in UTF-8, ended by a line end. Paths of the
// logs are relative to `outDir`.
std::string FleetJson(const std::vector<FleetRun>& runs);

// index.htm: one row per run, grouped by site and ordered by period within a
// site; links relative to `outDir` (absolute).
std::string RollupPage(const std::vector<FleetRun>& runs, const std::string& outDir);

}  // namespace pq
