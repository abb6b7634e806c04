#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest/QTest>

#include "UiTestSupport.h"
#include "ui/DialogBase.h"
#include "ui/XPStyleButtonST.h"

namespace {

const char* const kDialogs = R"(
DIALOG 900 0 0 200 100 "Sample" MENU=901
  CONTROL 1 BUTTON 10 80 50 14 "OK" HIDDEN DEFAULT
  CONTROL 2 BUTTON 70 80 50 14 "Cancel"
  CONTROL 1000 BUTTON 10 10 80 40 "&Import files" PICTURE
  CONTROL 1001 STATIC 100 10 90 8 "&Name && more" CENTER
  CONTROL 1002 EDIT 100 20 90 12 "text" DISABLED
  CONTROL 1003 RADIO 10 55 40 10 "a" GROUP
  CONTROL 1004 RADIO 50 55 40 10 "b"
  CONTROL 1005 RADIO 100 55 40 10 "c" GROUP
  CONTROL 1006 RADIO 140 55 40 10 "d"
  CONTROL 1007 PROGRESS 10 70 180 6 ""
  CONTROL -1 FRAME 0 50 200 1 "" ETCHEDHORZ
  CONTROL -1 STATIC 0 0 1 1 "unnamed"
END
MENU 901
  POPUP "&Menu"
    ITEM 57664 "&Version"
    SEPARATOR
    ITEM 57665 "E&xit"
  END
END
DIALOG 903 20 40 60 30 "" CHILD
  CONTROL 1300 CHECKBOX 0 0 50 10 "Check"
END
DIALOG 902 0 0 100 50 "Plain"
  CONTROL 1 BUTTON 10 30 40 14 "OK" DEFAULT
  CONTROL 2 BUTTON 55 30 40 14 "Cancel"
END
)";

class CSampleDlg : public CDialogBase {
public:
    explicit CSampleDlg(int nTemplate = 900) : CDialogBase(nTemplate) {}
    bool bRefuse = false;
    int nInitCount = 0;
    std::vector<int> commands;

protected:
    bool OnInitDialog() override {
        ++nInitCount;
        SetCommandHandler(57664, [this] { commands.push_back(57664); });
        SetCommandHandler(1000, [this] { commands.push_back(1000); });
        return !bRefuse;
    }
};

class DialogBaseTest : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        platform::SetCurrentResources(ModuleWith(kDialogs));
    }
};

TEST_F(DialogBaseTest, BuildsControlsAtTheirPixelRectanglesById) {
    CSampleDlg dlg;
    ASSERT_TRUE(dlg.Build());
    EXPECT_TRUE(dlg.Build());  // once only
    EXPECT_EQ(dlg.nInitCount, 1);
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("Sample"));
    EXPECT_EQ(dlg.Client()->size(), QSize(300, 162));
    EXPECT_EQ(dlg.font(), CUiContext::InterfaceFont());

    auto* pPicture = dlg.Item<CXPStyleButtonST>(1000);
    ASSERT_NE(pPicture, nullptr);
    EXPECT_EQ(pPicture->geometry(), QRect(15, 16, 120, 65));
    EXPECT_EQ(pPicture->text(), QStringLiteral("&Import files"));

    auto* pLabel = dlg.Item<QLabel>(1001);
    ASSERT_NE(pLabel, nullptr);
    EXPECT_EQ(pLabel->text(), QStringLiteral("Name & more"));
    EXPECT_TRUE(pLabel->alignment() & Qt::AlignHCenter);

    auto* pEdit = dlg.Item<QLineEdit>(1002);
    ASSERT_NE(pEdit, nullptr);
    EXPECT_FALSE(pEdit->isEnabled());
    EXPECT_EQ(dlg.GetDlgItemText(1002), QStringLiteral("text"));
    dlg.SetDlgItemText(1002, QStringLiteral("new"));
    EXPECT_EQ(pEdit->text(), QStringLiteral("new"));

    auto* pOk = dlg.Item<QPushButton>(1);
    ASSERT_NE(pOk, nullptr);
    EXPECT_TRUE(pOk->isHidden());
    EXPECT_TRUE(pOk->isDefault());
    EXPECT_NE(dlg.Item<QProgressBar>(1007), nullptr);
    EXPECT_EQ(dlg.GetDlgItem(-1), nullptr);
    EXPECT_EQ(dlg.GetDlgItem(4711), nullptr);
    EXPECT_EQ(dlg.Item<QLabel>(1000), nullptr);  // wrong class
}

TEST_F(DialogBaseTest, RadiosAreExclusiveWithinTheirGroup) {
    CSampleDlg dlg;
    ASSERT_TRUE(dlg.Build());
    auto* a = dlg.Item<QRadioButton>(1003);
    auto* b = dlg.Item<QRadioButton>(1004);
    auto* c = dlg.Item<QRadioButton>(1005);
    a->click();
    c->click();
    EXPECT_TRUE(a->isChecked());
    EXPECT_TRUE(c->isChecked());
    b->click();
    EXPECT_FALSE(a->isChecked());
    EXPECT_TRUE(c->isChecked());
}

TEST_F(DialogBaseTest, ClicksAndMenuItemsRunTheirHandlers) {
    CSampleDlg dlg;
    ASSERT_TRUE(dlg.Build());
    dlg.Item<QPushButton>(1000)->click();
    ASSERT_NE(dlg.MenuBar(), nullptr);
    QAction* pVersion = nullptr;
    for (QAction* pTop : dlg.MenuBar()->actions())
        for (QAction* p : pTop->menu()->actions())
            if (p->data().toInt() == 57664) pVersion = p;
    ASSERT_NE(pVersion, nullptr);
    EXPECT_EQ(pVersion->text(), QStringLiteral("&Version"));
    pVersion->trigger();
    EXPECT_EQ(dlg.commands, (std::vector<int>{1000, 57664}));
    EXPECT_FALSE(dlg.SendCommand(4711));
}

struct KeyCase {
    const char* name;
    int nTemplate;
    Qt::Key key;
    bool bFocusCancel;
    int nResult;  // 0: the dialog keeps running
};

class DialogKeyTest : public DialogBaseTest, public ::testing::WithParamInterface<KeyCase> {};

TEST_P(DialogKeyTest, EnterRunsTheDefaultCommandAndEscapeCancels) {
    const KeyCase& c = GetParam();
    CSampleDlg dlg(c.nTemplate);
    CModalScript script;
    script.SetFailureHandler([](const std::string& s) { ADD_FAILURE() << s; });
    bool bStillOpen = false;
    script.Expect(c.nTemplate, [&](CDialogBase& d) {
        if (c.bFocusCancel) d.GetDlgItem(2)->setFocus();
        QTest::keyClick(&d, c.key);
        bStillOpen = d.isVisible();
        if (bStillOpen) d.EndDialog(99);
    });
    const int nResult = dlg.DoModal();
    EXPECT_EQ(nResult, c.nResult ? c.nResult : 99);
    EXPECT_EQ(bStillOpen, c.nResult == 0);
}

INSTANTIATE_TEST_SUITE_P(Keys, DialogKeyTest,
                         ::testing::Values(KeyCase{"EnterHiddenDefault", 900, Qt::Key_Return, false, IDOK},
                                           KeyCase{"EnterVisibleDefault", 902, Qt::Key_Enter, false, IDOK},
                                           KeyCase{"EnterOnFocusedCancel", 902, Qt::Key_Return, true, IDCANCEL},
                                           KeyCase{"Escape", 900, Qt::Key_Escape, false, IDCANCEL}),
                         [](const auto& info) { return std::string(info.param.name); });

// Enter and Escape are routed through overridable handlers: the main menu ignores Enter.
class CIgnoreEnterDlg : public CDialogBase {
public:
    CIgnoreEnterDlg() : CDialogBase(902) {}
    int nCancelCount = 0;

protected:
    bool OnInitDialog() override {
        SetCommandHandler(IDOK, [] {});
        return true;
    }
    void OnCancel() override {
        ++nCancelCount;
        if (nCancelCount == 2) EndDialog(IDCANCEL);
    }
};

TEST_F(DialogBaseTest, HandlersCanOverrideOkAndCancel) {
    CIgnoreEnterDlg dlg;
    CModalScript script;
    script.Expect(902, [](CDialogBase& d) {
        QTest::keyClick(&d, Qt::Key_Return);  // OK does nothing
        d.close();                            // first cancel is refused
        EXPECT_TRUE(d.isVisible());
        QTest::keyClick(&d, Qt::Key_Escape);  // second one ends
    });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(dlg.nCancelCount, 2);
}

TEST_F(DialogBaseTest, ChildPageLivesInsideItsOwner) {
    CSampleDlg owner;
    ASSERT_TRUE(owner.Build());
    auto* pPage = new CDialogBase(903);
    ASSERT_TRUE(pPage->Create(&owner));
    EXPECT_FALSE(pPage->isWindow());
    EXPECT_EQ(pPage->parentWidget(), owner.Client());
    EXPECT_EQ(pPage->pos(), QPoint(30, 65));
    EXPECT_EQ(pPage->size(), QSize(90, 48));
    int nClicks = 0;
    pPage->SetCommandHandler(1300, [&] { ++nClicks; });
    pPage->Item<QCheckBox>(1300)->click();
    EXPECT_EQ(nClicks, 1);
    EXPECT_TRUE(pPage->Item<QCheckBox>(1300)->isChecked());
}

TEST_F(DialogBaseTest, RefusedOrMissingDialogsGiveMinusOne) {
    CSampleDlg refused;
    refused.bRefuse = true;
    EXPECT_EQ(refused.DoModal(), -1);
    CSampleDlg missing(12345);
    EXPECT_EQ(missing.DoModal(), -1);
    EXPECT_EQ(missing.Template(), nullptr);
}

TEST_F(DialogBaseTest, MissingTemplateFallsBackToEnglish) {
    CDialogBase dlg(182);  // the progress dialog is only in the built-in resources
    ASSERT_TRUE(dlg.Build());
    EXPECT_NE(dlg.GetDlgItem(1188), nullptr);
}

TEST_F(DialogBaseTest, UnexpectedModalDialogIsReportedAndCancelled) {
    std::vector<std::string> problems;
    CSampleDlg dlg(902);
    {
        CModalScript script;
        script.SetFailureHandler([&](const std::string& s) { problems.push_back(s); });
        EXPECT_EQ(dlg.DoModal(), IDCANCEL);
        EXPECT_EQ(script.Seen(), std::vector<int>{902});
    }
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_NE(problems[0].find("unexpected dialog 902"), std::string::npos);
}

}  // namespace
