#pragma once
// Gathering what a report was computed from.
#include <optional>
#include <string>

#include <wx/string.h>

#include "model/provenance.h"

namespace pq {

// A template as the run read it, once, for all its pages.
struct TemplateText {
    wxString path;
    std::string bytes;
};

// Reads the settings document and the database (with its write-ahead log)
// once; the templates are described by the bytes the pages were made from.
// Throws ReportFileError naming a file that cannot be read.
Provenance GatherProvenance(const wxString& settingsFile, const wxString& database, const TemplateText& dayTemplate,
                            const TemplateText& titleTemplate, const std::optional<TemplateText>& weekTemplate);

}  // namespace pq
