#include "run/pdf_file.h"

#include <cstring>
#include <sys/stat.h>
#include <vector>

#include <wx/log.h>

#include "base/text.h"
#include "io/child_process.h"

namespace pq {

const char* const kPdfProgram = "weasyprint";

namespace {

// The last line of a program's error text that says something.
std::string LastLine(const std::string& text)
{
    std::string last, line;
    for (const char c : text + "\n") {
        if (c != '\n') {
            line += c;
            continue;
        }
        if (line.find_first_not_of(" \t\r") != std::string::npos)
            last = line;
        line.clear();
    }
    return last;
}

bool Fail(const AtomicFile& file, const std::string& why)
{
    wxLogError("Cannot write the protocol %s: %s", wxString::FromUTF8(file.Path()), wxString::FromUTF8(why));
    return false;
}

}  // namespace

bool WritePdf(AtomicFile& file, const std::string& html, const std::optional<std::string>& json)
{
    if (file.TemporaryPath().empty())
        return Fail(file, SystemErrorText(file.Error()));
    std::vector<std::string> command{kPdfProgram, "--quiet", "--pdf-variant", "pdf/a-3b"};
    // The attachment takes the name of its file: report.json, in a private
    // folder beside the protocol.
    std::optional<TemporaryFolder> attachments;
    if (json) {
        attachments.emplace(file.Path());
        if (attachments->Path().empty() || !attachments->Write("report.json", *json))
            return Fail(file, "its attachment cannot be written beside it: " + SystemErrorText(attachments->Error()));
        command.push_back("--attachment");
        command.push_back(attachments->Path() + "/report.json");
    }
    command.push_back("-");
    command.push_back(file.TemporaryPath());
    std::string errors;
    const ChildEnd end = RunChild(command, html, errors);
    if (!end.started)
        return Fail(file, std::string(kPdfProgram) + " cannot be run (" + SystemErrorText(end.error) +
                              "); install WeasyPrint (Debian's package weasyprint)");
    if (end.signal != 0)
        return Fail(file, std::string(kPdfProgram) + " was ended by signal " + std::to_string(end.signal));
    const std::string last = LastLine(errors);
    if (end.status != 0)
        return Fail(file, std::string(kPdfProgram) + " failed with exit status " + std::to_string(end.status) +
                              (last.empty() ? std::string() : ": " + last));
    // A PDF is at least its header and trailer.
    struct stat st;
    if (::stat(file.TemporaryPath().c_str(), &st) != 0 || st.st_size < 64)
        return Fail(file, std::string(kPdfProgram) + " wrote no PDF" + (last.empty() ? std::string() : ": " + last));
    return true;
}

}  // namespace pq
