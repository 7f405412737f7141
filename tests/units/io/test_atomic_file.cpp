// The atomic file on its own: nothing at the target until it is committed, a
// commit that replaces the old file whole, and the old file kept when writing
// or committing fails.
#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include "io/atomic_file.h"

using namespace pq;

namespace fs = std::filesystem;

namespace {

std::string Read(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void Put(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

// A fresh directory for each test, removed at its end.
class AtomicFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char name[] = "/tmp/pq-atomic-file-XXXXXX";
        ASSERT_NE(::mkdtemp(name), nullptr);
        dir_ = name;
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::string Path(const std::string& name) const { return dir_ + "/" + name; }
    // The names in the directory, sorted.
    std::vector<std::string> Names() const
    {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(dir_))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    std::string dir_;
};

TEST_F(AtomicFileTest, LeavesNothingAtTheTargetUntilCommitted)
{
    for (const std::optional<std::string>& old : {std::optional<std::string>{}, std::optional<std::string>{"old"}}) {
        SCOPED_TRACE(old ? "over an old file" : "no old file");
        const std::string page = Path("page.htm");
        if (old)
            Put(page, *old);
        {
            AtomicFile file(page);
            ASSERT_TRUE(file.Write("new page"));
            // The bytes wait in a temporary beside the target.
            const std::vector<std::string> names = Names();
            ASSERT_EQ(names.size(), old ? 2u : 1u);
            EXPECT_EQ(names.back().rfind("page.htm.", 0), 0u) << names.back();
            EXPECT_EQ(fs::exists(page), old.has_value());
        }
        EXPECT_EQ(Names(), old ? std::vector<std::string>{"page.htm"} : std::vector<std::string>{});
        if (old) {
            EXPECT_EQ(Read(page), *old);
        }
        fs::remove(page);
    }
}

TEST_F(AtomicFileTest, CommitReplacesTheOldFileWhole)
{
    const std::string page = Path("page.htm");
    const std::string old(100000, 'o');
    Put(page, old);
    // A reader that opened the old file before the commit.
    std::ifstream reader(page, std::ios::binary);
    ASSERT_TRUE(reader.is_open());

    const mode_t previousMask = ::umask(022);
    {
        AtomicFile file(page);
        ASSERT_TRUE(file.Write("new "));
        ASSERT_TRUE(file.Write("page"));
        ASSERT_TRUE(file.Commit());
    }
    ::umask(previousMask);

    // Nothing of the longer old file is left, and the object's end keeps the page.
    EXPECT_EQ(Read(page), "new page");
    EXPECT_EQ(Names(), std::vector<std::string>{"page.htm"});
    // Renamed over the old file, not written into it: the reader still has the old bytes whole.
    EXPECT_TRUE(std::string(std::istreambuf_iterator<char>(reader), std::istreambuf_iterator<char>()) == old);
    // The permissions of a new file under the umask, not the temporary's private ones.
    struct stat st {};
    ASSERT_EQ(::stat(page.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0644u) << "mode " << std::oct << (st.st_mode & 0777);
}

// Ignores SIGXFSZ and limits the size of the files this process writes while it lives.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        ::getrlimit(RLIMIT_FSIZE, &previous_);
        rlimit limit = previous_;
        limit.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        ::setrlimit(RLIMIT_FSIZE, &previous_);
        std::signal(SIGXFSZ, previousHandler_);
    }

private:
    rlimit previous_{};
    void (*previousHandler_)(int);
};

TEST_F(AtomicFileTest, AFailureKeepsTheOldFile)
{
    const struct {
        const char* name;
        std::function<std::string(const std::string& dir)> target;  // makes the old file, returns the target
        std::function<bool(AtomicFile&)> write;
        bool writeFails;  // or else the commit
        int error;
    } cases[] = {
        {"the disk refuses the bytes",
         [](const std::string& dir) {
             Put(dir + "/page.htm", "old page");
             return dir + "/page.htm";
         },
         [](AtomicFile& f) {
             const FileSizeLimit limit(4096);
             return f.Write(std::string(8192, 'n'));
         },
         true, EFBIG},
        {"the target is a folder",
         [](const std::string& dir) {
             fs::create_directory(dir + "/page.htm");
             Put(dir + "/page.htm/inside", "old page");
             return dir + "/page.htm";
         },
         [](AtomicFile& f) { return f.Write("new page"); }, false, EISDIR},
        {"the folder is missing", [](const std::string& dir) { return dir + "/missing/page.htm"; },
         [](AtomicFile& f) { return f.Write("new page"); }, true, ENOENT},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string target = c.target(dir_);
        const std::vector<std::string> before = Names();
        {
            AtomicFile file(target);
            EXPECT_EQ(c.write(file), !c.writeFails);
            EXPECT_FALSE(file.Commit());
            EXPECT_EQ(file.Error(), c.error);
            // A failed file stays failed: nothing more is written.
            EXPECT_FALSE(file.Write("more"));
            EXPECT_EQ(Names(), before) << "the temporary is removed when the failure comes";
        }
        EXPECT_EQ(Names(), before);
        if (fs::is_regular_file(target)) {
            EXPECT_EQ(Read(target), "old page");
        } else if (fs::is_directory(target)) {
            EXPECT_EQ(Read(target + "/inside"), "old page");
        }
        fs::remove_all(target);
    }
}

}  // namespace
