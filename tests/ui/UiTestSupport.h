#pragma once
#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>

#include "platform/ResourceModule.h"
#include "ui/ModalScript.h"
#include "ui/ScriptedResponder.h"
#include "ui/UiContext.h"

// One offscreen application for the whole test binary; failures of scripted
// answers become test failures instead of aborting.
inline QApplication& TestApp() {
    static QApplication* pApp = [] {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        static int argc = 1;
        static char arg0[] = "ui_tests";
        static char* argv[] = {arg0, nullptr};
        auto* p = new QApplication(argc, argv);
        CScriptedResponder::SetDefaultFailureHandler([](const std::string& s) { ADD_FAILURE() << s; });
        return p;
    }();
    return *pApp;
}

// Every ui test starts with the English resources and the default context.
class UiTest : public ::testing::Test {
protected:
    UiTest() { TestApp(); }  // before the fixtures' widget members
    void SetUp() override {
        TestApp();
        platform::SetCurrentResources(nullptr);
        CUiContext::Reset();
    }
    void TearDown() override { platform::SetCurrentResources(nullptr); }

    // A module of just these texts; what it lacks falls back to English.
    static std::shared_ptr<const platform::CResourceModule> ModuleWith(const std::string& strExtra) {
        std::string strError;
        auto module = platform::CResourceModule::Parse(strExtra, &strError);
        EXPECT_TRUE(module) << strError;
        return module;
    }
};
