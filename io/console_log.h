#pragma once
#include <wx/log.h>

// The console log target: each message on standard error after its time
// stamp, error-level messages with "Error: ". A message that ends in a line
// end keeps it, so an empty line follows it.
class ConsoleLog : public wxLogStderr {
protected:
    void DoLogText(const wxString& msg) override;
};
