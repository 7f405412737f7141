#include "run/page_folder.h"

#include <algorithm>
#include <cerrno>
#include <string>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <libgen.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <wx/log.h>

#include "base/text.h"
#include "model/report_files.h"

namespace pq {

namespace {

// The directory part of a path, "." for a bare name.
std::string DirectoryOf(const std::string& path)
{
    std::vector<char> buffer(path.begin(), path.end());
    buffer.push_back('\0');
    return ::dirname(buffer.data());
}

// The last part of a path: the name inside its directory.
std::string NameOf(const std::string& path)
{
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Every file name a run can write, each under the prefix, as named inside the folder.
std::vector<std::string> PageNames(const wxString& userDir)
{
    std::vector<std::string> inFolder;
    for (const wxString& name : ReportFileNames())
        inFolder.push_back(NameOf(FileSystemPath(userDir + name)));
    return inFolder;
}

// Whether `entry` is `page` with the suffix that a page's temporary file
// gets: a dot and six letters or digits (mkstemp's "XXXXXX").
bool IsTemporaryOf(const std::string& entry, const std::string& page)
{
    if (entry.size() != page.size() + 7 || entry.compare(0, page.size(), page) != 0 || entry[page.size()] != '.')
        return false;
    for (size_t i = page.size() + 1; i < entry.size(); ++i) {
        const char c = entry[i];
        if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')))
            return false;
    }
    return true;
}

// Removes the regular files of the locked folder that are the temporary
// files of the run's pages.
void RemoveLeftovers(int folderFd, const std::string& folder, const wxString& userDir, Notes& notes)
{
    const int listFd = ::dup(folderFd);
    if (listFd < 0)
        return;
    DIR* dir = ::fdopendir(listFd);
    if (!dir) {
        ::close(listFd);
        return;
    }
    const std::vector<std::string> pages = PageNames(userDir);
    std::vector<std::string> leftovers;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        for (const std::string& page : pages) {
            struct stat st;
            if (IsTemporaryOf(name, page) && ::fstatat(folderFd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 &&
                S_ISREG(st.st_mode))
                leftovers.push_back(name);
        }
    }
    ::closedir(dir);
    for (const std::string& name : leftovers) {
        const wxString path = PathFromBytes((folder + "/" + name).c_str());
        if (::unlinkat(folderFd, name.c_str(), 0) == 0)
            wxLogMessage("Removed %s, the temporary file of a page that an ended run left.", path);
        else
            notes.Warning(wxString::Format(
                "Cannot remove %s, the temporary file of a page that an ended run left: %s", path,
                SystemErrorText(errno)));
    }
}

// Names the day pages beyond the run's days that an earlier report left.
void NameStalePages(const std::string& folder, const wxString& userDir, int days, Notes& notes)
{
    wxString stale;
    for (int d = std::max(days, 0) + 1; d <= kMaxDayPages; ++d) {
        const std::string path = FileSystemPath(userDir + DayPageName(d));
        struct stat st;
        if (::lstat(path.c_str(), &st) == 0)
            stale += (stale.empty() ? "" : ", ") + PathFromBytes(NameOf(path).c_str());
    }
    if (!stale.empty())
        notes.Warning(wxString::Format(
            "The folder %s holds day pages of an earlier report beyond this report's %d days: %s.",
            PathFromBytes(folder.c_str()), std::max(days, 0), stale));
}

}  // namespace

PageFolder::~PageFolder()
{
    if (fd_ >= 0)
        ::close(fd_);  // releases the lock
}

std::unique_ptr<PageFolder> ClaimPageFolder(const wxString& userDir, int days, Notes& notes)
{
    const std::string folder = DirectoryOf(FileSystemPath(userDir + TitlePageName()));
    const wxString name = PathFromBytes(folder.c_str());
    struct stat st;
    int error = 0;
    if (::stat(folder.c_str(), &st) != 0)
        error = errno;
    else if (!S_ISDIR(st.st_mode))
        error = ENOTDIR;
    else if (::faccessat(AT_FDCWD, folder.c_str(), W_OK | X_OK, AT_EACCESS) != 0)
        error = errno;
    if (error != 0) {
        wxLogError("Cannot write the pages into the folder %s: %s", name, SystemErrorText(error));
        return nullptr;
    }

    std::unique_ptr<PageFolder> held(new PageFolder);
    held->fd_ = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (held->fd_ >= 0 && ::flock(held->fd_, LOCK_EX | LOCK_NB) == 0) {
        RemoveLeftovers(held->fd_, folder, userDir, notes);
    } else {
        error = errno;
        if (error == EWOULDBLOCK) {
            wxLogError("The folder %s is in use by another run: no page is written.", name);
            return nullptr;
        }
        // Without the lock, a temporary file there may be another run's.
        notes.Warning(wxString::Format(
            "The folder %s cannot be locked (%s): a second run into it at the same time is not refused.", name,
            SystemErrorText(error)));
    }
    NameStalePages(folder, userDir, days, notes);
    return held;
}

}  // namespace pq
