#include "platform/FileSearch.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

struct WildcardCase {
    const char* pattern;
    const char* name;
    bool bMatch;
};

class WildcardTest : public ::testing::TestWithParam<WildcardCase> {};

TEST_P(WildcardTest, Matches) {
    const auto& c = GetParam();
    EXPECT_EQ(platform::MatchWildcard(c.pattern, c.name), c.bMatch) << c.pattern << " vs " << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, WildcardTest,
    ::testing::Values(WildcardCase{"syunji(*).csv", "syunji(240101_000000_TRG).csv", true},
                      WildcardCase{"syunji(*).csv", "SYUNJI(240101_000000_TRG).CSV", true},
                      WildcardCase{"syunji(*).csv", "syunji_u0(240101_000000_TRG).csv", false},
                      WildcardCase{"syunji_u*(*).csv", "syunji_u3(CURRENT).csv", true},
                      WildcardCase{"syunji(240101_*_TRG).csv", "syunji(240101_1200_TRG).csv", true},
                      WildcardCase{"syunji(240101_*_TRG).csv", "syunji(240102_1200_TRG).csv", false},
                      WildcardCase{"syunji(*CURRENT*).csv", "syunji(xCURRENTy).csv", true},
                      WildcardCase{"*", "", true}, WildcardCase{"?", "", false}, WildcardCase{"?", "\xE6\x97\xA5", true},
                      WildcardCase{"a?c", "abc", true}, WildcardCase{"a?c", "ac", false},
                      WildcardCase{"*a*a*a*a*b", "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa", false},
                      WildcardCase{"", "", true}, WildcardCase{"", "x", false}));

TEST(FileSearchTest, ListsMatchesInCaseInsensitiveOrderWithoutDots) {
    auto dir = std::filesystem::temp_directory_path() / "lumetra_filesearch_test";
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir / "MTR0001");
    for (const char* n : {"b.csv", "A.csv", "c.CSV", "a.txt"}) std::ofstream(dir / n) << "x";
    auto found = platform::FindFiles((dir / "*.csv").string());
    ASSERT_EQ(found.size(), 3u);
    EXPECT_EQ(found[0].strName, "A.csv");
    EXPECT_EQ(found[1].strName, "b.csv");
    EXPECT_EQ(found[2].strName, "c.CSV");
    EXPECT_EQ(found[0].nSize, 1u);
    auto all = platform::ListFolder(dir.string());
    ASSERT_EQ(all.size(), 5u);
    EXPECT_TRUE(all[4].bDirectory);
    EXPECT_TRUE(platform::FindFiles((dir / "missing" / "*").string()).empty());
    std::filesystem::remove_all(dir);
}

}  // namespace
