#include "ui/ButtonST.h"

#include <QEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QTextLayout>

#include <algorithm>
#include <cmath>

#include "ui/IconResources.h"


namespace {

// Draws a word-wrapped caption centred in a rectangle, "&x" underlining x.
// Lines are stepped at 1.2 times the font size at most: the substitute faces
// of the interface fonts have far taller lines than the faces they stand in
// for, and two lines of a large caption would not fit the button otherwise.
void DrawCaptionText(QPainter& painter, const QRect& rc, const QString& strCaption) {
    QString strPlain;
    int nMnemonic = -1;
    for (int i = 0; i < strCaption.size(); ++i) {
        if (strCaption[i] == QLatin1Char('&') && i + 1 < strCaption.size()) {
            ++i;
            if (strCaption[i] != QLatin1Char('&') && nMnemonic < 0) nMnemonic = static_cast<int>(strPlain.size());
        }
        strPlain += strCaption[i];
    }
    const QFont font = painter.font();
    const QFontMetricsF fm(font, painter.device());
    const int nDpi = painter.device() ? painter.device()->logicalDpiY() : 96;
    const qreal dEm = std::max<qreal>(1.0, font.pixelSize() > 0 ? font.pixelSize() : font.pointSizeF() * nDpi / 72.0);
    const qreal dStep = std::min(fm.lineSpacing(), std::ceil(dEm * 1.2));

    QTextLayout layout(strPlain, font, painter.device());
    QTextOption option(Qt::AlignHCenter);
    option.setWrapMode(QTextOption::WordWrap);
    layout.setTextOption(option);
    layout.beginLayout();
    int nLines = 0;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(std::max(rc.width(), 1));
        ++nLines;
    }
    layout.endLayout();
    const qreal dTop = rc.top() + (rc.height() - nLines * dStep) / 2;
    for (int i = 0; i < nLines; ++i) {
        QTextLine line = layout.lineAt(i);
        // the glyphs' visible height is about ascent - (ascent + descent - em) / 2
        const qreal dBaseline = dTop + i * dStep + (dStep + dEm) / 2 - fm.descent() * 0.5;
        line.setPosition(QPointF(0, dBaseline - line.ascent()));
    }
    QList<QTextLayout::FormatRange> formats;
    if (nMnemonic >= 0) {
        QTextLayout::FormatRange range;
        range.start = nMnemonic;
        range.length = 1;
        range.format.setFontUnderline(true);
        formats.append(range);
    }
    layout.draw(&painter, QPointF(rc.left(), 0), formats);
}

}  // namespace

CButtonST::CButtonST(QWidget* pParent) : QPushButton(pParent) {
    setMouseTracking(true);
    setAttribute(Qt::WA_Hover, true);
}

void CButtonST::SetIcon(const QIcon& icon, QSize size) {
    m_icon = icon;
    m_sizeIcon = size.isValid() && !size.isEmpty() ? size : QSize(32, 32);
    update();
}

void CButtonST::SetIcon(int nIconId) {
    SetIcon(LoadIconRes(nIconId), IconResSize(nIconId));
}

void CButtonST::SetAlign(int nAlign) {
    if (nAlign < ST_ALIGN_HORIZ || nAlign > ST_ALIGN_HORIZ_RIGHT) return;
    m_nAlign = nAlign;
    update();
}

void CButtonST::SetColor(int nIndex, const QColor& color) {
    if (nIndex < 0 || nIndex >= BTNST_MAX_COLORS) return;
    m_colors[nIndex] = color;
    update();
}

QColor CButtonST::GetColor(int nIndex) const {
    if (nIndex < 0 || nIndex >= BTNST_MAX_COLORS) return QColor();
    if (m_colors[nIndex]) return *m_colors[nIndex];
    const bool bBackground = nIndex % 2 == 0;
    return palette().color(bBackground ? QPalette::Button : QPalette::ButtonText);
}

QRect CButtonST::IconRect() const {
    if (m_icon.isNull()) return QRect();
    const QRect rc = rect();
    const int cx = m_sizeIcon.width(), cy = m_sizeIcon.height();
    if (text().isEmpty()) return QRect((rc.width() - cx) / 2, (rc.height() - cy) / 2, cx, cy);
    switch (m_nAlign) {
        case ST_ALIGN_VERT:
            return QRect((rc.width() - cx) / 2, m_ptMargin.y(), cx, cy);
        case ST_ALIGN_HORIZ_RIGHT:
            return QRect(rc.width() - m_ptMargin.x() - cx, (rc.height() - cy) / 2, cx, cy);
        default:
            return QRect(m_ptMargin.x(), (rc.height() - cy) / 2, cx, cy);
    }
}

QRect CButtonST::CaptionRect() const {
    QRect rc = rect().adjusted(m_ptMargin.x(), m_ptMargin.y(), -m_ptMargin.x(), -m_ptMargin.y());
    const QRect rcIcon = IconRect();
    if (rcIcon.isNull()) return rc;
    switch (m_nAlign) {
        case ST_ALIGN_VERT:
            rc.setTop(rcIcon.bottom() + 1 + m_ptMargin.y());
            break;
        case ST_ALIGN_HORIZ_RIGHT:
            rc.setRight(rcIcon.left() - 1 - m_ptMargin.x());
            break;
        default:
            rc.setLeft(rcIcon.right() + 1 + m_ptMargin.x());
            break;
    }
    return rc;
}

CButtonST::stDRAWSTATE CButtonST::DrawState() const {
    return stDRAWSTATE{isDown(), hasFocus(), !isEnabled(), m_bMouseOnButton, isDefault()};
}

void CButtonST::DrawPlainBackground(QPainter& painter, const stDRAWSTATE& state) {
    const QRect rc = rect();
    int nBack = BTNST_COLOR_BK_OUT;
    if (state.bHot || state.bPressed)
        nBack = BTNST_COLOR_BK_IN;
    else if (state.bFocused)
        nBack = BTNST_COLOR_BK_FOCUS;
    painter.fillRect(rc, GetColor(nBack));

    const QPalette& pal = palette();
    const int l = rc.left(), t = rc.top(), r = rc.right(), b = rc.bottom();
    if (state.bPressed) {
        painter.setPen(pal.color(QPalette::Dark));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(rc.adjusted(0, 0, -1, -1));
        return;
    }
    // Raised: light top and left, dark bottom and right, two lines each.
    painter.setPen(pal.color(QPalette::Light));
    painter.drawLine(l, t, r - 1, t);
    painter.drawLine(l, t, l, b - 1);
    painter.setPen(pal.color(QPalette::Shadow));
    painter.drawLine(l, b, r, b);
    painter.drawLine(r, t, r, b);
    painter.setPen(pal.color(QPalette::Midlight));
    painter.drawLine(l + 1, t + 1, r - 2, t + 1);
    painter.drawLine(l + 1, t + 1, l + 1, b - 2);
    painter.setPen(pal.color(QPalette::Dark));
    painter.drawLine(l + 1, b - 1, r - 1, b - 1);
    painter.drawLine(r - 1, t + 1, r - 1, b - 1);
}

void CButtonST::DrawBackground(QPainter& painter, const stDRAWSTATE& state) {
    DrawPlainBackground(painter, state);
}

void CButtonST::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const stDRAWSTATE state = DrawState();
    DrawBackground(painter, state);

    const QPoint ptShift = state.bPressed ? m_ptPressedOffset : QPoint(0, 0);
    const QRect rcIcon = IconRect();
    if (!rcIcon.isNull()) {
        const QPixmap pixmap = m_icon.pixmap(m_sizeIcon, state.bDisabled ? QIcon::Disabled : QIcon::Normal);
        painter.drawPixmap(rcIcon.translated(ptShift), pixmap);
    }

    const QString strCaption = text();
    if (!strCaption.isEmpty()) {
        const QRect rcCaption = CaptionRect().translated(ptShift);
        painter.setFont(font());
        if (state.bDisabled) {
            painter.setPen(palette().color(QPalette::Light));
            DrawCaptionText(painter, rcCaption.translated(1, 1), strCaption);
            painter.setPen(palette().color(QPalette::Dark));
            DrawCaptionText(painter, rcCaption, strCaption);
        } else {
            int nFore = BTNST_COLOR_FG_OUT;
            if (state.bHot || state.bPressed)
                nFore = BTNST_COLOR_FG_IN;
            else if (state.bFocused)
                nFore = BTNST_COLOR_FG_FOCUS;
            painter.setPen(GetColor(nFore));
            DrawCaptionText(painter, rcCaption, strCaption);
        }
    }

    if (state.bFocused) {
        QPen pen(GetColor(BTNST_COLOR_FG_FOCUS));
        pen.setStyle(Qt::DotLine);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(rect().adjusted(3, 3, -4, -4));
    }
}

void CButtonST::SetMouseOver(bool bOver) {
    if (m_bMouseOnButton == bOver) return;
    m_bMouseOnButton = bOver;
    update();
}

void CButtonST::mouseMoveEvent(QMouseEvent* pEvent) {
    if (window()->isActiveWindow() && rect().contains(pEvent->position().toPoint()))
        SetMouseOver(true);
    else if (!isDown())
        SetMouseOver(false);
    QPushButton::mouseMoveEvent(pEvent);
}

void CButtonST::leaveEvent(QEvent* pEvent) {
    SetMouseOver(false);
    QPushButton::leaveEvent(pEvent);
}

void CButtonST::changeEvent(QEvent* pEvent) {
    if (pEvent->type() == QEvent::ActivationChange && !window()->isActiveWindow()) SetMouseOver(false);
    if (pEvent->type() == QEvent::EnabledChange && !isEnabled()) {
        SetMouseOver(false);
        if (hasFocus()) focusNextChild();
    }
    QPushButton::changeEvent(pEvent);
}
