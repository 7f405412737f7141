#pragma once
#include <string>
#include <vector>

#include <wx/log.h>

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

// Keeps, while it lives, the texts of the warning lines (as the console
// writes them, "Warning: ..." without the time stamp) and of the "Input is
// incomplete!" lines, in log order; every message still reaches the log
// target that was active before it.
class WarningRecorder : public wxLogChain {
public:
    WarningRecorder() : wxLogChain(nullptr) {}
    const std::vector<std::string>& Lines() const { return lines_; }

protected:
    void DoLogRecord(wxLogLevel level, const wxString& msg, const wxLogRecordInfo& info) override;

private:
    std::vector<std::string> lines_;
};
