#include "logdata/GraphScale.h"

#include <gtest/gtest.h>

#include "logdata/GraphCond.h"

using namespace logdata;

namespace {

struct MaxCase {
    double x;
    int nPrecision;
    double expected;
};

class ScaleMax : public testing::TestWithParam<MaxCase> {};

TEST_P(ScaleMax, TwoSignificantDigitsUp) {
    EXPECT_NEAR(CalcScaleMax(GetParam().x, GetParam().nPrecision), GetParam().expected, 1e-9)
        << GetParam().x << " at " << GetParam().nPrecision;
}

// 0.123 at precision 100 gives 0.12: the value is first written with two decimals. Steps of
// the candidate's next lower digit: 9.5 reaches 10 (candidate 10, step 1), 95.5 reaches 100.
INSTANTIATE_TEST_SUITE_P(Cases, ScaleMax,
                         testing::Values(MaxCase{0, 100, 0}, MaxCase{123, 100, 130}, MaxCase{12345, 100, 13000},
                                         MaxCase{0.123, 100, 0.12}, MaxCase{0.05, 100, 0.05}, MaxCase{200, 100, 200},
                                         MaxCase{7, 100, 7}, MaxCase{3, 100, 3}, MaxCase{10, 100000, 10},
                                         MaxCase{0.123, 100000, 0.13}, MaxCase{1.0001, 100, 1}, MaxCase{101, 100, 110},
                                         MaxCase{0.001, 100, 0.01}, MaxCase{9.5, 100, 10}, MaxCase{95.5, 100, 100}));

struct KindCase {
    const char* name;
    double mx, mn;
    int nKind;
    double range, origin;
};

class ScaleOfKind : public testing::TestWithParam<KindCase> {};

TEST_P(ScaleOfKind, RangeAndOrigin) {
    stAXISSCALE s = ScaleFromMinMax(GetParam().mx, GetParam().mn, GetParam().nKind, 4);
    EXPECT_NEAR(s.dRange, GetParam().range, 1e-9);
    EXPECT_NEAR(s.dMin, GetParam().origin, 1e-9);
}

INSTANTIATE_TEST_SUITE_P(Cases, ScaleOfKind,
                         testing::Values(KindCase{"Power123", 123, 0, KIND_POWER, 130, 0},
                                         KindCase{"PowerZero", 0, 0, KIND_POWER, 0, 0},
                                         KindCase{"Count7", 7, 0, KIND_COUNT, 8, 0},
                                         KindCase{"Count3", 3, 0, KIND_COUNT, 4, 0},
                                         KindCase{"Count13", 13, 0, KIND_COUNT, 16, 0},
                                         KindCase{"DigitalPositive", 5, 0, KIND_DIGITAL, 5, 0},
                                         KindCase{"DigitalBothSigns", 5, -3, KIND_DIGITAL, 10, -5},
                                         KindCase{"DigitalNegative", 0, -3, KIND_DIGITAL, 3, -3},
                                         KindCase{"DigitalTiny", 0.00003, 0, KIND_DIGITAL, 0.00003, 0}),
                         [](const testing::TestParamInfo<KindCase>& info) { return std::string(info.param.name); });

TEST(GetMinMax, OnlyValidVisibleSlotsWiden) {
    double v[96] = {};
    std::uint8_t ok[96] = {};
    v[2] = 50;  // invalid: ignored
    v[3] = 7;
    ok[3] = 1;
    v[40] = -2;
    ok[40] = 1;
    double mx = 0, mn = 0;
    GetMinMax(v, ok, 0, 24, mx, mn);
    EXPECT_EQ(mx, 7);
    EXPECT_EQ(mn, 0);
    GetMinMax(v, ok, 24, 200, mx, mn);  // never beyond slot 95
    EXPECT_EQ(mn, -2);
    double a = 100, b = -100;
    GetMinMax(v, ok, 50, 10, a, b);  // no valid value: both stay
    EXPECT_EQ(a, 100);
    EXPECT_EQ(b, -100);
}

TEST(CalcGraphScale, FreshAllZeroPowerKeepsEighteen) {
    double v[96] = {};
    std::uint8_t ok[96] = {};
    ok[0] = 1;
    stSCALESERIES s;
    s.nEnable = 1;
    s.nCount = 24;
    s.pdValue = v;
    s.pbValid = ok;
    CalcGraphScale(&s, 1, TERM_DAY, 0, 24, 4);
    EXPECT_EQ(s.dRange, 18.0);
    EXPECT_EQ(s.dMin, 0.0);
    v[0] = 123;
    CalcGraphScale(&s, 1, TERM_DAY, 0, 24, 4);
    EXPECT_EQ(s.dRange, 130.0);
}

TEST(CalcGraphScale, OverflowingRangeKeepsThePreviousScale) {
    // Digital readings of both signs near the largest double: twice the larger of them is no
    // number, so the axis keeps the scale it had.
    double v[96] = {};
    std::uint8_t ok[96] = {};
    v[0] = 1e308;
    v[1] = -1e308;
    ok[0] = ok[1] = 1;
    stSCALESERIES s;
    s.nEnable = 1;
    s.nCount = 24;
    s.nDataKind = KIND_DIGITAL;
    s.pdValue = v;
    s.pbValid = ok;
    CalcGraphScale(&s, 1, TERM_DAY, 0, 24, 4);
    EXPECT_EQ(s.dRange, 18.0);
    EXPECT_EQ(s.dMin, 0.0);
    v[0] = 5;
    v[1] = -3;
    CalcGraphScale(&s, 1, TERM_DAY, 0, 24, 4);
    EXPECT_EQ(s.dRange, 10.0);
    EXPECT_EQ(s.dMin, -5.0);
}

TEST(CalcGraphScale, CommonOrSeparateScales) {
    double v1[96] = {}, v2[96] = {};
    std::uint8_t ok[96] = {};
    ok[0] = 1;
    v1[0] = 123;
    v2[0] = 7;
    stSCALESERIES s[2];
    for (auto& x : s) {
        x.nEnable = 1;
        x.nCount = 12;
        x.pbValid = ok;
    }
    s[0].pdValue = v1;
    s[1].pdValue = v2;
    s[1].nDataKind = KIND_COUNT;
    CalcGraphScale(s, 2, TERM_YEAR, 0, 0, 4);
    EXPECT_EQ(s[0].dRange, 130.0) << "power by itself";
    EXPECT_EQ(s[1].dRange, 8.0) << "count by itself";
    s[1].nDataKind = KIND_POWER;
    CalcGraphScale(s, 2, TERM_YEAR, 0, 0, 4);
    EXPECT_EQ(s[1].dRange, 130.0) << "same kind: one common scale";

    // A line series scales by its lines, not its sums.
    double line[96] = {};
    line[1] = 3;
    const double* lines[1] = {line};
    const std::uint8_t* valid[1] = {ok};
    std::uint8_t ok2[96] = {};
    ok2[1] = 1;
    valid[0] = ok2;
    stSCALESERIES l;
    l.nEnable = 1;
    l.nCount = 12;
    l.nGraphType = 1;
    l.pdValue = v1;
    l.pbValid = ok;
    l.nSubCount = 1;
    l.ppdSubValue = lines;
    l.ppbSubValid = valid;
    CalcGraphScale(&l, 1, TERM_YEAR, 0, 0, 4);
    EXPECT_EQ(l.dRange, 3.0);
}

}  // namespace
