#pragma once
#include <wx/string.h>

// One report run for the settings document at `settingsPath`: reads the
// settings, evaluates each day into its page, writes the title page and
// prints "ok!" when every page was written. False when the settings cannot
// be used or a max-load time is wrong.
bool RunReport(wxString settingsPath);
