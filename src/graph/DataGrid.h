#pragma once
#include <functional>
#include <string>
#include <vector>

#include "graph/Canvas.h"
#include "graph/GraphDef.h"

// The table of values under the graph: one row per series with the value of every slot, under a
// header row of slot labels, split into stacked blocks. Draws onto a CCanvas like the graph area.
class CDataGrid {
public:
    CDataGrid(int nTermType, double dRateX, double dRateY);

    // Appends a copy; the new index, -1 when m_nMaxGraph series are already held, 0 without a record.
    int AddGraph(const stGRAPHDEF* pDef);
    bool SetGraph(int nIndex, const stGRAPHDEF& def);
    void SetSelect(int nGraph, int nLine, const std::string& strLabel);

    int GetCount() const { return static_cast<int>(m_arrGraph.size()); }
    const stGRAPHDEF& GetGraph(int nIndex) const { return m_arrGraph.at(static_cast<size_t>(nIndex)); }

    // The rectangles are taken once, at the first draw after the first paint.
    void OnPaint();
    void Draw(CCanvas& canvas, const stRECT& rcItem);

    // The shape of the table for the current records and view (also what Draw uses).
    struct stSHAPE {
        bool bDrawn = false;  // false: a whole day of bars, the control stays empty
        int nColumns = 0;
        int nBlocks = 0;
        int nRows = 0;
        int nCells = 0;
        int nSlotsLaid = 0;  // S: slots laid out
        double dLimit = 0;   // T: values outside [-T, T] show "---"
    };
    stSHAPE CalcShape() const;
    // Text of the header cell j (0 = title) of block b, and of the value cell for series i.
    std::string HeaderText(const stSHAPE& shape, int nSlot, bool bTitle) const;
    std::string TitleText(int nGraph) const;
    std::string CellText(const stSHAPE& shape, int nGraph, int nSlot) const;

    const stRECT& ClientRect() const { return m_rcClient; }
    const stRECT& TableRect() const { return m_rcGraph; }

    // Shown when memory runs out while adding a series (the window shows it in a message box
    // with an OK button); AddGraph then returns -1.
    std::function<void(const std::string&)> m_fnLackOfMemory;

    // Written directly by the graph dialog.
    COLORREF m_crBack = RGB(240, 240, 240);  // the face colour of buttons
    int m_nTermType;
    int m_nStartSlot = 0;
    int m_nDispSlots = 0;
    int m_nInterval = 1;
    int m_nMaxGraph = 2;
    int m_nColumns;
    int m_nBlocks = 0;
    int m_nRows = 0;
    int m_nCells = 0;
    double m_dRateX;
    double m_dRateY;
    int m_nOffsetX = 0;
    int m_nOffsetY = 0;
    float m_fFontSize = 10;
    std::string m_strFontName = "MS UI Gothic";

private:
    void DrawGrid(CCanvas& canvas);
    // The line shown for a series: its own arrays, or those of its selected line; false when none.
    bool ShownArrays(const stGRAPHDEF& def, const double*& pdValue, const std::uint8_t*& pbValid) const;

    std::vector<stGRAPHDEF> m_arrGraph;
    stRECT m_rcClient;
    stRECT m_rcGraph;
    bool m_bFirstPaint = false;
    bool m_bNewRect = false;
};
