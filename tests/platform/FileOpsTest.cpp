#include "platform/FileOps.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <filesystem>

#include "TempDir.h"

namespace {

using namespace platform;
using lumetra_test::CTempDir;
namespace fs = std::filesystem;

std::vector<std::string> Names(const std::string& strFolder) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(strFolder)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

TEST(FileOpsTest, CreateFolderMakesOneLevel) {
    CTempDir dir;
    EXPECT_TRUE(CreateFolder(dir / "a"));
    EXPECT_TRUE(fs::is_directory(dir / "a"));
    EXPECT_TRUE(CreateFolder(dir / "a"));  // already a folder
    EXPECT_FALSE(CreateFolder(dir / "x/y"));
    EXPECT_FALSE(fs::exists(dir / "x"));
    CTempDir::Write(dir / "file", "1");
    EXPECT_FALSE(CreateFolder(dir / "file"));
    EXPECT_FALSE(CreateFolder(""));
}

TEST(FileOpsTest, CreateFoldersMakesEveryMissingLevel) {
    CTempDir dir;
    EXPECT_TRUE(CreateFolders(dir / "a/b/c/"));
    EXPECT_TRUE(fs::is_directory(dir / "a/b/c"));
    EXPECT_TRUE(CreateFolders(dir / "a/b"));
    CTempDir::Write(dir / "file", "1");
    EXPECT_FALSE(CreateFolders(dir / "file/sub"));
    EXPECT_FALSE(CreateFolders(""));
}

TEST(FileOpsTest, CopyKeepsContentModeAndTime) {
    CTempDir dir;
    std::string content(200000, '\0');
    for (size_t i = 0; i < content.size(); ++i) content[i] = static_cast<char>(i * 7);
    CTempDir::Write(dir / "src.csv", content);
    chmod((dir / "src.csv").c_str(), 0640);
    fs::last_write_time(dir / "src.csv", fs::file_time_type::clock::now() - std::chrono::hours(30));
    fs::create_directory(dir / "out");
    ASSERT_TRUE(CopyFileAtomic(dir / "src.csv", dir / "out/dst.csv", true));
    EXPECT_EQ(CTempDir::Read(dir / "out/dst.csv"), content);
    EXPECT_EQ(fs::status(dir / "out/dst.csv").permissions(), fs::status(dir / "src.csv").permissions());
    EXPECT_EQ(fs::last_write_time(dir / "out/dst.csv"), fs::last_write_time(dir / "src.csv"));
    EXPECT_TRUE(FilesIdentical(dir / "src.csv", dir / "out/dst.csv"));
    EXPECT_EQ(Names(dir / "out"), std::vector<std::string>{"dst.csv"});
}

TEST(FileOpsTest, LongestFileNamesCanBeWritten) {
    CTempDir dir;
    const std::string strName(255, 'n');
    CTempDir::Write(dir / "src", "data");
    EXPECT_TRUE(CopyFileAtomic(dir / "src", dir / strName, true));
    EXPECT_TRUE(WriteFileAtomic(dir / strName, "more"));
    EXPECT_EQ(CTempDir::Read(dir / strName), "more");
    EXPECT_EQ(Names(dir.Path()), (std::vector<std::string>{strName, "src"}));
}

TEST(FileOpsTest, CopyHonoursFailIfExists) {
    CTempDir dir;
    CTempDir::Write(dir / "src", "new");
    CTempDir::Write(dir / "dst", "old");
    EXPECT_FALSE(CopyFileAtomic(dir / "src", dir / "dst", true));
    EXPECT_EQ(CTempDir::Read(dir / "dst"), "old");
    EXPECT_TRUE(CopyFileAtomic(dir / "src", dir / "dst", false));
    EXPECT_EQ(CTempDir::Read(dir / "dst"), "new");
    EXPECT_TRUE(CopyFileAtomic(dir / "src", dir / "src", false));  // onto itself: unchanged
    EXPECT_EQ(CTempDir::Read(dir / "src"), "new");
    EXPECT_EQ(Names(dir.Path()), (std::vector<std::string>{"dst", "src"}));
}

struct CopyFailure {
    const char* what;
    const char* source;
    const char* dest;
};

class CopyFailureTest : public ::testing::TestWithParam<CopyFailure> {};

TEST_P(CopyFailureTest, FailsAndLeavesNothingBehind) {
    CTempDir dir;
    CTempDir::Write(dir / "src", "data");
    fs::create_directory(dir / "folder");
    fs::create_directory(dir / "out");
    auto before = Names(dir / "out");
    mkfifo((dir / "pipe").c_str(), 0600);
    EXPECT_FALSE(CopyFileAtomic(dir / GetParam().source, dir / GetParam().dest, false)) << GetParam().what;
    EXPECT_EQ(Names(dir / "out"), before) << GetParam().what;
    EXPECT_EQ(CTempDir::Read(dir / "src"), "data");
}

INSTANTIATE_TEST_SUITE_P(Cases, CopyFailureTest,
                         ::testing::Values(CopyFailure{"missing source", "nothing", "out/x"},
                                           CopyFailure{"folder as source", "folder", "out/x"},
                                           CopyFailure{"named pipe as source", "pipe", "out/x"},
                                           CopyFailure{"missing destination folder", "src", "out/none/x"},
                                           CopyFailure{"folder as destination", "src", "out"},
                                           CopyFailure{"destination without a name", "src", "out/"}));

TEST(FileOpsTest, CopyToReadOnlyFolderOrFileFails) {
    CTempDir dir;
    CTempDir::Write(dir / "src", "new");
    fs::create_directory(dir / "ro");
    CTempDir::Write(dir / "ro/dst", "old");
    CTempDir::Write(dir / "rofile", "old");
    chmod((dir / "ro").c_str(), 0555);
    chmod((dir / "rofile").c_str(), 0444);
    if (!lumetra_test::PermissionsApply(dir / "ro")) GTEST_SKIP() << "running with rights that ignore permissions";
    EXPECT_FALSE(CopyFileAtomic(dir / "src", dir / "ro/new", false));
    EXPECT_FALSE(CopyFileAtomic(dir / "src", dir / "ro/dst", false));
    EXPECT_FALSE(CopyFileAtomic(dir / "src", dir / "rofile", false));
    EXPECT_EQ(CTempDir::Read(dir / "ro/dst"), "old");
    EXPECT_EQ(CTempDir::Read(dir / "rofile"), "old");
    EXPECT_EQ(Names(dir / "ro"), std::vector<std::string>{"dst"});
}

// A file size limit makes writes fail as on a full disk.
class CFullDisk {
public:
    explicit CFullDisk(rlim_t nBytes) {
        m_oldHandler = signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &m_old);
        rlimit lim = m_old;
        lim.rlim_cur = nBytes;
        setrlimit(RLIMIT_FSIZE, &lim);
    }
    ~CFullDisk() {
        setrlimit(RLIMIT_FSIZE, &m_old);
        signal(SIGXFSZ, m_oldHandler);
    }

private:
    rlimit m_old{};
    sighandler_t m_oldHandler;
};

TEST(FileOpsTest, FullDiskLeavesOldFilesAndNoTemporaryOnes) {
    CTempDir dir;
    CTempDir::Write(dir / "src", std::string(100000, 's'));
    CTempDir::Write(dir / "dst", "old");
    {
        CFullDisk full(4096);
        EXPECT_FALSE(CopyFileAtomic(dir / "src", dir / "dst", false));
        EXPECT_FALSE(CopyFileAtomic(dir / "src", dir / "new", false));
        EXPECT_FALSE(WriteFileAtomic(dir / "dst", std::string(100000, 'w')));
    }
    EXPECT_EQ(CTempDir::Read(dir / "dst"), "old");
    EXPECT_EQ(Names(dir.Path()), (std::vector<std::string>{"dst", "src"}));
}

TEST(FileOpsTest, WriteFileAtomicReplacesWholeFiles) {
    CTempDir dir;
    ASSERT_TRUE(WriteFileAtomic(dir / "f.csv", "first"));
    EXPECT_EQ(CTempDir::Read(dir / "f.csv"), "first");
    chmod((dir / "f.csv").c_str(), 0600);
    ASSERT_TRUE(WriteFileAtomic(dir / "f.csv", std::string("a\0b", 3)));
    EXPECT_EQ(CTempDir::Read(dir / "f.csv"), std::string("a\0b", 3));
    EXPECT_EQ(fs::status(dir / "f.csv").permissions() & fs::perms::all, fs::perms::owner_read | fs::perms::owner_write);
    ASSERT_TRUE(WriteFileAtomic(dir / "f.csv", ""));
    EXPECT_EQ(fs::file_size(dir / "f.csv"), 0u);
    EXPECT_FALSE(WriteFileAtomic(dir / "missing/f.csv", "x"));
    fs::create_directory(dir / "folder");
    EXPECT_FALSE(WriteFileAtomic(dir / "folder", "x"));
    EXPECT_EQ(Names(dir.Path()), (std::vector<std::string>{"f.csv", "folder"}));
}

TEST(FileOpsTest, DeleteFileRemovesFilesAndLinksOnly) {
    CTempDir dir;
    CTempDir::Write(dir / "f", "1");
    fs::create_directory(dir / "d");
    fs::create_symlink(dir / "f", dir / "link");
    EXPECT_TRUE(DeleteFile(dir / "link"));
    EXPECT_TRUE(fs::exists(dir / "f"));
    EXPECT_TRUE(DeleteFile(dir / "f"));
    EXPECT_FALSE(fs::exists(dir / "f"));
    EXPECT_FALSE(DeleteFile(dir / "f"));
    EXPECT_FALSE(DeleteFile(dir / "d"));
    EXPECT_TRUE(fs::is_directory(dir / "d"));
    EXPECT_FALSE(DeleteFile(""));
}

struct IdenticalCase {
    const char* what;
    std::string a;
    std::string b;
    bool bSame;
};

class FilesIdenticalTest : public ::testing::TestWithParam<IdenticalCase> {};

TEST_P(FilesIdenticalTest, ComparesSizeAndContent) {
    CTempDir dir;
    CTempDir::Write(dir / "a", GetParam().a);
    CTempDir::Write(dir / "b", GetParam().b);
    EXPECT_EQ(FilesIdentical(dir / "a", dir / "b"), GetParam().bSame) << GetParam().what;
}

const std::string kBig(300000, 'x');

INSTANTIATE_TEST_SUITE_P(Cases, FilesIdenticalTest,
                         ::testing::Values(IdenticalCase{"same", "1,2,3\n", "1,2,3\n", true},
                                           IdenticalCase{"both empty", "", "", true},
                                           IdenticalCase{"differs in one byte", "1,2,3\n", "1,2,4\n", false},
                                           IdenticalCase{"differs in size", "1,2,3\n", "1,2,3\n\n", false},
                                           IdenticalCase{"big, same", kBig, kBig, true},
                                           IdenticalCase{"big, last byte", kBig, kBig.substr(1) + "y", false}));

TEST(FileOpsTest, FilesIdenticalNeedsTwoSeparateFiles) {
    CTempDir dir;
    CTempDir::Write(dir / "a", "1,2,3\n");
    fs::create_directory(dir / "d");
    fs::create_symlink(dir / "a", dir / "link");
    fs::create_hard_link(dir / "a", dir / "hard");
    fs::create_directory_symlink(dir.Path(), dir / "alias");
    // None of these is a copy that would survive deleting the other name.
    EXPECT_FALSE(FilesIdentical(dir / "a", dir / "a"));
    EXPECT_FALSE(FilesIdentical(dir / "a", dir / "link"));
    EXPECT_FALSE(FilesIdentical(dir / "link", dir / "a"));
    EXPECT_FALSE(FilesIdentical(dir / "a", dir / "hard"));
    EXPECT_FALSE(FilesIdentical(dir / "a", dir / "alias/a"));
    EXPECT_FALSE(FilesIdentical(dir / "a", dir / "missing"));
    EXPECT_FALSE(FilesIdentical(dir / "d", dir / "d"));
}

}  // namespace
