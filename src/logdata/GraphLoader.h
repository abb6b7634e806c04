#pragma once
#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "logdata/DataFolder.h"
#include "logdata/GraphCond.h"
#include "logdata/LoggerFolder.h"
#include "logdata/Progress.h"
#include "platform/Clock.h"

namespace logdata {

class CLogFile;

// What a load needs of the program's settings.
struct stLOADSETTINGS {
    std::string strDataPath;     // the data folder of the settings
    std::string strStartDir;     // the working directory at start-up (used when the data folder is missing)
    double dCO2Rate = 0.41;      // kg-CO2 per kWh
    platform::LocalTime now;     // "today" and the end of the readings that count
    DevModelTable byDevModel{};  // models of the numbers whose folder cannot be examined
};

// One line of a line graph: one circuit of one number.
struct stGRAPHLINE {
    std::string strLabel;  // "%02d-%d-%d": number, unit, circuit (07-0-1)
    std::array<double, DAY_SLOTS> dValue{};
    std::array<std::uint8_t, DAY_SLOTS> bHas{};
};

// The loaded data of one condition.
struct stCONDDATA {
    int nSlotCount = 0;  // 24/48/96 a day, days of the month, 12 a year
    int nDataKind = KIND_POWER;
    std::array<double, DAY_SLOTS> dSlotSum{};        // per slot: sum over the condition's numbers
    std::array<std::uint8_t, DAY_SLOTS> bSlotHas{};  // per slot: 1 when a number had data in it
    double dTotal = 0;   // the period total, rounded through "%.2f" ("%.3f" for digital values)
    double dCO2 = 0;     // t-CO2: rounded total x rate / 1000
    int nLineCount = 0;  // lines of a line graph, 0..20
    std::array<stGRAPHLINE, MAX_LINES> lines;
};

// Progress units of one condition: a day 1; a month its days (today's day in the current month);
// a year 12 (the current month number in the current year). Every selected or unselected number
// is worth one unit, so the progress range of a load is 100 x the units of its conditions.
int ProgressUnits(const stGRAPHCOND& cond, int nTermType, const platform::LocalTime& now);
// 100 x the units of the conditions whose bits are set in the mask (bit 0 condition 1).
int ProgressRange(const stGRAPHCOND* pCond, int nCondCount, unsigned nMask, int nTermType,
                  const platform::LocalTime& now);

// Rounds a total as the program shows it: printed with "%.2f" ("%.3f" for digital values) and
// read back.
double RoundTotal(double dTotal, int nDataKind);

// Loads conditions into slot sums, lines, a rounded total and a CO2 amount. No user interface:
// progress and cancel go through the callback. Never throws to its caller.
class CGraphLoader {
public:
    explicit CGraphLoader(stLOADSETTINGS settings);
    ~CGraphLoader();

    // Loads the conditions whose bits are set (bit 0 condition 1, bit 1 condition 2) of the
    // nCondCount (1 or 2) records. Clears the lines of both conditions first. False (nothing
    // loaded) for a period kind other than day, month or year. A cancelled load returns true with
    // Cancelled() set; its results are partial and not to be shown.
    bool LoadGraphData(int nTermType, const stGRAPHCOND* pCond, int nCondCount, unsigned nMask,
                       const ProgressFn& progress);
    bool Cancelled() const { return m_bCancelled; }

    const stCONDDATA& Data(int nIndex) const { return m_data[nIndex == 1 ? 1 : 0]; }
    stCONDDATA& Data(int nIndex) { return m_data[nIndex == 1 ? 1 : 0]; }

    // The steps of a load, usable on their own.
    void LoadCondition(int nIndex, const stGRAPHCOND& cond);
    void AddTotals(int nIndex, const stGRAPHCOND& cond, const CLogFile& file);
    void AddLines(int nIndex, const stGRAPHCOND& cond, const CLogFile& file, int nNumber);

    // The period kind and progress of the load in progress (LoadCondition uses them).
    void SetTermType(int nTermType) { m_nTermType = nTermType; }
    void SetProgress(ProgressFn progress) { m_progress = std::move(progress); }

private:
    bool Step(int nSteps);
    std::shared_ptr<const CLoggerFolder> Folder(int nNumber);

    stLOADSETTINGS m_settings;
    int m_nTermType = TERM_DAY;
    ProgressFn m_progress;
    bool m_bCancelled = false;
    int m_nLinesAdded = 0;  // lines added in this load, both conditions
    std::string m_strBase;
    std::array<stCONDDATA, 2> m_data;
    std::map<std::string, std::shared_ptr<const CLoggerFolder>> m_folders;  // listed once per load
    std::map<std::string, std::array<int, 8>> m_unitTypes;                  // told once per load
};

}  // namespace logdata
