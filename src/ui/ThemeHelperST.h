#pragma once

// Tells the picture buttons of a dialog whether a desktop theme is active.
// With a theme the Qt style draws the button face; without one the buttons draw
// their own flat face and 3D border. The theme is active unless switched off
// for the whole program (SetThemeActive(false)) or for this helper.
class CThemeHelperST {
public:
    CThemeHelperST() = default;
    bool IsAppThemed() const;
    // This helper only: force a theme on or off (tests, screenshots).
    void SetThemed(bool bThemed) { m_nThemed = bThemed ? 1 : 0; }
    // For every helper that was not forced.
    static void SetThemeActive(bool bActive);
    static bool ThemeActive();

private:
    int m_nThemed = -1;  // -1: follow the program-wide setting
};
