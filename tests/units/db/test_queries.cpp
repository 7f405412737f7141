// The SQL text of every query shape and window.
#include <gtest/gtest.h>

#include "db/queries.h"
#include "tests/units/fixtures.h"

using namespace pq;

namespace {

const std::string S = "2011-03-01 00:00:00", E = "2011-03-02 00:00:00";
const std::string B0 = "2011-03-01 08:00:00", E0 = "2011-03-01 20:00:00";
const std::string B1 = "2011-03-01 21:00:00", E1 = "2011-03-01 22:30:00";

std::string Range(const std::string& from, const std::string& to)
{
    return "(Base.DateTimeMQV>='" + from + "' AND Base.DateTimeMQV<'" + to + "')";
}

TEST(QueryText, CompleteExamples)
{
    const DateTimeList begins{At(1, 8)}, ends{At(1, 20)};
    EXPECT_EQ(BuildQuery(QueryShape::Count, "du1m", "L1", MaxLoadWindow(At(1), At(2), begins, ends)),
              "SELECT COUNT(du1m.L1) FROM Base LEFT JOIN du1m ON du1m.Base_id=Base.Base_id WHERE "
              "du1m.L1 is NOT NULL AND ((Base.DateTimeMQV>='2011-03-01 00:00:00' AND "
              "Base.DateTimeMQV<'2011-03-02 00:00:00') AND ( (Base.DateTimeMQV>='2011-03-01 08:00:00' "
              "AND Base.DateTimeMQV<'2011-03-01 20:00:00')  ));");
    EXPECT_EQ(BuildQuery(QueryShape::Ordered, "du1m", "L1", MinLoadWindow(At(1), At(2), begins, ends)),
              "SELECT du1m.L1 from Base LEFT JOIN du1m on du1m.Base_id=Base.Base_id WHERE du1m.L1 is "
              "NOT NULL AND ((Base.DateTimeMQV>='2011-03-01 00:00:00' AND "
              "Base.DateTimeMQV<'2011-03-01 08:00:00') OR (Base.DateTimeMQV>='2011-03-01 20:00:00' AND "
              "Base.DateTimeMQV<'2011-03-02 00:00:00') ) ORDER BY du1m.L1 ASC;");
}

TEST(QueryText, HeadsOfEveryShapeAndColumn)
{
    const Window day = WholeDayWindow(At(1), At(2));
    const std::string where = " is NOT NULL AND (" + Range(S, E) + ");";
    struct Case {
        QueryShape shape;
        std::string table, column, expected;
    } cases[] = {
        {QueryShape::Count, "uthd3s", PhaseColumn(2),
         "SELECT COUNT(uthd3s.L3) FROM Base LEFT JOIN uthd3s ON uthd3s.Base_id=Base.Base_id WHERE uthd3s.L3" + where},
        {QueryShape::Count, "ac20sdfreq", ValueColumn,
         "SELECT COUNT(ac20sdfreq.Value) FROM Base LEFT JOIN ac20sdfreq ON ac20sdfreq.Base_id=Base.Base_id WHERE ac20sdfreq.Value" + where},
        {QueryShape::Count, "harm_u_L2_3s", HarmonicColumn(17),
         "SELECT COUNT(harm_u_L2_3s.H17) FROM Base LEFT JOIN harm_u_L2_3s ON harm_u_L2_3s.Base_id=Base.Base_id WHERE harm_u_L2_3s.H17" + where},
        {QueryShape::Ordered, "u0unbalance3s", ValueColumn,
         "SELECT u0unbalance3s.Value from Base LEFT JOIN u0unbalance3s on u0unbalance3s.Base_id=Base.Base_id WHERE u0unbalance3s.Value is NOT NULL AND (" + Range(S, E) + ") ORDER BY u0unbalance3s.Value ASC;"},
        {QueryShape::Ordered, "harm_u_L1_3s", HarmonicColumn(40),
         "SELECT harm_u_L1_3s.H40 from Base LEFT JOIN harm_u_L1_3s on harm_u_L1_3s.Base_id=Base.Base_id WHERE harm_u_L1_3s.H40 is NOT NULL AND (" + Range(S, E) + ") ORDER BY harm_u_L1_3s.H40 ASC;"},
        {QueryShape::Minimum, "du1m", PhaseColumn(1),
         "SELECT MIN(du1m.L2) FROM Base LEFT JOIN du1m ON du1m.Base_id=Base.Base_id WHERE du1m.L2" + where},
        {QueryShape::Maximum, "ac20sdfreq", ValueColumn,
         "SELECT MAX(ac20sdfreq.Value) FROM Base LEFT JOIN ac20sdfreq ON ac20sdfreq.Base_id=Base.Base_id WHERE ac20sdfreq.Value" + where},
    };
    for (const Case& c : cases)
        EXPECT_EQ(BuildQuery(c.shape, c.table, c.column, day), c.expected);
}

TEST(QueryText, MaxLoadWindowWithZeroOneAndTwoPeriods)
{
    const std::string head = "SELECT COUNT(du1m.L1) FROM Base LEFT JOIN du1m ON du1m.Base_id=Base.Base_id "
                             "WHERE du1m.L1 is NOT NULL AND (" + Range(S, E);
    EXPECT_EQ(BuildQuery(QueryShape::Count, "du1m", "L1", MaxLoadWindow(At(1), At(2), {}, {})), head + ");");
    EXPECT_EQ(BuildQuery(QueryShape::Count, "du1m", "L1",
                         MaxLoadWindow(At(1), At(2), {At(1, 8)}, {At(1, 20)})),
              head + " AND ( " + Range(B0, E0) + "  ));");
    EXPECT_EQ(BuildQuery(QueryShape::Count, "du1m", "L1",
                         MaxLoadWindow(At(1), At(2), {At(1, 8), At(1, 21)}, {At(1, 20), At(1, 22, 30)})),
              head + " AND ( " + Range(B0, E0) + "  OR " + Range(B1, E1) + "  ));");
}

TEST(QueryText, MinLoadWindowWithOneAndTwoPeriods)
{
    const std::string head = "SELECT COUNT(du1m.L1) FROM Base LEFT JOIN du1m ON du1m.Base_id=Base.Base_id "
                             "WHERE du1m.L1 is NOT NULL AND (";
    EXPECT_EQ(BuildQuery(QueryShape::Count, "du1m", "L1",
                         MinLoadWindow(At(1), At(2), {At(1, 8)}, {At(1, 20)})),
              head + Range(S, B0) + " OR " + Range(E0, E) + " );");
    EXPECT_EQ(BuildQuery(QueryShape::Count, "du1m", "L1",
                         MinLoadWindow(At(1), At(2), {At(1, 8), At(1, 21)}, {At(1, 20), At(1, 22, 30)})),
              head + Range(S, B0) + " OR " + Range(E0, B1) + "  OR " + Range(E1, E) + " );");
}

}  // namespace
