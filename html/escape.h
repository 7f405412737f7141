#pragma once
// Text for HTML and SVG: the one escaper of the pages and the roll-up.
#include <string>

#include <wx/string.h>

namespace pq {

// The bytes with &, <, > and " written as character references; every other
// byte as it is (CP1251 or UTF-8 text alike).
std::string EscapeHtml(const std::string& text);

// Text for a CP1251 page: escaped as EscapeHtml does, and a character that
// CP1251 lacks written as a numeric character reference.
std::string HtmlText(const wxString& text);

}  // namespace pq
