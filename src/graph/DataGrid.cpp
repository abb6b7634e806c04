#include "graph/DataGrid.h"

#include <algorithm>
#include <cmath>

#include "graph/GraphArea_Bar.h"
#include "graph/GraphText.h"

CDataGrid::CDataGrid(int nTermType, double dRateX, double dRateY)
    : m_nTermType(nTermType), m_nColumns(DefaultSlotCount(nTermType)), m_dRateX(dRateX), m_dRateY(dRateY) {}

int CDataGrid::AddGraph(const stGRAPHDEF* pDef) {
    return AddGraphDef(m_arrGraph, m_nMaxGraph, pDef, m_fnLackOfMemory);
}

bool CDataGrid::SetGraph(int nIndex, const stGRAPHDEF& def) {
    return ReplaceGraphDef(m_arrGraph, nIndex, def);
}

void CDataGrid::SetSelect(int nGraph, int nLine, const std::string& strLabel) {
    SelectGraphLine(m_arrGraph, nGraph, nLine, strLabel);
}

void CDataGrid::OnPaint() {
    if (!m_bFirstPaint) {
        m_bFirstPaint = true;
        m_bNewRect = true;
    }
}

void CDataGrid::Draw(CCanvas& canvas, const stRECT& rcItem) {
    if (m_bNewRect) {
        m_bNewRect = false;
        m_rcClient = rcItem;
        m_rcGraph = CGraphArea_Bar::CalcPlotRect(m_rcClient, m_dRateX, m_dRateY, m_nOffsetX, m_nOffsetY);
    }
    canvas.FillRect(m_rcClient, m_crBack);
    DrawGrid(canvas);
}

CDataGrid::stSHAPE CDataGrid::CalcShape() const {
    stSHAPE shape;
    shape.bDrawn = true;
    if (m_nTermType == TERM_MONTH) {
        shape.nColumns = 31;
        shape.nBlocks = 2;
        shape.dLimit = 999999.99;
    } else if (m_nTermType == TERM_YEAR) {
        shape.nColumns = 12;
        shape.nBlocks = 1;
        shape.dLimit = 99999999.99;
    } else {
        shape.nBlocks = 2;
        shape.dLimit = 999999.99999;
        if (m_nDispSlots <= 24) {
            shape.nColumns = std::max(0, m_nDispSlots);
        } else {
            // A whole day of 30- or 15-minute slots: hourly columns, for line graphs only.
            bool bLine = false;
            for (const auto& def : m_arrGraph) bLine = bLine || def.nGraphType == 1;
            shape.bDrawn = bLine;
            shape.nColumns = 24;
        }
    }
    shape.nRows = static_cast<int>(m_arrGraph.size()) + 1;
    if (m_nTermType == TERM_DAY) {
        shape.nSlotsLaid = shape.nColumns;
    } else {
        for (const auto& def : m_arrGraph) shape.nSlotsLaid = std::max(shape.nSlotsLaid, def.nCount);
        shape.nSlotsLaid = std::min(shape.nSlotsLaid, GRAPH_MAX_SLOTS);
    }
    shape.nCells = (shape.nSlotsLaid + shape.nBlocks - 1) / shape.nBlocks + 1;
    return shape;
}

std::string CDataGrid::HeaderText(const stSHAPE& shape, int nSlot, bool bTitle) const {
    if (bTitle) {
        if (m_nTermType == TERM_MONTH) return GraphString(IDS_AXIS_DAY);
        if (m_nTermType == TERM_YEAR) return GraphString(IDS_AXIS_MONTH);
        return GraphString(IDS_AXIS_HOUR);
    }
    if (m_nTermType != TERM_DAY) return std::to_string(nSlot + 1);
    (void)shape;
    if (m_nDispSlots <= 24) {
        return ClockLabel((static_cast<long long>(m_nStartSlot) + nSlot) * m_nInterval);
    }
    return ClockLabel(static_cast<long long>(nSlot) * 60);
}

bool CDataGrid::ShownArrays(const stGRAPHDEF& def, const double*& pdValue, const std::uint8_t*& pbValid) const {
    if (def.bMulti == 1) {
        if (def.nSelect < 0 || def.nSelect >= def.nSubCount || def.nSelect >= GRAPH_MAX_LINES) return false;
        pdValue = def.pdSubValue[def.nSelect];
        pbValid = def.pbSubValid[def.nSelect];
    } else {
        pdValue = def.pdValue;
        pbValid = def.pbValid;
    }
    return pdValue != nullptr;
}

std::string CDataGrid::TitleText(int nGraph) const {
    const stGRAPHDEF& def = m_arrGraph.at(static_cast<size_t>(nGraph));
    std::string strLabel;
    if (def.bMulti == 1) {
        if (def.nSelect < 0 || def.nSelect >= def.nSubCount) return {};
        strLabel = def.strSelect;
    } else {
        strLabel = def.strKind;
    }
    if (m_arrGraph.size() == 2) strLabel += "(" + def.strName + ")";
    return strLabel;
}

std::string CDataGrid::CellText(const stSHAPE& shape, int nGraph, int nSlot) const {
    const stGRAPHDEF& def = m_arrGraph.at(static_cast<size_t>(nGraph));
    const double* pdValue = nullptr;
    const std::uint8_t* pbValid = nullptr;
    if (def.nEnable == 0 || !ShownArrays(def, pdValue, pbValid)) return {};
    if (nSlot >= def.nCount) return "---";
    long long nIndex = nSlot;
    if (m_nTermType == TERM_DAY) {
        if (m_nDispSlots > 24) {
            // The slot that starts at hour nSlot.
            nIndex = m_nInterval > 0 ? static_cast<long long>(nSlot) * (60 / m_nInterval) : nSlot;
        } else {
            nIndex = static_cast<long long>(m_nStartSlot) + nSlot;
        }
    }
    if (nIndex < 0 || nIndex >= std::min(def.nCount, GRAPH_MAX_SLOTS)) return "---";
    const auto k = static_cast<size_t>(nIndex);
    if (pbValid != nullptr && pbValid[k] == 0) return "---";
    const double v = pdValue[k];
    if (!(v >= -shape.dLimit && v <= shape.dLimit)) return "---";  // also NaN
    return GridValueText(v, GridKindOf(def.strUnit, def.strKind));
}

void CDataGrid::DrawGrid(CCanvas& canvas) {
    const stSHAPE shape = CalcShape();
    m_nColumns = shape.nColumns;
    m_nBlocks = shape.nBlocks;
    m_nRows = shape.nRows;
    m_nCells = shape.nCells;
    if (!shape.bDrawn) return;

    const int W = std::max(0, m_rcGraph.Width());
    const int H = std::max(0, m_rcGraph.Height());
    int nTitleWidth = 0;
    int w = 0;
    int nLeft = 0;
    if (m_nTermType == TERM_MONTH) {
        nTitleWidth = W / m_nCells + 15;
        w = m_nCells > 1 ? std::max(0, W - nTitleWidth) / (m_nCells - 1) : 0;
        nLeft = std::max(0, W - (m_nCells - 1) * w - nTitleWidth) / 2;
    } else {
        w = W / m_nCells;
        nTitleWidth = w;
        nLeft = (W - m_nCells * w) / 2;
    }
    const int h = H / (m_nBlocks * m_nRows);
    const int nTop = (H - m_nBlocks * m_nRows * h) / 2;

    int y = m_rcClient.top + nTop;
    const int x0 = m_rcClient.left + nLeft;
    for (int b = 0; b < m_nBlocks; ++b) {
        for (int r = 0; r < m_nRows; ++r) {
            const stGRAPHDEF* pDef = r > 0 ? &m_arrGraph[static_cast<size_t>(r - 1)] : nullptr;
            if (pDef != nullptr) {
                if (pDef->nCount < 1) continue;
                if (m_nTermType == TERM_DAY && m_nDispSlots > 24 && pDef->nGraphType != 1) continue;
            }
            for (int j = 0; j < m_nCells; ++j) {
                const int s = (m_nCells - 1) * b + (j == 0 ? 0 : j - 1);
                if (s >= m_nColumns) break;
                if (s >= shape.nSlotsLaid) continue;
                stRECT rc;
                rc.left = j == 0 ? x0 : x0 + nTitleWidth + (j - 1) * w;
                rc.right = j == 0 ? x0 + nTitleWidth : rc.left + w;
                rc.top = y;
                rc.bottom = y + h;
                if (pDef == nullptr) {
                    canvas.FrameRect(rc, RGB(0, 0, 0));
                    canvas.TextInRect(rc, HeaderText(shape, s, j == 0));
                } else if (j == 0) {
                    canvas.FrameRect(rc, RGB(0, 0, 0));
                    std::string strLabel = TitleText(r - 1);
                    if (!strLabel.empty()) {
                        const double dW = rc.Width();
                        stRECT sw;
                        sw.left = rc.left + 2;
                        sw.right =
                            sw.left + (static_cast<int>(0.525 * dW + rc.left) - static_cast<int>(0.475 * dW + rc.left));
                        sw.top = rc.top + static_cast<int>(0.2 * rc.Height());
                        sw.bottom = rc.top + static_cast<int>(0.8 * rc.Height());
                        const bool bLine = pDef->bMulti == 1;
                        const bool bSelected = bLine && pDef->nSelect >= 0 && pDef->nSelect < pDef->nSubCount &&
                                               pDef->nSelect < GRAPH_MAX_LINES;
                        if (!bLine || bSelected) {
                            canvas.FillRect(sw, bLine ? pDef->crSubColor[pDef->nSelect] : pDef->crColor);
                        }
                        canvas.FrameRect(sw, RGB(0, 0, 0));
                        stSIZE size = canvas.TextExtent(strLabel);
                        canvas.Text(sw.right + 2, rc.top + (rc.Height() - size.cy) / 2, strLabel);
                    }
                } else {
                    canvas.FillRect(rc, RGB(255, 255, 255));
                    canvas.FrameRect(rc, RGB(0, 0, 0));
                    std::string strText = CellText(shape, r - 1, s);
                    if (!strText.empty()) canvas.TextInRect(rc, strText);
                }
            }
            y += h;
        }
    }
}
