// The registry of what the report judges: one row per quantity in its order,
// its keys, and every measured series once, under its own quantity.
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "model/day_plan.h"
#include "model/quantity_registry.h"

using namespace pq;

namespace {

TEST(QuantityRegistry, OneRowPerQuantityInOrderWithItsKeys)
{
    // The keys of report.json and fleet.json.
    const std::vector<std::string> keys{"voltage_deviation", "frequency_deviation", "distortion",
                                        "harmonics",         "unbalance_negative",  "unbalance_zero"};
    const std::vector<QuantityRow>& rows = QuantityRegistry();
    ASSERT_EQ(rows.size(), keys.size());
    ASSERT_EQ(kQuantityCount, 6);
    for (int q = 0; q < kQuantityCount; ++q) {
        const Quantity quantity = static_cast<Quantity>(q);
        SCOPED_TRACE(keys[static_cast<size_t>(q)]);
        EXPECT_EQ(rows[static_cast<size_t>(q)].quantity, quantity);
        EXPECT_EQ(&RowOf(quantity), &rows[static_cast<size_t>(q)]);
        EXPECT_EQ(QuantityKey(quantity), keys[static_cast<size_t>(q)]);
        EXPECT_FALSE(rows[static_cast<size_t>(q)].series.empty());
        for (const char* text : {rows[static_cast<size_t>(q)].pageLabel, rows[static_cast<size_t>(q)].name,
                                 rows[static_cast<size_t>(q)].symbol, rows[static_cast<size_t>(q)].brief})
            EXPECT_NE(std::string(text), "");
    }
    std::set<std::string> names, symbols;
    for (const QuantityRow& row : rows) {
        names.insert(row.name);
        symbols.insert(row.symbol);
    }
    EXPECT_EQ(names.size(), rows.size());
    EXPECT_EQ(symbols.size(), rows.size());
}

TEST(QuantityRegistry, EverySeriesOnceUnderItsOwnQuantity)
{
    const struct {
        const char* table;
        Quantity quantity;
        size_t columns;
        long long perDay;  // values of one statistic's full day
        bool twoSided;
    } expected[] = {
        {"du1m", Quantity::VoltageDeviation, 3, 1440, true},
        {"u1unbalance1m", Quantity::VoltageDeviation, 1, 1440, true},
        {"ac20sdfreq", Quantity::FrequencyDeviation, 1, 4320, true},
        {"uthd3s", Quantity::HarmonicDistortion, 3, 28800, false},
        {"harm_u_L1_3s", Quantity::HarmonicCoefficients, 39, 28800 * 39LL, false},
        {"harm_u_L2_3s", Quantity::HarmonicCoefficients, 39, 28800 * 39LL, false},
        {"harm_u_L3_3s", Quantity::HarmonicCoefficients, 39, 28800 * 39LL, false},
        {"u2unbalance3s", Quantity::NegativeSequenceUnbalance, 1, 28800, false},
        {"u0unbalance3s", Quantity::ZeroSequenceUnbalance, 1, 28800, false},
    };
    const std::vector<MeasuredSeries>& table = MeasuredSeriesTable();
    ASSERT_EQ(table.size(), std::size(expected));
    for (size_t i = 0; i < table.size(); ++i) {
        const auto& e = expected[i];
        SCOPED_TRACE(e.table);
        EXPECT_EQ(table[i].table, e.table);
        EXPECT_EQ(table[i].quantity, e.quantity);
        EXPECT_EQ(table[i].columns.size(), e.columns);
        EXPECT_EQ(table[i].ValuesPerDay(), e.perDay);
        EXPECT_EQ(table[i].twoSided, e.twoSided);
        // Found by its table, as the one row of the table.
        EXPECT_EQ(&SeriesOf(e.table), &table[i]);
        // Its quantity's row holds it, and no other row does.
        for (const QuantityRow& row : QuantityRegistry()) {
            int held = 0;
            for (const MeasuredSeries& s : row.series)
                held += s.table == e.table;
            EXPECT_EQ(held, row.quantity == e.quantity ? 1 : 0) << row.key;
        }
    }
    EXPECT_EQ(SeriesOf("harm_u_L2_3s").columns.front(), "H2");
    EXPECT_EQ(SeriesOf("harm_u_L2_3s").columns.back(), "H40");
    EXPECT_EQ(SeriesOf("du1m").columns, (std::vector<std::string>{"L1", "L2", "L3"}));
    EXPECT_EQ(SeriesOf("ac20sdfreq").columns, std::vector<std::string>{"Value"});
    // The day plan evaluates the registry's own series.
    for (const DayStatistic& s : DayPlan())
        EXPECT_EQ(s.series, &SeriesOf(s.table()));
}

TEST(QuantityRegistry, SeriesOfAnUnknownTableThrows)
{
    for (const char* table : {"", "du1m ", "DU1M", "harm_u_L4_3s", "Base"})
        EXPECT_THROW(SeriesOf(table), std::out_of_range) << "'" << table << "'";
}

}  // namespace
