#include "model/period.h"

namespace pq {

wxDateTime DayStart(const wxDateTime& begin, int k) { return begin + wxDateSpan::Days(k); }

wxDateTime DayEnd(const wxDateTime& begin, int k) { return DayStart(begin, k) + wxDateSpan::Day(); }

std::string DayDate(const wxDateTime& t) { return t.Format("%d.%m.%Y").ToStdString(); }
std::string DayClock(const wxDateTime& t) { return t.Format("%H:%M").ToStdString(); }

}  // namespace pq
