#include "fuzz_support.h"

#include <clocale>
#include <cstdio>
#include <cstdlib>

#include <wx/init.h>
#include <wx/log.h>

namespace {

struct Quiet : wxLog {
    void DoLogRecord(wxLogLevel, const wxString&, const wxLogRecordInfo&) override {}
};

void AbortOnAssert(const wxString& file, int line, const wxString& func, const wxString& cond,
                   const wxString& msg)
{
    std::fprintf(stderr, "library assertion %s:%d in %s: %s %s\n", static_cast<const char*>(file.utf8_str()),
                 line, static_cast<const char*>(func.utf8_str()), static_cast<const char*>(cond.utf8_str()),
                 static_cast<const char*>(msg.utf8_str()));
    std::abort();
}

}  // namespace

void StartFuzzProcess()
{
    if (!wxInitialize()) {
        std::fputs("the library cannot start\n", stderr);
        std::exit(1);
    }
    if (!std::setlocale(LC_ALL, "ru_RU.CP1251")) {
        std::fputs("the ru_RU.CP1251 locale is missing (scripts/setup makes it)\n", stderr);
        std::exit(1);
    }
    delete wxLog::SetActiveTarget(new Quiet);
    wxSetAssertHandler(AbortOnAssert);
}
