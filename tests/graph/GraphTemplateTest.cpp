#include <gtest/gtest.h>

#include "platform/ResourceModule.h"

// The graph window's template: the controls the graph code places and draws into.
TEST(GraphTemplate, GraphWindowControlsAndSizes) {
    auto english = platform::CResourceModule::English();
    ASSERT_NE(english, nullptr);
    const platform::stDLGTEMPLATE* pDlg = english->FindDialog(135);
    ASSERT_NE(pDlg, nullptr);
    EXPECT_EQ(pDlg->cx, 680);
    EXPECT_EQ(pDlg->cy, 447);
    EXPECT_EQ(pDlg->strCaption, "Lumetra");
    struct stCTL {
        int nId, x, y, cx, cy;
        const char* strText;
    };
    const stCTL expected[] = {
        {1001, 7, 147, 571, 203, ""},
        {1007, 7, 352, 660, 54, ""},
        {1286, 581, 144, 42, 206, ""},
        {1287, 625, 144, 42, 206, ""},
        {1006, 338, 407, 100, 22, "Save screen"},
        {1000, 453, 407, 100, 22, "Print screen"},
        {1, 568, 407, 100, 22, "Back to menu"},
        {1278, 7, 407, 59, 12, "0 - 6"},
        {1282, 263, 407, 59, 12, "1 Day"},
        {1328, 37, 420, 59, 12, "6 - 18"},
        {1331, 161, 420, 59, 12, "15 - 21"},
    };
    for (const auto& c : expected) {
        const platform::stDLGCONTROL* pCtl = pDlg->Find(c.nId);
        ASSERT_NE(pCtl, nullptr) << c.nId;
        EXPECT_EQ(pCtl->x, c.x) << c.nId;
        EXPECT_EQ(pCtl->y, c.y) << c.nId;
        EXPECT_EQ(pCtl->cx, c.cx) << c.nId;
        EXPECT_EQ(pCtl->cy, c.cy) << c.nId;
        EXPECT_EQ(pCtl->strText, c.strText) << c.nId;
    }
    for (int nId = 1288; nId <= 1327; ++nId) EXPECT_NE(pDlg->Find(nId), nullptr) << nId;
    for (int nId : {2, 1002, 1003, 1004, 1005, 1008}) {
        ASSERT_NE(pDlg->Find(nId), nullptr) << nId;
        EXPECT_TRUE(pDlg->Find(nId)->HasFlag("HIDDEN")) << nId;
    }
    // The pixel sizes the graph area and the data grid get in the window.
    EXPECT_EQ(platform::DluToPixelX(571), 856);
    EXPECT_EQ(platform::DluToPixelY(203), 329);
    EXPECT_EQ(platform::DluToPixelX(660), 990);
    EXPECT_EQ(platform::DluToPixelY(54), 87);
}
