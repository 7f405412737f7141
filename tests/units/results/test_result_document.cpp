// The result document written from an evaluated report built in memory, read
// back as JSON: the values as the statistics computed them, null where one
// found none, the limits as the page writes them, the verdicts, the
// warnings, the standard and the inputs.
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "results/result_document.h"
#include "standard/gost_13109_97.h"
#include "tests/units/results/sample_report.h"

using namespace pq;
using Json = nlohmann::json;

namespace {

class ResultDocumentTest : public testing::Test {
protected:
    void SetUp() override
    {
        text = ResultDocument(SampleHeader(), SampleReport(), Gost13109(), SampleProvenance(), warnings);
        doc = Json::parse(text);
    }

    const std::vector<std::string> warnings{"Input is incomplete!",
                                            "Warning: du1m.L1: 2 values are not finite numbers and count as 0.",
                                            "Warning: «ё» 100 %"};
    std::string text;
    Json doc;
};

TEST_F(ResultDocumentTest, TheDocumentAndItsInputs)
{
    EXPECT_EQ(text.back(), '\n');
    EXPECT_EQ(doc["format"], "pqreport-result");
    EXPECT_EQ(doc["format_version"], 2);
    // What the database cannot give, named for programs.
    Json notAssessed = Json::array();
    for (const char* key : {"flicker", "dips", "swells", "interruptions", "impulses"})
        notAssessed.push_back(key);
    Json keys = Json::array();
    for (const Json& i : doc["not_assessed"])
        keys.push_back(i.at("key"));
    EXPECT_EQ(keys, notAssessed);
    EXPECT_EQ(doc["not_assessed"][0]["name"], "доза фликера");
    EXPECT_EQ(doc["program"], (Json{{"name", "pqreport"}, {"version", "1.3.0"}}));
    EXPECT_EQ(doc["standard"], "ГОСТ 13109-97");
    EXPECT_EQ(doc["voltage_class"], 2);
    EXPECT_EQ(doc["period"], (Json{{"begin", "2011-03-01T00:00:00"}, {"end", "2011-03-02T00:00:00"}, {"days", 1}}));
    EXPECT_EQ(doc["settings_texts"], (Json{{"att_Header_0", "Подстанция 7"}, {"n_Dayes", "1"}}));
    EXPECT_EQ(doc["inputs"]["database"],
              (Json{{"path", "/data/site/m.db"}, {"bytes", 1048576}, {"sha256", std::string(64, 'b')}}));
    EXPECT_EQ(doc["inputs"]["title_template"]["path"], "/opt/pq/Title.htm");
    EXPECT_TRUE(doc["inputs"]["wal"].is_null());
    EXPECT_EQ(doc["warnings"], Json(warnings));
}

TEST_F(ResultDocumentTest, StatisticsWithTheirValuesAndLimits)
{
    const Json& day = doc["days"].at(0);
    EXPECT_EQ(day["day"], 1);
    EXPECT_EQ(day["max_load_periods"], (Json::array({{{"begin", "2011-03-01T08:00:00"}, {"end", "2011-03-01T20:00:00"}}})));
    const Json& statistics = day["statistics"];
    ASSERT_EQ(statistics.size(), 21u);
    // The values as computed (the page shows 3,12 for 3.125), the two-sided
    // limits as [-n, n].
    EXPECT_EQ(statistics[sample::kMaxLoadL1],
              (Json{{"quantity", "voltage_deviation"}, {"table", "du1m"}, {"column", "L1"}, {"phase", "L1"},
                    {"regime", "max_load"}, {"unit", "%"}, {"count", 720}, {"not_finite", 0},
                    {"verdict", "complies"}, {"lower_95", -2.5}, {"upper_95", 3.125}, {"min", -4.75},
                    {"max", 6.5}, {"share_below_normal", 0}, {"share_above_normal", 1.25},
                    {"share_below_max", 0}, {"share_above_max", 0},
                    {"limits", {{"normal", {-5, 5}}, {"max", {-10, 10}}}}}));
    // A statistic that found no value: null, not the page's 0,00.
    const Json& empty = statistics[sample::kMaxLoadL2];
    for (const char* name : {"lower_95", "upper_95", "min", "max", "share_below_normal", "share_above_normal",
                             "share_below_max", "share_above_max"})
        EXPECT_TRUE(empty[name].is_null()) << name;
    EXPECT_EQ(empty["verdict"], "no_data");
    EXPECT_EQ(empty["count"], 0);
    EXPECT_EQ(empty["limits"]["normal"], (Json{-5, 5}));
    EXPECT_EQ(statistics[9]["column"], "Value");  // the single series at max load
    EXPECT_TRUE(statistics[9]["phase"].is_null());

    // One-sided: four values, upper limits.
    EXPECT_EQ(statistics[sample::kThdL1],
              (Json{{"quantity", "distortion"}, {"table", "uthd3s"}, {"column", "L1"}, {"phase", "L1"},
                    {"regime", "day"}, {"unit", "%"}, {"count", 28800}, {"not_finite", 0},
                    {"verdict", "complies"}, {"value_95", 3.5}, {"max", 5.5}, {"share_above_normal", 5},
                    {"share_above_max", 0}, {"limits", {{"normal", 4}, {"max", 6}}}}));
    const Json& zero = statistics[sample::kZeroSequence];
    EXPECT_EQ(zero["quantity"], "unbalance_zero");
    EXPECT_TRUE(zero["value_95"].is_null());
    EXPECT_TRUE(zero["share_above_max"].is_null());
    EXPECT_EQ(zero["verdict"], "no_data");

    const Json& frequency = statistics[sample::kFrequency];
    EXPECT_EQ(frequency["unit"], "Hz");
    EXPECT_EQ(frequency["verdict"], "does_not_comply");
    EXPECT_EQ(frequency["max"], 0.45);
    EXPECT_EQ(frequency["limits"], (Json{{"normal", {-0.2, 0.2}}, {"max", {-0.4, 0.4}}}));
}

TEST_F(ResultDocumentTest, HarmonicOrdersWithLimitsToSixDecimals)
{
    const Json& h = doc["days"][0]["statistics"][sample::kHarmonicsL1];
    EXPECT_TRUE(h["column"].is_null());
    EXPECT_EQ(h["phase"], "L1");
    EXPECT_FALSE(h.contains("value_95"));
    EXPECT_FALSE(h.contains("limits"));
    const Json& orders = h["orders"];
    ASSERT_EQ(orders.size(), 39u);
    EXPECT_EQ(orders[0]["order"], 2);
    // Order 3 at 35 kV: half of 3 %, and 1.5 times that.
    EXPECT_EQ(orders[1], (Json{{"order", 3}, {"value_95", 0.5}, {"max", 1.25}, {"share_above_normal", 0},
                               {"share_above_max", 0}, {"limits", {{"normal", 1.5}, {"max", 2.25}}}}));
    // Order 29: 0.2 + 15 / 29 = 0.7172413..., its maximum 1.0758620...
    EXPECT_EQ(orders[27]["order"], 29);
    EXPECT_EQ(orders[27]["limits"], (Json{{"normal", 0.717241}, {"max", 1.075862}}));
    EXPECT_EQ(orders[38]["order"], 40);
}

TEST_F(ResultDocumentTest, VerdictsCompletenessAndExtremes)
{
    const Json verdicts{{"voltage_deviation", "complies"},  {"frequency_deviation", "does_not_comply"},
                        {"distortion", "complies"},         {"harmonics", "complies"},
                        {"unbalance_negative", "complies"}, {"unbalance_zero", "no_data"}};
    EXPECT_EQ(doc["days"][0]["verdicts"], verdicts);
    EXPECT_EQ(doc["summary"]["verdicts"], verdicts);
    // Values that are no finite numbers were not measured.
    const Json row{{"series", "du1m.L1"}, {"present", 1436}, {"expected", 1440}};
    EXPECT_EQ(doc["days"][0]["completeness"].at(0), row);
    EXPECT_EQ(doc["summary"]["completeness"].at(0), row);
    EXPECT_EQ(doc["summary"]["frequency"], (Json{{"min", 49.75}, {"max", 50.45}}));
    EXPECT_EQ(doc["summary"]["voltage"], (Json{{"min", nullptr}, {"max", nullptr}}));
}

}  // namespace
