// Templates: the input as the day page template (full value table, two
// max-load periods, 234 harmonic values per phase) and as the title template.
// A template without placeholders must come out unchanged.
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "fuzz_support.h"
#include "html/row_engine.h"
#include "pages/page_assembly.h"
#include "pages/page_layout.h"
#include "settings/date_parsing.h"

using namespace pq;

namespace {

void Check(bool ok, const char* what)
{
    if (!ok) {
        std::fprintf(stderr, "%s\n", what);
        std::abort();
    }
}

std::array<TextList, 3> HarmonicValues()
{
    std::array<TextList, 3> lists;
    for (int p = 0; p < 3; ++p)
        for (int i = 0; i < 234; ++i)
            lists[p].push_back("h" + std::to_string(p) + "." + std::to_string(i));
    return lists;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    StartFuzzProcess();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const TextList values = NewValueTable();
    static const std::array<TextList, 3> harmonics = HarmonicValues();
    static const DateTimeList begins{ComposeDateTime(1, 3, 2011, 8, 0, 0), ComposeDateTime(1, 3, 2011, 17, 0, 0)};
    static const DateTimeList ends{ComposeDateTime(1, 3, 2011, 12, 0, 0), ComposeDateTime(1, 3, 2011, 20, 0, 0)};

    const std::string text(reinterpret_cast<const char*>(data), size);
    const bool plain = text.find("##") == std::string::npos;
    try {
        const std::string page = AssembleDayPage(text, values, begins, ends, harmonics);
        if (plain)
            Check(page == text, "a day template without placeholders changed");
    } catch (const DataError&) {
        Check(!plain, "a data error in a day template without placeholders");
    }
    const std::string title = AssembleTitlePage(text, values);
    if (plain)
        Check(title == text, "a title template without placeholders changed");
    return 0;
}
