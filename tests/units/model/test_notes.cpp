// The notes of a run: logged as they are noted and kept in order for the
// result document's warnings.
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <wx/log.h>

#include "model/notes.h"

using namespace pq;

namespace {

// Collects what reaches the target under the recorder.
class Collect : public wxLog {
public:
    std::vector<std::string> lines;

protected:
    void DoLogRecord(wxLogLevel, const wxString& msg, const wxLogRecordInfo&) override
    {
        lines.push_back(msg.ToStdString());
    }
};

TEST(Notes, LogsEachNoteAndKeepsThemInOrder)
{
    Collect* below = new Collect;
    wxLog* previous = wxLog::SetActiveTarget(below);
    Notes notes;
    wxLogMessage("Day number 1 of 1.");
    notes.Incomplete();
    notes.Warning("du1m.L1: 1 value is not a finite number and counts as 0.");
    wxLogWarning("a warning that is no note");
    notes.Warning(wxString::FromUTF8("second, with 100 % and «ё»"));
    EXPECT_EQ(notes.Lines(), (std::vector<std::string>{
                                 "Input is incomplete!",
                                 "Warning: du1m.L1: 1 value is not a finite number and counts as 0.",
                                 "Warning: second, with 100 % and «ё»"}));
    EXPECT_EQ(below->lines, (std::vector<std::string>{"Day number 1 of 1.", "Input is incomplete!\n",
                                                      "du1m.L1: 1 value is not a finite number and counts as 0.",
                                                      "a warning that is no note",
                                                      wxString::FromUTF8("second, with 100 % and «ё»").ToStdString()}));
    delete wxLog::SetActiveTarget(previous);
}

}  // namespace
