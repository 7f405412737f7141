#pragma once
// What a run has to say besides its progress: its warnings, and the notes of
// the statistics that found fewer values than their window should hold. Each
// is logged when it is noted and kept, in order, for the result document.
#include <string>
#include <vector>

#include <wx/string.h>

namespace pq {

class Notes {
public:
    // Logs the warning (the console writes "Warning: <text>") and keeps it.
    void Warning(const wxString& text);
    // Logs "Input is incomplete!\n" and keeps "Input is incomplete!".
    void Incomplete();

    // The kept lines as the console writes them, without the time stamp
    // ("Warning: ...", "Input is incomplete!"), in UTF-8.
    const std::vector<std::string>& Lines() const { return lines_; }

private:
    void Keep(const wxString& line);
    std::vector<std::string> lines_;
};

}  // namespace pq
