// Prints, one to a line, every SQL statement that the statistics of a report
// over the given period send to the measurement database, in the order and
// text the report sends them. The benchmark replays the list through the
// sqlite3 shell as the floor that the report's own time is held against.
// With --charts it prints instead the statements of the day charts, which a
// report sends only for a day template that asks for them.
//
// The list is recorded, not rebuilt: the report's own day evaluation and
// summary run against an empty in-memory database in the logger's schema,
// and every statement they start is printed as SQLite traces it. Which
// statements a report sends does not depend on the values it reads.
#include <algorithm>
#include <cstdio>
#include <iostream>
#include <string>

#include <wx/init.h>
#include <wx/log.h>
#include <wx/xml/xml.h>

#include "db/sample_source.h"
#include "db/series.h"
#include "db/transaction.h"
#include "model/quantity_registry.h"
#include "pages/day_charts.h"
#include "run/day_evaluation.h"
#include "settings/date_parsing.h"
#include "settings/run_settings.h"
#include "standard/gost_13109_97.h"

// After the wrapper's header, whose names SQLite's macros would replace.
#include <sqlite3.h>

using namespace pq;

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
    "  --settings reads all of these from a settings document instead\n"
    "  --charts  (last) lists the day charts' statements instead of the statistics'\n";

// The report's connection, with the SQLite handle that tracing needs.
class TracedDatabase : public wxSQLite3Database {
public:
    void TraceStatements(int (*print)(unsigned, void*, void*, void*))
    {
        sqlite3_trace_v2(static_cast<sqlite3*>(GetDatabaseHandle()), SQLITE_TRACE_STMT, print, nullptr);
    }
};

// Every table and column of the measured series, empty.
void CreateSchema(wxSQLite3Database& db)
{
    db.ExecuteUpdate("CREATE TABLE Base(Base_id INTEGER PRIMARY KEY, DateTimeMQV TEXT)");
    for (const MeasuredSeries& s : MeasuredSeriesTable()) {
        std::string columns;
        for (const std::string& c : s.columns)
            columns += ", " + c + " REAL";
        db.ExecuteUpdate(("CREATE TABLE " + s.table + "(Base_id INTEGER PRIMARY KEY" + columns + ")").c_str());
    }
}

// Whether the statements now sent are the ones to print.
bool printing = true;

// Prints each statement as it starts, with the semicolon the shell needs.
int PrintStatement(unsigned, void*, void* statement, void*)
{
    if (!printing)
        return 0;
    const char* sql = sqlite3_sql(static_cast<sqlite3_stmt*>(statement));
    std::string text = sql ? sql : "";
    if (text.empty() || text.back() != ';')
        text += ';';
    std::cout << text << '\n';
    return 0;
}


}  // namespace

int main(int argc, char** argv)
{
    wxInitializer library;
    if (!library.IsOk())
        return 1;
    const bool charts = argc > 1 && std::string(argv[argc - 1]) == "--charts";
    if (charts)
        --argc;
    Notes notes;
    ReportSettings settings;
    ReportHeaderValues& header = settings.header;
    if (argc == 3 && std::string(argv[1]) == "--settings") {
        const wxLogNull quiet;
        std::optional<ReportSettings> read = ReadSettingsFile(wxString::FromUTF8(argv[2]), notes);
        if (!read) {
            std::fprintf(stderr, "query_list: cannot read %s\n", argv[2]);
            return 1;
        }
        settings = std::move(*read);
    } else if (argc >= 5) {
        wxDateTime begin;
        if (!ParseBeginDateTime(argv[1], begin)) {
            std::fprintf(stderr, "query_list: DT_BEGIN '%s' is not dd.mm.yyyy hh:mm:ss\n", argv[1]);
            return 2;
        }
        header.dt_begin = begin;
        header.n_Dayes = argv[2];
        header.Unom = WholeNumber(argv[3]);
        for (size_t k = 0; k < header.dt_max_load_begin.size(); ++k) {
            const std::string period = argv[std::min(4 + static_cast<int>(k), argc - 1)];
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
    const int days = DayCount(header);
    if (days < 1 || days > 7 || !header.dt_begin.IsValid()) {
        std::fprintf(stderr, "query_list: need 1..7 days and a valid dt_begin\n");
        return 2;
    }
    std::optional<RunSettings> run;
    {
        const wxLogNull quiet;
        run = CheckRunSettings(wxString(), settings);
    }
    if (!run) {
        std::fprintf(stderr, "query_list: the settings have a max-load time or a value the report rejects\n");
        return 1;
    }

    wxLog::EnableLogging(false);  // the report's progress lines are not statements
    TracedDatabase db;
    db.Open(":memory:");
    CreateSchema(db);
    db.TraceStatements(PrintStatement);

    printing = !charts;
    TuneForScans(db);
    DatabaseSource source(db);
    const SeriesReader read = [&db](const std::string& table, const std::vector<std::string>& columns,
                                    const wxDateTime& from, const wxDateTime& to, const SeriesVisit& visit) {
        ReadSeries(db, table, columns, from, to, visit);
    };
    for (int k = 0; k < days; ++k) {
        const EvaluatedDay day = EvaluateDay(*run, k, source, Gost13109(), notes);
        if (charts) {
            printing = true;
            DayChartsBlock(read, day);
            printing = false;
        }
    }
    SummariseRun(*run, source, notes);
    std::cout.flush();
    return 0;
}
