#include "fleet/documents.h"

#include <wx/filename.h>
#include <wx/log.h>

#include "base/file_path.h"
#include "base/text.h"
#include "model/report_files.h"
#include "settings/run_settings.h"

namespace pq {

namespace {

std::string Utf8(const wxString& text)
{
    const wxScopedCharBuffer bytes = text.utf8_str();
    return std::string(bytes.data(), bytes.length());
}

// The prefix as the report opens it: relative ones under the working directory.
std::string AbsolutePrefix(const std::string& prefix, const std::string& workDir)
{
    return !prefix.empty() && prefix[0] == '/' ? prefix : workDir + "/" + prefix;
}

}  // namespace

std::string PagePlace::Prefix() const
{
    return directory == "/" ? "/" + name : directory + "/" + name;
}

PagePlace PlaceOf(const std::string& prefix, const std::string& workDir)
{
    // The pages are named prefix + "Page0.htm": everything after the last '/'
    // starts the file names, so "dir" and "dir/" are different places and
    // "dir/." names files ".Page0.htm" in dir.
    const size_t slash = prefix.rfind('/');
    const std::string dir = AbsolutePrefix(slash == std::string::npos ? "" : prefix.substr(0, slash + 1), workDir);
    PagePlace place;
    place.name = slash == std::string::npos ? prefix : prefix.substr(slash + 1);
    wxFileName name = wxFileName::DirName(PathFromBytes(dir.c_str()));
    name.Normalize(wxPATH_NORM_DOTS);
    place.directory = FileSystemPath(name.GetPath());
    if (place.directory.empty())
        place.directory = "/";
    // The kernel resolves the directory as the report will, symbolic links included.
    place.folder = IdentityOf(PathFromBytes(dir.c_str()));
    return place;
}

bool SamePlace(const PagePlace& a, const PagePlace& b)
{
    return a.name == b.name && SameFile(a.folder, b.folder);
}

std::string FleetDocument::SiteName() const
{
    return !site.empty() && site.front().first == "att_Header_0" ? site.front().second : std::string();
}

std::string FleetDocument::ReportJson() const { return prefix + FileSystemPath(ResultDocumentName()); }

std::string FleetDocument::TitlePage() const { return prefix + FileSystemPath(TitlePageName()); }

FleetDocument ReadFleetDocument(const std::string& path, const std::string& workDir, const std::string& programDir)
{
    FleetDocument document;
    document.path = AbsolutePath(path, workDir);
    std::optional<ReportSettings> settings;
    {
        // The report run logs what is wrong with a document; the fleet only runs it.
        wxLogNull quiet;
        Notes notes;
        settings = ReadSettingsFile(PathFromBytes(document.path.c_str()), notes);
    }
    if (!settings)
        return document;
    document.readable = true;
    const ReportHeaderValues& header = settings->header;

    std::string unknown;
    const std::optional<ExportFormats> formats = ParseExportFormats(header.Export, unknown);
    if (!formats)
        document.exportProblem = Utf8(UnknownExportWord(unknown));
    else if (!formats->json)
        document.exportProblem = "it does not ask for report.json (<Export Value=\"json\"/>)";
    document.exportsJson = document.exportProblem.empty();

    const std::string prefix =
        settings->userDirectory ? FileSystemPath(*settings->userDirectory) : programDir;
    document.prefix = AbsolutePrefix(prefix, workDir);
    document.place = PlaceOf(prefix, workDir);

    for (const char* name : {"att_Header_0", "att_Header_1", "att_Header_2", "att_Header_3"})
        for (const auto& text : header.texts)
            if (text.first == name)
                document.site.push_back(text);
    document.begin = header.dt_begin;
    document.days = DayCount(header);
    return document;
}

std::vector<std::string> Refusals(const std::vector<FleetDocument>& documents)
{
    std::vector<std::string> lines;
    for (size_t i = 0; i < documents.size(); ++i) {
        const FleetDocument& d = documents[i];
        if (!d.readable)
            continue;
        std::string why = d.exportProblem;
        std::string others;
        for (size_t j = 0; j < documents.size(); ++j)
            if (j != i && documents[j].readable && SamePlace(d.place, documents[j].place))
                others += (others.empty() ? "" : ", ") + documents[j].path;
        if (!others.empty())
            why += (why.empty() ? "" : "; ") + std::string("its pages would go to ") + d.place.Prefix() +
                   ", where those of " + others + " go";
        if (!why.empty())
            lines.push_back(d.path + ": refused: " + why + ".");
    }
    return lines;
}

}  // namespace pq
