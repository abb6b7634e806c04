#pragma once
#include <QFont>

#include "ui/DialogBase.h"

// The Version dialog: program icon, name and version (template 100).
class CAboutDlg : public CDialogBase {
    Q_OBJECT
public:
    enum { IDD = 100, IDC_ICON = 1176, IDC_VERSION = 1178 };
    explicit CAboutDlg(QWidget* pParent = nullptr);

protected:
    bool OnInitDialog() override;
    QWidget* CreateControl(const platform::stDLGCONTROL& control, QWidget* pParent) override;

private:
    QFont m_font;
};
