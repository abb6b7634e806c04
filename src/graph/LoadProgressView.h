#pragma once
#include <string>

// What a graph load shows while it runs: the progress dialog on screen, nothing in the
// command-line tool, a script in tests. The go-on flag (the application's m_bContinue) is reached
// through it too, so the loading itself needs no window system.
class CLoadProgressView {
public:
    virtual ~CLoadProgressView() = default;
    // Creates and shows the progress window with a caption and a text.
    virtual void Open(const std::string& strCaption, const std::string& strText) = 0;
    // Green bar, range 0 .. nMax, position 0, step 1.
    virtual void SetRange(int nMax) = 0;
    // Advances the bar by nSteps steps (0: none) and lets waiting window messages through, so
    // that Cancel can act.
    virtual void Step(int nSteps) = 0;
    // Closes and destroys the progress window.
    virtual void Close() = 0;
    // The go-on flag: set to true when a load starts, cleared by Cancel.
    virtual bool Continue() const = 0;
    virtual void SetContinue(bool bContinue) = 0;
};

// A load without a window (the command-line tool): never cancelled.
class CSilentProgressView : public CLoadProgressView {
public:
    void Open(const std::string&, const std::string&) override {}
    void SetRange(int) override {}
    void Step(int) override {}
    void Close() override {}
    bool Continue() const override { return m_bContinue; }
    void SetContinue(bool bContinue) override { m_bContinue = bContinue; }

private:
    bool m_bContinue = true;
};
