#include "app/LumetraDlg.h"

CLumetraDlg::CLumetraDlg(QWidget* pParent) : QDialog(pParent) {}
int CLumetraDlg::DoModal() {
    return exec();
}
void CLumetraDlg::OnCancel() {
    reject();
}
void CLumetraDlg::SaveScreenshotAndEnd(const std::string&) {}
