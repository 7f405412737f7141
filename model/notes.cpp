#include "model/notes.h"

#include <wx/log.h>

namespace pq {

void Notes::Warning(const wxString& text)
{
    wxLogWarning("%s", text);
    Keep("Warning: " + text);
}

void Notes::Incomplete()
{
    wxLogMessage("Input is incomplete!\n");
    Keep("Input is incomplete!");
}

void Notes::Keep(const wxString& line)
{
    const wxScopedCharBuffer utf8 = line.utf8_str();
    lines_.emplace_back(utf8.data(), utf8.length());
}

}  // namespace pq
