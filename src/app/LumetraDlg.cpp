#include "app/LumetraDlg.h"

#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <cstdio>

#include "app/AboutDlg.h"
#include "app/LumetraApp.h"
#include "platform/ResourceModule.h"
#include "ui/Fonts.h"
#include "ui/IconResources.h"
#include "ui/MessageService.h"
#include "ui/XPStyleButtonST.h"

namespace {

struct stLAYOUT {
    int nId;
    QRect rcJapanese;
    QRect rcChinese;
    QRect rcEnglish;
};

// Client pixels per language; the Japanese captions of the lower buttons are shorter.
const stLAYOUT kLayout[] = {
    {CLumetraDlg::IDC_GRAPH, {176, 91, 300, 210}, {176, 91, 300, 210}, {176, 31, 300, 300}},
    {CLumetraDlg::IDC_COMPARE, {541, 91, 300, 210}, {541, 91, 300, 210}, {541, 31, 300, 300}},
    {CLumetraDlg::IDC_IMPORT, {176, 418, 215, 90}, {176, 418, 300, 90}, {176, 418, 300, 90}},
    {CLumetraDlg::IDC_SET_CO2, {176, 528, 215, 60}, {176, 528, 300, 60}, {176, 528, 300, 60}},
    {CLumetraDlg::IDC_SET_PRICE, {176, 608, 215, 60}, {176, 608, 300, 60}, {176, 608, 300, 60}},
    {CLumetraDlg::IDC_EXIT, {636, 528, 205, 60}, {636, 528, 205, 60}, {636, 528, 205, 60}},
    {CLumetraDlg::IDC_SEPARATOR, {175, 358, 666, 0}, {175, 358, 666, 0}, {175, 358, 666, 0}},
};

int CurrentLanguage() {
    CLumetraApp* pApp = CLumetraApp::Instance();
    return pApp ? pApp->m_nLanguage : LANG_ENGLISH;
}

}  // namespace

CLumetraDlg::CLumetraDlg(QWidget* pParent) : CScrollDialog(IDD, pParent) {}

QRect CLumetraDlg::LayoutRect(int nLanguage, int nId) {
    for (const stLAYOUT& layout : kLayout) {
        if (layout.nId != nId) continue;
        if (nLanguage == LANG_JAPANESE) return layout.rcJapanese;
        if (nLanguage == LANG_CHINESE) return layout.rcChinese;
        return layout.rcEnglish;
    }
    return QRect();
}

bool CLumetraDlg::OnInitDialog() {
    CLumetraApp* pApp = CLumetraApp::Instance();
    const int nLanguage = CurrentLanguage();

    // 1-2: the fixed size at the current top-left; the first menu hands on its placement.
    resize(kWidth, kHeight);
    if (pApp && pApp->m_bFirstMenu) {
        pApp->m_rcWindow = geometry();
        pApp->m_nShowCmd = 1;
    }
    // 3
    if (!CScrollDialog::OnInitDialog()) return false;

    // 5-6
    SetupButtons(nLanguage);
    m_icon = LoadIconRes(128);
    setWindowIcon(m_icon);
    if (pApp) setFont(pApp->m_fontUI);
    // 7-8
    SetupFonts(nLanguage);
    Layout(nLanguage);
    if (QScreen* pScreen = QGuiApplication::primaryScreen()) {
        QRect rc = frameGeometry();
        rc.moveCenter(pScreen->availableGeometry().center());
        move(rc.topLeft());
    }
    // 9: a menu built again after a language switch opens where the old one was.
    if (pApp) {
        if (!pApp->m_bFirstMenu) pApp->ApplyWindowPlacement(this);
        pApp->m_bFirstMenu = 0;
    }
    return true;
}

void CLumetraDlg::SetupButtons(int nLanguage) {
    const int ids[] = {IDC_IMPORT, IDC_SET_CO2, IDC_SET_PRICE, IDC_GRAPH, IDC_COMPARE, IDC_EXIT};
    for (int nId : ids) {
        auto* pButton = Item<CXPStyleButtonST>(nId);
        if (!pButton) continue;
        pButton->SetThemeHelper(&m_theme);
        pButton->SetBorderMode(3);
        pButton->DrawAsToolbar(false);
    }
    // Enter never presses a button of the menu.
    for (QPushButton* pButton : Client()->findChildren<QPushButton*>()) {
        pButton->setAutoDefault(false);
        pButton->setDefault(false);
    }
    auto setIcon = [this](int nId, int nIcon, int nAlign) {
        if (auto* pButton = Item<CXPStyleButtonST>(nId)) {
            pButton->SetIcon(nIcon);
            pButton->SetAlign(nAlign);
        }
    };
    setIcon(IDC_IMPORT, 181, CButtonST::ST_ALIGN_HORIZ);
    setIcon(IDC_GRAPH, 172, CButtonST::ST_ALIGN_VERT);
    setIcon(IDC_COMPARE, 171, CButtonST::ST_ALIGN_VERT);
    if (nLanguage == LANG_JAPANESE) setIcon(IDC_SET_CO2, 180, CButtonST::ST_ALIGN_HORIZ);
}

void CLumetraDlg::SetupFonts(int nLanguage) {
    const QString strFace = QString::fromStdString(CLumetraApp::GetLanguageFontFace(nLanguage));
    auto makeFont = [&](QFont* pFont, int nPoints, int nFirst, std::initializer_list<int> others) {
        QWidget* pFirst = GetDlgItem(nFirst);
        if (!pFirst || !SetLanguageFont(pFirst, pFont, nPoints, strFace)) return;
        if (!SetBoldFont(pFirst, pFont, 0, strFace, 700)) return;
        for (int nId : others)
            if (QWidget* pItem = GetDlgItem(nId)) pItem->setFont(*pFont);
    };
    makeFont(&m_fontLarge, 30, IDC_EXIT, {IDC_GRAPH, IDC_COMPARE});
    makeFont(&m_fontMiddle, 26, IDC_IMPORT, {});
    makeFont(&m_fontSmall, 19, IDC_SET_CO2, {IDC_SET_PRICE});
}

void CLumetraDlg::Layout(int nLanguage) {
    for (const stLAYOUT& layout : kLayout) {
        QWidget* pItem = GetDlgItem(layout.nId);
        if (!pItem) continue;
        QRect rc = LayoutRect(nLanguage, layout.nId);
        if (rc.height() == 0) rc.setHeight(pItem->height());
        pItem->setGeometry(rc);
    }
}

bool CLumetraDlg::OnCommand(int nId) {
    if (m_bBusy) return true;  // an import runs: nothing else may start
    switch (nId) {
        case IDC_IMPORT:
            OnImport();
            return true;
        case IDC_SET_CO2:
            OnSetCO2();
            return true;
        case IDC_SET_PRICE:
            OnSetPrice();
            return true;
        case IDC_GRAPH:
        case IDC_GRAPH_DAY:
        case IDC_GRAPH_MONTH:
            OnGraphSingle();
            return true;
        case IDC_COMPARE:
        case IDC_COMPARE_DAY:
        case IDC_COMPARE_MONTH:
            OnGraphCompare();
            return true;
        case IDC_EXIT:
        case IDCANCEL:
        case ID_APP_EXIT:
            OnCancel();
            return true;
        case IDOK:
            OnOK();
            return true;
        case ID_APP_ABOUT:
            OnVersion();
            return true;
        case ID_APP_OPTION:
            OnOption();
            return true;
        default:
            return CScrollDialog::OnCommand(nId);
    }
}

void CLumetraDlg::OnOK() {}

void CLumetraDlg::OnEnterKey() {
    OnOK();
}

void CLumetraDlg::OnCancel() {
    if (m_bBusy) return;
    CLumetraApp* pApp = CLumetraApp::Instance();
    const bool bRestart = pApp && pApp->m_bRestartMenu;
    if (!bRestart && ShowMessage(51, MB_ICONQUESTION | MB_YESNO) != IDYES) return;
    m_bEnding = true;
    EndDialog(IDCANCEL);
}

void CLumetraDlg::RunGraphFlow(const std::function<int()>& runGraphDialog) {
    CLumetraApp* pApp = CLumetraApp::Instance();
    if (pApp) pApp->StoreWindowPlacement(this);
    const int nResult = runGraphDialog ? runGraphDialog() : IDCANCEL;
    // Escape or the close box of the graph window: the program may end here.
    if (nResult == IDCANCEL) OnCancel();
    if (m_bEnding) return;
    if (pApp) pApp->ApplyWindowPlacement(this);
    show();
}

void CLumetraDlg::OnImport() {
    m_bBusy = 1;
    // The card import flow runs here.
    m_bBusy = 0;
}

void CLumetraDlg::OnSetCO2() {
    // The CO2 rate dialog runs here.
}

void CLumetraDlg::OnSetPrice() {
    // The price dialog runs here.
}

void CLumetraDlg::OnGraphSingle() {
    // The single-graph condition dialog runs here; on OK its record, period kind and device
    // models (into m_byDevModel) go to the graph dialog through RunGraphFlow.
}

void CLumetraDlg::OnGraphCompare() {
    // The pattern choice and the comparative condition dialog run here; on OK both records go to
    // the graph dialog through RunGraphFlow.
}

void CLumetraDlg::OnOption() {
    // The Option dialog runs here.
}

void CLumetraDlg::OnVersion() {
    CAboutDlg dlg(this);
    dlg.DoModal();
}

void CLumetraDlg::SaveScreenshotAndEnd(const std::string& strFile) {
    m_strScreenshot = strFile;
    QTimer::singleShot(0, this, [this] {
        // The picture shows the menu as the screen has it; the file is written whole or not at all.
        const QImage image = grab().toImage();
        const QString strPath = QString::fromStdString(m_strScreenshot);
        const QString strTemp = strPath + QStringLiteral(".tmp");
        m_bScreenshotSaved = image.save(strTemp, "PNG") &&
                             std::rename(strTemp.toLocal8Bit().constData(), strPath.toLocal8Bit().constData()) == 0;
        if (!m_bScreenshotSaved) std::remove(strTemp.toLocal8Bit().constData());
        EndDialog(IDCANCEL);
    });
}
