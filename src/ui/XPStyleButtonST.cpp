#include "ui/XPStyleButtonST.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOptionButton>

#include "ui/ThemeHelperST.h"

CXPStyleButtonST::CXPStyleButtonST(QWidget* pParent) : CButtonST(pParent) {}

void CXPStyleButtonST::SetThemeHelper(const CThemeHelperST* pTheme) {
    m_pTheme = pTheme;
    update();
}

bool CXPStyleButtonST::IsThemed() const {
    return m_pTheme && m_pTheme->IsAppThemed();
}

void CXPStyleButtonST::DrawBackground(QPainter& painter, const stDRAWSTATE& state) {
    if (!IsThemed()) {
        DrawPlainBackground(painter, state);
        return;
    }
    // The parent's background shows through the face's rounded corners.
    QStyleOptionButton option;
    option.initFrom(this);
    option.rect = rect();
    option.state &= ~(QStyle::State_MouseOver | QStyle::State_HasFocus | QStyle::State_Sunken | QStyle::State_Raised);
    if (state.bDisabled) {
        option.state &= ~QStyle::State_Enabled;
    } else if (state.bPressed) {
        option.state |= QStyle::State_Sunken;
    } else if (state.bHot) {
        option.state |= QStyle::State_MouseOver | QStyle::State_Raised;
    } else {
        option.state |= QStyle::State_Raised;
        if (state.bDefault) option.features |= QStyleOptionButton::DefaultButton;
    }
    style()->drawControl(QStyle::CE_PushButtonBevel, &option, &painter, this);
}
