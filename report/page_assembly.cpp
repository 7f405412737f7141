#include "report/page_assembly.h"

#include <vector>

#include <wx/log.h>

#include "io/atomic_file.h"
#include "report/page_layout.h"
#include "base/file_read.h"
#include "base/text.h"

namespace {

// Placeholder value k of a page; placeholders beyond the table are empty.
const std::string& Value(const TextList& values, size_t k)
{
    static const std::string empty;
    return k < values.size() ? values[k] : empty;
}

// Replaces every marker in the template pieces by its block.
void FillMarkers(TextList& pieces, const MarkerBlocks& blocks)
{
    if (!blocks)
        return;
    for (const char* marker : {kChartsMarker, kCompletenessMarker, kVerdictsByDayMarker, kProvenanceMarker}) {
        const std::string m = marker;
        std::string block;
        bool made = false;
        for (std::string& piece : pieces) {
            for (size_t at = piece.find(m); at != std::string::npos; at = piece.find(m, at + block.size())) {
                if (!made) {
                    block = blocks(m);
                    made = true;
                }
                piece.replace(at, m.size(), block);
            }
        }
    }
}

// The day page's harmonic tables: the placeholder that carries each one's
// numbered rows, and the rest of its sample row, which the cut leaves empty.
struct HarmonicTable {
    size_t rows;
    size_t firstCut, lastCut;
};

std::vector<HarmonicTable> HarmonicTables()
{
    std::vector<HarmonicTable> tables;
    for (const DayStatistic* s : HarmonicStatistics()) {
        const size_t rows = static_cast<size_t>(s->base + kHarmonicRowFirst);
        tables.push_back({rows, rows + 1, rows + kHarmonicRowCells - 1});
    }
    return tables;
}

}  // namespace

wxString DayTemplateName() { return "tbl1.htm"; }
wxString TitleTemplateName() { return "Title.htm"; }
wxString DayPageName(int dayNumber) { return wxString::Format("day_%d.htm", dayNumber); }
wxString TitlePageName() { return "Page0.htm"; }

std::string ReadTemplate(const wxString& path)
{
    const std::string name = FileSystemPath(path);
    std::string bytes, why;
    if (ReadRegularFile(name, kMaxTemplateBytes, bytes, why) != FileRead::Read)
        throw ReportFileError("Cannot read the template " + name + ": " + why);
    return bytes;
}

bool WritePage(const wxString& path, const std::string& bytes)
{
    const std::string name = FileSystemPath(path);
    AtomicFile file(name);
    if (file.Write(bytes) && file.Commit())
        return true;
    wxLogError("Cannot write the page %s: %s", wxString::FromUTF8(name), SystemErrorText(file.Error()));
    return false;
}

std::string PeriodText(const wxDateTime& begin, const wxDateTime& end)
{
    const auto clock = [](const wxDateTime& t) {
        return t.IsValid() ? t.Format("%H:%M").ToStdString() : std::string();
    };
    return clock(begin) + " - " + clock(end);
}

const char* const kChartsMarker = "<!--pq:charts-->";
const char* const kCompletenessMarker = "<!--pq:completeness-->";
const char* const kVerdictsByDayMarker = "<!--pq:verdicts-by-day-->";
const char* const kProvenanceMarker = "<!--pq:provenance-->";

std::string AssembleDayPage(const std::string& templateText, const TextList& values,
                            const DateTimeList& begins, const DateTimeList& ends,
                            const std::array<TextList, 3>& harmonics, const MarkerBlocks& blocks)
{
    TextList pieces = SplitText(templateText, "##");
    TextList periodRow;
    std::array<TextList, 3> harmonicRows;
    CutPeriodRow(pieces, periodRow);
    const std::vector<HarmonicTable> tables = HarmonicTables();
    for (size_t t = 0; t < tables.size() && t < harmonicRows.size(); ++t)
        CutHarmonicRow(pieces, harmonicRows[t], static_cast<int>(tables[t].rows) - kHarmonicRowFirst);
    // After the cuts, which look for the rows' own markup.
    FillMarkers(pieces, blocks);
    const auto inCutRow = [&tables](size_t k) {
        for (const HarmonicTable& t : tables)
            if (k >= t.firstCut && k <= t.lastCut)
                return true;
        return false;
    };
    const auto rowsAt = [&tables](size_t k) -> int {
        for (size_t t = 0; t < tables.size(); ++t)
            if (tables[t].rows == k)
                return static_cast<int>(t);
        return -1;
    };

    TextList periodTexts;
    for (size_t i = 0; i < begins.size() && i < ends.size(); ++i)
        periodTexts.push_back(PeriodText(begins[i], ends[i]));

    std::string page = pieces[0];
    for (size_t k = 0; k + 1 < pieces.size(); ++k) {
        const int table = rowsAt(k);
        if (k == day_entry::kPeriodText)
            page += periodTexts.empty() ? std::string() : periodTexts[0];
        else if (k == day_entry::kPeriodRow)
            page += PeriodRows(periodRow, periodTexts);
        else if (table >= 0)
            page += NumberedHarmonicRows(harmonicRows.at(table), harmonics.at(table));
        else if (!inCutRow(k))
            page += Value(values, k);
        if (!inCutRow(k + 1))
            page += pieces[k + 1];
    }
    return page;
}

std::string AssembleTitlePage(const std::string& templateText, const TextList& values,
                              const MarkerBlocks& blocks)
{
    TextList pieces = SplitText(templateText, "##");
    FillMarkers(pieces, blocks);
    std::string page = pieces[0];
    for (size_t k = 0; k + 1 < pieces.size(); ++k)
        page += Value(values, k) + pieces[k + 1];
    return page;
}

bool WriteDayPage(int dayNumber, const std::string& templateText, const TextList& values,
                  const DateTimeList& begins, const DateTimeList& ends, const std::array<TextList, 3>& harmonics,
                  const wxString& userDir, const MarkerBlocks& blocks)
{
    const std::string page = AssembleDayPage(templateText, values, begins, ends, harmonics, blocks);
    return WritePage(userDir + DayPageName(dayNumber), page);
}

bool WriteTitlePage(const std::string& templateText, const TextList& values, const wxString& userDir,
                    const MarkerBlocks& blocks)
{
    const std::string page = AssembleTitlePage(templateText, values, blocks);
    return WritePage(userDir + TitlePageName(), page);
}
