#pragma once
// What both programs do first: start the library with the console log, and
// decode the command line for the library's parser.
#include <vector>

#include <wx/buffer.h>
#include <wx/init.h>

namespace pq {

// Compares the library's build options with the program's, and makes the
// console the log target once `library` has started. False, after writing
// `failure` to standard error as it is, when the library could not start.
bool StartLibrary(const wxInitializer& library, const char* failure);

// The arguments as the library's command-line parser takes them, decoded so
// that every byte of a file name survives.
class DecodedArguments {
public:
    DecodedArguments(int argc, char** argv);
    int Count() const { return count_; }
    wxChar** Values() { return values_.data(); }

private:
    int count_;
    std::vector<wxWCharBuffer> buffers_;
    std::vector<wxChar*> values_;
};

}  // namespace pq
