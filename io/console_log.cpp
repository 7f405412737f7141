#include "io/console_log.h"

#include <wx/msgout.h>

namespace pq {

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

}  // namespace pq
