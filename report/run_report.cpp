#include "report/run_report.h"

#include <cstdio>
#include <memory>
#include <sys/stat.h>
#include <vector>

#include <wx/filename.h>
#include <wx/log.h>
#include <wx/mstream.h>
#include <wx/stdpaths.h>
#include <wx/wxsqlite3.h>
#include <wx/xml/xml.h>

#include "db/transaction.h"
#include "report/day_evaluation.h"
#include "report/fixed_texts.h"
#include "report/page_assembly.h"
#include "settings/header_values.h"
#include "settings/text.h"

namespace {

const int kMaxDays = 7;  // the settings carry seven max-load periods

bool IsRegularFile(const wxString& path)
{
    struct stat st;
    return ::stat(FileSystemPath(path).c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool LoadDocument(const wxString& path, wxXmlDocument& doc)
{
    std::FILE* file = std::fopen(FileSystemPath(path).c_str(), "rb");
    if (!file)
        return false;
    std::vector<char> bytes;
    char buf[65536];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, file)) > 0)
        bytes.insert(bytes.end(), buf, buf + n);
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (failed)
        return false;
    wxMemoryInputStream stream(bytes.data(), bytes.size());
    return doc.Load(stream, "UTF-8");
}

bool SettingsProblem()
{
    wxLogMessage("Ini file problem!\n");
    return false;
}

// Closes and releases the run's database on every way out.
struct DatabaseCloser {
    void operator()(wxSQLite3Database* db) const
    {
        try {
            db->Close();
        } catch (const wxSQLite3Exception&) {
        }
        delete db;
    }
};
using DatabaseHandle = std::unique_ptr<wxSQLite3Database, DatabaseCloser>;

}  // namespace

bool RunReport(wxString settingsPath)
{
    MakerName();
    CompliesWord();
    DoesNotComplyWord();

    const wxString programDir = wxFileName(wxStandardPaths::Get().GetExecutablePath())
                                    .GetPath(wxPATH_GET_VOLUME | wxPATH_GET_SEPARATOR);
    wxString userDir = programDir;
    const wxString settingsFile = settingsPath;

    if (!IsRegularFile(settingsFile))
        return SettingsProblem();
    wxXmlDocument doc;
    if (!LoadDocument(settingsFile, doc) || !doc.GetRoot())
        return SettingsProblem();
    if (doc.GetRoot()->GetName() != "mqv-analyser-settings")
        return SettingsProblem();
    for (const wxXmlNode* child = doc.GetRoot()->GetChildren(); child; child = child->GetNext()) {
        if (child->GetType() != wxXML_ELEMENT_NODE)
            continue;
        if (child->GetName() == "ReportData")
            ReadReportData(child);
        else if (child->GetName() == "UserDirectory")
            userDir = child->GetAttribute("Dir", ".");
    }

    const ReportHeaderValues& header = HeaderValues();
    const int days = WholeNumber(header.n_Dayes);
    if (days > kMaxDays) {
        wxLogError("n_Dayes is %d, but the settings describe at most %d days.", days, kMaxDays);
        return SettingsProblem();
    }
    if (!header.dt_begin.IsValid()) {
        wxLogError("dt_begin is missing or is not a date and time of the form dd.mm.yyyy hh:mm:ss.");
        return SettingsProblem();
    }
    // A count far below zero would move the period's end before the calendar.
    if (header.dt_begin.GetJDN() + days < wxDateTime(1, wxDateTime::Jan, 1).GetJDN()) {
        wxLogError("n_Dayes is %d: the period would end before the year 1.", days);
        return SettingsProblem();
    }

    ComplianceFlags flags;
    flags.fill(true);

    DatabaseHandle db;
    try {
        db.reset(new wxSQLite3Database());
        // Without the create flag: a path that names no file must not make one.
        db->Open(header.DB, wxEmptyString, WXSQLITE_OPEN_READWRITE);
        db->SetBusyTimeout(60000);
        TuneForScans(*db);

        bool allPagesWritten = true;
        for (int k = 0; k < days; ++k) {
            wxLogMessage("Day number %d of %d.", k + 1, days);
            DayResult day;
            if (!EvaluateDay(k, db.get(), flags, day))
                return false;
            allPagesWritten &= WriteDayPage(k + 1, day.values, day.begins, day.ends, day.harmonics,
                                            programDir, userDir);
        }
        TextList title = TitleValues(days);
        SummariseRun(days, db.get(), flags, title);
        allPagesWritten &= WriteTitlePage(title, programDir, userDir);
        db.reset();
        if (allPagesWritten)
            std::printf("ok!\n");
        else
            wxLogError("The report is incomplete: a page could not be written.");
        return true;
    } catch (const wxSQLite3Exception& e) {
        wxLogMessage("InitDB%d:%s", e.GetErrorCode(), e.GetMessage());
    } catch (const ReportFileError& e) {
        wxLogError("%s", wxString::FromUTF8(e.what()));
    } catch (...) {
        wxLogMessage("Abort not correct DB version");
    }
    return true;
}
