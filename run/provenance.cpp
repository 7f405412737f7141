#include "run/provenance.h"

#include <sys/stat.h>

#include "base/file_path.h"
#include "base/text.h"
#include "run/page_files.h"

namespace pq {

namespace {

FileFingerprint FingerprintOf(const char* what, const wxString& path)
{
    const std::string name = FileSystemPath(AbsolutePath(path));
    FileFingerprint fingerprint;
    std::string why;
    if (!Fingerprint(name, fingerprint, why))
        throw ReportFileError(std::string("Cannot read the ") + what + " " + name + " for its SHA-256: " + why);
    return fingerprint;
}

// A file the run read into memory: the bytes it used.
FileFingerprint FingerprintOfBytes(const wxString& path, const std::string& bytes)
{
    FileFingerprint fingerprint;
    fingerprint.path = FileSystemPath(AbsolutePath(path));
    fingerprint.bytes = static_cast<long long>(bytes.size());
    fingerprint.sha256 = Sha256Hex(bytes);
    return fingerprint;
}

}  // namespace

Provenance GatherProvenance(const wxString& settingsFile, const wxString& database, const TemplateText& dayTemplate,
                            const TemplateText& titleTemplate, const std::optional<TemplateText>& weekTemplate)
{
    Provenance p;
    p.programVersion = ProgramVersion();
    p.settings = FingerprintOf("settings document", settingsFile);
    p.database = FingerprintOf("database", database);
    const wxString wal = database + "-wal";
    struct stat st;
    if (::stat(FileSystemPath(wal).c_str(), &st) == 0)
        p.wal = FingerprintOf("write-ahead log", wal);
    p.dayTemplate = FingerprintOfBytes(dayTemplate.path, dayTemplate.bytes);
    p.titleTemplate = FingerprintOfBytes(titleTemplate.path, titleTemplate.bytes);
    if (weekTemplate)
        p.weekTemplate = FingerprintOfBytes(weekTemplate->path, weekTemplate->bytes);
    return p;
}

}  // namespace pq
