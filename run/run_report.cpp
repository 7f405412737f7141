#include "run/run_report.h"

#include <cerrno>
#include <cstdio>
#include <memory>
#include <optional>
#include <new>
#include <utility>
#include <vector>

#include <wx/filename.h>
#include <wx/log.h>
#include <wx/stdpaths.h>
#include <wx/wxsqlite3.h>

#include "base/text.h"
#include "db/sample_source.h"
#include "db/series.h"
#include "db/transaction.h"
#include "io/atomic_file.h"
#include "model/completeness.h"
#include "model/notes.h"
#include "model/report_files.h"
#include "pages/day_charts.h"
#include "pages/fixed_texts.h"
#include "pages/page_assembly.h"
#include "pages/page_blocks.h"
#include "pages/page_layout.h"
#include "pages/protocol.h"
#include "pages/protocol_document.h"
#include "pages/week_page.h"
#include "results/result_document.h"
#include "results/workbook.h"
#include "run/day_evaluation.h"
#include "run/page_files.h"
#include "run/page_folder.h"
#include "run/page_plan.h"
#include "run/pdf_file.h"
#include "run/provenance.h"
#include "settings/run_settings.h"
#include "standard/gost_13109_97.h"
#include "standard/gost_32144_2013.h"
#include "stats/week_values.h"

namespace pq {

namespace {

const int kBusyTimeoutMs = 60000;  // how long a statement waits for another program's lock

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

// The templates, read once before the database is opened and used for every
// page, and whether each is a protocol's sheet (it holds the running header's
// marker).
struct PageTemplates {
    TemplateText day, title;
    std::optional<TemplateText> week;  // for a week's evaluation
    bool dayProtocol = false, titleProtocol = false, weekProtocol = false;
};

// The templates; nothing, after an error naming the file, when one cannot be
// read. A marker that a page holds more than once is named in a warning.
std::optional<PageTemplates> ReadTemplates(const PagePlan& plan, Notes& notes)
{
    const std::optional<std::string> day = ReadTemplate(plan.dayTemplate);
    if (!day)
        return std::nullopt;
    const std::optional<std::string> title = ReadTemplate(plan.titleTemplate);
    if (!title)
        return std::nullopt;
    PageTemplates templates{{plan.dayTemplate, *day}, {plan.titleTemplate, *title}, std::nullopt};
    if (plan.weekTemplate) {
        const std::optional<std::string> week = ReadTemplate(*plan.weekTemplate);
        if (!week)
            return std::nullopt;
        templates.week = TemplateText{*plan.weekTemplate, *week};
    }
    const auto name = [&notes](const wxString& path, const std::vector<std::pair<std::string, int>>& repeated) {
        for (const auto& marker : repeated)
            notes.Warning(wxString::Format("The template %s holds %s %d times: its block takes the place of the "
                                           "first, the others stay as they are.",
                                           path, marker.first, marker.second));
    };
    name(plan.dayTemplate, RepeatedDayMarkers(templates.day.bytes));
    name(plan.titleTemplate, RepeatedTitleMarkers(templates.title.bytes));
    templates.dayProtocol = DayTemplateHolds(templates.day.bytes, kPrintHeaderMarker);
    templates.titleProtocol = PageTemplateHolds(templates.title.bytes, kPrintHeaderMarker, PageMarkers());
    if (templates.week) {
        name(templates.week->path, RepeatedPageMarkers(templates.week->bytes, WeekPageMarkers()));
        templates.weekProtocol = PageTemplateHolds(templates.week->bytes, kPrintHeaderMarker, WeekPageMarkers());
    }
    return templates;
}

// What the report was computed from, read once when first asked for.
class Inputs {
public:
    Inputs(const RunSettings& run, const PageTemplates& templates) : run_(run), templates_(templates) {}
    const Provenance& Get()
    {
        if (!provenance_)
            provenance_ =
                GatherProvenance(run_.file, run_.Header().DB, templates_.day, templates_.title, templates_.week);
        return *provenance_;
    }

private:
    const RunSettings& run_;
    const PageTemplates& templates_;
    std::optional<Provenance> provenance_;
};

// The day pages, the title page and the week page, each written as soon as
// its values are known; with the protocol's PDF asked for, each is assembled a
// second time as its part of the protocol's document and kept for it.
class PageWriter {
public:
    PageWriter(const RunSettings& run, const wxString& userDir, const PageTemplates& templates,
               const SeriesReader& read, Inputs& inputs, const Standard& standard, bool week, bool document)
        : run_(run),
          userDir_(userDir),
          templates_(templates),
          read_(read),
          inputs_(inputs),
          standard_(standard),
          week_(week),
          document_(document)
    {
    }

    // Writes the page of an evaluated day; false when it could not be written.
    bool WriteDay(const EvaluatedDay& day)
    {
        // The charts read the database after the day's statistics, outside
        // their transactions, once for both assemblies of the page.
        std::optional<std::string> charts;
        const bool protocol = templates_.dayProtocol;
        const auto page = [&](const SheetStyle& style) {
            const MarkerBlocks blocks = [&](const std::string& marker) {
                if (marker == kChartsMarker) {
                    if (!charts)
                        charts = DayChartsBlock(read_, day, protocol);
                    return *charts;
                }
                if (marker == kCompletenessMarker)
                    return CompletenessTable(CompletenessRows(day.Counts(), 1, protocol));
                if (marker == kProvenanceMarker)
                    return ProvenanceBlock(inputs_.Get(), protocol);
                if (marker == kPrintHeaderMarker)
                    return PrintStyleBlock(style, DayMarkRules(day, standard_, ScopeOf(style)));
                if (marker == kDayVerdictsMarker)
                    return DayVerdictsBlock(day);
                return std::string();
            };
            return AssembleDayPage(templates_.day.bytes, DayValues(run_.Header(), day), day.begins, day.ends,
                                   HarmonicRecordTexts(day), blocks);
        };
        const std::string part = DayPart(day.number, day.start);
        const bool written = WritePage(userDir_ + DayPageName(day.number), page(Style(part)));
        if (document_)
            dayParts_.push_back(page(Style(part, DayPartNumber(day.number))));
        return written;
    }

    // Writes the title page of the evaluated report.
    bool WriteTitle(const EvaluatedReport& report, const std::optional<WeekEvaluation>& week)
    {
        const bool protocol = templates_.titleProtocol;
        const auto page = [&](const SheetStyle& style) {
            const MarkerBlocks blocks = [&](const std::string& marker) {
                if (marker == kVerdictsByDayMarker) {
                    std::vector<DayVerdicts> byDay;
                    for (const EvaluatedDay& day : report.days)
                        byDay.push_back({day.start.Format("%d.%m").ToStdString(), day.flags});
                    return VerdictsByDayTable(byDay);
                }
                if (marker == kCompletenessMarker)
                    return CompletenessTable(CompletenessRows(report.PeriodCounts(), report.dayCount, protocol));
                if (marker == kProvenanceMarker)
                    return ProvenanceBlock(inputs_.Get(), protocol);
                if (marker == kPrintHeaderMarker)
                    return PrintStyleBlock(style, TitleVerdictRules(report, ScopeOf(style)));
                if (marker == kFailuresMarker)
                    return FailuresBlock(report, standard_);
                if (marker == kConclusionMarker)
                    return ConclusionBlock(report, standard_, week);
                if (marker == kNotAssessedMarker)
                    return NotAssessedBlock();
                if (marker == kAnnexesMarker)
                    return AnnexesBlock(report, week_);
                if (marker == kPeriodMarker)
                    return ProtocolPeriod(report.periodStart, report.periodEnd, report.dayCount);
                return std::string();
            };
            return AssembleTitlePage(templates_.title.bytes, TitleValues(run_.Header(), report), blocks);
        };
        const bool written = WritePage(userDir_ + TitlePageName(), page(Style(TitlePart())));
        if (document_)
            titlePart_ = page(Style(TitlePart(), 1));
        return written;
    }

    // Writes the week page of the week's evaluation.
    bool WriteWeek(const WeekEvaluation& week)
    {
        const int voltageClass = run_.Header().Unom;
        const bool protocol = templates_.weekProtocol;
        const auto page = [&](const SheetStyle& style) {
            const MarkerBlocks blocks = [&](const std::string& marker) {
                if (marker == kWeekVerdictsMarker)
                    return WeekVerdictsBlock(week, voltageClass);
                if (marker == kWeekSeriesMarker)
                    return WeekSeriesBlock(week);
                if (marker == kWeekHarmonicsMarker)
                    return WeekHarmonicsBlock(week);
                if (marker == kWeekNoteMarker)
                    return WeekNoteBlock(week);
                if (marker == kProvenanceMarker)
                    return ProvenanceBlock(inputs_.Get(), protocol);
                if (marker == kPrintHeaderMarker)
                    return PrintStyleBlock(style, std::string());
                return std::string();
            };
            return AssemblePage(templates_.week->bytes, WeekPageValues(run_.Header(), week), blocks,
                                WeekPageMarkers());
        };
        const std::string part = WeekPart(run_.days);
        const bool written = WritePage(userDir_ + WeekPageName(), page(Style(part)));
        if (document_)
            weekPart_ = page(Style(part, 2));
        return written;
    }

    // The protocol's parts as its document takes them: the title page, the
    // week page where asked, the day pages in order.
    std::vector<std::string> DocumentParts() const
    {
        std::vector<std::string> parts{titlePart_};
        if (week_)
            parts.push_back(weekPart_);
        parts.insert(parts.end(), dayParts_.begin(), dayParts_.end());
        return parts;
    }

private:
    SheetStyle Style(const std::string& part, std::optional<int> documentPart = std::nullopt) const
    {
        return {ProtocolIdentity(run_.Header()), part, documentPart};
    }
    int DayPartNumber(int dayNumber) const { return dayNumber + (week_ ? 2 : 1); }

    const RunSettings& run_;
    const wxString& userDir_;
    const PageTemplates& templates_;
    const SeriesReader& read_;
    Inputs& inputs_;
    const Standard& standard_;
    const bool week_;      // the week page is written
    const bool document_;  // the protocol's document is made
    std::string titlePart_, weekPart_;
    std::vector<std::string> dayParts_;
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
                       const Provenance& provenance, const std::optional<WeekEvaluation>& week)
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
        if (WriteWorkbook(file.TemporaryPath(), dir, header, report, provenance, why, week))
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
    Notes notes;
    const Standard& standard = Gost13109();

    const wxString programDir = wxFileName(wxStandardPaths::Get().GetExecutablePath())
                                    .GetPath(wxPATH_GET_VOLUME | wxPATH_GET_SEPARATOR);
    const std::optional<RunSettings> run = LoadRunSettings(settingsPath, notes);
    if (!run)
        return false;
    const wxString userDir = run->settings.userDirectory.value_or(programDir);
    const std::optional<PagePlan> plan = PlanPages(*run, programDir, userDir);
    if (!plan)
        return false;
    // The templates and the pages' folder before the database: a run that cannot finish writes nothing.
    const std::optional<PageTemplates> templates = ReadTemplates(*plan, notes);
    if (!templates)
        return false;
    const std::unique_ptr<PageFolder> folder = ClaimPageFolder(userDir, run->days, notes);
    if (!folder)
        return false;
    const ReportHeaderValues& header = run->Header();
    Inputs inputs(*run, *templates);

    DatabaseHandle db;
    try {
        db.reset(new MeasurementDatabase());
        db->OpenExisting(header.DB, kBusyTimeoutMs, notes);
        TuneForScans(*db);
        DatabaseSource source(*db);
        // The week's 10-minute values take every row of their tables once:
        // the rows the charts read go to them too, and after each day's page
        // the tables the charts did not read are read for them alone.
        std::optional<WeekValues> week;
        if (run->Evaluates(Gost32144()))
            week.emplace(header.dt_begin, run->days, Gost32144(), header.Unom);
        int day = 0;  // the day whose page is being made
        const SeriesReader read = [&](const std::string& table, const std::vector<std::string>& columns,
                                      const wxDateTime& from, const wxDateTime& to, const SeriesVisit& visit) {
            std::optional<RowSink> sink = week ? week->SinkFor(table, columns, day) : std::nullopt;
            if (!sink) {
                ReadSeries(*db, table, columns, from, to, visit);
                return;
            }
            ReadSeries(*db, table, columns, from, to, [&](long seconds, const std::vector<double>& values) {
                visit(seconds, values);
                (*sink)(seconds, values);
            });
        };

        PageWriter pages(*run, userDir, *templates, read, inputs, standard, week.has_value(), plan->pdf.has_value());
        bool allPagesWritten = true;
        EvaluatedReport report;
        report.periodStart = header.dt_begin;
        report.periodEnd = run->GetPeriod().NamedEnd();
        report.dayCount = run->days;
        for (int k = 0; k < run->days; ++k) {
            wxLogMessage("Day number %d of %d.", k + 1, run->days);
            EvaluatedDay evaluated = EvaluateDay(*run, k, source, standard, notes);
            for (const wxString& warning : DayGapWarnings(evaluated))
                notes.Warning(warning);
            day = k;
            allPagesWritten &= pages.WriteDay(evaluated);
            if (week)
                for (const auto& table : week->Tables())
                    if (std::optional<RowSink> sink = week->SinkFor(table.first, table.second, k))
                        ReadSeries(*db, table.first, table.second, evaluated.start, evaluated.end, *sink);
            report.AddDay(std::move(evaluated));
        }
        report.summary = SummariseRun(*run, source, notes);
        std::optional<WeekEvaluation> evaluatedWeek;
        if (week)
            evaluatedWeek = week->Evaluate();
        allPagesWritten &= pages.WriteTitle(report, evaluatedWeek);
        if (evaluatedWeek)
            allPagesWritten &= pages.WriteWeek(*evaluatedWeek);
        db.reset();
        if (!allPagesWritten) {
            wxLogError("The report is incomplete: a page could not be written.");
            return false;
        }
        // report.json, report.xlsx and report.pdf are all written before any
        // takes its place: a run that cannot write one leaves the earlier set.
        std::optional<AtomicFile> document, workbook, protocol;
        std::optional<std::string> json;
        if (plan->resultDocument) {
            json = ResultDocument(header, report, standard, inputs.Get(), notes.Lines(), evaluatedWeek);
            document.emplace(FileSystemPath(*plan->resultDocument));
            if (!WriteResultDocument(*document, *json))
                return false;
        }
        if (plan->workbook) {
            workbook.emplace(FileSystemPath(*plan->workbook));
            if (!WriteWorkbookFile(*workbook, header, report, inputs.Get(), evaluatedWeek))
                return false;
        }
        if (plan->pdf) {
            protocol.emplace(FileSystemPath(*plan->pdf));
            const ProtocolMetadata metadata{
                ProtocolIdentity(header) + ", " + ProtocolPeriod(report.periodStart, report.periodEnd, report.dayCount),
                std::string("pqreport ") + ProgramVersion(), report.periodEnd.Format("%Y-%m-%dT%H:%M:%S").ToStdString()};
            if (!WritePdf(*protocol, ProtocolDocument(pages.DocumentParts(), metadata), json))
                return false;
        }
        {
            // A signal waits until all have taken their places: the set on
            // disk is the earlier one or this run's, never a mix.
            const HeldSignals held;
            if ((document && !CommitFile(*document, "result document")) ||
                (workbook && !CommitFile(*workbook, "workbook")) || (protocol && !CommitFile(*protocol, "protocol")))
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

}  // namespace pq
