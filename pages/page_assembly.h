#pragma once
// Joining the templates and the value tables into the report's pages.
#include <array>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include <wx/string.h>

#include "html/row_engine.h"
#include "model/period.h"

namespace pq {

// The text of a max-load period, "%H:%M - %H:%M".
std::string PeriodText(const wxDateTime& begin, const wxDateTime& end);

// Marker comments a template may hold, each replaced by a block of the page:
// the day's charts, a data completeness table, the verdicts by day, the
// inputs the report was computed from.
extern const char* const kChartsMarker;
extern const char* const kCompletenessMarker;
extern const char* const kVerdictsByDayMarker;
extern const char* const kProvenanceMarker;
// The protocol's: the sheet's running header and "Лист N из M" (in the
// template's head; a template that holds it is a protocol's sheet), the day's
// verdicts, the failures, the conclusion, what was not assessed, the annexes
// and the period of the title page.
extern const char* const kPrintHeaderMarker;
extern const char* const kDayVerdictsMarker;
extern const char* const kFailuresMarker;
extern const char* const kConclusionMarker;
extern const char* const kNotAssessedMarker;
extern const char* const kAnnexesMarker;
extern const char* const kPeriodMarker;
// The week page's: the verdicts of the standard of the week, its table of
// series, its table of harmonic orders, the note on the values it judged.
extern const char* const kWeekVerdictsMarker;
extern const char* const kWeekSeriesMarker;
extern const char* const kWeekHarmonicsMarker;
extern const char* const kWeekNoteMarker;

using MarkerList = std::vector<const char*>;
// The markers of the day and title pages (charts, completeness, verdicts by
// day, provenance), and those of the week page.
const MarkerList& PageMarkers();
const MarkerList& WeekPageMarkers();

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

// A page of placeholders and `markers` as the title page is made.
std::string AssemblePage(const std::string& templateText, const TextList& values, const MarkerBlocks& blocks,
                         const MarkerList& markers);

// The markers that a template's page holds more than once where they count,
// each with how often: only the first gets its block.
std::vector<std::pair<std::string, int>> RepeatedDayMarkers(const std::string& templateText);
std::vector<std::pair<std::string, int>> RepeatedTitleMarkers(const std::string& templateText);
std::vector<std::pair<std::string, int>> RepeatedPageMarkers(const std::string& templateText,
                                                             const MarkerList& markers);

// Whether a template holds `marker` where it counts.
bool DayTemplateHolds(const std::string& templateText, const char* marker);
bool PageTemplateHolds(const std::string& templateText, const char* marker, const MarkerList& markers);

}  // namespace pq
