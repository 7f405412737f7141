#pragma once
// The settings document: loading it and reading the values of a report run.
#include <cstddef>
#include <optional>
#include <string>

#include <wx/string.h>

#include "model/notes.h"
#include "settings/header_values.h"

class wxXmlDocument;

namespace pq {

struct ReportSettings {
    ReportHeaderValues header;  // every ReportData element, in document order
    // The Dir of the last UserDirectory element ("." when it has none);
    // without such an element the pages go beside the executable.
    std::optional<wxString> userDirectory;
};

// What a settings document may be before the XML reader is given it. Real
// documents are a few kilobytes, three levels deep, one attribute on an
// element and no text between the tags. The reader (wxXmlDocument over expat)
// frees nested elements recursively, joins the pieces of a text anew for each
// piece, walks an element's attribute list for each attribute it adds, and
// takes an encoding it does not know as if it were convertible; these limits
// keep every accepted document far from where that costs a crash or seconds:
// documents at the limits load in a small fraction of a second.
namespace settings_limits {
constexpr size_t kMaxBytes = 1 << 20;   // 1 MiB
constexpr int kMaxDepth = 100;          // levels of element nesting
constexpr size_t kMaxElements = 10000;
constexpr size_t kMaxAttributes = 100;  // on one element
// Bytes of one tag, comment or processing instruction: expat scans such a
// piece of markup anew for each kilobyte that the reader hands it.
constexpr size_t kMaxMarkup = 65536;
// Bytes of text between the tags: CDATA sections and every run of character
// data that is not only white space.
constexpr size_t kMaxText = 8192;
}  // namespace settings_limits

// Why these bytes are not given to the XML reader, as one sentence for the
// log, or nothing when they may be. Checked without parsing, in one pass
// that neither recurses nor allocates per element: the size, the encoding
// the XML declaration names (one that expat reads itself, or one that the
// library converts for every byte the document holds), a document type
// declaration (settings have none; it would bring entity expansion), and the
// limits above. Comments, CDATA sections, processing instructions and quoted
// attribute values are skipped as the XML reader does; a document in UTF-16
// is scanned in 16-bit units.
std::optional<std::string> SettingsDocumentRefusal(const std::string& bytes);

// Parses the bytes as an XML document. False when they are refused (the
// reason is logged as an error) or are not well-formed XML (the XML reader
// logs the error).
bool ParseSettingsDocument(const std::string& bytes, wxXmlDocument& doc);

// Reads the file (no more than the size limit and one byte) and parses it as
// ParseSettingsDocument does. False when the file cannot be read, or is
// larger than the limit (logged as an error), or the bytes are refused or not
// well-formed.
bool LoadSettingsDocument(const wxString& path, wxXmlDocument& doc);

// The values of a loaded document, with the warnings of its values in
// `notes`; nothing when its root element is not "mqv-analyser-settings".
std::optional<ReportSettings> ReadSettings(const wxXmlDocument& doc, Notes& notes);

}  // namespace pq
