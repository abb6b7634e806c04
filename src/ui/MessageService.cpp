#include "ui/MessageService.h"

#include <QApplication>
#include <QWidget>

#include "platform/ResourceModule.h"
#include "ui/QtMessageService.h"

std::vector<stMSGBUTTON> MessageButtonSet(int nButtonSet) {
    switch (nButtonSet) {
        case 1:
            return {{IDOK, 81}, {IDCANCEL, 82}};
        case 2:
            return {{IDABORT, 83}, {IDRETRY, 84}, {IDIGNORE, 85}};
        case 3:
            return {{IDYES, 86}, {IDNO, 87}, {IDCANCEL, 82}};
        case 4:
            return {{IDYES, 86}, {IDNO, 87}};
        case 5:
            return {{IDRETRY, 84}, {IDCANCEL, 82}};
        case 6:
            return {{IDCANCEL, 82}, {IDTRYAGAIN, 88}, {IDCONTINUE, 89}};
        default:
            return {{IDOK, 81}};
    }
}

int MessageEscapeId(int nButtonSet) {
    switch (nButtonSet) {
        case 1:
        case 3:
        case 5:
        case 6:
            return IDCANCEL;
        case 2:
        case 4:
            return 0;
        default:
            return IDOK;
    }
}

namespace {
CMessageService* g_pService = nullptr;
}  // namespace

CMessageService& CMessageService::Instance() {
    if (g_pService) return *g_pService;
    static CQtMessageService qtService;
    return qtService;
}

CMessageService* CMessageService::SetInstance(CMessageService* pService) {
    CMessageService* pOld = g_pService;
    g_pService = pService;
    return pOld;
}

int ShowMessage(const QString& strText, unsigned nFlags, int nButtonSet) {
    stMESSAGE message;
    message.strText = strText;
    message.nFlags = nFlags;
    message.nButtonSet = nButtonSet < 0 ? static_cast<int>(nFlags & MB_TYPEMASK) : nButtonSet;
    if (message.nButtonSet > 6) message.nButtonSet = 0;
    message.pParent = QApplication::activeModalWidget();
    if (!message.pParent) message.pParent = QApplication::activeWindow();
    return CMessageService::Instance().Show(message);
}

int ShowMessage(const std::string& strText, unsigned nFlags, int nButtonSet) {
    return ShowMessage(QString::fromStdString(strText), nFlags, nButtonSet);
}

int ShowMessage(const char* pszText, unsigned nFlags, int nButtonSet) {
    return ShowMessage(QString::fromUtf8(pszText ? pszText : ""), nFlags, nButtonSet);
}

int ShowMessage(int nStringId, unsigned nFlags, int nButtonSet) {
    return ShowMessage(QString::fromStdString(platform::LoadStr(nStringId)), nFlags, nButtonSet);
}
