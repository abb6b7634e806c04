// lumetra-cli graph --image as automation runs it: the real program on a generated data folder.
#include <gtest/gtest.h>

#include <unistd.h>

#include <QImage>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

std::string BinDir() {
    return std::filesystem::read_symlink("/proc/self/exe").parent_path().string();
}

std::string ReadAll(const std::string& strPath) {
    std::ifstream in(strPath, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

struct stRUN {
    int nStatus;
    std::string strOut;
    std::string strErr;
};

// A data folder of two days of sample meters, made once for all cases.
class GraphCli : public testing::Test {
protected:
    static void SetUpTestSuite() {
        std::string tmpl = (std::filesystem::temp_directory_path() / "lumetra-graphcli-XXXXXX").string();
        ASSERT_NE(::mkdtemp(tmpl.data()), nullptr);
        s_strDir = tmpl;
        const std::string cmd =
            BinDir() + "/lumetra-sample --out " + s_strDir + "/Log --days 2 --end 2024-05-02 --seed 3";
        ASSERT_EQ(std::system(cmd.c_str()), 0);
    }
    static void TearDownTestSuite() {
        std::error_code ec;
        std::filesystem::remove_all(s_strDir, ec);
    }

    stRUN Run(const std::string& strArgs) {
        const std::string strOut = s_strDir + "/out.txt", strErr = s_strDir + "/err.txt";
        const std::string cmd = BinDir() + "/lumetra-cli graph --data " + s_strDir +
                                "/Log --now \"2024-05-03 12:00:00\" " + strArgs + " >" + strOut + " 2>" + strErr;
        int rc = std::system(cmd.c_str());
        return {WIFEXITED(rc) ? WEXITSTATUS(rc) : -1, ReadAll(strOut), ReadAll(strErr)};
    }
    std::string Path(const std::string& strName) { return s_strDir + "/" + strName; }

    static std::string s_strDir;
};

std::string GraphCli::s_strDir;

}  // namespace

TEST_F(GraphCli, WritesThePictureOfTheGraphAndItsTable) {
    stRUN run = Run("--select 01,11 --period day --date 2024-05-01 --image " + Path("day.png"));
    ASSERT_EQ(run.nStatus, 0) << run.strErr;
    EXPECT_EQ(run.strOut, "");  // the picture instead of JSON on standard output
    EXPECT_EQ(run.strErr, "");
    QImage image(QString::fromStdString(Path("day.png")));
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.width(), 990);
    EXPECT_EQ(image.height(), 417);
    // Some of condition 1's blue bars are there.
    int nBlue = 0;
    for (int x = 0; x < image.width(); ++x) nBlue += image.pixelColor(x, 290) == QColor(0, 0, 255);
    EXPECT_GT(nBlue, 24);
}

TEST_F(GraphCli, BmpPicturesHaveTwentyFourBitsAPixel) {
    stRUN run =
        Run("--select 11 --period month --date 2024-05-01 --json " + Path("m.json") + " --image " + Path("month.BMP"));
    ASSERT_EQ(run.nStatus, 0) << run.strErr;
    const std::string bmp = ReadAll(Path("month.BMP"));
    ASSERT_GT(bmp.size(), 30u);
    EXPECT_EQ(bmp.substr(0, 2), "BM");
    EXPECT_EQ(static_cast<unsigned char>(bmp[28]), 24u);
    EXPECT_FALSE(ReadAll(Path("m.json")).empty());  // other outputs still written
}

struct stVIEWARGS {
    const char* name;
    const char* strArgs;
    int nStatus;
    const char* strErrPart;
};

class GraphCliViews : public GraphCli, public testing::WithParamInterface<stVIEWARGS> {};

TEST_P(GraphCliViews, ViewsAndNamesAreChecked) {
    const auto& c = GetParam();
    stRUN run = Run(std::string("--select 11 --period day --date 2024-05-01 ") + c.strArgs);
    EXPECT_EQ(run.nStatus, c.nStatus) << run.strErr;
    EXPECT_NE(run.strErr.find(c.strErrPart), std::string::npos) << run.strErr;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, GraphCliViews,
    testing::Values(
        stVIEWARGS{"quarterView", "--interval 15 --view 3-9 --image /tmp/../tmp/lumetra-graphcli-v.png", 0, ""},
        stVIEWARGS{"halfHourView", "--interval 30 --view 6-18 --image /tmp/lumetra-graphcli-v.png", 0, ""},
        stVIEWARGS{"notOfferedHourly", "--view 0-6 --image /tmp/lumetra-graphcli-v.png", 2, "--view"},
        stVIEWARGS{"notOfferedHalfHour", "--interval 30 --view 0-6 --image /tmp/lumetra-graphcli-v.png", 2, "--view"},
        stVIEWARGS{"unknownView", "--interval 15 --view 1-2 --image /tmp/lumetra-graphcli-v.png", 2, "--view"},
        stVIEWARGS{"viewWithoutImage", "--interval 15 --view 0-6", 2, "--view"},
        stVIEWARGS{"badExtension", "--image /tmp/lumetra-graphcli-v.gif", 2, "--image"},
        stVIEWARGS{"missingFolder", "--image /nonexistent-folder/x.png", 1, "cannot write"}),
    [](const auto& info) { return std::string(info.param.name); });
