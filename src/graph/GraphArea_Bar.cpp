#include "graph/GraphArea_Bar.h"

#include <algorithm>
#include <cmath>

#include "graph/GraphText.h"
#include "logdata/GraphScale.h"

namespace {

// Truncation of a drawing coordinate that can never overflow an int, whatever the value.
int TruncCoord(double d) {
    if (std::isnan(d)) return 0;
    if (d > 1e9) return 1000000000;
    if (d < -1e9) return -1000000000;
    return static_cast<int>(d);
}

// Where a value lies on the plot, clamped to its edges.
enum class Edge { None, Top, Bottom };
struct stYPOS {
    int y;
    Edge eEdge;
};

stYPOS ValueToY(double dValue, double dMin, double dPerUnit, const stRECT& rcPlot) {
    double dY = rcPlot.bottom - std::trunc((dValue - dMin) * dPerUnit);
    if (!(dY >= rcPlot.top)) return {rcPlot.top, Edge::Top};  // also +inf values
    if (dY > rcPlot.bottom) return {rcPlot.bottom, Edge::Bottom};
    return {static_cast<int>(dY), Edge::None};
}

bool HasUsableScale(const stGRAPHDEF& def) {
    return std::isfinite(def.dRange) && def.dRange > 0 && std::isfinite(def.dMin);
}

}  // namespace

CGraphArea_Bar::CGraphArea_Bar(int nTermType, double dRateX, double dRateY)
    : m_nTermType(nTermType), m_nSlots(DefaultSlotCount(nTermType)), m_dRateX(dRateX), m_dRateY(dRateY) {}

int CGraphArea_Bar::AddGraph(const stGRAPHDEF* pDef) {
    return AddGraphDef(m_arrGraph, m_nMaxGraph, pDef, m_fnLackOfMemory);
}

bool CGraphArea_Bar::SetGraph(int nIndex, const stGRAPHDEF& def, bool bRedraw) {
    if (!ReplaceGraphDef(m_arrGraph, nIndex, def)) return false;
    if (bRedraw && m_fnRedraw) m_fnRedraw();
    return true;
}

void CGraphArea_Bar::SetSelect(int nGraph, int nLine, const std::string& strLabel) {
    SelectGraphLine(m_arrGraph, nGraph, nLine, strLabel);
}

void CGraphArea_Bar::GetMinMax(int nGraph, double& dMax, double& dMin, int nLine) const {
    if (nGraph < 0 || nGraph >= static_cast<int>(m_arrGraph.size())) return;
    const stGRAPHDEF& def = m_arrGraph[static_cast<size_t>(nGraph)];
    if (def.nEnable != 1 || def.pdValue == nullptr) return;
    const double* pdValue = def.pdValue;
    const std::uint8_t* pbValid = def.pbValid;
    if (def.nSubCount > 0 && nLine >= 0 && nLine < std::min(def.nSubCount, GRAPH_MAX_LINES)) {
        pdValue = def.pdSubValue[nLine];
        pbValid = def.pbSubValid[nLine];
    }
    int nFirst = 0, nSlots = 0;
    logdata::VisibleSlots(m_nTermType, m_nStartSlot, m_nDispSlots, def.nCount, nFirst, nSlots);
    logdata::GetMinMax(pdValue, pbValid, nFirst, nSlots, dMax, dMin);
}

void CGraphArea_Bar::CalcGraphScale(const std::vector<int>& nDataKinds) {
    const int nSeries = std::min(static_cast<int>(m_arrGraph.size()), 2);
    if (nSeries <= 0) return;
    logdata::stSCALESERIES series[2];
    for (int i = 0; i < nSeries; ++i) {
        const stGRAPHDEF& def = m_arrGraph[static_cast<size_t>(i)];
        auto& s = series[i];
        s.nEnable = def.nEnable;
        s.nCount = def.nCount;
        s.nGraphType = def.nGraphType;
        s.nDataKind = i < static_cast<int>(nDataKinds.size()) ? nDataKinds[static_cast<size_t>(i)] : 0;
        s.pdValue = def.pdValue;
        s.pbValid = def.pbValid;
        s.nSubCount = std::clamp(def.nSubCount, 0, GRAPH_MAX_LINES);
        s.ppdSubValue = def.pdSubValue;
        s.ppbSubValid = def.pbSubValid;
        s.dRange = def.dRange;
        s.dMin = def.dMin;
    }
    logdata::CalcGraphScale(series, nSeries, m_nTermType, m_nStartSlot, m_nDispSlots, m_nDivY);
    for (int i = 0; i < nSeries; ++i) {
        m_arrGraph[static_cast<size_t>(i)].dRange = series[i].dRange;
        m_arrGraph[static_cast<size_t>(i)].dMin = series[i].dMin;
    }
}

stRECT CGraphArea_Bar::CalcPlotRect(const stRECT& rcClient, double dRateX, double dRateY, int nOffsetX, int nOffsetY) {
    const double dW = rcClient.Width();
    const double dH = rcClient.Height();
    stRECT rc;
    rc.left = TruncCoord(rcClient.left + dW * (1 - dRateX) / 2) + nOffsetX;
    rc.right = TruncCoord(rcClient.left + dW * (1 - (1 - dRateX) / 2)) + nOffsetX;
    rc.top = TruncCoord(rcClient.top + dH * (1 - dRateY) / 2) + nOffsetY;
    rc.bottom = TruncCoord(rcClient.top + dH * (1 - (1 - dRateY) / 2)) + nOffsetY;
    return rc;
}

void CGraphArea_Bar::SetClientRect(const stRECT& rc) {
    m_rcClient = rc;
    m_rcGraph = CalcPlotRect(m_rcClient, m_dRateX, m_dRateY, m_nOffsetX, m_nOffsetY);
}

double CGraphArea_Bar::BarRatio() const {
    if (m_nDispSlots == 48) return 0.7;
    if (m_nDispSlots == 96) return 0.8;
    return 0.6;
}

CGraphArea_Bar::stLAYOUT CGraphArea_Bar::CalcLayout() {
    int nColumns = 0;
    if (m_nTermType == TERM_DAY) {
        nColumns = m_nDispSlots;
    } else {
        for (const auto& def : m_arrGraph) nColumns = std::max(nColumns, def.nCount);
    }
    if (nColumns > 0) m_nSlots = std::min(nColumns, GRAPH_MAX_SLOTS);
    if (m_nSlots <= 0) m_nSlots = DefaultSlotCount(m_nTermType);

    stLAYOUT layout;
    layout.rcPlot = m_rcGraph;
    layout.nSlots = m_nSlots;
    const int nWidth = std::max(0, m_rcGraph.Width());
    int w = nWidth / m_nSlots;
    if (nWidth % m_nSlots != 0 && static_cast<long long>(m_rcGraph.left) + static_cast<long long>(w + 1) * m_nSlots <
                                      static_cast<long long>(m_rcClient.right) - m_rcGraph.left) {
        ++w;
    }
    layout.nSlotWidth = w;
    layout.rcPlot.right = m_rcGraph.left + m_nSlots * w;
    return layout;
}

void CGraphArea_Bar::Draw(CCanvas& canvas, const stRECT& rcItem) {
    if (m_bNewRect) {
        m_bNewRect = false;
        m_rcClient = rcItem;
    }
    m_rcGraph = CalcPlotRect(m_rcClient, m_dRateX, m_dRateY, m_nOffsetX, m_nOffsetY);
    canvas.FillRect(m_rcClient, m_crBack);
    stLAYOUT layout = CalcLayout();
    DrawFrame(canvas, layout);
    DrawScaleY(canvas, layout);
    DrawScaleX(canvas, layout);
    DrawGraph(canvas, layout);
}

void CGraphArea_Bar::DrawFrame(CCanvas& canvas, const stLAYOUT& layout) {
    if (m_nDivY <= 0) return;
    const stRECT& rc = layout.rcPlot;
    canvas.FrameRect(rc, RGB(0, 0, 0));
    const double dStep = static_cast<double>(rc.Height()) / m_nDivY;
    // The lines at the bottom and the top are left to the outline.
    for (int i = 1; i < m_nDivY; ++i) {
        int y = rc.bottom - TruncCoord(i * dStep);
        canvas.Line(rc.left, y, rc.right, y, RGB(0, 0, 0), true);
    }
}

void CGraphArea_Bar::DrawScaleY(CCanvas& canvas, const stLAYOUT& layout) {
    const stRECT& rc = layout.rcPlot;
    for (const auto& def : m_arrGraph) {
        if (!std::isfinite(def.dRange) || !std::isfinite(def.dMin)) continue;
        const int h = ScaleExponent(def.dRange, def.dMin);
        if (def.nScalePos >= 0 && m_nDivY > 0) {
            std::vector<std::string> labels = ScaleLabels(def.dRange, def.dMin, m_nDivY, h);
            for (int i = 0; i < static_cast<int>(labels.size()); ++i) {
                stSIZE size = canvas.TextExtent(labels[static_cast<size_t>(i)]);
                int y = rc.bottom - TruncCoord(static_cast<double>(i) * rc.Height() / m_nDivY) - size.cy / 2;
                int x = def.nScalePos == 0 ? rc.left - size.cx - 3 : rc.right + 3;
                canvas.Text(x, y, labels[static_cast<size_t>(i)]);
            }
        }
        if (def.nUnitPos >= 0) {
            std::string strCaption = UnitCaption(def.strUnit, h);
            stSIZE size = canvas.TextExtent(strCaption);
            if (def.nUnitPos == 0) {
                canvas.Text(1, rc.top - size.cy - size.cy / 2, strCaption);
            } else {
                canvas.Text(m_rcClient.right - size.cx - 1, rc.top - size.cy - 5, strCaption);
            }
        }
    }
}

void CGraphArea_Bar::DrawScaleX(CCanvas& canvas, const stLAYOUT& layout) {
    const stRECT& rc = layout.rcPlot;
    const int w = layout.nSlotWidth;
    int nStep = 1;
    if (m_nTermType == TERM_DAY) nStep = std::max(1, m_nDispSlots / 24);
    for (int k = 0; k < layout.nSlots; ++k) {
        if (k % nStep != 0) continue;
        std::string strLabel;
        if (m_nTermType == TERM_DAY) {
            strLabel = DaySlotLabel(m_nStartSlot, m_nInterval, m_nDispSlots, k);
        } else {
            strLabel = std::to_string(k + 1);
        }
        stSIZE size = canvas.TextExtent(strLabel);
        int x = rc.left + k * w + std::max(0, nStep * w - size.cx) / 2;
        canvas.Text(x, rc.bottom + 3, strLabel);
        if (k > 0) canvas.Line(rc.left + k * w, rc.top, rc.left + k * w, rc.bottom + 10, RGB(0, 0, 0), false);
    }

    int nCaption = 0;
    if (m_nTermType == TERM_MONTH) {
        nCaption = IDS_AXIS_DAY;
    } else if (m_nTermType == TERM_YEAR) {
        nCaption = IDS_AXIS_MONTH;
    } else if (m_nDispSlots > 24) {
        nCaption = IDS_AXIS_HOUR;
    }
    if (nCaption != 0) {
        std::string strCaption = "[" + GraphString(nCaption) + "]";
        stSIZE size = canvas.TextExtent(strCaption);
        canvas.Text(m_rcClient.right - size.cx, rc.bottom + size.cy, strCaption);
    }
}

void CGraphArea_Bar::VisibleSlots(const stGRAPHDEF& def, int& nFirst, int& nEnd) const {
    const int nCount = std::min(def.nCount, GRAPH_MAX_SLOTS);
    if (m_nTermType == TERM_DAY) {
        nFirst = std::max(0, m_nStartSlot);
        long long nLast = static_cast<long long>(m_nStartSlot) + std::max(0, m_nDispSlots);
        nEnd = static_cast<int>(std::min<long long>(nLast, nCount));
    } else {
        nFirst = 0;
        nEnd = nCount;
    }
    if (nEnd < nFirst) nEnd = nFirst;
}

void CGraphArea_Bar::DrawGraph(CCanvas& canvas, const stLAYOUT& layout) {
    int nBars = 0;
    for (const auto& def : m_arrGraph) {
        if (def.nGraphType == 0) ++nBars;
    }
    const stRECT& rc = layout.rcPlot;
    const int w = layout.nSlotWidth;
    const double r = BarRatio();
    bool bHighlightLeft = false;

    for (int nPass = 0; nPass < 3; ++nPass) {
        if (nPass == 2 && !bHighlightLeft) break;
        for (int i = 0; i < static_cast<int>(m_arrGraph.size()); ++i) {
            const stGRAPHDEF& def = m_arrGraph[static_cast<size_t>(i)];
            if (def.nEnable != 1 || def.nCount <= 0 || def.pdValue == nullptr || !HasUsableScale(def)) continue;
            const double dPerUnit = rc.Height() / def.dRange;
            int nFirst = 0, nEnd = 0;
            VisibleSlots(def, nFirst, nEnd);
            const int nOrigin = m_nTermType == TERM_DAY ? m_nStartSlot : 0;

            if (def.nGraphType == 0) {
                if (nPass != 0) continue;
                const int y0 = ValueToY(0.0, def.dMin, dPerUnit, rc).y;
                for (int nSlot = nFirst; nSlot < nEnd; ++nSlot) {
                    const int j = nSlot - nOrigin;
                    if (j >= layout.nSlots) break;
                    double v = def.pdValue[nSlot];
                    if ((def.pbValid != nullptr && def.pbValid[nSlot] == 0) || std::isnan(v)) v = 0.0;
                    const int y = ValueToY(v, def.dMin, dPerUnit, rc).y;
                    int F = rc.left + j * w;
                    int E = F + w;
                    if (nBars > 1) {
                        F = rc.left + j * w + i * (w / nBars);
                        E = F + w / nBars;
                    }
                    stRECT bar;
                    bar.left = TruncCoord(F + (E - F) * (1 - r) / 2);
                    bar.right = TruncCoord(F + (E - F) * (1 - (1 - r) / 2));
                    bar.top = std::min(y, y0);
                    bar.bottom = std::max(y, y0);
                    if (!bar.IsEmpty()) canvas.FillRect(bar, def.crColor);
                }
                continue;
            }

            if (nPass == 0) continue;
            if (def.bMulti == 1) {
                const int nLines = std::clamp(def.nSubCount, 0, GRAPH_MAX_LINES);
                for (int k = 0; k < nLines; ++k) {
                    const bool bSelected = k == def.nSelect;
                    if (nPass == 1 && bSelected) {
                        bHighlightLeft = true;
                        continue;
                    }
                    if (nPass == 2 && !bSelected) continue;
                    if (def.pdSubValue[k] == nullptr) continue;
                    DrawLine(canvas, layout, def, i, nBars, def.pdSubValue[k], def.pbSubValid[k], def.crSubColor[k],
                             bSelected);
                }
            } else if (nPass == 1) {
                DrawLine(canvas, layout, def, i, nBars, def.pdValue, def.pbValid, def.crColor, false);
            }
        }
    }
    canvas.FrameRect(rc, RGB(0, 0, 0));
}

void CGraphArea_Bar::DrawLine(CCanvas& canvas, const stLAYOUT& layout, const stGRAPHDEF& def, int nIndex, int nBars,
                              const double* pdValue, const std::uint8_t* pbValid, COLORREF cr, bool bHighlight) {
    const stRECT& rc = layout.rcPlot;
    const int w = layout.nSlotWidth;
    const int nThin = bHighlight ? 4 : 2;
    const int nThick = bHighlight ? 8 : 6;
    const double dPerUnit = rc.Height() / def.dRange;
    int nFirst = 0, nEnd = 0;
    VisibleSlots(def, nFirst, nEnd);
    const int nOrigin = m_nTermType == TERM_DAY ? m_nStartSlot : 0;

    bool bHavePrev = false;
    int xPrev = 0, yPrev = 0;
    Edge ePrev = Edge::None;
    for (int nSlot = nFirst; nSlot < nEnd; ++nSlot) {
        const int j = nSlot - nOrigin;
        if (j >= layout.nSlots) break;
        if (pbValid != nullptr && pbValid[nSlot] == 0) continue;
        const double v = pdValue[nSlot];
        if (std::isnan(v)) continue;
        int F = rc.left + j * w;
        if (nBars > 1) F += nIndex * (w / nBars);
        const int x = F + w / 2;
        const stYPOS pos = ValueToY(v, def.dMin, dPerUnit, rc);
        if (bHavePrev && !(pos.eEdge != Edge::None && pos.eEdge == ePrev)) {
            canvas.WideLine(xPrev, yPrev, x, pos.y, nThin, cr);
        }
        canvas.WideLine(x, pos.y, x, pos.y, nThick, cr);
        bHavePrev = true;
        xPrev = x;
        yPrev = pos.y;
        ePrev = pos.eEdge;
    }
}
