#pragma once
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "ui/DialogBase.h"

// Answers the program's modal dialogs in tests, as CScriptedResponder answers
// its message boxes: each expected dialog (by template id) gets an action that
// runs once the dialog's event loop runs, and must end it (EndDialog, or a
// command that ends it). A dialog that was not expected, in that order, is
// reported to the failure handler (default: print and abort) and cancelled.
//
//   CModalScript script;
//   script.Expect(100, [](CDialogBase& dlg) { dlg.SendCommand(IDOK); });
class CModalScript {
public:
    using Action = std::function<void(CDialogBase&)>;
    using FailureHandler = std::function<void(const std::string& strProblem)>;

    CModalScript();
    ~CModalScript();
    CModalScript(const CModalScript&) = delete;
    CModalScript& operator=(const CModalScript&) = delete;

    CModalScript& Expect(int nTemplateId, Action action);
    int Pending() const { return static_cast<int>(m_queue.size()); }
    // The template ids of the dialogs run so far.
    const std::vector<int>& Seen() const { return m_vecSeen; }
    void SetFailureHandler(FailureHandler handler) { m_fnFailure = std::move(handler); }

private:
    struct stSTEP {
        int nTemplateId;
        Action action;
    };
    std::deque<stSTEP> m_queue;
    std::vector<int> m_vecSeen;
    FailureHandler m_fnFailure;
    CDialogBase::ModalHook m_previous;

    void Run(CDialogBase& dlg);
    void Fail(const std::string& strProblem);
};
