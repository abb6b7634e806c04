#include "ui/ThemeHelperST.h"

namespace {
bool g_bThemeActive = true;
}  // namespace

bool CThemeHelperST::IsAppThemed() const {
    return m_nThemed < 0 ? g_bThemeActive : m_nThemed == 1;
}
void CThemeHelperST::SetThemeActive(bool bActive) {
    g_bThemeActive = bActive;
}
bool CThemeHelperST::ThemeActive() {
    return g_bThemeActive;
}
