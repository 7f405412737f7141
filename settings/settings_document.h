#pragma once
// The settings document: loading it and reading the values of a report run.
#include <optional>

#include <wx/string.h>

#include "settings/header_values.h"

class wxXmlDocument;

struct ReportSettings {
    ReportHeaderValues header;  // every ReportData element, in document order
    // The Dir of the last UserDirectory element ("." when it has none);
    // without such an element the pages go beside the executable.
    std::optional<wxString> userDirectory;
};

// Reads the file and parses it as an XML document. False when the file
// cannot be read or is not well-formed XML.
bool LoadSettingsDocument(const wxString& path, wxXmlDocument& doc);

// The values of a loaded document; nothing when its root element is not
// "mqv-analyser-settings".
std::optional<ReportSettings> ReadSettings(const wxXmlDocument& doc);
