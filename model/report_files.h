#pragma once
// The names of the files a report reads and writes. The pages and the files
// for other programs are written under the settings' user directory prefix;
// the fleet finds them there by the same names.
#include <vector>

#include <wx/string.h>

namespace pq {

// The templates, read from the program's directory.
wxString DayTemplateName();    // "tbl1.htm"
wxString TitleTemplateName();  // "Title.htm"
wxString WeekTemplateName();   // "Week.htm", read only for a week's evaluation

wxString DayPageName(int dayNumber);  // "day_<n>.htm"
wxString TitlePageName();             // "Page0.htm"
wxString WeekPageName();              // "week.htm"
wxString ResultDocumentName();        // "report.json"
wxString WorkbookName();              // "report.xlsx"
wxString ProtocolPdfName();           // "report.pdf"

// The most day pages a report has: the settings carry seven max-load periods.
const int kMaxDayPages = 7;

// Every file name a run can write: the day pages 1..kMaxDayPages, the title
// page, the week page, the result document, the workbook and the PDF.
std::vector<wxString> ReportFileNames();

}  // namespace pq
