#pragma once
// Paths and the files they name: the one way the report and the fleet make a
// path absolute and tell whether two paths name one file.
#include <string>

#include <sys/types.h>

#include <wx/string.h>

namespace pq {

// `path` made absolute against `base` (the current directory when empty),
// with "." and ".." removed and a leading "~" expanded.
wxString AbsolutePath(const wxString& path, const wxString& base = wxString());

// The same for file-system bytes (see FileSystemPath).
std::string AbsolutePath(const std::string& path, const std::string& base);

// The file a path names, for telling whether two paths are one file: the
// device and inode where it exists, else the absolute path.
struct FileIdentity {
    bool exists = false;
    dev_t device = 0;
    ino_t inode = 0;
    wxString path;
};

FileIdentity IdentityOf(const wxString& path);

bool SameFile(const FileIdentity& a, const FileIdentity& b);

}  // namespace pq
