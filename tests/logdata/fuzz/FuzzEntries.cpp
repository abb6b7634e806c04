#include "FuzzEntries.h"

#include <cstdlib>
#include <string>
#include <vector>

#include "logdata/CsvFile.h"
#include "logdata/DataFolder.h"
#include "logdata/LogFile.h"

namespace logfuzz {

void FuzzCsvReader(const std::uint8_t* pData, std::size_t nSize) {
    const std::string text(reinterpret_cast<const char*>(pData), nSize);
    for (int nMode = 0; nMode <= 1; ++nMode) {
        for (std::size_t nLimit : {logdata::CCsvFile::NO_LIMIT, std::size_t(4)}) {
            logdata::CCsvFile file;
            file.OpenText(text);
            std::size_t nRows = 0, nBytes = 0;
            while (file.ReadRow(nMode, nLimit)) {
                if (file.GetCount() == 0 || file.GetCount() > file.GetTotalCount()) std::abort();
                for (std::size_t i = 0; i < file.GetCount(); ++i) nBytes += file.GetField(i).size();
                if (++nRows > nSize) std::abort();  // every row takes at least one byte
            }
            if (nBytes > nSize) std::abort();
        }
    }
}

void FuzzLogParser(const std::uint8_t* pData, std::size_t nSize) {
    const std::string text(reinterpret_cast<const char*>(pData), nSize);
    std::vector<logdata::stREADING> readings;
    for (int nModel : {logdata::MODEL_LX30A, logdata::MODEL_LX50A}) {
        for (int nUnit = -1; nUnit <= 7; ++nUnit) {
            for (int nKind = 0; nKind <= 2; ++nKind) {
                logdata::CCsvFile file;
                file.OpenText(text);
                readings.clear();
                logdata::CLogFile::ParseReadings(file, nModel, nUnit, nKind, 0xFFFF, readings);
                for (const logdata::stREADING& r : readings) {
                    if (r.nCircuit > 1) std::abort();
                    if (r.nTime < 19000101000000LL || r.nTime > 99991231235959LL) std::abort();
                }
            }
        }
    }
    int nType = logdata::UnitTypeFromText(text);
    if (nType != logdata::UNIT_POWER && nType != logdata::UNIT_PULSE && nType != logdata::UNIT_ANALOG &&
        nType != logdata::UNIT_UNCLEAR)
        std::abort();
    // Row times and numbers from the first two fields of every line.
    logdata::CCsvFile file;
    file.OpenText(text);
    while (file.ReadRow(0, 3)) {
        std::int64_t nKey = 0;
        logdata::ParseRowTime(file.GetField(0), file.GetField(1), nKey);
        (void)logdata::ReadDecimal(file.GetField(2));
    }
}

}  // namespace logfuzz
