#pragma once
#include <string>

// Names of the on-card file format. They are part of what the loggers write, not texts of the
// interface, so they live here and never come from a resource module.
namespace logdata {

inline constexpr const char* LOGGER_FOLDER_FORMAT = "MTR00%02d";           // string 302
inline constexpr const char* DATED_TRG_FORMAT = "%s(%02d%02d%02d_*_TRG)";  // string 307
inline constexpr const char* DATED_SET_FORMAT = "%s(%02d%02d%02d_*_SET)";  // string 314
inline constexpr const char* DATED_MOD_FORMAT = "%s(%02d%02d%02d_*_MOD)";  // string 308
inline constexpr const char* DATED_POW_FORMAT = "%s(%02d%02d%02d_*_POW)";  // string 309
inline constexpr const char* CURRENT_FORMAT = "%s(*CURRENT*)";             // string 312
inline constexpr const char* LOG_EXTENSION = "csv";                        // string 251
inline constexpr const char* LOG_PREFIX = "syunji";                        // string 310
inline constexpr const char* UNIT_PREFIX_FORMAT = "%s_u%1d";               // LX50-A unit prefix

// "MTR0007" for number 7.
std::string LoggerFolderName(int nNumber);
// The file prefix of a unit: "syunji" for -1 (LX30-A), "syunji_u3" for unit 3.
std::string UnitPrefix(int nUnit);
// "<prefix>(*CURRENT*).csv" of a unit.
std::string CurrentPattern(int nUnit);
// "<prefix>(YYMMDD_*_<kind>).csv" of a unit, date and file kind (FILE_TRG..FILE_POW).
std::string DatedPattern(int nUnit, int nYear, int nMonth, int nDay, int nKind);

}  // namespace logdata
