#include "io/console_log.h"

#include <wx/msgout.h>

void ConsoleLog::DoLogText(const wxString& msg)
{
    // The standard target only adds a line end when the text lacks one, which
    // swallows the empty line of messages such as "Ini file problem!\n".
    wxMessageOutputStderr(stderr).Output(msg + '\n');
}
