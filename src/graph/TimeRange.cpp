#include "graph/TimeRange.h"

#include "graph/GraphDef.h"

namespace {

constexpr stTIMERANGE kRanges[] = {
    {1282, "whole", 0, -1, 0, 0},  // "1 Day" (1285 on a day of half hours)
    {1278, "0-6", 15, 0, 4, 0},    {1279, "6-12", 15, 1, 4, 0},   {1280, "12-18", 15, 2, 4, 0},
    {1281, "18-24", 15, 3, 4, 0},  {1329, "3-9", 15, 0, 4, 12},   {1330, "9-15", 15, 1, 4, 12},
    {1331, "15-21", 15, 2, 4, 12}, {1283, "0-12", 30, 0, 2, 0},   {1284, "12-24", 30, 1, 2, 0},
    {1328, "6-18", 30, 0, 2, 12},  {1285, "whole", 30, -1, 0, 0},
};

}  // namespace

const stTIMERANGE* FindTimeRange(const std::string& strName, int nTermType, int nInterval) {
    for (const auto& range : kRanges) {
        if (strName != range.strName) continue;
        if (range.nInterval == 0) return &range;
        if (nTermType == TERM_DAY && range.nInterval == nInterval) return &range;
    }
    return nullptr;
}

const stTIMERANGE* FindTimeRangeById(int nId) {
    for (const auto& range : kRanges) {
        if (range.nId == nId) return &range;
    }
    return nullptr;
}

void TimeRangeSlots(const stTIMERANGE& range, int nSlots, int& nStartSlot, int& nDispSlots) {
    if (range.nPart < 0 || range.nParts <= 0) {
        nStartSlot = 0;
        nDispSlots = nSlots;
        return;
    }
    nDispSlots = nSlots / range.nParts;
    nStartSlot = range.nOffset + range.nPart * nDispSlots;
}

std::string TimeRangeNames() {
    std::string strNames;
    for (const auto& range : kRanges) {
        if (range.nId == 1285) continue;
        if (!strNames.empty()) strNames += "|";
        strNames += range.strName;
    }
    return strNames;
}
