#include "report/run_report.h"

#include <cstdio>
#include <memory>
#include <sys/stat.h>
#include <vector>

#include <wx/filename.h>
#include <wx/log.h>
#include <wx/stdpaths.h>
#include <wx/wxsqlite3.h>
#include <wx/xml/xml.h>

#include "db/transaction.h"
#include "report/day_evaluation.h"
#include "report/fixed_texts.h"
#include "report/page_assembly.h"
#include "settings/settings_document.h"
#include "settings/text.h"

namespace {

const int kMaxDays = 7;  // the settings carry seven max-load periods
const int kBusyTimeoutMs = 60000;  // how long a statement waits for another program's lock

bool IsRegularFile(const wxString& path)
{
    struct stat st;
    return ::stat(FileSystemPath(path).c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool SettingsProblem()
{
    wxLogMessage("Ini file problem!\n");
    return false;
}

// Closes and releases the run's database on every way out.
struct DatabaseCloser {
    void operator()(wxSQLite3Database* db) const
    {
        try {
            db->Close();
        } catch (const wxSQLite3Exception&) {
        }
        delete db;
    }
};
using DatabaseHandle = std::unique_ptr<wxSQLite3Database, DatabaseCloser>;

}  // namespace

bool RunReport(wxString settingsPath)
{
    MakerName();
    CompliesWord();
    DoesNotComplyWord();

    const wxString programDir = wxFileName(wxStandardPaths::Get().GetExecutablePath())
                                    .GetPath(wxPATH_GET_VOLUME | wxPATH_GET_SEPARATOR);
    const wxString settingsFile = settingsPath;

    if (!IsRegularFile(settingsFile))
        return SettingsProblem();
    std::optional<ReportSettings> settings;
    {
        wxXmlDocument doc;
        if (!LoadSettingsDocument(settingsFile, doc))
            return SettingsProblem();
        settings = ReadSettings(doc);
    }
    if (!settings)
        return SettingsProblem();
    const wxString userDir = settings->userDirectory.value_or(programDir);

    const ReportHeaderValues& header = settings->header;
    const int days = WholeNumber(header.n_Dayes);
    if (days > kMaxDays) {
        wxLogError("n_Dayes is %d, but the settings describe at most %d days.", days, kMaxDays);
        return SettingsProblem();
    }
    if (!header.dt_begin.IsValid()) {
        wxLogError("dt_begin is missing or is not a date and time of the form dd.mm.yyyy hh:mm:ss.");
        return SettingsProblem();
    }
    // A count far below zero would move the period's end before the calendar.
    if (header.dt_begin.GetJDN() + days < wxDateTime(1, wxDateTime::Jan, 1).GetJDN()) {
        wxLogError("n_Dayes is %d: the period would end before the year 1.", days);
        return SettingsProblem();
    }

    ComplianceFlags flags;

    DatabaseHandle db;
    try {
        db.reset(new wxSQLite3Database());
        // Without the create flag: a path that names no file must not make one.
        db->Open(header.DB, wxEmptyString, WXSQLITE_OPEN_READWRITE);
        db->SetBusyTimeout(kBusyTimeoutMs);
        TuneForScans(*db);

        bool allPagesWritten = true;
        for (int k = 0; k < days; ++k) {
            wxLogMessage("Day number %d of %d.", k + 1, days);
            DayResult day;
            if (!EvaluateDay(header, k, *db, flags, day))
                return false;
            allPagesWritten &= WriteDayPage(k + 1, day.values, day.begins, day.ends, day.harmonics,
                                            programDir, userDir);
        }
        const PeriodSummary summary = SummariseRun(header, days, *db, flags);
        allPagesWritten &=
            WriteTitlePage(TitleValues(header, DayStart(header, days), summary), programDir, userDir);
        db.reset();
        if (allPagesWritten)
            std::printf("ok!\n");
        else
            wxLogError("The report is incomplete: a page could not be written.");
        return true;
    } catch (const wxSQLite3Exception& e) {
        wxLogMessage("InitDB%d:%s", e.GetErrorCode(), e.GetMessage());
    } catch (const ReportFileError& e) {
        wxLogError("%s", wxString::FromUTF8(e.what()));
    } catch (...) {
        wxLogMessage("Abort not correct DB version");
    }
    return true;
}
