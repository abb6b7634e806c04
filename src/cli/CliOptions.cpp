#include "cli/CliOptions.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <functional>
#include <map>

#include "graph/TimeRange.h"

namespace cli {
namespace {

bool ParseDate(const std::string& strText, platform::LocalTime& date) {
    if (strText.size() != 10) return false;
    std::optional<platform::LocalTime> t = platform::ParseLocalTime(strText);
    if (!t || t->nYear < 1900 || t->nYear > 9999) return false;
    date = *t;
    return true;
}

bool ParseNow(const std::string& strText, platform::LocalTime& now) {
    if (strText.size() != 19) return false;
    std::optional<platform::LocalTime> t = platform::ParseLocalTime(strText);
    if (!t || t->nYear < 1900 || t->nYear > 9999) return false;
    now = *t;
    return true;
}

int ParseDigits(std::string_view s, int nBase) {
    int n = 0;
    auto res = std::from_chars(s.data(), s.data() + s.size(), n, nBase);
    if (res.ec != std::errc() || res.ptr != s.data() + s.size()) return -1;
    return n;
}

}  // namespace

bool ParseNumber(const std::string& strText, double& dValue) {
    if (strText.empty()) return false;
    double d = 0;
    auto res = std::from_chars(strText.data(), strText.data() + strText.size(), d);
    if (res.ec != std::errc() || res.ptr != strText.data() + strText.size() || !std::isfinite(d)) return false;
    dValue = d;
    return true;
}

bool ParseSelectList(const std::string& strText, std::array<std::uint16_t, logdata::METER_COUNT>& wSelect) {
    wSelect.fill(0);
    if (strText.empty()) return false;
    std::string_view rest(strText);
    while (true) {
        std::size_t nComma = rest.find(',');
        std::string_view item = rest.substr(0, nComma);
        std::string_view number = item, word;
        std::size_t nColon = item.find(':');
        if (nColon != std::string_view::npos) {
            number = item.substr(0, nColon);
            word = item.substr(nColon + 1);
        }
        if (number.empty() || number.size() > 2) return false;
        for (char c : number)
            if (c < '0' || c > '9') return false;
        int n = ParseDigits(number, 10);
        if (n < 0 || n >= logdata::METER_COUNT) return false;
        unsigned w = 1;
        if (nColon != std::string_view::npos) {
            if (word.size() < 3 || word.size() > 6 || word[0] != '0' || (word[1] != 'x' && word[1] != 'X'))
                return false;
            for (char c : word.substr(2))
                if (!std::isxdigit(static_cast<unsigned char>(c))) return false;
            int v = ParseDigits(word.substr(2), 16);
            if (v < 0) return false;
            w = static_cast<unsigned>(v);
        }
        wSelect[static_cast<std::size_t>(n)] |= static_cast<std::uint16_t>(w);
        if (nComma == std::string_view::npos) break;
        rest = rest.substr(nComma + 1);
    }
    return true;
}

const char* CliUsage() {
    return "usage:\n"
           "  lumetra-cli graph --data DIR --select LIST --period day|month|year --date YYYY-MM-DD\n"
           "      [--interval 60|30|15] [--kind power|count|digital] [--type bar|line]\n"
           "      [--now \"YYYY-MM-DD HH:MM:SS\"] [--co2-rate R] [--price P] [--json FILE|-] [--csv FILE|-]\n"
           "      [--image FILE.png|FILE.bmp [--view whole|0-6|6-12|12-18|18-24|0-12|12-24|6-18|3-9|9-15|15-21]]\n"
           "  lumetra-cli scan --data DIR\n"
           "LIST: comma-separated meter numbers NN (selection word 1) or NN:0xHHHH (16-bit selection word)\n";
}

namespace {

// The user's text as it may stand in the one-line error message: control
// characters (a newline above all) are written as \xHH.
std::string Printable(const std::string& strText) {
    std::string strOut;
    for (unsigned char c : strText) {
        if (c < 0x20 || c == 0x7F) {
            static const char* const kHex = "0123456789ABCDEF";
            strOut += "\\x";
            strOut += kHex[c >> 4];
            strOut += kHex[c & 15];
        } else {
            strOut += static_cast<char>(c);
        }
    }
    return strOut;
}

}  // namespace

bool ParseCliOptions(int argc, const char* const* argv, stCLIOPTIONS& o, std::string& strError) {
    o = stCLIOPTIONS();
    if (argc < 2) {
        strError = "missing command (graph or scan)";
        return false;
    }
    const std::string strCommand = argv[1];
    if (strCommand == "graph")
        o.command = Command::Graph;
    else if (strCommand == "scan")
        o.command = Command::Scan;
    else if (strCommand == "--help" || strCommand == "-h" || strCommand == "help") {
        o.command = Command::Help;
        return true;
    } else {
        strError = "unknown command: " + Printable(strCommand);
        return false;
    }

    // Every option with a value: its parser, and whether the command takes it.
    using Parser = std::function<bool(const std::string&)>;
    struct stOPTION {
        bool bGraphOnly;
        Parser parse;
    };
    const std::map<std::string, stOPTION> table = {
        {"--data", {false, [&](const std::string& v) { return !v.empty() && (o.strData = v, true); }}},
        {"--select", {true, [&](const std::string& v) { return o.bSelect = ParseSelectList(v, o.wSelect); }}},
        {"--period",
         {true,
          [&](const std::string& v) {
              o.nTermType = v == "day"     ? logdata::TERM_DAY
                            : v == "month" ? logdata::TERM_MONTH
                            : v == "year"  ? logdata::TERM_YEAR
                                           : -1;
              return o.nTermType >= 0;
          }}},
        {"--date", {true, [&](const std::string& v) { return o.bDate = ParseDate(v, o.date); }}},
        {"--interval",
         {true,
          [&](const std::string& v) {
              o.nIntervalKind = v == "60"   ? logdata::INTERVAL_60
                                : v == "30" ? logdata::INTERVAL_30
                                : v == "15" ? logdata::INTERVAL_15
                                            : -1;
              return o.nIntervalKind >= 0;
          }}},
        {"--kind",
         {true,
          [&](const std::string& v) {
              o.nDataKind = v == "power"     ? logdata::KIND_POWER
                            : v == "count"   ? logdata::KIND_COUNT
                            : v == "digital" ? logdata::KIND_DIGITAL
                                             : -1;
              return o.nDataKind >= 0;
          }}},
        {"--type",
         {true,
          [&](const std::string& v) {
              o.nGraphType = v == "bar" ? logdata::GRAPH_BAR : v == "line" ? logdata::GRAPH_LINE : -1;
              return o.nGraphType >= 0;
          }}},
        {"--now",
         {true,
          [&](const std::string& v) {
              platform::LocalTime t;
              if (!ParseNow(v, t)) return false;
              o.now = t;
              return true;
          }}},
        {"--co2-rate", {true, [&](const std::string& v) { return ParseNumber(v, o.dCO2Rate) && o.dCO2Rate >= 0; }}},
        {"--price", {true, [&](const std::string& v) { return ParseNumber(v, o.dPrice) && o.dPrice >= 0; }}},
        {"--json", {true, [&](const std::string& v) { return !v.empty() && (o.strJson = v, true); }}},
        {"--csv", {true, [&](const std::string& v) { return !v.empty() && (o.strCsv = v, true); }}},
        {"--image",
         {true,
          [&](const std::string& v) {
              std::string strExt = v.size() > 4 ? v.substr(v.size() - 4) : std::string();
              for (char& c : strExt) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
              return (strExt == ".png" || strExt == ".bmp") && (o.strImage = v, true);
          }}},
        {"--view", {true, [&](const std::string& v) { return !v.empty() && (o.strView = v, true); }}},
    };

    for (int i = 2; i < argc; ++i) {
        std::string strArg = argv[i];
        std::string strValue;
        bool bHasValue = false;
        std::size_t nEq = strArg.find('=');
        if (strArg.rfind("--", 0) == 0 && nEq != std::string::npos) {
            strValue = strArg.substr(nEq + 1);
            strArg = strArg.substr(0, nEq);
            bHasValue = true;
        }
        auto it = table.find(strArg);
        if (it == table.end() || (it->second.bGraphOnly && o.command != Command::Graph)) {
            strError = "unknown argument: " + Printable(strArg);
            return false;
        }
        if (!bHasValue) {
            if (i + 1 >= argc) {
                strError = "missing value for " + strArg;
                return false;
            }
            strValue = argv[++i];
        }
        if (!it->second.parse(strValue)) {
            strError = "bad value for " + strArg + ": '" + Printable(strValue) + "'";
            return false;
        }
    }

    if (o.strData.empty()) {
        strError = "missing --data";
        return false;
    }
    if (o.command == Command::Graph) {
        if (!o.bSelect) {
            strError = "missing --select";
            return false;
        }
        if (o.nTermType < 0) {
            strError = "missing --period";
            return false;
        }
        if (!o.bDate) {
            strError = "missing --date";
            return false;
        }
        // Electric power is always drawn as bars; month and year graphs have no interval.
        if (o.nDataKind == logdata::KIND_POWER) o.nGraphType = logdata::GRAPH_BAR;
        if (o.nTermType != logdata::TERM_DAY) o.nIntervalKind = logdata::INTERVAL_60;
        // The views are the time-range buttons the graph window shows for the period and interval.
        if (!o.strView.empty()) {
            if (o.strImage.empty()) {
                strError = "--view needs --image";
                return false;
            }
            if (FindTimeRange(o.strView, o.nTermType, logdata::IntervalMinutes(o.nIntervalKind)) == nullptr) {
                strError = "bad value for --view: '" + Printable(o.strView) + "' (this period and interval offer " +
                           (o.nTermType == logdata::TERM_DAY && o.nIntervalKind == logdata::INTERVAL_15
                                ? "whole|0-6|6-12|12-18|18-24|3-9|9-15|15-21)"
                            : o.nTermType == logdata::TERM_DAY && o.nIntervalKind == logdata::INTERVAL_30
                                ? "whole|0-12|12-24|6-18)"
                                : "whole only)");
                return false;
            }
        }
    }
    return true;
}

}  // namespace cli
