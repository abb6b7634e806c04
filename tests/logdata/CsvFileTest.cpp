#include "logdata/CsvFile.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <future>
#include <string>
#include <vector>

#include "LogFixture.h"

using logdata::CCsvFile;

namespace {

using Rows = std::vector<std::vector<std::string>>;

Rows ReadAll(const std::string& text, int nQuoteMode) {
    CCsvFile file;
    file.OpenText(text);
    Rows rows;
    while (file.ReadRow(nQuoteMode)) {
        std::vector<std::string> row;
        for (size_t i = 0; i < file.GetCount(); ++i) row.emplace_back(file.GetField(i));
        rows.push_back(row);
    }
    EXPECT_EQ(file.GetCount(), 0u) << "no fields after the end";
    return rows;
}

struct CsvCase {
    const char* name;
    std::string text;
    int nQuoteMode;
    Rows expected;
};

class CsvSplit : public testing::TestWithParam<CsvCase> {};

TEST_P(CsvSplit, SplitsLinesIntoFields) {
    EXPECT_EQ(ReadAll(GetParam().text, GetParam().nQuoteMode), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CsvSplit,
    testing::Values(CsvCase{"EmptyMiddleField", "a,,b\n", 0, {{"a", "", "b"}}},
                    CsvCase{"OnlyComma", ",\n", 0, {{"", ""}}}, CsvCase{"TrailingComma", "a,b,\n", 0, {{"a", "b", ""}}},
                    CsvCase{"QuotesBracketFields", "\"x\",\"a,b\"\n", 1, {{"x", "a,b"}}},
                    CsvCase{"QuotesKeptInMode0", "\"x\",\"a,b\"\n", 0, {{"\"x\"", "\"a", "b\""}}},
                    CsvCase{"DoubledQuoteLeavesNothing", "\"a\"\"b\"\n", 1, {{"ab"}}},
                    CsvCase{"UnclosedQuoteRunsToLineEnd", "\"a,b\nc,d\n", 1, {{"a,b"}, {"c", "d"}}},
                    CsvCase{"EmptyLinesSkipped", "\n\na\n\n\nb\n", 0, {{"a"}, {"b"}}},
                    CsvCase{"OnlyEmptyLines", "\n\n\r\n\n", 0, {}}, CsvCase{"BlankLineIsNotEmpty", " \n", 0, {{" "}}},
                    CsvCase{"CrLfLineEnds", "a,b\r\nc\r\n", 0, {{"a", "b"}, {"c"}}},
                    CsvCase{"NoFinalLineEnd", "a,b", 0, {{"a", "b"}}},
                    CsvCase{"FieldsNotTrimmed", " a , b \n", 0, {{" a ", " b "}}},
                    CsvCase{"NulBytesAreCharacters", std::string("a\0b,c\n", 6), 0, {{std::string("a\0b", 3), "c"}}},
                    CsvCase{"EmptyFile", "", 0, {}}),
    [](const testing::TestParamInfo<CsvCase>& info) { return std::string(info.param.name); });

TEST(CsvFile, MissingFileAndFolderCannotBeOpened) {
    logtest::TempFolder tmp;
    CCsvFile file;
    EXPECT_FALSE(file.Open(tmp / "missing.csv"));
    EXPECT_FALSE(file.Open(tmp.Path()));
    EXPECT_FALSE(file.ReadRow(0));
}

TEST(CsvFile, NamedPipeUnderALogNameIsRefusedWithoutWaiting) {
    logtest::TempFolder tmp;
    const std::string pipe = tmp / "syunji(240502_0015_TRG).csv";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    auto opened = std::async(std::launch::async, [&] {
        CCsvFile file;
        return file.Open(pipe);
    });
    if (opened.wait_for(std::chrono::seconds(10)) != std::future_status::ready) {
        // Give the waiting reader its writer and end of file, so the test ends and fails.
        int fd = ::open(pipe.c_str(), O_WRONLY | O_NONBLOCK);
        if (fd >= 0) ::close(fd);
        ADD_FAILURE() << "opening a named pipe waited for a writer";
    }
    EXPECT_FALSE(opened.get());
}

TEST(CsvFile, ReadsAFileFromDisk) {
    logtest::TempFolder tmp;
    logtest::WriteFile(tmp / "a.csv", "h\n1,2\n");
    CCsvFile file;
    ASSERT_TRUE(file.Open(tmp / "a.csv"));
    ASSERT_TRUE(file.ReadRow(0));
    ASSERT_TRUE(file.ReadRow(0));
    EXPECT_EQ(file.GetField(1), "2");
    EXPECT_EQ(file.GetField(7), "") << "a field beyond the line reads as empty";
    EXPECT_FALSE(file.ReadRow(0));
}

TEST(CsvFile, FieldLimitKeepsCountAndNotesDroppedValues) {
    CCsvFile file;
    std::string line(1000000, ',');  // a million and one fields
    file.OpenText(line + "\n,,,,-,,\n,,,,x\n");
    ASSERT_TRUE(file.ReadRow(0, 3));
    EXPECT_EQ(file.GetCount(), 3u);
    EXPECT_EQ(file.GetTotalCount(), 1000001u);
    EXPECT_FALSE(file.DroppedValues());
    ASSERT_TRUE(file.ReadRow(0, 3));
    EXPECT_FALSE(file.DroppedValues()) << "a dropped \"-\" is no value";
    ASSERT_TRUE(file.ReadRow(0, 3));
    EXPECT_TRUE(file.DroppedValues());
}

TEST(CsvFile, LongLineInQuoteMode1) {
    CCsvFile file;
    std::string big(3 << 20, 'x');
    file.OpenText("\"" + big + ",y\",z\n");
    ASSERT_TRUE(file.ReadRow(1));
    ASSERT_EQ(file.GetCount(), 2u);
    EXPECT_EQ(file.GetField(0).size(), big.size() + 2);
    EXPECT_EQ(file.GetField(1), "z");
}

}  // namespace

namespace {

// The reader fills its buffer in blocks: a line end, a CR LF pair or a field split by a block
// boundary must give the same rows as the whole text at once, at every buffer size.
class CsvBufferBoundary : public testing::TestWithParam<int> {};

TEST_P(CsvBufferBoundary, SameRowsAtEveryBufferSize) {
    const int nQuoteMode = GetParam();
    const std::string text = "h1,h2\r\n\r\n,\"a,b\",c\n" + std::string(70, 'x') + ",y\n\n\"q\"\"r\",,\r\nlast,line";
    const Rows whole = ReadAll(text, nQuoteMode);
    logtest::TempFolder tmp;
    logtest::WriteFile(tmp / "f.csv", text);
    for (std::size_t nBuffer = 1; nBuffer <= text.size() + 2; ++nBuffer) {
        CCsvFile file(nBuffer);
        ASSERT_TRUE(file.Open(tmp / "f.csv"));
        Rows rows;
        while (file.ReadRow(nQuoteMode)) {
            std::vector<std::string> row;
            for (size_t i = 0; i < file.GetCount(); ++i) row.emplace_back(file.GetField(i));
            rows.push_back(row);
        }
        EXPECT_EQ(rows, whole) << "buffer " << nBuffer;
    }
}

INSTANTIATE_TEST_SUITE_P(QuoteModes, CsvBufferBoundary, testing::Values(0, 1));

}  // namespace
