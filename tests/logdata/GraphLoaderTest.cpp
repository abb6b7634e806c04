#include "logdata/GraphLoader.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "LogFixture.h"
#include "logdata/LogFile.h"

using namespace logdata;
using logtest::TempFolder;
using logtest::WriteFile;

namespace {

platform::LocalTime At(int y, int m, int d, int h = 0) {
    platform::LocalTime t;
    t.nYear = y;
    t.nMonth = m;
    t.nDay = d;
    t.nHour = h;
    return t;
}

std::string Two(double v, const char* fmt = "%.2f") {
    char buf[64];
    std::snprintf(buf, sizeof buf, fmt, v);
    return buf;
}

// A data folder of 2024-05-01 and -02: number 1 an LX30-A (hourly, +1.25 kWh per hour), number 2
// an LX50-A with main unit power (+0.13/+0.07 per quarter), unit 1 power (+0.01 per quarter on
// circuit 1, nothing on circuit 2), unit 2 pulse input, unit 3 analog input.
class LoaderTest : public testing::Test {
protected:
    void SetUp() override {
        const std::string base = m_tmp.Path();
        // LX30-A.
        std::string lx30 = logtest::Header(logtest::Lx30Names());
        WriteFile(logtest::Logger(base, 1) + "/syunji(240501_0100_TRG).csv",
                  lx30 + logtest::Row("2024/05/02", "00:00:00", {{2, "100.00"}, {12, "1000"}}, 13));
        std::string rows;
        for (int h = 1; h <= 24; ++h) {
            char tm[16];
            std::snprintf(tm, sizeof tm, "%02d:00:00", h % 24);
            rows += logtest::Row(h == 24 ? "2024/05/03" : "2024/05/02", tm,
                                 {{2, Two(100 + 1.25 * h)}, {12, std::to_string(1000 + 3 * h)}}, 13);
        }
        WriteFile(logtest::Logger(base, 1) + "/syunji(240502_0100_TRG).csv", lx30 + rows);

        // LX50-A.
        auto unitFile = [&](int unit, const char* date, const std::string& body) {
            WriteFile(logtest::Logger(base, 2) + "/syunji_u" + std::to_string(unit) + "(" + date + "_0015_TRG).csv",
                      logtest::Header(logtest::Lx50Names(unit)) + body);
        };
        auto quarterRows = [](int nFields, const std::vector<std::pair<int, std::function<std::string(int)>>>& cols) {
            std::string s;
            for (int k = -1; k < 96; ++k) {
                int minutes = 15 * (k + 1);
                std::string date = k == 95 ? "2024/05/03" : "2024/05/02";
                if (k == 95) minutes = 0;
                char tm[16];
                std::snprintf(tm, sizeof tm, "%02d:%02d:00", minutes / 60, minutes % 60);
                std::vector<std::pair<int, std::string>> values;
                for (auto& [f, fn] : cols) values.emplace_back(f, fn(k + 1));
                s += logtest::Row(date, tm, values, nFields);
            }
            return s;
        };
        // The k = -1 row is D 00:00: written into the file dated D-1 by splitting below.
        auto split = [&](int unit, const std::string& all) {
            size_t nl = all.find('\n');
            unitFile(unit, "240501", all.substr(0, nl + 1));
            unitFile(unit, "240502", all.substr(nl + 1));
        };
        split(0, quarterRows(20, {{2, [](int i) { return Two(50 + 0.13 * i); }},
                                  {3, [](int i) { return Two(60 + 0.07 * i); }},
                                  {19, [](int i) { return std::to_string(10 + i); }}}));
        split(1, quarterRows(24, {{2, [](int i) { return Two(1 + 0.01 * i); }}, {3, [](int) { return "-"; }}}));
        split(2, quarterRows(24, {{22, [](int i) { return std::to_string(100 + 2 * i); }},
                                  {23, [](int i) { return std::to_string(200 + i); }}}));
        split(3, quarterRows(
                     24, {{20, [](int i) { return Two(-1 + 0.001 * i, "%.3f"); }}, {21, [](int) { return "2.5"; }}}));
    }

    stLOADSETTINGS Settings(const platform::LocalTime& now = At(2024, 6, 1)) const {
        stLOADSETTINGS s;
        s.strDataPath = m_tmp.Path();
        s.strStartDir = m_tmp / "nowhere";
        s.dCO2Rate = 0.41;
        s.now = now;
        return s;
    }

    static stGRAPHCOND Day(int interval, int kind = KIND_POWER, int type = GRAPH_BAR) {
        stGRAPHCOND c;
        c.nYear = 2024;
        c.nMonth = 5;
        c.nDay = 2;
        c.nIntervalKind = interval;
        c.nDataKind = kind;
        c.nGraphType = type;
        return c;
    }

    TempFolder m_tmp;
};

TEST_F(LoaderTest, SameTotalAtEveryInterval) {
    double totals[3];
    for (int interval = 0; interval < 3; ++interval) {
        stGRAPHCOND c = Day(interval);
        c.wSelect[1] = 1;
        c.wSelect[2] = 0xFFFF;
        CGraphLoader loader(Settings());
        ASSERT_TRUE(loader.LoadGraphData(TERM_DAY, &c, 1, 1, nullptr));
        const stCONDDATA& d = loader.Data(0);
        EXPECT_EQ(d.nSlotCount, 24 * (1 << interval));
        totals[interval] = d.dTotal;
        double sum = 0;
        for (int k = 0; k < d.nSlotCount; ++k) sum += d.dSlotSum[k];
        EXPECT_EQ(d.dTotal, std::strtod(Two(sum).c_str(), nullptr));
        EXPECT_DOUBLE_EQ(d.dCO2, d.dTotal * 0.41 / 1000);
    }
    // 24 x 1.25 + 96 x (0.13 + 0.07 + 0.01)
    EXPECT_DOUBLE_EQ(totals[0], 30 + 20.16);
    EXPECT_EQ(totals[0], totals[1]);
    EXPECT_EQ(totals[0], totals[2]);
}

TEST_F(LoaderTest, Lx30HourInFirstQuarterAtFifteenMinutes) {
    stGRAPHCOND c = Day(INTERVAL_15);
    c.wSelect[1] = 1;
    CGraphLoader loader(Settings());
    loader.LoadGraphData(TERM_DAY, &c, 1, 1, nullptr);
    const stCONDDATA& d = loader.Data(0);
    EXPECT_EQ(d.bSlotHas[0], 1);
    EXPECT_EQ(d.bSlotHas[1], 0);
    EXPECT_DOUBLE_EQ(d.dSlotSum[4], 1.25);
}

TEST_F(LoaderTest, LinesOfBothConditionsAndTheirLabels) {
    stGRAPHCOND c[2] = {Day(INTERVAL_60, KIND_POWER, GRAPH_LINE), Day(INTERVAL_60, KIND_POWER, GRAPH_LINE)};
    c[0].wSelect[2] = 0x0007;  // main unit circuits 1, 2 and unit 1 circuit 1
    c[1].wSelect[1] = 1;
    c[1].wSelect[2] = 0x0008;  // unit 1 circuit 2 (power unit, no readings)
    CGraphLoader loader(Settings());
    loader.LoadGraphData(TERM_DAY, c, 2, 3, nullptr);
    ASSERT_EQ(loader.Data(0).nLineCount, 3);
    ASSERT_EQ(loader.Data(1).nLineCount, 2);
    EXPECT_EQ(loader.Data(0).lines[0].strLabel, "02-0-1");
    EXPECT_EQ(loader.Data(0).lines[1].strLabel, "02-0-2");
    EXPECT_EQ(loader.Data(0).lines[2].strLabel, "02-1-1");
    EXPECT_EQ(loader.Data(1).lines[0].strLabel, "01-0-1");
    EXPECT_EQ(loader.Data(1).lines[1].strLabel, "02-1-2");
    EXPECT_DOUBLE_EQ(loader.Data(0).lines[0].dValue[3], 4 * 0.13);
    EXPECT_FALSE(loader.Data(1).lines[1].bHas[3]);
}

TEST_F(LoaderTest, AtMostTwentyLinesPerLoad) {
    stGRAPHCOND c = Day(INTERVAL_60, KIND_COUNT, GRAPH_LINE);
    // Count lines: number 1 one, number 2 three (main circuit 1, unit 2 both) - repeat with copies
    // of the folders to pass 20.
    for (int n = 3; n <= 9; ++n)
        std::filesystem::copy(logtest::Logger(m_tmp.Path(), 2), logtest::Logger(m_tmp.Path(), n),
                              std::filesystem::copy_options::recursive);
    for (int n = 2; n <= 9; ++n) c.wSelect[n] = 0xFFFF;
    CGraphLoader loader(Settings());
    loader.LoadGraphData(TERM_DAY, &c, 1, 1, nullptr);
    EXPECT_EQ(loader.Data(0).nLineCount, 20);
    EXPECT_EQ(loader.Data(0).lines[19].strLabel, "08-2-1");
}

TEST_F(LoaderTest, DigitalTotalRoundedToThreeDecimals) {
    stGRAPHCOND c = Day(INTERVAL_15, KIND_DIGITAL);
    c.wSelect[2] = 0x00C0;  // unit 3
    CGraphLoader loader(Settings());
    loader.LoadGraphData(TERM_DAY, &c, 1, 1, nullptr);
    const stCONDDATA& d = loader.Data(0);
    EXPECT_DOUBLE_EQ(d.dSlotSum[0], -1 + 2.5);
    double sum = 0;
    for (int k = 0; k < 96; ++k) sum += d.dSlotSum[k];
    EXPECT_EQ(d.dTotal, std::strtod(Two(sum, "%.3f").c_str(), nullptr));
}

struct ProgressCase {
    const char* name;
    int nTermType;
    platform::LocalTime now;
    int nUnits;
};

class Progress : public LoaderTest, public testing::WithParamInterface<ProgressCase> {};

TEST_P(Progress, StepsFillTheRangeExactly) {
    const ProgressCase& p = GetParam();
    stGRAPHCOND c = Day(INTERVAL_60);
    c.wSelect[1] = 1;
    c.wSelect[2] = 0xFFFF;
    c.wSelect[2] = 0xFFFF;
    c.wSelect[40] = 1;       // no folder, no model: nothing to load
    c.wSelect[41] = 0x00C0;  // no folder: LX50-A without units of the kind
    EXPECT_EQ(ProgressUnits(c, p.nTermType, p.now), p.nUnits);
    stGRAPHCOND both[2] = {c, c};
    EXPECT_EQ(ProgressRange(both, 2, 3, p.nTermType, p.now), 200 * p.nUnits);
    EXPECT_EQ(ProgressRange(both, 2, 2, p.nTermType, p.now), 100 * p.nUnits);
    long steps = 0;
    CGraphLoader loader(Settings(p.now));
    loader.LoadGraphData(p.nTermType, both, 2, 3, [&](int n) {
        steps += n;
        return true;
    });
    EXPECT_FALSE(loader.Cancelled());
    EXPECT_EQ(steps, ProgressRange(both, 2, 3, p.nTermType, p.now));
}

INSTANTIATE_TEST_SUITE_P(Cases, Progress,
                         testing::Values(ProgressCase{"Day", TERM_DAY, At(2024, 6, 1), 1},
                                         ProgressCase{"Month", TERM_MONTH, At(2024, 6, 1), 31},
                                         ProgressCase{"CurrentMonth", TERM_MONTH, At(2024, 5, 3), 3},
                                         ProgressCase{"Year", TERM_YEAR, At(2025, 1, 1), 12},
                                         ProgressCase{"CurrentYear", TERM_YEAR, At(2024, 5, 3), 5}),
                         [](const testing::TestParamInfo<ProgressCase>& info) { return std::string(info.param.name); });

TEST_F(LoaderTest, MonthOfTheCurrentMonthShowsFutureDaysEmpty) {
    stGRAPHCOND c = Day(INTERVAL_60);
    c.wSelect[1] = 1;
    CGraphLoader loader(Settings(At(2024, 5, 3, 12)));
    loader.LoadGraphData(TERM_MONTH, &c, 1, 1, nullptr);
    const stCONDDATA& d = loader.Data(0);
    EXPECT_EQ(d.nSlotCount, 31);
    EXPECT_DOUBLE_EQ(d.dSlotSum[1], 30.0);
    EXPECT_EQ(d.bSlotHas[1], 1);
    EXPECT_EQ(d.bSlotHas[0], 0);
    EXPECT_EQ(d.bSlotHas[3], 0);
}

TEST_F(LoaderTest, NumberWithoutUnitsOfTheKindLoadsNothing) {
    stGRAPHCOND c = Day(INTERVAL_60, KIND_DIGITAL);
    c.wSelect[2] = 0x000C;  // unit 1 is a power unit
    long steps = 0;
    CGraphLoader loader(Settings());
    loader.LoadGraphData(TERM_DAY, &c, 1, 1, [&](int n) {
        steps += n;
        return true;
    });
    EXPECT_EQ(steps, 100);
    EXPECT_EQ(loader.Data(0).dTotal, 0);
    for (int k = 0; k < 24; ++k) EXPECT_EQ(loader.Data(0).bSlotHas[k], 0);
}

TEST_F(LoaderTest, WordOneUsesTheTableWhenTheFolderIsMissing) {
    // The data folder is gone: paths are built under the start folder, which holds number 1 as
    // an LX30-A copy; number 5 has no folder and the table says LX30-A.
    std::filesystem::create_directories(m_tmp / "start");
    std::filesystem::copy(logtest::Logger(m_tmp.Path(), 1), logtest::Logger(m_tmp / "start", 1));
    stLOADSETTINGS s = Settings();
    s.strDataPath = m_tmp / "gone";
    s.strStartDir = m_tmp / "start";
    s.byDevModel[5] = MODEL_LX30A;
    stGRAPHCOND c = Day(INTERVAL_60);
    c.wSelect[1] = 1;
    c.wSelect[5] = 1;
    CGraphLoader loader(s);
    loader.LoadGraphData(TERM_DAY, &c, 1, 1, nullptr);
    EXPECT_DOUBLE_EQ(loader.Data(0).dTotal, 30.0);
}

TEST_F(LoaderTest, CancelAndBadPeriodKind) {
    stGRAPHCOND c = Day(INTERVAL_60);
    c.wSelect[1] = 1;
    c.wSelect[2] = 0xFFFF;
    CGraphLoader loader(Settings());
    EXPECT_FALSE(loader.LoadGraphData(3, &c, 1, 1, nullptr));
    int calls = 0;
    EXPECT_TRUE(loader.LoadGraphData(TERM_MONTH, &c, 1, 1, [&](int) { return ++calls < 3; }));
    EXPECT_TRUE(loader.Cancelled());
    EXPECT_EQ(calls, 3) << "no call after the cancel";
}

TEST(RoundTotal, PrintedAndReadBack) {
    EXPECT_EQ(RoundTotal(1.005, KIND_POWER), 1.0) << "1.005 is stored just below 1.005";
    EXPECT_EQ(RoundTotal(2.675, KIND_POWER), 2.67);
    EXPECT_EQ(RoundTotal(1.23456, KIND_DIGITAL), 1.235);
    EXPECT_EQ(RoundTotal(-0.0004, KIND_DIGITAL), -0.0);
}

}  // namespace

namespace {

// Damaged logs under the real names: the load finishes, the values stay finite, nothing throws.
TEST(LoaderRobustness, DamagedFilesLoadWithoutHarm) {
    TempFolder tmp;
    std::string junk;
    for (int i = 0; i < 50000; ++i) junk.push_back(static_cast<char>((i * 7919 + 13) & 0xFF));
    const std::string names = ",," + std::string("DT120,DT122") + std::string(15, ',') + "DT154\n";
    const std::string contents[] = {
        junk,
        std::string(1 << 20, ','),
        "h\n,\n,\n" + names + "2024/05/02,00:15:00,1e308,-1e308\n2024/05/02,00:30:00,1e308,inf\n",
        "h\n,\n,\n" + names + "2024/05/01,24:00:00,5,5\n99999/99/99,99:99:99,1,1\n2024/05/02\n,,,\n",
        "h\n,\n,\n" + names + std::string(3 << 20, '9') + "\n",
        std::string("h\n,\n,\n") + names + std::string("2024/05/02,00:15:00,\0\0\0,5\n", 26),
    };
    int i = 0;
    for (const std::string& c : contents) {
        const std::string folder = logtest::Logger(tmp.Path(), 1 + i);
        WriteFile(folder + "/syunji_u0(240501_x_TRG).csv", c);
        WriteFile(folder + "/syunji_u0(240502_x_TRG).csv", c);
        WriteFile(folder + "/syunji_u0(CURRENT).csv", c);
        WriteFile(folder + "/syunji_u1(240502_x_TRG).csv", c);
        ++i;
    }
    stLOADSETTINGS s;
    s.strDataPath = tmp.Path();
    s.now = At(2024, 5, 2, 12);
    for (int term : {TERM_DAY, TERM_MONTH, TERM_YEAR}) {
        for (int kind : {KIND_POWER, KIND_COUNT, KIND_DIGITAL}) {
            stGRAPHCOND c;
            c.nYear = 2024;
            c.nMonth = 5;
            c.nDay = 2;
            c.nIntervalKind = INTERVAL_15;
            c.nDataKind = kind;
            c.nGraphType = GRAPH_LINE;
            for (int n = 1; n <= i; ++n) c.wSelect[n] = 0xFFFF;
            CGraphLoader loader(s);
            ASSERT_TRUE(loader.LoadGraphData(term, &c, 1, 1, nullptr));
            EXPECT_FALSE(loader.Cancelled());
            const stCONDDATA& d = loader.Data(0);
            for (int k = 0; k < d.nSlotCount; ++k) EXPECT_FALSE(std::isnan(d.dSlotSum[k]));
        }
    }
}

TEST_F(LoaderTest, MonthGraphIgnoresTheDay) {
    stGRAPHCOND c = Day(INTERVAL_60);
    c.nMonth = 4;
    c.nDay = 31;  // no such day in April: a month graph does not care
    c.wSelect[1] = 1;
    CGraphLoader loader(Settings());
    loader.LoadGraphData(TERM_MONTH, &c, 1, 1, nullptr);
    EXPECT_EQ(loader.Data(0).nSlotCount, 30);
    c.nMonth = 5;
    loader.LoadGraphData(TERM_MONTH, &c, 1, 1, nullptr);
    EXPECT_EQ(loader.Data(0).nSlotCount, 31);
    EXPECT_DOUBLE_EQ(loader.Data(0).dTotal, 30.0);
}

}  // namespace
