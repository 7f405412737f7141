#include "pages/page_assembly.h"

#include <cstring>
#include <map>
#include <set>
#include <vector>


#include "base/text.h"
#include "pages/page_layout.h"

namespace pq {

namespace {

// Placeholder value k of a page; placeholders beyond the table are empty.
const std::string& Value(const TextList& values, size_t k)
{
    static const std::string empty;
    return k < values.size() ? values[k] : empty;
}

// The known marker that starts at `at`, or null.
const char* MarkerAt(const std::string& text, size_t at, const MarkerList& markers)
{
    for (const char* marker : markers)
        if (text.compare(at, std::strlen(marker), marker) == 0)
            return marker;
    return nullptr;
}

// Where the template's own text stands, followed piece by piece: in text, in
// a tag (between its "<" and ">", quoted attribute values included) or in a
// comment. A marker counts only in text.
class MarkupPlace {
public:
    explicit MarkupPlace(const MarkerList& markers) : markers_(markers) {}

    // Passes over `piece`, calling `marker(at, name)` for each marker that
    // stands in text; `marker` returns where to go on from.
    template <typename OnMarker>
    void Pass(std::string& piece, OnMarker marker)
    {
        for (size_t at = 0; at < piece.size();) {
            const char c = piece[at];
            switch (place_) {
            case Place::Comment: {
                const size_t end = piece.find("-->", at);
                if (end == std::string::npos)
                    return;
                place_ = Place::Text;
                at = end + 3;
                continue;
            }
            case Place::Tag:
                if (quote_)
                    quote_ = c == quote_ ? 0 : quote_;
                else if (c == '"' || c == '\'')
                    quote_ = c;
                else if (c == '>')
                    place_ = Place::Text;
                ++at;
                continue;
            case Place::Text:
                break;
            }
            if (c != '<') {
                ++at;
                continue;
            }
            if (const char* name = MarkerAt(piece, at, markers_)) {
                at = marker(at, name);
            } else if (piece.compare(at, 4, "<!--") == 0) {
                place_ = Place::Comment;
                at += 4;
            } else {
                const char next = at + 1 < piece.size() ? piece[at + 1] : 0;
                if ((next >= 'a' && next <= 'z') || (next >= 'A' && next <= 'Z') || next == '/' || next == '!' ||
                    next == '?')
                    place_ = Place::Tag;
                ++at;
            }
        }
    }

private:
    enum class Place { Text, Tag, Comment };
    const MarkerList& markers_;
    Place place_ = Place::Text;
    char quote_ = 0;
};

// The pieces of a template that its page shows, in page order.
using ShownPieces = std::vector<std::string*>;

ShownPieces AllPieces(TextList& pieces)
{
    ShownPieces shown;
    for (std::string& piece : pieces)
        shown.push_back(&piece);
    return shown;
}

// Replaces the first marker of each kind in the pieces' text by its block;
// later ones, and markers inside tags or comments, stay as they are.
void FillMarkers(const ShownPieces& pieces, const MarkerBlocks& blocks, const MarkerList& markers)
{
    if (!blocks)
        return;
    std::set<std::string> filled;
    MarkupPlace place(markers);
    for (std::string* shown : pieces) {
        std::string& piece = *shown;
        place.Pass(piece, [&](size_t at, const char* name) {
            const std::string marker = name;
            if (!filled.insert(marker).second)
                return at + marker.size();
            const std::string block = blocks(marker);
            piece.replace(at, marker.size(), block);
            return at + block.size();
        });
    }
}

// How often each marker stands in the pieces' text.
std::map<std::string, int> MarkerCounts(const ShownPieces& pieces, const MarkerList& markers)
{
    std::map<std::string, int> counts;
    MarkupPlace place(markers);
    for (std::string* piece : pieces) {
        place.Pass(*piece, [&](size_t at, const char* name) {
            ++counts[name];
            return at + std::strlen(name);
        });
    }
    return counts;
}

// How often each marker stands in the pieces' text, for those found more than once.
std::vector<std::pair<std::string, int>> RepeatedMarkers(const ShownPieces& pieces, const MarkerList& markers)
{
    std::map<std::string, int> counts = MarkerCounts(pieces, markers);
    std::vector<std::pair<std::string, int>> repeated;
    for (const char* marker : markers)
        if (counts[marker] > 1)
            repeated.emplace_back(marker, counts[marker]);
    return repeated;
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
    for (const DayStatistic& s : DayPlan()) {
        if (s.kind != StatisticKind::Harmonics)
            continue;
        const size_t rows = static_cast<size_t>(DayEntriesOf(s).base + kHarmonicRowFirst);
        tables.push_back({rows, rows + 1, rows + kHarmonicRowCells - 1});
    }
    return tables;
}

}  // namespace

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
const char* const kPrintHeaderMarker = "<!--pq:print-header-->";
const char* const kDayVerdictsMarker = "<!--pq:day-verdicts-->";
const char* const kFailuresMarker = "<!--pq:failures-->";
const char* const kConclusionMarker = "<!--pq:conclusion-->";
const char* const kNotAssessedMarker = "<!--pq:not-assessed-->";
const char* const kAnnexesMarker = "<!--pq:annexes-->";
const char* const kPeriodMarker = "<!--pq:period-->";
const char* const kWeekVerdictsMarker = "<!--pq:week-verdicts-->";
const char* const kWeekSeriesMarker = "<!--pq:week-series-->";
const char* const kWeekHarmonicsMarker = "<!--pq:week-harmonics-->";
const char* const kWeekNoteMarker = "<!--pq:week-note-->";

const MarkerList& PageMarkers()
{
    static const MarkerList markers{kChartsMarker,       kCompletenessMarker, kVerdictsByDayMarker, kProvenanceMarker,
                                    kPrintHeaderMarker,  kDayVerdictsMarker,  kFailuresMarker,      kConclusionMarker,
                                    kNotAssessedMarker, kAnnexesMarker,      kPeriodMarker};
    return markers;
}

const MarkerList& WeekPageMarkers()
{
    static const MarkerList markers{kWeekVerdictsMarker, kWeekSeriesMarker, kWeekHarmonicsMarker, kWeekNoteMarker,
                                    kProvenanceMarker,   kPrintHeaderMarker};
    return markers;
}

namespace {

// The day template cut for assembly: the pieces around its placeholders, its
// period row and its harmonic rows, each cut out of the pieces.
struct DayTemplateCut {
    TextList pieces;
    TextList periodRow;
    std::array<TextList, 3> harmonicRows;
    std::vector<HarmonicTable> tables = HarmonicTables();

    explicit DayTemplateCut(const std::string& templateText) : pieces(SplitText(templateText, "##"))
    {
        CutPeriodRow(pieces, periodRow);
        for (size_t t = 0; t < tables.size() && t < harmonicRows.size(); ++t)
            CutHarmonicRow(pieces, harmonicRows[t], static_cast<int>(tables[t].rows) - kHarmonicRowFirst);
    }
    // Whether piece k went into a harmonic row.
    bool InCutRow(size_t k) const
    {
        for (const HarmonicTable& t : tables)
            if (k >= t.firstCut && k <= t.lastCut)
                return true;
        return false;
    }
    ShownPieces Shown()
    {
        ShownPieces shown;
        for (size_t k = 0; k < pieces.size(); ++k)
            if (!InCutRow(k))
                shown.push_back(&pieces[k]);
        return shown;
    }
};

}  // namespace

std::string AssembleDayPage(const std::string& templateText, const TextList& values,
                            const DateTimeList& begins, const DateTimeList& ends,
                            const std::array<TextList, 3>& harmonics, const MarkerBlocks& blocks)
{
    DayTemplateCut cut(templateText);
    TextList& pieces = cut.pieces;
    const std::vector<HarmonicTable>& tables = cut.tables;
    // After the cuts, which look for the rows' own markup.
    FillMarkers(cut.Shown(), blocks, PageMarkers());
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
            page += PeriodRows(cut.periodRow, periodTexts);
        else if (table >= 0)
            page += NumberedHarmonicRows(cut.harmonicRows.at(table), harmonics.at(table));
        else if (!cut.InCutRow(k))
            page += Value(values, k);
        if (!cut.InCutRow(k + 1))
            page += pieces[k + 1];
    }
    return page;
}

std::string AssembleTitlePage(const std::string& templateText, const TextList& values,
                              const MarkerBlocks& blocks)
{
    return AssemblePage(templateText, values, blocks, PageMarkers());
}

std::string AssemblePage(const std::string& templateText, const TextList& values, const MarkerBlocks& blocks,
                         const MarkerList& markers)
{
    TextList pieces = SplitText(templateText, "##");
    FillMarkers(AllPieces(pieces), blocks, markers);
    std::string page = pieces[0];
    for (size_t k = 0; k + 1 < pieces.size(); ++k)
        page += Value(values, k) + pieces[k + 1];
    return page;
}

std::vector<std::pair<std::string, int>> RepeatedDayMarkers(const std::string& templateText)
{
    DayTemplateCut cut(templateText);
    return RepeatedMarkers(cut.Shown(), PageMarkers());
}

std::vector<std::pair<std::string, int>> RepeatedTitleMarkers(const std::string& templateText)
{
    return RepeatedPageMarkers(templateText, PageMarkers());
}

std::vector<std::pair<std::string, int>> RepeatedPageMarkers(const std::string& templateText,
                                                             const MarkerList& markers)
{
    TextList pieces = SplitText(templateText, "##");
    return RepeatedMarkers(AllPieces(pieces), markers);
}

bool DayTemplateHolds(const std::string& templateText, const char* marker)
{
    DayTemplateCut cut(templateText);
    return MarkerCounts(cut.Shown(), PageMarkers())[marker] > 0;
}

bool PageTemplateHolds(const std::string& templateText, const char* marker, const MarkerList& markers)
{
    TextList pieces = SplitText(templateText, "##");
    return MarkerCounts(AllPieces(pieces), markers)[marker] > 0;
}

}  // namespace pq
