#pragma once
// The folder a run writes its pages into: the directory part of the user
// directory prefix. It is checked before the database is opened and held
// for the whole run, so that two runs never write one report.
#include <memory>

#include <wx/string.h>

#include "model/notes.h"

namespace pq {

// The folder's lock (an advisory flock on the folder itself, which makes no
// file), released when the object ends.
class PageFolder {
public:
    PageFolder() = default;
    ~PageFolder();
    PageFolder(const PageFolder&) = delete;
    PageFolder& operator=(const PageFolder&) = delete;

private:
    friend std::unique_ptr<PageFolder> ClaimPageFolder(const wxString& userDir, int days, Notes& notes);
    int fd_ = -1;
};

// Checks that the folder of the pages under the prefix `userDir` exists and
// can be written, and locks it. A folder that another run holds, or that
// cannot take the pages, gives nothing after an error line naming it. Where
// the file system cannot lock it the run goes on after a warning. Holding the
// lock, it removes the temporary files of pages (the page names with the
// temporary suffix) that an ended run left. Day pages beyond the run's
// `days` days, left by an earlier report, are named in one warning and kept.
// Warnings go to `notes`.
std::unique_ptr<PageFolder> ClaimPageFolder(const wxString& userDir, int days, Notes& notes);

}  // namespace pq
