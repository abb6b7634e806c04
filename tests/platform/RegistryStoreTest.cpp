#include "platform/RegistryStore.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>

#include "TempDir.h"

namespace {

using lumetra_test::CTempDir;
using platform::CRegistryStore;
using platform::RegRoot;

const std::string kSettings = "Software\\Corvane Control\\Lumetra\\Settings";
const std::string kProgram = "Software\\Corvane Control\\Lumetra";

class RegistryStoreTest : public ::testing::Test {
protected:
    CTempDir m_dir;
    CRegistryStore m_store{m_dir / "user.reg", m_dir / "system.reg"};
};

// Values of every awkward shape survive a write and a fresh read.
struct RoundTripCase {
    const char* name;
    std::string strValue;
};

class RegistryRoundTrip : public RegistryStoreTest, public ::testing::WithParamInterface<RoundTripCase> {};

TEST_P(RegistryRoundTrip, StringSurvivesWriteAndRead) {
    const auto& c = GetParam();
    ASSERT_TRUE(m_store.SetString(RegRoot::CurrentUser, kSettings, c.name, c.strValue));
    ASSERT_TRUE(m_store.SetString(RegRoot::CurrentUser, kSettings, "After", "x"));
    CRegistryStore reread(m_dir / "user.reg", m_dir / "system.reg");
    EXPECT_EQ(reread.GetString(RegRoot::CurrentUser, kSettings, c.name), c.strValue);
    EXPECT_EQ(reread.GetString(RegRoot::CurrentUser, kSettings, "After"), "x");
}

INSTANTIATE_TEST_SUITE_P(
    Values, RegistryRoundTrip,
    ::testing::Values(RoundTripCase{"Plain", "0.41"}, RoundTripCase{"Empty", ""}, RoundTripCase{"Quotes", "say \"hi\""},
                      RoundTripCase{"Backslash", "C:\\Data\\Log\\"}, RoundTripCase{"Trailing backslash", "\\"},
                      RoundTripCase{"Newlines", "a\nb\r\nc"}, RoundTripCase{"Brackets", "[HKEY_LOCAL_MACHINE\\x]"},
                      RoundTripCase{"Semicolon", "; not a comment"}, RoundTripCase{"Nul", std::string("a\0b", 3)},
                      RoundTripCase{"Japanese", "\xE5\x86\x86"},  // yen sign (en)
                      RoundTripCase{"Spaces", "  padded  "}, RoundTripCase{"Name \"with\" quotes", "v"},
                      RoundTripCase{"", "default value"}),
    [](const auto& info) { return "Case" + std::to_string(info.index); });

TEST_F(RegistryStoreTest, WritesRegedit4Text) {
    ASSERT_TRUE(m_store.SetString(RegRoot::LocalMachine, kProgram, "Language", "English"));
    ASSERT_TRUE(m_store.SetDword(RegRoot::LocalMachine, kProgram, "LangMax", 3));
    ASSERT_TRUE(m_store.SetDword(RegRoot::CurrentUser, kSettings, "InitialStart", 0xA0B0C0D0));
    EXPECT_EQ(CTempDir::Read(m_dir / "system.reg"),
              "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\Software\\Corvane Control\\Lumetra]\n"
              "\"Language\"=\"English\"\n\"LangMax\"=dword:00000003\n\n");
    EXPECT_EQ(CTempDir::Read(m_dir / "user.reg"),
              "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Corvane Control\\Lumetra\\Settings]\n"
              "\"InitialStart\"=dword:a0b0c0d0\n\n");
}

TEST_F(RegistryStoreTest, DwordsAndTypesAndCase) {
    ASSERT_TRUE(m_store.SetDword(RegRoot::CurrentUser, kSettings, "CO2Param", 45));
    ASSERT_TRUE(m_store.SetDword(RegRoot::CurrentUser, kSettings, "Max", 0xFFFFFFFFu));
    EXPECT_EQ(m_store.GetDword(RegRoot::CurrentUser, kSettings, "co2param"), 45u);
    EXPECT_EQ(m_store.GetDword(RegRoot::CurrentUser, "software\\CORVANE control\\lumetra\\settings", "MAX"),
              0xFFFFFFFFu);
    // The other type reads as missing.
    EXPECT_EQ(m_store.GetString(RegRoot::CurrentUser, kSettings, "CO2Param"), std::nullopt);
    // Replacing a value by the other type, through a differently spelled name, keeps one value.
    ASSERT_TRUE(m_store.SetString(RegRoot::CurrentUser, kSettings, "co2PARAM", "0.45"));
    EXPECT_EQ(m_store.GetDword(RegRoot::CurrentUser, kSettings, "CO2Param"), std::nullopt);
    EXPECT_EQ(m_store.GetString(RegRoot::CurrentUser, kSettings, "CO2Param"), "0.45");
    EXPECT_EQ(CTempDir::Read(m_dir / "user.reg").find("co2PARAM"), std::string::npos);
    // The roots are separate files.
    EXPECT_EQ(m_store.GetString(RegRoot::LocalMachine, kSettings, "CO2Param"), std::nullopt);
    EXPECT_FALSE(std::filesystem::exists(m_dir / "system.reg"));
}

TEST_F(RegistryStoreTest, KeysCreateExistAndDeleteAsTrees) {
    EXPECT_FALSE(m_store.KeyExists(RegRoot::LocalMachine, kProgram));
    ASSERT_TRUE(m_store.CreateKey(RegRoot::LocalMachine, kProgram));
    EXPECT_TRUE(m_store.KeyExists(RegRoot::LocalMachine, kProgram));
    EXPECT_TRUE(m_store.KeyExists(RegRoot::LocalMachine, "SOFTWARE\\corvane control"));  // a parent
    EXPECT_FALSE(m_store.KeyExists(RegRoot::LocalMachine, "Software\\Corvane"));         // not a parent
    EXPECT_FALSE(m_store.KeyExists(RegRoot::CurrentUser, kProgram));

    const std::string ws = kProgram + "\\Workspace";
    ASSERT_TRUE(m_store.SetString(RegRoot::CurrentUser, ws, "A", "1"));
    ASSERT_TRUE(m_store.SetString(RegRoot::CurrentUser, ws + "\\Sub\\Deeper", "B", "2"));
    ASSERT_TRUE(m_store.SetString(RegRoot::CurrentUser, kProgram + "\\WorkspaceOther", "C", "3"));
    ASSERT_TRUE(m_store.SetString(RegRoot::CurrentUser, kSettings, "D", "4"));
    EXPECT_TRUE(m_store.DeleteTree(RegRoot::CurrentUser, "software\\corvane control\\lumetra\\WORKSPACE"));
    EXPECT_FALSE(m_store.KeyExists(RegRoot::CurrentUser, ws));
    EXPECT_FALSE(m_store.KeyExists(RegRoot::CurrentUser, ws + "\\Sub\\Deeper"));
    EXPECT_EQ(m_store.GetString(RegRoot::CurrentUser, kProgram + "\\WorkspaceOther", "C"), "3");
    EXPECT_EQ(m_store.GetString(RegRoot::CurrentUser, kSettings, "D"), "4");
    EXPECT_FALSE(m_store.DeleteTree(RegRoot::CurrentUser, ws));  // nothing left to delete
    EXPECT_FALSE(m_store.DeleteTree(RegRoot::CurrentUser, ""));  // never the whole root
    EXPECT_TRUE(m_store.KeyExists(RegRoot::CurrentUser, kSettings));
}

TEST_F(RegistryStoreTest, MissingFolderIsCreatedOnWrite) {
    CRegistryStore store(m_dir / "a/b/user.reg", m_dir / "a/c/system.reg");
    EXPECT_EQ(store.GetString(RegRoot::CurrentUser, kSettings, "X"), std::nullopt);
    ASSERT_TRUE(store.SetString(RegRoot::CurrentUser, kSettings, "X", "y"));
    EXPECT_EQ(store.GetString(RegRoot::CurrentUser, kSettings, "X"), "y");
}

TEST_F(RegistryStoreTest, RejectsKeysAndValuesItCannotStore) {
    EXPECT_FALSE(m_store.CreateKey(RegRoot::CurrentUser, ""));
    EXPECT_FALSE(m_store.SetString(RegRoot::CurrentUser, "Bad\nKey", "X", "y"));
    EXPECT_FALSE(m_store.SetString(RegRoot::CurrentUser, std::string(2000, 'k'), "X", "y"));
    EXPECT_FALSE(m_store.SetString(RegRoot::CurrentUser, kSettings, "X", std::string(100000, 'v')));
    EXPECT_FALSE(std::filesystem::exists(m_dir / "user.reg"));
}

TEST_F(RegistryStoreTest, NoTemporaryFilesAreLeft) {
    for (int i = 0; i < 5; ++i) ASSERT_TRUE(m_store.SetDword(RegRoot::CurrentUser, kSettings, "N", i));
    int nFiles = 0;
    for (const auto& e : std::filesystem::directory_iterator(m_dir.Path())) {
        EXPECT_EQ(e.path().filename(), "user.reg");
        ++nFiles;
    }
    EXPECT_EQ(nFiles, 1);
}

TEST_F(RegistryStoreTest, ReadOnlyFolderReadsButNeverWrites) {
    ASSERT_TRUE(m_store.SetString(RegRoot::LocalMachine, kProgram, "Language", "Japanese"));
    const std::string before = CTempDir::Read(m_dir / "system.reg");
    chmod(m_dir.Path().c_str(), 0555);
    if (!lumetra_test::PermissionsApply(m_dir.Path())) GTEST_SKIP() << "running with rights that ignore permissions";
    EXPECT_TRUE(m_store.KeyExists(RegRoot::LocalMachine, kProgram));
    EXPECT_EQ(m_store.GetString(RegRoot::LocalMachine, kProgram, "Language"), "Japanese");
    EXPECT_FALSE(m_store.SetString(RegRoot::LocalMachine, kProgram, "Language", "English"));
    EXPECT_FALSE(m_store.CreateKey(RegRoot::CurrentUser, kSettings));
    EXPECT_FALSE(m_store.DeleteTree(RegRoot::LocalMachine, kProgram));
    EXPECT_EQ(CTempDir::Read(m_dir / "system.reg"), before);
    EXPECT_EQ(m_store.GetString(RegRoot::LocalMachine, kProgram, "Language"), "Japanese");
}

TEST_F(RegistryStoreTest, ReadOnlyFileIsNotReplaced) {
    ASSERT_TRUE(m_store.SetString(RegRoot::LocalMachine, kProgram, "Language", "Japanese"));
    chmod((m_dir / "system.reg").c_str(), 0444);
    if (!lumetra_test::PermissionsApply(m_dir / "system.reg"))
        GTEST_SKIP() << "running with rights that ignore permissions";
    EXPECT_FALSE(m_store.SetString(RegRoot::LocalMachine, kProgram, "Language", "English"));
    EXPECT_EQ(m_store.GetString(RegRoot::LocalMachine, kProgram, "Language"), "Japanese");
}

TEST_F(RegistryStoreTest, UnreadableFileIsNeverOverwritten) {
    CTempDir::Write(m_dir / "user.reg", "REGEDIT4\n\n[HKEY_CURRENT_USER\\K]\n\"A\"=\"1\"\n");
    chmod((m_dir / "user.reg").c_str(), 0200);
    if (access((m_dir / "user.reg").c_str(), R_OK) == 0) GTEST_SKIP() << "running with rights that ignore permissions";
    EXPECT_FALSE(m_store.KeyExists(RegRoot::CurrentUser, "K"));
    EXPECT_FALSE(m_store.SetString(RegRoot::CurrentUser, "K", "B", "2"));
    chmod((m_dir / "user.reg").c_str(), 0600);
    EXPECT_EQ(m_store.GetString(RegRoot::CurrentUser, "K", "A"), "1");
}

TEST_F(RegistryStoreTest, SymbolicLinkToStoreIsKept) {
    std::filesystem::create_directory(m_dir / "real");
    CTempDir::Write(m_dir / "real/user.reg", "REGEDIT4\n");
    std::filesystem::create_symlink(m_dir / "real/user.reg", m_dir / "user.reg");
    ASSERT_TRUE(m_store.SetString(RegRoot::CurrentUser, kSettings, "X", "1"));
    EXPECT_TRUE(std::filesystem::is_symlink(m_dir / "user.reg"));
    EXPECT_NE(CTempDir::Read(m_dir / "real/user.reg").find("\"X\"=\"1\""), std::string::npos);
}

TEST(RegistryStoreInstanceTest, FollowsLumetraRegistryDir) {
    CTempDir dir;
    const char* old = std::getenv("LUMETRA_REGISTRY_DIR");
    std::string strOld = old ? old : "";
    setenv("LUMETRA_REGISTRY_DIR", dir.Path().c_str(), 1);
    CRegistryStore::ReloadInstance();
    CRegistryStore& store = CRegistryStore::Instance();
    EXPECT_EQ(store.FileOf(RegRoot::CurrentUser), dir / "user.reg");
    EXPECT_EQ(store.FileOf(RegRoot::LocalMachine), dir / "system.reg");
    ASSERT_TRUE(store.SetDword(RegRoot::LocalMachine, kProgram, "LangMax", 3));
    EXPECT_TRUE(std::filesystem::exists(dir / "system.reg"));
    EXPECT_EQ(&store, &CRegistryStore::Instance());
    if (old)
        setenv("LUMETRA_REGISTRY_DIR", strOld.c_str(), 1);
    else
        unsetenv("LUMETRA_REGISTRY_DIR");
    CRegistryStore::ReloadInstance();
}

// ---- damaged files -------------------------------------------------------------------------------------

struct DamagedCase {
    const char* what;
    std::string strFile;
    const char* pszExpectLanguage;  // nullptr: missing
    std::optional<uint32_t> expectLangMax;
};

std::string Header() {
    return "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\Software\\Corvane Control\\Lumetra]\n";
}

std::string Junk(size_t n) {
    std::string s(n, '\0');
    unsigned x = 12345;
    for (auto& c : s) {
        x = x * 1103515245u + 12345u;
        c = static_cast<char>(x >> 16);
    }
    return s;
}

std::string ManySections(int n) {
    std::string s;
    for (int i = 0; i < n; ++i) s += "[K" + std::to_string(i) + "]\n";
    return s;
}

class RegistryDamaged : public RegistryStoreTest, public ::testing::WithParamInterface<DamagedCase> {};

TEST_P(RegistryDamaged, KeepsWhatItCanParseAndStaysWritable) {
    const auto& c = GetParam();
    CTempDir::Write(m_dir / "system.reg", c.strFile);
    auto lang = m_store.GetString(RegRoot::LocalMachine, kProgram, "Language");
    if (c.pszExpectLanguage)
        EXPECT_EQ(lang, std::string(c.pszExpectLanguage)) << c.what;
    else
        EXPECT_EQ(lang, std::nullopt) << c.what;
    EXPECT_EQ(m_store.GetDword(RegRoot::LocalMachine, kProgram, "LangMax"), c.expectLangMax) << c.what;
    // A write after damage gives a clean file holding what was readable plus the new value.
    ASSERT_TRUE(m_store.SetString(RegRoot::LocalMachine, kProgram, "OSLanguage", "English")) << c.what;
    CRegistryStore reread(m_dir / "user.reg", m_dir / "system.reg");
    EXPECT_EQ(reread.GetString(RegRoot::LocalMachine, kProgram, "OSLanguage"), "English") << c.what;
    EXPECT_EQ(reread.GetString(RegRoot::LocalMachine, kProgram, "Language"), lang) << c.what;
    EXPECT_EQ(reread.GetDword(RegRoot::LocalMachine, kProgram, "LangMax"), c.expectLangMax) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Files, RegistryDamaged,
    ::testing::Values(
        DamagedCase{"empty", "", nullptr, std::nullopt}, DamagedCase{"binary junk", Junk(5000), nullptr, std::nullopt},
        DamagedCase{"junk around good lines",
                    Junk(300) + "\n" + Header() + "\"Language\"=\"Chinese\"\n" + Junk(200) + "\n\"LangMax\"=dword:2\n",
                    "Chinese", 2u},
        DamagedCase{"NUL bytes in a line",
                    Header() + std::string("\"Language\"=\"Jap\0anese\"\n", 23) + "\"LangMax\"=dword:00000003\n",
                    nullptr, 3u},
        DamagedCase{"cut in a string", Header() + "\"LangMax\"=dword:00000003\n\"Language\"=\"Engl", nullptr, 3u},
        DamagedCase{"cut in a name", Header() + "\"Language\"=\"English\"\n\"LangM", "English", std::nullopt},
        DamagedCase{"cut in a section", Header() + "\"Language\"=\"English\"\n[HKEY_LOCAL_MACH", "English",
                    std::nullopt},
        DamagedCase{"values after a broken section are not taken",
                    Header() + "\"Language\"=\"English\"\n[HKEY_LOCAL_MACHINE\\Software\n\"LangMax\"=dword:5\n",
                    "English", std::nullopt},
        DamagedCase{"no header, CRLF, BOM, indentation",
                    "\xEF\xBB\xBF[HKLM\\software\\corvane control\\lumetra]\r\n  \"Language\" = \"English\"\r\n"
                    "\t\"LangMax\"=DWORD:0000000A\r\n",
                    "English", 10u},
        DamagedCase{"wrong types", Header() + "\"Language\"=dword:00000001\n\"LangMax\"=\"3\"\n", nullptr,
                    std::nullopt},
        DamagedCase{"other value types and continuation lines",
                    Header() + "\"Bin\"=hex:01,02,\\\n  03,04\n\"Language\"=\"English\"\n\"E\"=hex(2):41,00\n",
                    "English", std::nullopt},
        DamagedCase{"bad dwords", Header() + "\"LangMax\"=dword:123456789\n\"LangMax\"=dword:\n\"LangMax\"=dword:zz\n",
                    nullptr, std::nullopt},
        DamagedCase{"trailing junk after a value", Header() + "\"Language\"=\"English\" junk\n\"LangMax\"=dword:1 x\n",
                    nullptr, std::nullopt},
        DamagedCase{"duplicate keys and values merge, last wins",
                    Header() +
                        "\"Language\"=\"Japanese\"\n[HKEY_LOCAL_MACHINE\\Software\\Corvane Control\\LUMETRA]\n"
                        "\"language\"=\"Chinese\"\n\"LangMax\"=dword:1\n" +
                        Header() + "\"LANGMAX\"=dword:2\n",
                    "Chinese", 2u},
        DamagedCase{"huge value is skipped",
                    Header() + "\"Language\"=\"" + std::string(200000, 'x') + "\"\n\"LangMax\"=dword:3\n", nullptr, 3u},
        DamagedCase{"huge key is skipped",
                    "[HKEY_LOCAL_MACHINE\\" + std::string(5000, 'k') + "]\n\"Language\"=\"English\"\n" + Header() +
                        "\"LangMax\"=dword:3\n",
                    nullptr, 3u},
        DamagedCase{"line of megabytes without newline",
                    Header() + "\"LangMax\"=dword:3\n" + std::string(3 * 1024 * 1024, '"'), nullptr, 3u},
        DamagedCase{"deletion entries and comments",
                    "[-HKEY_LOCAL_MACHINE\\Software\\Corvane Control\\Lumetra]\n\"Language\"=\"Japanese\"\n" +
                        Header() + "; \"Language\"=\"Chinese\"\n\"LangMax\"=dword:3\n",
                    nullptr, 3u},
        DamagedCase{"a line of brackets", std::string(400000, '[') + "\n" + Header() + "\"LangMax\"=dword:3\n", nullptr,
                    3u},
        // Entries beyond the bound of the reader are left out, so a file of tiny lines stays small in memory.
        DamagedCase{"too many sections", ManySections(200000) + Header() + "\"LangMax\"=dword:3\n", nullptr,
                    std::nullopt}),
    [](const auto& info) { return "Case" + std::to_string(info.index); });

// Randomly damaged copies of a good store: whatever was readable before a write is still there after it,
// and a store written by the program reads back to the very same file (writer and reader agree).
TEST_F(RegistryStoreTest, MutatedStoresSurviveRewrites) {
    const std::string good = Header() +
                             "\"Language\"=\"Japanese\"\n\"OSLanguage\"=\"English\"\n\"Lang1\"=\"Japanese\"\n"
                             "\"LangMax\"=dword:00000003\n\"Path\"=\"C:\\\\Data \\\"x\\\"\"\n\n"
                             "[HKEY_CURRENT_USER\\Software\\Corvane Control\\Lumetra\\Settings]\n"
                             "\"CO2Param\"=\"0.41\"\n\"InitialStart\"=dword:00000002\n";
    const std::string alphabet = std::string("\"\\[]=@:;\n\r\t\0 aZ0f", 17) + "\xE9\xFF";
    uint32_t x = 2463534242u;
    auto next = [&x]() {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        return x;
    };
    for (int nRound = 0; nRound < 120; ++nRound) {
        std::string file = good;
        int nEdits = 1 + static_cast<int>(next() % 6);
        for (int e = 0; e < nEdits && !file.empty(); ++e) {
            size_t at = next() % file.size();
            switch (next() % 5) {
                case 0:
                    file[at] = alphabet[next() % alphabet.size()];
                    break;
                case 1:
                    file.insert(at, 1, alphabet[next() % alphabet.size()]);
                    break;
                case 2:
                    file.erase(at, 1 + next() % 20);
                    break;
                case 3:
                    file.resize(at);
                    break;
                default:
                    file.insert(at, file.substr(at, next() % 60));
                    break;
            }
        }
        CTempDir::Write(m_dir / "system.reg", file);
        auto lang = m_store.GetString(RegRoot::LocalMachine, kProgram, "Language");
        auto path = m_store.GetString(RegRoot::LocalMachine, kProgram, "Path");
        auto langMax = m_store.GetDword(RegRoot::LocalMachine, kProgram, "LangMax");
        ASSERT_TRUE(m_store.SetDword(RegRoot::LocalMachine, kProgram, "Probe", nRound)) << nRound;
        const std::string written = CTempDir::Read(m_dir / "system.reg");
        CRegistryStore reread(m_dir / "user.reg", m_dir / "system.reg");
        EXPECT_EQ(reread.GetString(RegRoot::LocalMachine, kProgram, "Language"), lang) << nRound;
        EXPECT_EQ(reread.GetString(RegRoot::LocalMachine, kProgram, "Path"), path) << nRound;
        EXPECT_EQ(reread.GetDword(RegRoot::LocalMachine, kProgram, "LangMax"), langMax) << nRound;
        EXPECT_EQ(reread.GetDword(RegRoot::LocalMachine, kProgram, "Probe"), static_cast<uint32_t>(nRound));
        ASSERT_TRUE(reread.SetDword(RegRoot::LocalMachine, kProgram, "Probe", nRound)) << nRound;
        EXPECT_EQ(CTempDir::Read(m_dir / "system.reg"), written) << nRound;
    }
}

TEST_F(RegistryStoreTest, FileAboveTheLimitKeepsItsBeginning) {
    std::string file = Header() + "\"Language\"=\"English\"\n";
    std::string filler = "\"Filler\"=\"" + std::string(1000, 'f') + "\"\n";
    while (file.size() < CRegistryStore::kMaxFileBytes + 10000) file += filler;
    file += "\"LangMax\"=dword:3\n";
    CTempDir::Write(m_dir / "system.reg", file);
    EXPECT_EQ(m_store.GetString(RegRoot::LocalMachine, kProgram, "Language"), "English");
    EXPECT_EQ(m_store.GetDword(RegRoot::LocalMachine, kProgram, "LangMax"), std::nullopt);
}

TEST_F(RegistryStoreTest, StoreNeverGrowsBeyondWhatItCanRead) {
    const std::string big(CRegistryStore::kMaxValueBytes - 100, 'v');
    int nWritten = 0;
    for (int i = 0; i < 40; ++i) {
        if (!m_store.SetString(RegRoot::CurrentUser, kSettings, "Big" + std::to_string(i), big)) break;
        ++nWritten;
    }
    EXPECT_GT(nWritten, 0);
    EXPECT_LT(nWritten, 40);
    EXPECT_LE(std::filesystem::file_size(m_dir / "user.reg"), CRegistryStore::kMaxFileBytes);
    for (int i = 0; i < nWritten; ++i)
        EXPECT_EQ(m_store.GetString(RegRoot::CurrentUser, kSettings, "Big" + std::to_string(i)), big) << i;
    // Small values still fit.
    EXPECT_TRUE(m_store.SetDword(RegRoot::CurrentUser, kSettings, "Small", 1));
}

TEST_F(RegistryStoreTest, FullDiskKeepsTheOldStore) {
    ASSERT_TRUE(m_store.SetString(RegRoot::CurrentUser, kSettings, "CO2Param", "0.41"));
    const std::string before = CTempDir::Read(m_dir / "user.reg");
    auto oldHandler = signal(SIGXFSZ, SIG_IGN);
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    rlimit lim = old;
    lim.rlim_cur = 200;  // writes beyond 200 bytes fail as on a full disk
    setrlimit(RLIMIT_FSIZE, &lim);
    bool bWritten = m_store.SetString(RegRoot::CurrentUser, kSettings, "CurrentPath", std::string(1000, 'p'));
    setrlimit(RLIMIT_FSIZE, &old);
    signal(SIGXFSZ, oldHandler);
    EXPECT_FALSE(bWritten);
    EXPECT_EQ(CTempDir::Read(m_dir / "user.reg"), before);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(m_dir.Path()), std::filesystem::directory_iterator()),
              1);
}

TEST_F(RegistryStoreTest, NamedPipeInPlaceOfTheFileNeverBlocks) {
    ASSERT_EQ(mkfifo((m_dir / "system.reg").c_str(), 0600), 0);
    EXPECT_FALSE(m_store.KeyExists(RegRoot::LocalMachine, kProgram));
    EXPECT_EQ(m_store.GetString(RegRoot::LocalMachine, kProgram, "Language"), std::nullopt);
    EXPECT_FALSE(m_store.SetString(RegRoot::LocalMachine, kProgram, "Language", "English"));
}

TEST_F(RegistryStoreTest, FolderInPlaceOfTheFileFailsQuietly) {
    std::filesystem::create_directory(m_dir / "user.reg");
    EXPECT_FALSE(m_store.KeyExists(RegRoot::CurrentUser, kSettings));
    EXPECT_EQ(m_store.GetString(RegRoot::CurrentUser, kSettings, "X"), std::nullopt);
    EXPECT_FALSE(m_store.SetString(RegRoot::CurrentUser, kSettings, "X", "1"));
    EXPECT_TRUE(std::filesystem::is_directory(m_dir / "user.reg"));
}

}  // namespace
