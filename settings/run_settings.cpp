#include "settings/run_settings.h"

#include <algorithm>

#include <sys/stat.h>

#include <wx/log.h>
#include <wx/xml/xml.h>

#include "base/text.h"
#include "base/whole_number.h"
#include "model/report_files.h"
#include "settings/date_parsing.h"
#include "standard/standards.h"

namespace pq {

namespace {

bool IsRegularFile(const wxString& path)
{
    struct stat st;
    return ::stat(FileSystemPath(path).c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::nullopt_t SettingsProblem()
{
    wxLogMessage("Ini file problem!\n");
    return std::nullopt;
}

// Each day's max-load period; nothing, after "Wrong date" and "Wrong
// datetime in ini file!\n", when a time of any day does not parse. The end
// is parsed onto the begin, on the same calendar date.
std::optional<std::vector<MaxLoadPeriod>> MaxLoadPeriods(const ReportHeaderValues& header, int days)
{
    std::vector<MaxLoadPeriod> periods;
    for (int k = 0; k < days; ++k) {
        wxDateTime b = DayStart(header.dt_begin, k);
        MaxLoadPeriod period;
        if (!ParseTimeOfDay(header.dt_max_load_begin.at(k), b)) {
            wxLogMessage("Wrong datetime in ini file!\n");
            return std::nullopt;
        }
        period.begin = b;
        if (!ParseTimeOfDay(header.dt_max_load_end.at(k), b)) {
            wxLogMessage("Wrong datetime in ini file!\n");
            return std::nullopt;
        }
        period.end = b;
        periods.push_back(period);
    }
    return periods;
}

}  // namespace

int DayCount(const ReportHeaderValues& header) { return WholeNumber(header.n_Dayes); }

wxString UnknownExportWord(const std::string& word)
{
    return wxString::Format("Export names \"%s\", which is no export format (known: %s)", WxFromCodePage(word),
                            KnownExportWords());
}

wxString UnknownStandardWord(const std::string& word)
{
    return wxString::Format("Evaluate names \"%s\", which is no standard the report evaluates (known: %s)",
                            WxFromCodePage(word), KnownStandardWords());
}

std::optional<std::vector<const Standard*>> ParseStandardWords(const std::string& list, std::string& unknown)
{
    std::vector<const Standard*> standards;
    for (const std::string& word : ListWords(list)) {
        const Standard* standard = StandardOfWord(word);
        if (!standard) {
            unknown = word;
            return std::nullopt;
        }
        if (std::find(standards.begin(), standards.end(), standard) == standards.end())
            standards.push_back(standard);
    }
    return standards;
}

std::optional<ReportSettings> ReadSettingsFile(const wxString& path, Notes& notes)
{
    if (!IsRegularFile(path))
        return std::nullopt;
    wxXmlDocument doc;
    if (!LoadSettingsDocument(path, doc))
        return std::nullopt;
    return ReadSettings(doc, notes);
}

std::optional<RunSettings> CheckRunSettings(const wxString& path, ReportSettings settings)
{
    RunSettings run;
    run.file = path;
    run.settings = std::move(settings);
    const ReportHeaderValues& header = run.settings.header;
    run.days = DayCount(header);
    if (run.days > kMaxDayPages) {
        wxLogError("n_Dayes is %d, but the settings describe at most %d days.", run.days, kMaxDayPages);
        return SettingsProblem();
    }
    if (!header.dt_begin.IsValid()) {
        wxLogError("dt_begin is missing or is not a date and time of the form dd.mm.yyyy hh:mm:ss.");
        return SettingsProblem();
    }
    // A count far below zero would move the period's end before the calendar.
    if (header.dt_begin.GetJDN() + run.days < wxDateTime(1, wxDateTime::Jan, 1).GetJDN()) {
        wxLogError("n_Dayes is %d: the period would end before the year 1.", run.days);
        return SettingsProblem();
    }
    std::string unknown;
    const std::optional<ExportFormats> exports = ParseExportFormats(header.Export, unknown);
    if (!exports) {
        wxLogError("%s.", UnknownExportWord(unknown));
        return SettingsProblem();
    }
    run.exports = *exports;
    std::optional<std::vector<const Standard*>> standards = ParseStandardWords(header.Evaluate, unknown);
    if (!standards) {
        wxLogError("%s.", UnknownStandardWord(unknown));
        return SettingsProblem();
    }
    run.evaluate = std::move(*standards);
    // Every day's max-load times before anything of the run is done: a time
    // that fails on day 2 must not leave day 1's page behind.
    std::optional<std::vector<MaxLoadPeriod>> maxLoad = MaxLoadPeriods(header, run.days);
    if (!maxLoad)
        return std::nullopt;
    run.maxLoad = std::move(*maxLoad);
    return run;
}

std::optional<RunSettings> LoadRunSettings(const wxString& path, Notes& notes)
{
    std::optional<ReportSettings> settings = ReadSettingsFile(path, notes);
    if (!settings)
        return SettingsProblem();
    return CheckRunSettings(path, std::move(*settings));
}

}  // namespace pq
