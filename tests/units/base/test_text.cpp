// CP1251 texts from the UTF-8 of the sources.
#include <gtest/gtest.h>

#include "base/text.h"

using namespace pq;

namespace {

TEST(CodePage, ConvertsCyrillicAndRefusesWhatCp1251Lacks)
{
    EXPECT_EQ(Cp("Т Вирс"), "\xD2 \xC2\xE8\xF0\xF1");
    EXPECT_EQ(Cp("№ ±"), "\xB9 \xB1");
    EXPECT_EQ(Cp("a≤b"), "");   // U+2264 is not in CP1251
    EXPECT_EQ(Cp("\xC3\x28"), "");  // not UTF-8
}

}  // namespace
