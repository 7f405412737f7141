#include "stats/voltage_deviation.h"

#include <algorithm>

#include <wx/log.h>

#include "db/transaction.h"

namespace {

const TwoSidedLimits kVoltageLimits{-5.0, 5.0, -10.0, 10.0};
const double kMinutesPerDay = 1440.0;

enum class Regime { MaxPower, MinPower, WholeDay };

TextList Evaluate(Regime regime, const std::string& line, const std::string& table,
                  const std::string& column, wxSQLite3Database* db, const DateTimeList& begins,
                  const DateTimeList& ends, bool* flag, const wxDateTime& dayStart,
                  const wxDateTime& dayEnd, double tolerance)
{
    StatisticTransaction transaction(*db);
    wxLogMessage("%s", line);
    TextList record(8, "0");

    Window window;
    double minimumCount = 0;
    switch (regime) {
    case Regime::MaxPower:
        window = MaxLoadWindow(dayStart, dayEnd, begins, ends);
        minimumCount = MaxLoadMinutes(begins, ends) - tolerance;
        break;
    case Regime::MinPower:
        window = MinLoadWindow(dayStart, dayEnd, begins, ends);
        minimumCount = (kMinutesPerDay - tolerance) - MaxLoadMinutes(begins, ends);
        break;
    case Regime::WholeDay:
        window = WholeDayWindow(dayStart, dayEnd);
        minimumCount = kMinutesPerDay - tolerance;
        break;
    }
    TwoSidedEvaluation(*db, table, column, window, minimumCount, kVoltageLimits, record, flag);
    FinalFormatting(record);
    transaction.Commit();
    return record;
}

}  // namespace

int MaxLoadMinutes(const DateTimeList& begins, const DateTimeList& ends)
{
    long long milliseconds = 0;
    const size_t n = std::min(begins.size(), ends.size());
    for (size_t i = 0; i < n; ++i)
        milliseconds += (ends[i] - begins[i]).GetMilliseconds().GetValue();
    return static_cast<int>(milliseconds / 1000 / 60);
}

TextList VoltageDeviationMaxPower(std::string table, int phaseIndex, wxSQLite3Database* db,
                                  DateTimeList begins, DateTimeList ends, bool* flag,
                                  wxDateTime dayStart, wxDateTime dayEnd, double tolerance)
{
    const std::string column = PhaseColumn(phaseIndex);
    return Evaluate(Regime::MaxPower, "Max power regim " + table + " " + column, table, column, db,
                    begins, ends, flag, dayStart, dayEnd, tolerance);
}

TextList VoltageDeviationMinPower(std::string table, int phaseIndex, wxSQLite3Database* db,
                                  DateTimeList begins, DateTimeList ends, bool* flag,
                                  wxDateTime dayStart, wxDateTime dayEnd, double tolerance)
{
    const std::string column = PhaseColumn(phaseIndex);
    return Evaluate(Regime::MinPower, "Min power regim " + table + " " + column, table, column, db,
                    begins, ends, flag, dayStart, dayEnd, tolerance);
}

TextList VoltageDeviationWholeDay(std::string table, int phaseIndex, wxSQLite3Database* db,
                                  DateTimeList begins, DateTimeList ends, bool* flag,
                                  wxDateTime dayStart, wxDateTime dayEnd, double tolerance)
{
    const std::string column = PhaseColumn(phaseIndex);
    return Evaluate(Regime::WholeDay, "Whole day regim " + table + " " + column, table, column, db,
                    begins, ends, flag, dayStart, dayEnd, tolerance);
}

TextList VoltageDeviationMaxPowerSingle(std::string table, wxSQLite3Database* db, DateTimeList begins,
                                        DateTimeList ends, bool* flag, wxDateTime dayStart,
                                        wxDateTime dayEnd, double tolerance)
{
    return Evaluate(Regime::MaxPower, "Max power regim, single " + table, table, ValueColumn, db,
                    begins, ends, flag, dayStart, dayEnd, tolerance);
}

TextList VoltageDeviationMinPowerSingle(std::string table, wxSQLite3Database* db, DateTimeList begins,
                                        DateTimeList ends, bool* flag, wxDateTime dayStart,
                                        wxDateTime dayEnd, double tolerance)
{
    return Evaluate(Regime::MinPower, "Min power regim, single " + table, table, ValueColumn, db,
                    begins, ends, flag, dayStart, dayEnd, tolerance);
}

TextList VoltageDeviationWholeDaySingle(std::string table, wxSQLite3Database* db, DateTimeList begins,
                                        DateTimeList ends, bool* flag, wxDateTime dayStart,
                                        wxDateTime dayEnd, double tolerance)
{
    return Evaluate(Regime::WholeDay, "Whole day regim, single " + table, table, ValueColumn, db,
                    begins, ends, flag, dayStart, dayEnd, tolerance);
}
