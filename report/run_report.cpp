#include "report/run_report.h"

#include <cstdio>
#include <memory>
#include <new>
#include <utility>
#include <sys/stat.h>
#include <vector>

#include <wx/filename.h>
#include <wx/log.h>
#include <wx/stdpaths.h>
#include <wx/wxsqlite3.h>
#include <wx/xml/xml.h>

#include "db/transaction.h"
#include "report/day_charts.h"
#include "report/day_evaluation.h"
#include "report/fixed_texts.h"
#include "report/page_assembly.h"
#include "report/page_blocks.h"
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

// The file a path names, for telling whether two paths are one file: the
// device and inode where it exists, else the absolute normalised path.
struct FileIdentity {
    bool exists = false;
    dev_t device = 0;
    ino_t inode = 0;
    wxString path;
};

FileIdentity IdentityOf(const wxString& path)
{
    FileIdentity id;
    struct stat st;
    if (::stat(FileSystemPath(path).c_str(), &st) == 0) {
        id.exists = true;
        id.device = st.st_dev;
        id.inode = st.st_ino;
    }
    wxFileName name(path);
    name.Normalize(wxPATH_NORM_DOTS | wxPATH_NORM_TILDE | wxPATH_NORM_ABSOLUTE);
    id.path = name.GetFullPath();
    return id;
}

bool SameFile(const FileIdentity& a, const FileIdentity& b)
{
    if (a.exists && b.exists)
        return a.device == b.device && a.inode == b.inode;
    return a.path == b.path;
}

// Refuses, before any page is written, a page path that names one of the
// run's inputs: writing that page would replace the input.
bool PagesSpareTheInputs(const std::vector<wxString>& pages,
                         const std::vector<std::pair<const char*, wxString>>& inputs)
{
    for (const wxString& page : pages) {
        const FileIdentity p = IdentityOf(page);
        for (const auto& input : inputs) {
            if (!SameFile(p, IdentityOf(input.second)))
                continue;
            wxLogError("The page %s would overwrite the %s %s: no page is written.", page, input.first,
                       input.second);
            return false;
        }
    }
    return true;
}

// Closes and releases the run's database on every way out.
struct DatabaseCloser {
    void operator()(MeasurementDatabase* db) const
    {
        try {
            db->Close();
        } catch (const wxSQLite3Exception&) {
        }
        delete db;
    }
};
using DatabaseHandle = std::unique_ptr<MeasurementDatabase, DatabaseCloser>;

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

    std::vector<wxString> pages;
    for (int k = 0; k < days; ++k)
        pages.push_back(userDir + DayPageName(k + 1));
    pages.push_back(userDir + TitlePageName());
    if (!PagesSpareTheInputs(pages, {{"database", header.DB},
                                     {"settings document", settingsFile},
                                     {"template", programDir + DayTemplateName()},
                                     {"template", programDir + TitleTemplateName()}}))
        return false;

    ComplianceFlags flags;

    DatabaseHandle db;
    try {
        db.reset(new MeasurementDatabase());
        db->OpenExisting(header.DB, kBusyTimeoutMs);
        TuneForScans(*db);

        bool allPagesWritten = true;
        std::vector<DayVerdicts> verdictsByDay;
        std::vector<SampleCounts> periodCounts;
        for (int k = 0; k < days; ++k) {
            wxLogMessage("Day number %d of %d.", k + 1, days);
            DayResult day;
            if (!EvaluateDay(header, k, *db, flags, day))
                return false;
            // The charts read the database after the day's statistics, outside their transactions.
            const MarkerBlocks blocks = [&](const std::string& marker) {
                if (marker == kChartsMarker)
                    return DayChartsBlock(*db, day, header.Unom);
                if (marker == kCompletenessMarker)
                    return CompletenessTable(CompletenessRows(day.counts, 1));
                return std::string();
            };
            allPagesWritten &= WriteDayPage(k + 1, day.values, day.begins, day.ends, day.harmonics,
                                            programDir, userDir, blocks);
            verdictsByDay.push_back({day.dayStart.Format("%d.%m").ToStdString(), day.flags});
            periodCounts.resize(day.counts.size());
            for (size_t i = 0; i < day.counts.size(); ++i)
                periodCounts[i] += day.counts[i];
        }
        const PeriodSummary summary = SummariseRun(header, days, *db, flags);
        const MarkerBlocks titleBlocks = [&](const std::string& marker) {
            if (marker == kVerdictsByDayMarker)
                return VerdictsByDayTable(verdictsByDay);
            if (marker == kCompletenessMarker)
                return CompletenessTable(CompletenessRows(periodCounts, days));
            return std::string();
        };
        allPagesWritten &= WriteTitlePage(TitleValues(header, DayStart(header, days), summary), programDir,
                                          userDir, titleBlocks);
        db.reset();
        if (!allPagesWritten) {
            wxLogError("The report is incomplete: a page could not be written.");
            return false;
        }
        std::printf("ok!\n");
        // "ok!" counts only once it has reached the caller.
        return std::fflush(stdout) == 0 && !std::ferror(stdout);
    } catch (const wxSQLite3Exception& e) {
        wxLogMessage("InitDB%d:%s", e.GetErrorCode(), e.GetMessage());
    } catch (const ReportFileError& e) {
        wxLogError("%s", wxString::FromUTF8(e.what()));
    } catch (const DataError&) {
        // The historical line first, for the callers that look for it; then the cause.
        wxLogMessage("Abort not correct DB version");
        wxLogError("The day template %s: a harmonic table's sample row cannot be cut, or its row "
                   "does not hold the row-number marker \"Friday\" exactly once.",
                   programDir + DayTemplateName());
    } catch (const std::bad_alloc&) {
        wxLogMessage("Abort not correct DB version");
        wxLogError("The run ran out of memory.");
    } catch (const std::exception& e) {
        wxLogMessage("Abort not correct DB version");
        wxLogError("The run failed: %s", wxString::FromUTF8(e.what()));
    } catch (...) {
        wxLogMessage("Abort not correct DB version");
        wxLogError("The run failed for an unknown reason.");
    }
    return false;
}
