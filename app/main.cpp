// Entry point: starts the library, parses the command line, makes the
// settings path absolute, switches to the Russian locale and runs the report.
#include <cerrno>
#include <cstdio>

#include <fcntl.h>

#include <wx/app.h>
#include <wx/cmdline.h>
#include <wx/init.h>
#include <wx/intl.h>
#include <wx/log.h>

#include "app/startup.h"
#include "base/file_path.h"
#include "io/atomic_file.h"
#include "run/run_report.h"

using namespace pq;

namespace {

const char* const kVersion = PQREPORT_VERSION;

// -q is accepted for the callers that pass it; the report's log stays as it is.
const wxCmdLineEntryDesc kOptions[] = {
    {wxCMD_LINE_SWITCH, "h", "help", "show this help message", wxCMD_LINE_VAL_NONE,
     wxCMD_LINE_OPTION_HELP},
    {wxCMD_LINE_SWITCH, "v", "version", "show version", wxCMD_LINE_VAL_NONE, 0},
    {wxCMD_LINE_SWITCH, "q", "quiet", "be quiet", wxCMD_LINE_VAL_NONE, 0},
    {wxCMD_LINE_PARAM, nullptr, nullptr, "\"input file.xml\"", wxCMD_LINE_VAL_STRING,
     wxCMD_LINE_PARAM_MULTIPLE},
    {wxCMD_LINE_NONE, nullptr, nullptr, nullptr, wxCMD_LINE_VAL_NONE, 0},
};

// A standard stream the caller closed is opened read-only on /dev/null: no
// file the run opens takes its number, and writing it fails, so that "ok!"
// is never written into a page or the database and is known to be lost.
void HoldClosedStandardStreams()
{
    for (int fd = 0; fd <= 2; ++fd) {
        if (::fcntl(fd, F_GETFD) != -1 || errno != EBADF)
            continue;
        // The lowest free number, which is fd: the streams below it are open by now.
        ::open("/dev/null", O_RDONLY);
    }
}

}  // namespace

int main(int argc, char** argv)
{
    HoldClosedStandardStreams();
    wxApp::CheckBuildOptions(WX_BUILD_OPTIONS_SIGNATURE, "program");
    const wxInitializer library;
    if (!StartLibrary(library, "Failed to initialize the wxWidgets library, aborting."))
        return 1;
    // The library names its messages and paths after the application; this
    // program has always been "console" to it.
    wxAppConsole::GetInstance()->SetAppName("console");

    DecodedArguments arguments(argc, argv);
    wxCmdLineParser parser(kOptions, arguments.Count(), arguments.Values());
    const bool logWasOn = wxLog::EnableLogging(false);
    const int parsed = parser.Parse(false);
    wxLog::EnableLogging(logWasOn);

    wxString confirmation = "Command line parsed successfully:\nInput files: ";
    for (size_t i = 0; i < parser.GetParamCount(); ++i)
        confirmation << parser.GetParam(i) << " ";
    if (parser.Found("v"))
        confirmation << "\nVersion:\t" << kVersion << "\n";
    wxLogMessage("%s", confirmation);

    // Help and version end here with success; any other command line that
    // does not parse is a usage error.
    if (parsed != 0 || parser.Found("h")) {
        parser.Usage();
        return (parser.Found("h") || parser.Found("v")) ? 0 : 1;
    }

    wxString settingsPath;
    if (parser.GetParamCount() > 0)
        settingsPath = AbsolutePath(parser.GetParam(0));

    AtomicFile::RemoveTemporaryOnSignals();
    bool reportComplete = false;
    {
        wxLocale locale;
        if (locale.Init("Russian", "ru", "ru_RU.CP1251", false))
            reportComplete = RunReport(settingsPath);
        else
            wxLogError("This language is not supported by the system.");
    }
    // 0 exactly when "ok!" was printed.
    return reportComplete ? 0 : 1;
}
