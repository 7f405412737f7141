// Settings documents: the XML reader as the run loads the document, every
// ReportData child through ReadReportData, the max-load times of day, the
// title dates the run derives from the result, and the begin date-time
// parser on the raw bytes.
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <wx/mstream.h>
#include <wx/xml/xml.h>

#include "fuzz_support.h"
#include "report/page_assembly.h"
#include "settings/date_parsing.h"
#include "settings/header_values.h"

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
    HeaderValues() = ReportHeaderValues();
    {
        wxMemoryInputStream stream(data, size);
        wxXmlDocument doc;
        if (doc.Load(stream, "UTF-8") && doc.GetRoot()) {
            for (const wxXmlNode* child = doc.GetRoot()->GetChildren(); child; child = child->GetNext())
                if (child->GetType() == wxXML_ELEMENT_NODE && child->GetName() == "ReportData")
                    ReadReportData(child);
        }
    }
    const ReportHeaderValues& h = HeaderValues();
    TimesOfDay(h.dt_max_load_begin);
    TimesOfDay(h.dt_max_load_end);

    // What the run does next with settings it accepts: the title's dates.
    const int days = WholeNumber(h.n_Dayes);
    if (h.dt_begin.IsValid() && days <= 7)
        TitleValues(days);

    wxDateTime begin;
    if (ParseBeginDateTime(std::string(reinterpret_cast<const char*>(data), size), begin))
        Check(begin.IsValid(), "a begin date-time parsed into an unset instant");
    return 0;
}
