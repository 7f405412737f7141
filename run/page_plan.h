#pragma once
// Every file a run writes, and where it reads its templates.
#include <optional>
#include <vector>

#include <wx/string.h>

#include "settings/run_settings.h"

namespace pq {

struct PagePlan {
    wxString dayTemplate, titleTemplate;
    std::optional<wxString> weekTemplate;    // Week.htm, for a week's evaluation
    std::vector<wxString> dayPages;          // day 1, 2, ...
    wxString titlePage;
    std::optional<wxString> weekPage;        // week.htm, for a week's evaluation
    std::optional<wxString> resultDocument;  // report.json, when the settings ask for it
    std::optional<wxString> workbook;        // report.xlsx, when the settings ask for it
    std::optional<wxString> pdf;             // report.pdf, when the settings ask for it
};

// The plan of a run's files: the templates from `programDir`, the pages and
// documents under `userDir`. Nothing, after an error naming the file, when
// one of them would overwrite an input of the run (the same file by device
// and inode, or by path).
std::optional<PagePlan> PlanPages(const RunSettings& run, const wxString& programDir, const wxString& userDir);

}  // namespace pq
