#pragma once
#include <QFont>
#include <QIcon>
#include <QRect>
#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "ui/ScrollDialog.h"
#include "ui/ThemeHelperST.h"

// The main menu: six picture buttons that start the program's flows, the menu bar (Version,
// Option, Exit) and the question before the program ends. Built from template 102.
class CLumetraDlg : public CScrollDialog {
    Q_OBJECT
public:
    enum { IDD = 102 };
    // Control ids of the template.
    enum : int {
        IDC_IMPORT = 1000,
        IDC_SET_CO2 = 1001,
        IDC_EXIT = 1002,
        IDC_GRAPH = 1003,
        IDC_GRAPH_DAY = 1004,
        IDC_GRAPH_MONTH = 1005,
        IDC_COMPARE = 1006,
        IDC_COMPARE_DAY = 1007,
        IDC_COMPARE_MONTH = 1008,
        IDC_SET_PRICE = 1010,
        IDC_SEPARATOR = 1177,
        ID_APP_ABOUT = 57664,
        ID_APP_OPTION = 32774,
        ID_APP_EXIT = 57665,
    };
    static constexpr int kWidth = 1024;
    static constexpr int kHeight = 768;

    explicit CLumetraDlg(QWidget* pParent = nullptr);

    // The cancel handler: Exit, Escape, the close box and the menu's Exit. Asks "Finishing.OK?"
    // unless a restart after a language switch is pending; does nothing while busy.
    void OnCancel() override;

    // Where a control goes in the language's layout (client pixels); an empty rectangle for
    // controls the table does not place. The separator's height is left 0 (it keeps its own).
    static QRect LayoutRect(int nLanguage, int nId);

    // The part both graph flows share once their condition is known: hands the menu's placement
    // to the graph dialog (run by runGraphDialog, which returns its result), asks before ending
    // when the graph dialog was cancelled, and shows the menu again where the graph dialog left it.
    void RunGraphFlow(const std::function<int()>& runGraphDialog);

    // Saves a picture of the menu to a file once it is on the screen, then ends it without asking.
    void SaveScreenshotAndEnd(const std::string& strFile);
    bool ScreenshotSaved() const { return m_bScreenshotSaved; }

    int m_bBusy = 0;                          // 1 while an import runs: every command is ignored
    std::string m_strOriginDir;               // origin import folder picked by hand since the menu was made
    std::array<uint8_t, 100> m_byDevModel{};  // device model per number of the last condition

protected:
    bool OnInitDialog() override;
    bool OnCommand(int nId) override;
    void OnOK() override;  // Enter and the hidden OK button do nothing
    void OnEnterKey() override;

    // The flows of the buttons and menu items.
    void OnImport();
    void OnSetCO2();
    void OnSetPrice();
    void OnGraphSingle();
    void OnGraphCompare();
    void OnVersion();
    void OnOption();

private:
    CThemeHelperST m_theme;
    QFont m_fontLarge;   // 30 points: Exit and the two graph buttons
    QFont m_fontMiddle;  // 26 points: Import
    QFont m_fontSmall;   // 19 points: the two conversion settings
    QIcon m_icon;
    std::string m_strScreenshot;
    bool m_bScreenshotSaved = false;
    bool m_bEnding = false;  // the cancel handler has ended the menu

    void SetupButtons(int nLanguage);
    void SetupFonts(int nLanguage);
    void Layout(int nLanguage);
};
