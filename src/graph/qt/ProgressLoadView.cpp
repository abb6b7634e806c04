#include "graph/qt/ProgressLoadView.h"

#include <QCoreApplication>
#include <algorithm>

#include "ui/ContinueFlag.h"
#include "ui/ProgressDlg.h"

CProgressLoadView::CProgressLoadView(QWidget* pOwner) : m_pOwner(pOwner) {}

CProgressLoadView::~CProgressLoadView() {
    Close();
}

void CProgressLoadView::Open(const std::string& strCaption, const std::string& strText) {
    Close();
    m_pDlg =
        std::make_unique<CProgressDlg>(m_pOwner, QString::fromStdString(strCaption), QString::fromStdString(strText));
    m_pDlg->Create();
    m_pDlg->CenterOver(m_pOwner);
    m_pDlg->show();
    m_pDlg->SetText(QString::fromStdString(strText));
    QCoreApplication::processEvents();
}

void CProgressLoadView::SetRange(int nMax) {
    if (!m_pDlg) return;
    m_pDlg->SetBarColor(0x00FF00);
    m_nMax = nMax;
    m_pDlg->SetRange(0, nMax);
    m_pDlg->SetPos(0);
    m_pDlg->SetStep(1);
}

void CProgressLoadView::Step(int nSteps) {
    if (m_pDlg && nSteps == 1) {
        m_pDlg->StepIt();
    } else if (m_pDlg && nSteps > 1) {
        // Several units at once (a number's share of a month): one repaint, not one per unit.
        m_pDlg->SetPos(std::min(m_pDlg->Pos() + nSteps, m_nMax));
    }
    QCoreApplication::processEvents();
}

void CProgressLoadView::Close() {
    if (!m_pDlg) return;
    m_pDlg->hide();
    m_pDlg.reset();
}

bool CProgressLoadView::Continue() const {
    return CContinueFlag::Get() != 0;
}

void CProgressLoadView::SetContinue(bool bContinue) {
    CContinueFlag::Set(bContinue ? 1 : 0);
}
