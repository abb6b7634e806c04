// The sample generator against the loader: the data it writes are read back as it meant them.
#include "SampleData.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "LogFixture.h"
#include "logdata/DataFolder.h"
#include "logdata/GraphLoader.h"

using namespace logdata;

namespace {

std::string Digest(const std::string& folder) {
    std::string all;
    std::vector<std::filesystem::path> files;
    for (const auto& e : std::filesystem::recursive_directory_iterator(folder))
        if (e.is_regular_file()) files.push_back(e.path());
    std::sort(files.begin(), files.end());
    for (const auto& p : files) {
        std::ifstream in(p, std::ios::binary);
        all += p.filename().string() + "\n" +
               std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    return all;
}

sample::stSAMPLEOPTIONS Options(const std::string& out, bool bClean) {
    sample::stSAMPLEOPTIONS o;
    o.strOut = out;
    o.end = *platform::ParseLocalTime("2024-03-01");  // across a leap day
    o.nDays = 3;
    o.nSeed = 5;
    o.nLx30 = 1;
    o.nLx50 = 1;
    o.nUnits = 3;
    o.bClean = bClean;
    o.nNowMinutes = 12 * 60;
    return o;
}

TEST(SampleData, SameSeedSameFiles) {
    logtest::TempFolder tmp;
    std::string err;
    ASSERT_TRUE(sample::WriteSampleData(Options(tmp / "a", false), err)) << err;
    ASSERT_TRUE(sample::WriteSampleData(Options(tmp / "b", false), err)) << err;
    EXPECT_EQ(Digest(tmp / "a"), Digest(tmp / "b"));
    auto other = Options(tmp / "c", false);
    other.nSeed = 6;
    ASSERT_TRUE(sample::WriteSampleData(other, err)) << err;
    EXPECT_NE(Digest(tmp / "a"), Digest(tmp / "c"));
}

TEST(SampleData, CleanDataLoadsEverySlot) {
    logtest::TempFolder tmp;
    std::string err;
    ASSERT_TRUE(sample::WriteSampleData(Options(tmp.Path(), true), err)) << err;

    DevModelTable models{};
    std::vector<int> numbers;
    ScanNumbers(tmp.Path(), models, numbers);
    ASSERT_EQ(numbers, (std::vector<int>{1, 11}));
    EXPECT_EQ(models[1], MODEL_LX30A);
    EXPECT_EQ(models[11], MODEL_LX50A);
    const std::string folder = LoggerFolderPath(tmp.Path(), 11);
    EXPECT_EQ(GetUnitType(folder, 1), UNIT_POWER);
    EXPECT_EQ(GetUnitType(folder, 2), UNIT_PULSE);
    EXPECT_EQ(GetUnitType(folder, 3), UNIT_ANALOG);
    EXPECT_EQ(GetUnitType(folder, 4), UNIT_NONE);

    stLOADSETTINGS s;
    s.strDataPath = tmp.Path();
    s.now = *platform::ParseLocalTime("2024-03-01 12:00:00");
    s.byDevModel = models;
    for (int kind : {KIND_POWER, KIND_COUNT, KIND_DIGITAL}) {
        stGRAPHCOND c;
        c.nYear = 2024;
        c.nMonth = 2;
        c.nDay = 29;
        c.nIntervalKind = INTERVAL_15;
        c.nDataKind = kind;
        c.wSelect[11] = 0xFFFF;
        CGraphLoader loader(s);
        loader.LoadGraphData(TERM_DAY, &c, 1, 1, nullptr);
        for (int k = 0; k < 96; ++k) ASSERT_TRUE(loader.Data(0).bSlotHas[k]) << "kind " << kind << " slot " << k;
        if (kind != KIND_DIGITAL) {
            EXPECT_GT(loader.Data(0).dTotal, 0);
        }
    }
    // Today (from the CURRENT files) up to 12:00 only; the LX30-A's hours in their first quarter.
    stGRAPHCOND c;
    c.nYear = 2024;
    c.nMonth = 3;
    c.nDay = 1;
    c.nIntervalKind = INTERVAL_15;
    c.wSelect[1] = 1;
    c.wSelect[11] = 0x0003;
    CGraphLoader loader(s);
    loader.LoadGraphData(TERM_DAY, &c, 1, 1, nullptr);
    for (int k = 0; k < 96; ++k) EXPECT_EQ(loader.Data(0).bSlotHas[k], k < 48 ? 1 : 0) << k;
}

TEST(SampleData, ArgumentsOfTheCommandLine) {
    sample::stSAMPLEOPTIONS o;
    std::string err;
    EXPECT_TRUE(sample::ParseSampleArgs({"--out", "x", "--days", "60", "--end", "2024-05-01", "--seed", "1"}, o, err))
        << err;
    EXPECT_EQ(o.nDays, 60);
    EXPECT_FALSE(sample::ParseSampleArgs({"--out", "x", "--end", "2024-13-01"}, o, err));
    EXPECT_NE(err.find("--end"), std::string::npos);
    EXPECT_FALSE(sample::ParseSampleArgs({"--out", "x", "--end", "2024-05-01", "--days", "0"}, o, err));
    EXPECT_NE(err.find("--days"), std::string::npos);
    EXPECT_FALSE(sample::ParseSampleArgs({"--end", "2024-05-01"}, o, err));
    EXPECT_NE(err.find("--out"), std::string::npos);
}

}  // namespace
