#include "logdata/DataFolder.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "LogFixture.h"
#include "logdata/LogNames.h"
#include "platform/FileSearch.h"

using namespace logdata;
using logtest::TempFolder;
using logtest::WriteFile;

namespace {

TEST(LogNames, FormatsOfTheCardFormat) {
    EXPECT_EQ(LoggerFolderName(7), "MTR0007");
    EXPECT_EQ(UnitPrefix(-1), "syunji");
    EXPECT_EQ(UnitPrefix(3), "syunji_u3");
    EXPECT_EQ(DatedPattern(0, 2024, 5, 1, FILE_SET), "syunji_u0(240501_*_SET).csv");
    EXPECT_EQ(DatedPattern(-1, 1999, 12, 31, FILE_POW), "syunji(991231_*_POW).csv");
    EXPECT_EQ(CurrentPattern(2), "syunji_u2(*CURRENT*).csv");
}

struct ModelCase {
    const char* name;
    std::vector<std::string> files;
    int nModel;      // check both 0
    int nModelBoth;  // check both 1
};

class DetectModel : public testing::TestWithParam<ModelCase> {};

TEST_P(DetectModel, FromTheFileNames) {
    TempFolder tmp;
    std::string folder = tmp / "MTR0001";
    std::filesystem::create_directories(folder);
    for (const std::string& f : GetParam().files) {
        if (f.back() == '/')
            std::filesystem::create_directories(folder + "/" + f);
        else
            WriteFile(folder + "/" + f, "x\n");
    }
    EXPECT_EQ(DetectDevModel(folder, false), GetParam().nModel);
    EXPECT_EQ(DetectDevModel(folder, true), GetParam().nModelBoth);
}

INSTANTIATE_TEST_SUITE_P(Cases, DetectModel,
                         testing::Values(ModelCase{"Empty", {}, 0, 0},
                                         ModelCase{"Lx30", {"syunji(240501_0100_TRG).csv"}, 1, 1},
                                         ModelCase{"Lx50", {"syunji_u0(240501_0015_TRG).csv"}, 2, 2},
                                         ModelCase{"BothCountsAsLx30ForGraphs",
                                                   {"syunji(240501_0100_TRG).csv", "syunji_u0(240501_0015_TRG).csv"},
                                                   1,
                                                   255},
                                         ModelCase{"CaseIgnored", {"SYUNJI_U1(CURRENT).CSV"}, 2, 2},
                                         ModelCase{"FolderIsNoFile", {"syunji(x).csv/"}, 0, 0},
                                         ModelCase{"OtherNames", {"notes.txt", "syunji.csv"}, 0, 0}),
                         [](const testing::TestParamInfo<ModelCase>& info) { return std::string(info.param.name); });

TEST(ScanNumbers, FindsFoldersWithFilesAndNeverNumber00) {
    TempFolder tmp;
    WriteFile(logtest::Logger(tmp.Path(), 0) + "/syunji(240501_0100_TRG).csv", "x\n");
    WriteFile(logtest::Logger(tmp.Path(), 3) + "/syunji(240501_0100_TRG).csv", "x\n");
    WriteFile(logtest::Logger(tmp.Path(), 12) + "/syunji_u0(240501_0015_TRG).csv", "x\n");
    WriteFile(logtest::Logger(tmp.Path(), 13) + "/readme.txt", "x\n");
    WriteFile(tmp / "MTR0014", "a file, not a folder");
    DevModelTable models;
    models.fill(9);
    std::vector<int> numbers;
    EXPECT_EQ(ScanNumbers(tmp.Path(), models, numbers), 12);
    EXPECT_EQ(numbers, (std::vector<int>{3, 12}));
    EXPECT_EQ(models[0], 0);
    EXPECT_EQ(models[3], MODEL_LX30A);
    EXPECT_EQ(models[12], MODEL_LX50A);
    EXPECT_EQ(models[13], 0);
    EXPECT_EQ(models[14], 0);

    DevModelTable none;
    EXPECT_EQ(ScanNumbers(tmp / "missing", none, numbers), 0);
    EXPECT_TRUE(numbers.empty());
}

TEST(BaseFolder, MissingDataFolderFallsBackToStartFolder) {
    TempFolder tmp;
    std::filesystem::create_directories(tmp / "Log");
    EXPECT_EQ(BaseFolder(tmp / "Log", tmp / "start"), tmp / "Log");
    EXPECT_EQ(BaseFolder(tmp / "gone", tmp / "start"), tmp / "start");
    WriteFile(tmp / "file", "x");
    EXPECT_EQ(BaseFolder(tmp / "file", tmp / "start"), tmp / "start");
}

struct TypeCase {
    const char* name;
    std::string body;  // lines after the first
    int nType;
};

std::string UnitLine(const std::vector<std::pair<int, std::string>>& values, int nFields = 24) {
    return logtest::Row("2024/05/01", "00:15:00", values, nFields);
}

class UnitTypeText : public testing::TestWithParam<TypeCase> {};

TEST_P(UnitTypeText, DecidedByTheFirstLineWithValues) {
    EXPECT_EQ(UnitTypeFromText("first line\n" + GetParam().body), GetParam().nType);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, UnitTypeText,
    testing::Values(TypeCase{"Power", UnitLine({{2, "1.5"}, {3, "-"}}), UNIT_POWER},
                    TypeCase{"PowerCircuit2", UnitLine({{3, "1.5"}}), UNIT_POWER},
                    TypeCase{"Analog", UnitLine({{21, "-2"}}), UNIT_ANALOG},
                    TypeCase{"Pulse", UnitLine({{22, "5"}, {23, "6"}}), UNIT_PULSE},
                    TypeCase{"Mixed", UnitLine({{2, "1"}, {22, "5"}}), UNIT_UNCLEAR},
                    TypeCase{"OtherIndexesOnly", UnitLine({{5, "230"}}), UNIT_UNCLEAR},
                    TypeCase{"OtherIndexBesidePowerStillPower", UnitLine({{2, "1"}, {7, "230"}}), UNIT_POWER},
                    TypeCase{"BeyondField23OnlyDecides", UnitLine({{30, "1"}}, 40), UNIT_UNCLEAR},
                    TypeCase{"OnlyDashesAndEmpty", UnitLine({{2, "-"}, {22, "-"}}) + UnitLine({}), UNIT_UNCLEAR},
                    TypeCase{"UndecidedLinesSkipped", UnitLine({{2, "-"}}) + UnitLine({{20, "3"}}), UNIT_ANALOG},
                    TypeCase{"EmptyFirstFieldSkipped", ",x,5\n" + UnitLine({{22, "1"}}), UNIT_PULSE},
                    TypeCase{"TwoFieldsSkipped", "a,5\n" + UnitLine({{3, "1"}}), UNIT_POWER},
                    TypeCase{"NoLines", "", UNIT_UNCLEAR}),
    [](const testing::TestParamInfo<TypeCase>& info) { return std::string(info.param.name); });

TEST(UnitType, NewestFileOfTheUnitDecides) {
    TempFolder tmp;
    std::string folder = logtest::Logger(tmp.Path(), 5);
    WriteFile(folder + "/syunji_u1(240501_0015_TRG).csv", "h\n" + UnitLine({{22, "1"}}));
    WriteFile(folder + "/syunji_u1(240502_0015_TRG).csv", "h\n" + UnitLine({{2, "1"}}));
    WriteFile(folder + "/syunji_u1(CURRENT).csv", "h\n" + UnitLine({{20, "1"}}));
    WriteFile(folder + "/syunji_u2(CURRENT).csv", "h\n" + UnitLine({{20, "1"}}));
    WriteFile(folder + "/syunji_u3(240501_0015_TRG).csv", "h\n" + UnitLine({{2, "-"}}));
    EXPECT_EQ(FindUnitLogFile(folder, 1), folder + "/syunji_u1(240502_0015_TRG).csv");
    EXPECT_EQ(GetUnitType(folder, 1), UNIT_POWER);
    EXPECT_EQ(GetUnitType(folder, 2), UNIT_ANALOG) << "current file when no dated file exists";
    EXPECT_EQ(GetUnitType(folder, 3), UNIT_UNCLEAR) << "only \"-\" values";
    EXPECT_EQ(GetUnitType(folder, 4), UNIT_NONE);
    EXPECT_EQ(GetUnitType(folder, 0), UNIT_NONE) << "the main unit is no expansion unit";
    EXPECT_EQ(GetUnitType(folder, 8), UNIT_NONE);
    EXPECT_EQ(GetUnitTypeMask(tmp.Path(), 5, UNIT_POWER), 0x000C);
    EXPECT_EQ(GetUnitTypeMask(tmp.Path(), 5, UNIT_ANALOG), 0x0030);
    EXPECT_EQ(GetUnitTypeMask(tmp.Path(), 5, UNIT_UNCLEAR), 0x00C0);
}

struct MaskCase {
    const char* name;
    std::uint16_t wSelect;
    int nModel;
    int nKind;
    std::uint16_t wExpected;
};

class LoadMask : public testing::TestWithParam<MaskCase> {};

TEST_P(LoadMask, CircuitsOfTheDataKind) {
    // Unit 1 power, unit 2 pulse, unit 3 analog, unit 4 unclear.
    const std::array<int, 8> types = {0, UNIT_POWER, UNIT_PULSE, UNIT_ANALOG, UNIT_UNCLEAR, 0, 0, 0};
    const MaskCase& c = GetParam();
    EXPECT_EQ(CalcLoadMask(c.wSelect, c.nModel, c.nKind, types), c.wExpected);
}

INSTANTIATE_TEST_SUITE_P(Cases, LoadMask,
                         testing::Values(MaskCase{"NotSelected", 0, MODEL_LX50A, KIND_POWER, 0},
                                         MaskCase{"Lx30Power", 1, MODEL_LX30A, KIND_POWER, 1},
                                         MaskCase{"Lx30Count", 1, MODEL_LX30A, KIND_COUNT, 1},
                                         MaskCase{"Lx30Digital", 1, MODEL_LX30A, KIND_DIGITAL, 0},
                                         MaskCase{"WordOneOnLx50IsMainCircuit1", 1, MODEL_LX50A, KIND_POWER, 1},
                                         MaskCase{"Lx50PowerAll", 0xFFFF, MODEL_LX50A, KIND_POWER, 0x000F},
                                         MaskCase{"Lx50CountAll", 0xFFFF, MODEL_LX50A, KIND_COUNT, 0x0031},
                                         MaskCase{"Lx50DigitalAll", 0xFFFF, MODEL_LX50A, KIND_DIGITAL, 0x00C0},
                                         MaskCase{"OtherTypeOnly", 0x00C0, MODEL_LX50A, KIND_POWER, 0},
                                         MaskCase{"UnknownModel", 0xFFFF, MODEL_NONE, KIND_POWER, 0}),
                         [](const testing::TestParamInfo<MaskCase>& info) { return std::string(info.param.name); });

TEST(CountPoints, LinesOfASelection) {
    TempFolder tmp;
    std::string folder = logtest::Logger(tmp.Path(), 2);
    WriteFile(folder + "/syunji_u1(240501_0015_TRG).csv", "h\n" + UnitLine({{2, "1"}}));
    WriteFile(folder + "/syunji_u2(240501_0015_TRG).csv", "h\n" + UnitLine({{20, "1"}}));
    std::array<std::uint16_t, METER_COUNT> select{};
    DevModelTable models{};
    select[1] = 1;
    models[1] = MODEL_LX30A;
    select[2] = 0xFFFF;
    models[2] = MODEL_LX50A;
    EXPECT_EQ(CountPoints(tmp.Path(), select, models, KIND_POWER), 1 + 4);
    EXPECT_EQ(CountPoints(tmp.Path(), select, models, KIND_COUNT), 1 + 1);
    EXPECT_EQ(CountPoints(tmp.Path(), select, models, KIND_DIGITAL), 0 + 2);
    select[2] = 0x0030;  // only the analog unit: no power point
    EXPECT_EQ(CountPoints(tmp.Path(), select, models, KIND_POWER), 1);
}

// The file-name index must give exactly what the wildcard search gives.
TEST(LoggerFolder, IndexAgreesWithWildcardSearch) {
    TempFolder tmp;
    const char* names[] = {
        "syunji_u0(240501_001500_TRG).csv", "SYUNJI_U0(240501_X_trg).CSV",  "syunji_u0(240501__TRG).csv",
        "syunji_u0(240501_TRG).csv",        "syunji_u0(2405011_a_TRG).csv", "syunji_u0(240501_a_TRG).csv.bak",
        "syunji_u0(240501_a_SET).csv",      "syunji_u0(240501_a_MOD).csv",  "syunji_u0(240501_a_POW).csv",
        "syunji_u0(240502_a_TRG).csv",      "syunji(240501_0100_TRG).csv",  "syunji_u7(240501_0015_TRG).csv",
        "syunji_u8(240501_0015_TRG).csv",   "syunji_u0(CURRENT).csv",       "syunji_u0(240501_current_TRG).csv",
        "syunji_u0(xCURRENTx).csv",         "syunji(CURRENT).csv",          "syunji_u0(CURRENT.csv",
        "syunji_u0(240501_a_TRG_TRG).csv",  "syunji_u01(240501_a_TRG).csv"};
    std::string folder = tmp / "MTR0001";
    for (const char* n : names) WriteFile(folder + "/" + n, "x\n");
    std::filesystem::create_directories(folder + "/syunji_u0(240501_dir_TRG).csv");
    CLoggerFolder index(folder);
    for (int unit = -1; unit <= 7; ++unit) {
        for (int day : {1, 2}) {
            for (int kind = 0; kind < FILE_KIND_COUNT; ++kind) {
                std::vector<std::string> got, want;
                for (int e : index.DatedFiles(unit, 2024, 5, day, kind)) got.push_back(index.Entries()[e].strName);
                for (const auto& f : platform::FindFiles(folder, DatedPattern(unit, 2024, 5, day, kind)))
                    if (!f.bDirectory) want.push_back(f.strName);
                EXPECT_EQ(got, want) << DatedPattern(unit, 2024, 5, day, kind);
            }
        }
        std::vector<std::string> got, want;
        for (int e : index.CurrentFiles(unit)) got.push_back(index.Entries()[e].strName);
        for (const auto& f : platform::FindFiles(folder, CurrentPattern(unit)))
            if (!f.bDirectory) want.push_back(f.strName);
        EXPECT_EQ(got, want) << CurrentPattern(unit);
    }
    EXPECT_EQ(index.DatedFiles(0, 2024, 5, 1, FILE_TRG).size(), 5u);
}

}  // namespace
