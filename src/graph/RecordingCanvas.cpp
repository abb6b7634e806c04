#include "graph/RecordingCanvas.h"

stSIZE CRecordingCanvas::TextExtent(const std::string& strText) {
    // Count code points, not bytes, so that non-English labels measure sensibly.
    int nChars = 0;
    for (unsigned char c : strText) {
        if ((c & 0xC0) != 0x80) ++nChars;
    }
    return {nChars * m_nCharWidth, m_nTextHeight};
}

void CRecordingCanvas::Text(int x, int y, const std::string& strText) {
    m_ops.push_back({stCANVASOP::TEXT, x, y, x, y, 1, 0, strText});
}

void CRecordingCanvas::TextInRect(const stRECT& rc, const std::string& strText) {
    m_ops.push_back({stCANVASOP::TEXT_IN_RECT, rc.left, rc.top, rc.right, rc.bottom, 1, 0, strText});
}

void CRecordingCanvas::Line(int x1, int y1, int x2, int y2, COLORREF cr, bool bDotted) {
    m_ops.push_back({bDotted ? stCANVASOP::DOTTED_LINE : stCANVASOP::LINE, x1, y1, x2, y2, 1, cr, {}});
}

void CRecordingCanvas::WideLine(int x1, int y1, int x2, int y2, int nWidth, COLORREF cr) {
    m_ops.push_back({stCANVASOP::WIDE_LINE, x1, y1, x2, y2, nWidth, cr, {}});
}

void CRecordingCanvas::FillRect(const stRECT& rc, COLORREF cr) {
    m_ops.push_back({stCANVASOP::FILL, rc.left, rc.top, rc.right, rc.bottom, 1, cr, {}});
}

void CRecordingCanvas::FrameRect(const stRECT& rc, COLORREF cr) {
    m_ops.push_back({stCANVASOP::FRAME, rc.left, rc.top, rc.right, rc.bottom, 1, cr, {}});
}

std::vector<stCANVASOP> CRecordingCanvas::OpsOf(stCANVASOP::Kind eKind) const {
    std::vector<stCANVASOP> result;
    for (const auto& op : m_ops) {
        if (op.eKind == eKind) result.push_back(op);
    }
    return result;
}

std::vector<std::string> CRecordingCanvas::Texts() const {
    std::vector<std::string> result;
    for (const auto& op : m_ops) {
        if (op.eKind == stCANVASOP::TEXT || op.eKind == stCANVASOP::TEXT_IN_RECT) result.push_back(op.strText);
    }
    return result;
}

const stCANVASOP* CRecordingCanvas::FindText(const std::string& strText) const {
    for (const auto& op : m_ops) {
        if ((op.eKind == stCANVASOP::TEXT || op.eKind == stCANVASOP::TEXT_IN_RECT) && op.strText == strText) return &op;
    }
    return nullptr;
}
