#pragma once
#include <string>
#include <vector>

#include <wx/log.h>

// The console log target: each message on standard error after its time
// stamp, error-level messages with "Error: ". A message that ends in a line
// end keeps it, so an empty line follows it.
class ConsoleLog : public wxLogStderr {
protected:
    void DoLogText(const wxString& msg) override;
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
