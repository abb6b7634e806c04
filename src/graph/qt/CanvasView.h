#pragma once
#include <QFont>
#include <QObject>
#include <functional>

#include "graph/Canvas.h"

class QWidget;
class CGraphArea_Bar;
class CDataGrid;

// Puts a canvas drawing on a widget: the graph window's static controls 1001 and 1007 become the
// graph area and the data grid. The view paints through the widget's own font (set with
// SetBoldFont) and lives as long as the widget; the control it draws must outlive the widget's
// painting (the graph window owns both and destroys them together).
class CCanvasView : public QObject {
    Q_OBJECT
public:
    using PaintFn = std::function<void(CCanvas&, const stRECT&)>;
    CCanvasView(QWidget* pWidget, PaintFn fnPaint, std::function<void()> fnResized = {});

    // The graph area on a widget: its repaint requests repaint the widget, a resize marks a new
    // client rectangle. The font is the control's font re-made with height 10, weight 100 and the
    // area's face.
    static CCanvasView* AttachGraphArea(QWidget* pWidget, CGraphArea_Bar& area);
    // The data grid on a widget (its rectangles are taken once, at the first paint).
    static CCanvasView* AttachDataGrid(QWidget* pWidget, CDataGrid& grid);

protected:
    bool eventFilter(QObject* pObject, QEvent* pEvent) override;

private:
    QWidget* m_pWidget;
    PaintFn m_fnPaint;
    std::function<void()> m_fnResized;
};

// The font of the graph controls: height nSize (a cell height in pixels), weight 100, the face
// (substituted as for every dialog), set on the widget.
QFont SetGraphFont(QWidget* pWidget, float fSize, const std::string& strFace);
