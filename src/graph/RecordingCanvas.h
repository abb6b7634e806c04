#pragma once
#include <string>
#include <vector>

#include "graph/Canvas.h"

// One drawing call as the recording canvas kept it.
struct stCANVASOP {
    enum Kind { TEXT, TEXT_IN_RECT, LINE, DOTTED_LINE, WIDE_LINE, FILL, FRAME } eKind;
    int x1 = 0, y1 = 0, x2 = 0, y2 = 0;  // line ends, text origin, or rectangle corners
    int nWidth = 1;
    COLORREF crColor = 0;
    std::string strText;
    stRECT Rect() const { return {x1, y1, x2, y2}; }
};

// A canvas that draws nothing and remembers every call, for tests. Text is measured with a
// fixed cell per character so that positions can be worked out by hand.
class CRecordingCanvas : public CCanvas {
public:
    explicit CRecordingCanvas(int nCharWidth = 6, int nTextHeight = 12)
        : m_nCharWidth(nCharWidth), m_nTextHeight(nTextHeight) {}

    stSIZE TextExtent(const std::string& strText) override;
    void Text(int x, int y, const std::string& strText) override;
    void TextInRect(const stRECT& rc, const std::string& strText) override;
    void Line(int x1, int y1, int x2, int y2, COLORREF cr, bool bDotted) override;
    void WideLine(int x1, int y1, int x2, int y2, int nWidth, COLORREF cr) override;
    void FillRect(const stRECT& rc, COLORREF cr) override;
    void FrameRect(const stRECT& rc, COLORREF cr) override;

    const std::vector<stCANVASOP>& Ops() const { return m_ops; }
    std::vector<stCANVASOP> OpsOf(stCANVASOP::Kind eKind) const;
    // Texts drawn with Text() or TextInRect(), in drawing order.
    std::vector<std::string> Texts() const;
    // The first text op with exactly this text, or nullptr.
    const stCANVASOP* FindText(const std::string& strText) const;
    void Clear() { m_ops.clear(); }

private:
    int m_nCharWidth;
    int m_nTextHeight;
    std::vector<stCANVASOP> m_ops;
};
