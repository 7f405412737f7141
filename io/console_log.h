#pragma once
#include <wx/log.h>

namespace pq {

// The console log target: each message on standard error after its time
// stamp, error-level messages with "Error: ". A message that ends in a line
// end keeps it, so an empty line follows it. While a LogHold lives, the lines
// are kept and written, in order, when the last one ends.
class ConsoleLog : public wxLogStderr {
public:
    ~ConsoleLog() override;

protected:
    void DoLogText(const wxString& msg) override;
};

// Holds back the console's lines while it lives: a statistic holds the
// database's lock meanwhile, and a write to a standard error that nobody
// reads would keep the lock from every other program until the run ended.
class LogHold {
public:
    LogHold();
    ~LogHold();
    LogHold(const LogHold&) = delete;
    LogHold& operator=(const LogHold&) = delete;
};

}  // namespace pq
