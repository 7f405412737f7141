#include "fleet/runs.h"

#include <cctype>
#include <cstdlib>
#include <sstream>

#include <wx/string.h>

#include "base/file_read.h"
#include "base/text.h"

namespace pq {

namespace {

const long long kMaxLogBytes = 64LL << 20;
const long long kMaxResultBytes = 256LL << 20;

std::vector<std::string> Split(const std::string& text, char separator)
{
    std::vector<std::string> parts;
    std::string part;
    std::istringstream in(text);
    while (std::getline(in, part, separator))
        parts.push_back(part);
    return parts;
}

bool WholeInt(const std::string& text, long& value)
{
    if (text.empty())
        return false;
    char* end = nullptr;
    value = std::strtol(text.c_str(), &end, 10);
    return *end == '\0';
}

std::string ReadOrEmpty(const std::string& path, long long maxBytes)
{
    std::string bytes, why;
    return ReadRegularFile(path, maxBytes, bytes, why) == FileRead::Read ? bytes : std::string();
}

// A log line without the report's "HH:MM:SS: " stamp.
std::string Unstamped(const std::string& line)
{
    static const char kPattern[] = "00:00:00: ";
    if (line.size() < sizeof kPattern - 1)
        return line;
    for (size_t i = 0; i < sizeof kPattern - 1; ++i) {
        const bool digit = kPattern[i] == '0';
        if (digit ? !std::isdigit(static_cast<unsigned char>(line[i])) : line[i] != kPattern[i])
            return line;
    }
    return line.substr(sizeof kPattern - 1);
}

// The report writes its log in its own locale's encoding (CP1251) once it
// has set it; the roll-up is UTF-8.
std::string AsUtf8(const std::string& line)
{
    if (line.empty() || !wxString::FromUTF8(line.data(), line.size()).empty())
        return line;
    const wxString text = WxFromCodePage(line);
    const wxScopedCharBuffer utf8 = text.utf8_str();
    return std::string(utf8.data(), utf8.length());
}

bool IsNameCharacter(unsigned char c)
{
    return std::isalnum(c) || c == '.' || c == '_' || c == '-' || c >= 0x80;
}

}  // namespace

std::map<int, JobRecord> ParseJobLog(const std::string& text)
{
    std::map<int, JobRecord> records;
    for (const std::string& line : Split(text, '\n')) {
        const std::vector<std::string> fields = Split(line, '\t');
        long seq = 0, exitStatus = 0, signal = 0;
        if (fields.size() < 8 || !WholeInt(fields[0], seq) || !WholeInt(fields[6], exitStatus) ||
            !WholeInt(fields[7], signal))
            continue;
        JobRecord r;
        r.host = fields[1];
        r.seconds = std::strtod(fields[3].c_str(), nullptr);
        r.exitStatus = static_cast<int>(exitStatus);
        r.signal = static_cast<int>(signal);
        records[static_cast<int>(seq)] = r;
    }
    return records;
}

std::string LogName(int sequence, const std::string& settingsPath)
{
    std::string file = settingsPath.substr(settingsPath.rfind('/') + 1);
    if (file.size() > 4 && file.compare(file.size() - 4, 4, ".xml") == 0)
        file.resize(file.size() - 4);
    const size_t end = settingsPath.rfind('/');
    std::string directory;
    if (end != std::string::npos && end > 0) {
        const size_t begin = settingsPath.rfind('/', end - 1);
        directory = settingsPath.substr(begin == std::string::npos ? 0 : begin + 1,
                                        end - (begin == std::string::npos ? 0 : begin + 1));
    }
    std::string name = directory.empty() ? file : directory + "-" + file;
    for (char& c : name)
        if (!IsNameCharacter(static_cast<unsigned char>(c)))
            c = '_';
    // Well below the file system's 255 bytes, with room for ".err"; cut
    // before a UTF-8 lead byte so that no character is split.
    const size_t kMax = 100;
    if (name.size() > kMax) {
        size_t cut = kMax;
        while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80)
            --cut;
        name.resize(cut);
    }
    return std::to_string(sequence) + "-" + name;
}

RunOutcome OutcomeOf(const std::optional<JobRecord>& record, const std::string& out, const std::string& err)
{
    if (!record)
        return {false, "did not end: interrupted, or not started"};
    if (record->signal != 0)
        return {false, "ended by signal " + std::to_string(record->signal)};
    bool printedOk = false;
    for (const std::string& line : Split(out, '\n'))
        printedOk |= line == "ok!";
    if (record->exitStatus == 0 && printedOk)
        return {true, "ok!"};
    std::string lastError, lastLine;
    for (const std::string& raw : Split(err, '\n')) {
        const std::string line = Unstamped(raw);
        if (line.rfind("Error: ", 0) == 0)
            lastError = line;
        if (line.find_first_not_of(" \t\r") != std::string::npos)
            lastLine = line;
    }
    if (!lastError.empty())
        return {false, AsUtf8(lastError)};
    if (!lastLine.empty())
        return {false, AsUtf8(lastLine)};
    return {false, "exit status " + std::to_string(record->exitStatus) + " without \"ok!\""};
}

std::vector<FleetRun> CollectRuns(const std::vector<FleetDocument>& documents, const std::string& outDir)
{
    const std::map<int, JobRecord> records = ParseJobLog(ReadOrEmpty(outDir + "/joblog", kMaxLogBytes));
    std::vector<FleetRun> runs;
    for (size_t i = 0; i < documents.size(); ++i) {
        FleetRun run;
        run.sequence = static_cast<int>(i) + 1;
        run.document = documents[i];
        run.logName = LogName(run.sequence, run.document.path);
        const auto record = records.find(run.sequence);
        if (record != records.end())
            run.record = record->second;
        const std::string logs = outDir + "/logs/" + run.logName;
        run.outcome = OutcomeOf(run.record, ReadOrEmpty(logs, kMaxLogBytes), ReadOrEmpty(logs + ".err", kMaxLogBytes));
        if (run.outcome.ok) {
            const std::string path = run.document.ReportJson();
            nlohmann::ordered_json doc =
                nlohmann::ordered_json::parse(ReadOrEmpty(path, kMaxResultBytes), nullptr, false);
            const auto holds = [&doc](const char* key, const nlohmann::ordered_json& value) {
                const auto found = doc.find(key);
                return found != doc.end() && *found == value;
            };
            if (doc.is_object() && holds("format", "pqreport-result") &&
                (holds("format_version", 1) || holds("format_version", 2)) && doc.contains("summary") &&
                doc["summary"].is_object())
                run.result = std::move(doc);
            else
                run.outcome = {false, "ok!, but " + path + " is no result document of format version 1 or 2"};
        }
        runs.push_back(std::move(run));
    }
    return runs;
}

}  // namespace pq
