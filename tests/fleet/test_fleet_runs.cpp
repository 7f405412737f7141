// Runs of the real fleet command over real report runs: the roll-up against
// the reports, a failing document and --resume, the refusals, --hosts through
// a stand-in for ssh, and an interrupted fleet.
#include <cctype>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "../run/support.h"

using namespace pqrun;
using Json = nlohmann::json;

namespace {

// ---- the fleet's workspace -----------------------------------------------------

// The report program beside its templates and pqfleet beside it, as the
// build lays them out; the fleet's OUTDIR; sites' databases and settings.
struct FleetSpace {
    explicit FleetSpace(const std::string& dayTemplate = "day page", const std::string& titleTemplate = "title page")
        : bin(dir / "bin 'pq' & co"), out(dir / "fleet out")
    {
        InstallProgram(bin, dayTemplate, titleTemplate);
        if (::link(PQFLEET, (bin + "/pqfleet").c_str()) != 0)
            WriteFile(bin + "/pqfleet", ReadFile(PQFLEET)), ::chmod((bin + "/pqfleet").c_str(), 0755);
    }
    TempDir dir;
    std::string bin;
    std::string out;  // OUTDIR

    // pqfleet run in the workspace's directory.
    Launch At(std::vector<std::string> args) const
    {
        Launch l;
        l.program = bin + "/pqfleet";
        l.args = std::move(args);
        l.cwd = dir.path();
        return l;
    }
    Outcome Fleet(std::vector<std::string> args) const { return RunProgram(At(std::move(args))); }
    std::string JobLog() const { return ReadFile(out + "/joblog"); }
};

// A site's measurements on 1 and 2 March 2011, an hourly value of every
// series, all within the limits of 0.38 kV but for the faults asked for.
struct SiteData {
    int frequencyFaultDay = 0;  // a frequency deviation of 0.45 Hz at 10:00 of that day
    bool zeroSequence = true;   // false: no u0unbalance3s values (no data for K0U)
};

void WriteSite(const std::string& path, const SiteData& s)
{
    MeasurementDb db(path);
    for (int day : {1, 2}) {
        db.Series("du1m", day, 3600, 24, [](int i, int c) { return ((i + c) % 5) * 0.5 - 1.0; });
        db.Series("u1unbalance1m", day, 3600, 24, [](int i, int) { return (i % 4) * 0.5; });
        db.Series("uthd3s", day, 3600, 24, [](int i, int c) { return 1.0 + ((i + c) % 3) * 0.5; });
        if (s.zeroSequence)
            db.Series("u0unbalance3s", day, 3600, 24, [](int i, int) { return (i % 3) * 0.3; });
        db.Series("u2unbalance3s", day, 3600, 24, [](int i, int) { return (i % 3) * 0.4; });
        db.Series("ac20sdfreq", day, 3600, 24, [&s, day](int i, int) {
            return day == s.frequencyFaultDay && i == 10 ? 0.45 : (i % 5 - 2) * 0.05;
        });
        for (const char* t : {"harm_u_L1_3s", "harm_u_L2_3s", "harm_u_L3_3s"})
            db.Series(t, day, 3600, 24, [](int i, int c) { return ((i + c) % 4) * 0.02; });
    }
}

// A one-day report of `site` on March `day` with pages under `userDir`, asking for report.json.
Settings SiteSettings(const std::string& db, const std::string& userDir, const std::string& site, int day)
{
    return Settings(db, userDir, 1)
        .Set("dt_begin", "0" + std::to_string(day) + ".03.2011 00:00:00")
        .Set("att_Header_0", site)
        .Set("att_Header_1", "ввод Т1")
        .Set("Export", "json");
}

Json ReadJson(const std::string& path) { return Json::parse(ReadFile(path)); }

std::string SchemaCheck(const std::string& schema, const std::string& document)
{
    const std::string command = "/usr/bin/python3 '" PQ_SOURCE_DIR "/tests/run/validate_json.py' '" PQ_SOURCE_DIR
                                "/docs/" + schema + "' '" + document + "' 2>&1; echo \"exit $?\"";
    std::string text;
    if (FILE* p = ::popen(command.c_str(), "r")) {
        char buffer[4096];
        size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, p)) > 0)
            text.append(buffer, n);
        ::pclose(p);
    }
    return text;
}

// ---- reading the roll-up page -----------------------------------------------------

struct PageRow {
    std::string site, settings, period;
    std::vector<std::string> marks, markClasses;  // the six quantities
    std::string completeness, outcome;
    std::vector<std::string> links;  // hrefs
};

std::string Unmarked(const std::string& html)
{
    std::string text;
    bool inTag = false;
    for (char c : html) {
        if (c == '<' || c == '>')
            inTag = c == '<';
        else if (!inTag)
            text += c;
    }
    for (const auto& e : std::vector<std::pair<std::string, std::string>>{
             {"&mdash;", "—"}, {"&ndash;", "–"}, {"&quot;", "\""}, {"&lt;", "<"}, {"&gt;", ">"}, {"&amp;", "&"}}) {
        for (size_t at; (at = text.find(e.first)) != std::string::npos;)
            text.replace(at, e.first.size(), e.second);
    }
    return text;
}

// The text between `open` and the next `close` from `at` on, moving `at`
// past it; nothing when there is none.
std::optional<std::string> Between(const std::string& text, const std::string& open, const std::string& close,
                                   size_t& at)
{
    const size_t begin = text.find(open, at);
    const size_t end = begin == std::string::npos ? begin : text.find(close, begin + open.size());
    if (end == std::string::npos)
        return std::nullopt;
    at = end + close.size();
    return text.substr(begin + open.size(), end - begin - open.size());
}

std::vector<PageRow> RollupRows(const std::string& html)
{
    std::vector<PageRow> rows;
    size_t at = 0;
    while (const std::optional<std::string> tr = Between(html, "<tr><td class=\"site\">", "</tr>", at)) {
        // Each cell's class ("" for none) and content.
        std::vector<std::pair<std::string, std::string>> cells;
        std::string rest = "<td class=\"site\">" + *tr;
        size_t in = 0;
        while (const std::optional<std::string> cell = Between(rest, "<td", "</td>", in)) {
            const size_t close = cell->find('>');
            const std::string attributes = cell->substr(0, close);
            size_t a = 0;
            cells.emplace_back(Between(attributes, "class=\"", "\"", a).value_or(""), cell->substr(close + 1));
        }
        if (cells.size() != 11)
            continue;
        PageRow p;
        const std::string& site = cells[0].second;
        const size_t br = site.find("<br>");
        p.site = Unmarked(site.substr(0, br));
        p.settings = Unmarked(site.substr(br));
        p.period = Unmarked(cells[1].second);
        for (int q = 2; q < 8; ++q) {
            p.marks.push_back(Unmarked(cells[q].second));
            p.markClasses.push_back(cells[q].first);
        }
        p.completeness = Unmarked(cells[8].second);
        p.outcome = Unmarked(cells[9].second);
        size_t h = 0;
        while (const std::optional<std::string> href = Between(cells[10].second, "href=\"", "\"", h))
            p.links.push_back(*href);
        rows.push_back(p);
    }
    return rows;
}

std::string CountsText(const std::string& html)
{
    size_t at = 0;
    return Between(html, "<p class=\"counts\">", "</p>", at).value_or("");
}

// A link of the page as a path under OUTDIR.
std::string Target(const std::string& outDir, const std::string& href)
{
    std::string path;
    for (size_t i = 0; i < href.size(); ++i) {
        if (href[i] == '%' && i + 2 < href.size()) {
            path += static_cast<char>(std::stoi(href.substr(i + 1, 2), nullptr, 16));
            i += 2;
        } else {
            path += href[i];
        }
    }
    return outDir + "/" + path;
}

bool SameFile(const std::string& a, const std::string& b)
{
    struct stat sa, sb;
    return ::stat(a.c_str(), &sa) == 0 && ::stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev &&
           sa.st_ino == sb.st_ino;
}

// The mark the page shows for a verdict of the result document, and its shading.
std::pair<std::string, std::string> MarkOf(const std::string& verdict)
{
    if (verdict == "complies")
        return {"+", "ok"};
    if (verdict == "does_not_comply")
        return {"НЕТ", "fail"};
    return {"н/д", "nodata"};
}

const char* const kQuantities[] = {"voltage_deviation", "frequency_deviation", "distortion",
                                   "harmonics",         "unbalance_negative",  "unbalance_zero"};

// The records of job `seq` in a job log.
int RecordsOf(const std::string& joblog, int seq)
{
    int n = 0;
    size_t at = 0;
    while ((at = joblog.find('\n', at)) != std::string::npos) {
        ++at;
        if (joblog.compare(at, std::to_string(seq).size() + 1, std::to_string(seq) + "\t") == 0)
            ++n;
    }
    return n;
}

// ---- tests ---------------------------------------------------------------------

TEST(Fleet, SixSitesRollUpToTheirReportsVerdicts)
{
    const FleetSpace w;
    struct Site {
        const char* name;
        SiteData data;
    };
    // Three sites of which B fails the frequency on 2 March and C has no
    // zero-sequence unbalance values.
    const std::map<std::string, Site> sites{{"A", {"Подстанция А", {}}},
                                            {"B", {"Подстанция Б", {2, true}}},
                                            {"C", {"Подстанция В", {0, false}}}};
    std::map<std::string, std::string> documents, userDirs;  // "A1" -> settings, its pages' directory
    for (const auto& s : sites) {
        const std::string db = w.dir / (s.first + ".db");
        WriteSite(db, s.second.data);
        for (int day : {1, 2}) {
            const std::string key = s.first + std::to_string(day);
            userDirs[key] = w.dir.Subdir("reports " + key) + "/";
            documents[key] = SiteSettings(db, userDirs[key], s.second.name, day).Write(w.dir / (key + ".xml"));
        }
    }
    const std::vector<std::string> order{"B2", "C1", "A2", "B1", "A1", "C2"};
    std::vector<std::string> args{w.out};
    for (const std::string& key : order)
        args.push_back(documents[key]);
    const Outcome r = w.Fleet(args);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "Reports: 6; complying in all six quantities: 3; not complying: 1; failed runs: 0.\n");

    // The reports are what the data make them: B fails on the 2nd, C has no K0U.
    std::map<std::string, Json> results;
    for (const auto& d : userDirs)
        results[d.first] = ReadJson(d.second + "report.json");
    EXPECT_EQ(results["B2"]["summary"]["verdicts"]["frequency_deviation"], "does_not_comply");
    EXPECT_EQ(results["B1"]["summary"]["verdicts"]["frequency_deviation"], "complies");
    EXPECT_EQ(results["C1"]["summary"]["verdicts"]["unbalance_zero"], "no_data");
    EXPECT_EQ(results["A1"]["summary"]["verdicts"]["harmonics"], "complies");

    const std::string page = ReadFile(w.out + "/index.htm");
    EXPECT_EQ(CountsText(page),
              "Отчётов: 6; соответствуют по всем шести показателям: 3; не соответствуют: 1; прогонов с ошибкой: 0.");
    EXPECT_EQ(page.find("<script"), std::string::npos);
    EXPECT_NE(page.find("<meta charset=\"utf-8\">"), std::string::npos);
    EXPECT_NE(page.find("size: A4"), std::string::npos);
    const std::vector<PageRow> rows = RollupRows(page);
    const std::vector<std::string> expectedOrder{"A1", "A2", "B1", "B2", "C1", "C2"};
    ASSERT_EQ(rows.size(), expectedOrder.size());
    for (size_t i = 0; i < rows.size(); ++i) {
        const std::string& key = expectedOrder[i];
        const PageRow& row = rows[i];
        SCOPED_TRACE("row " + std::to_string(i + 1) + ", " + key);
        EXPECT_EQ(row.site, sites.at(key.substr(0, 1)).name);
        EXPECT_EQ(row.settings, documents[key]);
        EXPECT_EQ(row.period, "0" + key.substr(1) + ".03.2011");
        for (int q = 0; q < 6; ++q) {
            const auto mark = MarkOf(results[key]["summary"]["verdicts"][kQuantities[q]]);
            EXPECT_EQ(row.marks[q], mark.first) << kQuantities[q];
            EXPECT_EQ(row.markClasses[q], mark.second) << kQuantities[q];
        }
        // The lowest share: 24 hourly values of the 28800 of a 3-second series,
        // none at all of C's zero-sequence unbalance.
        EXPECT_EQ(row.completeness, key[0] == 'C' ? "0,0 !" : "0,1 !");
        EXPECT_EQ(row.outcome, "ok!");
        ASSERT_EQ(row.links.size(), 3u);
        EXPECT_TRUE(SameFile(Target(w.out, row.links[0]), userDirs[key] + "Page0.htm"));
        EXPECT_TRUE(SameFile(Target(w.out, row.links[1]), userDirs[key] + "report.json"));
        EXPECT_TRUE(Exists(Target(w.out, row.links[2])));
    }

    // fleet.json: the schema, the command line's order, each report's summary.
    EXPECT_EQ(SchemaCheck("fleet.schema.json", w.out + "/fleet.json"), "exit 0\n");
    const Json fleet = ReadJson(w.out + "/fleet.json");
    EXPECT_EQ(fleet["format"], "pqreport-fleet");
    EXPECT_EQ(fleet["format_version"], 2);
    ASSERT_EQ(fleet["runs"].size(), order.size());
    for (size_t i = 0; i < order.size(); ++i) {
        const Json& run = fleet["runs"][i];
        const std::string& key = order[i];
        SCOPED_TRACE(key);
        EXPECT_EQ(run["settings"], documents[key]);
        EXPECT_EQ(run["exit_status"], 0);
        EXPECT_EQ(run["outcome"], "ok!");
        EXPECT_EQ(run["report"], userDirs[key] + "report.json");
        EXPECT_EQ(run["site"]["att_Header_0"], sites.at(key.substr(0, 1)).name);
        EXPECT_EQ(run["site"]["att_Header_1"], "ввод Т1");
        EXPECT_EQ(run["period"], Json({{"begin", "2011-03-0" + key.substr(1) + "T00:00:00"},
                                       {"end", "2011-03-0" + std::to_string(key[1] - '0' + 1) + "T00:00:00"},
                                       {"days", 1}}));
        EXPECT_EQ(run["summary"], results[key]["summary"]);
        EXPECT_TRUE(Exists(w.out + "/" + run["log"].get<std::string>()));
    }
}

TEST(Fleet, ABrokenDocumentFailsAloneAndResumeRunsOnlyIt)
{
    const FleetSpace w;
    const std::string db = w.dir / "site.db";
    WriteSite(db, {});
    const std::string good1 = SiteSettings(db, w.dir.Subdir("r1") + "/", "Объект 1", 1).Write(w.dir / "s1.xml");
    const Settings mended = SiteSettings(db, w.dir.Subdir("r2") + "/", "Объект 2", 1);
    const std::string broken = Settings(mended).Set("dt_begin", "31.02.2011 00:00:00").Write(w.dir / "s2.xml");
    const std::string good3 = SiteSettings(db, w.dir.Subdir("r3") + "/", "Объект 3", 2).Write(w.dir / "s3.xml");

    const Outcome first = w.Fleet({w.out, good1, broken, good3});
    EXPECT_EQ(first.status, 1) << first.err;
    EXPECT_EQ(first.out, "Reports: 3; complying in all six quantities: 2; not complying: 0; failed runs: 1.\n");
    EXPECT_TRUE(Exists(w.dir / "r1/Page0.htm"));
    EXPECT_TRUE(Exists(w.dir / "r3/report.json"));
    EXPECT_FALSE(Exists(w.dir / "r2/Page0.htm"));
    const std::string error = "Error: dt_begin is missing or is not a date and time of the form dd.mm.yyyy hh:mm:ss.";
    {
        const std::vector<PageRow> rows = RollupRows(ReadFile(w.out + "/index.htm"));
        ASSERT_EQ(rows.size(), 3u);
        EXPECT_EQ(rows[1].settings, broken);
        EXPECT_EQ(rows[1].outcome, error);
        EXPECT_EQ(rows[1].marks, std::vector<std::string>(6, ""));
        EXPECT_EQ(rows[1].links.size(), 1u) << "only the log";
        EXPECT_EQ(rows[0].outcome, "ok!");
        const Json run = ReadJson(w.out + "/fleet.json")["runs"][1];
        EXPECT_EQ(run["exit_status"], 1);
        EXPECT_EQ(run["outcome"], error);
        EXPECT_EQ(run["report"], nullptr);
        EXPECT_EQ(run["summary"], nullptr);
        EXPECT_EQ(SchemaCheck("fleet.schema.json", w.out + "/fleet.json"), "exit 0\n");
    }
    EXPECT_NE(first.err.find(broken + ": " + error), std::string::npos) << first.err;

    // Resuming with other documents would give job numbers another meaning.
    const std::string joblog = w.JobLog();
    const Outcome other = w.Fleet({"--resume", w.out, good1, good3});
    EXPECT_EQ(other.status, 1);
    EXPECT_NE(other.err.find("--resume"), std::string::npos) << other.err;
    EXPECT_EQ(w.JobLog(), joblog);

    mended.Write(broken);
    const Outcome resumed = w.Fleet({"--resume", w.out, good1, broken, good3});
    EXPECT_EQ(resumed.status, 0) << resumed.err;
    EXPECT_EQ(resumed.out, "Reports: 3; complying in all six quantities: 3; not complying: 0; failed runs: 0.\n");
    const std::string log = w.JobLog();
    EXPECT_EQ(RecordsOf(log, 1), 1);
    EXPECT_EQ(RecordsOf(log, 2), 2) << log;
    EXPECT_EQ(RecordsOf(log, 3), 1);
    EXPECT_TRUE(Exists(w.dir / "r2/report.json"));
    for (const PageRow& row : RollupRows(ReadFile(w.out + "/index.htm")))
        EXPECT_EQ(row.outcome, "ok!") << row.settings;
}

TEST(Fleet, RefusesDocumentsWithoutTheResultDocumentOrSharingPages)
{
    const FleetSpace w;
    const std::string db = w.dir / "site.db";
    WriteSite(db, {});
    w.dir.Subdir("out");
    ASSERT_EQ(::symlink((w.dir / "out").c_str(), (w.dir / "link").c_str()), 0);
    const std::string good = SiteSettings(db, w.dir.Subdir("good") + "/", "Объект", 1).Write(w.dir / "good.xml");
    struct Case {
        const char* what;
        std::vector<std::pair<std::string, std::optional<std::string>>> documents;  // name, UserDirectory
        std::vector<std::string> exports;  // Export of each, "-" for none
    };
    const Case cases[] = {
        {"no Export", {{"a.xml", "out/a-"}}, {"-"}},
        {"Export without json", {{"a.xml", "out/a-"}}, {""}},
        {"Export with an unknown word", {{"a.xml", "out/a-"}}, {"json pdfa"}},
        {"the same directory written twice", {{"a.xml", "out/"}, {"b.xml", "out/./"}}, {"json", "json"}},
        {"by a relative and an absolute path", {{"a.xml", "out/"}, {"b.xml", w.dir / "out/"}}, {"json", "json"}},
        {"through a symbolic link", {{"a.xml", "link/"}, {"b.xml", "out/"}}, {"json", "json"}},
        {"both beside the program", {{"a.xml", std::nullopt}, {"b.xml", std::nullopt}}, {"json", "json"}},
        {"one beside the program, one naming its directory",
         {{"a.xml", std::nullopt}, {"b.xml", w.bin + "/./"}},
         {"json", "json"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<std::string> args{w.out, good};
        for (size_t i = 0; i < c.documents.size(); ++i) {
            Settings s = SiteSettings(db, "", "Объект", 1).UserDir(c.documents[i].second);
            if (c.exports[i] == "-")
                s.Remove("Export");
            else
                s.Set("Export", c.exports[i]);
            args.push_back(s.Write(w.dir / c.documents[i].first));
        }
        const Outcome r = w.Fleet(args);
        EXPECT_EQ(r.status, 1);
        // One line for each refused document, none for the good one.
        const std::vector<std::string> lines = r.LogLines();
        ASSERT_EQ(lines.size(), c.documents.size()) << r.err;
        for (size_t i = 0; i < c.documents.size(); ++i)
            EXPECT_EQ(lines[i].rfind("pqfleet: " + (w.dir / c.documents[i].first) + ": refused: ", 0), 0u)
                << lines[i];
        EXPECT_EQ(r.err.find(good), std::string::npos);
        // Nothing ran.
        EXPECT_FALSE(Exists(w.out));
        EXPECT_EQ(ListDir(w.dir / "out"), std::vector<std::string>{});
        EXPECT_FALSE(Exists(w.dir / "good/Page0.htm"));
    }
}

TEST(Fleet, HostsRunTheReportsThroughTheSshCommand)
{
    const FleetSpace w;
    // Paths with blanks, quotes and shell characters, through two shells.
    const std::string place = w.dir.Subdir("site's \"data\" $HOME & more");
    const std::string db = place + "/m.db";
    WriteSite(db, {});
    const std::string sshLog = w.dir / "ssh.log";
    // A stand-in for ssh that runs the command here as ssh runs it there:
    // "[options] host [--] command...", joined by blanks for a shell that
    // starts in the login directory. sshd sets SHELL from the login's entry,
    // and GNU parallel's remote side runs the job with it, so the stand-in
    // sets it too whatever the caller's environment holds.
    const std::string ssh = w.dir / "ssh-here";
    const std::string login = w.dir.Subdir("login");
    WriteFile(ssh, "#!/bin/sh\n"
                   "while [ $# -gt 0 ]; do case $1 in -[lpoSiFJ]) shift 2;; -*) shift;; *) break;; esac; done\n"
                   "host=$1; shift; [ \"$1\" = -- ] && shift\n"
                   "printf '%s\\n' \"$host\" >> '" + sshLog + "'\n"
                   "SHELL=/bin/sh; export SHELL\n"
                   "cd '" + login + "' && exec /bin/sh -c \"$*\"\n");
    ::chmod(ssh.c_str(), 0755);
    WriteFile(w.dir / "hosts", "# two machines\nnode-a\nnode-b\n");
    const ScopedEnv standIn("PARALLEL_SSH", ssh);

    std::vector<std::string> args{"--hosts", "hosts", w.out};
    for (int i = 1; i <= 4; ++i) {
        // Relative paths are taken under the working directory on every machine.
        const std::string userDir = i == 4 ? "relative 'dir'/" : w.dir.Subdir("out " + std::to_string(i)) + "/";
        if (i == 4)
            w.dir.Subdir("relative 'dir'");
        args.push_back(SiteSettings(db, userDir, "Объект " + std::to_string(i), 1)
                           .Write(place + "/site " + std::to_string(i) + ".xml"));
    }
    const Outcome r = w.Fleet(args);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "Reports: 4; complying in all six quantities: 4; not complying: 0; failed runs: 0.\n");
    EXPECT_TRUE(Exists(w.dir / "relative 'dir'/report.json"));
    for (int i = 1; i <= 3; ++i)
        EXPECT_TRUE(Exists(w.dir / ("out " + std::to_string(i) + "/Page0.htm")));
    // Every run went through the stand-in to one of the machines.
    std::set<std::string> hosts;
    const Json fleet = ReadJson(w.out + "/fleet.json");
    for (const Json& run : fleet["runs"])
        hosts.insert(run["host"].get<std::string>());
    EXPECT_EQ(hosts, (std::set<std::string>{"node-a", "node-b"}));
    const std::string called = ReadFile(sshLog);
    EXPECT_NE(called.find("node-a\n"), std::string::npos);
    EXPECT_NE(called.find("node-b\n"), std::string::npos);
}

// Files in a report directory that are neither a page nor report.json.
std::vector<std::string> Leftovers(const std::string& dir)
{
    std::vector<std::string> others;
    for (const std::string& name : ListDir(dir))
        if (name != "Page0.htm" && name != "report.json" &&
            !(name.size() == 9 && name.rfind("day_", 0) == 0 && std::isdigit(static_cast<unsigned char>(name[4])) &&
              name.compare(5, 4, ".htm") == 0))
            others.push_back(name);
    return others;
}

// Processes running the given program.
int Running(const std::string& program)
{
    int n = 0;
    if (DIR* proc = ::opendir("/proc")) {
        while (const dirent* e = ::readdir(proc)) {
            char target[4096];
            const std::string link = std::string("/proc/") + e->d_name + "/exe";
            const ssize_t len = ::readlink(link.c_str(), target, sizeof target - 1);
            if (len > 0 && std::string(target, static_cast<size_t>(len)) == program)
                ++n;
        }
        ::closedir(proc);
    }
    return n;
}

TEST(Fleet, AnInterruptedFleetLeavesWholePagesAndResumes)
{
    // Large pages, so that a good share of each run is spent writing them.
    const std::string filler = "<!--" + std::string(4 << 20, 'f') + "-->";
    for (int signal : {SIGTERM, SIGINT}) {
        SCOPED_TRACE("signal " + std::to_string(signal));
        const FleetSpace w("day page" + filler, "title page" + filler);
        const std::string db = w.dir / "site.db";
        WriteSite(db, {});
        std::vector<std::string> args{w.out}, userDirs;
        for (int i = 1; i <= 4; ++i) {
            userDirs.push_back(w.dir.Subdir("r" + std::to_string(i)));
            args.push_back(Settings(db, userDirs.back() + "/", 2)
                               .Set("Export", "json")
                               .Set("att_Header_0", "Объект " + std::to_string(i))
                               .Write(w.dir / ("s" + std::to_string(i) + ".xml")));
        }
        WatchedChild fleet(w.At(args));
        // A report is writing a page: its temporary file is there.
        ASSERT_TRUE(WaitUntil([&] {
            for (const std::string& dir : userDirs)
                if (!Leftovers(dir).empty())
                    return true;
            return false;
        }));
        ::kill(fleet.Pid(), signal);
        const Outcome r = fleet.Wait();
        EXPECT_EQ(r.signal, signal) << r.err;
        // The reports ended with the fleet, through their own handling: no
        // temporary file, pages whole or absent.
        EXPECT_EQ(Running(w.bin + "/pqreport"), 0);
        std::map<std::string, std::string> pages;
        for (const std::string& dir : userDirs) {
            EXPECT_EQ(Leftovers(dir), std::vector<std::string>{}) << dir;
            for (const std::string& name : ListDir(dir))
                pages[dir + "/" + name] = ReadFile(dir + "/" + name);
        }
        EXPECT_EQ(ListDir(w.out), (std::vector<std::string>{"documents", "fleet.json", "index.htm", "joblog",
                                                             "lognames", "logs"}));
        const Json interrupted = ReadJson(w.out + "/fleet.json");
        int unfinished = 0;
        for (const Json& run : interrupted["runs"])
            unfinished += run["outcome"] != "ok!";
        EXPECT_GT(unfinished, 0);

        const Outcome resumed = w.Fleet({"--resume", w.out, args[1], args[2], args[3], args[4]});
        EXPECT_EQ(resumed.status, 0) << resumed.err;
        EXPECT_EQ(resumed.out, "Reports: 4; complying in all six quantities: 4; not complying: 0; failed runs: 0.\n");
        // Pages left by the interrupted fleet are those of the completed runs.
        for (const auto& page : pages)
            EXPECT_TRUE(ReadFile(page.first) == page.second) << page.first << " was not whole";
        const std::string log = w.JobLog();
        for (int seq = 1; seq <= 4; ++seq)
            EXPECT_EQ(RecordsOf(log, seq), 1) << "job " << seq << " ran again after it succeeded:\n" << log;
    }
}

}  // namespace
