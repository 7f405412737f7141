#pragma once
// What a report was computed from: the program's version and the size and
// SHA-256 of every input file, for the title page and the result document.
#include <optional>
#include <string>

#include <wx/string.h>

#include "io/fingerprint.h"

struct Provenance {
    std::string programVersion;
    FileFingerprint settings, database, dayTemplate, titleTemplate;
    std::optional<FileFingerprint> wal;  // a write-ahead log beside the database
};

// The program's version ("1.3.0").
const char* ProgramVersion();

// An input's path as the run opened it, made absolute against the current directory.
wxString AbsoluteInputPath(const wxString& path);

// A template as the run read it, once, for all its pages.
struct TemplateText {
    wxString path;
    std::string bytes;
};

// Reads the settings document and the database (with its write-ahead log)
// once; the templates are described by the bytes the pages were made from.
// Throws ReportFileError naming a file that cannot be read.
Provenance GatherProvenance(const wxString& settingsFile, const wxString& database, const TemplateText& dayTemplate,
                            const TemplateText& titleTemplate);
