#pragma once
#include <wx/string.h>

namespace pq {

// One report run for the settings document at `settingsPath`: reads the
// settings, evaluates each day into its page, writes the title page and
// prints "ok!" when every page was written. True exactly when it printed
// "ok!": false on every other end (settings that cannot be used, a wrong
// max-load time, a database or data error, a missing template, a page not
// written or refused).
bool RunReport(wxString settingsPath);

}  // namespace pq
