#include "logdata/LogFile.h"

#include <charconv>
#include <cmath>
#include <cstring>

#include "logdata/DataFolder.h"

namespace logdata {
namespace {

constexpr std::size_t kMaxFields = 100;  // column names are kept for fields 0..99

// A column whose readings a unit supplies: field index, its name on line 4, and the circuit.
struct stCOLUMN {
    int nField;
    int nCode;  // the name is "DT%d" with this code
    int nCircuit;
};

// The columns of a unit for a data kind, limited to the circuits of the load mask.
int WantedColumns(int nModel, int nUnit, int nDataKind, std::uint16_t wMask, stCOLUMN out[2]) {
    int n = 0;
    auto add = [&](int nField, int nCode, int nCircuit, bool bWanted) {
        if (bWanted) out[n++] = stCOLUMN{nField, nCode, nCircuit};
    };
    if (nModel == MODEL_LX30A) {
        if (nUnit != -1 || !(wMask & 1)) return 0;
        if (nDataKind == KIND_POWER) add(2, 100, 0, true);
        if (nDataKind == KIND_COUNT) add(12, 154, 0, true);
        return n;
    }
    if (nModel != MODEL_LX50A || nUnit < 0 || nUnit > 7) return 0;
    const bool b1 = (wMask >> (2 * nUnit)) & 1;
    const bool b2 = (wMask >> (2 * nUnit + 1)) & 1;
    if (nUnit == 0) {
        if (nDataKind == KIND_POWER) {
            add(2, 120, 0, b1);
            add(3, 122, 1, b2);
        } else if (nDataKind == KIND_COUNT) {
            add(19, 154, 0, b1);
        }
        return n;
    }
    const int nBase = 100 * nUnit;
    if (nDataKind == KIND_POWER) {
        add(2, nBase + 120, 0, b1);
        add(3, nBase + 122, 1, b2);
    } else if (nDataKind == KIND_DIGITAL) {
        add(20, nBase + 190, 0, b1);
        add(21, nBase + 192, 1, b2);
    } else if (nDataKind == KIND_COUNT) {
        add(22, nBase + 194, 0, b1);
        add(23, nBase + 196, 1, b2);
    }
    return n;
}

bool IsColumnName(std::string_view field, int nCode) {
    char buf[16];
    std::memcpy(buf, "DT", 2);
    auto res = std::to_chars(buf + 2, buf + sizeof buf, nCode);
    return field == std::string_view(buf, static_cast<std::size_t>(res.ptr - buf));
}

bool IsNone(std::string_view text) {
    return text.empty() || text == "-";
}

void ClearDay(DayBlock& b) {
    std::memset(&b, 0, sizeof b);
}
void ClearMonth(MonthBlock& b) {
    std::memset(&b, 0, sizeof b);
}
void ClearYear(YearBlock& b) {
    std::memset(&b, 0, sizeof b);
}

void PrevDay(int& y, int& m, int& d) {
    if (--d >= 1) return;
    if (--m < 1) {
        m = 12;
        --y;
    }
    d = platform::DaysInMonth(y, m);
}

void NextDay(int& y, int& m, int& d) {
    if (++d <= platform::DaysInMonth(y, m)) return;
    d = 1;
    if (++m > 12) {
        m = 1;
        ++y;
    }
}

// Hundredths of a kWh, rounded to the nearest and kept within what the wrap arithmetic can use.
std::int64_t Hundredths(double v) {
    double r = std::round(v * 100.0);
    if (r > 1e17) r = 1e17;
    return static_cast<std::int64_t>(r);
}

}  // namespace

std::int64_t TimeKey(int nYear, int nMonth, int nDay, int nHour, int nMinute, int nSecond) {
    return ((((static_cast<std::int64_t>(nYear) * 100 + nMonth) * 100 + nDay) * 100 + nHour) * 100 + nMinute) * 100 +
           nSecond;
}

std::int64_t TimeKey(const platform::LocalTime& t) {
    return TimeKey(t.nYear, t.nMonth, t.nDay, t.nHour, t.nMinute, t.nSecond);
}

bool ParseRowTime(std::string_view strDate, std::string_view strTime, std::int64_t& nKey) {
    static const int kDefault[6] = {2000, 1, 1, 0, 0, 0};
    static const char kEnd[6] = {'/', '/', ' ', ':', ':', ':'};
    long long part[6];
    bool bDigit[6] = {};
    int nPart = 0;
    auto feed = [&](char c) {
        if (nPart >= 6) return;
        if (c >= '0' && c <= '9') {
            if (!bDigit[nPart]) {
                part[nPart] = 0;
                bDigit[nPart] = true;
            }
            // Saturate: a part this large is out of range anyway.
            if (part[nPart] < 100000000) part[nPart] = part[nPart] * 10 + (c - '0');
        } else if (c == kEnd[nPart]) {
            ++nPart;
        }
    };
    for (char c : strDate) feed(c);
    feed(' ');
    for (char c : strTime) feed(c);
    int v[6];
    for (int i = 0; i < 6; ++i) v[i] = bDigit[i] ? static_cast<int>(part[i]) : kDefault[i];
    if (v[0] < 1900 || v[0] > 9999 || v[1] < 1 || v[1] > 12 || v[2] < 1 || v[2] > 31 || v[3] > 23 || v[4] > 59 ||
        v[5] > 59)
        return false;
    if (v[2] > platform::DaysInMonth(v[0], v[1])) return false;
    nKey = TimeKey(v[0], v[1], v[2], v[3], v[4], v[5]);
    return true;
}

double ReadDecimal(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size() &&
           (s[i] == ' ' || s[i] == '\t' || s[i] == '\n' || s[i] == '\r' || s[i] == '\v' || s[i] == '\f'))
        ++i;
    bool bNeg = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
        bNeg = s[i] == '-';
        ++i;
    }
    // Only a decimal number counts: no infinity, NaN or hexadecimal text.
    if (i >= s.size() || !((s[i] >= '0' && s[i] <= '9') || s[i] == '.')) return 0;
    double d = 0;
    auto res = std::from_chars(s.data() + i, s.data() + s.size(), d, std::chars_format::general);
    if (res.ec != std::errc() || !std::isfinite(d)) return 0;
    return bNeg ? -d : d;
}

CLogFile::CLogFile() {
    ClearDay(m_dayTotal);
    for (auto& b : m_day) ClearDay(b);
    ClearMonth(m_monthTotal);
    for (auto& b : m_month) ClearMonth(b);
    ClearYear(m_yearTotal);
    for (auto& b : m_year) ClearYear(b);
    std::memset(m_table, 0, sizeof m_table);
    SetNow(platform::CClock::Now());
}

CLogFile::~CLogFile() = default;

void CLogFile::SetNow(const platform::LocalTime& now) {
    m_now = now;
    m_nNowKey = TimeKey(now);
}

bool CLogFile::Step(int nSteps) {
    if (m_bCancelled) return false;
    if (m_progress && !m_progress(nSteps)) m_bCancelled = true;
    return !m_bCancelled;
}

const CLoggerFolder& CLogFile::Folder(const std::string& strBase, int nNumber) {
    std::string strFolder = LoggerFolderPath(strBase, nNumber);
    if (!m_folder || m_folder->Folder() != strFolder) {
        m_folder = std::make_shared<CLoggerFolder>(strFolder);
        m_cache.clear();
        m_cacheDay.clear();
    }
    // Parsed readings depend on what is read.
    const std::uint32_t nKind = (static_cast<std::uint32_t>(m_nModel & 0xFF) << 24) |
                                (static_cast<std::uint32_t>(m_nDataKind & 0xFF) << 16) | m_wLoadMask;
    if (nKind != m_nCacheKind) {
        m_cache.clear();
        m_cacheDay.clear();
        m_nCacheKind = nKind;
    }
    return *m_folder;
}

void CLogFile::ParseReadings(CCsvFile& file, int nModel, int nUnit, int nDataKind, std::uint16_t wLoadMask,
                             std::vector<stREADING>& arrOut) {
    stCOLUMN wanted[2];
    const int nWanted = WantedColumns(nModel, nUnit, nDataKind, wLoadMask, wanted);
    if (nWanted == 0) return;
    // Lines 1 to 3 carry no readings; line 4 names the columns.
    for (int nLine = 1; nLine <= 3; ++nLine)
        if (!file.ReadRow(0, kMaxFields)) return;
    if (!file.ReadRow(0, kMaxFields)) return;
    stCOLUMN active[2];
    int nActive = 0;
    for (int i = 0; i < nWanted; ++i)
        if (IsColumnName(file.GetField(static_cast<std::size_t>(wanted[i].nField)), wanted[i].nCode))
            active[nActive++] = wanted[i];
    if (nActive == 0) return;
    while (file.ReadRow(0, kMaxFields)) {
        if (file.GetField(0).empty()) continue;
        std::int64_t nKey = 0;
        bool bTime = false, bTimeOk = false;
        for (int i = 0; i < nActive; ++i) {
            const std::size_t nField = static_cast<std::size_t>(active[i].nField);
            if (nField >= file.GetCount()) continue;
            if (!bTime) {
                bTime = true;
                bTimeOk = ParseRowTime(file.GetField(0), file.GetField(1), nKey);
            }
            if (!bTimeOk) break;
            std::string_view text = file.GetField(nField);
            stREADING r{};
            r.nTime = nKey;
            r.nCircuit = static_cast<std::uint8_t>(active[i].nCircuit);
            r.bNone = IsNone(text) ? 1 : 0;
            r.dValue = r.bNone ? 0.0 : ReadDecimal(text);
            arrOut.push_back(r);
        }
    }
}

const std::vector<stREADING>& CLogFile::Readings(int nEntry, int nUnit) {
    auto it = m_cache.find(nEntry);
    if (it != m_cache.end()) return it->second;
    std::vector<stREADING>& out = m_cache[nEntry];
    CCsvFile file;
    if (file.Open(m_folder->PathOf(nEntry))) ParseReadings(file, m_nModel, nUnit, m_nDataKind, m_wLoadMask, out);
    return out;
}

bool CLogFile::BothComplete() const {
    return m_table[0].nResolved >= 96 && m_table[1].nResolved >= 96 && m_table[0].start.bFound &&
           m_table[1].start.bFound;
}

void CLogFile::ApplyFile(int nEntry, int nUnit, bool bStart) {
    const std::vector<stREADING>& readings = Readings(nEntry, nUnit);
    m_cacheDay[nEntry] = m_nStartKey;
    const std::int64_t nDay = m_nStartKey / 1000000;  // YYYYMMDD of the day read
    const std::int64_t nNextDay = m_nSlotKey[95] / 1000000;
    for (const stREADING& r : readings) {
        ReadingTable& t = m_table[r.nCircuit & 1];
        if (bStart) {
            if (r.bNone || t.start.bFound) continue;
            if (r.nTime == m_nStartKey && m_nNowKey >= m_nStartKey) {
                t.start.dValue = r.dValue;
                t.start.bFound = 1;
            }
        } else {
            if (t.nResolved >= 96) continue;
            // The slot whose expected time is the row's time: D 00:15 .. D 23:45, or D+1 00:00.
            int k = -1;
            const std::int64_t nDate = r.nTime / 1000000;
            const int nClock = static_cast<int>(r.nTime % 1000000);
            if (nDate == nDay) {
                int h = nClock / 10000, m = (nClock / 100) % 100, s = nClock % 100;
                int nMin = h * 60 + m;
                if (s == 0 && nMin % 15 == 0 && nMin >= 15) k = nMin / 15 - 1;
            } else if (nDate == nNextDay && nClock == 0) {
                k = 95;
            }
            if (k < 0) continue;
            if (m_nSlotKey[k] > m_nNowKey) {
                ++t.nResolved;
            } else if (r.bNone) {
                ++t.nResolved;
            } else if (!t.slot[k].bFound) {
                t.slot[k].dValue = r.dValue;
                t.slot[k].bFound = 1;
                ++t.nResolved;
            }
        }
        if (m_table[0].nResolved > 95 && m_table[1].nResolved > 95 && m_table[0].start.bFound &&
            m_table[1].start.bFound)
            break;
    }
}

void CLogFile::ReadUnit(int nUnit, int nYear, int nMonth, int nDay) {
    const CLoggerFolder& folder = *m_folder;
    std::memset(m_table, 0, sizeof m_table);

    // Circuits that are not wanted count as complete, so that they never hold up the search.
    bool bSkip[2] = {false, false};
    if (m_nModel == MODEL_LX30A) {
        bSkip[1] = true;
        bSkip[0] = m_nDataKind == KIND_DIGITAL || !(m_wLoadMask & 1);
    } else if (nUnit == 0) {
        if (m_nDataKind == KIND_POWER) {
            bSkip[0] = !(m_wLoadMask & 1);
            bSkip[1] = !(m_wLoadMask & 2);
        } else if (m_nDataKind == KIND_COUNT) {
            bSkip[0] = !(m_wLoadMask & 1);
            bSkip[1] = true;
        } else {
            bSkip[0] = bSkip[1] = true;
        }
    } else {
        bSkip[0] = !((m_wLoadMask >> (2 * nUnit)) & 1);
        bSkip[1] = !((m_wLoadMask >> (2 * nUnit + 1)) & 1);
    }
    for (int c = 0; c < 2; ++c)
        if (bSkip[c]) {
            m_table[c].nResolved = 96;
            m_table[c].start.bFound = 1;
        }

    // Current files hold today's readings only.
    if (nYear == m_now.nYear && nMonth == m_now.nMonth && nDay == m_now.nDay)
        for (int nEntry : folder.CurrentFiles(nUnit)) ApplyFile(nEntry, nUnit, false);

    int py = nYear, pm = nMonth, pd = nDay;
    PrevDay(py, pm, pd);
    for (int nKind = FILE_TRG; nKind < FILE_KIND_COUNT; ++nKind) {
        if (!Step(0)) return;
        if (BothComplete()) break;
        if (m_table[0].nResolved < 96 || m_table[1].nResolved < 96)
            for (int nEntry : folder.DatedFiles(nUnit, nYear, nMonth, nDay, nKind)) ApplyFile(nEntry, nUnit, false);
        if (!BothComplete())
            for (int nEntry : folder.DatedFiles(nUnit, py, pm, pd, nKind)) ApplyFile(nEntry, nUnit, true);
    }

    for (int c = 0; c < 2; ++c)
        if (bSkip[c]) {
            m_table[c].nResolved = 0;
            m_table[c].start.bFound = 0;
        }
    ComputeSlots(nUnit);
}

void CLogFile::ComputeSlots(int nUnit) {
    const bool bLx30 = m_nModel == MODEL_LX30A;
    const int s = bLx30 ? 4 : 1;
    const int nFirst = bLx30 ? 3 : 0;
    const int nC1 = bLx30 ? 0 : 2 * nUnit;
    const int nC2 = bLx30 ? -1 : 2 * nUnit + 1;
    const bool bDigital = m_nDataKind == KIND_DIGITAL;
    for (int k = nFirst; k < 96; k += s) {
        double val[2] = {0, 0};
        bool has[2] = {false, false};
        for (int c = 0; c < 2; ++c) {
            const ReadingTable& t = m_table[c];
            const ReadingSlot& cur = t.slot[k];
            const ReadingSlot& prev = k == nFirst ? t.start : t.slot[k - s];
            if (!cur.bFound || !prev.bFound) continue;
            if (bDigital) {
                val[c] = prev.dValue;
                has[c] = true;
                continue;
            }
            if (cur.dValue <= 0 || prev.dValue <= 0) continue;
            double d = 0;
            if (m_nDataKind == KIND_COUNT) {
                d = cur.dValue < prev.dValue ? cur.dValue + 1000000.0 - prev.dValue : cur.dValue - prev.dValue;
                if (d < 0 || d > 999999) d = 0;
            } else {
                // In whole hundredths, so that 101.51 - 100.00 is 1.51 and not 1.50.
                const std::int64_t r = Hundredths(cur.dValue), p = Hundredths(prev.dValue);
                std::int64_t d100 = r < p ? r + 1000000000LL - p : r - p;
                if (d100 > 999999999LL || d100 < 0) d100 = 0;
                d = static_cast<double>(d100) / 100.0;
            }
            val[c] = d;
            has[c] = true;
        }
        const bool H = has[0] || has[1];
        const double AB = val[0] + val[1];
        int k96 = k, k48 = k / 2, k24 = k / 4;
        bool b48 = true, b24 = true;
        if (bLx30) {
            const int t = k / 4;
            k96 = 4 * t;
            k48 = 2 * t;
            k24 = t;
        } else if (bDigital) {
            b48 = k % 2 == 0;
            b24 = k % 4 == 0;
        }
        DayBlock& tot = m_dayTotal;
        tot.dVal96[k96] += AB;
        if (b48) tot.dVal48[k48] += AB;
        if (b24) tot.dVal24[k24] += AB;
        if (H) {
            tot.bHas96[k96] = 1;
            if (b48) tot.bHas48[k48] = 1;
            if (b24) tot.bHas24[k24] = 1;
            tot.bAny = 1;
        }
        tot.dTotal += AB;
        const int circuits[2] = {nC1, nC2};
        for (int c = 0; c < 2; ++c) {
            if (circuits[c] < 0) continue;
            DayBlock& b = m_day[circuits[c]];
            if (bDigital) {
                b.dVal96[k96] = val[c];
                if (b48) b.dVal48[k48] = val[c];
                if (b24) b.dVal24[k24] = val[c];
            } else {
                b.dVal96[k96] += val[c];
                b.dVal48[k48] += val[c];
                b.dVal24[k24] += val[c];
            }
            if (has[c]) {
                b.bHas96[k96] = 1;
                if (b48) b.bHas48[k48] = 1;
                if (b24) b.bHas24[k24] = 1;
                b.bAny = 1;
            }
            b.dTotal += val[c];
        }
    }
}

void CLogFile::ReadDayInner(const std::string& strBase, int nNumber, int nYear, int nMonth, int nDay) {
    ClearDay(m_dayTotal);
    for (auto& b : m_day) ClearDay(b);
    if (nMonth < 1 || nMonth > 12 || nDay < 1 || nDay > platform::DaysInMonth(nYear, nMonth)) return;
    Folder(strBase, nNumber);

    // The expected reading times of the day, by wall-clock parts.
    m_nStartKey = TimeKey(nYear, nMonth, nDay, 0, 0, 0);
    for (int k = 0; k < 95; ++k) {
        int nMin = 15 * (k + 1);
        m_nSlotKey[k] = TimeKey(nYear, nMonth, nDay, nMin / 60, nMin % 60, 0);
    }
    int ny = nYear, nm = nMonth, nd = nDay;
    NextDay(ny, nm, nd);
    m_nSlotKey[95] = TimeKey(ny, nm, nd, 0, 0, 0);

    if (m_nModel == MODEL_LX30A) {
        if (m_wLoadMask & 1) ReadUnit(-1, nYear, nMonth, nDay);
    } else if (m_nModel == MODEL_LX50A) {
        for (int u = 0; u < 8 && !m_bCancelled; ++u)
            if ((m_wLoadMask >> (2 * u)) & 3) ReadUnit(u, nYear, nMonth, nDay);
    }

    // Files of days before the previous one are not needed again when days are read in order.
    for (auto it = m_cacheDay.begin(); it != m_cacheDay.end();) {
        if (it->second < m_nStartKey) {
            m_cache.erase(it->first);
            it = m_cacheDay.erase(it);
        } else {
            ++it;
        }
    }
}

void CLogFile::ReadDay(const std::string& strBase, int nNumber, int nYear, int nMonth, int nDay) {
    ReadDayInner(strBase, nNumber, nYear, nMonth, nDay);
}

void CLogFile::ReadMonth(const std::string& strBase, int nNumber, int nYear, int nMonth, int nTopTermType) {
    ClearMonth(m_monthTotal);
    for (auto& b : m_month) ClearMonth(b);
    if (nMonth < 1 || nMonth > 12) return;
    int n = platform::DaysInMonth(nYear, nMonth);
    if (nYear == m_now.nYear && nMonth == m_now.nMonth) n = m_now.nDay;
    const int nCircuits = m_nModel == MODEL_LX30A ? 1 : 16;
    for (int d = 1; d <= n; ++d) {
        ReadDayInner(strBase, nNumber, nYear, nMonth, d);
        if (m_bCancelled) return;
        m_monthTotal.dVal[d - 1] = m_dayTotal.dTotal;
        m_monthTotal.bHas[d - 1] = m_dayTotal.bAny;
        m_monthTotal.bAny |= m_dayTotal.bAny;
        m_monthTotal.dTotal += m_dayTotal.dTotal;
        if (m_nDataKind != KIND_DIGITAL)
            for (int c = 0; c < nCircuits; ++c) {
                m_month[c].dVal[d - 1] = m_day[c].dTotal;
                m_month[c].bHas[d - 1] = m_day[c].bAny;
                m_month[c].bAny |= m_day[c].bAny;
                m_month[c].dTotal += m_day[c].dTotal;
            }
        if (nTopTermType == TERM_MONTH && !Step(1)) return;
    }
}

void CLogFile::ReadYear(const std::string& strBase, int nNumber, int nYear, int nTopTermType) {
    ClearYear(m_yearTotal);
    for (auto& b : m_year) ClearYear(b);
    int n = nYear == m_now.nYear ? m_now.nMonth : 12;
    const int nCircuits = m_nModel == MODEL_LX30A ? 1 : 16;
    for (int m = 1; m <= n; ++m) {
        ReadMonth(strBase, nNumber, nYear, m, nTopTermType);
        if (m_bCancelled) return;
        m_yearTotal.dVal[m - 1] = m_monthTotal.dTotal;
        m_yearTotal.bHas[m - 1] = m_monthTotal.bAny;
        m_yearTotal.bAny |= m_monthTotal.bAny;
        m_yearTotal.dTotal += m_monthTotal.dTotal;
        if (m_nDataKind != KIND_DIGITAL)
            for (int c = 0; c < nCircuits; ++c) {
                m_year[c].dVal[m - 1] = m_month[c].dTotal;
                m_year[c].bHas[m - 1] = m_month[c].bAny;
                m_year[c].bAny |= m_month[c].bAny;
                m_year[c].dTotal += m_month[c].dTotal;
            }
        if (nTopTermType == TERM_YEAR && !Step(1)) return;
    }
}

}  // namespace logdata
