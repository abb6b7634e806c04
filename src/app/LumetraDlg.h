#pragma once
#include <QDialog>
#include <string>

// The main menu.
class CLumetraDlg : public QDialog {
    Q_OBJECT
public:
    explicit CLumetraDlg(QWidget* pParent = nullptr);
    int DoModal();
    void OnCancel();
    void SaveScreenshotAndEnd(const std::string& strFile);
};
