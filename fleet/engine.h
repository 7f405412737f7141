#pragma once
// Running the reports through GNU parallel.
#include <optional>
#include <string>
#include <vector>

namespace pq {

struct EngineOptions {
    std::string outDir;               // absolute; holds the job lists, the job log and logs/
    std::string program;              // the report program, absolute
    std::string workDir;              // absolute; the reports run here on every machine
    std::optional<long> jobs;         // jobs at once on each machine; none: one per core
    std::optional<std::string> hosts; // GNU parallel's ssh login file
    bool resume = false;              // run only the jobs whose last run did not succeed
};

// The names of the job lists under OUTDIR: the settings documents and the
// names of their logs, one entry per job, each ended by a NUL byte.
const char* DocumentListName();
const char* LogNameListName();

// The command line that runs the report once per line of the job lists:
// parallel and its arguments.
std::vector<std::string> ParallelCommand(const EngineOptions& options);

struct EngineEnd {
    bool started = false;  // parallel could be started
    int status = -1;       // its exit status; -1 when it ended by a signal
    int interrupt = 0;     // SIGINT, SIGTERM or SIGHUP received while it ran, else 0
};

// Blocks SIGINT, SIGTERM and SIGHUP (those not ignored) in this process
// until it ends, so that they are taken only where the fleet looks for them:
// while parallel runs (forwarded to it) and at the end (Finish).
void HoldInterrupts();

// The first of those signals that came while they were held, or 0.
int PendingInterrupt();

// Runs `command` in its own process group, with standard input from
// /dev/null, and waits for it. The first SIGINT or SIGTERM that this process
// receives meanwhile is passed on to it (SIGHUP as SIGTERM): GNU parallel
// then stops starting jobs and ends the running ones with its --termseq, so
// that each report ends through its own signal handling.
EngineEnd RunEngine(const std::vector<std::string>& command);

// Ends this process as `signal` asks, after its work is done.
[[noreturn]] void EndBySignal(int signal);

}  // namespace pq
