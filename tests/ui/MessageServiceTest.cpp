#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QtTest/QTest>

#include "UiTestSupport.h"
#include "ui/MessageService.h"
#include "ui/QtMessageService.h"

namespace {

struct ButtonSetCase {
    int nSet;
    std::vector<int> ids;
    std::vector<QString> captions;
    int nEscape;
};

class MessageButtonSetTest : public UiTest, public ::testing::WithParamInterface<ButtonSetCase> {};

TEST_P(MessageButtonSetTest, BoxHasTheSetsButtonsCaptionsAndFont) {
    const ButtonSetCase& c = GetParam();
    QFont fontUI;
    fontUI.setFamily(QStringLiteral("DejaVu Sans"));
    fontUI.setPointSize(9);
    CUiContext::SetInterfaceFont(fontUI);

    stMESSAGE message;
    message.strText = QStringLiteral("Question?");
    message.nFlags = static_cast<unsigned>(c.nSet) | MB_ICONQUESTION;
    message.nButtonSet = c.nSet;
    std::map<QAbstractButton*, int> mapIds;
    auto box = CQtMessageService::CreateBox(message, mapIds);

    EXPECT_EQ(box->windowTitle(), QStringLiteral("Lumetra"));
    EXPECT_EQ(box->text(), QStringLiteral("Question?"));
    EXPECT_EQ(box->icon(), QMessageBox::Question);
    EXPECT_EQ(box->font(), fontUI);
    const QList<QAbstractButton*> buttons = box->buttons();
    ASSERT_EQ(buttons.size(), static_cast<qsizetype>(c.ids.size()));
    for (size_t i = 0; i < c.ids.size(); ++i) {
        EXPECT_EQ(mapIds[buttons[i]], c.ids[i]) << "button " << i;
        EXPECT_EQ(buttons[i]->text(), c.captions[i]) << "button " << i;
        EXPECT_EQ(buttons[i]->font(), fontUI);
    }
    EXPECT_EQ(box->defaultButton(), buttons[0]);
    EXPECT_EQ(MessageEscapeId(c.nSet), c.nEscape);
    if (c.nEscape != 0) {
        ASSERT_NE(box->escapeButton(), nullptr);
        EXPECT_EQ(mapIds[box->escapeButton()], c.nEscape);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Sets, MessageButtonSetTest,
    ::testing::Values(ButtonSetCase{0, {IDOK}, {"OK"}, IDOK},
                      ButtonSetCase{1, {IDOK, IDCANCEL}, {"OK", "Cancel"}, IDCANCEL},
                      ButtonSetCase{2, {IDABORT, IDRETRY, IDIGNORE}, {"&Abort", "&Retry", "&Ignore"}, 0},
                      ButtonSetCase{3, {IDYES, IDNO, IDCANCEL}, {"&Yes", "&No", "Cancel"}, IDCANCEL},
                      ButtonSetCase{4, {IDYES, IDNO}, {"&Yes", "&No"}, 0},
                      ButtonSetCase{5, {IDRETRY, IDCANCEL}, {"&Retry", "Cancel"}, IDCANCEL},
                      ButtonSetCase{
                          6, {IDCANCEL, IDTRYAGAIN, IDCONTINUE}, {"Cancel", "&Try Again", "&Continue"}, IDCANCEL}));

using MessageBoxTest = UiTest;

TEST_F(MessageBoxTest, SecondButtonCanBeTheDefault) {
    stMESSAGE message;
    message.nFlags = MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2;
    message.nButtonSet = MB_YESNO;
    std::map<QAbstractButton*, int> mapIds;
    auto box = CQtMessageService::CreateBox(message, mapIds);
    EXPECT_EQ(mapIds[box->defaultButton()], IDNO);
}

TEST_F(MessageBoxTest, CaptionsAndTitleComeFromTheCurrentModule) {
    platform::SetCurrentResources(ModuleWith("STRING 57344 \"Lumetra J\"\nSTRING 86 \"Hai(&Y)\"\n"));
    stMESSAGE message;
    message.nButtonSet = MB_YESNO;
    std::map<QAbstractButton*, int> mapIds;
    auto box = CQtMessageService::CreateBox(message, mapIds);
    EXPECT_EQ(box->windowTitle(), QStringLiteral("Lumetra J"));
    EXPECT_EQ(box->buttons()[0]->text(), QStringLiteral("Hai(&Y)"));
    EXPECT_EQ(box->buttons()[1]->text(), QStringLiteral("&No"));  // missing there: English
}

// Runs fn on the message box once it is up.
void WhenBoxShows(std::function<void(QMessageBox*)> fn) {
    QTimer::singleShot(0, [fn] {
        auto* pBox = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(pBox, nullptr);
        fn(pBox);
    });
}

QAbstractButton* ButtonWithText(QMessageBox* pBox, const QString& strText) {
    for (QAbstractButton* p : pBox->buttons())
        if (p->text() == strText) return p;
    return nullptr;
}

TEST_F(MessageBoxTest, ShowMessageReturnsThePressedButtonsId) {
    WhenBoxShows([](QMessageBox* pBox) {
        EXPECT_EQ(pBox->text(), QStringLiteral("Finishing.OK?"));
        ButtonWithText(pBox, QStringLiteral("&No"))->click();
    });
    EXPECT_EQ(ShowMessage(51, MB_ICONQUESTION | MB_YESNO), IDNO);

    WhenBoxShows([](QMessageBox* pBox) { QTest::keyClick(pBox, Qt::Key_Escape); });
    EXPECT_EQ(ShowMessage("Insert SD card.", MB_ICONINFORMATION | MB_OKCANCEL), IDCANCEL);

    WhenBoxShows([](QMessageBox* pBox) { QTest::keyClick(pBox, Qt::Key_Escape); });
    EXPECT_EQ(ShowMessage(std::string("Done."), MB_ICONINFORMATION | MB_OK), IDOK);
}

TEST_F(MessageBoxTest, EscapeDoesNothingInAYesNoBox) {
    WhenBoxShows([](QMessageBox* pBox) {
        QTest::keyClick(pBox, Qt::Key_Escape);
        pBox->close();
        EXPECT_TRUE(pBox->isVisible());
        ButtonWithText(pBox, QStringLiteral("&Yes"))->click();
    });
    EXPECT_EQ(ShowMessage(51, MB_ICONQUESTION | MB_YESNO), IDYES);
}

TEST_F(MessageBoxTest, ButtonSetFollowsTheFlagsUnlessGiven) {
    CScriptedResponder responder;
    responder.Expect("a", IDRETRY).Expect("b", IDOK).Expect("c", IDOK);
    EXPECT_EQ(ShowMessage("a", MB_RETRYCANCEL | MB_ICONWARNING), IDRETRY);
    EXPECT_EQ(ShowMessage("b", MB_ICONWARNING, MB_OKCANCEL), IDOK);
    EXPECT_EQ(ShowMessage("c", 0x0F), IDOK);  // an unknown set shows OK alone
    ASSERT_EQ(responder.Shown().size(), 3u);
    EXPECT_EQ(responder.Shown()[0].nButtonSet, MB_RETRYCANCEL);
    EXPECT_EQ(responder.Shown()[0].nFlags & MB_ICONMASK, MB_ICONWARNING);
    EXPECT_EQ(responder.Shown()[1].nButtonSet, MB_OKCANCEL);
    EXPECT_EQ(responder.Shown()[2].nButtonSet, MB_OK);
}

TEST_F(MessageBoxTest, ScriptedResponderAnswersInOrderAndRestoresTheService) {
    CMessageService* pBefore = &CMessageService::Instance();
    {
        CScriptedResponder responder;
        EXPECT_EQ(&CMessageService::Instance(), &responder);
        responder.Expect("Finishing.OK?", IDYES).ExpectContaining("Failed to copy", IDOK);
        EXPECT_EQ(ShowMessage(51, MB_ICONQUESTION | MB_YESNO), IDYES);
        EXPECT_EQ(ShowMessage("Failed to copy the following folder.\nMTR0003", MB_ICONWARNING | MB_OK), IDOK);
        EXPECT_EQ(responder.Pending(), 0);
    }
    EXPECT_EQ(&CMessageService::Instance(), pBefore);
}

struct ResponderFault {
    const char* name;
    std::function<void(CScriptedResponder&)> script;
    std::function<void()> run;
    const char* problem;  // part of the reported failure
};

class ScriptedResponderFaultTest : public UiTest, public ::testing::WithParamInterface<ResponderFault> {};

TEST_P(ScriptedResponderFaultTest, ReportsLoudly) {
    std::vector<std::string> problems;
    {
        CScriptedResponder responder;
        responder.SetFailureHandler([&](const std::string& s) { problems.push_back(s); });
        GetParam().script(responder);
        GetParam().run();
    }
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_NE(problems[0].find(GetParam().problem), std::string::npos) << problems[0];
}

INSTANTIATE_TEST_SUITE_P(
    Faults, ScriptedResponderFaultTest,
    ::testing::Values(ResponderFault{"Unexpected", [](CScriptedResponder&) {},
                                     [] { EXPECT_EQ(ShowMessage(51, MB_YESNO), IDNO); },
                                     "unexpected message: \"Finishing.OK?\""},
                      ResponderFault{"OtherText", [](CScriptedResponder& r) { r.Expect("Insert SD card.", IDOK); },
                                     [] { EXPECT_EQ(ShowMessage(51, MB_YESNO), IDNO); },
                                     "but was shown \"Finishing.OK?\""},
                      ResponderFault{"AnswerNotInSet", [](CScriptedResponder& r) { r.Expect("Finishing.OK?", IDOK); },
                                     [] { ShowMessage(51, MB_YESNO); }, "is no button of set 4"},
                      ResponderFault{"NeverAsked", [](CScriptedResponder& r) { r.Expect("Clear completed.", IDOK); },
                                     [] {}, "never shown: \"Clear completed.\""}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
