#include <QFontDatabase>
#include <QFontMetrics>
#include <QLabel>

#include "UiTestSupport.h"
#include "ui/Fonts.h"

namespace {

using FontsTest = UiTest;

struct FaceCase {
    const char* face;
    const char* expected;
};

class FontSubstitutionTest : public UiTest, public ::testing::WithParamInterface<FaceCase> {};

TEST_P(FontSubstitutionTest, MapsToAnInstalledFace) {
    const QString strExpected = QString::fromLatin1(GetParam().expected);
    // Without the CJK fonts every face falls back to DejaVu Sans.
    const QString strWanted = QFontDatabase::hasFamily(strExpected) ? strExpected : QStringLiteral("DejaVu Sans");
    EXPECT_EQ(SubstituteFontFace(QString::fromLatin1(GetParam().face)), strWanted);
}

INSTANTIATE_TEST_SUITE_P(Faces, FontSubstitutionTest,
                         ::testing::Values(FaceCase{"MS UI Gothic", "Noto Sans CJK JP"},
                                           FaceCase{"ms ui gothic", "Noto Sans CJK JP"},
                                           FaceCase{"NSimSun", "Noto Sans CJK SC"},
                                           FaceCase{"No Such Face 123", "DejaVu Sans"}, FaceCase{"", "DejaVu Sans"}));

struct LanguageFontCase {
    int nSize;
    const char* face;
    int nPoints;
    const char* substituteOf;
};

class SetLanguageFontTest : public UiTest, public ::testing::WithParamInterface<LanguageFontCase> {};

TEST_P(SetLanguageFontTest, CreatesThePointFontAndSetsIt) {
    const LanguageFontCase& c = GetParam();
    QLabel label;
    QFont font;
    ASSERT_TRUE(SetLanguageFont(&label, &font, c.nSize, QString::fromLatin1(c.face)));
    EXPECT_EQ(font.pointSize(), c.nPoints);
    EXPECT_EQ(font.family(), SubstituteFontFace(QString::fromLatin1(c.substituteOf)));
    EXPECT_EQ(label.font(), font);
}

INSTANTIATE_TEST_SUITE_P(Cases, SetLanguageFontTest,
                         ::testing::Values(LanguageFontCase{0, "", 9, "MS UI Gothic"},
                                           LanguageFontCase{-5, "", 9, "MS UI Gothic"},
                                           LanguageFontCase{30, "MS UI Gothic", 30, "MS UI Gothic"},
                                           LanguageFontCase{18, "NSimSun", 18, "NSimSun"}));

TEST_F(FontsTest, SetLanguageFontWithoutFontObjectFails) {
    QLabel label;
    const QFont before = label.font();
    EXPECT_FALSE(SetLanguageFont(&label, nullptr, 9, QString()));
    EXPECT_EQ(label.font(), before);
    QFont font;
    EXPECT_TRUE(SetLanguageFont(nullptr, &font, 12, QString()));  // a font without a control is fine
    EXPECT_EQ(font.pointSize(), 12);
}

TEST_F(FontsTest, SetBoldFontSetsWeightCellHeightAndFace) {
    QLabel label;
    QFont font;
    ASSERT_TRUE(SetLanguageFont(&label, &font, 30, QStringLiteral("MS UI Gothic")));
    ASSERT_TRUE(SetBoldFont(&label, &font, 30, QString(), 700));
    EXPECT_EQ(font.weight(), QFont::Bold);
    EXPECT_EQ(label.font(), font);
    EXPECT_EQ(font.family(), SubstituteFontFace(QStringLiteral("MS UI Gothic")));  // face kept
    // The size is a cell height in pixels, as the dialogs were laid out for.
    EXPECT_NEAR(QFontMetrics(font).height(), 30, 2);

    ASSERT_TRUE(SetBoldFont(&label, &font, 0, QStringLiteral("NSimSun"), 100));
    EXPECT_EQ(font.weight(), QFont::Thin);
    EXPECT_NEAR(QFontMetrics(font).height(), 30, 2);  // size 0 keeps the height
    EXPECT_EQ(font.family(), SubstituteFontFace(QStringLiteral("NSimSun")));
}

TEST_F(FontsTest, SetBoldFontRefusesWithoutControlOrFont) {
    QFont font;
    font.setPointSize(11);
    EXPECT_FALSE(SetBoldFont(nullptr, &font, 18, QString(), 700));
    EXPECT_EQ(font.pointSize(), 11);
    QLabel label;
    EXPECT_FALSE(SetBoldFont(&label, nullptr, 18, QString(), 700));
}

TEST_F(FontsTest, InterfaceFontDefaultsToNinePointLanguageFace) {
    const QFont font = CUiContext::InterfaceFont();
    EXPECT_EQ(font.pointSize(), 9);
    EXPECT_EQ(font.family(), SubstituteFontFace(QStringLiteral("MS UI Gothic")));
}

}  // namespace
