#include "ui/ModalScript.h"

#include <cstdio>
#include <cstdlib>

CModalScript::CModalScript() {
    m_previous = CDialogBase::SetModalHook([this](CDialogBase& dlg) { Run(dlg); });
}

CModalScript::~CModalScript() {
    CDialogBase::SetModalHook(std::move(m_previous));
    for (const stSTEP& s : m_queue) Fail("expected dialog " + std::to_string(s.nTemplateId) + " never ran");
}

CModalScript& CModalScript::Expect(int nTemplateId, Action action) {
    m_queue.push_back({nTemplateId, std::move(action)});
    return *this;
}

void CModalScript::Fail(const std::string& strProblem) {
    if (m_fnFailure) {
        m_fnFailure(strProblem);
        return;
    }
    std::fprintf(stderr, "CModalScript: %s\n", strProblem.c_str());
    std::fflush(stderr);
    std::abort();
}

void CModalScript::Run(CDialogBase& dlg) {
    m_vecSeen.push_back(dlg.TemplateId());
    if (m_queue.empty() || m_queue.front().nTemplateId != dlg.TemplateId()) {
        Fail("unexpected dialog " + std::to_string(dlg.TemplateId()) +
             (m_queue.empty() ? std::string() : ", expected " + std::to_string(m_queue.front().nTemplateId)));
        dlg.EndDialog(IDCANCEL);
        return;
    }
    stSTEP step = std::move(m_queue.front());
    m_queue.pop_front();
    if (step.action) step.action(dlg);
}
