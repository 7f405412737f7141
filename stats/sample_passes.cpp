#include "stats/sample_passes.h"

namespace pq {

void WarnNotFinite(Notes& notes, const SampleColumn& c, int notFinite)
{
    if (notFinite == 1)
        notes.Warning(wxString::Format("%s.%s: 1 value is not a finite number and counts as 0.", c.table, c.column));
    else if (notFinite > 1)
        notes.Warning(wxString::Format("%s.%s: %d values are not finite numbers and count as 0.", c.table, c.column,
                                       notFinite));
}

void WarnStoredAsText(Notes& notes, const SampleColumn& c, int storedAsText)
{
    if (storedAsText == 1)
        notes.Warning(wxString::Format(
            "%s.%s: 1 value is stored as text; the values are taken in the order of their numbers.", c.table,
            c.column));
    else if (storedAsText > 1)
        notes.Warning(wxString::Format(
            "%s.%s: %d values are stored as text; the values are taken in the order of their numbers.", c.table,
            c.column, storedAsText));
}

}  // namespace pq
