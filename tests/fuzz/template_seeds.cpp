// Writes the template fuzzer's seeds into a directory: a day template with the
// period row and the three harmonic rows, and a title template, both marked as
// the tests mark them.
#include <cstdio>
#include <fstream>
#include <string>

#include "tests/text_builders.h"

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fputs("usage: template_seeds DIRECTORY\n", stderr);
        return 2;
    }
    const std::string dir = argv[1];
    for (const auto& [name, text] : {std::pair<std::string, std::string>{"day.htm", MarkedDayTemplate(180)},
                                     {"title.htm", MarkedTitleTemplate(60)}}) {
        std::ofstream out(dir + "/" + name, std::ios::binary);
        if (!(out << text) || !out.flush()) {
            std::fprintf(stderr, "template_seeds: cannot write %s/%s\n", dir.c_str(), name.c_str());
            return 1;
        }
    }
    return 0;
}
