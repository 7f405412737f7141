#include "report/day_evaluation.h"

#include <wx/log.h>

#include "report/fixed_texts.h"
#include "settings/date_parsing.h"
#include "settings/header_values.h"
#include "settings/text.h"
#include "stats/distortion.h"
#include "stats/extremes.h"
#include "stats/voltage_deviation.h"

TextList NewValueTable()
{
    TextList table(kValueTableSize);
    for (int i = 0; i < kValueTableSize; ++i)
        table[i] = "A" + std::to_string(i);
    return table;
}

wxDateTime DayStart(int k)
{
    return HeaderValues().dt_begin + wxDateSpan::Days(k);
}

namespace {

// Slot s of a record goes to entry base + pattern[s].
const std::vector<int> kEightSlot{0, 2, 4, 6, 1, 3, 5, 7};
const std::vector<int> kSixSlot{0, 3, 2, 5, 1, 4};
const std::vector<int> kFourSlot{0, 2, 1, 3};
const std::vector<int> kStraightSix{0, 1, 2, 3, 4, 5};

void Place(TextList& values, const TextList& record, int base, const std::vector<int>& pattern)
{
    for (size_t s = 0; s < pattern.size() && s < record.size(); ++s)
        values[base + pattern[s]] = record[s];
}

std::string Formatted(const wxDateTime& t, const char* format)
{
    return t.Format(format).ToStdString();
}

}  // namespace

bool EvaluateDay(int k, wxSQLite3Database* db, ComplianceFlags& flags, DayResult& day)
{
    const ReportHeaderValues& header = HeaderValues();
    TextList& v = day.values;
    v = NewValueTable();
    for (int i = 0; i < 4; ++i)
        v[1 + i] = header.att_Header[i];
    const wxDateTime dayStart = DayStart(k);
    const wxDateTime dayEnd = dayStart + wxDateSpan::Day();
    v[0] = MakerName();
    v[5] = Formatted(dayStart, "%d.%m.%Y");
    v[6] = Formatted(dayStart, "%H:%M");
    v[7] = Formatted(dayEnd, "%d.%m.%Y");
    v[8] = Formatted(dayEnd, "%H:%M");
    wxLogMessage("%s %s - %s %s", v[5], v[6], v[7], v[8]);

    day.begins.clear();
    day.ends.clear();
    wxDateTime b = dayStart;
    if (!ParseTimeOfDay(header.dt_max_load_begin.at(k), b)) {
        wxLogMessage("Wrong datetime in ini file!\n");
        return false;
    }
    day.begins.push_back(b);
    if (!ParseTimeOfDay(header.dt_max_load_end.at(k), b)) {
        wxLogMessage("Wrong datetime in ini file!\n");
        return false;
    }
    day.ends.push_back(b);

    const DateTimeList& begins = day.begins;
    const DateTimeList& ends = day.ends;
    const double T = kTolerance;
    const int Unom = header.Unom;
    const std::string du = "du1m";
    const std::string single = "u1unbalance1m";

    for (int phase = 0; phase < 3; ++phase)
        Place(v, VoltageDeviationMaxPower(du, phase, db, begins, ends, &flags[0], dayStart, dayEnd, T),
              11 + 8 * phase, kEightSlot);
    for (int phase = 0; phase < 3; ++phase)
        Place(v, VoltageDeviationMinPower(du, phase, db, begins, ends, &flags[0], dayStart, dayEnd, T),
              43 + 8 * phase, kEightSlot);
    for (int phase = 0; phase < 3; ++phase)
        Place(v, VoltageDeviationWholeDay(du, phase, db, begins, ends, &flags[0], dayStart, dayEnd, T),
              75 + 8 * phase, kEightSlot);
    Place(v, VoltageDeviationMaxPowerSingle(single, db, begins, ends, &flags[0], dayStart, dayEnd, T),
          35, kEightSlot);
    Place(v, VoltageDeviationMinPowerSingle(single, db, begins, ends, &flags[0], dayStart, dayEnd, T),
          67, kEightSlot);
    Place(v, VoltageDeviationWholeDaySingle(single, db, begins, ends, &flags[0], dayStart, dayEnd, T),
          99, kEightSlot);
    for (int phase = 0; phase < 3; ++phase)
        Place(v, ThdStatistic("uthd3s", phase, db, begins, ends, Unom, &flags[2], dayStart, dayEnd, T),
              107 + 6 * phase, kSixSlot);
    Place(v, UnbalanceStatistic("u0unbalance3s", db, begins, ends, &flags[5], dayStart, dayEnd, T), 125,
          kFourSlot);
    Place(v, UnbalanceStatistic("u2unbalance3s", db, begins, ends, &flags[4], dayStart, dayEnd, T), 129,
          kFourSlot);
    Place(v, FrequencyDeviationStatistic("ac20sdfreq", db, begins, ends, &flags[1], dayStart, dayEnd, T),
          133, kEightSlot);
    const char* const harmonicTables[3] = {"harm_u_L1_3s", "harm_u_L2_3s", "harm_u_L3_3s"};
    for (int phase = 0; phase < 3; ++phase) {
        day.harmonics[phase] =
            HarmonicStatistic(harmonicTables[phase], db, Unom, kHighestOrder, &flags[3], dayStart, dayEnd, T);
        Place(v, day.harmonics[phase], 141 + 12 * phase, kStraightSix);
    }
    return true;
}

void SummariseRun(int days, wxSQLite3Database* db, const ComplianceFlags& flags, TextList& title)
{
    const wxDateTime periodStart = HeaderValues().dt_begin;
    const wxDateTime periodEnd = DayStart(days);
    FrequencyMinMax("ac20sdfreq", db, &title[42], &title[43], periodStart, periodEnd);
    VoltageMinMax("du1m", db, &title[44], &title[45], periodStart, periodEnd);
    for (int f = 0; f < 6; ++f)
        title[48 + f] = flags[f] ? CompliesWord() : DoesNotComplyWord();
}
