#include "graph/GraphDef.h"

#include <new>

const COLORREF g_crLineColor[GRAPH_LINE_COLORS] = {
    RGB(255, 128, 0),   RGB(0, 50, 0),      RGB(0, 255, 255),   RGB(255, 255, 0),   RGB(255, 0, 255),
    RGB(92, 148, 99),   RGB(128, 128, 128), RGB(255, 128, 128), RGB(128, 128, 255), RGB(255, 255, 128),
    RGB(128, 128, 0),   RGB(128, 0, 128),   RGB(0, 128, 128),   RGB(192, 192, 192), RGB(255, 0, 0),
    RGB(128, 255, 128), RGB(0, 0, 64),      RGB(255, 128, 128), RGB(128, 255, 255), RGB(128, 192, 255),
    RGB(255, 255, 192),
};

int AddGraphDef(std::vector<stGRAPHDEF>& arrGraph, int nMaxGraph, const stGRAPHDEF* pDef,
                const std::function<void(const std::string&)>& fnLackOfMemory) {
    if (pDef == nullptr) return 0;
    if (static_cast<int>(arrGraph.size()) >= nMaxGraph) return -1;
    try {
        arrGraph.push_back(*pDef);
    } catch (const std::bad_alloc&) {
        if (fnLackOfMemory) fnLackOfMemory("System error [Lack of memory]");
        return -1;
    }
    return static_cast<int>(arrGraph.size()) - 1;
}

bool ReplaceGraphDef(std::vector<stGRAPHDEF>& arrGraph, int nIndex, const stGRAPHDEF& def) {
    if (nIndex < 0 || nIndex >= static_cast<int>(arrGraph.size())) return false;
    arrGraph[static_cast<size_t>(nIndex)] = def;
    return true;
}

void SelectGraphLine(std::vector<stGRAPHDEF>& arrGraph, int nGraph, int nLine, const std::string& strLabel) {
    if (nGraph < 0 || nGraph >= static_cast<int>(arrGraph.size())) return;
    stGRAPHDEF& def = arrGraph[static_cast<size_t>(nGraph)];
    if (def.bMulti != 1) return;
    def.nSelect = (nLine < 0 || nLine >= def.nSubCount) ? -1 : nLine;
    def.strSelect = strLabel;
}

int DefaultSlotCount(int nTermType) {
    switch (nTermType) {
        case TERM_MONTH:
            return 31;
        case TERM_YEAR:
            return 12;
        default:
            return 24;
    }
}
