#pragma once
#include "ui/DialogBase.h"

class QScrollBar;

// The base of the big windows (main menu, graph dialog): when the window is
// made smaller than its content, scroll bars appear and the controls scroll.
//
// OnInitDialog (after the base's) takes the window size as the content size and
// hides both bars. On every resize, per direction: a window smaller than the
// content activates the bar with the range 0..(content - window + 10), keeping
// the position's relative place; otherwise the bar hides and the position goes
// back to 0. Bar arrows move 1 pixel, the page areas 10, dragging the thumb
// scrolls at once. The mouse wheel scrolls 3 pixels per step (vertically when
// that bar is active, else horizontally), the arrow keys 3 pixels in the
// direction of an active bar. The controls move by old minus new position.
class CScrollDialog : public CDialogBase {
    Q_OBJECT
public:
    explicit CScrollDialog(int nTemplateId, QWidget* pParent = nullptr);
    ~CScrollDialog() override;

    QSize ContentSize() const { return QSize(m_nContentWidth, m_nContentHeight); }
    bool IsHorzActive() const { return m_bHorzActive; }
    bool IsVertActive() const { return m_bVertActive; }
    int HorzMax() const;
    int VertMax() const;
    int HorzPos() const;
    int VertPos() const;
    QScrollBar* HorzBar() const { return m_pHorz; }
    QScrollBar* VertBar() const { return m_pVert; }

    // Scrolls by a number of pixels (clamped), as the keys and the wheel do.
    void ScrollBy(Qt::Orientation orientation, int nDelta);

protected:
    bool OnInitDialog() override;
    void resizeEvent(QResizeEvent* pEvent) override;
    void wheelEvent(QWheelEvent* pEvent) override;
    void keyPressEvent(QKeyEvent* pEvent) override;
    // Arrow keys pressed on a control of this window (a focused button takes them for itself)
    // still scroll, once, after the control and the dialog have handled them.
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override;

private:
    int m_nContentWidth = 0;
    int m_nContentHeight = 0;
    bool m_bHorzActive = false;
    bool m_bVertActive = false;
    bool m_bInitDone = false;
    QScrollBar* m_pHorz = nullptr;
    QScrollBar* m_pVert = nullptr;
    int m_nHorzShown = 0;  // the position the client is scrolled to
    int m_nVertShown = 0;
    bool m_bDeliveringKey = false;  // the filter is handing an arrow key to a control
    bool m_bKeyScrolled = false;    // keyPressEvent of the dialog has seen that key

    // Scrolls 3 pixels for an arrow key in the direction of an active bar.
    void ScrollForKey(int nKey);

    void OnSize(int cx, int cy);
    void UpdateDirection(QScrollBar* pBar, bool& bActive, int nContent, int nClient);
    void ScrollTo(Qt::Orientation orientation, int nPos);
    void PlaceBars();
};
