#pragma once
// A file written whole or not at all.
#include <csignal>
#include <string>
#include <vector>

namespace pq {

// The bytes go to a temporary file beside the target; Commit() gives it the
// permissions of any new file (0666 less the umask), syncs it and renames it
// over the target. A temporary
// file that was not committed is removed when the object ends, so a failed
// or abandoned write leaves the target as it was and nothing beside it.
class AtomicFile {
public:
    explicit AtomicFile(const std::string& path);
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    // False when the temporary file could not be made or written; Error()
    // then tells why.
    bool Write(const std::string& bytes);
    bool Commit();
    int Error() const { return error_; }
    // The target's path.
    const std::string& Path() const { return path_; }

    // The temporary file's path, for a library that writes the file by its
    // name itself instead of through Write(): it must open the file for
    // writing in place (not replace it) and have closed it before Commit().
    // The file stays registered for removal on signals. Empty when it could
    // not be made (Error() tells why) or after a failure.
    const std::string& TemporaryPath() const { return temporary_; }

    // Makes SIGTERM, SIGINT and SIGHUP remove the temporary files being
    // written (up to six at a time) before the process ends as the signal
    // says. Pages already renamed stay.
    static void RemoveTemporaryOnSignals();

private:
    void Fail();
    std::string path_;
    std::string temporary_;
    int fd_ = -1;
    int error_ = 0;
    int slot_ = -1;  // where the signal handler finds the temporary's name
};

// A private folder beside `near` (its name, a dot and six letters or digits)
// for files that another program reads by their names; it and the files
// written into it are removed when the object ends, and on the signals that
// remove an AtomicFile's temporary.
class TemporaryFolder {
public:
    explicit TemporaryFolder(const std::string& near);
    ~TemporaryFolder();
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;

    // Empty when the folder could not be made; Error() tells why.
    const std::string& Path() const { return path_; }
    int Error() const { return error_; }
    // Writes the file `name` in the folder; false, with Error(), when it cannot.
    bool Write(const std::string& name, const std::string& bytes);

private:
    std::string path_;
    int error_ = 0;
    int slot_ = -1;
    std::vector<int> fileSlots_;
};

// Holds SIGTERM, SIGINT and SIGHUP back while it lives; one that arrived
// meanwhile takes effect when it ends. For a library that makes named
// temporary files of its own and removes them right after: no signal can end
// the process between the two and leave such a file behind.
class HeldSignals {
public:
    HeldSignals();
    ~HeldSignals();
    HeldSignals(const HeldSignals&) = delete;
    HeldSignals& operator=(const HeldSignals&) = delete;

private:
    sigset_t previous_;
};

}  // namespace pq
