// Where two fleet settings' pages land: the places of their prefixes.
#include <string>

#include <gtest/gtest.h>
#include <unistd.h>

#include "fleet/documents.h"
#include "tests/run/support.h"

using namespace pq;
using namespace pqrun;

namespace {

TEST(FleetPlaces, PrefixesThatPutPagesOnTheSamePaths)
{
    const TempDir w;
    w.Subdir("out");
    ASSERT_EQ(::symlink((w / "out").c_str(), (w / "link").c_str()), 0);
    struct Case {
        std::string a, b;
        bool same;
    };
    const Case cases[] = {
        {"out/", "out/./", true},
        {"out/", "out/../out/", true},
        {"out/", w / "out/", true},            // relative ones are taken under the working directory
        {"out/", "link/", true},               // a symbolic link to the same directory
        {"out/site1-", "out/./site1-", true},  // a file name prefix after the directory
        {"", w.path() + "/", true},            // an empty prefix writes into the working directory
        {"gone/", "gone/sub/../", true},       // a directory that is not there yet: by its path
        {"out", "out/", false},                // "outPage0.htm" beside out, "Page0.htm" in it
        {"out/.", "out/", false},              // ".Page0.htm" in out
        {"out/a", "out/b", false},
        {"gone/", "out/", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("\"" + c.a + "\" and \"" + c.b + "\"");
        EXPECT_EQ(SamePlace(PlaceOf(c.a, w.path()), PlaceOf(c.b, w.path())), c.same);
    }
}

}  // namespace
