// Prints, one to a line, every SQL statement that a report over the given
// period sends to the measurement database, in the order and text the
// report sends them: the connection settings, then per statistic its
// transaction, count query and the passes of its ordered value query. The
// benchmark replays the list through the sqlite3 shell as the floor that
// the report's own time is held against.
//
// It follows RunReport, EvaluateDay and SummariseRun and the passes of
// stats/ordered_sample.cpp (three passes) and stats/upper_limit.cpp (two),
// building every query with the report's own query builders.
#include <algorithm>
#include <cstdio>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include <wx/init.h>
#include <wx/xml/xml.h>

#include "db/queries.h"
#include "db/transaction.h"
#include "report/day_evaluation.h"
#include "settings/date_parsing.h"
#include "settings/header_values.h"
#include "stats/distortion.h"

namespace {

const char* const kUsage =
    "Usage: query_list DT_BEGIN DAYS CLASS PERIOD...\n"
    "       query_list --settings SETTINGS.xml\n"
    "  DT_BEGIN  start of day 1, \"dd.mm.yyyy hh:mm:ss\" as the settings' dt_begin\n"
    "  DAYS      number of days, 1..7\n"
    "  CLASS     voltage class (the settings' Unom)\n"
    "  PERIOD    max-load hours BEGIN-END of day 1, day 2, ... as the settings'\n"
    "            dt_max_load_begin_k and dt_max_load_end_k (e.g. 8:00-20:00);\n"
    "            the last one given also serves the days after it\n"
    "  --settings reads all of these from a settings document instead\n";

void Emit(const std::string& sql) { std::cout << sql << '\n'; }

// A statistic's exclusive transaction around its queries.
struct Transaction {
    Transaction() { Emit("begin exclusive transaction;"); }
    void Commit() { Emit("commit transaction;"); }
    void Rollback() { Emit("rollback transaction;"); }
};

// The count query, then `passes` runs of the ordered value query.
void OrderedSample(const std::string& table, const std::string& column, const Window& window, int passes)
{
    Emit(BuildQuery(QueryShape::Count, table, column, window));
    const std::string ordered = BuildQuery(QueryShape::Ordered, table, column, window);
    for (int i = 0; i < passes; ++i)
        Emit(ordered);
}

const int kTwoSidedPasses = 3;   // pre-scan, extraction, limit counts
const int kUpperLimitPasses = 2; // extraction, limit counts

void TwoSided(const std::string& table, const std::string& column, const Window& window)
{
    Transaction t;
    OrderedSample(table, column, window, kTwoSidedPasses);
    t.Commit();
}

void UpperLimit(const std::string& table, const std::string& column, const Window& window)
{
    Transaction t;
    OrderedSample(table, column, window, kUpperLimitPasses);
    t.Commit();
}

// EvaluateDay of day k. False where the report stops: a max-load time that
// does not parse.
bool Day(int k, const std::string& maxLoadBegin, const std::string& maxLoadEnd, int voltageClass)
{
    const wxDateTime dayStart = DayStart(k);
    const wxDateTime dayEnd = dayStart + wxDateSpan::Day();
    DateTimeList begins, ends;
    wxDateTime b = dayStart;
    if (!ParseTimeOfDay(maxLoadBegin, b))
        return false;
    begins.push_back(b);
    if (!ParseTimeOfDay(maxLoadEnd, b))
        return false;
    ends.push_back(b);

    const Window maxLoad = MaxLoadWindow(dayStart, dayEnd, begins, ends);
    const Window minLoad = MinLoadWindow(dayStart, dayEnd, begins, ends);
    const Window wholeDay = WholeDayWindow(dayStart, dayEnd);
    for (const Window* w : {&maxLoad, &minLoad, &wholeDay})
        for (int phase = 0; phase < 3; ++phase)
            TwoSided("du1m", PhaseColumn(phase), *w);
    for (const Window* w : {&maxLoad, &minLoad, &wholeDay})
        TwoSided("u1unbalance1m", ValueColumn, *w);
    for (int phase = 0; phase < 3; ++phase)
        UpperLimit("uthd3s", PhaseColumn(phase), wholeDay);
    UpperLimit("u0unbalance3s", ValueColumn, wholeDay);
    UpperLimit("u2unbalance3s", ValueColumn, wholeDay);
    TwoSided("ac20sdfreq", ValueColumn, wholeDay);
    for (const char* table : {"harm_u_L1_3s", "harm_u_L2_3s", "harm_u_L3_3s"}) {
        Transaction t;
        for (int n = 2; n <= kHighestOrder; ++n) {
            if (HarmonicLimit(voltageClass, n))
                OrderedSample(table, HarmonicColumn(n), wholeDay, kUpperLimitPasses);
        }
        t.Commit();
    }
    return true;
}

// SummariseRun: the extremes of the period, read and rolled back.
void Summary(int days)
{
    const Window period = WholeDayWindow(HeaderValues().dt_begin, DayStart(days));
    {
        Transaction t;
        Emit(BuildQuery(QueryShape::Minimum, "ac20sdfreq", ValueColumn, period));
        Emit(BuildQuery(QueryShape::Maximum, "ac20sdfreq", ValueColumn, period));
        t.Rollback();
    }
    Transaction t;
    for (QueryShape shape : {QueryShape::Minimum, QueryShape::Maximum})
        for (int phase = 0; phase < 3; ++phase)
            Emit(BuildQuery(shape, "du1m", PhaseColumn(phase), period));
    t.Rollback();
}

bool ReadSettings(const char* path)
{
    wxXmlDocument doc;
    if (!doc.Load(wxString::FromUTF8(path), "UTF-8") || !doc.GetRoot())
        return false;
    for (const wxXmlNode* child = doc.GetRoot()->GetChildren(); child; child = child->GetNext()) {
        if (child->GetType() == wxXML_ELEMENT_NODE && child->GetName() == "ReportData")
            ReadReportData(child);
    }
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    wxInitializer library;
    if (!library.IsOk())
        return 1;
    ReportHeaderValues& header = HeaderValues();
    int days = 0;
    if (argc == 3 && std::string(argv[1]) == "--settings") {
        if (!ReadSettings(argv[2])) {
            std::fprintf(stderr, "query_list: cannot read %s\n", argv[2]);
            return 1;
        }
        days = WholeNumber(header.n_Dayes);
    } else if (argc >= 5) {
        wxDateTime begin;
        if (!ParseBeginDateTime(argv[1], begin)) {
            std::fprintf(stderr, "query_list: DT_BEGIN '%s' is not dd.mm.yyyy hh:mm:ss\n", argv[1]);
            return 2;
        }
        header.dt_begin = begin;
        days = WholeNumber(argv[2]);
        header.Unom = WholeNumber(argv[3]);
        for (int k = 0; k < 7; ++k) {
            const std::string period = argv[std::min(4 + k, argc - 1)];
            const size_t dash = period.find('-');
            if (dash == std::string::npos) {
                std::fprintf(stderr, "query_list: PERIOD '%s' is not BEGIN-END\n", period.c_str());
                return 2;
            }
            header.dt_max_load_begin[k] = period.substr(0, dash);
            header.dt_max_load_end[k] = period.substr(dash + 1);
        }
    } else {
        std::fputs(kUsage, stderr);
        return 2;
    }
    if (days < 1 || days > 7 || !header.dt_begin.IsValid()) {
        std::fprintf(stderr, "query_list: need 1..7 days and a valid dt_begin\n");
        return 2;
    }

    // The connection settings the report gives its database.
    for (const char* setting : kScanSettings)
        Emit(std::string(setting) + ";");
    for (int k = 0; k < days; ++k) {
        if (!Day(k, header.dt_max_load_begin.at(k), header.dt_max_load_end.at(k), header.Unom)) {
            std::fprintf(stderr, "query_list: day %d has a max-load time the report rejects\n", k + 1);
            return 1;
        }
    }
    Summary(days);
    return 0;
}
