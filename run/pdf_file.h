#pragma once
// report.pdf: the protocol's document turned into one PDF/A-3b file by
// WeasyPrint, with report.json attached when it is written.
#include <optional>
#include <string>

#include "io/atomic_file.h"

namespace pq {

// The program that writes the PDF, looked up on PATH.
extern const char* const kPdfProgram;

// Writes the PDF of `html` (the protocol's document, CP1251) into the
// temporary file of `file`, attaching `json` as "report.json" when given.
// False, after one error line naming the file and why (WeasyPrint missing,
// failing or ended), when it cannot; the temporary file is then no PDF.
bool WritePdf(AtomicFile& file, const std::string& html, const std::optional<std::string>& json);

}  // namespace pq
