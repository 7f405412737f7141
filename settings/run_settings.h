#pragma once
// The settings of a report run, typed and checked in one place: the run
// reads them from here, and so does the fleet.
#include <optional>
#include <string>
#include <vector>

#include <wx/datetime.h>
#include <wx/string.h>

#include "model/notes.h"
#include "model/period.h"
#include "settings/export_formats.h"
#include "settings/settings_document.h"
#include "standard/standard.h"

namespace pq {

// A day's max-load period, its times parsed onto the day's date.
struct MaxLoadPeriod {
    wxDateTime begin, end;
};

struct RunSettings {
    wxString file;            // the settings document
    ReportSettings settings;  // every value it holds
    int days = 0;             // n_Dayes
    ExportFormats exports;    // what the run writes besides the pages
    std::vector<const Standard*> evaluate;  // the standards evaluated besides the day pages' own (Evaluate)
    std::vector<MaxLoadPeriod> maxLoad;  // day 1, 2, ...

    const ReportHeaderValues& Header() const { return settings.header; }
    bool Evaluates(const Standard& standard) const
    {
        for (const Standard* s : evaluate)
            if (s == &standard)
                return true;
        return false;
    }
    Period GetPeriod() const { return {settings.header.dt_begin, days}; }
};

// n_Dayes by the settings' whole-number rule (0 when it holds no number).
int DayCount(const ReportHeaderValues& header);

// Why an Export word refuses the settings: "Export names "x", which is no
// export format (known: json, xlsx)".
wxString UnknownExportWord(const std::string& word);

// Why an Evaluate word refuses the settings: "Evaluate names "x", which is no
// standard the report evaluates (known: 32144-2013)".
wxString UnknownStandardWord(const std::string& word);

// The standards a list of Evaluate words asks for, each once, in the order
// first named; nothing, with the first word that names none in `unknown`.
std::optional<std::vector<const Standard*>> ParseStandardWords(const std::string& list, std::string& unknown);

// The document at `path` read as a run reads it; nothing when it is no
// regular file, cannot be read or parsed (the XML reader logs why), or its
// root element is not the settings'.
std::optional<ReportSettings> ReadSettingsFile(const wxString& path, Notes& notes);

// The run's settings from the values of the document at `path`. Nothing when
// they cannot make a report, after logging why: a line naming the value and
// "Ini file problem!\n", or, for a max-load time of any day that does not
// parse, "Wrong date" and "Wrong datetime in ini file!\n".
std::optional<RunSettings> CheckRunSettings(const wxString& path, ReportSettings settings);

// Both: the document read and its values checked, "Ini file problem!\n"
// logged when it cannot be read.
std::optional<RunSettings> LoadRunSettings(const wxString& path, Notes& notes);

}  // namespace pq
