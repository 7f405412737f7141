#include "run/page_files.h"

#include <wx/log.h>

#include "base/file_read.h"
#include "base/text.h"
#include "io/atomic_file.h"

namespace pq {

std::optional<std::string> ReadTemplate(const wxString& path)
{
    const std::string name = FileSystemPath(path);
    std::string bytes, why;
    if (ReadRegularFile(name, kMaxTemplateBytes, bytes, why) == FileRead::Read)
        return bytes;
    wxLogError("%s", wxString::FromUTF8(("Cannot read the template " + name + ": " + why).c_str()));
    return std::nullopt;
}

bool WritePage(const wxString& path, const std::string& bytes)
{
    const std::string name = FileSystemPath(path);
    AtomicFile file(name);
    if (file.Write(bytes) && file.Commit())
        return true;
    wxLogError("Cannot write the page %s: %s", wxString::FromUTF8(name), SystemErrorText(file.Error()));
    return false;
}

}  // namespace pq
