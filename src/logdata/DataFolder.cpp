#include "logdata/DataFolder.h"

#include <sys/stat.h>

#include <bit>

#include "logdata/CsvFile.h"
#include "logdata/LogNames.h"
#include "platform/DriveType.h"
#include "platform/PathUtil.h"

namespace logdata {

std::string BaseFolder(const std::string& strDataPath, const std::string& strStartDir) {
    if (!strDataPath.empty() &&
        platform::PathExists(strDataPath, true, platform::DRIVE_MASK_REMOVABLE | platform::DRIVE_MASK_FIXED))
        return strDataPath;
    return strStartDir;
}

std::string LoggerFolderPath(const std::string& strBase, int nNumber) {
    return platform::JoinPath(strBase, LoggerFolderName(nNumber));
}

bool LoggerFolderExists(const std::string& strFolder) {
    struct stat st {};
    return ::lstat(strFolder.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

int DetectDevModel(const CLoggerFolder& folder, bool bCheckBoth) {
    const std::string strExt = LOG_EXTENSION;
    const std::string strLx30 = std::string(LOG_PREFIX) + "(*)." + strExt;
    const std::string strLx50 = std::string(LOG_PREFIX) + "_u*(*)." + strExt;
    bool bLx30 = false, bLx50 = false;
    for (const platform::FileEntry& entry : folder.Entries()) {
        if (entry.bDirectory) continue;
        if (!bLx30 && platform::MatchWildcard(strLx30, entry.strName)) bLx30 = true;
        if (!bLx50 && platform::MatchWildcard(strLx50, entry.strName)) bLx50 = true;
    }
    if (bLx30) return (bCheckBoth && bLx50) ? MODEL_BOTH : MODEL_LX30A;
    return bLx50 ? MODEL_LX50A : MODEL_NONE;
}

int DetectDevModel(const std::string& strFolder, bool bCheckBoth) {
    return DetectDevModel(CLoggerFolder(strFolder), bCheckBoth);
}

int ScanNumbers(const std::string& strBase, DevModelTable& byDevModel, std::vector<int>& arrNumbers) {
    byDevModel.fill(0);
    arrNumbers.clear();
    int nHighest = 0;
    for (int n = 1; n < METER_COUNT; ++n) {
        std::string strFolder = LoggerFolderPath(strBase, n);
        if (!LoggerFolderExists(strFolder)) continue;
        int nModel = DetectDevModel(strFolder, false);
        if (nModel == MODEL_NONE) continue;
        byDevModel[static_cast<std::size_t>(n)] = static_cast<std::uint8_t>(nModel);
        arrNumbers.push_back(n);
        nHighest = n;
    }
    return nHighest;
}

std::string FindUnitLogFile(const CLoggerFolder& folder, int nUnit) {
    if (nUnit < 1 || nUnit > 7) return std::string();
    const std::string strExt = LOG_EXTENSION;
    std::vector<int> dated = folder.Match(UnitPrefix(nUnit) + "(*_*_*)." + strExt);
    if (!dated.empty()) return folder.PathOf(dated.back());
    const std::vector<int>& current = folder.CurrentFiles(nUnit);
    if (!current.empty()) return folder.PathOf(current.back());
    return std::string();
}

std::string FindUnitLogFile(const std::string& strFolder, int nUnit) {
    return FindUnitLogFile(CLoggerFolder(strFolder), nUnit);
}

namespace {

int UnitTypeFromCsv(CCsvFile& file) {
    // Fields 2..23 decide; any field beyond only says "decided".
    constexpr std::size_t kKeep = 24;
    if (!file.ReadRow(0, kKeep)) return UNIT_UNCLEAR;  // the first line is skipped
    while (file.ReadRow(0, kKeep)) {
        if (file.GetTotalCount() <= 2 || file.GetField(0).empty()) continue;
        bool bDecided = file.DroppedValues();
        bool bPower = false, bPulse = false, bAnalog = false;
        for (std::size_t i = 2; i < file.GetCount(); ++i) {
            std::string_view field = file.GetField(i);
            if (field.empty() || field == "-") continue;
            bDecided = true;
            if (i == 2 || i == 3)
                bPower = true;
            else if (i == 20 || i == 21)
                bAnalog = true;
            else if (i == 22 || i == 23)
                bPulse = true;
        }
        if (!bDecided) continue;
        if (bPower && !bPulse && !bAnalog) return UNIT_POWER;
        if (bPulse && !bPower && !bAnalog) return UNIT_PULSE;
        if (bAnalog && !bPower && !bPulse) return UNIT_ANALOG;
        return UNIT_UNCLEAR;
    }
    return UNIT_UNCLEAR;
}

}  // namespace

int UnitTypeFromFile(const std::string& strPath) {
    CCsvFile file;
    if (!file.Open(strPath)) return UNIT_UNCLEAR;
    return UnitTypeFromCsv(file);
}

int UnitTypeFromText(std::string strText) {
    CCsvFile file;
    file.OpenText(std::move(strText));
    return UnitTypeFromCsv(file);
}

int GetUnitType(const CLoggerFolder& folder, int nUnit) {
    if (nUnit < 1 || nUnit > 7) return UNIT_NONE;
    std::string strPath = FindUnitLogFile(folder, nUnit);
    if (strPath.empty()) return UNIT_NONE;
    return UnitTypeFromFile(strPath);
}

int GetUnitType(const std::string& strFolder, int nUnit) {
    if (nUnit < 1 || nUnit > 7) return UNIT_NONE;
    return GetUnitType(CLoggerFolder(strFolder), nUnit);
}

std::array<int, 8> GetUnitTypes(const CLoggerFolder& folder) {
    std::array<int, 8> types{};
    for (int u = 1; u <= 7; ++u) types[static_cast<std::size_t>(u)] = GetUnitType(folder, u);
    return types;
}

std::uint16_t UnitTypeMask(const std::array<int, 8>& arrUnitType, int nType) {
    std::uint16_t wMask = 0;
    for (int u = 1; u <= 7; ++u)
        if (arrUnitType[static_cast<std::size_t>(u)] == nType) wMask |= static_cast<std::uint16_t>(3u << (2 * u));
    return wMask;
}

std::uint16_t GetUnitTypeMask(const std::string& strBase, int nNumber, int nType) {
    return UnitTypeMask(GetUnitTypes(CLoggerFolder(LoggerFolderPath(strBase, nNumber))), nType);
}

std::uint16_t CalcLoadMask(std::uint16_t wSelect, int nModel, int nDataKind, const std::array<int, 8>& arrUnitType) {
    if (wSelect == 0) return 0;
    constexpr std::uint16_t kExpansion = 0xFFFC;
    switch (nDataKind) {
        case KIND_POWER:
            if (nModel == MODEL_LX30A) return 1;
            if (nModel == MODEL_LX50A)
                return static_cast<std::uint16_t>((wSelect & 3) |
                                                  (wSelect & UnitTypeMask(arrUnitType, UNIT_POWER) & kExpansion));
            return 0;
        case KIND_COUNT:
            if (nModel == MODEL_LX30A) return 1;
            if (nModel == MODEL_LX50A)
                return static_cast<std::uint16_t>((wSelect & 1) |
                                                  (wSelect & UnitTypeMask(arrUnitType, UNIT_PULSE) & kExpansion));
            return 0;
        case KIND_DIGITAL:
            if (nModel == MODEL_LX50A)
                return static_cast<std::uint16_t>(wSelect & UnitTypeMask(arrUnitType, UNIT_ANALOG) & kExpansion);
            return 0;
        default:
            return 0;
    }
}

std::uint16_t CalcLoadMask(const std::string& strBase, int nNumber, std::uint16_t wSelect, int nModel, int nDataKind) {
    if (wSelect == 0) return 0;
    std::array<int, 8> types{};
    // Unit types are only needed for the expansion bits of an LX50-A.
    if (nModel == MODEL_LX50A && (wSelect & 0xFFFC) != 0)
        types = GetUnitTypes(CLoggerFolder(LoggerFolderPath(strBase, nNumber)));
    return CalcLoadMask(wSelect, nModel, nDataKind, types);
}

int CountPoints(const std::string& strBase, const std::array<std::uint16_t, METER_COUNT>& wSelect,
                const DevModelTable& byDevModel, int nDataKind) {
    int nPoints = 0;
    for (int n = 0; n < METER_COUNT; ++n) {
        std::uint16_t w = wSelect[static_cast<std::size_t>(n)];
        if (w == 0) continue;
        int nModel = byDevModel[static_cast<std::size_t>(n)];
        if (nModel == MODEL_LX30A) {
            if (nDataKind == KIND_POWER || nDataKind == KIND_COUNT) ++nPoints;
        } else if (nModel == MODEL_LX50A) {
            nPoints += std::popcount(CalcLoadMask(strBase, n, w, nModel, nDataKind));
        }
    }
    return nPoints;
}

}  // namespace logdata
