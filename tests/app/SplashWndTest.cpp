// The splash bitmap: which files make a splash, and how the splash ends the start-up's wait.
#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QTest>

#include "AppTestSupport.h"
#include "BmpFixture.h"
#include "app/LumetraApp.h"
#include "app/SplashWnd.h"
#include "platform/RegistryStore.h"
#include "platform/ResourceModule.h"

namespace {

using apptest::MakeBmp;
using apptest::stBMPSPEC;

[[maybe_unused]] ::testing::Environment* const g_pQtEnv =
    ::testing::AddGlobalTestEnvironment(new apptest::CQtEnvironment);

struct stBITMAPCASE {
    const char* pszName;
    std::string strData;
    bool bUsable;
    int nWidth = 0;
    int nHeight = 0;
};

class SplashBitmapTest : public ::testing::TestWithParam<stBITMAPCASE> {};

TEST_P(SplashBitmapTest, AcceptsOnlyWholeBitmaps) {
    const stBITMAPCASE& c = GetParam();
    std::optional<QImage> image = CSplashWnd::DecodeBitmap(c.strData);
    ASSERT_EQ(image.has_value(), c.bUsable);
    if (image) {
        EXPECT_EQ(image->width(), c.nWidth);
        EXPECT_EQ(image->height(), c.nHeight);
    }
}

stBMPSPEC BmpOf(int nWidth, int nHeight, int nBits, uint32_t nColours, uint32_t nEntries) {
    stBMPSPEC bmp;
    bmp.nWidth = nWidth;
    bmp.nHeight = nHeight;
    bmp.nBits = nBits;
    bmp.nColours = nColours;
    bmp.nTableEntries = nEntries;
    return bmp;
}

std::string WithSignature(const char* pszSignature) {
    stBMPSPEC bmp = BmpOf(4, 3, 8, 0, 256);
    bmp.pszSignature = pszSignature;
    return MakeBmp(bmp);
}

std::string Cut(std::string s, size_t nBytes) {
    s.resize(std::min(s.size(), nBytes));
    return s;
}

std::string WithHeaderSize(uint32_t nSize) {
    stBMPSPEC bmp = BmpOf(4, 3, 24, 0, 0);
    bmp.nHeaderSize = nSize;
    return MakeBmp(bmp);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SplashBitmapTest,
    ::
        testing::
            Values(stBITMAPCASE{"EightBitFullTable", MakeBmp(BmpOf(4, 3, 8, 0, 256)), true, 4, 3},
                   stBITMAPCASE{"EightBitCountedTable", MakeBmp(BmpOf(5, 2, 8, 16, 16)), true, 5, 2},
                   stBITMAPCASE{"FourBit", MakeBmp(BmpOf(7, 3, 4, 0, 16)), true, 7, 3},
                   stBITMAPCASE{"OneBit", MakeBmp(BmpOf(9, 2, 1, 0, 2)), true, 9, 2},
                   stBITMAPCASE{"TrueColourWithoutTable", MakeBmp(BmpOf(3, 3, 24, 0, 0)), true, 3, 3},
                   stBITMAPCASE{"TopDown", MakeBmp(BmpOf(4, -3, 24, 0, 0)), true, 4, 3},
                   stBITMAPCASE{"LargerHeader", WithHeaderSize(108), true, 4, 3}, stBITMAPCASE{"Empty", "", false},
                   stBITMAPCASE{"OtherSignature", WithSignature("BX"), false},
                   stBITMAPCASE{"PngSignature", WithSignature("\x89P"), false},
                   stBITMAPCASE{"CutInTheHeader", Cut(MakeBmp(BmpOf(4, 3, 8, 0, 256)), 30), false},
                   // The colour table a palette is built from must be in the file.
                   stBITMAPCASE{"CutInTheColourTable", Cut(MakeBmp(BmpOf(4, 3, 8, 0, 256)), 14 + 40 + 100), false},
                   stBITMAPCASE{"TableLongerThanAllowed", MakeBmp(BmpOf(4, 3, 8, 300, 300)), false},
                   stBITMAPCASE{"CountBeyondTheFile", MakeBmp(BmpOf(4, 3, 8, 200, 16)), false},
                   stBITMAPCASE{"CutInThePixels", Cut(MakeBmp(BmpOf(64, 64, 24, 0, 0)), 14 + 40 + 20), false},
                   stBITMAPCASE{"ZeroWidth", MakeBmp(BmpOf(0, 3, 24, 0, 0)), false},
                   stBITMAPCASE{"ZeroHeight", MakeBmp(BmpOf(3, 0, 24, 0, 0)), false},
                   stBITMAPCASE{
                       "HeaderClaimsHugeSize",
                       [] {
                           std::string s = MakeBmp(BmpOf(4, 3, 24, 0, 0));
                           s[18] = s[19] = s[20] = '\x7f';  // width 0x007f7f7f..
                           return s;
                       }(),
                       false},
                   stBITMAPCASE{"HeaderSizeBeyondTheFile", WithHeaderSize(4000000), false},
                   stBITMAPCASE{"HeaderTooSmall", WithHeaderSize(12), false}),
    [](const auto& info) { return std::string(info.param.pszName); });

TEST(SplashFileTest, MissingFileGivesNoSplash) {
    apptest::CTempDir tmp;
    int bContinue = 1;
    EXPECT_FALSE(CSplashWnd::ShowSplashScreen(tmp / "Splash.Opn", &bContinue));
    EXPECT_EQ(CSplashWnd::Current(), nullptr);
    EXPECT_FALSE(CSplashWnd::ReadBitmapFile(tmp.Path().string()));  // a folder is no bitmap
}

// The splash ends the wait by its timer or by a key; the window is then gone.
TEST(SplashFileTest, TimerOrKeyEndsTheSplash) {
    apptest::CTempDir tmp;
    apptest::WriteFile(tmp / "Splash.Opn", MakeBmp(BmpOf(40, 20, 8, 0, 256)));
    for (bool bByKey : {false, true}) {
        int bContinue = 1;
        ASSERT_TRUE(CSplashWnd::ShowSplashScreen(tmp / "Splash.Opn", &bContinue, bByKey ? 60000 : 300));
        CSplashWnd* pSplash = CSplashWnd::Current();
        ASSERT_NE(pSplash, nullptr);
        EXPECT_EQ(pSplash->size(), QSize(40, 20));
        EXPECT_TRUE(pSplash->isVisible());
        EXPECT_EQ(bContinue, 1);
        // A second splash is not made while one exists.
        int bOther = 1;
        EXPECT_FALSE(CSplashWnd::ShowSplashScreen(tmp / "Splash.Opn", &bOther));
        if (bByKey) QTest::keyClick(pSplash, Qt::Key_Space);
        QElapsedTimer timer;
        timer.start();
        while (bContinue && timer.elapsed() < 10000) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
        EXPECT_EQ(bContinue, 0);
        EXPECT_FALSE(pSplash->isVisible());
        CSplashWnd::DestroySplash();
        EXPECT_EQ(CSplashWnd::Current(), nullptr);
    }
}

TEST(SplashFileTest, MouseEndsTheSplash) {
    apptest::CTempDir tmp;
    apptest::WriteFile(tmp / "Splash.Opn", MakeBmp(BmpOf(10, 10, 24, 0, 0)));
    int bContinue = 1;
    ASSERT_TRUE(CSplashWnd::ShowSplashScreen(tmp / "Splash.Opn", &bContinue, 60000));
    QTest::mouseClick(CSplashWnd::Current(), Qt::RightButton);
    EXPECT_EQ(bContinue, 0);
    CSplashWnd::DestroySplash();
}

// The whole start-up with and without a usable splash file.
struct stSTARTSPLASHCASE {
    const char* pszName;
    bool bShowSplash;
    std::string strFile;  // empty: no file
    int nContinueAfter;
};

class StartUpSplashTest : public ::testing::TestWithParam<stSTARTSPLASHCASE> {};

TEST_P(StartUpSplashTest, StartUpGoesOn) {
    const stSTARTSPLASHCASE& c = GetParam();
    apptest::CTempDir tmp;
    apptest::CScopedCwd cwd(tmp.Path() / "start");
    apptest::CScopedEnv res("LUMETRA_RESOURCE_DIR", tmp / "res");
    platform::CRegistryStore store(tmp / "user.reg", tmp / "system.reg");
    if (!c.strFile.empty()) apptest::WriteFile(tmp / "prog/Splash.Opn", c.strFile);
    CLumetraApp app(&store);
    app.m_strProgramDir = tmp / "prog";
    app.m_cmdInfo.bShowSplash = c.bShowSplash;
    app.m_nSplashTimeoutMs = 30;
    app.StartUp();
    EXPECT_EQ(app.m_bContinue, c.nContinueAfter);
    EXPECT_EQ(CSplashWnd::Current(), nullptr);
    EXPECT_EQ(app.m_nInitialStart, 2);
    platform::SetCurrentResources(nullptr);
}

INSTANTIATE_TEST_SUITE_P(Cases, StartUpSplashTest,
                         ::testing::Values(stSTARTSPLASHCASE{"Shown", true, MakeBmp(BmpOf(8, 8, 8, 0, 256)), 0},
                                           stSTARTSPLASHCASE{"Missing", true, "", 0},
                                           stSTARTSPLASHCASE{"Corrupt", true, "BM\x01\x02junk", 0},
                                           // --nosplash: no splash and no wait; the flag keeps its start value.
                                           stSTARTSPLASHCASE{"NotAsked", false, MakeBmp(BmpOf(8, 8, 8, 0, 256)), 1}),
                         [](const auto& info) { return std::string(info.param.pszName); });

}  // namespace
