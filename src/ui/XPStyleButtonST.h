#pragma once
#include "ui/ButtonST.h"

class CThemeHelperST;

// The program's picture button: a CButtonST whose face is drawn by the Qt style
// (the theme's push-button look: disabled, pressed, hot, default or normal)
// when its dialog's theme helper says a theme is active, and with the plain
// face and 3D border otherwise (also when no helper is connected).
//
//   auto* pButton = Item<CXPStyleButtonST>(1003);   // template flag PICTURE
//   pButton->SetThemeHelper(&m_theme);
//   pButton->SetIcon(172);
//   pButton->SetAlign(CButtonST::ST_ALIGN_VERT);
class CXPStyleButtonST : public CButtonST {
    Q_OBJECT
public:
    explicit CXPStyleButtonST(QWidget* pParent = nullptr);
    void SetThemeHelper(const CThemeHelperST* pTheme);
    const CThemeHelperST* ThemeHelper() const { return m_pTheme; }
    // Kept for the program's settings: border mode 3, no toolbar look.
    void SetBorderMode(int nMode) { m_nBorder = nMode; }
    void DrawAsToolbar(bool bToolbar) { m_bToolbar = bToolbar; }
    bool IsThemed() const;

protected:
    void DrawBackground(QPainter& painter, const stDRAWSTATE& state) override;

private:
    const CThemeHelperST* m_pTheme = nullptr;
    int m_nBorder = 3;
    bool m_bToolbar = false;
};
