#include "graph/qt/CanvasView.h"

#include <QEvent>
#include <QPainter>
#include <QPointer>
#include <QWidget>

#include "graph/DataGrid.h"
#include "graph/GraphArea_Bar.h"
#include "graph/qt/QtCanvas.h"
#include "ui/Fonts.h"

CCanvasView::CCanvasView(QWidget* pWidget, PaintFn fnPaint, std::function<void()> fnResized)
    : QObject(pWidget), m_pWidget(pWidget), m_fnPaint(std::move(fnPaint)), m_fnResized(std::move(fnResized)) {
    m_pWidget->installEventFilter(this);
    m_pWidget->setAttribute(Qt::WA_OpaquePaintEvent);
}

bool CCanvasView::eventFilter(QObject* pObject, QEvent* pEvent) {
    if (pObject == m_pWidget) {
        if (pEvent->type() == QEvent::Paint) {
            QPainter painter(m_pWidget);
            CQtCanvas canvas(painter, m_pWidget->font());
            const QRect rc = m_pWidget->rect();
            m_fnPaint(canvas, {rc.left(), rc.top(), rc.left() + rc.width(), rc.top() + rc.height()});
            return true;
        }
        if (pEvent->type() == QEvent::Resize && m_fnResized) m_fnResized();
    }
    return QObject::eventFilter(pObject, pEvent);
}

QFont SetGraphFont(QWidget* pWidget, float fSize, const std::string& strFace) {
    QFont font;
    SetBoldFont(pWidget, &font, static_cast<int>(fSize), QString::fromStdString(strFace), 100);
    return font;
}

CCanvasView* CCanvasView::AttachGraphArea(QWidget* pWidget, CGraphArea_Bar& area) {
    SetGraphFont(pWidget, area.m_fFontSize, area.m_strFontName);
    area.m_fnRedraw = [pTarget = QPointer<QWidget>(pWidget)] {
        if (pTarget) pTarget->repaint();
    };
    return new CCanvasView(
        pWidget,
        [&area](CCanvas& canvas, const stRECT& rc) {
            area.OnPaint();
            area.Draw(canvas, rc);
        },
        [&area] { area.MarkNewRect(); });
}

CCanvasView* CCanvasView::AttachDataGrid(QWidget* pWidget, CDataGrid& grid) {
    SetGraphFont(pWidget, grid.m_fFontSize, grid.m_strFontName);
    return new CCanvasView(pWidget, [&grid](CCanvas& canvas, const stRECT& rc) {
        grid.OnPaint();
        grid.Draw(canvas, rc);
    });
}
