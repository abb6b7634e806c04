#pragma once
#include <QFont>

#include "graph/Canvas.h"

class QPainter;

// The canvas on a QPainter: the graph area and the data grid on screen, in print and in images.
// Lines and fills are drawn without smoothing, as pixels; only the wide round pens of lines are
// smoothed.
class CQtCanvas : public CCanvas {
public:
    CQtCanvas(QPainter& painter, const QFont& font);

    stSIZE TextExtent(const std::string& strText) override;
    void Text(int x, int y, const std::string& strText) override;
    void TextInRect(const stRECT& rc, const std::string& strText) override;
    void Line(int x1, int y1, int x2, int y2, COLORREF cr, bool bDotted) override;
    void WideLine(int x1, int y1, int x2, int y2, int nWidth, COLORREF cr) override;
    void FillRect(const stRECT& rc, COLORREF cr) override;
    void FrameRect(const stRECT& rc, COLORREF cr) override;

private:
    QPainter& m_painter;
    QFont m_font;
};
