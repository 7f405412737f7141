// The date and time parsers: times of day onto a date, and the times the
// local clock skips.
#include <cstdio>
#include <ctime>
#include <string>

#include <gtest/gtest.h>

#include "settings/date_parsing.h"
#include "tests/units/fixtures.h"

using namespace pq;

namespace {

TEST(ParseTimeOfDay, ComposesOntoTheInstantsDate)
{
    const struct {
        const char* text;
        bool ok;
        const char* expected;
    } cases[] = {
        {"8:30", true, "2011-03-05 08:30:00"},
        {"08:30:00", true, "2011-03-05 08:30:00"},
        {"8:30:15:99", true, "2011-03-05 08:30:15"},
        {"ab:cd", true, "2011-03-05 00:00:00"},
        {"23:59:61", true, "2011-03-06 00:00:01"},
        {"", false, ""},
        {"8", false, ""},
        {"8:", false, ""},
        {":30", false, ""},
        {"8::15", false, ""},
        // Numbers out of range are wrong times, not unset instants.
        {"24:00", false, ""},
        {"8:60", false, ""},
        {"8:00:62", false, ""},
        {"-1:00", false, ""},
    };
    for (const auto& c : cases) {
        LogCapture log;
        wxDateTime instant = At(5, 17, 45, 12);
        EXPECT_EQ(ParseTimeOfDay(c.text, instant), c.ok) << c.text;
        EXPECT_EQ(Stamp(instant), c.ok ? c.expected : "2011-03-05 17:45:12") << c.text;
        EXPECT_EQ(log.Has("Wrong date"), !c.ok) << c.text;
    }
}

std::string LocalStamp(std::time_t t)
{
    std::tm tm{};
    localtime_r(&t, &tm);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &tm);
    return text;
}

const char kNewYork[] = "America/New_York";
const char kNewYorkRule[] = "EST5EDT,M3.2.0,M11.1.0";  // New York's rule since 2007, without tzdata

TEST(ComposeDateTime, TimesTheClockSkipsMoveForwardToTheJump)
{
    const struct {
        const char* zone;
        long day, month, year, hours, minutes, seconds;
        std::time_t expected;
        const char* local;
    } cases[] = {
        // Moscow 27.03.2011: 02:00 MSK (+3) became 03:00 MSK (+4); the C
        // library gave 01:30 for 02:30, an hour backwards.
        {kMoscow, 27, 3, 2011, 2, 30, 0, 1301180400, "2011-03-27 03:00:00"},
        {kMoscow, 27, 3, 2011, 2, 0, 0, 1301180400, "2011-03-27 03:00:00"},
        {kMoscow, 27, 3, 2011, 2, 59, 59, 1301180400, "2011-03-27 03:00:00"},
        {kMoscow, 27, 3, 2011, 1, 59, 60, 1301180400, "2011-03-27 03:00:00"},  // 02:00:00
        {kMoscow, 28, 3, 2010, 2, 30, 0, 1269730800, "2010-03-28 03:00:00"},   // summer time
        // New York 13.03.2011: 02:00 EST became 03:00 EDT; 02:30 gave 03:30.
        {kNewYork, 13, 3, 2011, 2, 30, 0, 1299999600, "2011-03-13 03:00:00"},
        {kNewYorkRule, 13, 3, 2011, 2, 30, 0, 1299999600, "2011-03-13 03:00:00"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.zone) + " " + std::to_string(c.day) + "." + std::to_string(c.month) + "." +
                     std::to_string(c.year) + " " + std::to_string(c.hours) + ":" +
                     std::to_string(c.minutes) + ":" + std::to_string(c.seconds));
        ASSERT_TRUE(ZoneInstalled(c.zone)) << "the time zone data (tzdata) lacks " << c.zone;
        const LocalZone zone(c.zone);
        const wxDateTime t = ComposeDateTime(c.day, c.month, c.year, c.hours, c.minutes, c.seconds);
        ASSERT_TRUE(t.IsValid());
        EXPECT_EQ(t.GetTicks(), c.expected);
        EXPECT_EQ(LocalStamp(t.GetTicks()), c.local);
        EXPECT_EQ(Stamp(t), c.local);
    }
}

// Every minute of the days the clocks change: where the clock shows the time,
// the C library's instant as before; where it skips it, the jump.
TEST(ComposeDateTime, EveryOtherTimeKeepsTheCLibrarysInstant)
{
    const struct {
        const char* zone;
        long day, month, year;
        int skippedMinutes;
    } days[] = {
        {kMoscow, 27, 3, 2011, 60},      {kMoscow, 30, 10, 2011, 0},  // no change that autumn
        {kMoscow, 28, 3, 2010, 60},      {kMoscow, 31, 10, 2010, 0},  // 02:00..03:00 twice
        {kMoscow, 26, 10, 2014, 0},                                   // 01:00..02:00 twice
        {kNewYork, 13, 3, 2011, 60},     {kNewYork, 6, 11, 2011, 0},  // 01:00..02:00 twice
        {kNewYorkRule, 13, 3, 2011, 60}, {kNewYorkRule, 6, 11, 2011, 0},
        {"UTC", 27, 3, 2011, 0},         {"Asia/Tokyo", 27, 3, 2011, 0},
    };
    for (const auto& d : days) {
        SCOPED_TRACE(std::string(d.zone) + " " + std::to_string(d.day) + "." + std::to_string(d.month) + "." +
                     std::to_string(d.year));
        ASSERT_TRUE(ZoneInstalled(d.zone)) << "the time zone data (tzdata) lacks " << d.zone;
        const LocalZone zone(d.zone);
        int skipped = 0;
        for (int minute = 0; minute < 24 * 60; ++minute) {
            std::tm tm{};
            tm.tm_year = static_cast<int>(d.year) - 1900;
            tm.tm_mon = static_cast<int>(d.month) - 1;
            tm.tm_mday = static_cast<int>(d.day);
            tm.tm_hour = minute / 60;
            tm.tm_min = minute % 60;
            tm.tm_isdst = -1;
            std::tm asked = tm;
            const std::time_t c = std::mktime(&tm);
            const bool shown =
                tm.tm_mday == asked.tm_mday && tm.tm_hour == asked.tm_hour && tm.tm_min == asked.tm_min;
            const wxDateTime t = ComposeDateTime(d.day, d.month, d.year, minute / 60, minute % 60, 0);
            ASSERT_TRUE(t.IsValid()) << minute;
            if (shown) {
                EXPECT_EQ(t.GetTicks(), c) << minute;
                continue;
            }
            ++skipped;
            // The jump: the second before it reads earlier than asked, the
            // instant itself later.
            char asked_text[8];
            std::snprintf(asked_text, sizeof asked_text, "%02d:%02d", asked.tm_hour, asked.tm_min);
            const std::string day = LocalStamp(t.GetTicks()).substr(0, 11);
            EXPECT_LT(LocalStamp(t.GetTicks() - 1), day + asked_text) << minute;
            EXPECT_GT(LocalStamp(t.GetTicks()), day + asked_text) << minute;
            EXPECT_GT(t.GetTicks(), c - 86400) << minute;
        }
        EXPECT_EQ(skipped, d.skippedMinutes);
    }
}

TEST(ParseTimeOfDay, TimesTheClockSkipsMoveForwardToTheJump)
{
    const struct {
        const char* zone;
        long day;
        const char* text;
        std::time_t expected;
    } cases[] = {
        {kMoscow, 27, "2:30", 1301180400},         {kMoscow, 27, "02:00:00", 1301180400},
        {kMoscow, 27, "1:59", 1301180340},         {kMoscow, 27, "3:00", 1301180400},
        {kNewYork, 13, "2:30", 1299999600},        {kNewYork, 13, "3:30", 1299999600 + 1800},
        {kNewYorkRule, 13, "2:59:59", 1299999600},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.zone) + " " + c.text);
        ASSERT_TRUE(ZoneInstalled(c.zone)) << "the time zone data (tzdata) lacks " << c.zone;
        const LocalZone zone(c.zone);
        wxDateTime instant = ComposeDateTime(c.day, 3, 2011, 0, 0, 0);
        LogCapture log;
        ASSERT_TRUE(ParseTimeOfDay(c.text, instant));
        EXPECT_EQ(instant.GetTicks(), c.expected);
        EXPECT_TRUE(log.lines.empty());
    }
}

}  // namespace
