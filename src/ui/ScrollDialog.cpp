#include "ui/ScrollDialog.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMenuBar>
#include <QPointer>
#include <QScrollBar>
#include <QWheelEvent>

CScrollDialog::CScrollDialog(int nTemplateId, QWidget* pParent) : CDialogBase(nTemplateId, pParent) {}

CScrollDialog::~CScrollDialog() {
    if (QCoreApplication* pApp = QCoreApplication::instance()) pApp->removeEventFilter(this);
}

bool CScrollDialog::OnInitDialog() {
    if (!CDialogBase::OnInitDialog()) return false;
    m_nContentWidth = std::max(0, width());
    m_nContentHeight = std::max(0, height());
    for (QScrollBar** ppBar : {&m_pHorz, &m_pVert}) {
        const bool bHorz = ppBar == &m_pHorz;
        auto* pBar = new QScrollBar(bHorz ? Qt::Horizontal : Qt::Vertical, this);
        pBar->setRange(0, bHorz ? m_nContentWidth : m_nContentHeight);
        pBar->setSingleStep(1);
        pBar->setPageStep(10);
        pBar->setValue(0);
        pBar->hide();
        // Dragging the thumb scrolls at once (tracking); every change moves the client.
        pBar->setTracking(true);
        connect(pBar, &QScrollBar::valueChanged, this,
                [this, bHorz](int nValue) { ScrollTo(bHorz ? Qt::Horizontal : Qt::Vertical, nValue); });
        *ppBar = pBar;
    }
    m_bHorzActive = m_bVertActive = false;
    m_nHorzShown = m_nVertShown = 0;
    m_bInitDone = true;
    if (QCoreApplication* pApp = QCoreApplication::instance()) pApp->installEventFilter(this);
    return true;
}

int CScrollDialog::HorzMax() const {
    return m_pHorz ? m_pHorz->maximum() : 0;
}
int CScrollDialog::VertMax() const {
    return m_pVert ? m_pVert->maximum() : 0;
}
int CScrollDialog::HorzPos() const {
    return m_pHorz ? m_pHorz->value() : 0;
}
int CScrollDialog::VertPos() const {
    return m_pVert ? m_pVert->value() : 0;
}

void CScrollDialog::resizeEvent(QResizeEvent* pEvent) {
    CDialogBase::resizeEvent(pEvent);
    // A minimised window keeps its scroll state.
    if (m_bInitDone && !isMinimized()) OnSize(width(), height());
    PlaceBars();
}

void CScrollDialog::UpdateDirection(QScrollBar* pBar, bool& bActive, int nContent, int nClient) {
    if (nClient < nContent) {
        const int nOldMin = pBar->minimum(), nOldMax = pBar->maximum(), nOld = pBar->value();
        const int nNewMax = nContent - nClient + 10;
        const int nSpan = nOldMax - nOldMin;
        const int nNew = nSpan > 0 ? static_cast<int>(static_cast<long long>(nOld - nOldMin) * nNewMax / nSpan) : 0;
        bActive = true;
        const QSignalBlocker block(pBar);
        pBar->setRange(0, nNewMax);
        pBar->setValue(nNew);
        pBar->show();
    } else {
        bActive = false;
        const QSignalBlocker block(pBar);
        pBar->setValue(0);
        pBar->hide();
    }
}

void CScrollDialog::OnSize(int cx, int cy) {
    UpdateDirection(m_pHorz, m_bHorzActive, m_nContentWidth, cx);
    UpdateDirection(m_pVert, m_bVertActive, m_nContentHeight, cy);
    ScrollTo(Qt::Horizontal, m_pHorz->value());
    ScrollTo(Qt::Vertical, m_pVert->value());
}

void CScrollDialog::PlaceBars() {
    if (!m_pHorz || !m_pVert) return;
    const int nThick = m_pVert->sizeHint().width();
    const int nHorzThick = m_pHorz->sizeHint().height();
    const int nTop = MenuBar() ? MenuBar()->height() : 0;
    m_pVert->setGeometry(width() - nThick, nTop, nThick,
                         std::max(0, height() - nTop - (m_bHorzActive ? nHorzThick : 0)));
    m_pHorz->setGeometry(0, height() - nHorzThick, std::max(0, width() - (m_bVertActive ? nThick : 0)), nHorzThick);
    m_pVert->raise();
    m_pHorz->raise();
}

void CScrollDialog::ScrollTo(Qt::Orientation orientation, int nPos) {
    int& nShown = orientation == Qt::Horizontal ? m_nHorzShown : m_nVertShown;
    const int nDelta = nShown - nPos;
    nShown = nPos;
    if (nDelta == 0 || !Client()) return;
    if (orientation == Qt::Horizontal)
        Client()->scroll(nDelta, 0);
    else
        Client()->scroll(0, nDelta);
}

void CScrollDialog::ScrollBy(Qt::Orientation orientation, int nDelta) {
    QScrollBar* pBar = orientation == Qt::Horizontal ? m_pHorz : m_pVert;
    if (!pBar) return;
    pBar->setValue(std::clamp(pBar->value() + nDelta, pBar->minimum(), pBar->maximum()));
}

void CScrollDialog::wheelEvent(QWheelEvent* pEvent) {
    const QPoint ptDelta = pEvent->angleDelta();
    const int nDelta = ptDelta.y() != 0 ? ptDelta.y() : ptDelta.x();
    if (nDelta == 0 || (!m_bVertActive && !m_bHorzActive)) {
        CDialogBase::wheelEvent(pEvent);
        return;
    }
    // Towards the end for a negative delta, towards the start for a positive one.
    ScrollBy(m_bVertActive ? Qt::Vertical : Qt::Horizontal, nDelta < 0 ? 3 : -3);
    pEvent->accept();
}

void CScrollDialog::keyPressEvent(QKeyEvent* pEvent) {
    const int nKey = pEvent->key();
    QPointer<CScrollDialog> pSelf(this);
    CDialogBase::keyPressEvent(pEvent);
    if (!pSelf) return;
    m_bKeyScrolled = true;
    ScrollForKey(nKey);
}

namespace {
bool IsArrowKey(int nKey) {
    return nKey == Qt::Key_Up || nKey == Qt::Key_Down || nKey == Qt::Key_Left || nKey == Qt::Key_Right;
}
}  // namespace

bool CScrollDialog::eventFilter(QObject* pWatched, QEvent* pEvent) {
    if (pEvent->type() != QEvent::KeyPress || m_bDeliveringKey || pWatched == this || !m_bInitDone)
        return CDialogBase::eventFilter(pWatched, pEvent);
    auto* pWidget = qobject_cast<QWidget*>(pWatched);
    auto* pKey = static_cast<QKeyEvent*>(pEvent);
    // The menu bar walks its items with the arrows and keeps them.
    const bool bMenuBar = MenuBar() && (pWidget == MenuBar() || MenuBar()->isAncestorOf(pWidget));
    if (!pWidget || pWidget->window() != this || bMenuBar || !IsArrowKey(pKey->key()))
        return CDialogBase::eventFilter(pWatched, pEvent);
    // The control (and, when it passes the key on, the dialog) handle the key first.
    const int nKey = pKey->key();
    QPointer<CScrollDialog> pSelf(this);
    m_bDeliveringKey = true;
    m_bKeyScrolled = false;
    QCoreApplication::sendEvent(pWidget, pEvent);
    if (!pSelf) return true;
    m_bDeliveringKey = false;
    if (!m_bKeyScrolled) ScrollForKey(nKey);
    // Delivered: the key goes to no one else.
    pEvent->accept();
    return true;
}

void CScrollDialog::ScrollForKey(int nKey) {
    switch (nKey) {
        case Qt::Key_Up:
            if (m_bVertActive) ScrollBy(Qt::Vertical, -3);
            break;
        case Qt::Key_Down:
            if (m_bVertActive) ScrollBy(Qt::Vertical, 3);
            break;
        case Qt::Key_Left:
            if (m_bHorzActive) ScrollBy(Qt::Horizontal, -3);
            break;
        case Qt::Key_Right:
            if (m_bHorzActive) ScrollBy(Qt::Horizontal, 3);
            break;
        default:
            break;
    }
}
