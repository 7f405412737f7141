// Paths made absolute, and whether two paths name one file.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include <gtest/gtest.h>
#include <unistd.h>

#include "base/file_path.h"

using namespace pq;

namespace {

TEST(AbsolutePath, DotsRemovedAndRelativeOnesTakenUnderTheBase)
{
    const struct {
        const char* path;
        const char* base;
        const char* expected;
    } cases[] = {
        {"settings.xml", "/data/site", "/data/site/settings.xml"},
        {"./out/../m.db", "/data/site", "/data/site/m.db"},
        {"../other/m.db", "/data/site", "/data/other/m.db"},
        {"a/./b/../../c/d.htm", "/w", "/w/c/d.htm"},
        {"/abs/./x/../y.db", "/ignored", "/abs/y.db"},
        {"/abs/y.db", "", "/abs/y.db"},
        {"out/", "/w", "/w/out/"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(AbsolutePath(wxString(c.path), wxString(c.base)), c.expected) << c.path;
        EXPECT_EQ(AbsolutePath(std::string(c.path), std::string(c.base)), c.expected) << c.path;
    }
    // Without a base, under the current directory.
    EXPECT_EQ(AbsolutePath(wxString("x/../m.db")), std::filesystem::current_path().string() + "/m.db");
    // Bytes that are not UTF-8 stay as they are.
    EXPECT_EQ(AbsolutePath(std::string("caf\xE9/../\xE9t\xE9.db"), std::string("/d")), "/d/\xE9t\xE9.db");
}

// A fresh directory, removed with what it holds at the end.
class Scratch {
public:
    Scratch()
    {
        char name[] = "/tmp/pq-file-path-XXXXXX";
        if (::mkdtemp(name))
            dir_ = name;
    }
    ~Scratch()
    {
        if (!dir_.empty())
            std::filesystem::remove_all(dir_);
    }
    Scratch(const Scratch&) = delete;
    Scratch& operator=(const Scratch&) = delete;
    bool Ok() const { return !dir_.empty(); }
    std::string operator/(const std::string& name) const { return dir_ + "/" + name; }

private:
    std::string dir_;
};

TEST(SameFile, ByDeviceAndInodeWhereTheFileIsAndElseByPath)
{
    const Scratch s;
    ASSERT_TRUE(s.Ok());
    std::ofstream(s / "m.db") << "database";
    std::ofstream(s / "other.db") << "database";
    ASSERT_EQ(::symlink((s / "m.db").c_str(), (s / "link.db").c_str()), 0);
    ASSERT_EQ(::link((s / "m.db").c_str(), (s / "hard.db").c_str()), 0);
    std::filesystem::create_directory(s / "sub");
    const wxString m = s / "m.db";
    const FileIdentity file = IdentityOf(m);
    EXPECT_TRUE(file.exists);
    EXPECT_EQ(file.path, m);

    const struct {
        std::string a, b;
        bool same;
    } cases[] = {
        {s / "m.db", s / "link.db", true},       // a symbolic link and its target
        {s / "m.db", s / "hard.db", true},       // a second name of the file
        {s / "m.db", s / "sub/../m.db", true},
        {s / "m.db", s / "other.db", false},     // the same bytes in another file
        {s / "gone/a.db", s / "gone/./a.db", true},  // missing: by path
        {s / "gone/a.db", s / "gone/b.db", false},
        {s / "gone/a.db", s / "m.db", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SameFile(IdentityOf(c.a), IdentityOf(c.b)), c.same) << c.a << " and " << c.b;
    // A link keeps its own path; the file is told by its inode.
    const FileIdentity link = IdentityOf(s / "link.db");
    EXPECT_EQ(link.path, s / "link.db");
    EXPECT_EQ(link.inode, file.inode);
    const FileIdentity gone = IdentityOf(s / "gone/./a.db");
    EXPECT_FALSE(gone.exists);
    EXPECT_EQ(gone.path, s / "gone/a.db");
}

}  // namespace
