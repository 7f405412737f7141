// Runs the tests under the report's locale (decimal comma, CP1251), with the
// library started as the program starts it.
#include <clocale>
#include <cstdio>

#include <gtest/gtest.h>
#include <wx/init.h>

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    wxInitializer library;
    if (!library.IsOk() || !std::setlocale(LC_ALL, "ru_RU.CP1251")) {
        std::fprintf(stderr, "the ru_RU.CP1251 locale or the library is not available\n");
        return 1;
    }
    return RUN_ALL_TESTS();
}
