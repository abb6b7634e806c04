#pragma once
#include <QColor>
#include <QIcon>
#include <QPoint>
#include <QPushButton>
#include <optional>

// An owner-drawn push button with an icon and a word-wrapped, centred caption.
// It draws a flat face with a 3D border (raised; a shadow frame while pressed),
// the icon left of, above or right of the caption (or centred without a
// caption), moves icon and caption by the pressed offset while pressed, greys
// the icon and embosses the caption when disabled, follows the mouse for a hot
// look and draws a focus rectangle 3 pixels inside its edge. Clicks, default
// button and keyboard work as for any QPushButton; a double click counts as a
// second click.
class CButtonST : public QPushButton {
    Q_OBJECT
public:
    enum { ST_ALIGN_HORIZ = 0, ST_ALIGN_VERT = 1, ST_ALIGN_HORIZ_RIGHT = 2 };
    enum {
        BTNST_COLOR_BK_IN = 0,  // background while hot or pressed
        BTNST_COLOR_FG_IN,
        BTNST_COLOR_BK_OUT,  // background in the normal state
        BTNST_COLOR_FG_OUT,
        BTNST_COLOR_BK_FOCUS,  // background while focused
        BTNST_COLOR_FG_FOCUS,
        BTNST_MAX_COLORS
    };

    explicit CButtonST(QWidget* pParent = nullptr);

    // Replaces the icon and redraws. An empty size takes 32 x 32.
    void SetIcon(const QIcon& icon, QSize size = QSize());
    // The icon of that id of the program's resources at its own size (see LoadIconRes).
    void SetIcon(int nIconId);
    const QIcon& Icon() const { return m_icon; }
    QSize IconSize() const { return m_sizeIcon; }
    // 0 icon left of the caption, 1 above it, 2 right of it; other values are ignored.
    void SetAlign(int nAlign);
    int Align() const { return m_nAlign; }
    void SetMargins(QPoint ptMargin) { m_ptMargin = ptMargin; }
    void SetPressedOffset(QPoint ptOffset) { m_ptPressedOffset = ptOffset; }
    // Colours of the states; unset ones follow the palette (button face and text).
    void SetColor(int nIndex, const QColor& color);
    QColor GetColor(int nIndex) const;
    bool IsMouseOver() const { return m_bMouseOnButton; }

    // Where the icon and the caption go in a button of that size (not pressed).
    QRect IconRect() const;
    QRect CaptionRect() const;

protected:
    struct stDRAWSTATE {
        bool bPressed;
        bool bFocused;
        bool bDisabled;
        bool bHot;
        bool bDefault;
    };
    stDRAWSTATE DrawState() const;
    virtual void DrawBackground(QPainter& painter, const stDRAWSTATE& state);
    void DrawPlainBackground(QPainter& painter, const stDRAWSTATE& state);

    void paintEvent(QPaintEvent* pEvent) override;
    void mouseMoveEvent(QMouseEvent* pEvent) override;
    void leaveEvent(QEvent* pEvent) override;
    void changeEvent(QEvent* pEvent) override;

private:
    QIcon m_icon;
    QSize m_sizeIcon;
    int m_nAlign = ST_ALIGN_HORIZ;
    QPoint m_ptMargin{3, 3};
    QPoint m_ptPressedOffset{1, 1};
    std::optional<QColor> m_colors[BTNST_MAX_COLORS];
    bool m_bMouseOnButton = false;

    void SetMouseOver(bool bOver);
};
