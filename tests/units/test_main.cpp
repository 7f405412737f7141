// Runs the tests under the report's locale (decimal comma, CP1251), with the
// library started as the program starts it.
#include <clocale>
#include <cstdio>

#include <gtest/gtest.h>
#include <wx/init.h>
#include <wx/log.h>


int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    wxInitializer library;
    if (!library.IsOk() || !std::setlocale(LC_ALL, "ru_RU.CP1251")) {
        std::fprintf(stderr, "the ru_RU.CP1251 locale or the library is not available\n");
        return 1;
    }
    // Statistics log as they run; tests that look at the log capture it.
    struct Quiet : wxLog {
        void DoLogRecord(wxLogLevel, const wxString&, const wxLogRecordInfo&) override {}
    };
    delete wxLog::SetActiveTarget(new Quiet);
    return RUN_ALL_TESTS();
}
