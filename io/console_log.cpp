#include "io/console_log.h"

#include <wx/msgout.h>

namespace {

int holds = 0;   // LogHold objects alive
wxString held;   // the lines kept meanwhile

void Write(const wxString& text) { wxMessageOutputStderr(stderr).Output(text); }

}  // namespace

ConsoleLog::~ConsoleLog()
{
    if (!held.empty())
        Write(held);
    held.clear();
}

void ConsoleLog::DoLogText(const wxString& msg)
{
    // The standard target only adds a line end when the text lacks one, which
    // swallows the empty line of messages such as "Ini file problem!\n".
    if (holds > 0)
        held += msg + '\n';
    else
        Write(msg + '\n');
}

LogHold::LogHold() { ++holds; }

LogHold::~LogHold()
{
    if (--holds > 0 || held.empty())
        return;
    const wxString lines = held;
    held.clear();
    Write(lines);
}

void WarningRecorder::DoLogRecord(wxLogLevel level, const wxString& msg, const wxLogRecordInfo& info)
{
    wxString line;
    if (level == wxLOG_Warning)
        line = "Warning: " + msg;
    else if (level == wxLOG_Message && msg == "Input is incomplete!\n")
        line = "Input is incomplete!";
    if (!line.empty()) {
        const wxScopedCharBuffer utf8 = line.utf8_str();
        lines_.emplace_back(utf8.data(), utf8.length());
    }
    wxLogChain::DoLogRecord(level, msg, info);
}
