#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QtTest/QTest>

#include "UiTestSupport.h"
#include "ui/IconResources.h"
#include "ui/ThemeHelperST.h"
#include "ui/XPStyleButtonST.h"

namespace {

// A solid red icon is easy to find in the rendered button.
QIcon RedIcon() {
    QPixmap pixmap(32, 32);
    pixmap.fill(QColor(255, 0, 0));
    return QIcon(pixmap);
}

bool IsRed(QRgb rgb) {
    return qRed(rgb) > 200 && qGreen(rgb) < 60 && qBlue(rgb) < 60;
}

// The bounding box of the red pixels.
QRect RedArea(const QImage& image) {
    QRect area;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (IsRed(image.pixel(x, y))) area |= QRect(x, y, 1, 1);
    return area;
}

class ButtonTest : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        m_button.resize(200, 120);
        m_button.setText(QStringLiteral("Create a graph"));
        m_button.SetIcon(RedIcon(), QSize(32, 32));
        m_theme.SetThemed(false);
        m_button.SetThemeHelper(&m_theme);
    }
    QImage Render() {
        QImage image(m_button.size(), QImage::Format_RGB32);
        image.fill(Qt::white);
        m_button.render(&image);
        return image;
    }
    CThemeHelperST m_theme;
    QWidget m_window;  // before the button: the button goes first
    CXPStyleButtonST m_button;
};

struct AlignCase {
    const char* name;
    int nAlign;
    bool bCaption;
    QRect expected;  // where the icon lands in a 200 x 120 button
};

class ButtonAlignTest : public ButtonTest, public ::testing::WithParamInterface<AlignCase> {};

TEST_P(ButtonAlignTest, IconSitsOnItsSide) {
    const AlignCase& c = GetParam();
    m_button.SetAlign(c.nAlign);
    if (!c.bCaption) m_button.setText(QString());
    EXPECT_EQ(m_button.IconRect(), c.expected);
    EXPECT_EQ(RedArea(Render()), c.expected);
    const QRect rcCaption = m_button.CaptionRect();
    if (c.bCaption) {
        EXPECT_FALSE(rcCaption.intersects(c.expected));
    }
}

INSTANTIATE_TEST_SUITE_P(Sides, ButtonAlignTest,
                         ::testing::Values(AlignCase{"Left", 0, true, QRect(3, 44, 32, 32)},
                                           AlignCase{"Above", 1, true, QRect(84, 3, 32, 32)},
                                           AlignCase{"Right", 2, true, QRect(165, 44, 32, 32)},
                                           AlignCase{"CentredWithoutCaption", 0, false, QRect(84, 44, 32, 32)}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ButtonTest, PressedMovesIconByTheOffset) {
    const QRect rcNormal = RedArea(Render());
    m_button.setDown(true);
    EXPECT_EQ(RedArea(Render()), rcNormal.translated(1, 1));
}

TEST_F(ButtonTest, DisabledGreysTheIconAndEmbossesTheCaption) {
    m_button.setEnabled(false);
    const QImage image = Render();
    EXPECT_TRUE(RedArea(image).isNull());  // no red left: the icon is greyed
    // The embossed caption has highlight pixels right below/right of shadow pixels.
    const QRgb light = m_button.palette().color(QPalette::Light).rgb();
    const QRgb dark = m_button.palette().color(QPalette::Dark).rgb();
    const QRect rcCaption = m_button.CaptionRect();
    int nLight = 0, nDark = 0;
    for (int y = rcCaption.top(); y <= rcCaption.bottom(); ++y)
        for (int x = rcCaption.left(); x <= rcCaption.right(); ++x) {
            const QRgb px = image.pixel(x, y);
            if (px == light) ++nLight;
            if (px == dark) ++nDark;
        }
    EXPECT_GT(nDark, 10);
    EXPECT_GT(nLight, 0);
}

TEST_F(ButtonTest, PlainFaceHasRaisedBorderAndButtonFace) {
    const QImage image = Render();
    const QPalette& pal = m_button.palette();
    EXPECT_EQ(image.pixel(0, 0), pal.color(QPalette::Light).rgb());
    EXPECT_EQ(image.pixel(199, 119), pal.color(QPalette::Shadow).rgb());
    EXPECT_EQ(image.pixel(100, 118), pal.color(QPalette::Dark).rgb());
    EXPECT_EQ(image.pixel(1, 50), pal.color(QPalette::Midlight).rgb());
    EXPECT_EQ(image.pixel(10, 5), pal.color(QPalette::Button).rgb());
    m_button.setDown(true);
    const QImage pressed = Render();
    EXPECT_EQ(pressed.pixel(0, 0), pal.color(QPalette::Dark).rgb());  // a shadow frame while pressed
    EXPECT_EQ(pressed.pixel(199, 119), pal.color(QPalette::Dark).rgb());
}

TEST_F(ButtonTest, ThemedFaceIsDrawnByTheStyle) {
    const QImage plain = Render();
    m_theme.SetThemed(true);
    EXPECT_TRUE(m_button.IsThemed());
    const QImage themed = Render();
    EXPECT_NE(plain, themed);
    EXPECT_EQ(RedArea(themed), RedArea(plain));  // the icon is placed the same way
    m_button.SetThemeHelper(nullptr);
    EXPECT_FALSE(m_button.IsThemed());
}

TEST_F(ButtonTest, StateColoursAreUsed) {
    m_button.SetColor(CButtonST::BTNST_COLOR_BK_IN, QColor(0, 0, 255));
    m_button.SetColor(CButtonST::BTNST_COLOR_BK_OUT, QColor(0, 128, 0));
    EXPECT_EQ(Render().pixel(10, 5), qRgb(0, 128, 0));
    m_button.setDown(true);
    EXPECT_EQ(Render().pixel(10, 5), qRgb(0, 0, 255));
    EXPECT_EQ(m_button.GetColor(CButtonST::BTNST_COLOR_FG_OUT), m_button.palette().color(QPalette::ButtonText));
    EXPECT_FALSE(m_button.GetColor(99).isValid());
}

TEST_F(ButtonTest, FocusRectangleThreePixelsInside) {
    m_button.setParent(&m_window);
    m_window.show();
    QApplication::setActiveWindow(&m_window);
    m_button.setFocus();
    ASSERT_TRUE(m_button.hasFocus());
    m_button.setText(QString());
    m_button.SetIcon(QIcon(), QSize());
    const QImage focused = Render();
    m_button.clearFocus();
    const QImage plain = Render();
    // Only the ring 3 pixels inside the edge differs.
    int nDiffOnRing = 0, nDiffElsewhere = 0;
    for (int y = 0; y < 120; ++y)
        for (int x = 0; x < 200; ++x) {
            if (focused.pixel(x, y) == plain.pixel(x, y)) continue;
            const bool bRing =
                ((x == 3 || x == 196) && y >= 3 && y <= 116) || ((y == 3 || y == 116) && x >= 3 && x <= 196);
            (bRing ? nDiffOnRing : nDiffElsewhere)++;
        }
    EXPECT_GT(nDiffOnRing, 100);
    EXPECT_EQ(nDiffElsewhere, 0);
}

TEST_F(ButtonTest, LongCaptionWrapsAndStaysCentred) {
    m_button.setText(QStringLiteral("Configuration for price conversion factor"));
    m_button.SetIcon(QIcon(), QSize());
    m_button.resize(150, 120);
    const QImage image = Render();
    const QPalette& pal = m_button.palette();
    const QRgb face = pal.color(QPalette::Button).rgb();
    QRect text;
    for (int y = 3; y < 117; ++y)
        for (int x = 3; x < 147; ++x)
            if (image.pixel(x, y) != face) text |= QRect(x, y, 1, 1);
    ASSERT_FALSE(text.isNull());
    EXPECT_GT(text.height(), QFontMetrics(m_button.font()).height());  // more than one line
    EXPECT_LE(text.width(), 150 - 6);
    EXPECT_NEAR(text.center().x(), 75, 4);
    EXPECT_NEAR(text.center().y(), 60, 4);
}

TEST_F(ButtonTest, HotTrackingFollowsTheMouse) {
    m_button.setParent(&m_window);
    m_window.show();
    QApplication::setActiveWindow(&m_window);
    ASSERT_TRUE(m_window.isActiveWindow());
    QMouseEvent move(QEvent::MouseMove, QPointF(20, 20), QPointF(20, 20), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&m_button, &move);
    EXPECT_TRUE(m_button.IsMouseOver());
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&m_button, &leave);
    EXPECT_FALSE(m_button.IsMouseOver());
    QApplication::sendEvent(&m_button, &move);
    m_button.setEnabled(false);
    EXPECT_FALSE(m_button.IsMouseOver());
}

TEST_F(ButtonTest, DoubleClickCountsAsSecondClick) {
    int nClicks = 0;
    QObject::connect(&m_button, &QPushButton::clicked, [&] { ++nClicks; });
    m_button.setParent(&m_window);
    m_window.show();
    const QPointF pt(20, 20);
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease, QEvent::MouseButtonDblClick,
                              QEvent::MouseButtonRelease}) {
        const bool bDown = type != QEvent::MouseButtonRelease;
        QMouseEvent event(type, pt, m_button.mapToGlobal(pt), Qt::LeftButton, bDown ? Qt::LeftButton : Qt::NoButton,
                          Qt::NoModifier);
        QApplication::sendEvent(&m_button, &event);
    }
    EXPECT_EQ(nClicks, 2);
}

TEST_F(ButtonTest, AlignmentOutsideTheRangeIsIgnored) {
    m_button.SetAlign(1);
    m_button.SetAlign(3);
    m_button.SetAlign(-1);
    EXPECT_EQ(m_button.Align(), 1);
}

struct IconCase {
    int nId;
    QSize size;
};

class IconResourceTest : public UiTest, public ::testing::WithParamInterface<IconCase> {};

TEST_P(IconResourceTest, LoadsAndRenders) {
    const QIcon icon = LoadIconRes(GetParam().nId);
    ASSERT_FALSE(icon.isNull()) << GetParam().nId;
    EXPECT_EQ(IconResSize(GetParam().nId), GetParam().size);
    const QImage image = icon.pixmap(GetParam().size).toImage();
    ASSERT_FALSE(image.isNull());
    // Something is drawn.
    bool bPainted = false;
    for (int y = 0; y < image.height() && !bPainted; ++y)
        for (int x = 0; x < image.width() && !bPainted; ++x) bPainted = qAlpha(image.pixel(x, y)) > 0;
    EXPECT_TRUE(bPainted);
}

INSTANTIATE_TEST_SUITE_P(Icons, IconResourceTest,
                         ::testing::Values(IconCase{128, {32, 32}}, IconCase{157, {24, 24}}, IconCase{158, {24, 24}},
                                           IconCase{162, {32, 32}}, IconCase{168, {32, 32}}, IconCase{169, {48, 48}},
                                           IconCase{170, {48, 48}}, IconCase{171, {96, 96}}, IconCase{172, {96, 96}},
                                           IconCase{180, {48, 48}}, IconCase{181, {64, 64}}, IconCase{183, {32, 32}}));

TEST_F(ButtonTest, UnknownIconIsNull) {
    EXPECT_TRUE(LoadIconRes(4711).isNull());
    EXPECT_EQ(IconResSize(4711), QSize(32, 32));
    m_button.SetIcon(4711);
    EXPECT_TRUE(m_button.IconRect().isNull());
}

}  // namespace
