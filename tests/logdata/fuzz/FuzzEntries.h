#pragma once
#include <cstddef>
#include <cstdint>

// Entry functions shared by the libFuzzer targets and the replay of their seed corpus.
namespace logfuzz {

// Reads the bytes as a CSV file in both quote modes, with and without a field limit.
void FuzzCsvReader(const std::uint8_t* pData, std::size_t nSize);

// Parses the bytes as a log file for every model, unit and data kind, and decides a unit type.
void FuzzLogParser(const std::uint8_t* pData, std::size_t nSize);

}  // namespace logfuzz
