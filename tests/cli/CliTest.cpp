// lumetra-cli as automation sees it: the real program, its output, its exit status and its
// one-line complaints.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "../logdata/LogFixture.h"
#include "cli/CliOptions.h"
#include "cli/CliRun.h"
#include "logdata/GraphScale.h"

namespace {

std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string CliPath() {
    return (std::filesystem::read_symlink("/proc/self/exe").parent_path() / "lumetra-cli").string();
}

struct Result {
    int status;
    std::string out, err;
};

std::string Quote(const std::string& s) {
    std::string q = "'";
    for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

class CliTest : public testing::Test {
protected:
    void SetUp() override {
        const std::string base = m_tmp / "Log";
        std::string lx30 = logtest::Header(logtest::Lx30Names());
        logtest::WriteFile(logtest::Logger(base, 1) + "/syunji(240501_0100_TRG).csv",
                           lx30 + logtest::Row("2024/05/02", "00:00:00", {{2, "100.00"}, {12, "1000"}}, 13));
        std::string rows;
        for (int h = 1; h <= 24; ++h) {
            char tm[16], kwh[16];
            std::snprintf(tm, sizeof tm, "%02d:00:00", h % 24);
            std::snprintf(kwh, sizeof kwh, "%.2f", 100 + 1.25 * h);
            rows += logtest::Row(h == 24 ? "2024/05/03" : "2024/05/02", tm,
                                 {{2, kwh}, {12, std::to_string(1000 + 3 * h)}}, 13);
        }
        logtest::WriteFile(logtest::Logger(base, 1) + "/syunji(240502_0100_TRG).csv", lx30 + rows);
        // Number 2: an LX50-A main unit counting one pulse per quarter hour.
        std::string lx50 = logtest::Header(logtest::Lx50Names(0));
        logtest::WriteFile(logtest::Logger(base, 2) + "/syunji_u0(240501_0015_TRG).csv",
                           lx50 + logtest::Row("2024/05/02", "00:00:00", {{19, "500"}}, 20));
        rows.clear();
        for (int k = 0; k < 96; ++k) {
            int m = 15 * (k + 1);
            char tm[16];
            std::snprintf(tm, sizeof tm, "%02d:%02d:00", (m / 60) % 24, m % 60);
            rows += logtest::Row(k == 95 ? "2024/05/03" : "2024/05/02", tm, {{19, std::to_string(501 + k)}}, 20);
        }
        logtest::WriteFile(logtest::Logger(base, 2) + "/syunji_u0(240502_0015_TRG).csv", lx50 + rows);
    }

    Result Run(const std::string& args) {
        std::string out = m_tmp / "out.txt", err = m_tmp / "err.txt";
        std::string cmd = Quote(CliPath()) + " " + args + " >" + Quote(out) + " 2>" + Quote(err);
        int rc = std::system(cmd.c_str());
        return {WIFEXITED(rc) ? WEXITSTATUS(rc) : -1, ReadText(out), ReadText(err)};
    }

    std::string Data() const { return Quote(m_tmp / "Log"); }
    logtest::TempFolder m_tmp;
};

std::string Repeat(const std::string& item, int n) {
    std::string s;
    for (int i = 0; i < n; ++i) s += (i ? "," : "") + item;
    return s;
}

TEST_F(CliTest, DayGraphJson) {
    Result r = Run("graph --data " + Data() +
                   " --select 1 --period day --date 2024-05-02 --now '2024-06-01 00:00:00' --json -");
    ASSERT_EQ(r.status, 0) << r.err;
    std::string expected =
        "{\"period\":\"day\",\"slots\":24,\"conditions\":[{\"total\":30,\"co2\":" + cli::JsonNumber(30 * 0.41 / 1000) +
        ",\"charge\":330,\"values\":[" + Repeat("1.25", 24) + "],\"valid\":[" + Repeat("1", 24) +
        "],\"scale\":{\"range\":" + cli::JsonNumber(logdata::CalcScaleMax(1.25, 100)) + ",\"min\":0}}]}\n";
    EXPECT_EQ(r.out, expected);
    EXPECT_NEAR(logdata::CalcScaleMax(1.25, 100), 1.3, 1e-12);
}

TEST_F(CliTest, LineGraphOfCountsWithLabelsRateAndPrice) {
    Result r = Run("graph --data " + Data() +
                   " --select 01,2:0x0001 --period day --date 2024-05-02 --interval 30 --kind count --type line"
                   " --co2-rate 0.5 --price 2 --now '2024-06-01 00:00:00' --json -");
    ASSERT_EQ(r.status, 0) << r.err;
    // Hour h of the LX30-A (3 pulses) lies in half hour 2h; the LX50-A counts 2 per half hour.
    std::string lx30, lx30valid, lx50, lx50valid, sum, valid;
    for (int k = 0; k < 48; ++k) {
        std::string sep = k ? "," : "";
        lx30 += sep + (k % 2 == 0 ? "3" : "0");
        lx30valid += sep + (k % 2 == 0 ? "1" : "0");
        lx50 += sep + "2";
        lx50valid += sep + "1";
        sum += sep + (k % 2 == 0 ? "5" : "2");
        valid += sep + "1";
    }
    std::string expected =
        "{\"period\":\"day\",\"slots\":48,\"conditions\":[{\"total\":168,\"co2\":" + cli::JsonNumber(168 * 0.5 / 1000) +
        ",\"charge\":336,\"values\":[" + sum + "],\"valid\":[" + valid +
        "],\"lines\":[{\"label\":\"01-0-1\",\"values\":[" + lx30 + "],\"valid\":[" + lx30valid +
        "]},{\"label\":\"02-0-1\",\"values\":[" + lx50 + "],\"valid\":[" + lx50valid +
        "]}],\"scale\":{\"range\":4,\"min\":0}}]}\n";
    EXPECT_EQ(r.out, expected);
}

TEST_F(CliTest, CsvFileAndPowerForcesBars) {
    std::string csv = m_tmp / "graph.csv";
    Result r = Run("graph --data " + Data() + " --select 1 --period day --date 2024-05-02 --type line" +
                   " --now '2024-06-01 00:00:00' --csv " + Quote(csv));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "");
    std::string text = ReadText(csv);
    EXPECT_EQ(text.substr(0, text.find('\n')), "slot,sum") << "power is drawn as bars: no lines";
    EXPECT_NE(text.find("\n00:00,1.25\n01:00,1.25\n"), std::string::npos);
    EXPECT_NE(text.find("\n23:00,1.25\ntotal,30\nco2,"), std::string::npos);
    EXPECT_NE(text.find("\ncharge,330\n"), std::string::npos);
    for (const auto& e : std::filesystem::directory_iterator(m_tmp.Path()))
        EXPECT_EQ(e.path().filename().string().find(".tmp"), std::string::npos) << "no temporary file left";
}

TEST_F(CliTest, MonthWithFutureDaysAndScan) {
    Result r =
        Run("graph --data " + Data() + " --select 1 --period month --date 2024-05-31 --now '2024-05-03 12:00:00'");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.rfind("{\"period\":\"month\",\"slots\":31,\"conditions\":[{\"total\":30,", 0), 0u) << r.out;

    r = Run("scan --data " + Data());
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "{\"numbers\":[1,2],\"models\":{\"01\":1,\"02\":2}}\n");
}

TEST_F(CliTest, MissingDataFolderIsStatusOne) {
    Result r = Run("graph --data " + Quote(m_tmp / "nope") + " --select 1 --period day --date 2024-05-02");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("nope"), std::string::npos);
    EXPECT_EQ(Run("scan --data " + Quote(m_tmp / "nope")).status, 1);
}

struct BadArgs {
    const char* args;
    const char* named;  // the argument the message names
};

class CliBadArgs : public CliTest, public testing::WithParamInterface<BadArgs> {};

TEST_P(CliBadArgs, StatusTwoAndOneLineNamingTheArgument) {
    Result r = Run(GetParam().args);
    EXPECT_EQ(r.status, 2) << GetParam().args;
    EXPECT_NE(r.err.find(GetParam().named), std::string::npos) << r.err;
    ASSERT_FALSE(r.err.empty());
    EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << "one line: " << r.err;
    EXPECT_EQ(r.out, "");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CliBadArgs,
    testing::Values(BadArgs{"", "command"}, BadArgs{"draw --data /tmp", "draw"},
                    BadArgs{"graph --select 1 --period day --date 2024-05-02", "--data"},
                    BadArgs{"graph --data /tmp --period day --date 2024-05-02", "--select"},
                    BadArgs{"graph --data /tmp --select 1 --date 2024-05-02", "--period"},
                    BadArgs{"graph --data /tmp --select 1 --period day", "--date"},
                    BadArgs{"graph --data /tmp --select 1 --period week --date 2024-05-02", "--period"},
                    BadArgs{"graph --data /tmp --select 1 --period day --date 2024-13-02", "--date"},
                    BadArgs{"graph --data /tmp --select 1 --period day --date 2024-02-30", "--date"},
                    BadArgs{"graph --data /tmp --select 1 --period day --date 1899-12-31", "--date"},
                    BadArgs{"graph --data /tmp --select 100 --period day --date 2024-05-02", "--select"},
                    BadArgs{"graph --data /tmp --select 7:0x1FFFF --period day --date 2024-05-02", "--select"},
                    BadArgs{"graph --data /tmp --select 7:12 --period day --date 2024-05-02", "--select"},
                    BadArgs{"graph --data /tmp --select 1,,2 --period day --date 2024-05-02", "--select"},
                    BadArgs{"graph --data /tmp --select x --period day --date 2024-05-02", "--select"},
                    BadArgs{"graph --data /tmp --select 1 --period day --date 2024-05-02 --interval 20", "--interval"},
                    BadArgs{"graph --data /tmp --select 1 --period day --date 2024-05-02 --kind heat", "--kind"},
                    BadArgs{"graph --data /tmp --select 1 --period day --date 2024-05-02 --type pie", "--type"},
                    BadArgs{"graph --data /tmp --select 1 --period day --date 2024-05-02 --now 2024-05-02", "--now"},
                    BadArgs{"graph --data /tmp --select 1 --period day --date 2024-05-02 --co2-rate abc", "--co2-rate"},
                    BadArgs{"graph --data /tmp --select 1 --period day --date 2024-05-02 --price -1", "--price"},
                    BadArgs{"graph --data /tmp --select 1 --period day --date 2024-05-02 --foo 1", "--foo"},
                    BadArgs{"graph --data /tmp --select 1 --period day --date 2024-05-02 --json", "--json"},
                    BadArgs{"scan --data /tmp --select 1", "--select"}));

TEST(CliOptions, ErrorStaysOneLineWhenTheValueHoldsANewline) {
    const char* argv[] = {"lumetra-cli", "graph", "--data", "/d", "--select", "3", "--period", "day\nweek",
                          "--date",      "2024-05-31"};
    cli::stCLIOPTIONS o;
    std::string err;
    ASSERT_FALSE(cli::ParseCliOptions(10, argv, o, err));
    EXPECT_EQ(err, "bad value for --period: 'day\\x0Aweek'");
}

TEST(CliOptions, SelectionWordsAndDefaults) {
    std::array<std::uint16_t, 100> w{};
    ASSERT_TRUE(cli::ParseSelectList("7,12:0xFFFF,07:0x0004,0:0x0", w));
    EXPECT_EQ(w[7], 5);
    EXPECT_EQ(w[12], 0xFFFF);
    EXPECT_EQ(w[0], 0);
    const char* argv[] = {"lumetra-cli", "graph",      "--data",     "/d", "--select", "3",       "--period", "month",
                          "--date",      "2024-05-31", "--interval", "15", "--kind",   "digital", "--type",   "line"};
    cli::stCLIOPTIONS o;
    std::string err;
    ASSERT_TRUE(cli::ParseCliOptions(16, argv, o, err)) << err;
    EXPECT_EQ(o.nIntervalKind, 0) << "month graphs have no interval";
    EXPECT_EQ(o.nGraphType, 1);
    EXPECT_DOUBLE_EQ(o.dCO2Rate, 0.41);
    EXPECT_DOUBLE_EQ(o.dPrice, 11.0);
    EXPECT_FALSE(o.now.has_value());
}

}  // namespace
