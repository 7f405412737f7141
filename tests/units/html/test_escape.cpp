// Text for HTML and SVG.
#include <gtest/gtest.h>

#include "html/escape.h"

using namespace pq;

namespace {

TEST(HtmlText, EscapesMarkupAndWritesWhatCp1251LacksAsReferences)
{
    EXPECT_EQ(HtmlText("/data/a&b <c> \"d\".db"), "/data/a&amp;b &lt;c&gt; &quot;d&quot;.db");
    EXPECT_EQ(HtmlText(wxString::FromUTF8("Отчёт")), "\xCE\xF2\xF7\xB8\xF2");
    EXPECT_EQ(HtmlText(wxString::FromUTF8("m²≤Ω中")), "m&#178;&#8804;&#937;&#20013;");
}

}  // namespace
