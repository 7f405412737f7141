// Settings documents: the checks and the XML reader as the run loads the document, the
// settings read from it, the max-load times of day, the title dates the run
// derives from the result, and the begin date-time parser on the raw bytes.
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <wx/mstream.h>
#include <wx/xml/xml.h>

#include "fuzz_support.h"
#include "model/evaluated_report.h"
#include "pages/page_layout.h"
#include "settings/date_parsing.h"
#include "settings/run_settings.h"

using namespace pq;

namespace {

void Check(bool ok, const char* what)
{
    if (!ok) {
        std::fprintf(stderr, "%s\n", what);
        std::abort();
    }
}

void TimesOfDay(const std::array<std::string, 7>& texts)
{
    static const wxDateTime day = ComposeDateTime(1, 3, 2011, 0, 0, 0);
    for (const std::string& text : texts) {
        wxDateTime instant = day;
        if (ParseTimeOfDay(text, instant))
            Check(instant.IsValid(), "a time of day parsed into an unset instant");
        else
            Check(instant == day, "a rejected time of day changed the instant");
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    StartFuzzProcess();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    ReportSettings settings;
    {
        wxXmlDocument doc;
        Notes notes;
        if (ParseSettingsDocument(std::string(reinterpret_cast<const char*>(data), size), doc))
            settings = ReadSettings(doc, notes).value_or(ReportSettings());
    }
    const ReportHeaderValues& h = settings.header;
    TimesOfDay(h.dt_max_load_begin);
    TimesOfDay(h.dt_max_load_end);

    // What the run does next with settings it accepts: the title's dates.
    const std::optional<RunSettings> run = CheckRunSettings("settings.xml", settings);
    if (run) {
        EvaluatedReport report;
        report.periodStart = h.dt_begin;
        report.periodEnd = run->GetPeriod().NamedEnd();
        report.dayCount = run->days;
        TitleValues(h, report);
    }

    wxDateTime begin;
    if (ParseBeginDateTime(std::string(reinterpret_cast<const char*>(data), size), begin))
        Check(begin.IsValid(), "a begin date-time parsed into an unset instant");
    return 0;
}
