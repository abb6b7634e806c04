#pragma once
#include <iosfwd>
#include <string>

#include "cli/CliOptions.h"
#include "logdata/GraphLoader.h"
#include "logdata/GraphScale.h"

namespace cli {

// The loaded condition of a `graph` command with its axis scale.
struct stCLIGRAPH {
    logdata::stGRAPHCOND cond;
    int nTermType = logdata::TERM_DAY;
    logdata::stCONDDATA data;
    logdata::stAXISSCALE scale;  // the axis scaling after a load, from a fresh record
    double dCharge = 0;          // rounded total x price
};

// Loads the condition of the options (the device models from a scan of the data folder).
stCLIGRAPH LoadCliGraph(const stCLIOPTIONS& options);

// The JSON object and the CSV table of a loaded graph.
std::string GraphJson(const stCLIGRAPH& graph);
std::string GraphCsv(const stCLIGRAPH& graph);
// The JSON of a scan: {"numbers":[...],"models":{"NN":1|2}}.
std::string ScanJson(const std::string& strData);

// Writes text to a file (under a temporary name, then renamed) or to standard output for "-".
bool WriteOutput(const std::string& strPath, const std::string& strText, std::string& strError);

// Doubles as the shortest text that reads back exactly; null for what JSON cannot hold.
std::string JsonNumber(double d);

// Runs a parsed command; returns the exit status (0 done, 1 failure with a message on stderr).
int RunCli(const stCLIOPTIONS& options, std::ostream& err);

}  // namespace cli
