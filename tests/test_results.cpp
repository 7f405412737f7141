// What the results as data rest on: the export words of the settings, the
// SHA-256 of the inputs, the log lines the result document lists as its
// warnings, and HTML text for file names.
#include <cstdio>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <wx/log.h>

#include "html/escape.h"
#include "io/fingerprint.h"
#include "model/notes.h"
#include "settings/export_formats.h"

using namespace pq;

namespace {

TEST(ExportFormats, WordsSeparatedByBlanksOrCommas)
{
    const struct {
        const char* list;
        bool json, xlsx;
        const char* unknown;  // nullptr: accepted
    } cases[] = {
        {"", false, false, nullptr},
        {" ,\t, ", false, false, nullptr},
        {"json", true, false, nullptr},
        {" json ,json\n", true, false, nullptr},
        {"xlsx", false, true, nullptr},
        {"json xlsx", true, true, nullptr},
        {"xlsx,json", true, true, nullptr},
        {"xml", false, false, "xml"},
        {"json,xml json", false, false, "xml"},
        {"JSON", false, false, "JSON"},
        {"XLSX", false, false, "XLSX"},
        {"jsonx", false, false, "jsonx"},
        {"xls", false, false, "xls"},
        {"json;", false, false, "json;"},
    };
    for (const auto& c : cases) {
        std::string unknown;
        const std::optional<ExportFormats> formats = ParseExportFormats(c.list, unknown);
        if (c.unknown) {
            EXPECT_FALSE(formats) << c.list;
            EXPECT_EQ(unknown, c.unknown) << c.list;
        } else {
            ASSERT_TRUE(formats) << c.list;
            EXPECT_EQ(formats->json, c.json) << c.list;
            EXPECT_EQ(formats->xlsx, c.xlsx) << c.list;
        }
    }
    EXPECT_EQ(KnownExportWords(), "json, xlsx");
}

TEST(Fingerprint, Sha256OfBytesAndOfAFileReadInPieces)
{
    EXPECT_EQ(Sha256Hex(""), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
    EXPECT_EQ(Sha256Hex("abc"), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
    // Larger than one read, with NUL bytes.
    std::string bytes(3 * (1 << 20) + 17, '\0');
    for (size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<char>(i * 7 % 251);
    const std::string path = ::testing::TempDir() + "fingerprint.bin";
    FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_TRUE(f);
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
    FileFingerprint fp;
    std::string why;
    ASSERT_TRUE(Fingerprint(path, fp, why)) << why;
    EXPECT_EQ(fp.bytes, static_cast<long long>(bytes.size()));
    EXPECT_EQ(fp.sha256, Sha256Hex(bytes));
    EXPECT_EQ(fp.path, path);
    std::remove(path.c_str());
    EXPECT_FALSE(Fingerprint(path, fp, why));
    EXPECT_EQ(why, "No such file or directory");
    EXPECT_FALSE(Fingerprint("/", fp, why));
    EXPECT_EQ(why, "it is not a regular file");
}

// Collects what reaches the target under the recorder.
class Collect : public wxLog {
public:
    std::vector<std::string> lines;

protected:
    void DoLogRecord(wxLogLevel, const wxString& msg, const wxLogRecordInfo&) override
    {
        lines.push_back(msg.ToStdString());
    }
};

TEST(Notes, LogsEachNoteAndKeepsThemInOrder)
{
    Collect* below = new Collect;
    wxLog* previous = wxLog::SetActiveTarget(below);
    Notes notes;
    wxLogMessage("Day number 1 of 1.");
    notes.Incomplete();
    notes.Warning("du1m.L1: 1 value is not a finite number and counts as 0.");
    wxLogWarning("a warning that is no note");
    notes.Warning(wxString::FromUTF8("second, with 100 % and «ё»"));
    EXPECT_EQ(notes.Lines(), (std::vector<std::string>{
                                 "Input is incomplete!",
                                 "Warning: du1m.L1: 1 value is not a finite number and counts as 0.",
                                 "Warning: second, with 100 % and «ё»"}));
    EXPECT_EQ(below->lines, (std::vector<std::string>{"Day number 1 of 1.", "Input is incomplete!\n",
                                                      "du1m.L1: 1 value is not a finite number and counts as 0.",
                                                      "a warning that is no note",
                                                      wxString::FromUTF8("second, with 100 % and «ё»").ToStdString()}));
    delete wxLog::SetActiveTarget(previous);
}

TEST(HtmlText, EscapesMarkupAndWritesWhatCp1251LacksAsReferences)
{
    EXPECT_EQ(HtmlText("/data/a&b <c> \"d\".db"), "/data/a&amp;b &lt;c&gt; &quot;d&quot;.db");
    EXPECT_EQ(HtmlText(wxString::FromUTF8("Отчёт")), "\xCE\xF2\xF7\xB8\xF2");
    EXPECT_EQ(HtmlText(wxString::FromUTF8("m²≤Ω中")), "m&#178;&#8804;&#937;&#20013;");
}

}  // namespace
