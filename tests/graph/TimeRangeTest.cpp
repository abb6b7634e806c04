#include <gtest/gtest.h>

#include "graph/GraphDef.h"
#include "graph/TimeRange.h"

struct stRANGECASE {
    const char* strName;
    int nTermType;
    int nInterval;
    int nSlots;
    int nStart;  // -1: the button is not offered
    int nDisp;
};

class TimeRanges : public testing::TestWithParam<stRANGECASE> {};

TEST_P(TimeRanges, SlotsOfTheButton) {
    const auto& c = GetParam();
    const stTIMERANGE* pRange = FindTimeRange(c.strName, c.nTermType, c.nInterval);
    if (c.nStart < 0) {
        EXPECT_EQ(pRange, nullptr);
        return;
    }
    ASSERT_NE(pRange, nullptr);
    int nStart = -1, nDisp = -1;
    TimeRangeSlots(*pRange, c.nSlots, nStart, nDisp);
    EXPECT_EQ(nStart, c.nStart);
    EXPECT_EQ(nDisp, c.nDisp);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TimeRanges,
    testing::Values(stRANGECASE{"0-6", TERM_DAY, 15, 96, 0, 24}, stRANGECASE{"6-12", TERM_DAY, 15, 96, 24, 24},
                    stRANGECASE{"12-18", TERM_DAY, 15, 96, 48, 24}, stRANGECASE{"18-24", TERM_DAY, 15, 96, 72, 24},
                    stRANGECASE{"3-9", TERM_DAY, 15, 96, 12, 24}, stRANGECASE{"9-15", TERM_DAY, 15, 96, 36, 24},
                    stRANGECASE{"15-21", TERM_DAY, 15, 96, 60, 24}, stRANGECASE{"0-12", TERM_DAY, 30, 48, 0, 24},
                    stRANGECASE{"12-24", TERM_DAY, 30, 48, 24, 24}, stRANGECASE{"6-18", TERM_DAY, 30, 48, 12, 24},
                    stRANGECASE{"whole", TERM_DAY, 15, 96, 0, 96}, stRANGECASE{"whole", TERM_DAY, 30, 48, 0, 48},
                    stRANGECASE{"whole", TERM_DAY, 60, 24, 0, 24}, stRANGECASE{"whole", TERM_MONTH, 1, 31, 0, 31},
                    // buttons a day of that interval does not show
                    stRANGECASE{"0-6", TERM_DAY, 60, 24, -1, 0}, stRANGECASE{"0-6", TERM_DAY, 30, 48, -1, 0},
                    stRANGECASE{"0-12", TERM_DAY, 15, 96, -1, 0}, stRANGECASE{"0-6", TERM_MONTH, 15, 31, -1, 0},
                    stRANGECASE{"1-2", TERM_DAY, 15, 96, -1, 0}));

TEST(TimeRanges, ButtonsByIdAndNames) {
    const stTIMERANGE* p1329 = FindTimeRangeById(1329);
    ASSERT_NE(p1329, nullptr);
    EXPECT_STREQ(p1329->strName, "3-9");
    EXPECT_EQ(FindTimeRangeById(1000), nullptr);
    EXPECT_EQ(TimeRangeNames(), "whole|0-6|6-12|12-18|18-24|3-9|9-15|15-21|0-12|12-24|6-18");
}
