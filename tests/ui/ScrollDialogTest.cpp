#include <QPushButton>
#include <QScrollBar>
#include <QWheelEvent>
#include <QtTest/QTest>

#include "UiTestSupport.h"
#include "ui/ScrollDialog.h"

namespace {

// 200 x 100 dialog units = 300 x 162 pixels.
const char* const kScrollDialog = R"(
DIALOG 910 0 0 200 100 "Scroll" RESIZABLE
  CONTROL 1 BUTTON 0 0 20 10 "OK" HIDDEN DEFAULT
  CONTROL 1000 BUTTON 100 80 40 14 "Bottom"
END
)";

class ScrollDialogTest : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        platform::SetCurrentResources(ModuleWith(kScrollDialog));
        ASSERT_TRUE(m_dlg.Build());
        m_dlg.show();  // resize events reach shown windows only
    }
    CScrollDialog m_dlg{910};
    QWidget* Bottom() const { return m_dlg.GetDlgItem(1000); }
};

TEST_F(ScrollDialogTest, StartsWithoutBarsAndTheWindowAsContent) {
    EXPECT_EQ(m_dlg.ContentSize(), QSize(300, 162));
    EXPECT_FALSE(m_dlg.IsHorzActive());
    EXPECT_FALSE(m_dlg.IsVertActive());
    EXPECT_TRUE(m_dlg.VertBar()->isHidden());
}

struct SizeCase {
    int cx, cy;
    bool bHorz, bVert;
    int nHorzMax, nVertMax;
};

class ScrollRangeTest : public ScrollDialogTest, public ::testing::WithParamInterface<SizeCase> {};

TEST_P(ScrollRangeTest, RangeIsTheMissingSizePlusTen) {
    const SizeCase& c = GetParam();
    m_dlg.resize(c.cx, c.cy);
    EXPECT_EQ(m_dlg.IsHorzActive(), c.bHorz);
    EXPECT_EQ(m_dlg.IsVertActive(), c.bVert);
    EXPECT_EQ(m_dlg.VertBar()->isHidden(), !c.bVert);
    EXPECT_EQ(m_dlg.HorzBar()->isHidden(), !c.bHorz);
    if (c.bHorz) {
        EXPECT_EQ(m_dlg.HorzMax(), c.nHorzMax);
    }
    if (c.bVert) {
        EXPECT_EQ(m_dlg.VertMax(), c.nVertMax);
    }
}

INSTANTIATE_TEST_SUITE_P(Sizes, ScrollRangeTest,
                         ::testing::Values(SizeCase{300, 162, false, false, 0, 0},
                                           SizeCase{400, 300, false, false, 0, 0},
                                           SizeCase{300, 100, false, true, 0, 72},
                                           SizeCase{250, 162, true, false, 60, 0},
                                           SizeCase{200, 150, true, true, 110, 22}));

TEST_F(ScrollDialogTest, StepsMoveTheControls) {
    m_dlg.resize(300, 100);
    const int nTop = Bottom()->y();
    QScrollBar* pBar = m_dlg.VertBar();
    pBar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(m_dlg.VertPos(), 1);
    pBar->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(m_dlg.VertPos(), 11);
    EXPECT_EQ(Bottom()->y(), nTop - 11);
    pBar->triggerAction(QAbstractSlider::SliderPageStepSub);
    pBar->triggerAction(QAbstractSlider::SliderSingleStepSub);
    pBar->triggerAction(QAbstractSlider::SliderSingleStepSub);  // clamped at 0
    EXPECT_EQ(m_dlg.VertPos(), 0);
    EXPECT_EQ(Bottom()->y(), nTop);
    pBar->setSliderPosition(72);  // dragging the thumb scrolls at once
    EXPECT_EQ(m_dlg.VertPos(), 72);
    EXPECT_EQ(Bottom()->y(), nTop - 72);
}

TEST_F(ScrollDialogTest, WheelAndArrowKeysScrollThreePixels) {
    m_dlg.resize(300, 100);
    QWheelEvent down(QPointF(10, 10), QPointF(10, 10), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                     Qt::NoScrollPhase, false);
    QApplication::sendEvent(&m_dlg, &down);
    EXPECT_EQ(m_dlg.VertPos(), 3);
    QWheelEvent up(QPointF(10, 10), QPointF(10, 10), QPoint(), QPoint(0, 120), Qt::NoButton, Qt::NoModifier,
                   Qt::NoScrollPhase, false);
    QApplication::sendEvent(&m_dlg, &up);
    QApplication::sendEvent(&m_dlg, &up);
    EXPECT_EQ(m_dlg.VertPos(), 0);
    QTest::keyClick(&m_dlg, Qt::Key_Down);
    QTest::keyClick(&m_dlg, Qt::Key_Down);
    EXPECT_EQ(m_dlg.VertPos(), 6);
    QTest::keyClick(&m_dlg, Qt::Key_Right);  // no horizontal bar
    EXPECT_EQ(m_dlg.HorzPos(), 0);
}

TEST_F(ScrollDialogTest, ArrowKeysScrollAlsoWhenAButtonHasTheFocus) {
    // The big windows nearly always have a picture button focused; the arrows must scroll there too,
    // once per key, whether the button passes the key on or uses it to move the focus.
    m_dlg.resize(200, 100);
    m_dlg.activateWindow();
    Bottom()->setFocus();
    QTest::keyClick(Bottom(), Qt::Key_Down);
    EXPECT_EQ(m_dlg.VertPos(), 3);
    QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : Bottom(), Qt::Key_Right);
    EXPECT_EQ(m_dlg.HorzPos(), 3);
    QTest::keyClick(&m_dlg, Qt::Key_Up);
    EXPECT_EQ(m_dlg.VertPos(), 0);
}

TEST_F(ScrollDialogTest, WheelScrollsHorizontallyWithoutVerticalBar) {
    m_dlg.resize(250, 162);
    QWheelEvent down(QPointF(10, 10), QPointF(10, 10), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                     Qt::NoScrollPhase, false);
    QApplication::sendEvent(&m_dlg, &down);
    EXPECT_EQ(m_dlg.HorzPos(), 3);
    EXPECT_EQ(m_dlg.VertPos(), 0);
}

TEST_F(ScrollDialogTest, ResizeKeepsTheRelativePlaceAndGrowingResets) {
    const int nTop = Bottom()->y();
    m_dlg.resize(300, 100);  // range 0..72
    m_dlg.VertBar()->setValue(36);
    m_dlg.resize(300, 132);  // range 0..40: half way is 20
    EXPECT_EQ(m_dlg.VertMax(), 40);
    EXPECT_EQ(m_dlg.VertPos(), 20);
    EXPECT_EQ(Bottom()->y(), nTop - 20);
    m_dlg.resize(300, 200);
    EXPECT_FALSE(m_dlg.IsVertActive());
    EXPECT_EQ(m_dlg.VertPos(), 0);
    EXPECT_EQ(Bottom()->y(), nTop);
}

}  // namespace
