#pragma once
#include <string>

#include "graph/GraphDef.h"

// A rectangle in pixels; right and bottom are exclusive, as the drawing code measures them.
struct stRECT {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool IsEmpty() const { return right <= left || bottom <= top; }
    bool operator==(const stRECT&) const = default;
};

struct stSIZE {
    int cx = 0;
    int cy = 0;
};

// The drawing surface of the graph area and the data grid. A QPainter adapter renders it on
// screen and into images; a recording canvas lets tests see what was drawn.
class CCanvas {
public:
    virtual ~CCanvas() = default;
    // Size of a text on one line in the current font.
    virtual stSIZE TextExtent(const std::string& strText) = 0;
    // Black text, transparent background, top-left corner at (x, y).
    virtual void Text(int x, int y, const std::string& strText) = 0;
    // Black text on one line, centred horizontally and vertically in the rectangle and clipped to it.
    virtual void TextInRect(const stRECT& rc, const std::string& strText) = 0;
    // A 1-pixel line from (x1, y1) up to, not including, (x2, y2); solid or dotted.
    virtual void Line(int x1, int y1, int x2, int y2, COLORREF cr, bool bDotted) = 0;
    // A line of a wide round-capped pen; a zero-length segment leaves a round dot.
    virtual void WideLine(int x1, int y1, int x2, int y2, int nWidth, COLORREF cr) = 0;
    // Fills the rectangle (right and bottom exclusive).
    virtual void FillRect(const stRECT& rc, COLORREF cr) = 0;
    // A 1-pixel outline just inside the rectangle.
    virtual void FrameRect(const stRECT& rc, COLORREF cr) = 0;
};
