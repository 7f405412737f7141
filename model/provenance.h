#pragma once
// What a report was computed from: the program's version and the size and
// SHA-256 of every input file, for the title page and the result document.
#include <optional>
#include <string>

#include "io/fingerprint.h"

namespace pq {

struct Provenance {
    std::string programVersion;
    FileFingerprint settings, database, dayTemplate, titleTemplate;
    std::optional<FileFingerprint> wal;           // a write-ahead log beside the database
    std::optional<FileFingerprint> weekTemplate;  // read for a week's evaluation only
};

// The program's version ("1.3.0").
const char* ProgramVersion();

}  // namespace pq
