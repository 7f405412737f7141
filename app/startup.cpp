#include "app/startup.h"

#include <cstdio>

#include <wx/app.h>
#include <wx/log.h>

#include "base/text.h"
#include "io/console_log.h"

namespace pq {

bool StartLibrary(const wxInitializer& library, const char* failure)
{
    if (!library.IsOk()) {
        std::fputs(failure, stderr);
        return false;
    }
    delete wxLog::SetActiveTarget(new ConsoleLog);
    return true;
}

DecodedArguments::DecodedArguments(int argc, char** argv) : count_(argc)
{
    for (int i = 0; i < argc; ++i)
        buffers_.push_back(PathFromBytes(argv[i]).wc_str());
    for (wxWCharBuffer& b : buffers_)
        values_.push_back(b.data());
    values_.push_back(nullptr);
}

}  // namespace pq
