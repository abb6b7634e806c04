#include "logdata/GraphCond.h"

namespace logdata {

stGRAPHCOND stGRAPHCOND::Fresh(const platform::LocalTime& today) {
    stGRAPHCOND cond;
    cond.nYear = today.nYear;
    cond.nMonth = today.nMonth;
    cond.nDay = today.nDay;
    return cond;
}

stGRAPHCOND& CopyGraphCond(stGRAPHCOND& dst, const stGRAPHCOND& src) {
    if (&dst != &src) dst = src;
    return dst;
}

std::string DevModelName(int nModel) {
    if (nModel == MODEL_LX30A) return "LX30-A";
    if (nModel == MODEL_LX50A) return "LX50-A";
    return std::string();
}

int IntervalMinutes(int nIntervalKind) {
    switch (nIntervalKind) {
        case INTERVAL_30:
            return 30;
        case INTERVAL_15:
            return 15;
        default:
            return 60;
    }
}

int SlotCount(const stGRAPHCOND& cond, int nTermType) {
    switch (nTermType) {
        case TERM_DAY:
            return 24 * 60 / IntervalMinutes(cond.nIntervalKind);
        case TERM_MONTH:
            return platform::DaysInMonth(cond.nYear, cond.nMonth);
        case TERM_YEAR:
            return 12;
        default:
            return 0;
    }
}

}  // namespace logdata
