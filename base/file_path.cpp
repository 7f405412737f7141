#include "base/file_path.h"

#include <sys/stat.h>

#include <wx/filename.h>

#include "base/text.h"

namespace pq {

wxString AbsolutePath(const wxString& path, const wxString& base)
{
    // The long form is a no-op but on Windows; it is asked for as the
    // command line's settings path has always been made absolute.
    wxFileName name(path);
    name.Normalize(wxPATH_NORM_DOTS | wxPATH_NORM_TILDE | wxPATH_NORM_ABSOLUTE | wxPATH_NORM_LONG, base);
    return name.GetFullPath();
}

std::string AbsolutePath(const std::string& path, const std::string& base)
{
    return FileSystemPath(AbsolutePath(PathFromBytes(path.c_str()), PathFromBytes(base.c_str())));
}

FileIdentity IdentityOf(const wxString& path)
{
    FileIdentity id;
    struct stat st;
    if (::stat(FileSystemPath(path).c_str(), &st) == 0) {
        id.exists = true;
        id.device = st.st_dev;
        id.inode = st.st_ino;
    }
    id.path = AbsolutePath(path);
    return id;
}

bool SameFile(const FileIdentity& a, const FileIdentity& b)
{
    if (a.exists && b.exists)
        return a.device == b.device && a.inode == b.inode;
    return a.path == b.path;
}

}  // namespace pq
