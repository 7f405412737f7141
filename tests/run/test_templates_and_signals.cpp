// Templates that are not ordinary files, and runs ended by a signal: a clear
// error instead of a hang or a cut page, and no temporary file left behind.
// The signals are sent at the moments that matter: after the log line before
// a page is written, and while the page is complete in its temporary file
// (held there by SyncGatedChild).
#include <csignal>
#include <cstring>
#include <functional>
#include <iterator>
#include <map>
#include <memory>
#include <optional>

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

// The pages of a two-day run in the order it writes them, each with the log
// line after which the run goes on to it: the day's first line, and for the
// title page the last line of the period summary.
const struct {
    const char* page;
    const char* lineBefore;
} kPageOrder[] = {
    {"day_1.htm", "Day number 1 of 2."},
    {"day_2.htm", "Day number 2 of 2."},
    {"Page0.htm", "U min max du1m"},
};

// A two-day report and the pages a whole run writes. Each interrupted run
// finds pages of an earlier run in the output directory: the pages it had
// finished must be the new ones whole, the others the earlier ones as they were.
class SignalledRun : public ::testing::Test {
protected:
    void SetUp() override
    {
        const Outcome whole = RunProgram(w.At({settings}));
        ASSERT_EQ(whole.out, "ok!\n") << whole.Log();
        for (const auto& p : kPageOrder)
            whole_[p.page] = ReadFile(w.out + p.page);
    }

    static std::string Earlier(const std::string& page) { return "the earlier run's " + page; }

    // Puts the earlier pages back and starts a run that may write its first
    // `next` pages: each one's sync is awaited and released.
    std::unique_ptr<SyncGatedChild> RunWritingPagesBefore(size_t next)
    {
        for (const auto& p : kPageOrder)
            WriteFile(w.out + p.page, Earlier(p.page));
        auto child = std::make_unique<SyncGatedChild>(w.At({settings}));
        for (size_t i = 0; i < next; ++i) {
            const std::optional<std::string> synced = child->HeldSync();
            EXPECT_TRUE(synced && synced->rfind(w.out + kPageOrder[i].page + ".", 0) == 0)
                << "the run did not sync a temporary of " << kPageOrder[i].page << " but " << synced.value_or("nothing");
            child->Release();
        }
        return child;
    }

    // What holds after a run ended by `signal` before it finished page `next`.
    void ExpectEndedBefore(const Outcome& r, int signal, size_t next) const
    {
        EXPECT_EQ(r.signal, signal) << r.Log();
        EXPECT_EQ(r.out, "");
        for (size_t i = 0; i < std::size(kPageOrder); ++i) {
            const std::string page = kPageOrder[i].page;
            if (i < next)
                EXPECT_TRUE(ReadFile(w.out + page) == whole_.at(page)) << page << " is not the whole new page";
            else
                EXPECT_EQ(ReadFile(w.out + page), Earlier(page));
        }
        EXPECT_EQ(Leftovers(w.out), std::vector<std::string>{});
    }

    const Workspace w{MarkedDayTemplate(180), MarkedTitleTemplate(60)};
    const std::string settings = w.Write(w.settings(2));
    std::map<std::string, std::string> whole_;
};

TEST_F(SignalledRun, AfterTheLineBeforeAPageEndsTheRunWithTheFinishedPagesWhole)
{
    for (int signal : {SIGTERM, SIGINT, SIGHUP}) {
        for (size_t next = 0; next < std::size(kPageOrder); ++next) {
            SCOPED_TRACE(std::string(::strsignal(signal)) + " after \"" + kPageOrder[next].lineBefore + "\"");
            const std::unique_ptr<SyncGatedChild> child = RunWritingPagesBefore(next);
            ASSERT_TRUE(child->WaitForLine(kPageOrder[next].lineBefore));
            // Wherever the run is now, it cannot finish page `next`: its sync is never released.
            ::kill(child->Pid(), signal);
            ExpectEndedBefore(child->Wait(), signal, next);
        }
    }
}

TEST_F(SignalledRun, WhileAPageIsWrittenRemovesItsTemporaryAndKeepsTheEarlierPage)
{
    for (int signal : {SIGTERM, SIGINT, SIGHUP}) {
        for (size_t next = 0; next < std::size(kPageOrder); ++next) {
            const std::string page = w.out + kPageOrder[next].page;
            SCOPED_TRACE(std::string(::strsignal(signal)) + " while writing " + page);
            const std::unique_ptr<SyncGatedChild> child = RunWritingPagesBefore(next);
            const std::optional<std::string> temporary = child->HeldSync();
            ASSERT_TRUE(temporary && temporary->rfind(page + ".", 0) == 0) << temporary.value_or("no sync");
            // The new page is complete in its temporary; the earlier one is still in place.
            EXPECT_TRUE(ReadFile(*temporary) == whole_.at(kPageOrder[next].page));
            EXPECT_EQ(ReadFile(page), Earlier(kPageOrder[next].page));
            ::kill(child->Pid(), signal);
            ExpectEndedBefore(child->Wait(), signal, next);
        }
    }
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
