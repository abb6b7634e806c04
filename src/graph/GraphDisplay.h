#pragma once
#include <array>
#include <cstdint>
#include <string>

#include "graph/DataGrid.h"
#include "graph/GraphArea_Bar.h"
#include "graph/LoadProgressView.h"
#include "logdata/GraphCond.h"
#include "logdata/GraphLoader.h"

// The loading side of the graph window: loads its conditions with the log-data loader under a
// progress view, keeps the shown sums and lines that the series records point at, fills the
// records of the graph area and the data grid (SetGraphDefs), resets the view and scales the
// axes. The graph window owns one and calls LoadGraphData after every change of its conditions.
class CGraphDisplay {
public:
    CGraphDisplay(CGraphArea_Bar& area, CDataGrid& grid);

    // The conditions of the window (the caller's records; the second is nullptr for one
    // condition) and the period kind. Kept as pointers: the window edits the records in place.
    void SetConditions(int nTermType, const logdata::stGRAPHCOND* pCond1, const logdata::stGRAPHCOND* pCond2);
    int TermType() const { return m_nTermType; }
    int CondCount() const { return m_pCond[1] != nullptr ? 2 : 1; }

    // Loads the conditions whose bits are set (bit 0 condition 1, bit 1 condition 2). Returns 1,
    // or 0 when the period kind is not day, month or year, a condition is missing, or a load is
    // already running. A cancel, or a load that broke off by itself, shows as Continue() == false
    // afterwards; the shown data, the records and the view then stay as they were.
    int LoadGraphData(unsigned nMask, const logdata::stLOADSETTINGS& settings, CLoadProgressView& progress);

    // What a completed load does: fills the records of the conditions in the mask from their data
    // (pData[i], nullptr for a condition not loaded), resets the view to the whole period, sets the
    // period kind and scales the axes.
    void ShowLoadedData(unsigned nMask, const logdata::stCONDDATA* pData0, const logdata::stCONDDATA* pData1);

    // Fills the record of condition i from its loaded data, copying sums and lines into the shown
    // buffers, and stores it in the graph area and the data grid (with their highlighted lines).
    void SetGraphDefs(int nIndex, const logdata::stGRAPHCOND& cond, const logdata::stCONDDATA& data);

    // A click on legend entry: highlights line nLine of condition nIndex in the graph (clearing
    // the other condition's highlight) and shows it in the data grid.
    void SelectLine(int nIndex, int nLine);
    // Forgets the remembered graph and grid lines of a condition (a changed condition).
    void ForgetSelection(int nIndex);

    bool IsBusy() const { return m_bBusy != 0; }
    double Total(int nIndex) const { return m_dTotal[Idx(nIndex)]; }
    double CO2(int nIndex) const { return m_dCO2[Idx(nIndex)]; }
    int LineCount(int nIndex) const { return m_nShownLines[Idx(nIndex)]; }
    const std::string& LineLabel(int nIndex, int nLine) const;
    int DataKind(int nIndex) const { return m_nDataKind[Idx(nIndex)]; }
    int GraphSelect(int nIndex) const { return m_nGraphSel[Idx(nIndex)]; }
    int GridSelect(int nIndex) const { return m_nGridSel[Idx(nIndex)]; }

private:
    static int Idx(int nIndex) { return nIndex == 1 ? 1 : 0; }

    struct stSHOWNLINE {
        std::string strLabel;
        std::array<double, GRAPH_MAX_SLOTS> dValue{};
        std::array<std::uint8_t, GRAPH_MAX_SLOTS> bHas{};
    };

    CGraphArea_Bar& m_area;
    CDataGrid& m_grid;
    int m_nTermType = TERM_DAY;
    const logdata::stGRAPHCOND* m_pCond[2] = {nullptr, nullptr};

    // Shown sums and lines: copies made when a load ends; the records point at these.
    std::array<std::array<double, GRAPH_MAX_SLOTS>, 2> m_dShownSum{};
    std::array<std::array<std::uint8_t, GRAPH_MAX_SLOTS>, 2> m_bShownHas{};
    std::array<std::array<stSHOWNLINE, GRAPH_MAX_LINES>, 2> m_shownLines;
    int m_nShownLines[2] = {0, 0};
    double m_dTotal[2] = {0, 0};
    double m_dCO2[2] = {0, 0};
    int m_nDataKind[2] = {0, 0};
    int m_nGraphSel[2] = {-1, -1};  // remembered highlighted line of the graph
    int m_nGridSel[2] = {-1, -1};   // remembered line of the data grid
    int m_bBusy = 0;
};
