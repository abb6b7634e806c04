#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "logdata/GraphCond.h"
#include "logdata/LoggerFolder.h"

// The data folder layout: where a meter number's log files lie, which model wrote them, which
// expansion units a number has and which circuits a condition loads.
namespace logdata {

// The folder all paths are built under: the data folder when it is an existing folder or the root
// of a removable or fixed drive, otherwise the working directory at start-up.
std::string BaseFolder(const std::string& strDataPath, const std::string& strStartDir);

// base/"MTR00%02d".
std::string LoggerFolderPath(const std::string& strBase, int nNumber);

// Whether the logger folder exists as a real folder (symbolic links are not followed).
bool LoggerFolderExists(const std::string& strFolder);

// 1 when the folder holds an LX30-A file syunji(*).csv (255 instead when bCheckBoth and an LX50-A
// file syunji_u*(*).csv is there too), else 2 when it holds an LX50-A file, else 0.
int DetectDevModel(const std::string& strFolder, bool bCheckBoth);
int DetectDevModel(const CLoggerFolder& folder, bool bCheckBoth);

// Numbers 1..99 whose logger folder exists and holds files of a model; the model of each goes into
// the table (entry 0 always 0). Returns the highest number found, 0 when none.
int ScanNumbers(const std::string& strBase, DevModelTable& byDevModel, std::vector<int>& arrNumbers);

// The last file of a unit (1..7) for "syunji_u%d(*_*_*).csv", else the last current file of the
// unit; empty when neither exists.
std::string FindUnitLogFile(const std::string& strFolder, int nUnit);
std::string FindUnitLogFile(const CLoggerFolder& folder, int nUnit);

// The type of an expansion unit (UNIT_NONE, UNIT_POWER, UNIT_PULSE, UNIT_ANALOG, UNIT_UNCLEAR)
// decided from its newest log file.
int GetUnitType(const std::string& strFolder, int nUnit);
int GetUnitType(const CLoggerFolder& folder, int nUnit);
// The unit type decided from a log file's content (the file's lines as read).
int UnitTypeFromFile(const std::string& strPath);
int UnitTypeFromText(std::string strText);

// Both circuit bits of every expansion unit 1..7 of the number whose type is nType.
std::uint16_t GetUnitTypeMask(const std::string& strBase, int nNumber, int nType);
// The same from the unit types already known (index 1..7 used).
std::uint16_t UnitTypeMask(const std::array<int, 8>& arrUnitType, int nType);

// The unit types 1..7 of a logger folder (index 0 unused, UNIT_NONE).
std::array<int, 8> GetUnitTypes(const CLoggerFolder& folder);

// The circuits a condition loads for one number.
std::uint16_t CalcLoadMask(const std::string& strBase, int nNumber, std::uint16_t wSelect, int nModel, int nDataKind);
// The same with the unit types of the number already known.
std::uint16_t CalcLoadMask(std::uint16_t wSelect, int nModel, int nDataKind, const std::array<int, 8>& arrUnitType);

// The number of lines a line graph of the selection has.
int CountPoints(const std::string& strBase, const std::array<std::uint16_t, METER_COUNT>& wSelect,
                const DevModelTable& byDevModel, int nDataKind);

}  // namespace logdata
