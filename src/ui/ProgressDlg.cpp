#include "ui/ProgressDlg.h"

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QScreen>
#include <QStyle>
#include <QStyleFactory>

#include "ui/ContinueFlag.h"
#include "ui/Fonts.h"
#include "ui/UiContext.h"

CProgressDlg::CProgressDlg(QWidget* pParent, const QString& strCaption, const QString& strText)
    : CDialogBase(182, pParent), m_strCaption(strCaption), m_strText(strText) {}

CProgressDlg::~CProgressDlg() = default;

bool CProgressDlg::OnInitDialog() {
    CDialogBase::OnInitDialog();
    m_pBar = Item<QProgressBar>(1187);
    m_pStatic = Item<QLabel>(1188);
    if (m_pStatic) {
        m_pStatic->setWordWrap(false);
        m_pStatic->setTextFormat(Qt::PlainText);
        if (SetLanguageFont(m_pStatic, &m_fontStatic, 18, CUiContext::LanguageFace()))
            SetBoldFont(m_pStatic, &m_fontStatic, 18, QString(), 700);
    }
    if (m_pBar) m_pBar->setValue(m_pBar->minimum());
    SetText(m_strText);
    setWindowTitle(m_strCaption);
    return true;
}

void CProgressDlg::CenterOver(QWidget* pWidget) {
    QRect rcOver;
    if (pWidget)
        rcOver = QRect(pWidget->mapToGlobal(QPoint(0, 0)), pWidget->size());
    else if (QScreen* pScreen = QApplication::primaryScreen())
        rcOver = pScreen->availableGeometry();
    if (rcOver.isValid()) move(rcOver.center() - QPoint(width() / 2, height() / 2));
}

void CProgressDlg::SetBarColor(uint32_t crColor) {
    if (!m_pBar) return;
    // The native look of some styles ignores the palette; the fusion style honours it.
    if (QStyle* pFusion = QStyleFactory::create(QStringLiteral("Fusion"))) {
        pFusion->setParent(m_pBar);
        m_pBar->setStyle(pFusion);
    }
    QPalette pal = m_pBar->palette();
    pal.setColor(QPalette::Highlight, QColor(crColor & 0xFF, (crColor >> 8) & 0xFF, (crColor >> 16) & 0xFF));
    m_pBar->setPalette(pal);
}

void CProgressDlg::SetRange(int nLower, int nUpper) {
    if (m_pBar) m_pBar->setRange(nLower, std::max(nLower, nUpper));
}

void CProgressDlg::SetPos(int nPos) {
    if (m_pBar) m_pBar->setValue(std::clamp(nPos, m_pBar->minimum(), m_pBar->maximum()));
}

void CProgressDlg::SetStep(int nStep) {
    m_nStep = nStep;
}

void CProgressDlg::StepIt() {
    if (!m_pBar) return;
    int nPos = m_pBar->value() + m_nStep;
    if (nPos > m_pBar->maximum()) nPos = m_pBar->minimum() + (nPos - m_pBar->maximum() - 1);
    if (nPos < m_pBar->minimum()) nPos = m_pBar->minimum();
    m_pBar->setValue(std::min(nPos, m_pBar->maximum()));
    m_pBar->repaint();
}

void CProgressDlg::SetText(const QString& strText) {
    m_strText = strText;
    if (m_pStatic) m_pStatic->setText(strText);
}

int CProgressDlg::Pos() const {
    return m_pBar ? m_pBar->value() : 0;
}
QString CProgressDlg::Text() const {
    return m_strText;
}

void CProgressDlg::OnOK() {}
void CProgressDlg::OnCancel() {
    CContinueFlag::Clear();
}
