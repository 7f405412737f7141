#include "run/run_report.h"

#include <cerrno>
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
#include "io/atomic_file.h"
#include "io/console_log.h"
#include "pages/day_charts.h"
#include "run/day_evaluation.h"
#include "model/evaluated_report.h"
#include "pages/fixed_texts.h"
#include "pages/page_assembly.h"
#include "pages/page_blocks.h"
#include "run/page_folder.h"
#include "pages/page_layout.h"
#include "run/provenance.h"
#include "results/result_document.h"
#include "results/workbook.h"
#include "settings/export_formats.h"
#include "settings/settings_document.h"
#include "base/text.h"

namespace {

const int kMaxDays = kMaxDayPages;  // the settings carry seven max-load periods
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

// Refuses, before any page is written, a file path that names one of the
// run's inputs: writing that file would replace the input.
bool FilesSpareTheInputs(const std::vector<std::pair<const char*, wxString>>& files,
                         const std::vector<std::pair<const char*, wxString>>& inputs)
{
    for (const auto& file : files) {
        const FileIdentity f = IdentityOf(file.second);
        for (const auto& input : inputs) {
            if (!SameFile(f, IdentityOf(input.second)))
                continue;
            wxLogError("The %s %s would overwrite the %s %s: no page is written.", file.first, file.second,
                       input.first, input.second);
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

// The settings of a run, checked.
struct CheckedSettings {
    wxString file;          // the settings document
    ReportSettings settings;
    int days = 0;
    wxString programDir;    // the templates are read here
    wxString userDir;       // the pages are written under this prefix
    ExportFormats exports;  // what the run writes besides the pages
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
    std::string unknown;
    const std::optional<ExportFormats> exports = ParseExportFormats(header.Export, unknown);
    if (!exports) {
        wxLogError("Export names \"%s\", which is no export format (known: %s).", WxFromCodePage(unknown),
                   KnownExportWords());
        SettingsProblem();
        return std::nullopt;
    }
    run.exports = *exports;
    return run;
}

// Every file a run writes, and where it reads its templates.
struct PagePlan {
    wxString dayTemplate, titleTemplate;
    std::vector<wxString> dayPages;  // day 1, 2, ...
    wxString titlePage;
    std::optional<wxString> resultDocument;  // report.json, when the settings ask for it
    std::optional<wxString> workbook;        // report.xlsx, when the settings ask for it
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
    if (run.exports.json)
        plan.resultDocument = run.userDir + ResultDocumentName();
    if (run.exports.xlsx)
        plan.workbook = run.userDir + WorkbookName();
    std::vector<std::pair<const char*, wxString>> files;
    for (const wxString& page : plan.dayPages)
        files.emplace_back("page", page);
    files.emplace_back("page", plan.titlePage);
    if (plan.resultDocument)
        files.emplace_back("result document", *plan.resultDocument);
    if (plan.workbook)
        files.emplace_back("workbook", *plan.workbook);
    if (!FilesSpareTheInputs(files, {{"database", run.settings.header.DB},
                                     {"settings document", run.file},
                                     {"template", plan.dayTemplate},
                                     {"template", plan.titleTemplate}}))
        return std::nullopt;
    return plan;
}

// Both templates, read once before the database is opened and used for every page.
struct PageTemplates {
    TemplateText day, title;
};

// The templates; nothing, after an error naming the file, when one cannot be
// read. A marker that a page holds more than once is named in a warning.
std::optional<PageTemplates> ReadTemplates(const PagePlan& plan)
{
    PageTemplates templates{{plan.dayTemplate, {}}, {plan.titleTemplate, {}}};
    try {
        templates.day.bytes = ReadTemplate(plan.dayTemplate);
        templates.title.bytes = ReadTemplate(plan.titleTemplate);
    } catch (const ReportFileError& e) {
        wxLogError("%s", wxString::FromUTF8(e.what()));
        return std::nullopt;
    }
    const auto name = [](const wxString& path, const std::vector<std::pair<std::string, int>>& repeated) {
        for (const auto& marker : repeated)
            wxLogWarning("The template %s holds %s %d times: its block takes the place of the first, the "
                         "others stay as they are.",
                         path, marker.first, marker.second);
    };
    name(plan.dayTemplate, RepeatedDayMarkers(templates.day.bytes));
    name(plan.titleTemplate, RepeatedTitleMarkers(templates.title.bytes));
    return templates;
}

// What the report was computed from, read once when first asked for.
class Inputs {
public:
    Inputs(const CheckedSettings& run, const PageTemplates& templates) : run_(run), templates_(templates) {}
    const Provenance& Get()
    {
        if (!provenance_)
            provenance_ = GatherProvenance(run_.file, run_.settings.header.DB, templates_.day, templates_.title);
        return *provenance_;
    }

private:
    const CheckedSettings& run_;
    const PageTemplates& templates_;
    std::optional<Provenance> provenance_;
};

// The day pages and the title page, each written as soon as its values are known.
class PageWriter {
public:
    PageWriter(const CheckedSettings& run, const PageTemplates& templates, wxSQLite3Database& db, Inputs& inputs)
        : run_(run), templates_(templates), db_(db), inputs_(inputs)
    {
    }

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
            if (marker == kProvenanceMarker)
                return ProvenanceBlock(inputs_.Get());
            return std::string();
        };
        return WriteDayPage(day.number, templates_.day.bytes, DayValues(header, day), day.begins, day.ends,
                            HarmonicRecordTexts(day), run_.userDir, blocks);
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
            if (marker == kProvenanceMarker)
                return ProvenanceBlock(inputs_.Get());
            return std::string();
        };
        return WriteTitlePage(templates_.title.bytes, TitleValues(run_.settings.header, report), run_.userDir, blocks);
    }

private:
    const CheckedSettings& run_;
    const PageTemplates& templates_;
    wxSQLite3Database& db_;
    Inputs& inputs_;
};

// Writes report.json into its temporary file; false, after naming the file, when it cannot.
bool WriteResultDocument(AtomicFile& file, const std::string& text)
{
    if (file.Write(text))
        return true;
    wxLogError("Cannot write the result document %s: %s", wxString::FromUTF8(file.Path()),
               SystemErrorText(file.Error()));
    return false;
}

// Writes report.xlsx into its temporary file; false, after naming the file, when it cannot.
bool WriteWorkbookFile(AtomicFile& file, const ReportHeaderValues& header, const EvaluatedReport& report,
                       const Provenance& provenance)
{
    const std::string& name = file.Path();
    std::string why;
    if (file.TemporaryPath().empty()) {
        why = SystemErrorText(file.Error());
    } else {
        // The library's own temporary files go beside the workbook, not to a
        // /tmp that may be held in memory.
        const size_t slash = name.rfind('/');
        const std::string dir = slash == std::string::npos ? "." : slash == 0 ? "/" : name.substr(0, slash);
        if (WriteWorkbook(file.TemporaryPath(), dir, header, report, provenance, why))
            return true;
    }
    wxLogError("Cannot write the workbook %s: %s", wxString::FromUTF8(name), wxString::FromUTF8(why));
    return false;
}

// Puts a written file in its place; false, after naming it, when it cannot.
bool CommitFile(AtomicFile& file, const char* what)
{
    if (file.Commit())
        return true;
    wxLogError("Cannot write the %s %s: %s", what, wxString::FromUTF8(file.Path()), SystemErrorText(file.Error()));
    return false;
}

}  // namespace

bool RunReport(wxString settingsPath)
{
    MakerName();
    CompliesWord();
    DoesNotComplyWord();
    WarningRecorder warnings;

    const wxString programDir = wxFileName(wxStandardPaths::Get().GetExecutablePath())
                                    .GetPath(wxPATH_GET_VOLUME | wxPATH_GET_SEPARATOR);
    const std::optional<CheckedSettings> run = CheckSettings(settingsPath, programDir);
    if (!run)
        return false;
    const std::optional<PagePlan> plan = PlanPages(*run);
    if (!plan)
        return false;
    // The templates and the pages' folder before the database: a run that cannot finish writes nothing.
    const std::optional<PageTemplates> templates = ReadTemplates(*plan);
    if (!templates)
        return false;
    const std::unique_ptr<PageFolder> folder = ClaimPageFolder(run->userDir, run->days);
    if (!folder)
        return false;
    const ReportHeaderValues& header = run->settings.header;
    Inputs inputs(*run, *templates);

    DatabaseHandle db;
    try {
        db.reset(new MeasurementDatabase());
        db->OpenExisting(header.DB, kBusyTimeoutMs);
        TuneForScans(*db);

        PageWriter pages(*run, *templates, *db, inputs);
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
            WarnOfDayGaps(day);
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
        // report.json and report.xlsx are both written before either takes
        // its place: a run that cannot write one leaves the earlier pair.
        std::optional<AtomicFile> document, workbook;
        if (plan->resultDocument) {
            document.emplace(FileSystemPath(*plan->resultDocument));
            if (!WriteResultDocument(*document, ResultDocument(header, report, inputs.Get(), warnings.Lines())))
                return false;
        }
        if (plan->workbook) {
            workbook.emplace(FileSystemPath(*plan->workbook));
            if (!WriteWorkbookFile(*workbook, header, report, inputs.Get()))
                return false;
        }
        {
            // A signal waits until both have taken their places: the pair on
            // disk is the earlier one or this run's, never one of each.
            const HeldSignals held;
            if ((document && !CommitFile(*document, "result document")) ||
                (workbook && !CommitFile(*workbook, "workbook")))
                return false;
        }
        // "ok!" counts only once it has reached the caller.
        errno = 0;
        if (std::printf("ok!\n") < 0 || std::fflush(stdout) != 0 || std::ferror(stdout)) {
            wxLogError("Cannot write \"ok!\" to standard output: %s", SystemErrorText(errno != 0 ? errno : EIO));
            return false;
        }
        return true;
    } catch (const wxSQLite3Exception& e) {
        wxLogMessage("InitDB%d:%s", e.GetErrorCode(), e.GetMessage());
        // The historical line names no file.
        wxLogError("The database %s: %s", header.DB, e.GetMessage());
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
