#include "model/provenance.h"

namespace pq {

const char* ProgramVersion() { return PQREPORT_VERSION; }

}  // namespace pq
