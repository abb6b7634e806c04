#include "logdata/LogFile.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>

#include "LogFixture.h"

using namespace logdata;
using logtest::TempFolder;
using logtest::WriteFile;

namespace {

platform::LocalTime At(int y, int m, int d, int h = 0, int mi = 0) {
    platform::LocalTime t;
    t.nYear = y;
    t.nMonth = m;
    t.nDay = d;
    t.nHour = h;
    t.nMinute = mi;
    return t;
}

std::string DateText(int y, int m, int d) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%04d/%02d/%02d", y, m, d);
    return buf;
}

std::string Yymmdd(int y, int m, int d) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02d%02d%02d", y % 100, m, d);
    return buf;
}

std::string Money(double v) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.2f", v);
    return buf;
}

void NextDay(int& y, int& m, int& d) {
    if (++d > platform::DaysInMonth(y, m)) {
        d = 1;
        if (++m > 12) {
            m = 1;
            ++y;
        }
    }
}

// Rows of an LX50-A unit for the file dated (y, m, d): slot k (0..95) at 00:15 + 15k, the value
// text of circuit 1 and 2 from the function (an empty optional row is left out).
using SlotFn = std::function<bool(int k, std::string& c1, std::string& c2)>;

std::string Lx50Rows(int unit, int y, int m, int d, const SlotFn& fn) {
    std::string s;
    const int nFields = unit == 0 ? 20 : 24;
    const int f1 = 2, f2 = 3;
    for (int k = 0; k < 96; ++k) {
        std::string c1, c2;
        if (!fn(k, c1, c2)) continue;
        int ny = y, nm = m, nd = d;
        int minutes = 15 * (k + 1);
        if (k == 95) {
            NextDay(ny, nm, nd);
            minutes = 0;
        }
        char tm[16];
        std::snprintf(tm, sizeof tm, "%02d:%02d:00", minutes / 60, minutes % 60);
        s += logtest::Row(DateText(ny, nm, nd), tm, {{f1, c1}, {f2, c2}}, nFields);
    }
    return s;
}

// Rows with the values at the digital (20, 21) or count (22, 23) fields of an expansion unit.
std::string Lx50RowsAt(int f1, int f2, int y, int m, int d, const SlotFn& fn) {
    std::string s;
    for (int k = 0; k < 96; ++k) {
        std::string c1, c2;
        if (!fn(k, c1, c2)) continue;
        int ny = y, nm = m, nd = d;
        int minutes = 15 * (k + 1);
        if (k == 95) {
            NextDay(ny, nm, nd);
            minutes = 0;
        }
        char tm[16];
        std::snprintf(tm, sizeof tm, "%02d:%02d:00", minutes / 60, minutes % 60);
        s += logtest::Row(DateText(ny, nm, nd), tm, {{f1, c1}, {f2, c2}}, 24);
    }
    return s;
}

class LogFileTest : public testing::Test {
protected:
    std::string Folder(int number) const { return logtest::Logger(m_tmp.Path(), number); }

    void Lx30(int number, int y, int m, int d, const std::string& rows, const char* kind = "TRG") {
        WriteFile(Folder(number) + "/syunji(" + Yymmdd(y, m, d) + "_0100_" + kind + ").csv",
                  logtest::Header(logtest::Lx30Names()) + rows);
    }
    void Lx50(int number, int unit, int y, int m, int d, const std::string& rows, const char* kind = "TRG",
              const char* tag = "001500") {
        WriteFile(Folder(number) + "/syunji_u" + std::to_string(unit) + "(" + Yymmdd(y, m, d) + "_" + tag + "_" + kind +
                      ").csv",
                  logtest::Header(logtest::Lx50Names(unit)) + rows);
    }

    std::unique_ptr<CLogFile> Make(int model, int kind, std::uint16_t mask, const platform::LocalTime& now) {
        auto f = std::make_unique<CLogFile>();
        f->m_nModel = model;
        f->m_nDataKind = kind;
        f->m_wLoadMask = mask;
        f->SetNow(now);
        return f;
    }

    TempFolder m_tmp;
};

// Cumulative power that grows by 0.25 kWh per quarter hour from a base.
SlotFn Growing(double base, double step = 0.25) {
    return [=](int k, std::string& c1, std::string& c2) {
        c1 = Money(base + step * (k + 1));
        c2 = Money(2 * base + 2 * step * (k + 1));
        return true;
    };
}

// The day's start reading at D 00:00 is the last row of the file dated D - 1.
std::string StartRow(int unit, int y, int m, int d, const std::string& c1, const std::string& c2) {
    return logtest::Row(DateText(y, m, d), "00:00:00", {{2, c1}, {3, c2}}, unit == 0 ? 20 : 24);
}

TEST_F(LogFileTest, Lx30HourLiesInFirstQuarterAndHalfHour) {
    // Start 100.00 at D 00:00 in the file dated D-1; 101.50 at 01:00 in the file dated D. The file
    // dated D also holds a 00:00 row of day D, which must not serve as the start reading.
    Lx30(7, 2024, 5, 9, logtest::Row("2024/05/10", "00:00:00", {{2, "100.00"}}, 13));
    Lx30(7, 2024, 5, 10,
         logtest::Row("2024/05/10", "00:00:00", {{2, "50.00"}}, 13) +
             logtest::Row("2024/05/10", "01:00:00", {{2, "101.50"}}, 13) +
             logtest::Row("2024/05/10", "02:00:00", {{2, "101.51"}}, 13));
    auto f = Make(MODEL_LX30A, KIND_POWER, 1, At(2024, 6, 1));
    f->ReadDay(m_tmp.Path(), 7, 2024, 5, 10);
    EXPECT_DOUBLE_EQ(f->m_dayTotal.dVal24[0], 1.5);
    EXPECT_DOUBLE_EQ(f->m_dayTotal.dVal48[0], 1.5);
    EXPECT_DOUBLE_EQ(f->m_dayTotal.dVal96[0], 1.5);
    for (int k : {1, 2, 3}) EXPECT_FALSE(f->m_dayTotal.bHas96[k]) << k;
    EXPECT_FALSE(f->m_dayTotal.bHas48[1]);
    EXPECT_EQ(f->m_dayTotal.dVal24[1], 0.01) << "differences in whole hundredths";
    EXPECT_EQ(f->m_dayTotal.dVal96[4], 0.01);
    EXPECT_FALSE(f->m_dayTotal.bHas24[2]);
    EXPECT_DOUBLE_EQ(f->m_day[0].dTotal, 1.51);
    EXPECT_TRUE(f->m_day[0].bHas24[0]);
    EXPECT_TRUE(f->m_dayTotal.bAny);
}

struct DiffCase {
    const char* name;
    int nKind;
    const char* prev;
    const char* cur;
    bool bHas;
    double dValue;
};

class SlotDifference : public LogFileTest, public testing::WithParamInterface<DiffCase> {};

TEST_P(SlotDifference, FromConsecutiveReadings) {
    const DiffCase& c = GetParam();
    // Main unit of an LX50-A: power at field 2, count at field 19.
    const int field = c.nKind == KIND_COUNT ? 19 : 2;
    Lx50(3, 0, 2024, 5, 1, logtest::Row("2024/05/02", "00:00:00", {{field, c.prev}}, 20));
    Lx50(3, 0, 2024, 5, 2, logtest::Row("2024/05/02", "00:15:00", {{field, c.cur}}, 20));
    auto f = Make(MODEL_LX50A, c.nKind, 1, At(2024, 6, 1));
    f->ReadDay(m_tmp.Path(), 3, 2024, 5, 2);
    EXPECT_EQ(f->m_dayTotal.bHas96[0], c.bHas ? 1 : 0);
    EXPECT_EQ(f->m_dayTotal.dVal96[0], c.dValue);
    EXPECT_EQ(f->m_day[0].dVal96[0], c.dValue);
}

INSTANTIATE_TEST_SUITE_P(Cases, SlotDifference,
                         testing::Values(DiffCase{"Power", KIND_POWER, "100.00", "101.51", true, 1.51},
                                         DiffCase{"PowerWraps", KIND_POWER, "9999999.50", "0.25", true, 0.75},
                                         DiffCase{"CountWraps", KIND_COUNT, "999990", "5", true, 15},
                                         DiffCase{"Count", KIND_COUNT, "10", "25", true, 15},
                                         DiffCase{"ZeroNextToPositive", KIND_POWER, "0", "5.00", false, 0},
                                         DiffCase{"ZeroAfterPositive", KIND_POWER, "5.00", "0", false, 0},
                                         DiffCase{"NegativeReading", KIND_POWER, "-1", "5", false, 0},
                                         DiffCase{"DashMeansNoReading", KIND_POWER, "-", "5", false, 0},
                                         DiffCase{"TextConvertedAsFarAsNumeric", KIND_POWER, "1.00kWh", "2.5x", true,
                                                  1.5},
                                         DiffCase{"NonNumericIsZero", KIND_POWER, "abc", "2", false, 0},
                                         DiffCase{"CountJumpTooLargeIsZero", KIND_COUNT, "1", "1000001", true, 0}),
                         [](const testing::TestParamInfo<DiffCase>& info) { return std::string(info.param.name); });

TEST_F(LogFileTest, Lx50QuarterHoursAddUpToHalfHoursAndHours) {
    Lx50(1, 0, 2024, 5, 1, StartRow(0, 2024, 5, 2, "10.00", "20.00"));
    Lx50(1, 0, 2024, 5, 2, Lx50Rows(0, 2024, 5, 2, Growing(10.0)));
    auto f = Make(MODEL_LX50A, KIND_POWER, 0x3, At(2024, 6, 1));
    f->ReadDay(m_tmp.Path(), 1, 2024, 5, 2);
    for (int k = 0; k < 96; ++k) ASSERT_DOUBLE_EQ(f->m_dayTotal.dVal96[k], 0.75) << k;
    EXPECT_DOUBLE_EQ(f->m_dayTotal.dVal48[5], 1.5);
    EXPECT_DOUBLE_EQ(f->m_dayTotal.dVal24[23], 3.0);
    EXPECT_DOUBLE_EQ(f->m_dayTotal.dTotal, 72.0);
    EXPECT_DOUBLE_EQ(f->m_day[0].dTotal, 24.0);
    EXPECT_DOUBLE_EQ(f->m_day[1].dTotal, 48.0);
    EXPECT_FALSE(f->m_day[2].bAny);

    // Only circuit 2 wanted: circuit 1 holds nothing.
    auto g = Make(MODEL_LX50A, KIND_POWER, 0x2, At(2024, 6, 1));
    g->ReadDay(m_tmp.Path(), 1, 2024, 5, 2);
    EXPECT_FALSE(g->m_day[0].bAny);
    EXPECT_DOUBLE_EQ(g->m_dayTotal.dTotal, 48.0);
}

TEST_F(LogFileTest, FutureSlotsHoldNothing) {
    Lx50(1, 0, 2024, 5, 1, StartRow(0, 2024, 5, 2, "10.00", "20.00"));
    Lx50(1, 0, 2024, 5, 2, Lx50Rows(0, 2024, 5, 2, Growing(10.0)));
    auto f = Make(MODEL_LX50A, KIND_POWER, 0x1, At(2024, 5, 2, 0, 40));
    f->ReadDay(m_tmp.Path(), 1, 2024, 5, 2);
    EXPECT_TRUE(f->m_dayTotal.bHas96[0]);  // 00:15
    EXPECT_TRUE(f->m_dayTotal.bHas96[1]);  // 00:30
    EXPECT_FALSE(f->m_dayTotal.bHas96[2]) << "00:45 lies after 00:40";
    EXPECT_DOUBLE_EQ(f->m_dayTotal.dTotal, 0.5);
}

TEST_F(LogFileTest, CompleteTrgFilesSpareTheOtherKinds) {
    // TRG of D resolves every slot and TRG of D-1 gives the start: a SET file of D with other
    // values is not read.
    Lx50(1, 0, 2024, 5, 1, StartRow(0, 2024, 5, 2, "10.00", "20.00"));
    Lx50(1, 0, 2024, 5, 2, Lx50Rows(0, 2024, 5, 2, Growing(10.0)));
    Lx50(1, 0, 2024, 5, 2, Lx50Rows(0, 2024, 5, 2, Growing(10.0, 1.0)), "SET");
    auto f = Make(MODEL_LX50A, KIND_POWER, 0x1, At(2024, 6, 1));
    f->ReadDay(m_tmp.Path(), 1, 2024, 5, 2);
    EXPECT_DOUBLE_EQ(f->m_dayTotal.dTotal, 24.0);
}

TEST_F(LogFileTest, MissingSlotsComeFromTheNextKindsInOrder) {
    Lx50(1, 0, 2024, 5, 1, StartRow(0, 2024, 5, 2, "10.00", "20.00"), "POW");
    // TRG lacks slot 10; MOD and POW both have it with different readings: MOD comes first.
    Lx50(1, 0, 2024, 5, 2, Lx50Rows(0, 2024, 5, 2, [](int k, std::string& a, std::string& b) {
             if (k == 10) return false;
             return Growing(10.0)(k, a, b);
         }));
    Lx50(1, 0, 2024, 5, 2,
         Lx50Rows(0, 2024, 5, 2,
                  [](int k, std::string& a, std::string& b) {
                      if (k != 10) return false;
                      a = "12.50";  // 0.25 more than the expected 12.75 - 0.5: slot 10 gets 0, slot 11 more
                      b = "-";
                      return true;
                  }),
         "POW");
    Lx50(1, 0, 2024, 5, 2,
         Lx50Rows(0, 2024, 5, 2,
                  [](int k, std::string& a, std::string& b) {
                      if (k != 10) return false;
                      a = "12.75";
                      b = "-";
                      return true;
                  }),
         "MOD");
    auto f = Make(MODEL_LX50A, KIND_POWER, 0x1, At(2024, 6, 1));
    f->ReadDay(m_tmp.Path(), 1, 2024, 5, 2);
    EXPECT_TRUE(f->m_day[0].bHas96[0]) << "start from the POW file dated D-1";
    EXPECT_DOUBLE_EQ(f->m_day[0].dVal96[10], 0.25);
    EXPECT_DOUBLE_EQ(f->m_day[0].dVal96[11], 0.25);
    EXPECT_DOUBLE_EQ(f->m_day[0].dTotal, 24.0);
}

TEST_F(LogFileTest, DashRowsCountAsResolved) {
    // A "-" row resolves its slot: with all 96 slots resolved in TRG, a SET file that holds the
    // reading is not consulted, so the slot and the one after it stay without data.
    Lx50(1, 0, 2024, 5, 1, StartRow(0, 2024, 5, 2, "10.00", "20.00"));
    Lx50(1, 0, 2024, 5, 2, Lx50Rows(0, 2024, 5, 2, [](int k, std::string& a, std::string& b) {
             Growing(10.0)(k, a, b);
             if (k == 4) a = "-";
             return true;
         }));
    Lx50(1, 0, 2024, 5, 2, Lx50Rows(0, 2024, 5, 2, Growing(10.0)), "SET");
    auto f = Make(MODEL_LX50A, KIND_POWER, 0x1, At(2024, 6, 1));
    f->ReadDay(m_tmp.Path(), 1, 2024, 5, 2);
    EXPECT_FALSE(f->m_day[0].bHas96[4]);
    EXPECT_FALSE(f->m_day[0].bHas96[5]);
    EXPECT_DOUBLE_EQ(f->m_day[0].dTotal, 23.5);
}

TEST_F(LogFileTest, FirstReadingOfASlotWins) {
    Lx50(1, 0, 2024, 5, 1, StartRow(0, 2024, 5, 2, "10.00", "20.00"));
    // Two TRG files of D in name order: "a" before "b"; both hold slot 0.
    Lx50(1, 0, 2024, 5, 2, logtest::Row("2024/05/02", "00:15:00", {{2, "11.00"}}, 20), "TRG", "a");
    Lx50(1, 0, 2024, 5, 2, logtest::Row("2024/05/02", "00:15:00", {{2, "15.00"}}, 20), "TRG", "b");
    auto f = Make(MODEL_LX50A, KIND_POWER, 0x1, At(2024, 6, 1));
    f->ReadDay(m_tmp.Path(), 1, 2024, 5, 2);
    EXPECT_DOUBLE_EQ(f->m_dayTotal.dVal96[0], 1.0);
}

TEST_F(LogFileTest, ColumnNameMustStandAtItsIndex) {
    // DT120 at field 3 instead of field 2: no data for circuit 1.
    std::vector<std::string> names = logtest::Lx50Names(0);
    names[2] = "X";
    names[3] = "DT120";
    WriteFile(Folder(1) + "/syunji_u0(240501_0015_TRG).csv",
              logtest::Header(names) + StartRow(0, 2024, 5, 2, "10.00", "10.00"));
    WriteFile(Folder(1) + "/syunji_u0(240502_0015_TRG).csv",
              logtest::Header(names) + Lx50Rows(0, 2024, 5, 2, Growing(10.0)));
    auto f = Make(MODEL_LX50A, KIND_POWER, 0x1, At(2024, 6, 1));
    f->ReadDay(m_tmp.Path(), 1, 2024, 5, 2);
    EXPECT_FALSE(f->m_dayTotal.bAny);
}

TEST_F(LogFileTest, CurrentFilesOnlyForToday) {
    Lx50(1, 0, 2024, 5, 1, StartRow(0, 2024, 5, 2, "10.00", "20.00"));
    WriteFile(Folder(1) + "/syunji_u0(CURRENT).csv",
              logtest::Header(logtest::Lx50Names(0)) + Lx50Rows(0, 2024, 5, 2, Growing(10.0)));
    auto today = Make(MODEL_LX50A, KIND_POWER, 0x1, At(2024, 5, 2, 12, 0));
    today->ReadDay(m_tmp.Path(), 1, 2024, 5, 2);
    EXPECT_DOUBLE_EQ(today->m_dayTotal.dTotal, 12.0) << "00:15 through 12:00";
    auto later = Make(MODEL_LX50A, KIND_POWER, 0x1, At(2024, 5, 3, 12, 0));
    later->ReadDay(m_tmp.Path(), 1, 2024, 5, 2);
    EXPECT_FALSE(later->m_dayTotal.bAny);
}

TEST_F(LogFileTest, RowsWithTimesOutOfRangeAreSkipped) {
    Lx50(1, 0, 2024, 5, 1, StartRow(0, 2024, 5, 2, "10.00", "20.00"));
    Lx50(1, 0, 2024, 5, 2,
         logtest::Row("2024/05/02", "24:00:00", {{2, "99"}}, 20) +
             logtest::Row("2024/02/30", "00:15:00", {{2, "99"}}, 20) +
             logtest::Row("1899/05/02", "00:15:00", {{2, "99"}}, 20) +
             logtest::Row("2024/05/02", "00:15:00", {{2, "11.00"}}, 20));
    auto f = Make(MODEL_LX50A, KIND_POWER, 0x1, At(2024, 6, 1));
    f->ReadDay(m_tmp.Path(), 1, 2024, 5, 2);
    EXPECT_DOUBLE_EQ(f->m_dayTotal.dVal96[0], 1.0);
}

TEST_F(LogFileTest, DigitalValuesAtTheStartOfTheSlot) {
    // Unit 1 analog: circuit 1 reads k at slot k, circuit 2 reads -k.
    auto fn = [](int k, std::string& a, std::string& b) {
        a = std::to_string(k + 1) + ".5";
        b = "-" + std::to_string(k + 1);
        return true;
    };
    Lx50(2, 1, 2024, 5, 1, logtest::Row("2024/05/02", "00:00:00", {{20, "0.5"}, {21, "0"}}, 24));
    Lx50(2, 1, 2024, 5, 2, Lx50RowsAt(20, 21, 2024, 5, 2, fn));
    auto f = Make(MODEL_LX50A, KIND_DIGITAL, 0x000C, At(2024, 6, 1));
    f->ReadDay(m_tmp.Path(), 2, 2024, 5, 2);
    EXPECT_DOUBLE_EQ(f->m_day[2].dVal96[0], 0.5) << "slot 0 shows the reading at 00:00";
    EXPECT_DOUBLE_EQ(f->m_day[3].dVal96[0], 0.0);
    EXPECT_TRUE(f->m_day[3].bHas96[0]);
    EXPECT_DOUBLE_EQ(f->m_day[2].dVal96[5], 5.5);
    EXPECT_DOUBLE_EQ(f->m_day[3].dVal96[5], -5);
    EXPECT_DOUBLE_EQ(f->m_day[2].dVal48[3], 6.5) << "half hour from its first quarter (slot 6)";
    EXPECT_DOUBLE_EQ(f->m_day[2].dVal24[2], 8.5) << "hour from slot 8";
    EXPECT_DOUBLE_EQ(f->m_dayTotal.dVal24[2], 8.5 - 8);
}

TEST_F(LogFileTest, DashStartWaitsForALaterKindOfThePreviousDay) {
    // The TRG file dated D-1 names the start with "-": no start yet, so the SET file dated D-1
    // supplies it, although the TRG file of D already resolved its slot.
    Lx50(1, 0, 2024, 5, 1, StartRow(0, 2024, 5, 2, "-", ""));
    Lx50(1, 0, 2024, 5, 1, StartRow(0, 2024, 5, 2, "10.00", ""), "SET");
    Lx50(1, 0, 2024, 5, 2, logtest::Row("2024/05/02", "00:15:00", {{2, "11.00"}}, 20));
    auto f = Make(MODEL_LX50A, KIND_POWER, 0x1, At(2024, 6, 1));
    f->ReadDay(m_tmp.Path(), 1, 2024, 5, 2);
    EXPECT_DOUBLE_EQ(f->m_dayTotal.dVal96[0], 1.0);
}

TEST_F(LogFileTest, StartOfNewYearsDayFromTheFileOfTheYearBefore) {
    // 1 January: the start reading lies in the file dated 31 December of the year before (YY 23).
    Lx30(2, 2023, 12, 31, logtest::Row("2024/01/01", "00:00:00", {{2, "5.00"}}, 13));
    Lx30(2, 2024, 1, 1,
         logtest::Row("2024/01/01", "01:00:00", {{2, "7.25"}}, 13) +
             logtest::Row("2024/01/02", "00:00:00", {{2, "8.25"}}, 13));
    auto f = Make(MODEL_LX30A, KIND_POWER, 1, At(2024, 6, 1));
    f->ReadDay(m_tmp.Path(), 2, 2024, 1, 1);
    EXPECT_DOUBLE_EQ(f->m_dayTotal.dVal24[0], 2.25);
    EXPECT_FALSE(f->m_dayTotal.bHas24[23]) << "no 23:00 reading";
}

TEST_F(LogFileTest, Lx30CountOnALeapDayWraps) {
    // Count values of the LX30-A stand at field 12 (DT154); 29 February ends at 1 March 00:00.
    Lx30(2, 2024, 2, 28, logtest::Row("2024/02/29", "00:00:00", {{12, "999999"}}, 13));
    Lx30(2, 2024, 2, 29,
         logtest::Row("2024/02/29", "01:00:00", {{12, "4"}}, 13) +
             logtest::Row("2024/02/29", "23:00:00", {{12, "10"}}, 13) +
             logtest::Row("2024/03/01", "00:00:00", {{12, "12"}}, 13));
    auto f = Make(MODEL_LX30A, KIND_COUNT, 1, At(2024, 6, 1));
    f->ReadDay(m_tmp.Path(), 2, 2024, 2, 29);
    EXPECT_DOUBLE_EQ(f->m_dayTotal.dVal24[0], 5);
    EXPECT_DOUBLE_EQ(f->m_dayTotal.dVal96[92], 2) << "hour 23 in its first quarter";
    EXPECT_DOUBLE_EQ(f->m_day[0].dTotal, 7);
}

TEST_F(LogFileTest, TodaysCurrentFileIsReadFirstAndTheFutureStartsAfterNow) {
    Lx50(1, 0, 2024, 5, 1, StartRow(0, 2024, 5, 2, "10.00", ""));
    Lx50(1, 0, 2024, 5, 2, logtest::Row("2024/05/02", "00:15:00", {{2, "11.00"}}, 20));
    WriteFile(Folder(1) + "/syunji_u0(CURRENT).csv",
              logtest::Header(logtest::Lx50Names(0)) + logtest::Row("2024/05/02", "00:15:00", {{2, "12.00"}}, 20));
    auto atSlot = Make(MODEL_LX50A, KIND_POWER, 0x1, At(2024, 5, 2, 0, 15));
    atSlot->ReadDay(m_tmp.Path(), 1, 2024, 5, 2);
    EXPECT_DOUBLE_EQ(atSlot->m_dayTotal.dVal96[0], 2.0) << "the current file's reading wins over the TRG file";
    platform::LocalTime before = At(2024, 5, 2, 0, 14);
    before.nSecond = 59;
    auto early = Make(MODEL_LX50A, KIND_POWER, 0x1, before);
    early->ReadDay(m_tmp.Path(), 1, 2024, 5, 2);
    EXPECT_FALSE(early->m_dayTotal.bAny) << "00:15 lies one second after now";
}

TEST_F(LogFileTest, OnlyRowsAtTheExpectedTimesMatch) {
    // Rows off the quarter-hour grid, with seconds, or of the next day after 00:00 match no slot;
    // the next day's 00:00 is slot 95.
    Lx50(1, 0, 2024, 5, 1, StartRow(0, 2024, 5, 2, "10.00", ""));
    Lx50(1, 0, 2024, 5, 2,
         logtest::Row("2024/05/02", "00:15:01", {{2, "99"}}, 20) +
             logtest::Row("2024/05/02", "00:20:00", {{2, "99"}}, 20) +
             logtest::Row("2024/05/03", "00:15:00", {{2, "99"}}, 20) +
             logtest::Row("2024/05/02", "00:15:00", {{2, "11"}}, 20) +
             logtest::Row("2024/05/03", "00:00:00", {{2, "12"}}, 20) +
             logtest::Row("2024/05/02", "23:45:00", {{2, "11.5"}}, 20));
    auto f = Make(MODEL_LX50A, KIND_POWER, 0x1, At(2024, 6, 1));
    f->ReadDay(m_tmp.Path(), 1, 2024, 5, 2);
    EXPECT_DOUBLE_EQ(f->m_dayTotal.dVal96[0], 1.0);
    EXPECT_DOUBLE_EQ(f->m_dayTotal.dVal96[95], 0.5);
    EXPECT_DOUBLE_EQ(f->m_dayTotal.dTotal, 1.5);
}

TEST_F(LogFileTest, DigitalMonthSumsTheSlotValuesAndLeavesCircuitsEmpty) {
    Lx50(2, 1, 2024, 4, 30, logtest::Row("2024/05/01", "00:00:00", {{20, "2"}}, 24));
    Lx50(2, 1, 2024, 5, 1,
         logtest::Row("2024/05/01", "00:15:00", {{20, "3"}}, 24) +
             logtest::Row("2024/05/01", "00:30:00", {{20, "4"}}, 24));
    auto f = Make(MODEL_LX50A, KIND_DIGITAL, 0x4, At(2024, 6, 1));
    f->ReadMonth(m_tmp.Path(), 2, 2024, 5, TERM_MONTH);
    EXPECT_DOUBLE_EQ(f->m_monthTotal.dVal[0], 2 + 3);
    EXPECT_TRUE(f->m_monthTotal.bHas[0]);
    EXPECT_FALSE(f->m_monthTotal.bHas[1]);
    EXPECT_FALSE(f->m_month[2].bAny);
}

TEST_F(LogFileTest, MonthStopsAtTodayAndStepsPerDay) {
    for (int d = 1; d <= 10; ++d) {
        int y = 2024, m = 5, dd = d;
        // File dated d holds d 01:00 .. d+1 00:00 growing 1 kWh per hour from 24*d.
        std::string rows;
        for (int h = 1; h <= 24; ++h) {
            int ny = y, nm = m, nd = dd;
            if (h == 24) NextDay(ny, nm, nd);
            char tm[16];
            std::snprintf(tm, sizeof tm, "%02d:00:00", h % 24);
            rows += logtest::Row(DateText(ny, nm, nd), tm, {{2, Money(24.0 * d + h)}}, 13);
        }
        Lx30(4, y, m, dd, rows);
    }
    Lx30(4, 2024, 4, 30, logtest::Row("2024/05/01", "00:00:00", {{2, "24.00"}}, 13));
    auto f = Make(MODEL_LX30A, KIND_POWER, 1, At(2024, 5, 6, 23, 59));
    int steps = 0;
    f->SetProgress([&](int n) {
        steps += n;
        return true;
    });
    f->ReadMonth(m_tmp.Path(), 4, 2024, 5, TERM_MONTH);
    EXPECT_EQ(steps, 6) << "one step per day up to today";
    for (int d = 1; d <= 5; ++d) EXPECT_DOUBLE_EQ(f->m_monthTotal.dVal[d - 1], 24.0) << d;
    EXPECT_DOUBLE_EQ(f->m_monthTotal.dVal[5], 23.0) << "today up to 23:59";
    EXPECT_FALSE(f->m_monthTotal.bHas[6]);
    EXPECT_DOUBLE_EQ(f->m_monthTotal.dTotal, 24.0 * 5 + 23);
    EXPECT_DOUBLE_EQ(f->m_month[0].dTotal, f->m_monthTotal.dTotal);

    auto y = Make(MODEL_LX30A, KIND_POWER, 1, At(2024, 5, 6, 23, 59));
    steps = 0;
    y->SetProgress([&](int n) {
        steps += n;
        return true;
    });
    y->ReadYear(m_tmp.Path(), 4, 2024, TERM_YEAR);
    EXPECT_EQ(steps, 5) << "one step per month up to the current one";
    EXPECT_DOUBLE_EQ(y->m_yearTotal.dVal[4], 24.0 * 5 + 23);
    EXPECT_FALSE(y->m_yearTotal.bHas[3]);
}

TEST_F(LogFileTest, CancelStopsTheRead) {
    Lx50(1, 0, 2024, 5, 1, StartRow(0, 2024, 5, 2, "10.00", "20.00"));
    Lx50(1, 0, 2024, 5, 2, Lx50Rows(0, 2024, 5, 2, Growing(10.0)));
    auto f = Make(MODEL_LX50A, KIND_POWER, 0x1, At(2024, 6, 1));
    int calls = 0;
    f->SetProgress([&](int) { return ++calls < 1; });
    f->ReadMonth(m_tmp.Path(), 1, 2024, 5, TERM_MONTH);
    EXPECT_TRUE(f->Cancelled());
    EXPECT_EQ(calls, 1);
}

struct TimeCase {
    const char* date;
    const char* time;
    bool bOk;
    long long key;
};

class RowTime : public testing::TestWithParam<TimeCase> {};

TEST_P(RowTime, PartsAndRanges) {
    std::int64_t key = 0;
    EXPECT_EQ(ParseRowTime(GetParam().date, GetParam().time, key), GetParam().bOk);
    if (GetParam().bOk) {
        EXPECT_EQ(key, GetParam().key);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RowTime,
    testing::Values(TimeCase{"2024/05/01", "00:15:00", true, 20240501001500},
                    TimeCase{"2024/5/1", "1:2:3", true, 20240501010203},
                    TimeCase{"2024/05/01", "", true, 20240501000000}, TimeCase{"", "", true, 20000101000000},
                    TimeCase{"2024x/0y5/01", "00:1z5:00", true, 20240501001500},
                    TimeCase{"2024/05/01", "24:00:00", false, 0}, TimeCase{"2024/13/01", "00:00:00", false, 0},
                    TimeCase{"2024/02/30", "00:00:00", false, 0}, TimeCase{"1899/12/31", "00:00:00", false, 0},
                    TimeCase{"99999999999999999999/1/1", "0:0:0", false, 0},
                    TimeCase{"2024/05/01", "00:60:00", false, 0}));

TEST(ReadDecimal, LeadingNumberOnly) {
    EXPECT_EQ(ReadDecimal("12.5kWh"), 12.5);
    EXPECT_EQ(ReadDecimal("  -3"), -3);
    EXPECT_EQ(ReadDecimal("+.5"), 0.5);
    EXPECT_EQ(ReadDecimal("1e3"), 1000);
    EXPECT_EQ(ReadDecimal("abc"), 0);
    EXPECT_EQ(ReadDecimal("inf"), 0);
    EXPECT_EQ(ReadDecimal("nan"), 0);
    EXPECT_EQ(ReadDecimal("1e999"), 0);
    EXPECT_EQ(ReadDecimal(""), 0);
}

}  // namespace
