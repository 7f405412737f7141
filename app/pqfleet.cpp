// pqfleet: runs the report once per settings document through GNU parallel
// and writes one roll-up of all the runs (OUTDIR/index.htm, OUTDIR/fleet.json).
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

#include <wx/app.h>
#include <wx/cmdline.h>
#include <wx/dir.h>
#include <wx/filename.h>
#include <wx/init.h>
#include <wx/log.h>
#include <wx/stdpaths.h>

#include "app/startup.h"
#include "base/file_path.h"
#include "base/file_read.h"
#include "base/text.h"
#include "fleet/documents.h"
#include "fleet/engine.h"
#include "fleet/rollup.h"
#include "fleet/runs.h"
#include "io/atomic_file.h"

using namespace pq;

namespace {

const wxCmdLineEntryDesc kOptions[] = {
    {wxCMD_LINE_SWITCH, "h", "help", "show this help message", wxCMD_LINE_VAL_NONE, wxCMD_LINE_OPTION_HELP},
    {wxCMD_LINE_OPTION, "j", "jobs", "reports at once on each machine (default: one per core)",
     wxCMD_LINE_VAL_NUMBER, 0},
    {wxCMD_LINE_OPTION, nullptr, "hosts",
     "spread the reports over the machines in FILE (GNU parallel's ssh login file)", wxCMD_LINE_VAL_STRING, 0},
    {wxCMD_LINE_SWITCH, nullptr, "resume", "run again only the documents whose last run did not end with ok!",
     wxCMD_LINE_VAL_NONE, 0},
    {wxCMD_LINE_PARAM, nullptr, nullptr, "OUTDIR", wxCMD_LINE_VAL_STRING, 0},
    {wxCMD_LINE_PARAM, nullptr, nullptr, "SETTINGS.xml", wxCMD_LINE_VAL_STRING, wxCMD_LINE_PARAM_MULTIPLE},
    {wxCMD_LINE_NONE, nullptr, nullptr, nullptr, wxCMD_LINE_VAL_NONE, 0},
};

void Say(const std::string& line) { std::fprintf(stderr, "pqfleet: %s\n", line.c_str()); }

std::string Bytes(const wxString& path) { return FileSystemPath(path); }

bool IsRegularFile(const std::string& path)
{
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

// The directory of the report program as the program itself finds it
// (through /proc/self/exe, links resolved), ending in '/'.
std::string CanonicalDirectoryOf(const std::string& program)
{
    char resolved[PATH_MAX];
    if (!::realpath(program.c_str(), resolved))
        return std::string();
    const std::string path = resolved;
    return path.substr(0, path.rfind('/') + 1);
}

bool WriteWhole(const std::string& path, const std::string& bytes)
{
    AtomicFile file(path);
    if (file.Write(bytes) && file.Commit())
        return true;
    Say("cannot write " + path + ": " + SystemErrorText(file.Error()));
    return false;
}

// Paths that GNU parallel reads as a command or an option value, where a
// '{' could start one of its replacement strings.
bool FreeOfBraces(const std::vector<std::pair<const char*, std::string>>& paths)
{
    for (const auto& p : paths) {
        if (p.second.find('{') != std::string::npos) {
            Say(std::string("the ") + p.first + " " + p.second +
                " holds '{', which GNU parallel would take for a replacement string");
            return false;
        }
    }
    return true;
}

// Makes OUTDIR ready for the runs: its job lists, and logs/ emptied for a
// new fleet. With --resume, the job lists must be those of the same
// documents in the same order, since GNU parallel resumes by job number.
bool PrepareOutDir(const std::string& outDir, const std::vector<FleetDocument>& documents, bool resume)
{
    if (!wxFileName::Mkdir(PathFromBytes((outDir + "/logs").c_str()), wxS_DIR_DEFAULT, wxPATH_MKDIR_FULL)) {
        Say("cannot make " + outDir + "/logs");
        return false;
    }
    std::string list, names;
    for (size_t i = 0; i < documents.size(); ++i) {
        list += documents[i].path + '\0';
        names += LogName(static_cast<int>(i) + 1, documents[i].path) + '\0';
    }
    const std::string listPath = outDir + "/" + DocumentListName();
    if (resume && IsRegularFile(listPath)) {
        std::string earlier, why;
        if (ReadRegularFile(listPath, 256LL << 20, earlier, why) != FileRead::Read || earlier != list) {
            Say("--resume: " + outDir + " holds the runs of other settings documents; give the same documents "
                "in the same order, or start anew without --resume");
            return false;
        }
    }
    if (!resume) {
        wxArrayString old;
        wxDir::GetAllFiles(PathFromBytes((outDir + "/logs").c_str()), &old, wxEmptyString, wxDIR_FILES | wxDIR_HIDDEN);
        for (const wxString& f : old)
            wxRemoveFile(f);
    }
    return WriteWhole(listPath, list) && WriteWhole(outDir + "/" + LogNameListName(), names);
}

}  // namespace

int main(int argc, char** argv)
{
    wxApp::CheckBuildOptions(WX_BUILD_OPTIONS_SIGNATURE, "program");
    const wxInitializer library;
    if (!StartLibrary(library, "Failed to initialize the wxWidgets library, aborting.\n"))
        return 1;

    DecodedArguments arguments(argc, argv);
    wxCmdLineParser parser(kOptions, arguments.Count(), arguments.Values());
    parser.SetLogo("Runs pqreport once per settings document through GNU parallel and writes a roll-up of "
                   "all the reports to OUTDIR/index.htm and OUTDIR/fleet.json.");
    const int parsed = parser.Parse(true);
    if (parsed == -1)
        return 0;
    if (parsed != 0)
        return 1;

    EngineOptions options;
    long jobs = 0;
    if (parser.Found("j", &jobs)) {
        if (jobs < 1) {
            Say("-j takes a number of reports at once, 1 or more");
            return 1;
        }
        options.jobs = jobs;
    }
    wxString hosts;
    if (parser.Found("hosts", &hosts)) {
        options.hosts = Bytes(hosts);
        if (!IsRegularFile(*options.hosts)) {
            Say("--hosts: " + *options.hosts + " is no file");
            return 1;
        }
    }
    options.resume = parser.Found("resume");

    options.workDir = Bytes(wxGetCwd());
    options.outDir = AbsolutePath(Bytes(parser.GetParam(0)), options.workDir);
    const std::string exe = Bytes(wxStandardPaths::Get().GetExecutablePath());
    options.program = exe.substr(0, exe.rfind('/') + 1) + "pqreport";
    if (::access(options.program.c_str(), X_OK) != 0) {
        Say("the report program " + options.program + " is missing beside pqfleet");
        return 1;
    }
    if (!FreeOfBraces({{"report program", options.program}, {"OUTDIR", options.outDir}}) ||
        (options.hosts && !FreeOfBraces({{"working directory", options.workDir}})))
        return 1;

    std::vector<FleetDocument> documents;
    const std::string programDir = CanonicalDirectoryOf(options.program);
    for (size_t i = 1; i < parser.GetParamCount(); ++i)
        documents.push_back(ReadFleetDocument(Bytes(parser.GetParam(i)), options.workDir, programDir));
    const std::vector<std::string> refusals = Refusals(documents);
    for (const std::string& line : refusals)
        Say(line);
    if (!refusals.empty())
        return 1;

    HoldInterrupts();
    if (!PrepareOutDir(options.outDir, documents, options.resume))
        return 1;
    if (const int signal = PendingInterrupt())
        EndBySignal(signal);

    Say("reports to run through GNU parallel: " + std::to_string(documents.size()) + "; job log " + options.outDir +
        "/joblog");
    const EngineEnd engine = RunEngine(ParallelCommand(options));
    if (engine.started && engine.status == 255 && engine.interrupt == 0)
        Say("GNU parallel ended with status 255 (see its messages above)");

    const std::vector<FleetRun> runs = CollectRuns(documents, options.outDir);
    for (const FleetRun& run : runs)
        if (!run.outcome.ok)
            Say(run.document.path + ": " + run.outcome.text);
    const bool written = WriteWhole(options.outDir + "/fleet.json", FleetJson(runs)) &&
                         WriteWhole(options.outDir + "/index.htm", RollupPage(runs, options.outDir));
    if (written)
        Say("roll-up: " + options.outDir + "/index.htm and " + options.outDir + "/fleet.json");
    const FleetCounts counts = CountRuns(runs);
    std::printf("%s\n", CountsLine(counts).c_str());

    if (const int signal = engine.interrupt ? engine.interrupt : PendingInterrupt()) {
        Say("interrupted; pqfleet --resume with the same documents continues");
        EndBySignal(signal);
    }
    return written && engine.started && counts.failed == 0 ? 0 : 1;
}
