#include "graph/GraphDisplay.h"

#include <algorithm>

#include "graph/GraphText.h"

CGraphDisplay::CGraphDisplay(CGraphArea_Bar& area, CDataGrid& grid) : m_area(area), m_grid(grid) {}

void CGraphDisplay::SetConditions(int nTermType, const logdata::stGRAPHCOND* pCond1,
                                  const logdata::stGRAPHCOND* pCond2) {
    m_nTermType = nTermType;
    m_pCond[0] = pCond1;
    m_pCond[1] = pCond2;
}

const std::string& CGraphDisplay::LineLabel(int nIndex, int nLine) const {
    static const std::string strNone;
    if (nLine < 0 || nLine >= m_nShownLines[Idx(nIndex)]) return strNone;
    return m_shownLines[static_cast<size_t>(Idx(nIndex))][static_cast<size_t>(nLine)].strLabel;
}

int CGraphDisplay::LoadGraphData(unsigned nMask, const logdata::stLOADSETTINGS& settings, CLoadProgressView& progress) {
    if (m_bBusy) return 0;
    if (m_nTermType != TERM_DAY && m_nTermType != TERM_MONTH && m_nTermType != TERM_YEAR) return 0;
    if (m_pCond[0] == nullptr) return 0;
    const int nCondCount = CondCount();
    nMask &= nCondCount == 2 ? 3u : 1u;

    m_bBusy = 1;
    // Whatever happens below, the window is not left busy for good.
    struct stBUSYGUARD {
        int& bBusy;
        ~stBUSYGUARD() { bBusy = 0; }
    } busyGuard{m_bBusy};
    progress.SetContinue(true);
    progress.Open(GraphString(IDS_LOADING_CAPTION), GraphString(IDS_LOADING_TEXT));

    logdata::stGRAPHCOND cond[2];
    for (int i = 0; i < nCondCount; ++i) cond[i] = *m_pCond[i];
    progress.SetRange(logdata::ProgressRange(cond, nCondCount, nMask, m_nTermType, settings.now));

    logdata::CGraphLoader loader(settings);
    const bool bLoaded = loader.LoadGraphData(m_nTermType, cond, nCondCount, nMask, [&](int nSteps) {
        progress.Step(nSteps);
        return progress.Continue();
    });
    progress.Close();

    if (bLoaded && loader.Cancelled() && progress.Continue()) {
        // The load broke off by itself (out of memory or the like): nothing new is shown, and the
        // window must learn that just as from Cancel, so that it puts its records back.
        progress.SetContinue(false);
    }
    if (bLoaded && progress.Continue() && !loader.Cancelled()) {
        ShowLoadedData(nMask, &loader.Data(0), nCondCount == 2 ? &loader.Data(1) : nullptr);
    }
    return bLoaded ? 1 : 0;
}

void CGraphDisplay::ShowLoadedData(unsigned nMask, const logdata::stCONDDATA* pData0,
                                   const logdata::stCONDDATA* pData1) {
    // Nothing loaded: the view stays as it is.
    if ((nMask & 3u) == 0) return;
    const logdata::stCONDDATA* pData[2] = {pData0, pData1};
    int nMaxCount = 0;
    for (int i = 0; i < 2; ++i) {
        if ((nMask & (1u << i)) == 0 || m_pCond[i] == nullptr || pData[i] == nullptr) continue;
        SetGraphDefs(i, *m_pCond[i], *pData[i]);
        nMaxCount = std::max(nMaxCount, std::clamp(logdata::SlotCount(*m_pCond[i], m_nTermType), 0, GRAPH_MAX_SLOTS));
    }
    const int nInterval =
        m_nTermType == TERM_DAY && m_pCond[0] != nullptr ? logdata::IntervalMinutes(m_pCond[0]->nIntervalKind) : 1;
    m_area.m_nStartSlot = m_grid.m_nStartSlot = 0;
    m_area.m_nDispSlots = m_grid.m_nDispSlots = nMaxCount;
    m_area.m_nInterval = m_grid.m_nInterval = nInterval;
    // The period kind first: the scaling looks at the slots visible in the new period.
    m_area.m_nTermType = m_grid.m_nTermType = m_nTermType;
    m_area.CalcGraphScale({m_nDataKind[0], m_nDataKind[1]});
}

void CGraphDisplay::SetGraphDefs(int nIndex, const logdata::stGRAPHCOND& cond, const logdata::stCONDDATA& data) {
    const int i = Idx(nIndex);
    if (i >= m_area.GetCount() || i >= m_grid.GetCount()) return;
    stGRAPHDEF def = m_area.GetGraph(i);
    const auto ui = static_cast<size_t>(i);

    def.nCount = std::clamp(logdata::SlotCount(cond, m_nTermType), 0, GRAPH_MAX_SLOTS);
    const bool bLine = cond.nGraphType == logdata::GRAPH_LINE;
    def.nGraphType = def.bMulti = bLine ? 1 : 0;

    m_dShownSum[ui].fill(0.0);
    m_bShownHas[ui].fill(0);
    for (int k = 0; k < def.nCount; ++k) {
        m_dShownSum[ui][static_cast<size_t>(k)] = data.dSlotSum[static_cast<size_t>(k)];
        m_bShownHas[ui][static_cast<size_t>(k)] = data.bSlotHas[static_cast<size_t>(k)];
    }
    def.pdValue = m_dShownSum[ui].data();
    def.pbValid = m_bShownHas[ui].data();
    m_dTotal[i] = data.dTotal;
    m_dCO2[i] = data.dCO2;

    // Lines: condition 2's colours follow condition 1's lines. When only condition 2 was loaded,
    // condition 1's lines are those still shown, so graph and legend keep matching colours.
    const int nLines = std::clamp(data.nLineCount, 0, GRAPH_MAX_LINES);
    const int nFirstColor = i == 1 ? m_nShownLines[0] : 0;
    for (int k = 0; k < GRAPH_MAX_LINES; ++k) {
        auto& line = m_shownLines[ui][static_cast<size_t>(k)];
        const auto& src = data.lines[static_cast<size_t>(k)];
        line.strLabel = k < nLines ? src.strLabel : std::string();
        line.dValue.fill(0.0);
        line.bHas.fill(0);
        if (k < nLines) {
            for (int s = 0; s < def.nCount; ++s) {
                line.dValue[static_cast<size_t>(s)] = src.dValue[static_cast<size_t>(s)];
                line.bHas[static_cast<size_t>(s)] = src.bHas[static_cast<size_t>(s)];
            }
        }
        def.pdSubValue[k] = line.dValue.data();
        def.pbSubValid[k] = line.bHas.data();
        def.crSubColor[k] = g_crLineColor[std::min(k + nFirstColor, GRAPH_LINE_COLORS - 1)];
    }
    def.nSubCount = nLines;
    m_nShownLines[i] = nLines;

    m_nDataKind[i] = cond.nDataKind;
    def.nEnable = 1;
    if (i == 0) {
        def.nScalePos = def.nUnitPos = 0;
    } else {
        def.nScalePos = def.nUnitPos = cond.nDataKind == m_nDataKind[0] ? -1 : 1;
    }
    switch (cond.nDataKind) {
        case logdata::KIND_COUNT:
            def.strUnit.clear();
            def.strKind = GraphString(IDS_KIND_COUNT);
            break;
        case logdata::KIND_DIGITAL:
            def.strUnit.clear();
            def.strKind = GraphString(IDS_KIND_DIGITAL);
            break;
        default:
            def.strUnit = GraphString(IDS_UNIT_KWH);
            def.strKind = GraphString(IDS_KIND_KWH);
            break;
    }
    m_area.SetGraph(i, def, false);
    m_grid.SetGraph(i, def);

    // The graph's highlighted line: the remembered one when it is still a line of this condition;
    // line 0 when neither condition remembers a valid line.
    auto valid = [&](int nLine) { return nLine >= 0 && nLine < nLines; };
    stGRAPHDEF graphDef = def;
    graphDef.nSelect = -1;
    graphDef.strSelect.clear();
    if (nLines > 0) {
        if (valid(m_nGraphSel[0]) || valid(m_nGraphSel[1])) {
            if (valid(m_nGraphSel[i])) {
                graphDef.nSelect = m_nGraphSel[i];
                graphDef.strSelect = LineLabel(i, m_nGraphSel[i]);
            }
        } else {
            graphDef.nSelect = 0;
            graphDef.strSelect = LineLabel(i, 0);
            m_nGraphSel[i] = 0;
        }
    }
    // The grid always shows a line of a line graph.
    stGRAPHDEF gridDef = def;
    gridDef.nSelect = -1;
    gridDef.strSelect.clear();
    if (nLines > 0) {
        if (!valid(m_nGridSel[i])) m_nGridSel[i] = 0;
        gridDef.nSelect = m_nGridSel[i];
        gridDef.strSelect = LineLabel(i, m_nGridSel[i]);
    }
    m_area.SetGraph(i, graphDef, false);
    m_grid.SetGraph(i, gridDef);
}

void CGraphDisplay::SelectLine(int nIndex, int nLine) {
    const int i = Idx(nIndex);
    if (CondCount() == 2) {
        const int nOther = 1 - i;
        m_area.SetSelect(nOther, -1, "");
        m_nGraphSel[nOther] = -1;
    }
    const std::string& strLabel = LineLabel(i, nLine);
    m_area.SetSelect(i, nLine, strLabel);
    m_grid.SetSelect(i, nLine, strLabel);
    m_nGraphSel[i] = nLine;
    m_nGridSel[i] = nLine;
}

void CGraphDisplay::ForgetSelection(int nIndex) {
    m_nGraphSel[Idx(nIndex)] = -1;
    m_nGridSel[Idx(nIndex)] = -1;
}
