#pragma once
#include <QString>
#include <string>
#include <vector>

class QWidget;

// Message boxes. Every message of the program goes through ShowMessage, which
// hands it to the current message service: the real one shows a QMessageBox
// with the program's own button captions (string table 81-89) and the
// interface font; tests install a CScriptedResponder instead.

// Flags: the button set (low four bits, equal to the set number), the icon and
// the default button.
enum : unsigned {
    MB_OK = 0,
    MB_OKCANCEL = 1,
    MB_ABORTRETRYIGNORE = 2,
    MB_YESNOCANCEL = 3,
    MB_YESNO = 4,
    MB_RETRYCANCEL = 5,
    MB_CANCELTRYCONTINUE = 6,
    MB_TYPEMASK = 0x0F,
    MB_ICONERROR = 0x10,
    MB_ICONQUESTION = 0x20,
    MB_ICONWARNING = 0x30,
    MB_ICONINFORMATION = 0x40,
    MB_ICONMASK = 0xF0,
    MB_DEFBUTTON1 = 0x000,
    MB_DEFBUTTON2 = 0x100,
    MB_DEFBUTTON3 = 0x200,
    MB_DEFMASK = 0xF00,
};

// Button ids: what ShowMessage returns, and the results of dialogs.
enum : int {
    IDOK = 1,
    IDCANCEL = 2,
    IDABORT = 3,
    IDRETRY = 4,
    IDIGNORE = 5,
    IDYES = 6,
    IDNO = 7,
    IDTRYAGAIN = 10,
    IDCONTINUE = 11,
};

// One button of a set: its id and the string number of its caption.
struct stMSGBUTTON {
    int nId;
    int nCaptionId;
};

// The buttons of set 0..6 in their order; a set outside that range is set 0.
std::vector<stMSGBUTTON> MessageButtonSet(int nButtonSet);
// The id a box of that set gives when it is dismissed with Escape; 0 when
// Escape does nothing (Abort/Retry/Ignore, Yes/No).
int MessageEscapeId(int nButtonSet);

struct stMESSAGE {
    QString strText;
    unsigned nFlags = MB_OK;
    int nButtonSet = 0;
    QWidget* pParent = nullptr;
};

class CMessageService {
public:
    virtual ~CMessageService() = default;
    // Shows the message and returns the id of the pressed button.
    virtual int Show(const stMESSAGE& message) = 0;

    // The service in use: the QMessageBox one unless one was installed.
    static CMessageService& Instance();
    // Installs a service (not owned) and returns the one it replaces; nullptr
    // goes back to the QMessageBox one.
    static CMessageService* SetInstance(CMessageService* pService);
};

// Shows a message (text, or a number of the current string table) with the
// flags; the button set is the flags' low four bits unless given. Returns the
// pressed button's id (IDOK, IDCANCEL, IDYES, ...). The box's title is string 57344.
int ShowMessage(const QString& strText, unsigned nFlags, int nButtonSet = -1);
int ShowMessage(const std::string& strText, unsigned nFlags, int nButtonSet = -1);
int ShowMessage(const char* pszText, unsigned nFlags, int nButtonSet = -1);
int ShowMessage(int nStringId, unsigned nFlags, int nButtonSet = -1);
