#include "model/report_files.h"

namespace pq {

wxString DayTemplateName() { return "tbl1.htm"; }
wxString TitleTemplateName() { return "Title.htm"; }
wxString WeekTemplateName() { return "Week.htm"; }
wxString DayPageName(int dayNumber) { return wxString::Format("day_%d.htm", dayNumber); }
wxString TitlePageName() { return "Page0.htm"; }
wxString WeekPageName() { return "week.htm"; }
wxString ResultDocumentName() { return "report.json"; }
wxString WorkbookName() { return "report.xlsx"; }
wxString ProtocolPdfName() { return "report.pdf"; }

std::vector<wxString> ReportFileNames()
{
    std::vector<wxString> names;
    for (int d = 1; d <= kMaxDayPages; ++d)
        names.push_back(DayPageName(d));
    names.push_back(TitlePageName());
    names.push_back(WeekPageName());
    names.push_back(ResultDocumentName());
    names.push_back(WorkbookName());
    names.push_back(ProtocolPdfName());
    return names;
}

}  // namespace pq
