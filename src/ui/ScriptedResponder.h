#pragma once
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "ui/MessageService.h"

// A message service for tests: answers the program's questions from a script
// (expected text -> button id) and fails loudly on a question it does not
// expect, on an answer that is not a button of the box, and on expectations
// left unasked when it goes away. It installs itself on construction and puts
// the previous service back on destruction.
//
//   CScriptedResponder responder;
//   responder.Expect("Finishing.OK?", IDYES);
//   ... run the code that asks ...
//   EXPECT_EQ(responder.Pending(), 0);
//
// Failures go to the failure handler: by default it prints the problem and
// aborts the process; GoogleTest code sets one that reports ADD_FAILURE().
class CScriptedResponder : public CMessageService {
public:
    using FailureHandler = std::function<void(const std::string& strProblem)>;

    CScriptedResponder();
    ~CScriptedResponder() override;
    CScriptedResponder(const CScriptedResponder&) = delete;
    CScriptedResponder& operator=(const CScriptedResponder&) = delete;

    // The next message must have exactly this text.
    CScriptedResponder& Expect(const QString& strText, int nAnswer);
    // The next message must contain this text.
    CScriptedResponder& ExpectContaining(const QString& strFragment, int nAnswer);

    int Show(const stMESSAGE& message) override;

    // Every message shown so far, in order.
    const std::vector<stMESSAGE>& Shown() const { return m_vecShown; }
    // Expectations not asked yet.
    int Pending() const { return static_cast<int>(m_queue.size()); }

    void SetFailureHandler(FailureHandler handler) { m_fnFailure = std::move(handler); }
    // The handler new responders start with (nullptr: print and abort).
    static void SetDefaultFailureHandler(FailureHandler handler);

private:
    struct stEXPECT {
        QString strText;
        bool bContaining;
        int nAnswer;
    };
    std::deque<stEXPECT> m_queue;
    std::vector<stMESSAGE> m_vecShown;
    FailureHandler m_fnFailure;
    CMessageService* m_pPrevious = nullptr;

    void Fail(const std::string& strProblem);
};
