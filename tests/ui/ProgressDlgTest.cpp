#include <QLabel>
#include <QProgressBar>
#include <QtTest/QTest>

#include "UiTestSupport.h"
#include "ui/ContinueFlag.h"
#include "ui/ProgressDlg.h"

namespace {

class ProgressDlgTest : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        CContinueFlag::Bind(&m_bContinue);
    }
    void TearDown() override {
        CContinueFlag::Bind(nullptr);
        UiTest::TearDown();
    }
    int m_bContinue = 1;
};

TEST_F(ProgressDlgTest, ShowsCaptionTextAndBoldStatic) {
    CProgressDlg dlg(nullptr, QStringLiteral("Copying ..."), QStringLiteral("first"));
    ASSERT_TRUE(dlg.Create());
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("Copying ..."));
    ASSERT_NE(dlg.Static(), nullptr);
    ASSERT_NE(dlg.Bar(), nullptr);
    EXPECT_EQ(dlg.Static()->text(), QStringLiteral("first"));
    EXPECT_EQ(dlg.Static()->font().weight(), QFont::Bold);
    EXPECT_EQ(dlg.Static()->width(), dlg.Client()->width());
    EXPECT_EQ(dlg.Pos(), 0);
    dlg.SetText(QStringLiteral("/media/card/Log/MTR0001/a&b.csv"));
    EXPECT_EQ(dlg.Static()->text(), QStringLiteral("/media/card/Log/MTR0001/a&b.csv"));  // paths shown as they are
}

TEST_F(ProgressDlgTest, BarSettingsAndSteps) {
    CProgressDlg dlg(nullptr, QStringLiteral("Loading data files ..."), QStringLiteral("Loading graph data ..."));
    ASSERT_TRUE(dlg.Create());
    dlg.SetBarColor(0x00FF00);
    EXPECT_EQ(dlg.Bar()->palette().color(QPalette::Highlight), QColor(0, 255, 0));
    dlg.SetBarColor(0x0000FF);  // a colour value is 0x00BBGGRR
    EXPECT_EQ(dlg.Bar()->palette().color(QPalette::Highlight), QColor(255, 0, 0));
    dlg.SetRange(0, 99);
    dlg.SetPos(0);
    dlg.SetStep(1);
    for (int i = 0; i < 99; ++i) dlg.StepIt();
    EXPECT_EQ(dlg.Pos(), 99);
    dlg.StepIt();  // past the end the bar starts again
    EXPECT_EQ(dlg.Pos(), 0);
    dlg.SetPos(500);
    EXPECT_EQ(dlg.Pos(), 99);
}

TEST_F(ProgressDlgTest, EscapeAndCloseOnlyClearTheFlag) {
    CProgressDlg dlg(nullptr, QStringLiteral("Copying ..."), QString());
    ASSERT_TRUE(dlg.Create());
    dlg.show();
    QTest::keyClick(&dlg, Qt::Key_Return);  // Enter does nothing
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_EQ(m_bContinue, 1);

    QTest::keyClick(&dlg, Qt::Key_Escape);
    EXPECT_EQ(m_bContinue, 0);
    EXPECT_TRUE(dlg.isVisible());

    m_bContinue = 1;
    dlg.close();
    EXPECT_EQ(m_bContinue, 0);
    EXPECT_TRUE(dlg.isVisible());
}

TEST_F(ProgressDlgTest, FlagWorksUnbound) {
    CContinueFlag::Bind(nullptr);
    CContinueFlag::Set(1);
    EXPECT_EQ(CContinueFlag::Get(), 1);
    CContinueFlag::Clear();
    EXPECT_EQ(CContinueFlag::Get(), 0);
    EXPECT_EQ(m_bContinue, 1);  // the bound flag is left alone
}

}  // namespace
