#pragma once
// Running another program to its end: its standard input from memory, its
// standard error kept, its end told.
#include <string>
#include <vector>

namespace pq {

struct ChildEnd {
    bool started = false;  // the program could be started
    int error = 0;         // errno of a start that failed
    int status = -1;       // its exit status; -1 when it ended by a signal
    int signal = 0;        // the signal that ended it
    bool Succeeded() const { return started && status == 0; }
};

// Runs `command` (the program looked up on PATH, then its arguments) with
// `input` on its standard input and its standard output on /dev/null, and
// waits for it; its standard error goes to `errorText` (at most 64 KiB is
// kept). The program ends with this process: should this one end first, it
// is sent SIGTERM.
ChildEnd RunChild(const std::vector<std::string>& command, const std::string& input, std::string& errorText);

}  // namespace pq
