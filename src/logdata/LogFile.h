#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "logdata/CsvFile.h"
#include "logdata/GraphCond.h"
#include "logdata/LoggerFolder.h"
#include "logdata/Progress.h"
#include "platform/Clock.h"

namespace logdata {

// Slot values of one day: quarter hours (slot k ends at 00:15 + 15k minutes), half hours, hours.
struct DayBlock {
    std::uint8_t bHas96[96];
    std::uint8_t bHas48[48];
    std::uint8_t bHas24[24];
    std::uint8_t bAny;
    double dVal96[96];
    double dVal48[48];
    double dVal24[24];
    double dTotal;
};

// One slot per day of a month (index = day - 1).
struct MonthBlock {
    std::uint8_t bHas[31];
    std::uint8_t bAny;
    double dVal[31];
    double dTotal;
};

// One slot per month of a year (index = month - 1).
struct YearBlock {
    std::uint8_t bHas[12];
    std::uint8_t bAny;
    double dVal[12];
    double dTotal;
};

// One reading of a log file that the parser keeps: its wall-clock time, the circuit of the unit
// (0 circuit 1, 1 circuit 2) and its value; bNone for "-" or an empty field.
struct stREADING {
    std::int64_t nTime;  // YYYYMMDDhhmmss
    double dValue;
    std::uint8_t nCircuit;
    std::uint8_t bNone;
};

// Wall-clock time as the number YYYYMMDDhhmmss.
std::int64_t TimeKey(int nYear, int nMonth, int nDay, int nHour, int nMinute, int nSecond);
std::int64_t TimeKey(const platform::LocalTime& t);

// Reads a row time from field 0 and field 1 of a log line ("2024/05/01" and "00:15:00"): digits
// accumulate into year, month, day, hour, minute, second; '/', ' ' and ':' end the parts; other
// characters are ignored; missing parts are 2000-01-01 00:00:00. False when a part is out of range
// or the day does not exist in its month (such a row is skipped).
bool ParseRowTime(std::string_view strDate, std::string_view strTime, std::int64_t& nKey);

// The leading decimal number of a text (blanks and a sign first), 0 when there is none or it is
// not finite. Independent of the C locale.
double ReadDecimal(std::string_view strText);

// Turns the CSV log files of one meter number into per-slot values of a day, a month or a year,
// in total and per circuit (index 2u circuit 1, 2u+1 circuit 2 of LX50-A unit u; 0 for the LX30-A).
// Each logger folder is listed once and each file parsed at most once per object.
class CLogFile {
public:
    CLogFile();
    virtual ~CLogFile();
    CLogFile(const CLogFile&) = delete;
    CLogFile& operator=(const CLogFile&) = delete;

    int m_nModel = MODEL_LX30A;
    int m_nDataKind = KIND_POWER;
    std::uint16_t m_wLoadMask = 1;

    DayBlock m_dayTotal;
    DayBlock m_day[16];
    MonthBlock m_monthTotal;
    MonthBlock m_month[16];
    YearBlock m_yearTotal;
    YearBlock m_year[16];

    // The current time: decides "today" (current files) and which slots lie in the future.
    // Defaults to the program clock at construction.
    void SetNow(const platform::LocalTime& now);
    // Progress and cancel (may be empty). Stepped once per day of a month graph and once per month
    // of a year graph; called with 0 before each file kind of each unit.
    void SetProgress(ProgressFn progress) { m_progress = std::move(progress); }
    // Uses a logger folder already listed (it must be the folder of the number read).
    void SetFolder(std::shared_ptr<const CLoggerFolder> folder) { m_folder = std::move(folder); }
    bool Cancelled() const { return m_bCancelled; }

    void ReadDay(const std::string& strBase, int nNumber, int nYear, int nMonth, int nDay);
    void ReadMonth(const std::string& strBase, int nNumber, int nYear, int nMonth, int nTopTermType);
    void ReadYear(const std::string& strBase, int nNumber, int nYear, int nTopTermType);

    // The readings of one log file's lines for a unit (-1 LX30-A, 0..7 LX50-A), the data kind and
    // the load mask, in the order of the file. Public for the fuzz tests.
    static void ParseReadings(CCsvFile& file, int nModel, int nUnit, int nDataKind, std::uint16_t wLoadMask,
                              std::vector<stREADING>& arrOut);

private:
    struct ReadingSlot {
        std::uint8_t bFound;
        double dValue;
    };
    struct ReadingTable {
        std::uint32_t nResolved;
        ReadingSlot slot[96];
        ReadingSlot start;
    };

    bool Step(int nSteps);
    const CLoggerFolder& Folder(const std::string& strBase, int nNumber);
    const std::vector<stREADING>& Readings(int nEntry, int nUnit);
    void ApplyFile(int nEntry, int nUnit, bool bStart);
    bool BothComplete() const;
    void ReadUnit(int nUnit, int nYear, int nMonth, int nDay);
    void ComputeSlots(int nUnit);
    void ReadDayInner(const std::string& strBase, int nNumber, int nYear, int nMonth, int nDay);

    platform::LocalTime m_now;
    std::int64_t m_nNowKey = 0;
    ProgressFn m_progress;
    bool m_bCancelled = false;
    std::shared_ptr<const CLoggerFolder> m_folder;

    // The day being read.
    std::int64_t m_nSlotKey[96] = {};
    std::int64_t m_nStartKey = 0;
    ReadingTable m_table[2];

    // Parsed files of the folder, by entry index, kept while they can still be needed.
    std::unordered_map<int, std::vector<stREADING>> m_cache;
    std::unordered_map<int, std::int64_t> m_cacheDay;  // entry -> the day it was last used
    std::uint32_t m_nCacheKind = 0;                    // model, data kind and load mask the cache was parsed for
};

}  // namespace logdata
