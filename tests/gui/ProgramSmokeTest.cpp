// The whole program started offscreen with an empty settings folder: it shows the main menu,
// saves a picture of it and leaves the settings a first start writes.
#include <gtest/gtest.h>

#include <QImage>
#include <QProcess>
#include <QProcessEnvironment>

#include "../app/AppTestSupport.h"
#include "platform/PathUtil.h"

namespace {

struct stSMOKECASE {
    const char* pszName;
    const char* pszShot;  // below the test's folder
    int nExitCode;
};

class ProgramSmokeTest : public ::testing::TestWithParam<stSMOKECASE> {};

TEST_P(ProgramSmokeTest, FirstStartShowsTheMenuAndWritesTheDefaults) {
    const stSMOKECASE& c = GetParam();
    apptest::CTempDir tmp;
    std::filesystem::create_directories(tmp.Path() / "registry");
    std::filesystem::create_directories(tmp.Path() / "start");
    const QString strProgram = QString::fromStdString(platform::JoinPath(platform::ExecutableDir(), "lumetra"));
    const QString strShot = QString::fromStdString(tmp / c.pszShot);

    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("LUMETRA_REGISTRY_DIR", QString::fromStdString(tmp / "registry"));
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("HOME", QString::fromStdString(tmp.Path().string()));
    env.insert("XDG_CONFIG_HOME", QString::fromStdString(tmp / "config"));
    process.setProcessEnvironment(env);
    process.setWorkingDirectory(QString::fromStdString(tmp / "start"));
    process.start(strProgram, {"--nosplash", "--screenshot", strShot});
    ASSERT_TRUE(process.waitForStarted(20000)) << strProgram.toStdString();
    ASSERT_TRUE(process.waitForFinished(120000));
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process.exitCode(), c.nExitCode) << process.readAllStandardError().toStdString();

    const std::string strSystem = apptest::ReadFile(tmp / "registry/system.reg");
    EXPECT_NE(strSystem.find("[HKEY_LOCAL_MACHINE\\Software\\Corvane Control\\Lumetra]"), std::string::npos);
    for (const char* pszLine : {"\"Language\"=\"English\"", "\"OSLanguage\"=\"English\"", "\"Lang1\"=\"Japanese\"",
                                "\"Lang2\"=\"English\"", "\"Lang3\"=\"Chinese\"", "\"LangMax\"=dword:00000003"})
        EXPECT_NE(strSystem.find(pszLine), std::string::npos) << pszLine << "\n" << strSystem;
    const std::string strUser = apptest::ReadFile(tmp / "registry/user.reg");
    EXPECT_NE(strUser.find("[HKEY_CURRENT_USER\\Software\\Corvane Control\\Lumetra\\Settings]"), std::string::npos);
    for (const char* pszLine : {"\"InitialStart\"=dword:00000002", "\"CO2Param\"=\"0.41\"", "\"CurrParam1\"=\"11.00\"",
                                "\"CurrParam2\"=\"11.00\"", "\"CurrParam3\"=\"11.00\""})
        EXPECT_NE(strUser.find(pszLine), std::string::npos) << pszLine << "\n" << strUser;

    // The menu was on the screen: its picture has the window's size. A picture that cannot be
    // written leaves no file and fails the run.
    QImage image(strShot);
    EXPECT_EQ(image.isNull(), c.nExitCode != 0);
    if (!image.isNull()) {
        EXPECT_EQ(image.size(), QSize(1024, 768));
    }
    EXPECT_FALSE(std::filesystem::exists(tmp / (std::string(c.pszShot) + ".tmp")));
}

INSTANTIATE_TEST_SUITE_P(Cases, ProgramSmokeTest,
                         ::testing::Values(stSMOKECASE{"Screenshot", "menu.png", 0},
                                           stSMOKECASE{"ScreenshotFolderMissing", "missing/menu.png", 1}),
                         [](const auto& info) { return std::string(info.param.pszName); });

}  // namespace
