// Cutting templates at "##", cutting the sample rows out of them, and the
// numbered harmonic rows.
#include <gtest/gtest.h>

#include "html/row_engine.h"

using namespace pq;

namespace {

TEST(SplitText, PiecesAroundEverySeparator)
{
    const struct {
        const char* text;
        TextList pieces;
    } cases[] = {
        {"", {""}},
        {"##", {"", ""}},
        {"a##", {"a", ""}},
        {"##b", {"", "b"}},
        {"a####b", {"a", "", "b"}},
        {"a###b", {"a", "#b"}},
        {"no marker", {"no marker"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SplitText(c.text, "##"), c.pieces) << c.text;
}

// Pieces 0..n-1 named "p<k>", with the given pieces replaced.
TextList Pieces(size_t n, std::initializer_list<std::pair<size_t, std::string>> replaced)
{
    TextList pieces;
    for (size_t k = 0; k < n; ++k)
        pieces.push_back("p" + std::to_string(k));
    for (const auto& r : replaced)
        pieces[r.first] = r.second;
    return pieces;
}

TEST(CutPeriodRow, CutsTheInnermostRowAroundPlaceholder10)
{
    const struct {
        const char* name;
        TextList pieces;
        bool ok;
        std::string piece10, piece11;
        TextList row;
    } cases[] = {
        {"marker before the row", Pieces(12, {{10, "</td></tr>Friday<tr class=\"p\"><td>"}, {11, "</td></tr></table>"}}),
         true, "</td></tr>", "</table>", {"<tr class=\"p\"><td>", "</td></tr>"}},
        {"marker inside the row", Pieces(12, {{10, "x<tr a><td>Friday"}, {11, "</td></tr>y</tr>z"}}),
         true, "x", "y</tr>z", {"<tr a><td>", "</td></tr>"}},
        {"a whole row before the sample row", Pieces(12, {{10, "<tr a>r</tr><tr b>Friday"}, {11, "</tr>"}}),
         true, "<tr a>r</tr>", "", {"<tr b>", "</tr>"}},
        {"Friday twice", Pieces(12, {{10, "Friday<tr a>Friday"}, {11, "</tr>"}}), false,
         "Friday<tr a>Friday", "</tr>", {}},
        {"no Friday", Pieces(12, {{10, "<tr a>"}, {11, "</tr>"}}), false, "<tr a>", "</tr>", {}},
        {"<tr> without a blank", Pieces(12, {{10, "<tr>Friday"}, {11, "</tr>"}}), false, "<tr>Friday", "</tr>", {}},
        {"too few pieces", Pieces(11, {{10, "<tr a>Friday"}}), false, "<tr a>Friday", "", {}},
        {"no closing tag: the opening stays cut", Pieces(12, {{10, "x<tr a>Friday"}, {11, "y"}}), false, "x", "y",
         {"<tr a>"}},
    };
    for (const auto& c : cases) {
        TextList pieces = c.pieces;
        TextList row;
        EXPECT_EQ(CutPeriodRow(pieces, row), c.ok) << c.name;
        EXPECT_EQ(pieces[10], c.piece10) << c.name;
        if (pieces.size() > 11) {
            EXPECT_EQ(pieces[11], c.piece11) << c.name;
        }
        EXPECT_EQ(row, c.row) << c.name;
        EXPECT_EQ(pieces.size(), c.pieces.size()) << c.name;
    }
}

TEST(CutHarmonicRow, CutsSixCellsAndKeepsThePiecesInTheList)
{
    TextList pieces = Pieces(20, {{7, "</td></tr><tr h><td>Friday</td><td>"}, {13, "</td></tr></tr>tail"}});
    TextList row;
    EXPECT_TRUE(CutHarmonicRow(pieces, row, 1));
    EXPECT_EQ(row, (TextList{"<tr h><td>Friday</td><td>", "p8", "p9", "p10", "p11", "p12", "</td></tr>"}));
    EXPECT_EQ(pieces[7], "</td></tr>");
    EXPECT_EQ(pieces[8], "p8");
    EXPECT_EQ(pieces[13], "</tr>tail");

    TextList shortList = Pieces(13, {{7, "<tr h>"}, {13 - 1, "</tr>"}});
    TextList none;
    EXPECT_FALSE(CutHarmonicRow(shortList, none, 1));
    EXPECT_TRUE(none.empty());

    TextList noOpening = Pieces(20, {{7, "<tr>"}, {13, "</tr>"}});
    EXPECT_FALSE(CutHarmonicRow(noOpening, none, 1));
    EXPECT_EQ(noOpening[7], "<tr>");
    EXPECT_TRUE(none.empty());

    TextList noClosing = Pieces(20, {{7, "a<tr h>"}, {13, "x"}});
    EXPECT_FALSE(CutHarmonicRow(noClosing, none, 1));
    EXPECT_EQ(noClosing[7], "a");
    EXPECT_EQ(none.size(), 6u);
}

TEST(NumberedHarmonicRows, Rows3To40TakeTheirValues)
{
    TextList values;
    for (int i = 0; i < 234; ++i)
        values.push_back("v" + std::to_string(i));
    const TextList row{"<tr h>Friday|", "a", "b", "c", "d", "e", "</tr>"};
    const std::string rows = NumberedHarmonicRows(row, values);
    EXPECT_EQ(rows.find("<tr h>3|v6av7bv8cv9dv10ev11</tr><tr h>4|v12a"), 0u);
    EXPECT_NE(rows.find("<tr h>40|v228av229bv230cv231dv232ev233</tr>"), std::string::npos);
    EXPECT_EQ(rows.find("<tr h>41"), std::string::npos);
    EXPECT_EQ(rows.find("v5a"), std::string::npos);  // order 2 belongs to the static row

    // A row without its closing piece takes five values per row.
    const std::string open = NumberedHarmonicRows({"Friday:", "a", "b", "c", "d", "e"}, values);
    EXPECT_EQ(open.find("3:v6av7bv8cv9dv10e4:v11a"), 0u);
}

TEST(NumberedHarmonicRows, DataErrorWithoutExactlyOneMarker)
{
    const TextList values(234, "v");
    for (const TextList& row : {TextList{}, TextList{"<tr>", "</tr>"}, TextList{"FridayFriday", "</tr>"}})
        EXPECT_THROW(NumberedHarmonicRows(row, values), DataError);
    try {
        NumberedHarmonicRows({}, values);
    } catch (const DataError& e) {
        EXPECT_STREQ(e.what(), "\xCE\xF8\xE8\xE1\xEA\xE0 \xE4\xE0\xED\xED\xFB\xF5");
    }
}

}  // namespace
