#include "logdata/LogNames.h"

#include <cstdio>

namespace logdata {
namespace {

template <typename... Args>
std::string Format(const char* fmt, Args... args) {
    char buf[256];
    int n = std::snprintf(buf, sizeof buf, fmt, args...);
    if (n < 0) return std::string();
    return std::string(buf, static_cast<std::size_t>(n) < sizeof buf ? static_cast<std::size_t>(n) : sizeof buf - 1);
}

}  // namespace

std::string LoggerFolderName(int nNumber) {
    return Format(LOGGER_FOLDER_FORMAT, nNumber);
}

std::string UnitPrefix(int nUnit) {
    if (nUnit < 0) return LOG_PREFIX;
    return Format(UNIT_PREFIX_FORMAT, LOG_PREFIX, nUnit);
}

std::string CurrentPattern(int nUnit) {
    return Format(CURRENT_FORMAT, UnitPrefix(nUnit).c_str()) + "." + LOG_EXTENSION;
}

std::string DatedPattern(int nUnit, int nYear, int nMonth, int nDay, int nKind) {
    static const char* const kFormats[4] = {DATED_TRG_FORMAT, DATED_SET_FORMAT, DATED_MOD_FORMAT, DATED_POW_FORMAT};
    if (nKind < 0 || nKind > 3) return std::string();
    int nYY = ((nYear % 100) + 100) % 100;
    return Format(kFormats[nKind], UnitPrefix(nUnit).c_str(), nYY, nMonth, nDay) + "." + LOG_EXTENSION;
}

}  // namespace logdata
