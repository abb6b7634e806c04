#include "ui/QtMessageService.h"

#include <QPushButton>

#include "platform/ResourceModule.h"
#include "ui/UiContext.h"

std::unique_ptr<QMessageBox> CQtMessageService::CreateBox(const stMESSAGE& message,
                                                          std::map<QAbstractButton*, int>& mapIds) {
    auto box = std::make_unique<QMessageBox>(message.pParent);
    box->setWindowTitle(QString::fromStdString(platform::LoadStr(57344)));
    box->setTextFormat(Qt::PlainText);
    box->setText(message.strText);
    switch (message.nFlags & MB_ICONMASK) {
        case MB_ICONERROR:
            box->setIcon(QMessageBox::Critical);
            break;
        case MB_ICONQUESTION:
            box->setIcon(QMessageBox::Question);
            break;
        case MB_ICONWARNING:
            box->setIcon(QMessageBox::Warning);
            break;
        case MB_ICONINFORMATION:
            box->setIcon(QMessageBox::Information);
            break;
        default:
            break;
    }
    const QFont font = CUiContext::InterfaceFont();
    box->setFont(font);
    // One role for all keeps the buttons in the order of the set.
    std::vector<QPushButton*> buttons;
    for (const stMSGBUTTON& b : MessageButtonSet(message.nButtonSet)) {
        QPushButton* pButton =
            box->addButton(QString::fromStdString(platform::LoadStr(b.nCaptionId)), QMessageBox::ActionRole);
        pButton->setFont(font);
        mapIds[pButton] = b.nId;
        buttons.push_back(pButton);
        if (b.nId == MessageEscapeId(message.nButtonSet)) box->setEscapeButton(pButton);
    }
    size_t nDefault = (message.nFlags & MB_DEFMASK) >> 8;
    box->setDefaultButton(buttons[nDefault < buttons.size() ? nDefault : 0]);
    return box;
}

int CQtMessageService::Show(const stMESSAGE& message) {
    std::map<QAbstractButton*, int> mapIds;
    auto box = CreateBox(message, mapIds);
    box->exec();
    auto it = mapIds.find(box->clickedButton());
    if (it != mapIds.end()) return it->second;
    // Closed without a button (only possible where Escape answers).
    int nEscape = MessageEscapeId(message.nButtonSet);
    if (nEscape) return nEscape;
    return message.nButtonSet == MB_ABORTRETRYIGNORE ? IDABORT : IDNO;
}
