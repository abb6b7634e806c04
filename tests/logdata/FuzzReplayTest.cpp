// Replays the seed corpus of the fuzz targets through the same entry functions, plus a few
// hostile inputs made here, so that the normal test run covers what the fuzzers start from.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "fuzz/FuzzEntries.h"

namespace {

std::string ReadBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void Replay(const std::string& folder, void (*entry)(const std::uint8_t*, std::size_t)) {
    int nFiles = 0;
    for (const auto& e : std::filesystem::directory_iterator(std::string(LUMETRA_FUZZ_CORPUS) + "/" + folder)) {
        std::string bytes = ReadBytes(e.path());
        SCOPED_TRACE(e.path().string());
        entry(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
        ++nFiles;
    }
    EXPECT_GT(nFiles, 0) << "seed corpus missing";
}

TEST(FuzzReplay, CsvSeedCorpus) {
    Replay("csv", logfuzz::FuzzCsvReader);
}

TEST(FuzzReplay, LogSeedCorpus) {
    Replay("log", logfuzz::FuzzLogParser);
}

TEST(FuzzReplay, HostileInputs) {
    std::string junk;
    for (int i = 0; i < 70000; ++i) junk.push_back(static_cast<char>((i * 131 + 7) & 0xFF));
    const std::string inputs[] = {
        junk,
        std::string(2 << 20, 'x'),  // one line of two megabytes
        std::string(1 << 20, ','),  // a million fields
        std::string(4096, '\0'),
        "H\n,\n,\nDate,Time,DT100\n" + std::string(100000, '9') + "/1/1,0:0:0,5\n",
        "H\n,\n,\nDate,Time,DT120,DT122\n\xff\xfe/\xc3(,\x80:,\xe2\x82\n",
    };
    for (const std::string& s : inputs) {
        auto p = reinterpret_cast<const std::uint8_t*>(s.data());
        logfuzz::FuzzCsvReader(p, s.size());
        logfuzz::FuzzLogParser(p, s.size());
    }
}

}  // namespace
