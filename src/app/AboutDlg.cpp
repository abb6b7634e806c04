#include "app/AboutDlg.h"

#include <QLabel>

#include "app/LumetraApp.h"
#include "platform/ResourceModule.h"
#include "ui/Fonts.h"
#include "ui/IconResources.h"

CAboutDlg::CAboutDlg(QWidget* pParent) : CDialogBase(IDD, pParent) {}

QWidget* CAboutDlg::CreateControl(const platform::stDLGCONTROL& control, QWidget* pParent) {
    if (control.nId != IDC_ICON) return CDialogBase::CreateControl(control, pParent);
    auto* pLabel = new QLabel(pParent);
    const QSize size = IconResSize(128);
    pLabel->setPixmap(LoadIconRes(128).pixmap(size));
    pLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return pLabel;
}

bool CAboutDlg::OnInitDialog() {
    CLumetraApp* pApp = CLumetraApp::Instance();
    if (pApp) setFont(pApp->m_fontUI);
    const int nLanguage = pApp ? pApp->m_nLanguage : LANG_ENGLISH;
    const QString strFace = QString::fromStdString(CLumetraApp::GetLanguageFontFace(nLanguage));
    if (SetLanguageFont(GetDlgItem(IDC_VERSION), &m_font, 9, strFace)) {
        for (int nId : {1179, 1})
            if (QWidget* pItem = GetDlgItem(nId)) pItem->setFont(m_font);
    }
    SetDlgItemText(IDC_VERSION, QString::fromStdString(platform::LoadStr(1)));
    return true;
}
