#pragma once
// The size and SHA-256 of a file, to tie a report to the exact inputs it was
// computed from.
#include <string>

namespace pq {

struct FileFingerprint {
    std::string path;    // as the file system names it
    long long bytes = 0;
    std::string sha256;  // 64 lower-case hexadecimal digits
};

// The SHA-256 of bytes in memory, in hexadecimal.
std::string Sha256Hex(const std::string& bytes);

// Reads the file at `path` once, in pieces. False, with the reason in `why`,
// when it cannot be opened or read, or is not a regular file.
bool Fingerprint(const std::string& path, FileFingerprint& fingerprint, std::string& why);

}  // namespace pq
