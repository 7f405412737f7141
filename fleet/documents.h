#pragma once
// The settings documents of a fleet as the fleet needs them: where each
// report's files go, whether it writes report.json, its site and period, and
// which documents the fleet refuses before anything runs.
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <wx/datetime.h>

#include "base/file_path.h"

namespace pq {

// Where a report's files go: the directory and the file name prefix that the
// settings' UserDirectory prefix comes to.
struct PagePlace {
    std::string directory;  // absolute, dots removed; no trailing '/' but for the root
    std::string name;       // what the file names start with ("" for "dir/")
    FileIdentity folder;    // the directory, by device and inode where it exists

    // The prefix as one path: directory, '/', name.
    std::string Prefix() const;
};

// The place of a UserDirectory prefix used verbatim, relative ones under
// `workDir` (an absolute directory).
PagePlace PlaceOf(const std::string& prefix, const std::string& workDir);

// Whether two places put files on the same paths: the same directory (by
// device and inode where both exist, else by path) and the same name prefix.
bool SamePlace(const PagePlace& a, const PagePlace& b);

struct FleetDocument {
    std::string path;       // absolute, as the report is given it
    bool readable = false;  // the settings library read it; the rest is known only then
    bool exportsJson = false;
    std::string exportProblem;  // why Export does not ask for json; empty when it does
    PagePlace place;
    std::string prefix;     // the UserDirectory prefix made absolute, as the report writes under it
    std::vector<std::pair<std::string, std::string>> site;  // att_Header_0..3 that hold text (UTF-8)
    wxDateTime begin;       // unset when dt_begin is missing or malformed
    int days = 0;

    // att_Header_0, or "" when the document has none.
    std::string SiteName() const;
    // Where report.json and the title page are written.
    std::string ReportJson() const;
    std::string TitlePage() const;
};

// Reads a settings document as the report would: relative paths in it are
// taken under `workDir`, and without a UserDirectory the pages go to
// `programDir` (the report program's directory, ending in '/'). A document
// that cannot be read comes back with `readable` false; the report run tells
// why.
FleetDocument ReadFleetDocument(const std::string& path, const std::string& workDir, const std::string& programDir);

// One line for each document the fleet refuses: a readable one that does not
// ask for report.json, and every one of two or more readable documents whose
// files would go to the same place.
std::vector<std::string> Refusals(const std::vector<FleetDocument>& documents);

}  // namespace pq
