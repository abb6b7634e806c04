#pragma once
#include <string>
#include <vector>

#include "platform/Clock.h"

// Writes realistic data folders of LX30-A and LX50-A meter logs, deterministic for a seed.
namespace sample {

struct stSAMPLEOPTIONS {
    std::string strOut;       // the data folder ("Log")
    platform::LocalTime end;  // the last day (its readings are in CURRENT files)
    int nDays = 60;           // days with readings, ending at the end day
    unsigned long long nSeed = 1;
    int nLx30 = 2;              // LX30-A meters, numbers 01, 02, ...
    int nLx50 = 3;              // LX50-A meters, numbers 11, 12, ...
    int nUnits = -1;            // expansion units per LX50-A (0..7); -1 varies by meter
    bool bAllPower = false;     // every expansion unit measures power
    bool bClean = false;        // no gaps, "-" values, zero readings, wraps or split days
    int nNowMinutes = 24 * 60;  // minutes of the end day covered by the CURRENT files
};

// Writes the folders; false with a message when a file cannot be written.
bool WriteSampleData(const stSAMPLEOPTIONS& options, std::string& strError);

// Parses the command line of lumetra-sample; false with a message naming the bad argument.
bool ParseSampleArgs(const std::vector<std::string>& args, stSAMPLEOPTIONS& options, std::string& strError);

}  // namespace sample
