#pragma once
// The report as one protocol: where each printed sheet belongs (the running
// header of the protocol's identity and the sheet's part, "Лист N из M"),
// what failed and where, what was not judged, and the protocol's closing
// sentence. Texts are CP1251 HTML and CSS.
#include <optional>
#include <string>

#include "model/evaluated_report.h"
#include "model/week_evaluation.h"
#include "settings/header_values.h"
#include "standard/standard.h"

namespace pq {

// The protocol's identity on every sheet: its number and its object, as the
// title page prints them (Main1 and Main3; att_Header_0 without those).
std::string ProtocolIdentity(const ReportHeaderValues& header);

// The parts of the protocol: the title page, the day pages as annexes 1..n,
// the week page as the annex after them.
std::string TitlePart();
std::string DayPart(int dayNumber, const wxDateTime& dayStart);
std::string WeekPart(int dayCount);

// How a sheet's running header is written: for a page printed alone (the
// margin boxes hold the texts), or for a part of the one document of the
// whole protocol (the part's texts are strings the document's margin boxes
// show; its rules are scoped to the part's wrapper).
struct SheetStyle {
    std::string identity, part;
    std::optional<int> documentPart;  // the part's number in the protocol's document
};

// The <style> block of a sheet's print: the running header, "Лист N из M",
// and `rules` (CSS with its selectors to be scoped; see ScopeOf).
std::string PrintStyleBlock(const SheetStyle& style, const std::string& rules);

// The selector that scopes a sheet's rules: empty for a page printed alone,
// ".pq-part-N " for part N of the protocol's document.
std::string ScopeOf(const SheetStyle& style);

// The marks of a day page's values beyond their limits and of the shares that
// fail their tests: bold, framed and followed by "*", so that a grey print
// keeps them. The shipped day template gives each statistic's row the id
// "e<first entry>" and each harmonic table the id "harm1".."harm3".
std::string DayMarkRules(const EvaluatedDay& day, const Standard& standard, const std::string& scope);

// The title page's verdict cells that do not comply, dark as in the verdicts
// by day: the shipped title template gives each the id "verdict-<key>".
std::string TitleVerdictRules(const EvaluatedReport& report, const std::string& scope);

// The day's six verdicts as the title page's verdicts by day show them, and
// the note on what a mark means.
std::string DayVerdictsBlock(const EvaluatedDay& day);

// For each quantity that does not comply, the days and figures that made it
// fail: one line per quantity, day and figure (T1 or T2), with the worst value
// and how many values of that day failed so.
std::string FailuresBlock(const EvaluatedReport& report, const Standard& standard);

// "Заключение": whether the quality at the point complies with the standard in
// the quantities assessed, naming those that do not; with the week's
// evaluation, its conclusion too.
std::string ConclusionBlock(const EvaluatedReport& report, const Standard& standard,
                            const std::optional<WeekEvaluation>& week);

// The indicators of the standard that the database does not hold.
std::string NotAssessedBlock();

// The protocol's annexes: the day pages, and the week page when evaluated.
std::string AnnexesBlock(const EvaluatedReport& report, bool week);

// The period as the protocol writes it everywhere: "с 01.03.2011 00:00 до
// 08.03.2011 00:00 (7 суток)".
std::string ProtocolPeriod(const wxDateTime& begin, const wxDateTime& end, int days);

}  // namespace pq
