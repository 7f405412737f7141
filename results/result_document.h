#pragma once
// The result document, report.json: the evaluated report as data for other
// programs (its keys are described by docs/report-result.schema.json).
#include <optional>
#include <string>
#include <vector>

#include "model/evaluated_report.h"
#include "model/provenance.h"
#include "model/week_evaluation.h"
#include "settings/header_values.h"
#include "standard/standard.h"

namespace pq {

// The document's text: one JSON object in UTF-8, ended by a line end, for the
// report evaluated by `standard`. `warnings` are the run's warning and "Input
// is incomplete!" lines in log order, without time stamps (Notes::Lines()).
// Of format version 2: with the week's evaluation by GOST 32144-2013 it holds
// its section "gost_32144_2013"; every document lists what it did not assess.
std::string ResultDocument(const ReportHeaderValues& header, const EvaluatedReport& report, const Standard& standard,
                           const Provenance& provenance, const std::vector<std::string>& warnings,
                           const std::optional<WeekEvaluation>& week = std::nullopt);

}  // namespace pq
