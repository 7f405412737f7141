#pragma once
// Joining the templates and the value tables into the report's pages.
#include <array>
#include <functional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

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

// The most day pages a report has: the settings carry seven max-load periods.
const int kMaxDayPages = 7;

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

// Marker comments a template may hold, each replaced by a block of the page:
// the day's charts, a data completeness table, the verdicts by day, the
// inputs the report was computed from.
extern const char* const kChartsMarker;
extern const char* const kCompletenessMarker;
extern const char* const kVerdictsByDayMarker;
extern const char* const kProvenanceMarker;

// The block for a marker; asked only for the markers a template holds, so a
// template without markers costs nothing.
using MarkerBlocks = std::function<std::string(const std::string& marker)>;

// The day page text from the cut template and the day's values. Markers in
// the template's own text (never in the values) are replaced by their
// blocks: the first of each kind that stands outside a tag and a comment;
// later ones stay as they are, as do markers inside a tag (an attribute
// value) or inside another comment.
std::string AssembleDayPage(const std::string& templateText, const TextList& values,
                            const DateTimeList& begins, const DateTimeList& ends,
                            const std::array<TextList, 3>& harmonics, const MarkerBlocks& blocks = nullptr);

// The title page text: piece 0, then value k and piece k+1 for every
// placeholder; markers as on the day page.
std::string AssembleTitlePage(const std::string& templateText, const TextList& values,
                              const MarkerBlocks& blocks = nullptr);

// The markers that a template's page holds more than once where they count,
// each with how often: only the first gets its block.
std::vector<std::pair<std::string, int>> RepeatedDayMarkers(const std::string& templateText);
std::vector<std::pair<std::string, int>> RepeatedTitleMarkers(const std::string& templateText);

// Writes "day_<d>.htm" under the user directory from the day template's
// text. False when the page could not be written. Throws DataError for a
// malformed harmonic row.
bool WriteDayPage(int dayNumber, const std::string& templateText, const TextList& values,
                  const DateTimeList& begins, const DateTimeList& ends, const std::array<TextList, 3>& harmonics,
                  const wxString& userDir, const MarkerBlocks& blocks = nullptr);

// Writes "Page0.htm" under the user directory from the title template's
// text. False when the page could not be written.
bool WriteTitlePage(const std::string& templateText, const TextList& values, const wxString& userDir,
                    const MarkerBlocks& blocks = nullptr);
