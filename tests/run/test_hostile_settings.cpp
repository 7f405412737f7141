// Settings documents built to hurt the XML reader, documents in every
// encoding it reads, and local start times that the clock skips.
#include <cstdlib>
#include <functional>
#include <stdexcept>

#include <sys/stat.h>

#include <gtest/gtest.h>

#include "support.h"

using namespace pqrun;

namespace {

// `xml` with `inner` at the start of its ReportData element.
std::string Inject(const std::string& xml, const std::string& inner)
{
    const std::string tag = "<ReportData>";
    const size_t at = xml.find(tag);
    if (at == std::string::npos)
        throw std::runtime_error("no ReportData element");
    return xml.substr(0, at + tag.size()) + inner + xml.substr(at + tag.size());
}

std::string Replace(std::string text, const std::string& from, const std::string& to)
{
    const size_t at = text.find(from);
    if (at == std::string::npos)
        throw std::runtime_error("no " + from);
    return text.replace(at, from.size(), to);
}

// UTF-8 text as UTF-16LE after a byte order mark.
std::string Utf16(const std::string& utf8) { return "\xFF\xFE" + FromUtf8(utf8, "UTF-16LE"); }

// The shipped sample settings (tools/demo-settings.xml.in) for a workspace.
std::string DemoSettings(const Workspace& w, const std::string& begin = "01.03.2011 00:00:00")
{
    std::string source = __FILE__;
    source = source.substr(0, source.rfind('/')) + "/../../tools/demo-settings.xml.in";
    std::string xml = ReadFile(source);
    xml = Replace(xml, "@DT_BEGIN@", begin);
    xml = Replace(xml, "@N_DAYS@", "1");
    xml = Replace(xml, "@DB@", w.db);
    xml = Replace(xml, "@EXPORT@", "");
    xml = Replace(xml, "@EVALUATE@", "");
    return Replace(xml, "@USER_DIR@", w.out);
}

// The log after the two lines of the command line confirmation.
std::vector<std::string> RunLines(const Outcome& r)
{
    const std::vector<std::string> lines = r.LogLines();
    EXPECT_GE(lines.size(), 2u);
    return std::vector<std::string>(lines.begin() + std::min<size_t>(2, lines.size()), lines.end());
}

TEST(HostileSettings, RefusedWithOneLineSayingWhy)
{
    const std::string tooLarge = "Error: The settings document is larger than 1 MiB (1048576 bytes).";
    const std::string tooDeep = "Error: The settings document nests elements deeper than 100 levels.";
    const std::string tooMuchText =
        "Error: The settings document has more than 8192 bytes of text between its tags.";
    const struct {
        const char* name;
        std::function<std::string(const std::string& xml)> bytes;  // from a good document
        std::string error;
    } cases[] = {
        // The reader frees nested elements recursively: the stack overflowed.
        {"150,000 levels (about 1 MB)",
         [](const std::string& xml) { return Inject(xml, Repeat("<a>", 150000) + Repeat("</a>", 150000)); },
         tooLarge},
        {"140,000 levels in less than 1 MiB",
         [](const std::string& xml) { return Inject(xml, Repeat("<a>", 140000) + Repeat("</a>", 140000)); },
         tooDeep},
        {"150,000 levels never closed",
         [](const std::string& xml) { return Inject(xml, Repeat("<a>", 150000)); }, tooDeep},
        {"101 levels",
         [](const std::string& xml) { return Inject(xml, Repeat("<a>", 99) + Repeat("</a>", 99)); }, tooDeep},
        // The reader joins a text anew for each piece: 21 s for 4 MB.
        {"a text of 4 MB",
         [](const std::string& xml) { return Inject(xml, "<t>" + std::string(4 << 20, 'x') + "</t>"); },
         tooLarge},
        {"a text of 1,000,000 bytes",
         [](const std::string& xml) { return Inject(xml, "<t>" + std::string(1000000, 'x') + "</t>"); },
         tooMuchText},
        {"a text in 200,000 pieces",
         [](const std::string& xml) { return Inject(xml, "<t>" + Repeat("&amp;", 200000) + "</t>"); },
         tooMuchText},
        // Every Cyrillic text came out empty and the run said "ok!".
        {"an unknown encoding",
         [](const std::string& xml) { return Replace(xml, "encoding=\"UTF-8\"", "encoding=\"X-BOGUS\""); },
         "Error: The settings document declares the encoding \"X-BOGUS\", which cannot be converted."},
        {"a document type declaration with an entity",
         [](const std::string& xml) {
             return Replace(xml, "?>", "?><!DOCTYPE r [<!ENTITY e \"" + std::string(1000, 'x') + "\">]>");
         },
         "Error: The settings document has a document type declaration (<!DOCTYPE>); settings documents "
         "have none."},
        // Expat scans one piece of markup anew for each kilobyte it is handed.
        {"a comment of 1,000,000 bytes",
         [](const std::string& xml) { return Inject(xml, "<!--" + std::string(1000000, 'x') + "-->"); },
         "Error: The settings document has a tag, comment or processing instruction longer than 65536 "
         "bytes."},
        {"an attribute value of 500,000 Cyrillic letters",
         [](const std::string& xml) {
             return Inject(xml, "<Header2 Value=\"" + Repeat("Ж", 500000) + "\"/>");
         },
         "Error: The settings document has a tag, comment or processing instruction longer than 65536 "
         "bytes."},
        {"250,000 elements", [](const std::string& xml) { return Inject(xml, Repeat("<a/>", 250000)); },
         "Error: The settings document has more than 10000 elements."},
        {"60,000 attributes on one element",
         [](const std::string& xml) {
             std::string e = "<a";
             for (int k = 0; k < 60000; ++k)
                 e += " a" + std::to_string(k) + "=''";
             return Inject(xml, e + "/>");
         },
         "Error: The settings document has an element with more than 100 attributes."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Workspace w;
        const std::string path = w.dir / "settings.xml";
        WriteFile(path, c.bytes(w.settings(1).Set("Header1", "Протокол испытаний").Xml()));
        const Outcome r = RunProgram(w.At({path}));
        EXPECT_EQ(r.status, 1) << r.Log();
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(RunLines(r), (std::vector<std::string>{c.error, "Ini file problem!", ""})) << r.Log();
        EXPECT_TRUE(ListDir(w.out).empty());
    }
}

TEST(HostileSettings, TheSampleSettingsReadAlikeInEveryEncodingTheReaderTakes)
{
    const struct {
        const char* name;
        std::function<std::string(const std::string& utf8)> bytes;
    } cases[] = {
        {"as shipped, declared UTF-8", [](const std::string& xml) { return xml; }},
        {"without a declaration", [](const std::string& xml) { return xml.substr(xml.find("?>") + 2); }},
        {"in CP1251, declared windows-1251",
         [](const std::string& xml) {
             return Cp1251(Replace(xml, "encoding=\"UTF-8\"", "encoding=\"windows-1251\""));
         }},
        {"in UTF-16, declared UTF-16",
         [](const std::string& xml) {
             return Utf16(Replace(xml, "encoding=\"UTF-8\"", "encoding=\"UTF-16\""));
         }},
    };
    std::optional<std::pair<std::string, std::string>> firstPages;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Workspace w(MarkedDayTemplate(180), MarkedTitleTemplate(60));
        const std::string path = w.dir / "settings.xml";
        WriteFile(path, c.bytes(DemoSettings(w)));
        const Outcome r = RunProgram(w.At({path}));
        ASSERT_EQ(r.out, "ok!\n") << r.Log();
        const std::string title = ReadFile(w.out + "Page0.htm");
        const std::map<int, std::string> t = MarkedValues(title);
        EXPECT_EQ(t.at(1), Cp1251("ООО «ЭнергоКонтроль-Урал»"));
        EXPECT_EQ(t.at(29), "01-03-2011");
        const std::pair<std::string, std::string> pages{title, ReadFile(w.out + "day_1.htm")};
        if (!firstPages)
            firstPages = pages;
        EXPECT_TRUE(pages == *firstPages);
    }
}

// Whether the system's time zone data has `zone`.
bool ZoneInstalled(const std::string& zone)
{
    if (zone == "UTC")
        return true;
    const char* dir = std::getenv("TZDIR");
    struct stat st;
    return ::stat(((dir ? std::string(dir) : std::string("/usr/share/zoneinfo")) + "/" + zone).c_str(),
                  &st) == 0;
}

// A local time that the clock skips (set forward over it) moves forward to
// the moment of the jump, in every zone; the C library had put it an hour
// earlier in Moscow and half an hour later in New York. Times the clock shows,
// the repeated hour included, stay as they are.
TEST(HostileSettings, LocalTimesTheClockSkipsMoveForwardToTheJump)
{
    const struct {
        const char* zone;
        const char* begin;         // dt_begin
        const char* maxLoadBegin;  // dt_max_load_begin_0
        const char* day;           // the day's log line
        const char* period;        // the max-load period on the day page
    } cases[] = {
        {"Europe/Moscow", "27.03.2011 02:30:00", "8:00", "27.03.2011 03:00 - 28.03.2011 03:00",
         "08:00 - 20:00"},
        {"Europe/Moscow", "27.03.2011 00:00:00", "2:30", "27.03.2011 00:00 - 28.03.2011 00:00",
         "03:00 - 20:00"},
        {"America/New_York", "13.03.2011 02:30:00", "8:00", "13.03.2011 03:00 - 14.03.2011 03:00",
         "08:00 - 20:00"},
        {"America/New_York", "13.03.2011 00:00:00", "2:30", "13.03.2011 00:00 - 14.03.2011 00:00",
         "03:00 - 20:00"},
        // Times the clock shows: Moscow kept +4 in the autumn of 2011, and
        // showed 02:00..03:00 twice on 31.10.2010; New York 01:00..02:00 on
        // 06.11.2011; UTC has no changes.
        {"Europe/Moscow", "30.10.2011 02:30:00", "2:30", "30.10.2011 02:30 - 31.10.2011 02:30",
         "02:30 - 20:00"},
        {"Europe/Moscow", "31.10.2010 02:30:00", "2:30", "31.10.2010 02:30 - 01.11.2010 02:30",
         "02:30 - 20:00"},
        {"America/New_York", "06.11.2011 01:30:00", "1:30", "06.11.2011 01:30 - 07.11.2011 01:30",
         "01:30 - 20:00"},
        {"UTC", "27.03.2011 02:30:00", "2:30", "27.03.2011 02:30 - 28.03.2011 02:30", "02:30 - 20:00"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.zone) + ", " + c.begin + ", max load from " + c.maxLoadBegin);
        ASSERT_TRUE(ZoneInstalled(c.zone)) << "the time zone data (tzdata) lacks " << c.zone;
        const ScopedEnv tz("TZ", c.zone);
        const Workspace w(MarkedDayTemplate(180), MarkedTitleTemplate(60));
        const Outcome r = RunProgram(w.At(
            {w.Write(w.settings(1).Set("dt_begin", c.begin).Set("dt_max_load_begin_0", c.maxLoadBegin))}));
        ASSERT_EQ(r.out, "ok!\n") << r.Log();
        EXPECT_TRUE(r.HasLine(c.day)) << r.Log();
        const std::map<int, std::string> v = MarkedValues(ReadFile(w.out + "day_1.htm"));
        const std::string day = c.day;
        EXPECT_EQ(v.at(5) + " " + v.at(6) + " - " + v.at(7) + " " + v.at(8), day);
        EXPECT_EQ(v.at(9), c.period);
    }
}

}  // namespace
