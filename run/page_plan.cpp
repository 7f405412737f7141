#include "run/page_plan.h"

#include <utility>

#include <wx/log.h>

#include "base/file_path.h"
#include "model/report_files.h"
#include "standard/gost_32144_2013.h"

namespace pq {

namespace {

using NamedFiles = std::vector<std::pair<const char*, wxString>>;

// Refuses, before any page is written, a file path that names one of the
// run's inputs: writing that file would replace the input.
bool FilesSpareTheInputs(const NamedFiles& files, const NamedFiles& inputs)
{
    for (const auto& file : files) {
        const FileIdentity f = IdentityOf(file.second);
        for (const auto& input : inputs) {
            if (!SameFile(f, IdentityOf(input.second)))
                continue;
            wxLogError("The %s %s would overwrite the %s %s: no page is written.", file.first, file.second,
                       input.first, input.second);
            return false;
        }
    }
    return true;
}

}  // namespace

std::optional<PagePlan> PlanPages(const RunSettings& run, const wxString& programDir, const wxString& userDir)
{
    PagePlan plan;
    plan.dayTemplate = programDir + DayTemplateName();
    plan.titleTemplate = programDir + TitleTemplateName();
    for (int k = 0; k < run.days; ++k)
        plan.dayPages.push_back(userDir + DayPageName(k + 1));
    plan.titlePage = userDir + TitlePageName();
    if (run.Evaluates(Gost32144())) {
        plan.weekTemplate = programDir + WeekTemplateName();
        plan.weekPage = userDir + WeekPageName();
    }
    if (run.exports.json)
        plan.resultDocument = userDir + ResultDocumentName();
    if (run.exports.xlsx)
        plan.workbook = userDir + WorkbookName();
    if (run.exports.pdf)
        plan.pdf = userDir + ProtocolPdfName();
    NamedFiles files;
    for (const wxString& page : plan.dayPages)
        files.emplace_back("page", page);
    files.emplace_back("page", plan.titlePage);
    if (plan.weekPage)
        files.emplace_back("page", *plan.weekPage);
    if (plan.resultDocument)
        files.emplace_back("result document", *plan.resultDocument);
    if (plan.workbook)
        files.emplace_back("workbook", *plan.workbook);
    if (plan.pdf)
        files.emplace_back("protocol", *plan.pdf);
    NamedFiles inputs{{"database", run.Header().DB},
                      {"settings document", run.file},
                      {"template", plan.dayTemplate},
                      {"template", plan.titleTemplate}};
    if (plan.weekTemplate)
        inputs.emplace_back("template", *plan.weekTemplate);
    if (!FilesSpareTheInputs(files, inputs))
        return std::nullopt;
    return plan;
}

}  // namespace pq
