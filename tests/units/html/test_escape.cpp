// Text for HTML and SVG.
#include <string>

#include <gtest/gtest.h>

#include "html/escape.h"

using namespace pq;

namespace {

TEST(EscapeHtml, MarkupCharactersAsReferencesAndEveryOtherByteAsItIs)
{
    const struct {
        std::string text, html;
    } cases[] = {
        {"", ""},
        {"a&b <c> \"d\" 'e'", "a&amp;b &lt;c&gt; &quot;d&quot; 'e'"},
        {"&amp;", "&amp;amp;"},  // text, not markup: escaped again
        {"<<>>", "&lt;&lt;&gt;&gt;"},
        {"\xCE\xF2\xF7\xB8\xF2", "\xCE\xF2\xF7\xB8\xF2"},  // CP1251
        {"Отчёт ≤ 5", "Отчёт ≤ 5"},                          // UTF-8
        {std::string("a\0<b", 4), std::string("a\0&lt;b", 7)},
    };
    for (const auto& c : cases)
        EXPECT_EQ(EscapeHtml(c.text), c.html) << c.text;
}

TEST(HtmlText, EscapesMarkupAndWritesWhatCp1251LacksAsReferences)
{
    EXPECT_EQ(HtmlText("/data/a&b <c> \"d\".db"), "/data/a&amp;b &lt;c&gt; &quot;d&quot;.db");
    EXPECT_EQ(HtmlText(wxString::FromUTF8("Отчёт")), "\xCE\xF2\xF7\xB8\xF2");
    EXPECT_EQ(HtmlText(wxString::FromUTF8("m²≤Ω中")), "m&#178;&#8804;&#937;&#20013;");
}

}  // namespace
