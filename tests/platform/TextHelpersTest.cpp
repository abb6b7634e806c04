#include "platform/TextHelpers.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

#include "TempDir.h"

namespace {

using namespace platform;
using lumetra_test::CTempDir;

struct FormatCase {
    double dValue;
    int nLength;
    bool bGrouping;
    const char* pszExpected;
};

class FormatNumberTest : public ::testing::TestWithParam<FormatCase> {};

TEST_P(FormatNumberTest, Formats) {
    const auto& c = GetParam();
    EXPECT_EQ(FormatNumber(c.dValue, c.nLength, c.bGrouping), c.pszExpected)
        << c.dValue << " len " << c.nLength << " grouping " << c.bGrouping;
}

const double kInf = std::numeric_limits<double>::infinity();

INSTANTIATE_TEST_SUITE_P(
    Table, FormatNumberTest,
    ::testing::Values(FormatCase{11.0, 11, false, "11"}, FormatCase{0.41, 11, false, "0.41"},
                      FormatCase{100.0, 11, false, "100"}, FormatCase{1234.5, 11, true, "1,234.5"},
                      FormatCase{1234.5, 11, false, "1234.5"}, FormatCase{-123456.0, 11, true, "-123,456"},
                      FormatCase{123456789.123, 11, false, "123456789.1"},
                      FormatCase{1234567.5, 13, true, "1,234,567.5"}, FormatCase{0.0, 11, false, "0"},
                      FormatCase{0.410, 12, false, "0.41"}, FormatCase{11.0, 11, false, "11"},
                      // The integer part is never cut, whatever the length.
                      FormatCase{123456789012.0, 5, false, "123456789012"},
                      FormatCase{123456789012.75, 0, true, "123,456,789,012"},
                      // A cut that ends at the "." keeps the zeros of the integer part.
                      FormatCase{1000000.0, 3, false, "1000000"}, FormatCase{1e20, 21, false, "100000000000000000000"},
                      // Cut, not rounded: 0.129 with 4 characters is 0.12.
                      FormatCase{0.129, 4, false, "0.12"}, FormatCase{9.99, 3, false, "9.9"},
                      // "%f" itself rounds at the sixth decimal.
                      FormatCase{0.0000004, 11, false, "0"}, FormatCase{0.0000006, 11, false, "0.000001"},
                      FormatCase{2.5000001, 20, false, "2.5"}, FormatCase{-0.5, 11, true, "-0.5"},
                      FormatCase{-0.0000001, 11, false, "0"}, FormatCase{-0.0, 11, false, "0"},
                      FormatCase{999.0, 11, true, "999"}, FormatCase{1000.0, 11, true, "1,000"},
                      FormatCase{-1000.25, 13, true, "-1,000.25"}, FormatCase{100000.0, 13, true, "100,000"},
                      FormatCase{1e20, 13, true, "100,000,000,000,000,000,000"}, FormatCase{kInf, 11, true, "inf"},
                      FormatCase{-kInf, 11, false, "-inf"}, FormatCase{std::nan(""), 11, true, "nan"}));

// A process locale with a decimal comma (as a German desktop gives the program) must not change the texts
// written to the settings store or read back from it. The locale is built for the test with localedef.
TEST(FormatNumberTest, IgnoresTheProcessLocale) {
    CTempDir dir;
    CTempDir::Write(dir / "comma.src",
                    "LC_NUMERIC\ndecimal_point \"<U002C>\"\nthousands_sep \"<U002E>\"\ngrouping 3;3\nEND LC_NUMERIC\n");
    std::string cmd =
        "localedef -c -i '" + (dir / "comma.src") + "' -f UTF-8 '" + (dir / "xx_XX.UTF-8") + "' >/dev/null 2>&1";
    (void)std::system(cmd.c_str());
    const char* oldPath = std::getenv("LOCPATH");
    std::string strOldPath = oldPath ? oldPath : "";
    setenv("LOCPATH", dir.Path().c_str(), 1);
    std::string strOld = std::setlocale(LC_NUMERIC, nullptr);
    bool bSet = std::setlocale(LC_NUMERIC, "xx_XX.UTF-8") != nullptr;
    char buf[32] = "";
    if (bSet) std::snprintf(buf, sizeof buf, "%.2f", 0.41);
    std::string strFormatted = FormatNumber(1234.5, 11, true);
    std::string strPrinted = FormatPrintf("%.2f", 0.41);
    double dParsed = ParseDouble("0.45");
    std::setlocale(LC_NUMERIC, strOld.c_str());
    if (oldPath)
        setenv("LOCPATH", strOldPath.c_str(), 1);
    else
        unsetenv("LOCPATH");
    if (!bSet || std::string(buf) != "0,41") GTEST_SKIP() << "no locale with a decimal comma could be made";
    EXPECT_EQ(strFormatted, "1,234.5");
    EXPECT_EQ(strPrinted, "0.41");
    EXPECT_DOUBLE_EQ(dParsed, 0.45);
}

struct ExponentCase {
    double dValue;
    int nExpected;
};

class ThousandsExponentTest : public ::testing::TestWithParam<ExponentCase> {};

TEST_P(ThousandsExponentTest, Exponent) {
    EXPECT_EQ(ThousandsExponent(GetParam().dValue), GetParam().nExpected) << GetParam().dValue;
}

INSTANTIATE_TEST_SUITE_P(Table, ThousandsExponentTest,
                         ::testing::Values(ExponentCase{0, 0}, ExponentCase{9999, 0}, ExponentCase{9999.99, 0},
                                           ExponentCase{10000, 3}, ExponentCase{12345, 3}, ExponentCase{9999999, 3},
                                           ExponentCase{10000000, 6}, ExponentCase{-9999, 0}, ExponentCase{-12345, 3},
                                           ExponentCase{-10000000, 6}, ExponentCase{0.001, 0}, ExponentCase{1e300, 297},
                                           ExponentCase{1.7e308, 306}, ExponentCase{kInf, 0}, ExponentCase{-kInf, 0},
                                           ExponentCase{std::nan(""), 0}));

struct IntCase {
    const char* pszText;
    bool bOk;
    int nValue;
};

class ParseSignedIntTest : public ::testing::TestWithParam<IntCase> {};

TEST_P(ParseSignedIntTest, Parses) {
    const auto& c = GetParam();
    int n = 12345;
    EXPECT_EQ(ParseSignedInt(c.pszText, n), c.bOk) << c.pszText;
    if (c.bOk) {
        EXPECT_EQ(n, c.nValue) << c.pszText;
    }
}

INSTANTIATE_TEST_SUITE_P(Table, ParseSignedIntTest,
                         ::testing::Values(IntCase{"0", true, 0}, IntCase{"7", true, 7}, IntCase{"-7", true, -7},
                                           IntCase{"007", true, 7}, IntCase{"-", true, 0}, IntCase{"", false, 0},
                                           IntCase{"+7", false, 0}, IntCase{" 7", false, 0}, IntCase{"7 ", false, 0},
                                           IntCase{"--7", false, 0}, IntCase{"7-", false, 0}, IntCase{"1a", false, 0},
                                           IntCase{"1.5", false, 0}, IntCase{"2147483647", true, 2147483647},
                                           IntCase{"-2147483648", true, std::numeric_limits<int>::min()},
                                           IntCase{"2147483648", false, 0}, IntCase{"-2147483649", false, 0},
                                           IntCase{"99999999999999999999999", false, 0}));

struct HexCase {
    const char* pszText;
    bool bOk;
    unsigned nValue;
};

class ParseHexTest : public ::testing::TestWithParam<HexCase> {};

TEST_P(ParseHexTest, Parses) {
    const auto& c = GetParam();
    unsigned n = 0;
    EXPECT_EQ(ParseHex(c.pszText, n), c.bOk) << c.pszText;
    if (c.bOk) {
        EXPECT_EQ(n, c.nValue) << c.pszText;
    }
}

INSTANTIATE_TEST_SUITE_P(Table, ParseHexTest,
                         ::testing::Values(HexCase{"FFFF", true, 0xFFFF}, HexCase{"ffff", true, 0xFFFF},
                                           HexCase{"0001", true, 1}, HexCase{"  1aF", true, 0x1AF},
                                           HexCase{"\t10", true, 0x10}, HexCase{"", true, 0}, HexCase{"1 ", false, 0},
                                           HexCase{"0x10", false, 0}, HexCase{"g", false, 0}, HexCase{"-1", false, 0},
                                           HexCase{"FFFFFFFF", true, 0xFFFFFFFFu}, HexCase{"000000000001", true, 1},
                                           HexCase{"100000000", false, 0}));

struct DoubleCase {
    const char* pszText;
    double dValue;
};

class ParseDoubleTest : public ::testing::TestWithParam<DoubleCase> {};

TEST_P(ParseDoubleTest, Parses) {
    EXPECT_DOUBLE_EQ(ParseDouble(GetParam().pszText), GetParam().dValue) << GetParam().pszText;
}

INSTANTIATE_TEST_SUITE_P(Table, ParseDoubleTest,
                         ::testing::Values(DoubleCase{"0.410", 0.41}, DoubleCase{"11.0000", 11.0},
                                           DoubleCase{"  -2.5", -2.5}, DoubleCase{"+3", 3.0}, DoubleCase{"1.5abc", 1.5},
                                           DoubleCase{"12,5", 12.0}, DoubleCase{".5", 0.5}, DoubleCase{"5.", 5.0},
                                           DoubleCase{"1e3", 1000.0}, DoubleCase{"1e", 1.0}, DoubleCase{"abc", 0.0},
                                           DoubleCase{"", 0.0}, DoubleCase{"-", 0.0}, DoubleCase{".", 0.0},
                                           DoubleCase{"inf", 0.0}, DoubleCase{"nan", 0.0}, DoubleCase{"1e999", 0.0},
                                           DoubleCase{"0x10", 0.0}, DoubleCase{"\n7", 7.0}));

TEST(FormatPrintfTest, FormatsShortAndLongTexts) {
    EXPECT_EQ(FormatPrintf("%s%d", "CurrParam", 2), "CurrParam2");
    EXPECT_EQ(FormatPrintf("%.2f", 45 / 100.0), "0.45");
    std::string strLong(1000, 'x');
    EXPECT_EQ(FormatPrintf("[%s]", strLong.c_str()), "[" + strLong + "]");
    EXPECT_EQ(FormatPrintf("%s", ""), "");
}

}  // namespace
