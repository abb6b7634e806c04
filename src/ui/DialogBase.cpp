#include "ui/DialogBase.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include "ui/UiContext.h"
#include "ui/XPStyleButtonST.h"

namespace {

CDialogBase::ModalHook& Hook() {
    static CDialogBase::ModalHook hook;
    return hook;
}

// A label shows "&x" as "x" and "&&" as "&", as the access-key marks of a template text.
QString LabelText(const QString& strText) {
    QString s;
    s.reserve(strText.size());
    for (qsizetype i = 0; i < strText.size(); ++i) {
        if (strText[i] == QLatin1Char('&')) {
            if (i + 1 < strText.size() && strText[i + 1] == QLatin1Char('&')) {
                s += QLatin1Char('&');
                ++i;
            }
            continue;
        }
        s += strText[i];
    }
    return s;
}

QString FromUtf8(const std::string& str) {
    return QString::fromStdString(str);
}

}  // namespace

CDialogBase::CDialogBase(int nTemplateId, QWidget* pParent) : QDialog(pParent), m_nTemplateId(nTemplateId) {}

CDialogBase::~CDialogBase() = default;

QRect CDialogBase::DluRect(int x, int y, int cx, int cy) {
    return QRect(platform::DluToPixelX(x), platform::DluToPixelY(y), platform::DluToPixelX(cx),
                 platform::DluToPixelY(cy));
}

CDialogBase::ModalHook CDialogBase::SetModalHook(ModalHook hook) {
    ModalHook old = std::move(Hook());
    Hook() = std::move(hook);
    return old;
}

bool CDialogBase::Build() {
    if (m_bBuilt) return m_bBuildResult;
    m_bBuilt = true;
    m_module = platform::CurrentResources();
    m_pTemplate = m_module->FindDialog(m_nTemplateId);
    if (!m_pTemplate) {
        // A language module without this dialog: the built-in one.
        m_module = platform::CResourceModule::English();
        m_pTemplate = m_module->FindDialog(m_nTemplateId);
    }
    if (!m_pTemplate) return m_bBuildResult = false;

    setFont(CUiContext::InterfaceFont());
    if (!m_pTemplate->strCaption.empty()) setWindowTitle(FromUtf8(m_pTemplate->strCaption));
    if (isWindow()) {
        Qt::WindowFlags flags = windowFlags();
        if (m_pTemplate->HasFlag("MINIMIZEBOX")) flags |= Qt::WindowMinimizeButtonHint;
        if (m_pTemplate->HasFlag("MAXIMIZEBOX")) flags |= Qt::WindowMaximizeButtonHint;
        if (flags != windowFlags()) setWindowFlags(flags);
    }

    m_pClient = new QWidget(this);
    m_pClient->setObjectName(QStringLiteral("client"));
    std::string strMenu = m_pTemplate->FlagValue("MENU");
    if (!strMenu.empty()) BuildMenuBar(std::atoi(strMenu.c_str()));
    CreateControls();
    const QRect rc = DluRect(0, 0, m_pTemplate->cx, m_pTemplate->cy);
    resize(rc.width(), rc.height() + (m_pMenuBar ? m_pMenuBar->sizeHint().height() : 0));
    LayoutChildren();

    m_bEnded = false;
    bool bInit = OnInitDialog();
    return m_bBuildResult = bInit && !m_bEnded;
}

bool CDialogBase::Create(QWidget* pParent) {
    if (pParent) {
        if (auto* pOwner = qobject_cast<CDialogBase*>(pParent); pOwner && pOwner->Client()) pParent = pOwner->Client();
        setParent(pParent, windowFlags());
    }
    const platform::stDLGTEMPLATE* pTemplate = platform::CurrentResources()->FindDialog(m_nTemplateId);
    if (!pTemplate) pTemplate = platform::CResourceModule::English()->FindDialog(m_nTemplateId);
    if (pTemplate && pTemplate->HasFlag("CHILD") && pParent) {
        setParent(pParent, Qt::Widget);
        move(DluRect(pTemplate->x, pTemplate->y, 0, 0).topLeft());
    }
    return Build();
}

int CDialogBase::DoModal() {
    if (!Build()) return m_bEnded ? m_nResult : -1;
    m_bEnded = false;
    if (Hook()) {
        QTimer::singleShot(0, this, [this] {
            if (Hook() && !m_bEnded) Hook()(*this);
        });
    }
    m_bRunning = true;
    exec();
    m_bRunning = false;
    return m_bEnded ? m_nResult : IDCANCEL;
}

void CDialogBase::EndDialog(int nResult) {
    m_nResult = nResult;
    m_bEnded = true;
    done(nResult);
}

QWidget* CDialogBase::GetDlgItem(int nId) const {
    auto it = m_mapItems.find(nId);
    return it == m_mapItems.end() ? nullptr : it->second;
}

void CDialogBase::SetDlgItemText(int nId, const QString& strText) {
    QWidget* pItem = GetDlgItem(nId);
    if (auto* p = qobject_cast<QAbstractButton*>(pItem))
        p->setText(strText);
    else if (auto* p = qobject_cast<QLabel*>(pItem))
        p->setText(strText);
    else if (auto* p = qobject_cast<QLineEdit*>(pItem))
        p->setText(strText);
    else if (auto* p = qobject_cast<QGroupBox*>(pItem))
        p->setTitle(strText);
    else if (auto* p = qobject_cast<QComboBox*>(pItem); p && p->isEditable())
        p->setEditText(strText);
    else if (pItem)
        pItem->setWindowTitle(strText);
}

QString CDialogBase::GetDlgItemText(int nId) const {
    QWidget* pItem = GetDlgItem(nId);
    if (auto* p = qobject_cast<QAbstractButton*>(pItem)) return p->text();
    if (auto* p = qobject_cast<QLabel*>(pItem)) return p->text();
    if (auto* p = qobject_cast<QLineEdit*>(pItem)) return p->text();
    if (auto* p = qobject_cast<QGroupBox*>(pItem)) return p->title();
    if (auto* p = qobject_cast<QComboBox*>(pItem)) return p->currentText();
    return pItem ? pItem->windowTitle() : QString();
}

void CDialogBase::SetCommandHandler(int nId, std::function<void()> handler) {
    m_mapHandlers[nId] = std::move(handler);
}

bool CDialogBase::OnInitDialog() {
    return true;
}

QWidget* CDialogBase::CreateControl(const platform::stDLGCONTROL& c, QWidget* pParent) {
    const QString strText = FromUtf8(c.strText);
    const std::string& k = c.strClass;
    if (k == "BUTTON") {
        QPushButton* pButton = c.HasFlag("PICTURE") ? new CXPStyleButtonST(pParent) : new QPushButton(pParent);
        pButton->setText(strText);
        if (c.HasFlag("DEFAULT")) pButton->setDefault(true);
        return pButton;
    }
    if (k == "CHECKBOX") return new QCheckBox(strText, pParent);
    if (k == "RADIO") return new QRadioButton(strText, pParent);
    if (k == "STATIC") {
        auto* pLabel = new QLabel(LabelText(strText), pParent);
        pLabel->setWordWrap(true);
        Qt::Alignment align = Qt::AlignTop;
        align |= c.HasFlag("CENTER") ? Qt::AlignHCenter : c.HasFlag("RIGHT") ? Qt::AlignRight : Qt::AlignLeft;
        if (c.HasFlag("VCENTER")) align = (align & ~Qt::AlignTop) | Qt::AlignVCenter;
        pLabel->setAlignment(align);
        return pLabel;
    }
    if (k == "EDIT") {
        auto* pEdit = new QLineEdit(strText, pParent);
        pEdit->setReadOnly(c.HasFlag("READONLY"));
        if (c.HasFlag("PASSWORD")) pEdit->setEchoMode(QLineEdit::Password);
        if (c.HasFlag("RIGHT")) pEdit->setAlignment(Qt::AlignRight);
        return pEdit;
    }
    if (k == "COMBOBOX") return new QComboBox(pParent);
    if (k == "LISTBOX") return new QListWidget(pParent);
    if (k == "GROUPBOX") return new QGroupBox(strText, pParent);
    if (k == "PROGRESS") {
        auto* pBar = new QProgressBar(pParent);
        pBar->setTextVisible(false);
        return pBar;
    }
    if (k == "DATETIME") {
        auto* pDate = new QDateEdit(pParent);
        pDate->setCalendarPopup(true);
        return pDate;
    }
    if (k == "FRAME") {
        auto* pFrame = new QFrame(pParent);
        if (c.HasFlag("ETCHEDHORZ")) {
            pFrame->setFrameShape(QFrame::HLine);
            pFrame->setFrameShadow(QFrame::Sunken);
        } else {
            pFrame->setFrameShape(QFrame::Box);
            pFrame->setFrameShadow(QFrame::Sunken);
        }
        return pFrame;
    }
    return new QWidget(pParent);
}

void CDialogBase::CreateControls() {
    QButtonGroup* pGroup = nullptr;
    for (const platform::stDLGCONTROL& c : m_pTemplate->controls) {
        QWidget* pItem = CreateControl(c, m_pClient);
        if (!pItem) continue;
        if (pItem->parentWidget() != m_pClient) pItem->setParent(m_pClient);
        pItem->setGeometry(DluRect(c.x, c.y, c.cx, c.cy));
        pItem->setObjectName(QString::number(c.nId));
        if (c.HasFlag("DISABLED")) pItem->setEnabled(false);
        if (c.HasFlag("HIDDEN")) pItem->hide();
        const int nId = c.nId;
        if (auto* pRadio = qobject_cast<QRadioButton*>(pItem)) {
            // Radios are exclusive within a run that starts at a GROUP flag.
            if (!pGroup || c.HasFlag("GROUP")) {
                pGroup = new QButtonGroup(this);
                pGroup->setExclusive(true);
            }
            pRadio->setAutoExclusive(false);
            pGroup->addButton(pRadio);
        } else if (c.HasFlag("GROUP")) {
            pGroup = nullptr;
        }
        if (auto* pButton = qobject_cast<QAbstractButton*>(pItem))
            connect(pButton, &QAbstractButton::clicked, this, [this, nId] { OnCommand(nId); });
        if (nId != -1 && !m_mapItems.count(nId)) m_mapItems[nId] = pItem;
    }
}

void CDialogBase::BuildMenuBar(int nMenuId) {
    const platform::stMENUTEMPLATE* pMenu = m_module->FindMenu(nMenuId);
    if (!pMenu) pMenu = platform::CResourceModule::English()->FindMenu(nMenuId);
    if (!pMenu) return;
    m_pMenuBar = new QMenuBar(this);
    std::function<void(QWidget*, const std::vector<platform::stMENUITEM>&)> fill =
        [&](QWidget* pTarget, const std::vector<platform::stMENUITEM>& items) {
            for (const platform::stMENUITEM& item : items) {
                if (item.bSeparator) {
                    auto* pSep = new QAction(pTarget);
                    pSep->setSeparator(true);
                    pTarget->addAction(pSep);
                } else if (item.bPopup) {
                    auto* pSub = new QMenu(FromUtf8(item.strText), pTarget);
                    fill(pSub, item.children);
                    pTarget->addAction(pSub->menuAction());
                } else {
                    auto* pAction = new QAction(FromUtf8(item.strText), pTarget);
                    pAction->setData(item.nId);
                    const int nId = item.nId;
                    connect(pAction, &QAction::triggered, this, [this, nId] { OnCommand(nId); });
                    pTarget->addAction(pAction);
                }
            }
        };
    fill(m_pMenuBar, pMenu->items);
}

void CDialogBase::LayoutChildren() {
    int nMenu = 0;
    if (m_pMenuBar) {
        nMenu = m_pMenuBar->sizeHint().height();
        m_pMenuBar->setGeometry(0, 0, width(), nMenu);
    }
    if (m_pClient) m_pClient->setGeometry(0, nMenu, width(), std::max(0, height() - nMenu));
}

bool CDialogBase::OnCommand(int nId) {
    auto it = m_mapHandlers.find(nId);
    if (it != m_mapHandlers.end() && it->second) {
        // The handler may replace itself; run a copy.
        auto handler = it->second;
        handler();
        return true;
    }
    if (nId == IDOK) {
        OnOK();
        return true;
    }
    if (nId == IDCANCEL) {
        OnCancel();
        return true;
    }
    return false;
}

void CDialogBase::OnOK() {
    EndDialog(IDOK);
}
void CDialogBase::OnCancel() {
    EndDialog(IDCANCEL);
}

int CDialogBase::DefaultButtonId() const {
    if (m_pTemplate)
        for (const platform::stDLGCONTROL& c : m_pTemplate->controls)
            if (c.strClass == "BUTTON" && c.HasFlag("DEFAULT")) return c.nId;
    return IDOK;
}

void CDialogBase::OnEnterKey() {
    // A focused push button of ours takes Enter itself.
    if (auto* pButton = qobject_cast<QPushButton*>(focusWidget()); pButton && pButton->isEnabled()) {
        for (const auto& [nId, pItem] : m_mapItems)
            if (pItem == pButton) {
                OnCommand(nId);
                return;
            }
    }
    const int nId = DefaultButtonId();
    QWidget* pDefault = GetDlgItem(nId);
    if (pDefault && !pDefault->isEnabled()) return;
    OnCommand(nId);
}

void CDialogBase::OnEscapeKey() {
    OnCommand(IDCANCEL);
}

void CDialogBase::keyPressEvent(QKeyEvent* pEvent) {
    const bool bPlain = !(pEvent->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
    if (bPlain && (pEvent->key() == Qt::Key_Return || pEvent->key() == Qt::Key_Enter)) {
        pEvent->accept();
        OnEnterKey();
        return;
    }
    if (bPlain && pEvent->key() == Qt::Key_Escape) {
        pEvent->accept();
        OnEscapeKey();
        return;
    }
    QDialog::keyPressEvent(pEvent);
}

void CDialogBase::closeEvent(QCloseEvent* pEvent) {
    pEvent->ignore();
    OnCommand(IDCANCEL);
}

void CDialogBase::resizeEvent(QResizeEvent* pEvent) {
    QDialog::resizeEvent(pEvent);
    LayoutChildren();
}

void CDialogBase::reject() {
    OnCommand(IDCANCEL);
}
void CDialogBase::accept() {
    OnCommand(IDOK);
}
