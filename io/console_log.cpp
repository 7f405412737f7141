#include "io/console_log.h"

#include <wx/msgout.h>

void ConsoleLog::DoLogText(const wxString& msg)
{
    // The standard target only adds a line end when the text lacks one, which
    // swallows the empty line of messages such as "Ini file problem!\n".
    wxMessageOutputStderr(stderr).Output(msg + '\n');
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
