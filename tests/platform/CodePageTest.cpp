#include "platform/CodePage.h"

#include <gtest/gtest.h>

namespace {

using namespace platform;

struct RoundTripCase {
    unsigned nCodePage;
    const char* pszUtf8;
    const char* pszBytes;  // the text in the code page
};

class CodePageRoundTrip : public ::testing::TestWithParam<RoundTripCase> {};

TEST_P(CodePageRoundTrip, ConvertsBothWays) {
    const auto& c = GetParam();
    auto bytes = Utf8ToCodePage(c.pszUtf8, c.nCodePage);
    ASSERT_TRUE(bytes.has_value()) << c.nCodePage << " " << c.pszUtf8;
    EXPECT_EQ(*bytes, c.pszBytes);
    EXPECT_EQ(CodePageToUtf8(*bytes, c.nCodePage), std::string(c.pszUtf8));
}

INSTANTIATE_TEST_SUITE_P(Texts, CodePageRoundTrip,
                         ::testing::Values(
                             // "電力" (electric power) and a half-width katakana in Shift JIS
                             RoundTripCase{932, "\xE9\x9B\xBB\xE5\x8A\x9B", "\x93\x64\x97\xCD"},
                             RoundTripCase{932, "\xEF\xBD\xB1", "\xB1"},
                             RoundTripCase{932, "MTR01 \xE3\x81\x8A\xE6\xB0\x97\xE3\x81\xAB\xE5\x85\xA5\xE3\x82\x8A",
                                           "MTR01 \x82\xA8\x8B\x43\x82\xC9\x93\xFC\x82\xE8"},  // お気に入り (favorites)
                             // "收藏" (favorites) and "电量" in GBK
                             RoundTripCase{936, "\xE6\x94\xB6\xE8\x97\x8F", "\xCA\xD5\xB2\xD8"},
                             RoundTripCase{936, "\xE7\x94\xB5\xE9\x87\x8F", "\xB5\xE7\xC1\xBF"},
                             // "Café" and the euro sign in Windows-1252
                             RoundTripCase{1252, "Caf\xC3\xA9", "Caf\xE9"},
                             RoundTripCase{1252, "\xE2\x82\xAC 5", "\x80 5"}, RoundTripCase{932, "", ""},
                             RoundTripCase{936, "plain ASCII, \"quoted\"", "plain ASCII, \"quoted\""}));

struct FailureCase {
    const char* what;
    bool bToCodePage;
    unsigned nCodePage;
    std::string strInput;
    std::string strLossy;
    size_t nReplaced;
};

class CodePageFailure : public ::testing::TestWithParam<FailureCase> {};

TEST_P(CodePageFailure, IsReportedAndReplacedInLossyForm) {
    const auto& c = GetParam();
    size_t n = 99;
    if (c.bToCodePage) {
        EXPECT_EQ(Utf8ToCodePage(c.strInput, c.nCodePage), std::nullopt) << c.what;
        EXPECT_EQ(Utf8ToCodePageLossy(c.strInput, c.nCodePage, &n), c.strLossy) << c.what;
    } else {
        EXPECT_EQ(CodePageToUtf8(c.strInput, c.nCodePage), std::nullopt) << c.what;
        EXPECT_EQ(CodePageToUtf8Lossy(c.strInput, c.nCodePage, &n), c.strLossy) << c.what;
    }
    EXPECT_EQ(n, c.nReplaced) << c.what;
}

const std::string kFffd = "\xEF\xBF\xBD";

INSTANTIATE_TEST_SUITE_P(
    Cases, CodePageFailure,
    ::testing::Values(FailureCase{"Japanese has no place in 1252", true, 1252,
                                  "a\xE9\x9B\xBB"
                                  "b",
                                  "a?b", 1},
                      FailureCase{"emoji has no place in 932", true, 932, "x\xF0\x9F\x98\x80y", "x?y", 1},
                      FailureCase{"hangul has no place in 936", true, 936, "\xED\x95\x9C", "?", 1},
                      FailureCase{"broken UTF-8", true, 932,
                                  "a\xFF\x80"
                                  "b",
                                  "a??b", 2},
                      FailureCase{"cut UTF-8 at the end", true, 1252, "ab\xE9\x9B", "ab?", 1},
                      FailureCase{"lead byte at the end of Shift JIS", false, 932, "ab\x93", "ab" + kFffd, 1},
                      FailureCase{"lead byte with a bad trail", false, 932, "\x93\x20z", kFffd + " z", 1},
                      FailureCase{"byte undefined in 1252", false, 1252,
                                  "a\x81"
                                  "b",
                                  "a" + kFffd + "b", 1},
                      FailureCase{"unsupported code page", true, 437, "abc", "abc", 0}));

TEST(CodePageTest, LanguagesAndSupportedPages) {
    EXPECT_EQ(CodePageOfLanguage(0), 932u);
    EXPECT_EQ(CodePageOfLanguage(1), 1252u);
    EXPECT_EQ(CodePageOfLanguage(2), 936u);
    EXPECT_EQ(CodePageOfLanguage(-1), 1252u);
    EXPECT_EQ(CodePageOfLanguage(7), 1252u);
    EXPECT_TRUE(IsSupportedCodePage(932));
    EXPECT_FALSE(IsSupportedCodePage(65001));
    EXPECT_EQ(CodePageToUtf8("abc", 65001), std::nullopt);
}

TEST(CodePageTest, LongTextsPassTheConversionBuffer) {
    std::string utf8;
    std::string sjis;
    for (int i = 0; i < 3000; ++i) {
        utf8 += "\xE9\x9B\xBB";
        sjis += "\x93\x64";
    }
    EXPECT_EQ(Utf8ToCodePage(utf8, 932), sjis);
    EXPECT_EQ(CodePageToUtf8(sjis, 932), utf8);
    EXPECT_EQ(CodePageToUtf8Lossy(sjis + "\x93", 932), utf8 + kFffd);
}

}  // namespace
