// The main menu offscreen: the exit question, Enter, the busy flag, the Version dialog, the layout
// per language and the rebuild after a language switch. Questions and dialogs are answered by
// scripts; nothing waits for a person.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMenuBar>
#include <QTest>
#include <QTimer>

#include "../app/AppTestSupport.h"
#include "app/LumetraApp.h"
#include "app/LumetraDlg.h"
#include "platform/RegistryStore.h"
#include "platform/ResourceModule.h"
#include "ui/ModalScript.h"
#include "ui/ScriptedResponder.h"
#include "ui/UiContext.h"
#include "ui/XPStyleButtonST.h"

namespace {

using apptest::CTempDir;
using platform::RegRoot;

[[maybe_unused]] ::testing::Environment* const g_pQtEnv =
    ::testing::AddGlobalTestEnvironment(new apptest::CQtEnvironment);

const QString kFinishing = QStringLiteral("Finishing.OK?");
const std::string kMachineKey = "Software\\Corvane Control\\Lumetra";

// A started application in a folder of its own, with a Japanese fixture module and scripts
// that report their faults to the test.
class MainMenuTest : public ::testing::Test {
protected:
    MainMenuTest()
        : m_store(m_tmp / "reg/user.reg", m_tmp / "reg/system.reg"),
          m_resEnv("LUMETRA_RESOURCE_DIR", m_tmp / "res"),
          m_cwd(m_tmp.Path() / "start") {
        apptest::WriteFile(m_tmp / "res/LumetraResJpn.res", "STRING 57344 \"Lumetra JP\"\n");
        m_responder.SetFailureHandler([](const std::string& s) { ADD_FAILURE() << s; });
        m_script.SetFailureHandler([](const std::string& s) { ADD_FAILURE() << s; });
        m_pApp = std::make_unique<CLumetraApp>(&m_store);
        m_pApp->m_cmdInfo.bShowSplash = false;
        m_pApp->StartUp();
        // A script that fails to end a dialog must not hang the run.
        m_watchdog.setSingleShot(true);
        QObject::connect(&m_watchdog, &QTimer::timeout, [] {
            ADD_FAILURE() << "a dialog was left open";
            for (QWidget* pWnd : QApplication::topLevelWidgets())
                if (auto* pDlg = qobject_cast<CDialogBase*>(pWnd); pDlg && pDlg->isVisible()) pDlg->EndDialog(IDCANCEL);
        });
        m_watchdog.start(60000);
    }
    ~MainMenuTest() override {
        m_pApp.reset();
        platform::SetCurrentResources(nullptr);
        CUiContext::Reset();
    }
    static CLumetraDlg& Menu(CDialogBase& dlg) { return static_cast<CLumetraDlg&>(dlg); }

    CTempDir m_tmp;
    platform::CRegistryStore m_store;
    apptest::CScopedEnv m_resEnv;
    apptest::CScopedCwd m_cwd;
    CScriptedResponder m_responder;
    CModalScript m_script;
    std::unique_ptr<CLumetraApp> m_pApp;
    QTimer m_watchdog;
};

// How the user tries to leave, and the answers to "Finishing.OK?".
struct stEXITCASE {
    const char* pszName;
    std::function<void(CLumetraDlg&)> leave;
};

class ExitQuestionTest : public MainMenuTest, public ::testing::WithParamInterface<stEXITCASE> {};

TEST_P(ExitQuestionTest, NoKeepsTheMenuYesEndsIt) {
    const stEXITCASE& c = GetParam();
    bool bStillOpen = false;
    m_responder.Expect(kFinishing, IDNO).Expect(kFinishing, IDYES);
    m_script.Expect(CLumetraDlg::IDD, [&](CDialogBase& dlg) {
        c.leave(Menu(dlg));  // answered No
        bStillOpen = dlg.isVisible();
        c.leave(Menu(dlg));  // answered Yes
    });
    m_pApp->RunMenuLoop();
    EXPECT_TRUE(bStillOpen);
    EXPECT_EQ(m_responder.Pending(), 0);
    ASSERT_EQ(m_responder.Shown().size(), 2u);
    EXPECT_EQ(m_responder.Shown()[0].nFlags & MB_TYPEMASK, unsigned(MB_YESNO));
    EXPECT_EQ(m_responder.Shown()[0].nFlags & MB_ICONMASK, unsigned(MB_ICONQUESTION));
    EXPECT_EQ(m_pApp->m_pMenuDlg, nullptr);
}

void PressMenuItem(CLumetraDlg& dlg, int nId) {
    for (QAction* pAction : dlg.MenuBar()->findChildren<QAction*>())
        if (pAction->data().toInt() == nId) {
            pAction->trigger();
            return;
        }
    ADD_FAILURE() << "no menu item " << nId;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ExitQuestionTest,
    ::testing::Values(stEXITCASE{"EscapeKey", [](CLumetraDlg& d) { QTest::keyClick(&d, Qt::Key_Escape); }},
                      stEXITCASE{"ExitButton",
                                 [](CLumetraDlg& d) {
                                     QTest::mouseClick(d.GetDlgItem(CLumetraDlg::IDC_EXIT), Qt::LeftButton);
                                 }},
                      stEXITCASE{"MenuExit", [](CLumetraDlg& d) { PressMenuItem(d, CLumetraDlg::ID_APP_EXIT); }},
                      stEXITCASE{"CloseBox", [](CLumetraDlg& d) { d.close(); }}),
    [](const auto& info) { return std::string(info.param.pszName); });

TEST_F(MainMenuTest, EnterDoesNothing) {
    bool bStillOpen = false;
    m_responder.Expect(kFinishing, IDYES);
    m_script.Expect(CLumetraDlg::IDD, [&](CDialogBase& dlg) {
        // Enter on the dialog and on a focused picture button: no question, no flow.
        QTest::keyClick(&dlg, Qt::Key_Return);
        QWidget* pGraph = dlg.GetDlgItem(CLumetraDlg::IDC_GRAPH);
        pGraph->setFocus();
        QTest::keyClick(pGraph, Qt::Key_Enter);
        bStillOpen = dlg.isVisible();
        EXPECT_EQ(m_responder.Shown().size(), 0u);
        QTest::keyClick(&dlg, Qt::Key_Escape);
    });
    m_pApp->RunMenuLoop();
    EXPECT_TRUE(bStillOpen);
    EXPECT_EQ(m_responder.Pending(), 0);
}

TEST_F(MainMenuTest, BusyMenuIgnoresEveryCommand) {
    m_responder.Expect(kFinishing, IDYES);
    m_script.Expect(CLumetraDlg::IDD, [&](CDialogBase& dlg) {
        CLumetraDlg& menu = Menu(dlg);
        menu.m_bBusy = 1;
        QTest::keyClick(&menu, Qt::Key_Escape);
        PressMenuItem(menu, CLumetraDlg::ID_APP_EXIT);
        PressMenuItem(menu, CLumetraDlg::ID_APP_ABOUT);  // no Version dialog either
        menu.close();
        EXPECT_TRUE(menu.isVisible());
        EXPECT_EQ(m_responder.Shown().size(), 0u);
        menu.m_bBusy = 0;
        QTest::keyClick(&menu, Qt::Key_Escape);
    });
    m_pApp->RunMenuLoop();
    EXPECT_EQ(m_script.Seen(), std::vector<int>{CLumetraDlg::IDD});
}

TEST_F(MainMenuTest, VersionDialogShowsTheVersion) {
    QString strVersion;
    QString strTitle;
    m_responder.Expect(kFinishing, IDYES);
    m_script
        .Expect(CLumetraDlg::IDD,
                [&](CDialogBase& dlg) {
                    PressMenuItem(Menu(dlg), CLumetraDlg::ID_APP_ABOUT);  // returns when the Version dialog ends
                    QTest::keyClick(&dlg, Qt::Key_Escape);
                })
        .Expect(100, [&](CDialogBase& dlg) {
            strVersion = dlg.GetDlgItemText(1178);
            strTitle = dlg.windowTitle();
            QTest::keyClick(&dlg, Qt::Key_Return);
        });
    m_pApp->RunMenuLoop();
    EXPECT_EQ(strVersion, "Ver. 1.53");
    EXPECT_EQ(strTitle, "Version");
    EXPECT_EQ(m_script.Pending(), 0);
}

// The layout table: each language places the buttons, and only Japanese has the CO2 icon.
struct stLAYOUTCASE {
    int nLanguage;
    int nId;
    QRect rcExpected;
};

class MenuLayoutTest : public MainMenuTest, public ::testing::WithParamInterface<stLAYOUTCASE> {};

TEST_P(MenuLayoutTest, PlacesTheButton) {
    const stLAYOUTCASE& c = GetParam();
    m_pApp->m_nLanguage = c.nLanguage;
    CLumetraDlg dlg;
    ASSERT_TRUE(dlg.Build());
    QWidget* pItem = dlg.GetDlgItem(c.nId);
    ASSERT_NE(pItem, nullptr);
    EXPECT_EQ(pItem->geometry(), c.rcExpected);
    EXPECT_TRUE(pItem->isVisibleTo(&dlg));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MenuLayoutTest,
    ::testing::Values(
        stLAYOUTCASE{LANG_ENGLISH, 1003, {176, 31, 300, 300}}, stLAYOUTCASE{LANG_ENGLISH, 1006, {541, 31, 300, 300}},
        stLAYOUTCASE{LANG_ENGLISH, 1000, {176, 418, 300, 90}}, stLAYOUTCASE{LANG_ENGLISH, 1001, {176, 528, 300, 60}},
        stLAYOUTCASE{LANG_ENGLISH, 1010, {176, 608, 300, 60}}, stLAYOUTCASE{LANG_ENGLISH, 1002, {636, 528, 205, 60}},
        stLAYOUTCASE{LANG_JAPANESE, 1003, {176, 91, 300, 210}}, stLAYOUTCASE{LANG_JAPANESE, 1000, {176, 418, 215, 90}},
        stLAYOUTCASE{LANG_JAPANESE, 1001, {176, 528, 215, 60}}, stLAYOUTCASE{LANG_JAPANESE, 1010, {176, 608, 215, 60}},
        stLAYOUTCASE{LANG_CHINESE, 1006, {541, 91, 300, 210}}, stLAYOUTCASE{LANG_CHINESE, 1000, {176, 418, 300, 90}},
        stLAYOUTCASE{LANG_CHINESE, 1002, {636, 528, 205, 60}},
        // Any other index lays out as English.
        stLAYOUTCASE{7, 1003, {176, 31, 300, 300}}));

TEST_F(MainMenuTest, ButtonsCarryIconsFontsAndSize) {
    for (int nLanguage : {int(LANG_ENGLISH), int(LANG_JAPANESE)}) {
        m_pApp->m_nLanguage = nLanguage;
        CLumetraDlg dlg;
        ASSERT_TRUE(dlg.Build());
        EXPECT_EQ(dlg.size(), QSize(1024, 768));
        auto* pCO2 = dlg.Item<CXPStyleButtonST>(CLumetraDlg::IDC_SET_CO2);
        ASSERT_NE(pCO2, nullptr);
        EXPECT_EQ(pCO2->Icon().isNull(), nLanguage != LANG_JAPANESE) << nLanguage;
        auto* pGraph = dlg.Item<CXPStyleButtonST>(CLumetraDlg::IDC_GRAPH);
        auto* pCompare = dlg.Item<CXPStyleButtonST>(CLumetraDlg::IDC_COMPARE);
        auto* pImport = dlg.Item<CXPStyleButtonST>(CLumetraDlg::IDC_IMPORT);
        auto* pExit = dlg.Item<CXPStyleButtonST>(CLumetraDlg::IDC_EXIT);
        ASSERT_TRUE(pGraph && pCompare && pImport && pExit);
        EXPECT_FALSE(pGraph->Icon().isNull());
        EXPECT_EQ(pGraph->Align(), CButtonST::ST_ALIGN_VERT);
        EXPECT_EQ(pCompare->Align(), CButtonST::ST_ALIGN_VERT);
        EXPECT_FALSE(pImport->Icon().isNull());
        EXPECT_EQ(pImport->Align(), CButtonST::ST_ALIGN_HORIZ);
        EXPECT_TRUE(pExit->Icon().isNull());
        EXPECT_EQ(pGraph->text(), "Create a graph");
        // The three fonts: large on the graph buttons and Exit, middle on Import, small on the settings.
        EXPECT_EQ(pExit->font(), pGraph->font());
        EXPECT_EQ(pExit->font(), pCompare->font());
        EXPECT_TRUE(pExit->font().bold());
        EXPECT_GT(pExit->font().pointSizeF(), pImport->font().pointSizeF());
        EXPECT_GT(pImport->font().pointSizeF(), pCO2->font().pointSizeF());
        EXPECT_EQ(pCO2->font(), dlg.GetDlgItem(CLumetraDlg::IDC_SET_PRICE)->font());
        EXPECT_TRUE(pCO2->font().bold());
        EXPECT_NE(pCO2->ThemeHelper(), nullptr);
        // The hidden routes stay hidden.
        for (int nId : {1, 2, 1004, 1005, 1007, 1008}) EXPECT_FALSE(dlg.GetDlgItem(nId)->isVisibleTo(&dlg)) << nId;
    }
}

TEST_F(MainMenuTest, SmallerWindowScrolls) {
    CLumetraDlg dlg;
    ASSERT_TRUE(dlg.Build());
    dlg.show();  // resize events reach shown windows only
    EXPECT_EQ(dlg.ContentSize(), QSize(1024, 768));
    EXPECT_FALSE(dlg.IsVertActive());
    EXPECT_FALSE(dlg.IsHorzActive());
    dlg.resize(800, 600);
    ASSERT_TRUE(dlg.IsVertActive());
    ASSERT_TRUE(dlg.IsHorzActive());
    EXPECT_EQ(dlg.VertMax(), 768 - 600 + 10);  // the missing height plus 10 pixels
    EXPECT_EQ(dlg.HorzMax(), 1024 - 800 + 10);
    const QPoint ptExit = dlg.GetDlgItem(CLumetraDlg::IDC_EXIT)->pos();
    dlg.ScrollBy(Qt::Vertical, 30);
    EXPECT_EQ(dlg.GetDlgItem(CLumetraDlg::IDC_EXIT)->pos(), ptExit - QPoint(0, 30));
    dlg.resize(1024, 768);
    EXPECT_FALSE(dlg.IsVertActive());
    EXPECT_EQ(dlg.GetDlgItem(CLumetraDlg::IDC_EXIT)->pos(), ptExit);
    dlg.hide();
}

// The hand-off around the graph window: what the graph dialog gives back and what the menu does.
struct stGRAPHFLOWCASE {
    const char* pszName;
    int nGraphResult;
    std::vector<int> answers;  // to "Finishing.OK?"
    bool bMoved;               // the graph window was moved and handed its place back
    bool bMenuEnds;
};

class GraphFlowTest : public MainMenuTest, public ::testing::WithParamInterface<stGRAPHFLOWCASE> {};

TEST_P(GraphFlowTest, MenuComesBackWhereTheGraphWindowWas) {
    const stGRAPHFLOWCASE& c = GetParam();
    for (int nAnswer : c.answers) m_responder.Expect(kFinishing, nAnswer);
    if (!c.bMenuEnds) m_responder.Expect(kFinishing, IDYES);  // the test's own way out
    const QRect rcGraph(90, 70, 980, 720);
    QRect rcHanded;
    QRect rcAfter;
    bool bVisibleAfter = false;
    m_script.Expect(CLumetraDlg::IDD, [&](CDialogBase& dlg) {
        dlg.move(20, 10);
        const QRect rcMenu = dlg.geometry();
        Menu(dlg).RunGraphFlow([&] {
            rcHanded = m_pApp->m_rcWindow;
            dlg.hide();  // the graph window takes the menu's place
            if (c.bMoved) {
                m_pApp->m_rcWindow = rcGraph;
                m_pApp->m_nShowCmd = 1;
            }
            return c.nGraphResult;
        });
        EXPECT_EQ(rcHanded, rcMenu);
        rcAfter = dlg.geometry();
        bVisibleAfter = dlg.isVisible();
        if (!c.bMenuEnds) QTest::keyClick(&dlg, Qt::Key_Escape);
    });
    m_pApp->RunMenuLoop();
    EXPECT_EQ(m_responder.Pending(), 0);
    EXPECT_EQ(bVisibleAfter, !c.bMenuEnds);
    if (!c.bMenuEnds && c.bMoved) {
        EXPECT_EQ(rcAfter, rcGraph);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, GraphFlowTest,
                         ::testing::Values(stGRAPHFLOWCASE{"BackToMenu", IDOK, {}, true, false},
                                           stGRAPHFLOWCASE{"GraphNotOpened", -1, {}, false, false},
                                           stGRAPHFLOWCASE{"GraphCancelledThenNo", IDCANCEL, {IDNO}, false, false},
                                           stGRAPHFLOWCASE{"GraphCancelledThenYes", IDCANCEL, {IDYES}, false, true}),
                         [](const auto& info) { return std::string(info.param.pszName); });

// A language switch closes the menu without asking and builds it again in the new language,
// where the old one was and in the same show state.
TEST_F(MainMenuTest, LanguageSwitchRebuildsTheMenuInPlace) {
    QRect rcOld;
    QRect rcNew;
    QRect rcCO2;
    bool bNewMaximised = false;
    bool bOldHadIcon = true;
    bool bNewHasIcon = false;
    m_responder.Expect(kFinishing, IDYES);
    m_script
        .Expect(CLumetraDlg::IDD,
                [&](CDialogBase& dlg) {
                    dlg.move(40, 30);
                    rcOld = dlg.geometry();
                    bOldHadIcon = !Menu(dlg).Item<CXPStyleButtonST>(1001)->Icon().isNull();
                    EXPECT_TRUE(m_pApp->SwitchLanguage(LANG_JAPANESE));  // ends this menu, no question
                })
        .Expect(CLumetraDlg::IDD, [&](CDialogBase& dlg) {
            rcNew = dlg.normalGeometry().isValid() ? dlg.normalGeometry() : dlg.geometry();
            rcCO2 = dlg.GetDlgItem(1001)->geometry();
            bNewHasIcon = !Menu(dlg).Item<CXPStyleButtonST>(1001)->Icon().isNull();
            dlg.showMaximized();
            EXPECT_TRUE(m_pApp->SwitchLanguage(LANG_ENGLISH));
        });
    m_script.Expect(CLumetraDlg::IDD, [&](CDialogBase& dlg) {
        bNewMaximised = dlg.windowState().testFlag(Qt::WindowMaximized);
        QTest::keyClick(&dlg, Qt::Key_Escape);
    });
    m_pApp->RunMenuLoop();
    EXPECT_EQ(m_script.Pending(), 0);
    EXPECT_FALSE(bOldHadIcon);
    EXPECT_TRUE(bNewHasIcon);
    EXPECT_EQ(rcNew, rcOld);
    EXPECT_EQ(rcCO2, QRect(176, 528, 215, 60));
    EXPECT_TRUE(bNewMaximised);
    EXPECT_EQ(m_responder.Shown().size(), 1u);  // only the last Escape asked
    EXPECT_EQ(m_pApp->m_nLanguage, LANG_ENGLISH);
    EXPECT_EQ(m_pApp->m_bRestartMenu, 0);
}

TEST_F(MainMenuTest, SwitchToALanguageWithoutModuleKeepsTheMenu) {
    m_responder.Expect(kFinishing, IDYES);
    m_script.Expect(CLumetraDlg::IDD, [&](CDialogBase& dlg) {
        EXPECT_FALSE(m_pApp->SwitchLanguage(LANG_CHINESE));
        EXPECT_TRUE(dlg.isVisible());
        QTest::keyClick(&dlg, Qt::Key_Escape);
    });
    m_pApp->RunMenuLoop();
    EXPECT_EQ(m_pApp->m_nLanguage, LANG_CHINESE);
    EXPECT_EQ(m_script.Seen().size(), 1u);
}

}  // namespace
