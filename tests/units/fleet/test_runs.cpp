// The fleet's pieces of a run's outcome that need no run: GNU parallel's job
// log, the outcome of a run from its output, the logs' names.
#include <map>
#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "fleet/runs.h"
#include "tests/run/support.h"

using namespace pq;
using namespace pqrun;
using namespace std::string_literals;

namespace {

TEST(FleetJobLog, TheLastRecordOfEachJobCounts)
{
    // As GNU parallel writes it, then appends under --resume-failed; a newline
    // in an argument is recorded as a NUL byte.
    const std::string log = "Seq\tHost\tStarttime\tJobRuntime\tSend\tReceive\tExitval\tSignal\tCommand\n"
                            "1\t:\t1700000000.1\t     1.5\t0\t4\t1\t0\tpqreport /a.xml\n"
                            "2\tnode-b\t1700000000.2\t     2.0\t0\t4\t0\t0\tpqreport '/b\0c.xml'\n"
                            "3\t:\t1700000000.3\t     0.5\t0\t0\t-1\t15\tpqreport '/tab\there.xml'\n"
                            "not a record\n"
                            "1\tnode-a\t1700000009.0\t     1.2\t0\t4\t0\t0\tpqreport /a.xml\n"s;
    const std::map<int, JobRecord> records = ParseJobLog(log);
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records.at(1).exitStatus, 0);
    EXPECT_EQ(records.at(1).host, "node-a");
    EXPECT_EQ(records.at(2).host, "node-b");
    EXPECT_EQ(records.at(3).signal, 15);
}

TEST(FleetOutcome, OkOrTheLineThatSaysWhyNot)
{
    const JobRecord exited1{":", 1.0, 1, 0}, exited0{":", 1.0, 0, 0}, killed{":", 1.0, -1, 15};
    struct Case {
        const char* what;
        std::optional<JobRecord> record;
        std::string out, err;
        bool ok;
        std::string text;
    };
    const Case cases[] = {
        {"ok", exited0, "ok!\n", "10:00:00: Day number 1 of 1.\n", true, "ok!"},
        {"no record", std::nullopt, "", "10:00:00: Day number 1 of 1.\n", false,
         "did not end: interrupted, or not started"},
        {"a signal", killed, "", "10:00:00: Day number 1 of 1.\n", false, "ended by signal 15"},
        {"the last Error: line, without its stamp", exited1, "",
         "10:00:00: Error: first\n10:00:01: Error: Cannot write the result document /o/report.json: No space\n"
         "10:00:01: Ini file problem!\n\n",
         false, "Error: Cannot write the result document /o/report.json: No space"},
        {"no Error: line: the last line", exited1, "",
         "10:00:00: Command line parsed successfully:\nInput files: /a.xml \n"
         "10:00:00: InitDB14:unable to open database file[14]: unable to open database file\n",
         false, "InitDB14:unable to open database file[14]: unable to open database file"},
        {"a CP1251 line", exited1, "", "10:00:00: Error: " + Cp1251("нет файла") + "\n", false,
         "Error: нет файла"},
        {"exit 0 without ok!", exited0, "", "", false, "exit status 0 without \"ok!\""},
        {"nothing written", exited1, "", "", false, "exit status 1 without \"ok!\""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const RunOutcome o = OutcomeOf(c.record, c.out, c.err);
        EXPECT_EQ(o.ok, c.ok);
        EXPECT_EQ(o.text, c.text);
    }
}

TEST(FleetLogNames, TellTheDocumentAndStayOneFileName)
{
    EXPECT_EQ(LogName(3, "/data/site1/week.xml"), "3-site1-week");
    EXPECT_EQ(LogName(1, "/data/Объект 1/a'b$c.xml"), "1-Объект_1-a_b_c");
    EXPECT_EQ(LogName(12, "/x.xml"), "12-x");
    // A long name is cut before a character that would not fit whole.
    EXPECT_EQ(LogName(1, "/d/" + std::string(97, 'a') + "жb.xml"), "1-d-" + std::string(97, 'a'));
}

}  // namespace
