// Start-up of the application object: language resolution, machine-wide defaults, migration of
// old values and the settings read from the store; no window is shown.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "AppTestSupport.h"
#include "BmpFixture.h"
#include "app/LumetraApp.h"
#include "app/SplashWnd.h"
#include "platform/PathUtil.h"
#include "platform/RegistryStore.h"
#include "platform/ResourceModule.h"

namespace {

using apptest::CTempDir;
using platform::CRegistryStore;
using platform::RegRoot;

[[maybe_unused]] ::testing::Environment* const g_pQtEnv =
    ::testing::AddGlobalTestEnvironment(new apptest::CQtEnvironment);

const std::string kMachineKey = "Software\\Corvane Control\\Lumetra";
const std::string kUserKey = "Software\\Corvane Control\\Lumetra\\Settings";

const char* const kJapaneseModule = "STRING 11 \" Yen \"\nSTRING 57344 \"Lumetra JP\"\n";
const char* const kChineseModule = "STRING 11 \"Yuan\"\nSTRING 57344 \"Lumetra CN\"\n";

// One test's world: its own store files, start folder and folder of language modules.
class StartUpTest : public ::testing::Test {
protected:
    StartUpTest()
        : m_store(m_tmp / "reg/user.reg", m_tmp / "reg/system.reg"),
          m_resEnv("LUMETRA_RESOURCE_DIR", m_tmp / "res"),
          m_cwd(m_tmp.Path() / "start") {
        std::filesystem::create_directories(m_tmp.Path() / "reg");
        std::filesystem::create_directories(m_tmp.Path() / "res");
    }
    ~StartUpTest() override { platform::SetCurrentResources(nullptr); }

    std::unique_ptr<CLumetraApp> Start() {
        auto pApp = std::make_unique<CLumetraApp>(&m_store);
        pApp->m_strProgramDir = m_tmp / "prog";
        pApp->m_cmdInfo.bShowSplash = false;
        pApp->StartUp();
        return pApp;
    }
    void SetMachine(const std::string& strName, const std::string& strValue) {
        ASSERT_TRUE(m_store.SetString(RegRoot::LocalMachine, kMachineKey, strName, strValue));
    }
    void SetMachineDword(const std::string& strName, uint32_t nValue) {
        ASSERT_TRUE(m_store.SetDword(RegRoot::LocalMachine, kMachineKey, strName, nValue));
    }
    void RegisterThree() {
        SetMachine("Lang1", "Japanese");
        SetMachine("Lang2", "English");
        SetMachine("Lang3", "Chinese");
        SetMachineDword("LangMax", 3);
    }
    std::optional<std::string> UserString(const std::string& strName) {
        return m_store.GetString(RegRoot::CurrentUser, kUserKey, strName);
    }
    std::string StartDir() const { return std::filesystem::canonical(m_tmp.Path() / "start").string(); }

    CTempDir m_tmp;
    CRegistryStore m_store;
    apptest::CScopedEnv m_resEnv;
    apptest::CScopedCwd m_cwd;
};

TEST_F(StartUpTest, FreshProfileCreatesTheDefaults) {
    auto pApp = Start();
    EXPECT_EQ(pApp->m_nLanguage, LANG_ENGLISH);
    EXPECT_EQ(pApp->m_nOSLanguage, LANG_ENGLISH);
    EXPECT_EQ(pApp->m_nInitialStart, 2);
    EXPECT_DOUBLE_EQ(pApp->m_dCO2Rate, 0.41);
    EXPECT_DOUBLE_EQ(pApp->m_dPrice, 11.0);
    EXPECT_EQ(pApp->m_strCurrencyUnit, "");  // the English unit is a single blank
    EXPECT_EQ(pApp->m_bOverwriteConfirm, 0);
    EXPECT_EQ(pApp->m_strStartDir, StartDir());
    EXPECT_EQ(pApp->m_strSaveDir, StartDir());
    EXPECT_EQ(pApp->m_strDataPath, platform::JoinPath(StartDir(), "Log"));
    EXPECT_EQ(platform::CurrentResources(), platform::CResourceModule::English());

    // The exact values a first start leaves in the two files.
    const std::string strSystem = apptest::ReadFile(m_tmp / "reg/system.reg");
    EXPECT_NE(strSystem.find("[HKEY_LOCAL_MACHINE\\Software\\Corvane Control\\Lumetra]"), std::string::npos);
    for (const char* pszLine : {"\"Language\"=\"English\"", "\"OSLanguage\"=\"English\"", "\"Lang1\"=\"Japanese\"",
                                "\"Lang2\"=\"English\"", "\"Lang3\"=\"Chinese\"", "\"LangMax\"=dword:00000003"})
        EXPECT_NE(strSystem.find(pszLine), std::string::npos) << pszLine << "\n" << strSystem;
    const std::string strUser = apptest::ReadFile(m_tmp / "reg/user.reg");
    EXPECT_NE(strUser.find("[HKEY_CURRENT_USER\\Software\\Corvane Control\\Lumetra\\Settings]"), std::string::npos);
    for (const char* pszLine : {"\"InitialStart\"=dword:00000002", "\"CO2Param\"=\"0.41\"", "\"CurrParam1\"=\"11.00\"",
                                "\"CurrParam2\"=\"11.00\"", "\"CurrParam3\"=\"11.00\""})
        EXPECT_NE(strUser.find(pszLine), std::string::npos) << pszLine << "\n" << strUser;
}

TEST_F(StartUpTest, WorkspaceKeyIsDeletedOnlyByTheMigration) {
    const std::string strWorkspace = "Software\\Corvane Control\\Lumetra\\Workspace";
    ASSERT_TRUE(m_store.SetDword(RegRoot::CurrentUser, strWorkspace + "\\Bars", "Count", 4));
    Start();
    EXPECT_FALSE(m_store.KeyExists(RegRoot::CurrentUser, strWorkspace));
    EXPECT_FALSE(m_store.KeyExists(RegRoot::CurrentUser, strWorkspace + "\\Bars"));

    // Once "InitialStart" is 2 the key is left alone.
    ASSERT_TRUE(m_store.SetDword(RegRoot::CurrentUser, strWorkspace, "Kept", 1));
    Start();
    EXPECT_TRUE(m_store.KeyExists(RegRoot::CurrentUser, strWorkspace));
}

TEST_F(StartUpTest, ExistingMachineKeyIsNotFilledIn) {
    SetMachine("Language", "English");
    Start();
    EXPECT_FALSE(m_store.GetDword(RegRoot::LocalMachine, kMachineKey, "LangMax"));
    EXPECT_FALSE(m_store.GetString(RegRoot::LocalMachine, kMachineKey, "Lang1"));
}

// The language resolution: stored language, registered list and modules present.
struct stLANGCASE {
    const char* pszName;
    const char* pszLanguage;  // nullptr: value missing
    int nLangMax;             // entries Japanese, English, Chinese up to this count
    bool bJapaneseModule;
    bool bChineseModule;
    int nExpected;
    const char* pszExpectedTitle;  // string 57344 of the module in use
};

class LanguageResolutionTest : public StartUpTest, public ::testing::WithParamInterface<stLANGCASE> {};

TEST_P(LanguageResolutionTest, PicksTheFirstUsableLanguage) {
    const stLANGCASE& c = GetParam();
    const char* const names[] = {"Japanese", "English", "Chinese"};
    if (c.pszLanguage) SetMachine("Language", c.pszLanguage);
    SetMachine("OSLanguage", "Japanese");
    for (int i = 0; i < c.nLangMax && i < 3; ++i) SetMachine("Lang" + std::to_string(i + 1), names[i]);
    if (c.nLangMax >= 0) SetMachineDword("LangMax", static_cast<uint32_t>(c.nLangMax));
    if (c.bJapaneseModule) apptest::WriteFile(m_tmp / "res/LumetraResJpn.res", kJapaneseModule);
    if (c.bChineseModule) apptest::WriteFile(m_tmp / "res/LumetraResChs.res", kChineseModule);

    auto pApp = Start();
    EXPECT_EQ(pApp->m_nLanguage, c.nExpected);
    EXPECT_EQ(pApp->m_nOSLanguage, LANG_JAPANESE);
    EXPECT_EQ(platform::LoadStr(57344), c.pszExpectedTitle);
    EXPECT_EQ(pApp->m_hResource, platform::CurrentResources());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LanguageResolutionTest,
    ::testing::Values(stLANGCASE{"JapaneseWithModule", "Japanese", 3, true, false, LANG_JAPANESE, "Lumetra JP"},
                      stLANGCASE{"LowerCaseName", "japanese", 3, true, false, LANG_JAPANESE, "Lumetra JP"},
                      stLANGCASE{"JapaneseModuleMissing", "Japanese", 3, false, true, LANG_ENGLISH, "Lumetra"},
                      stLANGCASE{"ChineseWithModule", "CHINESE", 3, true, true, LANG_CHINESE, "Lumetra CN"},
                      stLANGCASE{"ChineseNotRegistered", "Chinese", 2, true, true, LANG_ENGLISH, "Lumetra"},
                      stLANGCASE{"UnknownName", "French", 3, true, true, LANG_ENGLISH, "Lumetra"},
                      stLANGCASE{"EmptyName", "", 3, true, true, LANG_ENGLISH, "Lumetra"},
                      stLANGCASE{"ValueMissing", nullptr, 3, true, true, LANG_ENGLISH, "Lumetra"},
                      // English not registered either: after three failed attempts English all the same.
                      stLANGCASE{"NothingRegistered", "Japanese", 0, true, true, LANG_ENGLISH, "Lumetra"},
                      stLANGCASE{"LangMaxMissing", "Chinese", -1, true, true, LANG_ENGLISH, "Lumetra"},
                      // Japanese not registered: 0 goes on to English.
                      stLANGCASE{"OnlyEnglishRegistered", "Japanese", 2, false, true, LANG_ENGLISH, "Lumetra"}),
    [](const auto& info) { return std::string(info.param.pszName); });

// Japanese modules that cannot be used: the start goes on in English.
struct stBADMODULECASE {
    const char* pszName;
    std::string strContent;
};

class DamagedModuleTest : public StartUpTest, public ::testing::WithParamInterface<stBADMODULECASE> {};

TEST_P(DamagedModuleTest, FallsBackToEnglish) {
    RegisterThree();
    SetMachine("Language", "Japanese");
    apptest::WriteFile(m_tmp / "res/LumetraResJpn.res", GetParam().strContent);
    auto pApp = Start();
    EXPECT_EQ(pApp->m_nLanguage, LANG_ENGLISH);
    EXPECT_EQ(platform::CurrentResources(), platform::CResourceModule::English());
    EXPECT_EQ(pApp->m_strCurrencyUnit, "");
}

INSTANTIATE_TEST_SUITE_P(Cases, DamagedModuleTest,
                         ::testing::Values(stBADMODULECASE{"Junk",
                                                           std::string("STRING 11 \"open\n\x01\x02\xff junk", 20)},
                                           // A copy cut to nothing must not switch the language with English texts.
                                           stBADMODULECASE{"EmptyFile", ""},
                                           stBADMODULECASE{"OnlyComments", "# Japanese\n\n   # nothing else\n"}),
                         [](const auto& info) { return std::string(info.param.pszName); });

TEST_F(StartUpTest, CurrencyUnitDefaultComesTrimmedFromTheModule) {
    RegisterThree();
    SetMachine("Language", "Japanese");
    apptest::WriteFile(m_tmp / "res/LumetraResJpn.res", kJapaneseModule);
    ASSERT_TRUE(m_store.SetString(RegRoot::CurrentUser, kUserKey, "CurrParam1", "23.5"));
    ASSERT_TRUE(m_store.SetDword(RegRoot::CurrentUser, kUserKey, "InitialStart", 2));
    auto pApp = Start();
    EXPECT_EQ(pApp->m_strCurrencyUnit, "Yen");
    EXPECT_DOUBLE_EQ(pApp->m_dPrice, 23.5);
}

// Migration of the numbers older versions kept as DWORD hundredths.
struct stMIGRATIONCASE {
    const char* pszName;
    std::function<void(CRegistryStore&)> setup;
    double dCO2Rate;
    const char* pszCO2Text;    // text of "CO2Param" afterwards; nullptr: no text value
    const char* pszPriceText;  // text of "CurrParam2" afterwards
    double dPrice;
};

class MigrationTest : public StartUpTest, public ::testing::WithParamInterface<stMIGRATIONCASE> {};

TEST_P(MigrationTest, ConvertsOldValuesOnce) {
    const stMIGRATIONCASE& c = GetParam();
    c.setup(m_store);
    auto pApp = Start();
    EXPECT_DOUBLE_EQ(pApp->m_dCO2Rate, c.dCO2Rate);
    EXPECT_DOUBLE_EQ(pApp->m_dPrice, c.dPrice);
    EXPECT_EQ(pApp->m_nInitialStart, 2);
    EXPECT_EQ(m_store.GetDword(RegRoot::CurrentUser, kUserKey, "InitialStart"), 2u);
    const auto co2 = UserString("CO2Param");
    if (c.pszCO2Text) {
        ASSERT_TRUE(co2);
        EXPECT_EQ(*co2, c.pszCO2Text);
    } else {
        EXPECT_FALSE(co2);
    }
    const auto price = UserString("CurrParam2");
    if (c.pszPriceText) {
        ASSERT_TRUE(price);
        EXPECT_EQ(*price, c.pszPriceText);
    } else {
        EXPECT_FALSE(price);
    }
}

void SetUserDword(CRegistryStore& store, const char* pszName, uint32_t nValue) {
    store.SetDword(RegRoot::CurrentUser, "Software\\Corvane Control\\Lumetra\\Settings", pszName, nValue);
}
void SetUserString(CRegistryStore& store, const char* pszName, const char* pszValue) {
    store.SetString(RegRoot::CurrentUser, "Software\\Corvane Control\\Lumetra\\Settings", pszName, pszValue);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MigrationTest,
    ::testing::Values(stMIGRATIONCASE{"OldCO2Dword45",
                                      [](CRegistryStore& s) {
                                          SetUserDword(s, "InitialStart", 0);
                                          SetUserDword(s, "CO2Param", 45);
                                          SetUserDword(s, "CurrParam2", 2450);
                                      },
                                      0.45, "0.45", "24.50", 24.5},
                      stMIGRATIONCASE{"InitialStart1AlsoMigrates",
                                      [](CRegistryStore& s) {
                                          SetUserDword(s, "InitialStart", 1);
                                          SetUserDword(s, "CO2Param", 3);
                                      },
                                      0.03, "0.03", "11.00", 11.0},
                      stMIGRATIONCASE{"OutOfRangeBecomesDefault",
                                      [](CRegistryStore& s) {
                                          SetUserDword(s, "CO2Param", 1000000001u);
                                          SetUserDword(s, "CurrParam2", 0xFFFFFFFFu);
                                      },
                                      0.41, "0.41", "11.00", 11.0},
                      stMIGRATIONCASE{"UpperBoundStays",
                                      [](CRegistryStore& s) { SetUserDword(s, "CO2Param", 1000000000u); }, 10000000.0,
                                      "10000000.00", "11.00", 11.0},
                      // An out-of-range marker counts as 0: text values cannot be read as numbers and fall back.
                      stMIGRATIONCASE{"InitialStart7RunsItAgain",
                                      [](CRegistryStore& s) {
                                          SetUserDword(s, "InitialStart", 7);
                                          SetUserString(s, "CO2Param", "0.50");
                                          SetUserString(s, "CurrParam2", "30");
                                      },
                                      0.41, "0.41", "11.00", 11.0},
                      stMIGRATIONCASE{"DoneMigrationKeepsText",
                                      [](CRegistryStore& s) {
                                          SetUserDword(s, "InitialStart", 2);
                                          SetUserString(s, "CO2Param", "0.5abc");
                                          SetUserString(s, "CurrParam2", "30");
                                      },
                                      0.5, "0.5abc", "30", 30.0},
                      // After the migration an old DWORD is no text: the default rate and price apply.
                      stMIGRATIONCASE{"DoneMigrationIgnoresDwords",
                                      [](CRegistryStore& s) {
                                          SetUserDword(s, "InitialStart", 2);
                                          SetUserDword(s, "CO2Param", 45);
                                      },
                                      0.41, nullptr, nullptr, 11.0},
                      stMIGRATIONCASE{"TextThatIsNoNumberGivesZero",
                                      [](CRegistryStore& s) {
                                          SetUserDword(s, "InitialStart", 2);
                                          SetUserString(s, "CO2Param", "abc");
                                          SetUserString(s, "CurrParam2", "");
                                      },
                                      0.0, "abc", "", 0.0}),
    [](const auto& info) { return std::string(info.param.pszName); });

TEST_F(StartUpTest, StoredDataFolderAndOverwriteSettingAreRead) {
    SetUserString(m_store, "CurrentPath", "/data/meters");
    SetUserDword(m_store, "CopyOverWriteChk", 1);
    auto pApp = Start();
    EXPECT_EQ(pApp->m_strDataPath, "/data/meters");
    EXPECT_EQ(pApp->m_bOverwriteConfirm, 1);
}

// Damaged or unwritable store files: the program starts with the defaults and never crashes.
struct stDAMAGECASE {
    const char* pszName;
    std::string strUser;
    std::string strSystem;
};

class DamagedStoreTest : public StartUpTest, public ::testing::WithParamInterface<stDAMAGECASE> {};

TEST_P(DamagedStoreTest, StartsWithDefaults) {
    const stDAMAGECASE& c = GetParam();
    apptest::WriteFile(m_tmp / "reg/user.reg", c.strUser);
    apptest::WriteFile(m_tmp / "reg/system.reg", c.strSystem);
    auto pApp = Start();
    EXPECT_EQ(pApp->m_nLanguage, LANG_ENGLISH);
    EXPECT_EQ(pApp->m_nInitialStart, 2);
    EXPECT_GE(pApp->m_dCO2Rate, 0.0);
    EXPECT_EQ(pApp->m_strDataPath.empty(), false);
    // A second start reads what the first one wrote back.
    auto pAgain = Start();
    EXPECT_EQ(pAgain->m_nLanguage, LANG_ENGLISH);
    EXPECT_DOUBLE_EQ(pAgain->m_dCO2Rate, pApp->m_dCO2Rate);
}

std::string Junk(size_t nBytes) {
    std::string s;
    uint32_t n = 12345;
    for (size_t i = 0; i < nBytes; ++i) {
        n = n * 1103515245u + 12345u;
        s.push_back(static_cast<char>(n >> 16));
    }
    return s;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DamagedStoreTest,
    ::testing::Values(
        stDAMAGECASE{"BinaryJunk", Junk(5000), Junk(3000)},
        stDAMAGECASE{
            "CutLines",
            "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Corvane Control\\Lumetra\\Settings]\n\"CO2Param\"=\"0.4",
            "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\Software\\Corvane Control\\Lum"},
        stDAMAGECASE{"WrongTypes",
                     "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Corvane Control\\Lumetra\\Settings]\n"
                     "\"InitialStart\"=\"two\"\n\"CO2Param\"=dword:zz\n\"CurrParam2\"=hex:01,02\n",
                     "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\Software\\Corvane Control\\Lumetra]\n"
                     "\"Language\"=dword:00000001\n\"LangMax\"=\"3\"\n"},
        stDAMAGECASE{
            "HugeValues",
            "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Corvane Control\\Lumetra\\Settings]\n\"CurrentPath\"=\"" +
                std::string(70000, 'x') + "\"\n",
            "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\Software\\Corvane Control\\Lumetra]\n\"Language\"=\"" +
                std::string(70000, 'J') + "\"\n\"LangMax\"=dword:7fffffff\n"},
        stDAMAGECASE{"Empty", "", ""}),
    [](const auto& info) { return std::string(info.param.pszName); });

TEST_F(StartUpTest, UnwritableStoreKeepsDefaults) {
    // The store's folder is a plain file, so nothing can be written there, not even by root.
    apptest::WriteFile(m_tmp / "blocked", "not a folder");
    CRegistryStore blocked(m_tmp / "blocked/user.reg", m_tmp / "blocked/system.reg");
    CLumetraApp app(&blocked);
    app.m_cmdInfo.bShowSplash = false;
    app.StartUp();
    EXPECT_EQ(app.m_nLanguage, LANG_ENGLISH);
    EXPECT_DOUBLE_EQ(app.m_dCO2Rate, 0.41);
    EXPECT_DOUBLE_EQ(app.m_dPrice, 11.0);
    EXPECT_EQ(app.m_nInitialStart, 2);
    EXPECT_EQ(apptest::ReadFile(m_tmp / "blocked"), "not a folder");
}

// Machine-wide language values read one by one.
struct stREADCASE {
    const char* pszName;
    std::function<void(CRegistryStore&)> setup;
    int nExpected;
};

class ReadLanguageTest : public StartUpTest, public ::testing::WithParamInterface<stREADCASE> {};

TEST_P(ReadLanguageTest, MapsTheStoredName) {
    GetParam().setup(m_store);
    CLumetraApp app(&m_store);
    EXPECT_EQ(app.ReadLanguageSetting(), GetParam().nExpected);
}

void SetLanguage(CRegistryStore& s, const char* pszValue) {
    s.SetString(RegRoot::LocalMachine, "Software\\Corvane Control\\Lumetra", "Language", pszValue);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReadLanguageTest,
    ::testing::Values(stREADCASE{"English", [](CRegistryStore& s) { SetLanguage(s, "English"); }, LANG_ENGLISH},
                      stREADCASE{"UpperCaseChinese", [](CRegistryStore& s) { SetLanguage(s, "CHINESE"); },
                                 LANG_CHINESE},
                      stREADCASE{"Empty", [](CRegistryStore& s) { SetLanguage(s, ""); }, -1},
                      stREADCASE{"Prefix", [](CRegistryStore& s) { SetLanguage(s, "Japan"); }, -1},
                      stREADCASE{"Longer", [](CRegistryStore& s) { SetLanguage(s, "Japanese2"); }, -1},
                      stREADCASE{"Dword",
                                 [](CRegistryStore& s) {
                                     s.SetDword(RegRoot::LocalMachine, "Software\\Corvane Control\\Lumetra", "Language",
                                                0);
                                 },
                                 -1},
                      stREADCASE{"NoKey", [](CRegistryStore&) {}, -1}),
    [](const auto& info) { return std::string(info.param.pszName); });

TEST_F(StartUpTest, WriteLanguageSettingStoresTheName) {
    CLumetraApp app(&m_store);
    app.WriteLanguageSetting(LANG_JAPANESE);  // no key to open: nothing is written
    EXPECT_FALSE(m_store.KeyExists(RegRoot::LocalMachine, kMachineKey));
    SetMachineDword("LangMax", 3);
    for (auto [nIndex, pszName] :
         {std::pair{0, "Japanese"}, {2, "Chinese"}, {1, "English"}, {7, "English"}, {-1, "English"}}) {
        app.WriteLanguageSetting(nIndex);
        EXPECT_EQ(m_store.GetString(RegRoot::LocalMachine, kMachineKey, "Language"), pszName) << nIndex;
    }
}

TEST_F(StartUpTest, EnumRegisteredLanguageWalksTheList) {
    CLumetraApp app(&m_store);
    int nIt = -1;
    EXPECT_EQ(app.EnumRegisteredLanguage(nIt, 1), -1);  // no key
    EXPECT_EQ(app.EnumRegisteredLanguage(nIt, 0), -1);
    EXPECT_EQ(nIt, -1);

    SetMachine("Lang1", "chinese");
    SetMachine("Lang2", "Klingon");
    SetMachine("Lang4", "Japanese");
    EXPECT_EQ(app.EnumRegisteredLanguage(nIt, 1), 0);  // "LangMax" missing
    nIt = -1;
    EXPECT_EQ(app.EnumRegisteredLanguage(nIt, 0), -1);
    EXPECT_EQ(nIt, -1);

    SetMachineDword("LangMax", 4);
    EXPECT_EQ(app.EnumRegisteredLanguage(nIt, 1), 4);
    std::vector<int> walked;
    std::vector<int> iterators;
    nIt = -1;
    do {
        walked.push_back(app.EnumRegisteredLanguage(nIt, 0));
        iterators.push_back(nIt);
    } while (nIt != -1);
    EXPECT_EQ(walked, (std::vector<int>{LANG_CHINESE, -1, -1, LANG_JAPANESE}));
    EXPECT_EQ(iterators, (std::vector<int>{1, 2, 3, -1}));
}

TEST_F(StartUpTest, EnumRegisteredLanguageEndsOnADamagedCount) {
    SetMachine("Lang1", "English");
    SetMachineDword("LangMax", 0xFFFFFFF0u);
    CLumetraApp app(&m_store);
    int nIt = -1;
    int nCalls = 0;
    do {
        app.EnumRegisteredLanguage(nIt, 0);
    } while (nIt != -1 && ++nCalls < 100000);
    EXPECT_LE(nCalls, CLumetraApp::kMaxLanguageEntries);
}

TEST_F(StartUpTest, PriceSettingsRoundTripPerLanguage) {
    CLumetraApp app(&m_store);
    app.m_dPrice = 123456789.123;
    app.m_strCurrencyUnit = "EUR";
    app.SavePriceSettings(LANG_CHINESE);
    EXPECT_EQ(UserString("CurrParam3"), "123456789.1");
    EXPECT_EQ(UserString("CurrUnit3"), "EUR");
    EXPECT_FALSE(UserString("CurrParam2"));

    app.LoadPriceSettings(LANG_ENGLISH);
    EXPECT_DOUBLE_EQ(app.m_dPrice, 11.0);
    EXPECT_EQ(app.m_strCurrencyUnit, "");
    app.LoadPriceSettings(LANG_CHINESE);
    EXPECT_DOUBLE_EQ(app.m_dPrice, 123456789.1);
    EXPECT_EQ(app.m_strCurrencyUnit, "EUR");

    app.m_dCO2Rate = 0.5;
    app.SaveCO2Settings();
    EXPECT_EQ(UserString("CO2Param"), "0.5");
}

TEST(LanguageTableTest, FaceAndCodePerIndex) {
    EXPECT_EQ(CLumetraApp::GetLanguageFontFace(LANG_JAPANESE), "MS UI Gothic");
    EXPECT_EQ(CLumetraApp::GetLanguageFontFace(LANG_ENGLISH), "MS UI Gothic");
    EXPECT_EQ(CLumetraApp::GetLanguageFontFace(LANG_CHINESE), "NSimSun");
    EXPECT_EQ(CLumetraApp::GetLanguageFontFace(-1), "MS UI Gothic");
    EXPECT_EQ(CLumetraApp::GetLanguageCode(LANG_JAPANESE), "jpn");
    EXPECT_EQ(CLumetraApp::GetLanguageCode(LANG_CHINESE), "chs");
    for (int n : {int(LANG_ENGLISH), -1, 3, 99}) EXPECT_EQ(CLumetraApp::GetLanguageCode(n), "enu") << n;
}

TEST_F(StartUpTest, LanguageSwitchLoadsTheModuleOrKeepsTheOldTexts) {
    RegisterThree();
    apptest::WriteFile(m_tmp / "res/LumetraResJpn.res", kJapaneseModule);
    auto pApp = Start();
    ASSERT_EQ(pApp->m_nLanguage, LANG_ENGLISH);

    EXPECT_TRUE(pApp->SwitchLanguage(LANG_JAPANESE));
    EXPECT_EQ(pApp->m_nLanguage, LANG_JAPANESE);
    EXPECT_EQ(pApp->m_bRestartMenu, 1);
    EXPECT_EQ(platform::LoadStr(57344), "Lumetra JP");

    pApp->m_bRestartMenu = 0;
    EXPECT_FALSE(pApp->SwitchLanguage(LANG_CHINESE));  // no module: the texts stay Japanese
    EXPECT_EQ(pApp->m_nLanguage, LANG_CHINESE);
    EXPECT_EQ(pApp->m_bRestartMenu, 0);
    EXPECT_EQ(platform::LoadStr(57344), "Lumetra JP");

    EXPECT_TRUE(pApp->SwitchLanguage(5));  // any other index is English
    EXPECT_EQ(pApp->m_nLanguage, LANG_ENGLISH);
    EXPECT_EQ(platform::LoadStr(57344), "Lumetra");
}

TEST(CommandLineTest, ReadsTheOptionsTheProgramKnows) {
    CRegistryStore store("/nonexistent/user.reg", "/nonexistent/system.reg");
    struct stCASE {
        std::vector<const char*> args;
        bool bSplash;
        const char* pszShot;
    };
    const stCASE cases[] = {
        {{"lumetra"}, true, ""},
        {{"lumetra", "--nosplash"}, false, ""},
        {{"lumetra", "/NoSplash"}, false, ""},
        {{"lumetra", "-nosplash", "--screenshot", "menu.png"}, false, "menu.png"},
        {{"lumetra", "nosplash", "--screenshot"}, true, ""},
        {{"lumetra", "--other", "file.csv"}, true, ""},
    };
    for (const stCASE& c : cases) {
        CLumetraApp app(&store);
        app.ParseCommandLine(static_cast<int>(c.args.size()), c.args.data());
        EXPECT_EQ(app.m_cmdInfo.bShowSplash, c.bSplash) << c.args.size();
        EXPECT_EQ(app.m_cmdInfo.strScreenshot, c.pszShot);
    }
}

}  // namespace
