// Command line of the sample measurement database maker.
#include <chrono>
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "tools/sample_db.h"

int main(int argc, char** argv)
{
    sampledb::Options options;
    bool help = false;
    const std::string error =
        sampledb::ParseOptions(std::vector<std::string>(argv + 1, argv + argc), options, &help);
    if (help) {
        std::fputs(sampledb::UsageText().c_str(), stdout);
        return 0;
    }
    if (!error.empty()) {
        std::fprintf(stderr, "make_sample_db: %s\n(--help lists the options)\n", error.c_str());
        return 2;
    }

    const auto began = std::chrono::steady_clock::now();
    try {
        const sampledb::RowCounts counts = sampledb::WriteSampleDatabase(options);
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
        std::fprintf(stderr, "make_sample_db: wrote %s (%d day%s from %s, class %d, density %g) in %.1f s\n",
                     options.output.c_str(), options.days, options.days == 1 ? "" : "s",
                     options.start.c_str(), options.voltageClass, options.density, seconds);
        for (const auto& [table, rows] : counts)
            std::fprintf(stderr, "  %-14s %9lld rows\n", table.c_str(), rows);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "make_sample_db: %s\n", e.what());
        return 1;
    }
    return 0;
}
