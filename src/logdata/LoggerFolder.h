#pragma once
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/FileSearch.h"

namespace logdata {

// Kinds of dated log files, in the order the parser consults them.
enum : int { FILE_TRG = 0, FILE_SET = 1, FILE_MOD = 2, FILE_POW = 3, FILE_KIND_COUNT = 4 };

// One logger folder ("MTR00%02d"), listed once. Answers the file-name searches of the program
// (dated files of a unit, kind and date; current files of a unit; model detection; the newest file
// of a unit) from that one listing, in the order the folder search returns names. Unit -1 is the
// LX30-A prefix "syunji", units 0..7 the LX50-A prefixes "syunji_u0".."syunji_u7".
class CLoggerFolder {
public:
    CLoggerFolder() = default;
    // Lists the folder (an unreadable or missing folder lists as empty).
    explicit CLoggerFolder(std::string strFolder);

    const std::string& Folder() const { return m_strFolder; }
    const std::vector<platform::FileEntry>& Entries() const { return m_arrEntry; }
    std::string PathOf(int nEntry) const;

    // Files matching "<prefix>(YYMMDD_*_<kind>).csv" for the date (year taken modulo 100).
    const std::vector<int>& DatedFiles(int nUnit, int nYear, int nMonth, int nDay, int nKind) const;
    // Files matching "<prefix>(*CURRENT*).csv".
    const std::vector<int>& CurrentFiles(int nUnit) const;

    // Files (not folders) matching a wildcard pattern, in search order.
    std::vector<int> Match(std::string_view pattern) const;

private:
    static std::uint32_t Key(int nUnit, int nKind, int nYYMMDD);

    std::string m_strFolder;
    std::vector<platform::FileEntry> m_arrEntry;
    std::unordered_map<std::uint32_t, std::vector<int>> m_mapDated;
    std::vector<int> m_arrCurrent[9];
    std::vector<int> m_arrNone;
};

}  // namespace logdata
