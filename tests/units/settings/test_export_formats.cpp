// The export words of the settings.
#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "settings/export_formats.h"

using namespace pq;

namespace {

TEST(ExportFormats, WordsSeparatedByBlanksOrCommas)
{
    const struct {
        const char* list;
        bool json, xlsx, pdf;
        const char* unknown;  // nullptr: accepted
    } cases[] = {
        {"", false, false, false, nullptr},
        {" ,\t, ", false, false, false, nullptr},
        {"json", true, false, false, nullptr},
        {" json ,json\n", true, false, false, nullptr},
        {"xlsx", false, true, false, nullptr},
        {"json xlsx", true, true, false, nullptr},
        {"xlsx,json", true, true, false, nullptr},
        {"pdf", false, false, true, nullptr},
        {"json xlsx pdf", true, true, true, nullptr},
        {"PDF", false, false, false, "PDF"},
        {"xml", false, false, false, "xml"},
        {"json,xml json", false, false, false, "xml"},
        {"JSON", false, false, false, "JSON"},
        {"XLSX", false, false, false, "XLSX"},
        {"jsonx", false, false, false, "jsonx"},
        {"xls", false, false, false, "xls"},
        {"json;", false, false, false, "json;"},
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
            EXPECT_EQ(formats->pdf, c.pdf) << c.list;
        }
    }
    EXPECT_EQ(KnownExportWords(), "json, xlsx, pdf");
}

}  // namespace
