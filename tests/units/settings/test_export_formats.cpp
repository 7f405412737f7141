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

}  // namespace
