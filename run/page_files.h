#pragma once
// The files of the pages: reading a template and writing a page whole.
#include <optional>
#include <stdexcept>
#include <string>

#include <wx/string.h>

namespace pq {

// An input of the report that cannot be read once the run has begun; the
// message names the file.
class ReportFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The largest template read; a bigger file is refused.
const long long kMaxTemplateBytes = 16LL << 20;

// The bytes of a template, NUL bytes included; nothing, after an error line
// naming the file, when it is not a regular file, is larger than
// kMaxTemplateBytes or cannot be read.
std::optional<std::string> ReadTemplate(const wxString& path);

// Writes `bytes` to `path` whole or not at all: a temporary file beside it is
// renamed over the page. Logs an error naming the file and returns false on
// failure; an earlier page of that name is then left as it was.
bool WritePage(const wxString& path, const std::string& bytes);

}  // namespace pq
