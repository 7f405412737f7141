#pragma once
// What became of each report run: GNU parallel's job log, the run's own
// output, and its result document.
#include <map>
#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "fleet/documents.h"

namespace pq {

// One ended job as GNU parallel's --joblog records it.
struct JobRecord {
    std::string host;  // the sshlogin, ":" for this machine
    double seconds = 0;
    int exitStatus = 0;
    int signal = 0;
};

// The last record of each job by its sequence number (1 for the first
// document); a job that --resume-failed ran again has the later record.
// Lines that are no record (the header) are skipped.
std::map<int, JobRecord> ParseJobLog(const std::string& text);

// The name of a run's logs under OUTDIR/logs/: its place in the command
// line, and the settings document's directory and file name without ".xml",
// with characters other than letters, digits, '.', '_' and '-' as '_', for
// example "3-site1-week".
std::string LogName(int sequence, const std::string& settingsPath);

struct RunOutcome {
    bool ok = false;   // the report printed "ok!"
    std::string text;  // "ok!", or why not: the run's last Error: line where it has one
};

// The outcome of a run from its record (none: it did not end) and what it
// wrote to standard output and standard error.
RunOutcome OutcomeOf(const std::optional<JobRecord>& record, const std::string& out, const std::string& err);

// One document of the fleet and what its run came to.
struct FleetRun {
    int sequence = 0;
    FleetDocument document;
    std::string logName;
    std::optional<JobRecord> record;
    RunOutcome outcome;
    // The result document of a run that ended with "ok!".
    std::optional<nlohmann::ordered_json> result;
};

// The runs of `documents` from OUTDIR/joblog and OUTDIR/logs/; a run whose
// report.json cannot be read or is no result document counts as failed.
std::vector<FleetRun> CollectRuns(const std::vector<FleetDocument>& documents, const std::string& outDir);

}  // namespace pq
