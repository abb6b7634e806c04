// lumetra-sample: writes sample meter logs into a data folder.
#include <iostream>

#include "SampleData.h"

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (!args.empty() && (args[0] == "--help" || args[0] == "-h")) {
        std::cout << "usage: lumetra-sample --out DIR --end YYYY-MM-DD [--days N] [--seed S] [--lx30 N] [--lx50 N]\n"
                     "       [--units 0..7] [--all-power] [--clean] [--now-time HH:MM]\n";
        return 0;
    }
    sample::stSAMPLEOPTIONS options;
    std::string strError;
    if (!sample::ParseSampleArgs(args, options, strError)) {
        std::cerr << "lumetra-sample: " << strError << "\n";
        return 2;
    }
    if (!sample::WriteSampleData(options, strError)) {
        std::cerr << "lumetra-sample: " << strError << "\n";
        return 1;
    }
    return 0;
}
