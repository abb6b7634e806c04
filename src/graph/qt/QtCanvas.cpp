#include "graph/qt/QtCanvas.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPen>

namespace {

QColor ToColor(COLORREF cr) {
    return QColor(GetRValue(cr), GetGValue(cr), GetBValue(cr));
}

QString ToText(const std::string& strText) {
    return QString::fromUtf8(strText.data(), static_cast<qsizetype>(strText.size()));
}

}  // namespace

CQtCanvas::CQtCanvas(QPainter& painter, const QFont& font) : m_painter(painter), m_font(font) {
    m_painter.setFont(m_font);
    m_painter.setRenderHint(QPainter::Antialiasing, false);
    m_painter.setRenderHint(QPainter::TextAntialiasing, true);
}

stSIZE CQtCanvas::TextExtent(const std::string& strText) {
    QFontMetrics metrics(m_font);
    return {metrics.horizontalAdvance(ToText(strText)), metrics.height()};
}

void CQtCanvas::Text(int x, int y, const std::string& strText) {
    QFontMetrics metrics(m_font);
    m_painter.setPen(Qt::black);
    m_painter.drawText(QPoint(x, y + metrics.ascent()), ToText(strText));
}

void CQtCanvas::TextInRect(const stRECT& rc, const std::string& strText) {
    if (rc.IsEmpty()) return;
    m_painter.save();
    const QRect rect(rc.left, rc.top, rc.Width(), rc.Height());
    m_painter.setClipRect(rect);
    m_painter.setPen(Qt::black);
    m_painter.drawText(rect, Qt::AlignCenter | Qt::TextSingleLine, ToText(strText));
    m_painter.restore();
}

void CQtCanvas::Line(int x1, int y1, int x2, int y2, COLORREF cr, bool bDotted) {
    QPen pen(ToColor(cr));
    pen.setWidth(0);  // one pixel, whatever the transformation
    if (bDotted) pen.setDashPattern({1.0, 1.0});
    m_painter.setPen(pen);
    // The end point itself is not drawn.
    if (y1 == y2 && x1 != x2) {
        x2 += x2 > x1 ? -1 : 1;
    } else if (x1 == x2 && y1 != y2) {
        y2 += y2 > y1 ? -1 : 1;
    } else if (x1 == x2 && y1 == y2) {
        return;
    }
    m_painter.drawLine(x1, y1, x2, y2);
}

void CQtCanvas::WideLine(int x1, int y1, int x2, int y2, int nWidth, COLORREF cr) {
    m_painter.save();
    m_painter.setRenderHint(QPainter::Antialiasing, true);
    if (x1 == x2 && y1 == y2) {
        // A zero-length segment of a round pen: a dot of the pen's width.
        m_painter.setPen(Qt::NoPen);
        m_painter.setBrush(ToColor(cr));
        const double r = nWidth / 2.0;
        m_painter.drawEllipse(QPointF(x1 + 0.5, y1 + 0.5), r, r);
    } else {
        QPen pen(ToColor(cr), nWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
        m_painter.setPen(pen);
        m_painter.drawLine(QPointF(x1 + 0.5, y1 + 0.5), QPointF(x2 + 0.5, y2 + 0.5));
    }
    m_painter.restore();
}

void CQtCanvas::FillRect(const stRECT& rc, COLORREF cr) {
    if (rc.IsEmpty()) return;
    m_painter.fillRect(QRect(rc.left, rc.top, rc.Width(), rc.Height()), ToColor(cr));
}

void CQtCanvas::FrameRect(const stRECT& rc, COLORREF cr) {
    if (rc.IsEmpty()) return;
    QPen pen(ToColor(cr));
    pen.setWidth(0);
    m_painter.setPen(pen);
    m_painter.setBrush(Qt::NoBrush);
    // A cosmetic pen outlines one pixel beyond the size: keep the outline inside the rectangle.
    m_painter.drawRect(QRect(rc.left, rc.top, rc.Width() - 1, rc.Height() - 1));
}
