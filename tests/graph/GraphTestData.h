#pragma once
#include <array>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "graph/GraphDef.h"

// Value buffers of one series for tests; the record points into them, so keep the object alive
// (and unmoved) while the record is in use.
struct CTestSeries {
    std::array<double, GRAPH_MAX_SLOTS> values{};
    std::array<std::uint8_t, GRAPH_MAX_SLOTS> valid{};
    std::array<std::array<double, GRAPH_MAX_SLOTS>, GRAPH_MAX_LINES> lineValues{};
    std::array<std::array<std::uint8_t, GRAPH_MAX_SLOTS>, GRAPH_MAX_LINES> lineValid{};
    stGRAPHDEF def;

    // A loaded bar series of nCount slots, every slot valid with the given values (missing ones 0).
    static CTestSeries Bars(int nCount, const std::vector<double>& v, COLORREF cr = GRAPH_COLOR_COND1) {
        CTestSeries s;
        s.def.nEnable = 1;
        s.def.nCount = nCount;
        s.def.crColor = cr;
        s.def.strUnit = "kWh";
        s.def.strKind = "kWh";
        s.def.strName = "Cond1";
        for (size_t i = 0; i < v.size() && i < s.values.size(); ++i) {
            s.values[i] = v[i];
            s.valid[i] = 1;
        }
        return s;
    }
    // Fills every slot below nCount as valid.
    void AllValid() {
        for (int i = 0; i < def.nCount && i < GRAPH_MAX_SLOTS; ++i) valid[static_cast<size_t>(i)] = 1;
    }
    // Adds a line (per meter number and circuit) and makes this a multi-line series.
    void AddLine(const std::vector<double>& v, const std::vector<int>& invalidSlots = {}) {
        const int k = def.nSubCount++;
        def.bMulti = 1;
        def.nGraphType = 1;
        def.crSubColor[k] = g_crLineColor[k];
        for (size_t i = 0; i < v.size(); ++i) {
            lineValues[static_cast<size_t>(k)][i] = v[i];
            lineValid[static_cast<size_t>(k)][i] = 1;
        }
        for (int i : invalidSlots) lineValid[static_cast<size_t>(k)][static_cast<size_t>(i)] = 0;
    }
    // The record with its pointers set to this object's buffers.
    stGRAPHDEF Def() {
        stGRAPHDEF d = def;
        d.pdValue = values.data();
        d.pbValid = valid.data();
        for (int k = 0; k < d.nSubCount; ++k) {
            d.pdSubValue[k] = lineValues[static_cast<size_t>(k)].data();
            d.pbSubValid[k] = lineValid[static_cast<size_t>(k)].data();
        }
        return d;
    }
};
