#include "platform/ResourceModule.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "EmbeddedResources.h"

namespace {

using platform::CResourceModule;

const char* const kSample = R"(# a sample module
STRING 1 "Ver. 1.53"
STRING 11 " "
STRING 51 "Finishing.OK?"
STRING 70 "say \"hi\"\\ two\nlines\ttab"
STRING 51 "Replaced"

DIALOG 182 0 0 300 60 "Dialog" RESIZABLE MENU=128
  CONTROL 1 BUTTON 10 10 50 14 "OK" HIDDEN DEFAULT
  CONTROL 1188 STATIC 0 5 300 20 "" CENTER
  CONTROL -1 FRAME 0 30 300 2 ""
END

MENU 128
  POPUP "&Menu"
    ITEM 57664 "&Version"
    SEPARATOR
    POPUP "Sub"
      ITEM 5 "Deep"
    END
  END
  ITEM 9 "Top"
END
)";

TEST(ResourceModuleTest, ParsesStringsDialogsAndMenus) {
    std::string strError;
    auto module = CResourceModule::Parse(kSample, &strError);
    ASSERT_TRUE(module) << strError;
    EXPECT_EQ(module->LoadString(1), "Ver. 1.53");
    EXPECT_EQ(module->LoadString(11), " ");
    EXPECT_EQ(module->LoadString(51), "Replaced");  // a later definition wins
    EXPECT_EQ(module->LoadString(70), "say \"hi\"\\ two\nlines\ttab");
    EXPECT_FALSE(module->HasString(2));
    EXPECT_EQ(module->LoadString(2), "");

    const platform::stDLGTEMPLATE* pDlg = module->FindDialog(182);
    ASSERT_NE(pDlg, nullptr);
    EXPECT_EQ(pDlg->cx, 300);
    EXPECT_EQ(pDlg->strCaption, "Dialog");
    EXPECT_TRUE(pDlg->HasFlag("resizable"));
    EXPECT_EQ(pDlg->FlagValue("MENU"), "128");
    ASSERT_EQ(pDlg->controls.size(), 3u);
    const platform::stDLGCONTROL* pOk = pDlg->Find(1);
    ASSERT_NE(pOk, nullptr);
    EXPECT_EQ(pOk->strClass, "BUTTON");
    EXPECT_TRUE(pOk->HasFlag("HIDDEN"));
    EXPECT_TRUE(pOk->HasFlag("DEFAULT"));
    EXPECT_FALSE(pOk->HasFlag("DISABLED"));
    EXPECT_EQ(pDlg->Find(-1)->strClass, "FRAME");
    EXPECT_EQ(pDlg->Find(1234), nullptr);
    EXPECT_EQ(module->FindDialog(100), nullptr);

    const platform::stMENUTEMPLATE* pMenu = module->FindMenu(128);
    ASSERT_NE(pMenu, nullptr);
    ASSERT_EQ(pMenu->items.size(), 2u);
    const auto& popup = pMenu->items[0];
    EXPECT_TRUE(popup.bPopup);
    EXPECT_EQ(popup.strText, "&Menu");
    ASSERT_EQ(popup.children.size(), 3u);
    EXPECT_EQ(popup.children[0].nId, 57664);
    EXPECT_TRUE(popup.children[1].bSeparator);
    ASSERT_EQ(popup.children[2].children.size(), 1u);
    EXPECT_EQ(popup.children[2].children[0].strText, "Deep");
    EXPECT_EQ(pMenu->items[1].nId, 9);
    EXPECT_EQ(module->FindMenu(1), nullptr);
}

TEST(ResourceModuleTest, AcceptsCrLfBomAndEmptyText) {
    auto module = CResourceModule::Parse("\xEF\xBB\xBFSTRING 5 \"a\"\r\n\r\n  # note\r\nSTRING 6 \"\"\r\n");
    ASSERT_TRUE(module);
    EXPECT_EQ(module->LoadString(5), "a");
    EXPECT_TRUE(module->HasString(6));
    EXPECT_TRUE(CResourceModule::Parse(""));
}

struct BadCase {
    const char* text;
    const char* expectedError;  // the start of the message
};

class ResourceModuleBadTest : public ::testing::TestWithParam<BadCase> {};

TEST_P(ResourceModuleBadTest, RefusesWithLineNumber) {
    std::string strError;
    EXPECT_FALSE(CResourceModule::Parse(GetParam().text, &strError));
    EXPECT_EQ(strError.rfind(GetParam().expectedError, 0), 0u) << strError;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ResourceModuleBadTest,
    ::testing::Values(
        BadCase{"STRING 1 \"open", "line 1: text without closing quote"},
        BadCase{"\nSTRING 1 \"a\\q\"", "line 2: unknown escape"},
        BadCase{"STRING 1 \"a\\", "line 1: text without closing quote"},
        BadCase{"STRING x \"a\"", "line 1: id must be a decimal number"},
        BadCase{"STRING 99999999999 \"a\"", "line 1: id out of range"},
        BadCase{"STRING -2 \"a\"", "line 1: id out of range"}, BadCase{"STRING +2 \"a\"", "line 1: id must be"},
        BadCase{"STRING 1 a", "line 1: quoted text expected"}, BadCase{"STRING 1", "line 1: quoted text expected"},
        BadCase{"STRING 1 \"a\" extra", "line 1: unexpected \"extra\""},
        BadCase{"STRING 1 \"a\"\"b\"", "line 1: blank expected"},
        BadCase{"STRING 1 a\"b\"", "line 1: quote inside a word"},
        BadCase{"FOO 1", "line 1: unknown statement \"FOO\""}, BadCase{"string 1 \"a\"", "line 1: unknown statement"},
        BadCase{"\"x\"", "line 1: statement expected"},
        BadCase{"DIALOG 1 0 0 10 10 \"c\"\nCONTROL 1 BUTTON 0 0 1 1 \"b\"", "line 2: DIALOG without END"},
        BadCase{"DIALOG 1 0 0 10 -10 \"c\"\nEND", "line 1: height out of range"},
        BadCase{"DIALOG 1 0 0 10 40000 \"c\"\nEND", "line 1: height out of range"},
        BadCase{"DIALOG 1 0 0 10 10 \"c\" \"flag\"\nEND", "line 1: flag expected"},
        BadCase{"DIALOG 1 0 0 10 10 \"c\"\nSTRING 1 \"a\"\nEND", "line 2: CONTROL or END expected"},
        BadCase{"DIALOG 1 0 0 10 10 \"c\"\nCONTROL 1 \"BUTTON\" 0 0 1 1 \"b\"\nEND", "line 2: control class expected"},
        BadCase{"DIALOG 1 0 0 10 10 \"c\"\nCONTROL 1 BUTTON 0 0 1 \"b\"\nEND", "line 2: height expected"},
        BadCase{"END", "line 1: unknown statement \"END\""},
        BadCase{"MENU 1\nITEM 2 \"a\"", "line 2: MENU without END"},
        BadCase{"MENU 1\nPOPUP \"a\"\nEND", "line 3: MENU without END"},
        BadCase{"MENU 1\nCONTROL 1 BUTTON 0 0 1 1 \"b\"\nEND", "line 2: ITEM, POPUP"},
        BadCase{"MENU 1 2\nEND", "line 1: unexpected \"2\""}));

TEST(ResourceModuleTest, RefusesMenusNestedTooDeep) {
    std::string text = "MENU 1\n";
    for (int i = 0; i < CResourceModule::kMaxMenuDepth + 2; ++i) text += "POPUP \"p\"\n";
    std::string strError;
    EXPECT_FALSE(CResourceModule::Parse(text, &strError));
    EXPECT_NE(strError.find("nested too deep"), std::string::npos);
}

// Random bytes and random damage to a good module must never crash the parser.
TEST(ResourceModuleTest, SurvivesArbitraryBytes) {
    std::mt19937 rng(12345);
    std::string good = kSample;
    for (int round = 0; round < 2000; ++round) {
        std::string text;
        if (round % 2 == 0) {
            size_t n = rng() % 200;
            for (size_t i = 0; i < n; ++i) text += static_cast<char>(rng() % 256);
        } else {
            text = good;
            for (int k = 0; k < 4; ++k) text[rng() % text.size()] = static_cast<char>(rng() % 256);
            text.resize(rng() % (text.size() + 1));
        }
        std::string strError;
        auto module = CResourceModule::Parse(text, &strError);
        if (!module) {
            EXPECT_EQ(strError.rfind("line ", 0), 0u) << strError;
        }
    }
}

TEST(ResourceModuleTest, LoadFileRefusesMissingBadAndOversizedFiles) {
    auto dir = std::filesystem::temp_directory_path() / "lumetra_resource_module_test";
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    auto write = [&](const char* name, const std::string& content) {
        std::ofstream(dir / name, std::ios::binary) << content;
        return (dir / name).string();
    };
    auto good = CResourceModule::LoadFile(write("good.res", "STRING 57344 \"Lumetra-J\"\n"));
    ASSERT_TRUE(good);
    EXPECT_EQ(good->LoadString(57344), "Lumetra-J");
    EXPECT_FALSE(CResourceModule::LoadFile((dir / "missing.res").string()));
    EXPECT_FALSE(CResourceModule::LoadFile(write("bad.res", std::string("\x00\xff\x01junk", 7))));
    EXPECT_FALSE(CResourceModule::LoadFile(dir.string()));  // a folder is no module
    std::string big(CResourceModule::kMaxFileSize + 10, '#');
    EXPECT_FALSE(CResourceModule::LoadFile(write("big.res", big)));
    std::filesystem::remove_all(dir);
}

TEST(ResourceModuleTest, CurrentModuleFallsBackToEnglish) {
    std::string strError;
    ASSERT_TRUE(CResourceModule::Parse(EmbeddedEnglishResources(), &strError))
        << "the built-in English resources (resources/english/*.txt, joined in name order) must parse: " << strError;
    EXPECT_EQ(CResourceModule::English(), CResourceModule::English());  // parsed once
    EXPECT_EQ(platform::CurrentResources(), CResourceModule::English());
    auto other = CResourceModule::Parse("STRING 57344 \"Other\"\n");
    platform::SetCurrentResources(other);
    EXPECT_EQ(platform::CurrentResources(), other);
    EXPECT_EQ(platform::LoadStr(57344), "Other");
    EXPECT_EQ(platform::LoadStr(51), CResourceModule::English()->LoadString(51));  // missing here: English
    EXPECT_EQ(platform::LoadStr(-1), "");
    platform::SetCurrentResources(nullptr);
    EXPECT_EQ(platform::CurrentResources(), CResourceModule::English());
}

TEST(ResourceModuleTest, DialogUnitsToPixels) {
    EXPECT_EQ(platform::DluToPixelX(100), 150);
    EXPECT_EQ(platform::DluToPixelX(7), 10);
    EXPECT_EQ(platform::DluToPixelY(8), 13);
    EXPECT_EQ(platform::DluToPixelY(100), 162);
    EXPECT_EQ(platform::DluToPixelX(CResourceModule::kMaxCoordinate), 49150);
    EXPECT_EQ(platform::DluToPixelY(-8), -13);
}

}  // namespace

namespace {

// Entries whose exact English text the program's logic depends on.
struct EnglishCase {
    int nId;
    const char* text;
};

class EnglishStringTest : public ::testing::TestWithParam<EnglishCase> {};

TEST_P(EnglishStringTest, HasExactText) {
    auto english = CResourceModule::English();
    ASSERT_TRUE(english->HasString(GetParam().nId)) << GetParam().nId;
    EXPECT_EQ(english->LoadString(GetParam().nId), GetParam().text) << GetParam().nId;
}

INSTANTIATE_TEST_SUITE_P(
    Entries, EnglishStringTest,
    ::testing::Values(
        EnglishCase{1, "Ver. 1.53"}, EnglishCase{11, " "}, EnglishCase{51, "Finishing.OK?"}, EnglishCase{81, "OK"},
        EnglishCase{82, "Cancel"}, EnglishCase{83, "&Abort"}, EnglishCase{84, "&Retry"}, EnglishCase{85, "&Ignore"},
        EnglishCase{86, "&Yes"}, EnglishCase{87, "&No"}, EnglishCase{88, "&Try Again"}, EnglishCase{89, "&Continue"},
        EnglishCase{231, "Select \nindividually"}, EnglishCase{301, "Log"}, EnglishCase{302, "MTR00%02d"},
        EnglishCase{307, "%s(%02d%02d%02d_*_TRG)"}, EnglishCase{2003, "%s exists. Do you want to  write over?"},
        EnglishCase{61, "Detected the origin import folder.\n\n%s\n\nDo you want to start importing files?"},
        EnglishCase{57344, "Lumetra"}));

TEST(EnglishResourcesTest, ProgressDialogTemplate) {
    const platform::stDLGTEMPLATE* pDlg = CResourceModule::English()->FindDialog(182);
    ASSERT_NE(pDlg, nullptr);
    EXPECT_EQ(pDlg->strCaption, "Dialog");
    for (int nId : {1, 2}) {
        ASSERT_NE(pDlg->Find(nId), nullptr);
        EXPECT_TRUE(pDlg->Find(nId)->HasFlag("HIDDEN"));
    }
    ASSERT_NE(pDlg->Find(1188), nullptr);
    EXPECT_EQ(pDlg->Find(1188)->cx, pDlg->cx);  // the text spans the whole width
    ASSERT_NE(pDlg->Find(1187), nullptr);
    EXPECT_EQ(pDlg->Find(1187)->strClass, "PROGRESS");
    EXPECT_GT(pDlg->Find(1187)->y, pDlg->Find(1188)->y);  // the bar is below the text
}

}  // namespace

namespace {

// Each English resource file parses on its own, so a fault names its file and line.
TEST(EnglishResourcesTest, EveryFileParsesOnItsOwn) {
    const std::filesystem::path dir = std::filesystem::path(LUMETRA_SOURCE_DIR) / "resources" / "english";
    int nFiles = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        if (entry.path().extension() != ".txt") continue;
        ++nFiles;
        std::ifstream in(entry.path(), std::ios::binary);
        std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        std::string strError;
        EXPECT_TRUE(CResourceModule::Parse(text, &strError)) << entry.path().filename() << ", " << strError;
    }
    EXPECT_GT(nFiles, 0);
}

}  // namespace
