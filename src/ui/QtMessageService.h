#pragma once
#include <QMessageBox>
#include <map>
#include <memory>

#include "ui/MessageService.h"

// The real message service: a QMessageBox titled with string 57344, with the
// icon of the flags, the buttons of the set in their order with the captions
// of the current string table, and the interface font on the box and on every
// button. Escape answers as MessageEscapeId says; in Yes/No and
// Abort/Retry/Ignore boxes it does nothing, and neither does the close box.
class CQtMessageService : public CMessageService {
public:
    int Show(const stMESSAGE& message) override;

    // Builds the box without showing it; mapIds receives the id of every button.
    static std::unique_ptr<QMessageBox> CreateBox(const stMESSAGE& message, std::map<QAbstractButton*, int>& mapIds);
};
