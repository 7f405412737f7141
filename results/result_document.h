#pragma once
// The result document, report.json: the evaluated report as data for other
// programs (its keys are described by docs/report-result.schema.json).
#include <string>
#include <vector>

#include "model/evaluated_report.h"
#include "run/provenance.h"
#include "settings/header_values.h"

// The document's file name under the user directory.
const char* ResultDocumentName();

// The document's text: one JSON object in UTF-8, ended by a line end.
// `warnings` are the run's warning and "Input is incomplete!" lines in log
// order, without time stamps.
std::string ResultDocument(const ReportHeaderValues& header, const EvaluatedReport& report,
                           const Provenance& provenance, const std::vector<std::string>& warnings);
