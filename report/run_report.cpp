#include "report/run_report.h"

#include <cstdio>
#include <memory>
#include <optional>
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
#include "report/evaluated_report.h"
#include "report/fixed_texts.h"
#include "report/page_assembly.h"
#include "report/page_blocks.h"
#include "report/page_layout.h"
#include "settings/settings_document.h"
#include "base/text.h"

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

namespace {

// The settings of a run, checked.
struct CheckedSettings {
    wxString file;          // the settings document
    ReportSettings settings;
    int days = 0;
    wxString programDir;    // the templates are read here
    wxString userDir;       // the pages are written under this prefix
};

// Loads and checks the settings document; nothing, after the reason and
// "Ini file problem!\n", when it cannot be used.
std::optional<CheckedSettings> CheckSettings(const wxString& settingsPath, const wxString& programDir)
{
    CheckedSettings run;
    run.file = settingsPath;
    run.programDir = programDir;
    if (!IsRegularFile(run.file)) {
        SettingsProblem();
        return std::nullopt;
    }
    std::optional<ReportSettings> settings;
    {
        wxXmlDocument doc;
        if (!LoadSettingsDocument(run.file, doc)) {
            SettingsProblem();
            return std::nullopt;
        }
        settings = ReadSettings(doc);
    }
    if (!settings) {
        SettingsProblem();
        return std::nullopt;
    }
    run.settings = std::move(*settings);
    run.userDir = run.settings.userDirectory.value_or(programDir);

    const ReportHeaderValues& header = run.settings.header;
    run.days = WholeNumber(header.n_Dayes);
    if (run.days > kMaxDays) {
        wxLogError("n_Dayes is %d, but the settings describe at most %d days.", run.days, kMaxDays);
        SettingsProblem();
        return std::nullopt;
    }
    if (!header.dt_begin.IsValid()) {
        wxLogError("dt_begin is missing or is not a date and time of the form dd.mm.yyyy hh:mm:ss.");
        SettingsProblem();
        return std::nullopt;
    }
    // A count far below zero would move the period's end before the calendar.
    if (header.dt_begin.GetJDN() + run.days < wxDateTime(1, wxDateTime::Jan, 1).GetJDN()) {
        wxLogError("n_Dayes is %d: the period would end before the year 1.", run.days);
        SettingsProblem();
        return std::nullopt;
    }
    return run;
}

// Every file a run writes, and where it reads its templates.
struct PagePlan {
    wxString dayTemplate, titleTemplate;
    std::vector<wxString> dayPages;  // day 1, 2, ...
    wxString titlePage;
};

// The plan of a run's files; nothing, after naming the file, when one of
// them would overwrite an input of the run.
std::optional<PagePlan> PlanPages(const CheckedSettings& run)
{
    PagePlan plan;
    plan.dayTemplate = run.programDir + DayTemplateName();
    plan.titleTemplate = run.programDir + TitleTemplateName();
    for (int k = 0; k < run.days; ++k)
        plan.dayPages.push_back(run.userDir + DayPageName(k + 1));
    plan.titlePage = run.userDir + TitlePageName();
    std::vector<wxString> pages = plan.dayPages;
    pages.push_back(plan.titlePage);
    if (!PagesSpareTheInputs(pages, {{"database", run.settings.header.DB},
                                     {"settings document", run.file},
                                     {"template", plan.dayTemplate},
                                     {"template", plan.titleTemplate}}))
        return std::nullopt;
    return plan;
}

// The day pages and the title page, each written as soon as its values are known.
class PageWriter {
public:
    PageWriter(const CheckedSettings& run, wxSQLite3Database& db) : run_(run), db_(db) {}

    // Writes the page of an evaluated day; false when it could not be written.
    bool WriteDay(const EvaluatedDay& day)
    {
        const ReportHeaderValues& header = run_.settings.header;
        // The charts read the database after the day's statistics, outside their transactions.
        const MarkerBlocks blocks = [&](const std::string& marker) {
            if (marker == kChartsMarker)
                return DayChartsBlock(db_, day, header.Unom);
            if (marker == kCompletenessMarker)
                return CompletenessTable(CompletenessRows(day.Counts(), 1));
            return std::string();
        };
        return WriteDayPage(day.number, DayValues(header, day), day.begins, day.ends, HarmonicRecordTexts(day),
                            run_.programDir, run_.userDir, blocks);
    }

    // Writes the title page of the evaluated report.
    bool WriteTitle(const EvaluatedReport& report)
    {
        const MarkerBlocks blocks = [&](const std::string& marker) {
            if (marker == kVerdictsByDayMarker) {
                std::vector<DayVerdicts> byDay;
                for (const EvaluatedDay& day : report.days)
                    byDay.push_back({day.start.Format("%d.%m").ToStdString(), day.flags});
                return VerdictsByDayTable(byDay);
            }
            if (marker == kCompletenessMarker)
                return CompletenessTable(CompletenessRows(report.PeriodCounts(), report.dayCount));
            return std::string();
        };
        return WriteTitlePage(TitleValues(run_.settings.header, report), run_.programDir, run_.userDir, blocks);
    }

private:
    const CheckedSettings& run_;
    wxSQLite3Database& db_;
};

}  // namespace

bool RunReport(wxString settingsPath)
{
    MakerName();
    CompliesWord();
    DoesNotComplyWord();

    const wxString programDir = wxFileName(wxStandardPaths::Get().GetExecutablePath())
                                    .GetPath(wxPATH_GET_VOLUME | wxPATH_GET_SEPARATOR);
    const std::optional<CheckedSettings> run = CheckSettings(settingsPath, programDir);
    if (!run)
        return false;
    const std::optional<PagePlan> plan = PlanPages(*run);
    if (!plan)
        return false;
    const ReportHeaderValues& header = run->settings.header;

    DatabaseHandle db;
    try {
        db.reset(new MeasurementDatabase());
        db->OpenExisting(header.DB, kBusyTimeoutMs);
        TuneForScans(*db);

        PageWriter pages(*run, *db);
        bool allPagesWritten = true;
        EvaluatedReport report;
        report.periodStart = header.dt_begin;
        report.periodEnd = DayStart(header, run->days);
        report.dayCount = run->days;
        for (int k = 0; k < run->days; ++k) {
            wxLogMessage("Day number %d of %d.", k + 1, run->days);
            EvaluatedDay day;
            if (!EvaluateDay(header, k, *db, day))
                return false;
            allPagesWritten &= pages.WriteDay(day);
            report.AddDay(std::move(day));
        }
        report.summary = SummariseRun(header, run->days, *db);
        allPagesWritten &= pages.WriteTitle(report);
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
                   plan->dayTemplate);
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
