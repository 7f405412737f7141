#pragma once
// The files a run writes besides its pages, as the settings ask for them.
#include <optional>
#include <string>
#include <vector>

namespace pq {

struct ExportFormats {
    bool json = false;  // report.json, the result document
    bool xlsx = false;  // report.xlsx, the workbook
    bool pdf = false;   // report.pdf, the whole protocol as one PDF/A file
};

// The words of a list, separated by blanks or commas ("json xlsx", "json,xlsx").
std::vector<std::string> ListWords(const std::string& list);

// The formats named by a list of words separated by blanks or commas ("json xlsx");
// nothing, with the first word that names no format in `unknown`.
std::optional<ExportFormats> ParseExportFormats(const std::string& list, std::string& unknown);

// The words ParseExportFormats knows, for messages: "json, xlsx, pdf".
std::string KnownExportWords();

}  // namespace pq
