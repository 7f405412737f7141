#pragma once
// Joining the templates and the value tables into the report's pages.
#include <array>
#include <stdexcept>
#include <string>

#include <wx/string.h>

#include "db/queries.h"
#include "html/row_engine.h"

// A template that cannot be read; the message names the file.
class ReportFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The file names of the templates and the pages.
wxString DayTemplateName();
wxString TitleTemplateName();
wxString DayPageName(int dayNumber);
wxString TitlePageName();

// The largest template read; a bigger file is refused.
const long long kMaxTemplateBytes = 16LL << 20;

// The bytes of a template, NUL bytes included. Throws ReportFileError, naming
// the file, when it is not a regular file, is larger than kMaxTemplateBytes
// or cannot be read.
std::string ReadTemplate(const wxString& path);

// Writes `bytes` to `path` whole or not at all: a temporary file beside it is
// renamed over the page. Logs an error naming the file and returns false on
// failure; an earlier page of that name is then left as it was.
bool WritePage(const wxString& path, const std::string& bytes);

// The text of a max-load period, "%H:%M - %H:%M".
std::string PeriodText(const wxDateTime& begin, const wxDateTime& end);

// The day page text from the cut template and the day's values.
std::string AssembleDayPage(const std::string& templateText, const TextList& values,
                            const DateTimeList& begins, const DateTimeList& ends,
                            const std::array<TextList, 3>& harmonics);

// The title page text: piece 0, then value k and piece k+1 for every placeholder.
std::string AssembleTitlePage(const std::string& templateText, const TextList& values);

// Reads "tbl1.htm" from the program directory and writes "day_<d>.htm" under
// the user directory. False when the page could not be written. Throws
// DataError for a malformed harmonic row, ReportFileError for a missing template.
bool WriteDayPage(int dayNumber, const TextList& values, const DateTimeList& begins,
                  const DateTimeList& ends, const std::array<TextList, 3>& harmonics,
                  const wxString& programDir, const wxString& userDir);

// Reads "Title.htm" from the program directory and writes "Page0.htm" under
// the user directory. False when the page could not be written.
bool WriteTitlePage(const TextList& values, const wxString& programDir, const wxString& userDir);
