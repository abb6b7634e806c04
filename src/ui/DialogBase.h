#pragma once
#include <QDialog>
#include <functional>
#include <map>

#include "platform/ResourceModule.h"
#include "ui/MessageService.h"

class QMenuBar;

// The base of every dialog of the program: a QDialog built from a dialog
// template (by id) of the current resource module, with its controls created
// at their pixel rectangles (dialog units x * 3 / 2, y * 13 / 8) and reachable
// by id, and command handlers keyed by id.
//
// Life of a dialog, as the program uses it:
//   CMyDlg dlg(parent);          // the constructor only remembers the template
//   int n = dlg.DoModal();       // builds, runs OnInitDialog, runs modally:
//                                // IDOK (1), IDCANCEL (2), -1 when refused
// or modeless: dlg.Create(parent) builds it (CHILD templates become a page
// inside the parent), the caller shows, moves and deletes it.
//
// Controls (class words of the template, see platform/ResourceModule.h):
// BUTTON -> QPushButton (flag PICTURE: CXPStyleButtonST, flag DEFAULT: the
// default button), CHECKBOX -> QCheckBox, RADIO -> QRadioButton (a GROUP flag
// starts a new exclusive group), STATIC -> QLabel (word-wrapped, CENTER/RIGHT),
// EDIT -> QLineEdit, COMBOBOX -> QComboBox, LISTBOX -> QListWidget, GROUPBOX ->
// QGroupBox, PROGRESS -> QProgressBar, DATETIME -> QDateEdit, FRAME -> QFrame
// (ETCHEDHORZ: a sunken line), anything else -> an empty QWidget. A derived
// dialog may create its own widget for a control by overriding CreateControl.
//
// Commands: clicks of buttons, check boxes and radios and menu items call
// OnCommand(id), which runs the handler set with SetCommandHandler, and
// otherwise OnOK for 1 and OnCancel for 2. Enter runs the command of the
// focused push button, else of the default button (the DEFAULT control, else
// 1) even when it is hidden; Escape and the close box run command 2. Both key
// routes are virtual (OnEnterKey, OnEscapeKey) for dialogs that differ.
//
// The interface font (CUiContext::InterfaceFont) is set on the dialog when it
// is built; controls inherit it unless a dialog sets its own fonts.
class CDialogBase : public QDialog {
    Q_OBJECT
public:
    explicit CDialogBase(int nTemplateId, QWidget* pParent = nullptr);
    ~CDialogBase() override;

    int TemplateId() const { return m_nTemplateId; }
    // The template the dialog was built from; nullptr before Build or when missing.
    const platform::stDLGTEMPLATE* Template() const { return m_pTemplate; }

    // Creates the controls and runs OnInitDialog, once. False when the template
    // is missing or OnInitDialog refused (or ended the dialog).
    bool Build();
    bool IsBuilt() const { return m_bBuilt; }
    // Builds and runs the dialog modally. Returns the EndDialog result, or -1
    // when the dialog could not be built or refused in OnInitDialog.
    int DoModal();
    // Builds the dialog as a modeless window (or as a page inside pParent when the
    // template has the CHILD flag). The caller shows it. False when refused.
    bool Create(QWidget* pParent = nullptr);
    // Ends the dialog with a result (modal) or hides it (modeless).
    void EndDialog(int nResult);
    int Result() const { return m_nResult; }

    QWidget* GetDlgItem(int nId) const;
    template <class T>
    T* Item(int nId) const {
        return qobject_cast<T*>(GetDlgItem(nId));
    }
    void SetDlgItemText(int nId, const QString& strText);
    QString GetDlgItemText(int nId) const;
    // The widget the controls live on (the whole dialog below the menu bar).
    QWidget* Client() const { return m_pClient; }
    QMenuBar* MenuBar() const { return m_pMenuBar; }
    // Client pixels of a rectangle in dialog units.
    static QRect DluRect(int x, int y, int cx, int cy);

    // Runs the command of a control or menu item as a click does.
    bool SendCommand(int nId) { return OnCommand(nId); }
    void SetCommandHandler(int nId, std::function<void()> handler);

    // Tests: a function called with every dialog that starts running modally,
    // once its event loop runs (see CModalScript). Returns the previous hook.
    using ModalHook = std::function<void(CDialogBase&)>;
    static ModalHook SetModalHook(ModalHook hook);

protected:
    // Called once the controls exist. Return false to refuse the dialog (DoModal
    // then gives -1). The base does nothing and returns true.
    virtual bool OnInitDialog();
    virtual QWidget* CreateControl(const platform::stDLGCONTROL& control, QWidget* pParent);
    virtual bool OnCommand(int nId);
    virtual void OnOK();      // EndDialog(IDOK)
    virtual void OnCancel();  // EndDialog(IDCANCEL)
    virtual void OnEnterKey();
    virtual void OnEscapeKey();  // command 2
    // The id Enter runs when no push button has the focus.
    int DefaultButtonId() const;

    void keyPressEvent(QKeyEvent* pEvent) override;
    void closeEvent(QCloseEvent* pEvent) override;
    void resizeEvent(QResizeEvent* pEvent) override;
    void reject() override;
    void accept() override;

private:
    int m_nTemplateId;
    const platform::stDLGTEMPLATE* m_pTemplate = nullptr;
    std::shared_ptr<const platform::CResourceModule> m_module;  // keeps the template alive
    bool m_bBuilt = false;
    bool m_bBuildResult = false;
    bool m_bEnded = false;
    bool m_bRunning = false;
    int m_nResult = 0;
    QWidget* m_pClient = nullptr;
    QMenuBar* m_pMenuBar = nullptr;
    std::map<int, QWidget*> m_mapItems;
    std::map<int, std::function<void()>> m_mapHandlers;

    void CreateControls();
    void BuildMenuBar(int nMenuId);
    void LayoutChildren();
};
