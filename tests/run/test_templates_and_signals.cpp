// Templates that are not ordinary files, and runs ended by a signal: a clear
// error instead of a hang or a cut page, and no temporary file left behind.
#include <chrono>
#include <csignal>
#include <functional>
#include <map>
#include <thread>

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "support.h"

using namespace pqrun;

namespace {

TEST(Templates, ThatAreNotRegularFilesOrTooLargeAreRefused)
{
    const struct {
        const char* name;
        std::function<void(const std::string& path)> make;
        const char* why;
    } cases[] = {
        {"a FIFO", [](const std::string& p) { ASSERT_EQ(::mkfifo(p.c_str(), 0600), 0); },
         "it is not a regular file"},
        {"an endless device", [](const std::string& p) { ASSERT_EQ(::symlink("/dev/zero", p.c_str()), 0); },
         "it is not a regular file"},
        {"a random device", [](const std::string& p) { ASSERT_EQ(::symlink("/dev/urandom", p.c_str()), 0); },
         "it is not a regular file"},
        {"a directory", [](const std::string& p) { ASSERT_EQ(::mkdir(p.c_str(), 0700), 0); },
         "it is not a regular file"},
        {"a file over 16 MiB",
         [](const std::string& p) { WriteFile(p, std::string((16 << 20) + 1, 'x')); }, "it is larger than 16 MiB"},
    };
    for (const char* name : {"tbl1.htm", "Title.htm"}) {
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(name) + ": " + c.name);
            const Workspace w(MarkedDayTemplate(180), MarkedTitleTemplate(60));
            const std::string path = w.dir / (std::string("bin/") + name);
            std::remove(path.c_str());
            c.make(path);
            // A FIFO or a device read would hang or grow without end; the test's time-out would catch it.
            const Outcome r = RunProgram(w.At({w.Write(w.settings(1))}));
            EXPECT_EQ(r.out, "");
            EXPECT_EQ(r.status, 1);
            EXPECT_TRUE(r.HasLine("Error: Cannot read the template " + path + ": " + c.why)) << r.Log();
            EXPECT_FALSE(Exists(w.out + "Page0.htm"));
        }
    }
}

TEST(Templates, NulBytesAreKeptInThePage)
{
    const std::string tail = std::string("\0after the NUL|", 15);
    const Workspace w(MarkedDayTemplate(180) + tail, MarkedTitleTemplate(60) + tail);
    const Outcome r = RunProgram(w.At({w.Write(w.settings(1))}));
    ASSERT_EQ(r.out, "ok!\n") << r.Log();
    for (const char* page : {"day_1.htm", "Page0.htm"}) {
        const std::string text = ReadFile(w.out + page);
        ASSERT_GE(text.size(), tail.size());
        EXPECT_EQ(text.substr(text.size() - tail.size()), tail) << page;
    }
}

// What a directory holds besides the settings and whole pages ("day_1.htm.Ab12Cd" and the like).
std::vector<std::string> Leftovers(const std::string& dir)
{
    std::vector<std::string> others;
    for (const std::string& name : ListDir(dir)) {
        const bool page = name == "Page0.htm" ||
                          (name.rfind("day_", 0) == 0 && name.find('.') == name.size() - 4 &&
                           name.substr(name.size() - 4) == ".htm");
        if (!page && name != "settings.xml")
            others.push_back(name);
    }
    return others;
}

TEST(Signals, EndARunWithoutTemporaryFilesAndWithWholePages)
{
    // Large pages, so that a good share of the run is spent writing them.
    const std::string filler = "<!--" + std::string(4 << 20, 'f') + "-->";
    const Workspace w(MarkedDayTemplate(180) + filler, MarkedTitleTemplate(60) + filler);
    const std::string settings = w.Write(w.settings(3));
    const Outcome whole = RunProgram(w.At({settings}));
    ASSERT_EQ(whole.out, "ok!\n") << whole.Log();
    std::map<std::string, std::string> complete;
    for (const char* page : {"day_1.htm", "day_2.htm", "day_3.htm", "Page0.htm"})
        complete[page] = ReadFile(w.out + page);

    int interrupted = 0;
    for (int signal : {SIGTERM, SIGINT, SIGHUP}) {
        for (int delayMs = 0; delayMs < 400; delayMs += 20) {
            SCOPED_TRACE("signal " + std::to_string(signal) + " after " + std::to_string(delayMs) + " ms");
            for (const auto& page : complete)
                std::remove((w.out + page.first).c_str());
            WatchedChild child(w.At({settings}));
            std::this_thread::sleep_for(std::chrono::milliseconds(delayMs));  // a point in the run, not a wait for it
            ::kill(child.Pid(), signal);
            const Outcome r = child.Wait();
            if (r.status == -1)
                ++interrupted;
            EXPECT_EQ(Leftovers(w.out), std::vector<std::string>{});
            for (const auto& page : complete) {
                if (Exists(w.out + page.first)) {
                    EXPECT_TRUE(ReadFile(w.out + page.first) == page.second) << page.first << " is not whole";
                }
            }
        }
    }
    EXPECT_GT(interrupted, 0) << "no run was ended by its signal";
}

}  // namespace

namespace {

TEST(Signals, ThatTheCallerIgnoresStayIgnored)
{
    // As under nohup: SIGHUP ignored before the program starts.
    const Workspace w(MarkedDayTemplate(180), MarkedTitleTemplate(60));
    const std::string settings = w.Write(w.settings(1));
    struct sigaction ignore {}, previous {};
    ignore.sa_handler = SIG_IGN;
    ASSERT_EQ(::sigaction(SIGHUP, &ignore, &previous), 0);
    WatchedChild child(w.At({settings}));
    ::sigaction(SIGHUP, &previous, nullptr);
    ASSERT_TRUE(child.WaitForLine("Input files: " + settings + " "));
    ::kill(child.Pid(), SIGHUP);
    const Outcome r = child.Wait();
    EXPECT_EQ(r.status, 0) << r.Log();
    EXPECT_EQ(r.out, "ok!\n") << r.Log();
}

}  // namespace
