#include "report/page_assembly.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <locale.h>
#include <sys/stat.h>
#include <unistd.h>

#include <wx/log.h>

#include "report/day_evaluation.h"
#include "report/fixed_texts.h"
#include "settings/header_values.h"
#include "settings/text.h"

namespace {

// System error texts in English, whatever the process locale.
std::string ErrorText(int error)
{
    static const locale_t c_locale = newlocale(LC_ALL_MASK, "C", nullptr);
    return strerror_l(error, c_locale);
}

// Placeholder value k of a page; placeholders beyond the table are empty.
const std::string& Value(const TextList& values, size_t k)
{
    static const std::string empty;
    return k < values.size() ? values[k] : empty;
}

bool InCutSampleRow(size_t k)
{
    return (k >= 148 && k <= 152) || (k >= 160 && k <= 164) || (k >= 172 && k <= 176);
}

bool WriteAll(int fd, const std::string& bytes)
{
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        done += static_cast<size_t>(n);
    }
    return true;
}

}  // namespace

std::string ReadTemplate(const wxString& path)
{
    const std::string name = FileSystemPath(path);
    std::FILE* file = std::fopen(name.c_str(), "rb");
    if (!file)
        throw ReportFileError("Cannot read the template " + name + ": " + ErrorText(errno));
    std::string bytes;
    char buf[65536];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, file)) > 0)
        bytes.append(buf, n);
    const bool failed = std::ferror(file) != 0;
    const int error = errno;
    std::fclose(file);
    if (failed)
        throw ReportFileError("Cannot read the template " + name + ": " + ErrorText(error));
    const size_t nul = bytes.find('\0');
    if (nul != std::string::npos)
        bytes.resize(nul);
    return bytes;
}

bool WritePage(const wxString& path, const std::string& bytes)
{
    const std::string name = FileSystemPath(path);
    std::string temporary = name + ".XXXXXX";
    const int fd = ::mkstemp(&temporary[0]);
    bool ok = fd >= 0;
    int error = errno;
    if (ok) {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        ok = ::fchmod(fd, 0666 & ~mask) == 0 && WriteAll(fd, bytes) && ::fsync(fd) == 0;
        error = errno;
        ok = (::close(fd) == 0) && ok;
        if (ok && ::rename(temporary.c_str(), name.c_str()) != 0) {
            ok = false;
            error = errno;
        }
        if (!ok)
            ::unlink(temporary.c_str());
    }
    if (!ok)
        wxLogError("Cannot write the page %s: %s", wxString::FromUTF8(name), ErrorText(error));
    return ok;
}

std::string PeriodText(const wxDateTime& begin, const wxDateTime& end)
{
    const auto clock = [](const wxDateTime& t) {
        return t.IsValid() ? t.Format("%H:%M").ToStdString() : std::string();
    };
    return clock(begin) + " - " + clock(end);
}

std::string AssembleDayPage(const std::string& templateText, const TextList& values,
                            const DateTimeList& begins, const DateTimeList& ends,
                            const std::array<TextList, 3>& harmonics)
{
    TextList pieces = SplitText(templateText, "##");
    TextList periodRow;
    std::array<TextList, 3> harmonicRows;
    CutPeriodRow(pieces, periodRow);
    const int bases[3] = {141, 153, 165};
    for (int t = 0; t < 3; ++t)
        CutHarmonicRow(pieces, harmonicRows[t], bases[t]);

    TextList periodTexts;
    for (size_t i = 0; i < begins.size() && i < ends.size(); ++i)
        periodTexts.push_back(PeriodText(begins[i], ends[i]));

    std::string page = pieces[0];
    for (size_t k = 0; k + 1 < pieces.size(); ++k) {
        if (k == 9)
            page += periodTexts.empty() ? std::string() : periodTexts[0];
        else if (k == 10)
            page += PeriodRows(periodRow, periodTexts);
        else if (k == 147 || k == 159 || k == 171)
            page += NumberedHarmonicRows(harmonicRows[(k - 147) / 12], harmonics[(k - 147) / 12]);
        else if (!InCutSampleRow(k))
            page += Value(values, k);
        if (!InCutSampleRow(k + 1))
            page += pieces[k + 1];
    }
    return page;
}

std::string AssembleTitlePage(const std::string& templateText, const TextList& values)
{
    const TextList pieces = SplitText(templateText, "##");
    std::string page = pieces[0];
    for (size_t k = 0; k + 1 < pieces.size(); ++k)
        page += Value(values, k) + pieces[k + 1];
    return page;
}

bool WriteDayPage(int dayNumber, const TextList& values, const DateTimeList& begins,
                  const DateTimeList& ends, const std::array<TextList, 3>& harmonics,
                  const wxString& programDir, const wxString& userDir)
{
    const std::string page =
        AssembleDayPage(ReadTemplate(programDir + "tbl1.htm"), values, begins, ends, harmonics);
    return WritePage(userDir + wxString::Format("day_%d.htm", dayNumber), page);
}

TextList TitleValues(int days)
{
    const ReportHeaderValues& h = HeaderValues();
    TextList t = NewValueTable();
    t[0] = MakerName();
    for (int i = 0; i < 4; ++i)
        t[1 + i] = h.Header[i];
    for (int j = 0; j < 5; ++j)
        t[5 + 2 * j] = h.LeftHeader[j];
    for (int j = 0; j < 4; ++j)
        t[6 + 2 * j] = h.RightHeader[j];
    for (int i = 0; i < 3; ++i)
        t[14 + i] = h.Approve[i];
    for (int i = 0; i < 4; ++i)
        t[17 + i] = h.Main[i];
    t[21] = h.Footer[0];
    t[22] = h.Footer[1];
    t[23] = h.Page1_1[0];
    t[24] = h.Page1_1[1];
    t[25] = h.Page1_2[0];
    for (int i = 0; i < 3; ++i)
        t[26 + i] = h.Page1_3[i];
    t[29] = h.dt_begin.Format("%d-%m-%Y").ToStdString();
    t[30] = DayStart(days).Format("%d-%m-%Y").ToStdString();
    t[31] = h.Page1_5[0];
    for (int i = 0; i < 4; ++i)
        t[32 + i] = h.Page1_6[i];
    for (int i = 0; i < 6; ++i)
        t[36 + i] = h.Page1_7[i];
    t[46] = h.Page1_8[0];
    t[47] = h.Page1_8[0];
    return t;
}

bool WriteTitlePage(const TextList& values, const wxString& programDir, const wxString& userDir)
{
    const std::string page = AssembleTitlePage(ReadTemplate(programDir + "Title.htm"), values);
    return WritePage(userDir + "Page0.htm", page);
}
