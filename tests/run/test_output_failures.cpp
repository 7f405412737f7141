// Pages that cannot be written and templates that cannot be read: an error
// naming the file, no "ok!", no half-written page, earlier pages kept.
#include <algorithm>
#include <functional>

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "support.h"

using namespace pqrun;

namespace {

TEST(OutputFailure, UnwritablePagesAreReportedAndEarlierPagesKept)
{
    const std::string bigTitle(256 * 1024, 'x');
    const struct {
        const char* name;
        // Prepares the user directory (earlier pages included) and returns it.
        std::function<std::string(const Workspace&)> userDir;
        std::vector<std::string> failing;  // pages that cannot be written
        std::vector<std::string> written;  // pages that can
        bool unprivileged;
        long long fileSizeLimit;
    } cases[] = {
        {"missing directory", [](const Workspace& w) { return w.dir / "missing/"; }, {"day_1.htm", "Page0.htm"}, {},
         false, -1},
        {"path under a regular file",
         [](const Workspace& w) {
             WriteFile(w.dir / "file.txt", "text");
             return w.dir / "file.txt/";
         },
         {"day_1.htm", "Page0.htm"}, {}, false, -1},
        {"read-only directory with earlier pages",
         [](const Workspace& w) {
             const std::string dir = w.dir.Subdir("ro") + "/";
             WriteFile(dir + "day_1.htm", "earlier day");
             WriteFile(dir + "Page0.htm", "earlier title");
             ::chmod(dir.c_str(), 0555);
             return dir;
         },
         {"day_1.htm", "Page0.htm"}, {}, true, -1},
        {"file size limit below the title page",
         [](const Workspace& w) {
             WriteFile(w.out + "Page0.htm", "earlier title");
             return w.out;
         },
         {"Page0.htm"}, {"day_1.htm"}, false, 64 * 1024},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Workspace w("day page", bigTitle);
        const std::string dir = c.userDir(w);
        std::map<std::string, std::string> before;
        for (const std::string& name : ListDir(dir))
            before[name] = ReadFile(dir + name);

        Launch launch = w.At({w.Write(w.settings(1).UserDir(dir))});
        launch.unprivileged = c.unprivileged;
        launch.fileSizeLimit = c.fileSizeLimit;
        const Outcome r = RunProgram(launch);

        EXPECT_EQ(r.out, "");
        for (const std::string& page : c.failing) {
            const auto line = r.LineStartingWith("Error: Cannot write the page " + dir + page + ": ");
            EXPECT_TRUE(line) << page << "\n" << r.Log();
        }
        EXPECT_TRUE(r.HasLine("Error: The report is incomplete: a page could not be written.")) << r.Log();
        // Earlier pages are untouched, and nothing else (no temporary file) is left.
        std::vector<std::string> expectedNames = c.written;
        for (const auto& nv : before) {
            expectedNames.push_back(nv.first);
            EXPECT_EQ(ReadFile(dir + nv.first), nv.second) << nv.first;
        }
        std::sort(expectedNames.begin(), expectedNames.end());
        EXPECT_EQ(ListDir(dir), expectedNames);
        for (const std::string& page : c.written)
            EXPECT_EQ(ReadFile(dir + page), "day page") << page;
    }
}

TEST(OutputFailure, MissingTemplateIsReportedByName)
{
    const struct {
        const char* removed;
        std::vector<std::string> written;
    } cases[] = {{"Title.htm", {"day_1.htm"}}, {"tbl1.htm", {}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.removed);
        const Workspace w;
        const std::string tpl = w.dir / "bin/" + c.removed;
        ::unlink(tpl.c_str());
        const Outcome r = RunProgram(w.At({w.Write(w.settings(1))}));
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.LogLines().back(), "Error: Cannot read the template " + tpl + ": No such file or directory")
            << r.Log();
        EXPECT_EQ(ListDir(w.out), c.written);
    }
}

}  // namespace
