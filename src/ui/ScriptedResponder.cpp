#include "ui/ScriptedResponder.h"

#include <cstdio>
#include <cstdlib>

namespace {

CScriptedResponder::FailureHandler& DefaultHandler() {
    static CScriptedResponder::FailureHandler handler;
    return handler;
}

std::string Quote(const QString& str) {
    return "\"" + str.toStdString() + "\"";
}

}  // namespace

CScriptedResponder::CScriptedResponder() : m_fnFailure(DefaultHandler()) {
    m_pPrevious = CMessageService::SetInstance(this);
}

CScriptedResponder::~CScriptedResponder() {
    CMessageService::SetInstance(m_pPrevious);
    for (const stEXPECT& e : m_queue) Fail("expected message was never shown: " + Quote(e.strText));
}

void CScriptedResponder::SetDefaultFailureHandler(FailureHandler handler) {
    DefaultHandler() = std::move(handler);
}

CScriptedResponder& CScriptedResponder::Expect(const QString& strText, int nAnswer) {
    m_queue.push_back({strText, false, nAnswer});
    return *this;
}

CScriptedResponder& CScriptedResponder::ExpectContaining(const QString& strFragment, int nAnswer) {
    m_queue.push_back({strFragment, true, nAnswer});
    return *this;
}

void CScriptedResponder::Fail(const std::string& strProblem) {
    if (m_fnFailure) {
        m_fnFailure(strProblem);
        return;
    }
    std::fprintf(stderr, "CScriptedResponder: %s\n", strProblem.c_str());
    std::fflush(stderr);
    std::abort();
}

int CScriptedResponder::Show(const stMESSAGE& message) {
    m_vecShown.push_back(message);
    const int nEscape = MessageEscapeId(message.nButtonSet);
    const int nFallback = nEscape ? nEscape : MessageButtonSet(message.nButtonSet).back().nId;
    if (m_queue.empty()) {
        Fail("unexpected message: " + Quote(message.strText));
        return nFallback;
    }
    stEXPECT e = m_queue.front();
    m_queue.pop_front();
    bool bMatch = e.bContaining ? message.strText.contains(e.strText) : message.strText == e.strText;
    if (!bMatch) {
        Fail("expected message " + Quote(e.strText) + (e.bContaining ? " (part)" : "") + " but was shown " +
             Quote(message.strText));
        return nFallback;
    }
    for (const stMSGBUTTON& b : MessageButtonSet(message.nButtonSet))
        if (b.nId == e.nAnswer) return e.nAnswer;
    Fail("answer " + std::to_string(e.nAnswer) + " is no button of set " + std::to_string(message.nButtonSet) +
         " for " + Quote(message.strText));
    return nFallback;
}
