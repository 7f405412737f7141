// Checks of the sample database maker on small one-day databases.
#include <sqlite3.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <regex>
#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tools/sample_db.h"

namespace {

using sampledb::Options;

std::string TempDir()
{
    static const std::string dir = [] {
        char pattern[] = "/tmp/sample_db_test.XXXXXX";
        const char* made = mkdtemp(pattern);
        if (!made)
            throw std::runtime_error("mkdtemp failed");
        return std::string(made);
    }();
    return dir;
}

// Removes the databases after the run.
class RemoveTempDir : public testing::Environment {
public:
    void TearDown() override { std::filesystem::remove_all(TempDir()); }
};
testing::Environment* const kCleanup = testing::AddGlobalTestEnvironment(new RemoveTempDir);

// Writes a one-day database under `name` with the given extra arguments.
std::string Make(const std::string& name, std::vector<std::string> args)
{
    Options o;
    bool help = false;
    const std::string path = TempDir() + "/" + name + ".db";
    args.insert(args.begin(), {"--days", "1", "--force", "-o", path});
    const std::string error = sampledb::ParseOptions(args, o, &help);
    if (!error.empty())
        throw std::runtime_error(error);
    sampledb::WriteSampleDatabase(o);
    return path;
}

// A read-only connection. It owns the handle, so it is not copied.
class Db {
public:
    explicit Db(const std::string& path)
    {
        if (sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK)
            throw std::runtime_error("cannot open " + path);
    }
    ~Db() { sqlite3_close(db_); }
    Db(const Db&) = delete;
    Db& operator=(const Db&) = delete;

    // Every row of the query, each column as text ("NULL" for NULL).
    std::vector<std::vector<std::string>> Rows(const std::string& sql) const
    {
        sqlite3_stmt* st = nullptr;
        if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &st, nullptr) != SQLITE_OK)
            throw std::runtime_error(sql + ": " + sqlite3_errmsg(db_));
        std::vector<std::vector<std::string>> rows;
        while (sqlite3_step(st) == SQLITE_ROW) {
            std::vector<std::string> row;
            for (int c = 0; c < sqlite3_column_count(st); ++c) {
                const auto* text = sqlite3_column_text(st, c);
                row.push_back(text ? reinterpret_cast<const char*>(text) : "NULL");
            }
            rows.push_back(std::move(row));
        }
        sqlite3_finalize(st);
        return rows;
    }

    double Number(const std::string& sql) const { return std::atof(Rows(sql).at(0).at(0).c_str()); }

    // FNV-1a over every row of every table, in Base_id order.
    uint64_t Digest() const
    {
        uint64_t h = 1469598103934665603ULL;
        for (const auto& table : Rows("SELECT name FROM sqlite_master WHERE type='table' ORDER BY name"))
            for (const auto& row : Rows("SELECT * FROM " + table[0] + " ORDER BY Base_id"))
                for (const std::string& cell : row)
                    for (char c : cell + "|")
                        h = (h ^ static_cast<unsigned char>(c)) * 1099511628211ULL;
        return h;
    }

private:
    sqlite3* db_ = nullptr;
};

struct TableShape {
    const char* name;
    int firstColumns;     // L1..L3 (3), Value (1), H2..H50 (49)
    int cadenceSeconds;   // 60, 3 or 20
    long long fullDay;    // rows of a full-density day
};

const TableShape kTables[] = {
    {"du1m", 3, 60, 1440},          {"u1unbalance1m", 1, 60, 1440}, {"uthd3s", 3, 3, 28800},
    {"u0unbalance3s", 1, 3, 28800}, {"u2unbalance3s", 1, 3, 28800}, {"ac20sdfreq", 1, 20, 4320},
    {"harm_u_L1_3s", 49, 3, 28800}, {"harm_u_L2_3s", 49, 3, 28800}, {"harm_u_L3_3s", 49, 3, 28800},
};

// One day at density 0.2 with a sag, shared by the tests below.
class SmallDatabase : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        path_ = Make("small", {"--density", "0.2", "--sag-day", "1", "--seed", "7", "--start",
                               "2011-03-01 00:00:00"});
    }
    static std::string path_;
};
std::string SmallDatabase::path_;

TEST_F(SmallDatabase, HasTheLoggerSchema)
{
    const Db db(path_);
    EXPECT_EQ(db.Rows("PRAGMA table_info(Base)"),
              (std::vector<std::vector<std::string>>{{"0", "Base_id", "INTEGER", "0", "NULL", "1"},
                                                     {"1", "DateTimeMQV", "TEXT", "0", "NULL", "0"}}));
    EXPECT_EQ(db.Rows("SELECT COUNT(*) FROM pragma_index_info((SELECT name FROM sqlite_master WHERE "
                      "type='index' AND tbl_name='Base')) WHERE name='DateTimeMQV'")[0][0],
              "1");
    for (const TableShape& t : kTables) {
        const auto columns = db.Rows(std::string("SELECT name, type, pk FROM pragma_table_info('") + t.name + "')");
        ASSERT_EQ(columns.size(), static_cast<size_t>(t.firstColumns) + 1) << t.name;
        EXPECT_EQ(columns[0], (std::vector<std::string>{"Base_id", "INTEGER", "1"})) << t.name;
        for (int c = 1; c <= t.firstColumns; ++c) {
            const std::string expected = t.firstColumns == 1 ? "Value"
                                         : t.firstColumns == 3 ? "L" + std::to_string(c)
                                                               : "H" + std::to_string(c + 1);
            EXPECT_EQ(columns[c][0], expected) << t.name;
            EXPECT_EQ(columns[c][1], "REAL") << t.name;
        }
    }
}

TEST_F(SmallDatabase, RowCountsFollowTheDensityAndTheCadence)
{
    const Db db(path_);
    std::string everyId;
    for (const TableShape& t : kTables) {
        // 0.2 keeps every fifth sample of each series.
        EXPECT_EQ(db.Number(std::string("SELECT COUNT(*) FROM ") + t.name), t.fullDay / 5) << t.name;
        EXPECT_EQ(sampledb::KeptPerDay(t.fullDay, 0.2), t.fullDay / 5);
        // Rows only on their own grid, each pointing at a Base row.
        EXPECT_EQ(db.Number(std::string("SELECT COUNT(*) FROM ") + t.name +
                            " LEFT JOIN Base USING(Base_id) WHERE Base.DateTimeMQV IS NULL OR "
                            "CAST(substr(DateTimeMQV, 15, 2) * 60 + substr(DateTimeMQV, 18, 2) AS INTEGER) % " +
                            std::to_string(t.cadenceSeconds) + " != 0"),
                  0)
            << t.name;
        everyId += (everyId.empty() ? "SELECT Base_id FROM " : " UNION SELECT Base_id FROM ") + std::string(t.name);
    }
    // Base holds exactly the instants at which some table has a row.
    EXPECT_EQ(db.Number("SELECT COUNT(*) FROM Base"), db.Number("SELECT COUNT(*) FROM (" + everyId + ")"));
}

TEST_F(SmallDatabase, StampsHaveTheFixedFormAndRiseWithTheId)
{
    const Db db(path_);
    const auto rows = db.Rows("SELECT Base_id, DateTimeMQV FROM Base ORDER BY Base_id");
    ASSERT_FALSE(rows.empty());
    const std::regex form(R"(2011-03-01 ([01]\d|2[0-3]):[0-5]\d:[0-5]\d)");
    for (size_t i = 0; i < rows.size(); ++i) {
        ASSERT_TRUE(std::regex_match(rows[i][1], form)) << rows[i][1];
        const int seconds = std::stoi(rows[i][1].substr(17, 2));
        EXPECT_TRUE(seconds % 3 == 0 || seconds % 20 == 0) << rows[i][1];
        if (i > 0) {
            EXPECT_EQ(std::stoll(rows[i][0]), std::stoll(rows[i - 1][0]) + 1);
            EXPECT_LT(rows[i - 1][1], rows[i][1]);
        }
    }
}

TEST_F(SmallDatabase, SagDayFallsBelowTheMaximumAndNormalLimits)
{
    const Db db(path_);
    EXPECT_LT(db.Number("SELECT MIN(MIN(L1, L2, L3)) FROM du1m"), -10);
    EXPECT_LT(db.Number("SELECT MIN(Value) FROM u1unbalance1m"), -10);
    for (const char* column : {"L1", "L2", "L3"})
        EXPECT_GT(db.Number(std::string("SELECT AVG(") + column + " < -5) FROM du1m"), 0.05) << column;
}

struct LevelCase {
    const char* name;
    std::vector<std::string> args;
    double thdNormal, thdMaximum;
    bool thdFault;
};

class Levels : public testing::TestWithParam<LevelCase> {};

// A normal day complies with the limits of its class; a THD day breaks both
// THD limits of its class and nothing else.
TEST_P(Levels, FollowTheLimitsOfTheClass)
{
    const LevelCase& c = GetParam();
    std::vector<std::string> args = c.args;
    args.insert(args.end(), {"--density", "0.05"});
    const Db db(Make(c.name, args));
    const double thdShare = db.Number("SELECT AVG(MAX(L1, L2, L3) > " + std::to_string(c.thdNormal) + ") FROM uthd3s");
    const double thdMax = db.Number("SELECT MAX(MAX(L1, L2, L3)) FROM uthd3s");
    if (c.thdFault) {
        EXPECT_GT(thdShare, 0.05);
        EXPECT_GT(thdMax, c.thdMaximum);
    } else {
        EXPECT_EQ(thdShare, 0);
        EXPECT_GT(thdMax, 0.2 * c.thdNormal);
    }
    EXPECT_LT(db.Number("SELECT MAX(MAX(ABS(L1), ABS(L2), ABS(L3))) FROM du1m"), 5);
    EXPECT_LT(db.Number("SELECT MAX(ABS(Value)) FROM ac20sdfreq"), 0.2);
    EXPECT_GT(db.Number("SELECT MAX(ABS(Value)) FROM ac20sdfreq"), 0.02);
    for (const char* t : {"u0unbalance3s", "u2unbalance3s"})
        EXPECT_LT(db.Number(std::string("SELECT MAX(Value) FROM ") + t), 2) << t;
    // The 5th harmonic leads, odd orders above even ones.
    EXPECT_GT(db.Number("SELECT AVG(H5) FROM harm_u_L1_3s"), db.Number("SELECT AVG(H7) FROM harm_u_L1_3s"));
    EXPECT_GT(db.Number("SELECT AVG(H3) FROM harm_u_L1_3s"), 4 * db.Number("SELECT AVG(H4) FROM harm_u_L1_3s"));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Levels,
    testing::Values(LevelCase{"class0", {"--class", "0"}, 8, 12, false},
                    LevelCase{"class3", {"--class", "3"}, 2, 3, false},
                    LevelCase{"class0_thd", {"--class", "0", "--thd-day", "1"}, 8, 12, true},
                    LevelCase{"class2_thd", {"--class", "2", "--thd-day", "1"}, 4, 6, true}),
    [](const testing::TestParamInfo<LevelCase>& caseInfo) { return std::string(caseInfo.param.name); });

TEST(SampleDatabase, SameSeedSameContentAndKeptValuesIndependentOfDensity)
{
    const std::string sparse = Make("seed5a", {"--seed", "5", "--density", "0.05"});
    const uint64_t a = Db(sparse).Digest();
    EXPECT_EQ(Db(Make("seed5b", {"--seed", "5", "--density", "0.05"})).Digest(), a);
    EXPECT_NE(Db(Make("seed6", {"--seed", "6", "--density", "0.05"})).Digest(), a);

    // Every 20th sample (0.05) is among every 10th (0.1), with equal values.
    const std::string dense = Make("dense", {"--seed", "5", "--density", "0.1"});
    const auto sparseRows =
        Db(sparse).Rows("SELECT DateTimeMQV, H5, H40 FROM Base JOIN harm_u_L2_3s USING(Base_id)");
    const auto denseRows = Db(dense).Rows(
        "SELECT DateTimeMQV, H5, H40 FROM Base JOIN harm_u_L2_3s USING(Base_id) WHERE "
        "CAST(substr(DateTimeMQV, 15, 2) * 60 + substr(DateTimeMQV, 18, 2) AS INTEGER) % 60 = 57");
    ASSERT_EQ(sparseRows.size(), 1440u);
    EXPECT_EQ(sparseRows, denseRows);
}

TEST(SampleDatabase, MissingMinutesAndNulls)
{
    const Db db(Make("gaps", {"--density", "0.1", "--missing-minutes", "120", "--missing-day", "1", "--null-values"}));
    EXPECT_EQ(db.Number("SELECT COUNT(*) FROM Base WHERE DateTimeMQV >= '2011-03-01 10:00:00' AND "
                        "DateTimeMQV < '2011-03-01 12:00:00'"),
              0);
    EXPECT_GT(db.Number("SELECT COUNT(*) FROM Base WHERE DateTimeMQV >= '2011-03-01 09:59:00' AND "
                        "DateTimeMQV < '2011-03-01 10:00:00'"),
              0);
    EXPECT_EQ(db.Number("SELECT COUNT(*) FROM du1m"), 144 - 12);
    EXPECT_EQ(db.Number("SELECT COUNT(*) FROM uthd3s"), 2880 - 240);
    // About 0.2 % of the cells are NULL.
    const double nullShare = db.Number("SELECT AVG(H7 IS NULL) FROM harm_u_L1_3s");
    EXPECT_GT(nullShare, 0.0005);
    EXPECT_LT(nullShare, 0.01);
    EXPECT_EQ(Db(Make("nonulls", {"--density", "0.05"})).Number("SELECT COUNT(*) FROM harm_u_L1_3s WHERE H7 IS NULL"), 0);
}

TEST(SampleDatabase, RejectsBadOptions)
{
    const std::vector<std::vector<std::string>> bad = {
        {},
        {"x.db", "--days", "8"},
        {"x.db", "--days", "0"},
        {"x.db", "--class", "4"},
        {"x.db", "--density", "0"},
        {"x.db", "--density", "1.5"},
        {"x.db", "--density", "half"},
        {"x.db", "--sag-day", "3", "--days", "2"},
        {"x.db", "--thd-day", "8"},
        {"x.db", "--missing-day", "2", "--days", "1"},
        {"x.db", "--start", "2011-02-30 00:00:00"},
        {"x.db", "--start", "2011-03-01 00:00:30"},
        {"x.db", "--start", "01.03.2011 00:00:00"},
        {"x.db", "--max-load", "20:00"},
        {"x.db", "--max-load", "8:00-25:00"},
        {"x.db", "--seed"},
        {"x.db", "--bogus"},
        {"x.db", "y.db"},
    };
    for (const auto& args : bad) {
        Options o;
        bool help = false;
        EXPECT_NE(sampledb::ParseOptions(args, o, &help), "") << testing::PrintToString(args);
    }
    Options o;
    bool help = false;
    ASSERT_EQ(sampledb::ParseOptions({"--days=3", "--sag-day", "3", "--max-load=7:30-21:00", "out.db"}, o, &help), "");
    EXPECT_EQ(o.output, "out.db");
    EXPECT_EQ(o.days, 3);
    EXPECT_EQ(o.sagDay, 3);
    EXPECT_EQ(o.maxLoadBegin, 7 * 60 + 30);
    EXPECT_EQ(o.maxLoadEnd, 21 * 60);
}

TEST(SampleDatabase, RefusesToOverwriteWithoutForce)
{
    const std::string path = Make("kept", {"--density", "0.05"});
    Options o;
    o.output = path;
    o.days = 1;
    o.density = 0.05;
    o.seed = 99;
    const auto before = Db(path).Rows("SELECT L1 FROM du1m");
    EXPECT_THROW(sampledb::WriteSampleDatabase(o), std::runtime_error);
    EXPECT_EQ(Db(path).Rows("SELECT L1 FROM du1m"), before);
    o.force = true;
    sampledb::WriteSampleDatabase(o);
    EXPECT_NE(Db(path).Rows("SELECT L1 FROM du1m"), before);
}

}  // namespace
