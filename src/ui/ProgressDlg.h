#pragma once
#include <QString>
#include <cstdint>

#include "ui/DialogBase.h"

class QLabel;
class QProgressBar;

// The modeless progress dialog of long work (template 182): a large bold text
// (1188) over a progress bar (1187). The loop that does the work creates it,
// sets it up, steps it once per unit of work and destroys it at the end:
//
//   CContinueFlag::Set(1);
//   CProgressDlg dlg(this, caption, text);
//   dlg.Create(); dlg.CenterOver(this); dlg.show();
//   dlg.SetBarColor(0x00FF00); dlg.SetRange(0, 99); dlg.SetPos(0); dlg.SetStep(1);
//   for (...) { if (!CContinueFlag::Get()) break; ...; dlg.StepIt(); pump messages; }
//
// Its OK and Cancel buttons are hidden; Escape and the close box only clear the
// go-on flag (CContinueFlag) and leave the dialog open: the loop sees the flag,
// stops and destroys the dialog. Enter does nothing.
class CProgressDlg : public CDialogBase {
    Q_OBJECT
public:
    CProgressDlg(QWidget* pParent, const QString& strCaption, const QString& strText);
    ~CProgressDlg() override;

    // Modeless creation with the parent given to the constructor.
    bool Create() { return CDialogBase::Create(parentWidget()); }
    // Centres the dialog over a widget (or the screen when nullptr).
    void CenterOver(QWidget* pWidget);

    // A colour value 0x00BBGGRR (0x00FF00 is green).
    void SetBarColor(uint32_t crColor);
    void SetRange(int nLower, int nUpper);
    void SetPos(int nPos);
    void SetStep(int nStep);
    // Advances by the step (wrapping to the start past the end, as a bar does) and repaints the bar.
    void StepIt();
    void SetText(const QString& strText);

    int Pos() const;
    QString Text() const;
    QProgressBar* Bar() const { return m_pBar; }
    QLabel* Static() const { return m_pStatic; }

protected:
    bool OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

private:
    QString m_strCaption;
    QString m_strText;
    QProgressBar* m_pBar = nullptr;
    QLabel* m_pStatic = nullptr;
    QFont m_fontStatic;
    int m_nStep = 10;
};
