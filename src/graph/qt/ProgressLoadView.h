#pragma once
#include <memory>

#include "graph/LoadProgressView.h"

class QWidget;
class CProgressDlg;

// The graph loading's progress on screen: the modeless progress dialog centred over the graph
// window, a green bar, and waiting window messages let through at every step so that Escape or
// the close box can cancel. The go-on flag is the application's (CContinueFlag).
class CProgressLoadView : public CLoadProgressView {
public:
    explicit CProgressLoadView(QWidget* pOwner);
    ~CProgressLoadView() override;

    void Open(const std::string& strCaption, const std::string& strText) override;
    void SetRange(int nMax) override;
    void Step(int nSteps) override;
    void Close() override;
    bool Continue() const override;
    void SetContinue(bool bContinue) override;

    CProgressDlg* Dialog() const { return m_pDlg.get(); }

private:
    QWidget* m_pOwner;
    std::unique_ptr<CProgressDlg> m_pDlg;
    int m_nMax = 0;
};
