#pragma once
#include <functional>
#include <string>
#include <vector>

#include "graph/Canvas.h"
#include "graph/GraphDef.h"

// The graph of the graph dialog: one or two series on a common axis of time slots, each as bars
// or lines, with a value scale, slot labels and an axis caption. It only draws; a Qt view
// (GraphView.h) attaches it to a widget, and the image renderer draws it into a picture.
class CGraphArea_Bar {
public:
    CGraphArea_Bar(int nTermType, double dRateX, double dRateY);

    // Appends a copy; the new index, -1 when m_nMaxGraph series are already held, 0 without a record.
    int AddGraph(const stGRAPHDEF* pDef);
    // Replaces the series at the index; with bRedraw the view is repainted at once.
    bool SetGraph(int nIndex, const stGRAPHDEF& def, bool bRedraw);
    // Highlights line nLine of a multi-line series (-1 for none), without repainting.
    void SetSelect(int nGraph, int nLine, const std::string& strLabel);
    // Widens dMax/dMin by the valid values of a series (or of one of its lines) over the visible slots.
    void GetMinMax(int nGraph, double& dMax, double& dMin, int nLine) const;
    // Value axis of every series after a load; nDataKind per condition (0 power, 1 count, 2 digital).
    void CalcGraphScale(const std::vector<int>& nDataKinds);

    int GetCount() const { return static_cast<int>(m_arrGraph.size()); }
    const stGRAPHDEF& GetGraph(int nIndex) const { return m_arrGraph.at(static_cast<size_t>(nIndex)); }
    stGRAPHDEF& GraphAt(int nIndex) { return m_arrGraph.at(static_cast<size_t>(nIndex)); }

    // Paint handling. The first paint marks a new client rectangle pending; a pending rectangle
    // is taken from the item rectangle of the next draw. MarkNewRect() is called after the
    // control has been moved or resized.
    void OnPaint() {
        if (!m_bPainted) m_bPainted = m_bNewRect = true;
    }
    void MarkNewRect() { m_bNewRect = true; }
    bool IsNewRectPending() const { return m_bNewRect; }
    void Draw(CCanvas& canvas, const stRECT& rcItem);

    // Pure geometry, for the drawing and for tests.
    static stRECT CalcPlotRect(const stRECT& rcClient, double dRateX, double dRateY, int nOffsetX, int nOffsetY);
    // Slot columns and the narrowed (or widened) plot; updates m_nSlots like the frame drawing.
    struct stLAYOUT {
        stRECT rcPlot;
        int nSlots = 0;
        int nSlotWidth = 0;
    };
    stLAYOUT CalcLayout();
    // The bar width ratio of the current view.
    double BarRatio() const;

    const stRECT& ClientRect() const { return m_rcClient; }
    const stRECT& PlotRect() const { return m_rcGraph; }
    void SetClientRect(const stRECT& rc);

    // Repaint request of SetGraph(..., true); set by the view that shows the control.
    std::function<void()> m_fnRedraw;

    // Shown when memory runs out while adding a series (the window shows it in a message box
    // with an OK button); AddGraph then returns -1.
    std::function<void(const std::string&)> m_fnLackOfMemory;

    // Written directly by the graph dialog, which then repaints the control.
    COLORREF m_crBack = RGB(255, 255, 255);
    int m_nTermType;
    int m_nStartSlot = 0;
    int m_nDispSlots = 0;
    int m_nInterval = 1;
    int m_nMaxGraph = 2;
    int m_nSlots;
    int m_nDivY = 4;
    double m_dRateX;
    double m_dRateY;
    int m_nOffsetX = 12;
    int m_nOffsetY = 0;
    float m_fFontSize = 10;
    std::string m_strFontName = "MS UI Gothic";

private:
    void DrawFrame(CCanvas& canvas, const stLAYOUT& layout);
    void DrawScaleY(CCanvas& canvas, const stLAYOUT& layout);
    void DrawScaleX(CCanvas& canvas, const stLAYOUT& layout);
    void DrawGraph(CCanvas& canvas, const stLAYOUT& layout);
    void DrawLine(CCanvas& canvas, const stLAYOUT& layout, const stGRAPHDEF& def, int nIndex, int nBars,
                  const double* pdValue, const std::uint8_t* pbValid, COLORREF cr, bool bHighlight);
    // First and one-past-last slot drawn for a series.
    void VisibleSlots(const stGRAPHDEF& def, int& nFirst, int& nEnd) const;

    std::vector<stGRAPHDEF> m_arrGraph;
    stRECT m_rcClient;
    stRECT m_rcGraph;
    bool m_bPainted = false;
    bool m_bNewRect = false;
};
