#include "logdata/GraphLoader.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <exception>

#include "logdata/LogFile.h"

namespace logdata {

int ProgressUnits(const stGRAPHCOND& cond, int nTermType, const platform::LocalTime& now) {
    switch (nTermType) {
        case TERM_DAY:
            return 1;
        case TERM_MONTH:
            if (cond.nYear == now.nYear && cond.nMonth == now.nMonth) return now.nDay;
            return platform::DaysInMonth(cond.nYear, cond.nMonth);
        case TERM_YEAR:
            return cond.nYear == now.nYear ? now.nMonth : 12;
        default:
            return 0;
    }
}

int ProgressRange(const stGRAPHCOND* pCond, int nCondCount, unsigned nMask, int nTermType,
                  const platform::LocalTime& now) {
    int nUnits = 0;
    for (int i = 0; i < nCondCount && i < 2; ++i)
        if (nMask & (1u << i)) nUnits += ProgressUnits(pCond[i], nTermType, now);
    return 100 * nUnits;
}

double RoundTotal(double dTotal, int nDataKind) {
    if (!std::isfinite(dTotal)) return dTotal;
    char buf[512];
    auto res =
        std::to_chars(buf, buf + sizeof buf, dTotal, std::chars_format::fixed, nDataKind == KIND_DIGITAL ? 3 : 2);
    if (res.ec != std::errc()) return dTotal;
    double d = 0;
    std::from_chars(buf, res.ptr, d);
    return d;
}

CGraphLoader::CGraphLoader(stLOADSETTINGS settings) : m_settings(std::move(settings)) {}

CGraphLoader::~CGraphLoader() = default;

bool CGraphLoader::Step(int nSteps) {
    if (m_bCancelled) return false;
    if (m_progress && !m_progress(nSteps)) m_bCancelled = true;
    return !m_bCancelled;
}

std::shared_ptr<const CLoggerFolder> CGraphLoader::Folder(int nNumber) {
    const std::string strPath = LoggerFolderPath(m_strBase, nNumber);
    auto it = m_folders.find(strPath);
    if (it != m_folders.end()) return it->second;
    auto folder = std::make_shared<const CLoggerFolder>(strPath);
    m_folders[strPath] = folder;
    return folder;
}

bool CGraphLoader::LoadGraphData(int nTermType, const stGRAPHCOND* pCond, int nCondCount, unsigned nMask,
                                 const ProgressFn& progress) {
    if (nTermType != TERM_DAY && nTermType != TERM_MONTH && nTermType != TERM_YEAR) return false;
    m_nTermType = nTermType;
    m_progress = progress;
    m_bCancelled = false;
    m_nLinesAdded = 0;
    m_folders.clear();
    m_unitTypes.clear();
    for (stCONDDATA& data : m_data) {
        data.nLineCount = 0;
        for (stGRAPHLINE& line : data.lines) line = stGRAPHLINE();
    }
    try {
        for (int i = 0; i < nCondCount && i < 2 && !m_bCancelled; ++i)
            if (nMask & (1u << i)) LoadCondition(i, pCond[i]);
    } catch (const std::exception&) {
        // Out of memory or the like: the load counts as cancelled, nothing half-loaded is shown.
        m_bCancelled = true;
    }
    m_folders.clear();
    m_unitTypes.clear();
    return true;
}

void CGraphLoader::LoadCondition(int nIndex, const stGRAPHCOND& cond) {
    stCONDDATA& data = Data(nIndex);
    data.dSlotSum.fill(0);
    data.bSlotHas.fill(0);
    data.dTotal = 0;
    data.dCO2 = 0;
    data.nDataKind = cond.nDataKind;
    data.nSlotCount = SlotCount(cond, m_nTermType);
    m_strBase = BaseFolder(m_settings.strDataPath, m_settings.strStartDir);
    const int nShare = ProgressUnits(cond, m_nTermType, m_settings.now);

    for (int n = 0; n < METER_COUNT && !m_bCancelled; ++n) {
        const std::uint16_t wSelect = cond.wSelect[static_cast<std::size_t>(n)];
        std::uint16_t wMask = 0;
        int nModel = MODEL_NONE;
        std::shared_ptr<const CLoggerFolder> folder;
        if (wSelect != 0) {
            if (wSelect != 1) {
                nModel = MODEL_LX50A;
            } else if (LoggerFolderExists(LoggerFolderPath(m_strBase, n))) {
                folder = Folder(n);
                nModel = DetectDevModel(*folder, false);
            } else {
                nModel = m_settings.byDevModel[static_cast<std::size_t>(n)];
            }
            std::array<int, 8> types{};
            if (nModel == MODEL_LX50A && (wSelect & 0xFFFC) != 0) {
                if (!folder) folder = Folder(n);
                auto it = m_unitTypes.find(folder->Folder());
                if (it == m_unitTypes.end()) it = m_unitTypes.emplace(folder->Folder(), GetUnitTypes(*folder)).first;
                types = it->second;
            }
            wMask = CalcLoadMask(wSelect, nModel, cond.nDataKind, types);
        }
        if (wMask == 0) {
            Step(nShare);
            continue;
        }
        if (!folder) folder = Folder(n);
        auto file = std::make_unique<CLogFile>();
        file->m_nModel = nModel;
        file->m_nDataKind = cond.nDataKind;
        file->m_wLoadMask = wMask;
        file->SetNow(m_settings.now);
        file->SetFolder(folder);
        file->SetProgress([this](int nSteps) { return Step(nSteps); });
        switch (m_nTermType) {
            case TERM_DAY:
                file->ReadDay(m_strBase, n, cond.nYear, cond.nMonth, cond.nDay);
                break;
            case TERM_MONTH:
                file->ReadMonth(m_strBase, n, cond.nYear, cond.nMonth, m_nTermType);
                break;
            default:
                file->ReadYear(m_strBase, n, cond.nYear, m_nTermType);
                break;
        }
        if (m_bCancelled || file->Cancelled()) {
            m_bCancelled = true;
            return;
        }
        if (cond.nGraphType == GRAPH_LINE) AddLines(nIndex, cond, *file, n);
        AddTotals(nIndex, cond, *file);
        if (m_nTermType == TERM_DAY) Step(1);
    }
    if (m_bCancelled) return;
    data.dTotal = RoundTotal(data.dTotal, cond.nDataKind);
    data.dCO2 = data.dTotal * m_settings.dCO2Rate / 1000.0;
}

namespace {

// The block of a period that the graph shows: values, flags and slot count.
struct stSOURCE {
    const double* pdVal = nullptr;
    const std::uint8_t* pbHas = nullptr;
    int nCount = 0;
};

stSOURCE DaySource(const DayBlock& b, int nIntervalKind) {
    if (nIntervalKind == INTERVAL_30) return {b.dVal48, b.bHas48, 48};
    if (nIntervalKind == INTERVAL_15) return {b.dVal96, b.bHas96, 96};
    return {b.dVal24, b.bHas24, 24};
}

stSOURCE PeriodSource(const CLogFile& f, int nCircuit, int nTermType, const stGRAPHCOND& cond) {
    if (nTermType == TERM_DAY) return DaySource(nCircuit < 0 ? f.m_dayTotal : f.m_day[nCircuit], cond.nIntervalKind);
    if (nTermType == TERM_MONTH) {
        const MonthBlock& b = nCircuit < 0 ? f.m_monthTotal : f.m_month[nCircuit];
        return {b.dVal, b.bHas, std::min(platform::DaysInMonth(cond.nYear, cond.nMonth), 31)};
    }
    const YearBlock& b = nCircuit < 0 ? f.m_yearTotal : f.m_year[nCircuit];
    return {b.dVal, b.bHas, 12};
}

}  // namespace

void CGraphLoader::AddTotals(int nIndex, const stGRAPHCOND& cond, const CLogFile& file) {
    stCONDDATA& data = Data(nIndex);
    stSOURCE src = PeriodSource(file, -1, m_nTermType, cond);
    for (int k = 0; k < src.nCount && k < DAY_SLOTS; ++k) {
        data.dSlotSum[static_cast<std::size_t>(k)] += src.pdVal[k];
        data.dTotal += src.pdVal[k];
        if (src.pbHas[k]) data.bSlotHas[static_cast<std::size_t>(k)] = 1;
    }
}

void CGraphLoader::AddLines(int nIndex, const stGRAPHCOND& cond, const CLogFile& file, int nNumber) {
    stCONDDATA& data = Data(nIndex);
    if (m_nLinesAdded >= MAX_LINES) return;
    const int nCircuits = file.m_nModel == MODEL_LX30A ? 1 : 16;
    for (int j = 0; j < nCircuits && data.nLineCount < MAX_LINES; ++j) {
        if (!((file.m_wLoadMask >> j) & 1)) continue;
        stGRAPHLINE& line = data.lines[static_cast<std::size_t>(data.nLineCount)];
        char buf[32];
        std::snprintf(buf, sizeof buf, "%02d-%d-%d", nNumber, j / 2, j % 2 + 1);
        line.strLabel = buf;
        line.dValue.fill(0);
        line.bHas.fill(0);
        stSOURCE src = PeriodSource(file, j, m_nTermType, cond);
        for (int k = 0; k < src.nCount && k < DAY_SLOTS; ++k) {
            line.dValue[static_cast<std::size_t>(k)] = src.pdVal[k];
            line.bHas[static_cast<std::size_t>(k)] = src.pbHas[k];
        }
        ++data.nLineCount;
        ++m_nLinesAdded;
    }
}

}  // namespace logdata
