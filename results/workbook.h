#pragma once
// The workbook, report.xlsx: the evaluated report as a spreadsheet, for the
// engineers who take a protocol's numbers into their own tables.
//
// Sheets, with Russian names and headings:
//  - «Итоги»: the object, the period and the voltage class; the six verdicts,
//    shaded as on the title page's verdicts by day; the period's extremes;
//    the verdicts by day; the completeness over the period; the inputs'
//    paths, sizes and SHA-256 and the program's version.
//  - «ГОСТ 32144», with the week's evaluation: its verdicts, its series and
//    its harmonic orders, the values rounded as the week page shows them.
//  - «Сутки 1» .. «Сутки 7»: the day page's tables in its column order, each
//    table with its limits; the harmonic coefficients of orders 2..40 per
//    phase; the day's completeness.
//  - «Данные»: one row per value of report.json, in its order: day by day,
//    the statistics in run order, a harmonic table's orders in turn, and
//    each statistic's (or order's) values in the order report.json names
//    them. Columns: day, quantity, series (table), phase, regime, order,
//    value name, value, unit, limit, verdict.
//
// Values are numeric cells; a value the statistic did not find (null in
// report.json, 0,00 on the page) is an empty cell. The day sheets and
// «Итоги» hold each value as the page shows it (rounded to two decimals as
// the page rounds it, displayed with two decimals), so that a spreadsheet
// under a Russian locale displays the page's text: a spreadsheet rounds a
// tie such as 0.125 away from zero (0,13), where the page writes 0,12.
// «Данные» holds report.json's numbers unrounded, displayed with two to six
// decimals.
#include <optional>
#include <string>

#include "model/evaluated_report.h"
#include "model/provenance.h"
#include "model/week_evaluation.h"
#include "settings/header_values.h"

namespace pq {

// Writes the workbook into the file `path` (made by the caller, written in
// place), the library's own temporary files going to `temporaryDir`. False,
// with the library's reason in `why`, when it cannot; the file is then no
// workbook.
bool WriteWorkbook(const std::string& path, const std::string& temporaryDir, const ReportHeaderValues& header,
                   const EvaluatedReport& report, const Provenance& provenance, std::string& why,
                   const std::optional<WeekEvaluation>& week = std::nullopt);

}  // namespace pq
