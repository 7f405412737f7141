// The workbook written from an evaluated report built in memory, read back
// from its zip of XML parts: its sheets, a verdict of «Итоги», a row of a day
// sheet as the page shows it and the same value in «Данные» as computed.
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <regex>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <wx/wfstream.h>
#include <wx/zipstrm.h>

#include "results/workbook.h"
#include "tests/units/results/sample_report.h"

using namespace pq;

namespace {

// The parts of a zip file by name.
std::map<std::string, std::string> Parts(const std::string& path)
{
    std::map<std::string, std::string> parts;
    wxFFileInputStream file(path);
    wxZipInputStream zip(file);
    for (std::unique_ptr<wxZipEntry> entry(zip.GetNextEntry()); entry; entry.reset(zip.GetNextEntry())) {
        std::string& bytes = parts[entry->GetName(wxPATH_UNIX).ToStdString()];
        char buffer[4096];
        while (zip.Read(buffer, sizeof buffer).LastRead() > 0)
            bytes.append(buffer, zip.LastRead());
    }
    return parts;
}

// The first row of a sheet that holds the text `label`: the texts and the
// numbers of its cells by column from A ("" for a column without a value).
std::vector<std::string> RowOf(const std::string& sheet, const std::string& label)
{
    static const std::regex row("<row [^>]*>(.*?)</row>"), cell("<c r=\"([A-Z])[0-9]+\"[^>]*?(/>|>(.*?)</c>)"),
        content("<t[^>]*>([^<]*)</t>|<v>([^<]*)</v>");
    for (std::sregex_iterator r(sheet.begin(), sheet.end(), row), end; r != end; ++r) {
        const std::string cells = (*r)[1];
        if (cells.find(">" + label + "<") == std::string::npos)
            continue;
        std::vector<std::string> values;
        for (std::sregex_iterator c(cells.begin(), cells.end(), cell); c != end; ++c) {
            const size_t column = static_cast<size_t>((*c)[1].str()[0] - 'A');
            const std::string inner = (*c)[3];
            std::smatch m;
            values.resize(column + 1);
            values[column] = std::regex_search(inner, m, content) ? (m[1].matched ? m[1] : m[2]).str() : "";
        }
        return values;
    }
    return {};
}

TEST(Workbook, SheetsVerdictsAndValuesAsThePageShowsThem)
{
    char dirName[] = "/tmp/pq-workbook-XXXXXX";
    ASSERT_NE(::mkdtemp(dirName), nullptr);
    const std::string dir = dirName, path = dir + "/report.xlsx";
    std::string why;
    const bool written = WriteWorkbook(path, dir, SampleHeader(), SampleReport(), SampleProvenance(), why);
    const std::map<std::string, std::string> parts = written ? Parts(path) : std::map<std::string, std::string>();
    std::filesystem::remove_all(dir);
    ASSERT_TRUE(written) << why;

    // «Итоги», one sheet per day, «Данные».
    int sheets = 0;
    for (const auto& part : parts)
        sheets += part.first.rfind("xl/worksheets/sheet", 0) == 0;
    EXPECT_EQ(sheets, 3);
    const std::string& book = parts.at("xl/workbook.xml");
    for (const char* name : {"name=\"Итоги\"", "name=\"Сутки 1\"", "name=\"Данные\""})
        EXPECT_NE(book.find(name), std::string::npos) << name;

    const std::string& summary = parts.at("xl/worksheets/sheet1.xml");
    EXPECT_EQ(RowOf(summary, "Отклонение частоты Δf"), (std::vector<std::string>{"Отклонение частоты Δf", "не соответствует"}));
    EXPECT_EQ(RowOf(summary, "Коэффициент несимметрии напряжений по нулевой последовательности K0U"),
              (std::vector<std::string>{"Коэффициент несимметрии напряжений по нулевой последовательности K0U",
                                        "нет данных"}));

    // The max-load row of L1 in the page's column order, rounded as the page
    // rounds: 3.125 shows as 3,12. The limits follow.
    EXPECT_EQ(RowOf(parts.at("xl/worksheets/sheet2.xml"), "Фаза A (L1)"),
              (std::vector<std::string>{"Фаза A (L1)", "-2.5", "0", "3.12", "1.25", "-4.75", "0", "6.5", "0", "5",
                                        "10"}));
    // «Данные» holds the value as computed, with its limit and verdict.
    const std::vector<std::string> data = RowOf(parts.at("xl/worksheets/sheet3.xml"), "верхнее значение, 95 %");
    ASSERT_EQ(data.size(), 11u);
    EXPECT_EQ(data[0], "1");
    EXPECT_EQ(data[2], "du1m");
    EXPECT_EQ(data[3], "L1");
    EXPECT_EQ(data[4], "наибольших нагрузок");
    EXPECT_EQ(data[5], "");  // no order
    EXPECT_EQ(data[7], "3.125");
    EXPECT_EQ(data[9], "5");
    EXPECT_EQ(data[10], "соответствует");
}

}  // namespace
