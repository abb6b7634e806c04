#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "logdata/GraphCond.h"
#include "platform/Clock.h"

// The command line of lumetra-cli, parsed in one place.
//   lumetra-cli graph --data DIR --select LIST --period day|month|year --date YYYY-MM-DD
//       [--interval 60|30|15] [--kind power|count|digital] [--type bar|line]
//       [--now "YYYY-MM-DD HH:MM:SS"] [--co2-rate R] [--price P] [--json FILE|-] [--csv FILE|-]
//       [--image FILE.png|FILE.bmp [--view whole|0-6|6-12|12-18|18-24|0-12|12-24|6-18|3-9|9-15|15-21]]
//   lumetra-cli scan --data DIR
namespace cli {

enum class Command { None, Graph, Scan, Help };

struct stCLIOPTIONS {
    Command command = Command::None;
    std::string strData;
    std::array<std::uint16_t, logdata::METER_COUNT> wSelect{};
    bool bSelect = false;
    int nTermType = -1;
    platform::LocalTime date;
    bool bDate = false;
    int nIntervalKind = logdata::INTERVAL_60;
    int nDataKind = logdata::KIND_POWER;
    int nGraphType = logdata::GRAPH_BAR;
    std::optional<platform::LocalTime> now;
    double dCO2Rate = 0.41;
    double dPrice = 11.0;
    std::string strJson;  // "-" for standard output
    std::string strCsv;
    std::string strImage;  // --image FILE.png|FILE.bmp: a picture of the graph and its table
    std::string strView;   // --view: the part of a day shown in the picture (a time-range button)
};

// Parses argv[1..]. On a bad argument returns false with one line naming the argument in strError.
bool ParseCliOptions(int argc, const char* const* argv, stCLIOPTIONS& options, std::string& strError);

// The usage text.
const char* CliUsage();

// Parsers of single values, usable by the option table (false for text that is not one).
bool ParseSelectList(const std::string& strText, std::array<std::uint16_t, logdata::METER_COUNT>& wSelect);
bool ParseNumber(const std::string& strText, double& dValue);

}  // namespace cli
